#include "ITextEntryControl.h"

#include "IGui.h"
#include "TextConversion.h"

#include "framework/core/IParam.h"

#include <algorithm>
#include <cmath>

// stb_textedit reaches the control through these.
#define STB_TEXTEDIT_STRING pfw::gui::ITextEntryControl
#define STB_TEXTEDIT_STRINGLEN(obj) ((obj)->Length())
#define STB_TEXTEDIT_LAYOUTROW(r, obj, n) ((obj)->LayoutRow(r))
#define STB_TEXTEDIT_GETWIDTH(obj, n, i) ((obj)->CharWidth(i))
#define STB_TEXTEDIT_KEYTOTEXT(k) (((k) & kSpecialKey) ? -1 : static_cast<int>((k) & kCharMask))
#define STB_TEXTEDIT_GETCHAR(obj, i) ((obj)->CharAt(i))
#define STB_TEXTEDIT_NEWLINE '\n'
#define STB_TEXTEDIT_IS_SPACE(c) ((c) == ' ')
#define STB_TEXTEDIT_DELETECHARS(obj, i, n) ((obj)->DeleteChars(i, n))
#define STB_TEXTEDIT_INSERTCHARS(obj, i, c, n) ((obj)->InsertChars(i, c, n))
#define STB_TEXTEDIT_K_SHIFT kShiftBit
#define STB_TEXTEDIT_K_LEFT (kSpecialKey | 1)
#define STB_TEXTEDIT_K_RIGHT (kSpecialKey | 2)
#define STB_TEXTEDIT_K_UP (kSpecialKey | 3)
#define STB_TEXTEDIT_K_DOWN (kSpecialKey | 4)
#define STB_TEXTEDIT_K_LINESTART (kSpecialKey | 5)
#define STB_TEXTEDIT_K_LINEEND (kSpecialKey | 6)
#define STB_TEXTEDIT_K_TEXTSTART (kSpecialKey | 7)
#define STB_TEXTEDIT_K_TEXTEND (kSpecialKey | 8)
#define STB_TEXTEDIT_K_DELETE (kSpecialKey | 9)
#define STB_TEXTEDIT_K_BACKSPACE (kSpecialKey | 10)
#define STB_TEXTEDIT_K_UNDO (kSpecialKey | 11)
#define STB_TEXTEDIT_K_REDO (kSpecialKey | 12)
#define STB_TEXTEDIT_K_PGUP (kSpecialKey | 13)
#define STB_TEXTEDIT_K_PGDOWN (kSpecialKey | 14)
#define STB_TEXTEDIT_K_WORDLEFT (kSpecialKey | kControlBit | 1)
#define STB_TEXTEDIT_K_WORDRIGHT (kSpecialKey | kControlBit | 2)
#define STB_TEXTEDIT_IMPLEMENTATION

namespace {
constexpr int kCharMask = 0x1FFFFF;
constexpr int kSpecialKey = 0x200000;
constexpr int kShiftBit = 0x400000;
constexpr int kControlBit = 0x800000;
constexpr int kIgnoredKey = kSpecialKey | 0x7FFF;
} // namespace

#if defined(__GNUC__)
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wunused-function"
#pragma GCC diagnostic ignored "-Wsign-compare"
#pragma GCC diagnostic ignored "-Wunused-parameter"
#pragma GCC diagnostic ignored "-Wimplicit-fallthrough"
#endif
#include <stb_textedit.h>
#if defined(__GNUC__)
#pragma GCC diagnostic pop
#endif

