#include "TestControls.h"

#include "framework/graphics/ITextEntryControl.h"

#include <gtest/gtest.h>

using namespace pfw::gui;

using Log = std::vector<std::string>;

namespace {
IKeyEvent Char(const char* utf8, int vk = 0)
{
  IKeyEvent key;
  key.vk = vk;
  std::snprintf(key.utf8, sizeof(key.utf8), "%s", utf8);
  return key;
}

IKeyEvent Key(int vk, bool control = false, bool shift = false)
{
  IKeyEvent key;
  key.vk = vk;
  key.control = control;
  key.shift = shift;
  return key;
}
} // namespace

struct TextEntry : ::testing::Test
{
  GuiFixture f;
  ITextEntryControl* entry = nullptr;
  LoggingControl* owner = nullptr;

  void SetUp() override
  {
    f.Add("bg", IRectF(0, 0, 400, 400));
    f.gui->AttachTextEntryControl();
    entry = f.gui->GetTextEntryControl();
  }
  // Opens the entry for a control linked to a parameter (or none with -1).
  void Open(const char* text, int paramIdx, int valIdx = 0, const IRectF& bounds = IRectF(100, 100, 200, 120))
  {
    owner = f.Add("owner", IRectF(100, 100, 200, 120), paramIdx);
    f.gui->CreateTextEntry(*owner, owner->GetTextStyle(), bounds, text, paramIdx >= 0 ? valIdx : -1);
  }
  bool Type(const char* text) { return f.gui->OnKeyDown(150, 110, Char(text)); }
};

TEST_F(TextEntry, OpensWithEverythingSelectedAndTypingReplacesIt)
{
  f.delegate.GetParam(0)->InitDouble("Gain", 0, -20, 20, 0.1);
  Open("12.5", 0);
  EXPECT_TRUE(entry->IsEditing());
  EXPECT_EQ(0, entry->GetSelectionStart());
  EXPECT_EQ(4, entry->GetSelectionEnd());
  EXPECT_TRUE(Type("7"));
  EXPECT_EQ("7", entry->GetText());
}

TEST_F(TextEntry, RealParameterAcceptsOnlyNumberCharacters)
{
  f.delegate.GetParam(0)->InitDouble("Gain", 0, -20, 20, 0.1);
  Open("", 0);
  EXPECT_FALSE(Type("a"));
  EXPECT_FALSE(Type(","));
  EXPECT_TRUE(Type("-"));
  EXPECT_TRUE(Type("1"));
  EXPECT_TRUE(Type("."));
  EXPECT_TRUE(Type("5"));
  EXPECT_EQ("-1.5", entry->GetText());
}

TEST_F(TextEntry, IntegerParameterRefusesTheDecimalPoint)
{
  f.delegate.GetParam(0)->SetType(pfw::IParam::kTypeInt);
  Open("", 0);
  EXPECT_FALSE(Type("."));
  EXPECT_TRUE(Type("+"));
}

TEST_F(TextEntry, FreeTextRefusesControlCharactersAndDecodesUtf8)
{
  Open("", -1);
  EXPECT_FALSE(Type("\x02"));
  EXPECT_TRUE(Type("\xC3\xA4")); // ä
  EXPECT_TRUE(Type("\xE2")); // truncated: typed as '_'
  EXPECT_EQ("\xC3\xA4_", entry->GetText());
  EXPECT_FALSE(f.gui->OnKeyDown(150, 110, Key(kVKTab)));
}

TEST_F(TextEntry, UndoAndRedo)
{
  Open("", -1);
  Type("a");
  Type("b");
  EXPECT_EQ("ab", entry->GetText());
  EXPECT_TRUE(f.gui->OnKeyDown(150, 110, Key('Z', true)));
  EXPECT_EQ("a", entry->GetText());
  EXPECT_TRUE(f.gui->OnKeyDown(150, 110, Key('Z', true, true)));
  EXPECT_EQ("ab", entry->GetText());
}