namespace pfw::gui {

namespace {
constexpr double kCaretCycleMs = 1000.0;
}

ITextEntryControl::ITextEntryControl()
  : IControl(IRectF(), -1)
  , mContextMenu(nullptr, {"Cut", "Copy", "Paste"})
{
  stb_textedit_initialize_state(&mState, 1);
  SetActionFunction([this](IControl*) { RestartCaret(); });
  mContextMenu.SetCompletion([this](IPopupMenu* menu) { OnChosen(menu); });
}

void ITextEntryControl::RestartCaret()
{
  mCaretVisible = true;
  SetAnimation(
    [this](IControl*) {
      if (!mEditing)
      {
        OnEndAnimation();
        return;
      }
      const double progress = GetAnimationProgress();
      if (progress > 1.0)
        OnEndAnimation();
      else if (progress > 0.5 && mCaretVisible)
      {
        mCaretVisible = false;
        SetDirty(false);
      }
    },
    kCaretCycleMs);
}

void ITextEntryControl::OnEndAnimation()
{
  IControl::OnEndAnimation();
  if (mEditing)
    SetDirty(true, -1);
}

void ITextEntryControl::CreateTextEntry(int /*paramIdx*/, const ITextStyle& style, const IRectF& bounds, int /*length*/,
                                        const char* text)
{
  mMouseIsOver = false;
  SetTargetAndDrawRECTs(bounds);
  OnResize();
  ITextStyle entryStyle = style;
  entryStyle.colour = style.entryText;
  SetTextStyle(entryStyle);
  mText = Utf8ToUtf16(text ? text : "");
  if (static_cast<int>(mText.size()) > kMaxLength)
    mText.resize(kMaxLength);
  stb_textedit_initialize_state(&mState, 1);
  mState.select_start = 0;
  mState.select_end = Length();
  mState.cursor = 0;
  mWidths.clear();
  ComputeWidths();
  mEditing = true;
  SetDirty(true, -1);
}

void ITextEntryControl::Hide()
{
  mEditing = false;
  mCaretVisible = false;
  SetAnimation(nullptr);
  SetTargetAndDrawRECTs(IRectF());
  mMouseIsOver = false;
  OnResize();
}

void ITextEntryControl::CommitEdit()
{
  if (!mEditing)
    return;
  const std::string text = GetText();
  Hide();
  if (mGraphics)
  {
    mGraphics->SetControlValueAfterTextEdit(text.c_str());
    mGraphics->SetAllControlsDirty();
  }
}

void ITextEntryControl::DismissEdit()
{
  if (!mEditing)
    return;
  Hide();
  if (mGraphics)
  {
    mGraphics->ClearInTextEntryControl();
    mGraphics->SetAllControlsDirty();
  }
}

std::string ITextEntryControl::GetText() const
{
  return Utf16ToUtf8(mText);
}

void ITextEntryControl::CopySelection()
{
  if (mState.select_start == mState.select_end || !mGraphics)
    return;
  const int from = std::clamp(std::min(mState.select_start, mState.select_end), 0, Length());
  const int to = std::clamp(std::max(mState.select_start, mState.select_end), 0, Length());
  mGraphics->SetTextInClipboard(Utf16ToUtf8(mText.data() + from, static_cast<size_t>(to - from)).c_str());
}

void ITextEntryControl::CutSelection()
{
  CopySelection();
  const Snapshot before = Take();
  stb_textedit_cut(this, &mState);
  MarkIfChanged(before);
}

void ITextEntryControl::Paste()
{
  if (!mGraphics)
    return;
  GrowString clip;
  if (!mGraphics->GetTextFromClipboard(clip) || clip.GetLength() == 0)
    return;
  std::u16string pasted;
  for (char16_t c : Utf8ToUtf16(clip.Get()))
    if (c >= 32 && c != 127)
      pasted.push_back(c);
  const Snapshot before = Take();
  stb_textedit_clamp(this, &mState);
  stb_textedit_delete_selection(this, &mState);
  const int room = std::max(0, kMaxLength - Length());
  if (static_cast<int>(pasted.size()) > room)
    pasted.resize(static_cast<size_t>(room));
  if (!pasted.empty())
    stb_textedit_paste(this, &mState, &pasted[0], static_cast<int>(pasted.size()));
  MarkIfChanged(before);
}

void ITextEntryControl::SelectAll()
{
  const Snapshot before = Take();
  mState.select_start = 0;
  mState.select_end = Length();
  MarkIfChanged(before);
}

void ITextEntryControl::MarkIfChanged(const Snapshot& before)
{
  if (Take() == before)
    return;
  SetDirty(false);
  // Every edit shows the caret at once.
  if (mEditing)
    RestartCaret();
}

void ITextEntryControl::OnMouseDown(float x, float y, const IPointerMods& mods)
{
  if (!mRECT.Contains(x, y))
  {
    CommitEdit();
    return;
  }
  if (mods.left)
  {
    const Snapshot before = Take();
    stb_textedit_click(this, &mState, x, y - mRECT.T);
    MarkIfChanged(before);
  }
  else if (mods.right && mGraphics)
  {
    mGraphics->CreatePopupMenu(*this, mContextMenu, IRectF(x, y, x, y));
  }
}

void ITextEntryControl::OnMouseUp(float x, float y, const IPointerMods& mods)
{
  if (!mods.left || !mEditing)
    return;
  OnMouseDrag(x, y, 0.f, 0.f, mods);
  SetDirty(true, -1);
}

void ITextEntryControl::OnMouseDrag(float x, float y, float /*dX*/, float /*dY*/, const IPointerMods& mods)
{
  if (!mods.left || !mEditing)
    return;
  const Snapshot before = Take();
  if (mState.select_start == mState.select_end)
    mState.select_start = mState.cursor;
  stb_textedit_drag(this, &mState, x, y - mRECT.T);
  MarkIfChanged(before);
}

void ITextEntryControl::OnMouseDblClick(float /*x*/, float /*y*/, const IPointerMods& /*mods*/)
{
  SelectAll();
}

bool ITextEntryControl::Accepts(char32_t c) const
{
  if (c < 32 || c == 127)
    return false;
  const IControl* edited = mGraphics ? mGraphics->GetControlInTextEntry() : nullptr;
  const IParam* param = edited ? edited->GetParam(0) : nullptr;
  if (!param)
    return true;
  const bool digitOrSign = (c >= '0' && c <= '9') || c == '+' || c == '-';
  switch (param->GetType())
  {
  case IParam::kTypeBool:
  case IParam::kTypeInt:
  case IParam::kTypeEnum: return digitOrSign;
  case IParam::kTypeDouble: return digitOrSign || c == '.';
  default: return true;
  }
}

bool ITextEntryControl::OnKeyDown(float /*x*/, float /*y*/, const IKeyEvent& key)
{
  if (key.control)
  {
    switch (key.vk)
    {
    case 'A': SelectAll(); return true;
    case 'C': CopySelection(); return true;
    case 'V': Paste(); return true;
    case 'X': CutSelection(); return true;
    case 'Z':
    {
      const Snapshot before = Take();
      stb_textedit_key(this, &mState, key.shift ? STB_TEXTEDIT_K_REDO : STB_TEXTEDIT_K_UNDO);
      MarkIfChanged(before);
      return true;
    }
    default: break;
    }
  }

  char32_t typed = 0;
  DecodeUtf8(key.utf8, static_cast<int>(sizeof(key.utf8)), typed);

  int stbKey = 0;
  switch (key.vk)
  {
  case kVKBack: stbKey = STB_TEXTEDIT_K_BACKSPACE; break;
  case kVKReturn: CommitEdit(); return true;
  case kVKEscape: DismissEdit(); return true;
  case kVKTab: return false;
  case kVKPrior: stbKey = STB_TEXTEDIT_K_PGUP; break;
  case kVKNext: stbKey = STB_TEXTEDIT_K_PGDOWN; break;
  case kVKEnd: stbKey = STB_TEXTEDIT_K_LINEEND; break;
  case kVKHome: stbKey = STB_TEXTEDIT_K_LINESTART; break;
  case kVKLeft: stbKey = STB_TEXTEDIT_K_LEFT; break;
  case kVKUp: stbKey = STB_TEXTEDIT_K_UP; break;
  case kVKRight: stbKey = STB_TEXTEDIT_K_RIGHT; break;
  case kVKDown: stbKey = STB_TEXTEDIT_K_DOWN; break;
  case kVKDelete: stbKey = STB_TEXTEDIT_K_DELETE; break;
  default:
  {
    const char32_t c = key.vk == kVKSpace ? U' ' : typed;
    // Only characters of the basic plane fit one edited unit.
    stbKey = (mEditing && c < 0x10000 && Accepts(c)) ? static_cast<int>(c) : kIgnoredKey;
    break;
  }
  }
  if (stbKey & kSpecialKey)
  {
    if (key.shift)
      stbKey |= kShiftBit;
    if (key.control && (stbKey == STB_TEXTEDIT_K_LEFT || stbKey == STB_TEXTEDIT_K_RIGHT ||
                        stbKey == (STB_TEXTEDIT_K_LEFT | kShiftBit) || stbKey == (STB_TEXTEDIT_K_RIGHT | kShiftBit)))
      stbKey |= kControlBit;
  }
  if (!(stbKey & kSpecialKey) && Length() >= kMaxLength && mState.select_start == mState.select_end)
    return false;

  const Snapshot before = Take();
  stb_textedit_key(this, &mState, stbKey);
  if (Take() == before)
    return false;
  MarkIfChanged(before);
  return true;
}

void ITextEntryControl::ComputeWidths()
{
  if (!mWidths.empty() || !mGraphics)
    return;
  mWidths.resize(mText.size(), 0.f);
  for (size_t i = 0; i < mText.size(); ++i)
  {
    IRectF bounds;
    const std::string one = Utf16ToUtf8(mText.data() + i, 1);
    if (i == 0)
    {
      mWidths[i] = mGraphics->MeasureText(mTextStyle, one.c_str(), bounds);
    }
    else
    {
      IRectF pairBounds;
      const std::string previous = Utf16ToUtf8(mText.data() + i - 1, 1);
      const std::string pair = Utf16ToUtf8(mText.data() + i - 1, 2);
      mWidths[i] = mGraphics->MeasureText(mTextStyle, pair.c_str(), pairBounds) -
                   mGraphics->MeasureText(mTextStyle, previous.c_str(), bounds);
    }
  }
}

float ITextEntryControl::CharWidth(int i)
{
  ComputeWidths();
  return i >= 0 && i < static_cast<int>(mWidths.size()) ? mWidths[static_cast<size_t>(i)] : 0.f;
}

float ITextEntryControl::WidthBefore(int index)
{
  ComputeWidths();
  float width = 0.f;
  for (int i = 0; i < index && i < static_cast<int>(mWidths.size()); ++i)
    width += mWidths[static_cast<size_t>(i)];
  return width;
}

float ITextEntryControl::RowX0()
{
  const float w = WidthBefore(Length());
  switch (mTextStyle.hAlign)
  {
  case ITextStyle::kAlignCentre: return mRECT.MW() - w / 2.f;
  case ITextStyle::kAlignFar: return mRECT.R - w;
  default: return mRECT.L;
  }
}

float ITextEntryControl::RowYMin() const
{
  switch (mTextStyle.vAlign)
  {
  case ITextStyle::kAlignCentre: return (mRECT.H() - mTextStyle.size) / 2.f;
  case ITextStyle::kAlignFar: return mRECT.H() - mTextStyle.size;
  default: return 0.f;
  }
}

void ITextEntryControl::LayoutRow(StbTexteditRow* row)
{
  const float w = WidthBefore(Length());
  row->x0 = RowX0();
  row->x1 = row->x0 + w;
  row->ymin = RowYMin();
  row->ymax = row->ymin + mTextStyle.size;
  row->baseline_y_delta = 1.25f;
  row->num_chars = Length();
}

void ITextEntryControl::DeleteChars(int at, int count)
{
  if (at < 0 || count <= 0 || at >= Length())
    return;
  mText.erase(mText.begin() + at, mText.begin() + std::min(Length(), at + count));
  mWidths.clear();
}

bool ITextEntryControl::InsertChars(int at, const char16_t* chars, int count)
{
  if (at < 0 || at > Length() || count <= 0)
    return false;
  const std::u16string piece(chars, chars + count);
  mText.insert(mText.begin() + at, piece.begin(), piece.end());
  mWidths.clear();
  return true;
}

void ITextEntryControl::Draw(IGui& g)
{
  if (!mEditing)
    return;
  g.FillRect(mTextStyle.entryBackground, mRECT);
  const float x0 = RowX0();
  const float top = mRECT.T + RowYMin() - 0.1f * mTextStyle.size;
  const float bottom = mRECT.T + RowYMin() + mTextStyle.size + 0.1f * mTextStyle.size;
  if (mState.select_start != mState.select_end)
  {
    const int from = std::min(mState.select_start, mState.select_end);
    const int to = std::max(mState.select_start, mState.select_end);
    const IBlendMode faint(IBlendMode::kSourceOver, 0.2f);
    g.FillRect(mTextStyle.entryText, IRectF(x0 + WidthBefore(from), top, x0 + WidthBefore(to), bottom), &faint);
  }
  g.DrawText(mTextStyle, GetText().c_str(), mRECT);
  if (mCaretVisible && mState.select_start == mState.select_end)
  {
    const float x = x0 + WidthBefore(mState.cursor);
    g.FillRect(mTextStyle.entryText, IRectF(std::round(x - 1.f), top, std::round(x), bottom));
  }
}

void ITextEntryControl::OnChosen(IPopupMenu* menu)
{
  switch (menu ? menu->GetChosenItemIdx() : -1)
  {
  case 0: CutSelection(); break;
  case 1: CopySelection(); break;
  case 2: Paste(); break;
  default: break;
  }
}

} // namespace pfw::gui