TEST_F(TextEntry, CursorKeysAndBackspace)
{
  Open("abc", -1);
  f.gui->OnKeyDown(150, 110, Key(kVKEnd));
  EXPECT_EQ(3, entry->GetCursor());
  f.gui->OnKeyDown(150, 110, Key(kVKLeft));
  f.gui->OnKeyDown(150, 110, Key(kVKBack));
  EXPECT_EQ("ac", entry->GetText());
  f.gui->OnKeyDown(150, 110, Key(kVKHome));
  f.gui->OnKeyDown(150, 110, Key(kVKDelete));
  EXPECT_EQ("c", entry->GetText());
  f.gui->OnKeyDown(150, 110, Key(kVKSpace));
  EXPECT_EQ(" c", entry->GetText());
}

TEST_F(TextEntry, ClipboardCopyCutAndPaste)
{
  Open("hello", -1);
  f.gui->OnKeyDown(150, 110, Key('C', true));
  EXPECT_EQ("hello", f.gui->clipboard);
  f.gui->OnKeyDown(150, 110, Key('X', true));
  EXPECT_EQ("", entry->GetText());
  f.gui->clipboard = "a\tb\x01" "c";
  f.gui->hasClipboard = true;
  f.gui->OnKeyDown(150, 110, Key('V', true));
  EXPECT_EQ("abc", entry->GetText());
  // A huge clipboard is cut to the entry's limit.
  f.gui->clipboard = std::string(100000, 'x');
  f.gui->OnKeyDown(150, 110, Key('V', true));
  EXPECT_EQ(ITextEntryControl::kMaxLength, static_cast<int>(entry->GetText().size()));
  f.gui->OnKeyDown(150, 110, Key('A', true));
  EXPECT_EQ(ITextEntryControl::kMaxLength, entry->GetSelectionEnd());
}

TEST_F(TextEntry, ContextMenuRunsTheChosenCommand)
{
  Open("hello", -1);
  // Copy with an empty selection leaves the clipboard alone.
  f.gui->OnKeyDown(150, 110, Key(kVKEnd));
  f.gui->clipboard = "kept";
  f.gui->hasClipboard = true;
  f.gui->popupAnswers.push_back(1);
  f.gui->OnMouseDown({GuiFixture::Point(150, 110, true)});
  f.gui->OnMouseUp({GuiFixture::Point(150, 110, true)});
  ASSERT_EQ(1u, f.gui->popupsShown.size());
  EXPECT_EQ("|Cut|Copy|Paste", f.gui->popupsShown[0]);
  EXPECT_EQ("kept", f.gui->clipboard);
  EXPECT_TRUE(entry->IsEditing());
  f.gui->popupAnswers.push_back(2);
  f.gui->OnMouseDown({GuiFixture::Point(150, 110, true)});
  EXPECT_EQ("hellokept", entry->GetText());
}

TEST_F(TextEntry, EnterCommitsToTheParameterFramed)
{
  f.delegate.GetParam(2)->InitDouble("Gain", 0, -20, 20, 0.1);
  Open("0", 2);
  Type("5");
  EXPECT_TRUE(f.gui->OnKeyDown(150, 110, Key(kVKReturn)));
  EXPECT_FALSE(entry->IsEditing());
  EXPECT_TRUE(entry->GetRECT().Empty());
  EXPECT_DOUBLE_EQ(5.0, f.delegate.GetParam(2)->Value());
  EXPECT_TRUE(f.delegate.Balanced());
  EXPECT_EQ(nullptr, f.gui->GetControlInTextEntry());
}

TEST_F(TextEntry, ClickOutsideCommitsAndEscapeCancels)
{
  Open("abc", -1);
  f.gui->OnMouseDown({GuiFixture::Point(10, 10)});
  f.gui->OnMouseUp({GuiFixture::Point(10, 10)});
  EXPECT_EQ((Log{"owner completion abc -1"}), Log(f.events.end() - 1, f.events.end()));
  EXPECT_FALSE(entry->IsEditing());

  f.events.clear();
  f.gui->CreateTextEntry(*owner, owner->GetTextStyle(), IRectF(100, 100, 200, 120), "xyz", -1);
  EXPECT_TRUE(f.gui->OnKeyDown(150, 110, Key(kVKEscape)));
  EXPECT_FALSE(entry->IsEditing());
  EXPECT_EQ(nullptr, f.gui->GetControlInTextEntry());
  for (const std::string& e : f.events)
    EXPECT_EQ(std::string::npos, e.find("completion"));
}

TEST_F(TextEntry, CaretBlinksInTheFirstHalfOfEachSecond)
{
  Open("", -1);
  IRectFList rects;
  const auto caretDrawnAt = [&](double ms) {
    f.gui->clockMs = ms;
    rects.Clear();
    f.gui->IsDirty(rects);
    f.gui->log.clear();
    f.gui->Draw(rects);
    f.gui->SetAllControlsClean();
    return entry->CaretVisible();
  };
  EXPECT_TRUE(caretDrawnAt(0));
  EXPECT_TRUE(caretDrawnAt(400));
  EXPECT_FALSE(caretDrawnAt(600));
  EXPECT_FALSE(caretDrawnAt(990));
  EXPECT_TRUE(caretDrawnAt(1001)); // the cycle restarts
  EXPECT_TRUE(caretDrawnAt(1400));
  EXPECT_FALSE(caretDrawnAt(1600));
  // Typing shows the caret again at once.
  Type("a");
  EXPECT_TRUE(caretDrawnAt(1650));
  // After a commit nothing keeps the entry dirty.
  f.gui->OnKeyDown(150, 110, Key(kVKReturn));
  caretDrawnAt(5000);
  EXPECT_FALSE(entry->IsDirty());
}

TEST_F(TextEntry, CentredTextStartsWhereTheRowLayoutSays)
{
  Open("", -1, 0, IRectF(100, 100, 200, 120));
  ITextStyle style;
  style.size = 14.f; // 7 units per character in the fake font model
  // Open again with a centred style and a text 42 units wide (six characters).
  f.gui->CreateTextEntry(*owner, style, IRectF(100, 100, 200, 120), "abcdef", -1);
  f.gui->OnKeyDown(150, 110, Key(kVKHome));
  f.gui->log.clear();
  f.gui->clockMs = 0;
  entry->Draw(*f.gui);
  // Caret at x0 = 150 - 21 = 129: a rectangle from round(128) to round(129).
  EXPECT_TRUE(f.gui->Logged("move 128 "));
  // Clicking 2 units right of the third character's start puts the cursor after it.
  f.gui->OnMouseDown({GuiFixture::Point(129 + 14 + 5, 110)});
  EXPECT_EQ(3, entry->GetCursor());
}

TEST_F(TextEntry, KerningCountsInCharacterWidths)
{
  Open("AVA", -1);
  EXPECT_FLOAT_EQ(7.f, entry->CharWidth(0));
  EXPECT_FLOAT_EQ(6.f, entry->CharWidth(1)); // "AV" is one unit narrower
  EXPECT_FLOAT_EQ(7.f, entry->CharWidth(2));
}

TEST_F(TextEntry, DragSelects)
{
  Open("abcdef", -1, 0, IRectF(100, 100, 200, 120));
  // Left aligned by style: x0 = 100 (the owner's style is centred, so re-open).
  ITextStyle style;
  style.hAlign = ITextStyle::kAlignNear;
  f.gui->CreateTextEntry(*owner, style, IRectF(100, 100, 200, 120), "abcdef", -1);
  f.gui->OnMouseDown({GuiFixture::Point(101, 110)});
  f.gui->OnMouseDrag({GuiFixture::Point(122, 110, false, 0, 21, 0)});
  f.gui->OnMouseUp({GuiFixture::Point(122, 110)});
  EXPECT_EQ(0, std::min(entry->GetSelectionStart(), entry->GetSelectionEnd()));
  EXPECT_EQ(3, std::max(entry->GetSelectionStart(), entry->GetSelectionEnd()));
  f.gui->OnMouseDblClick(110, 110, IPointerMods());
  EXPECT_EQ(6, entry->GetSelectionEnd());
}
