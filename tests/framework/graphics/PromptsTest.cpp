#include "TestControls.h"

#include "framework/graphics/ITextEntryControl.h"

#include <gtest/gtest.h>

using namespace pfw::gui;

using Log = std::vector<std::string>;

TEST(PopupMenuModel, BuiltFromTexts)
{
  IPopupMenu menu("Edit", {"Cut", "Copy", "Paste"});
  ASSERT_EQ(3, menu.NItems());
  EXPECT_STREQ("Edit", menu.GetTitle());
  for (int i = 0; i < 3; ++i)
  {
    EXPECT_EQ(-1, menu.GetItem(i)->GetTag());
    EXPECT_EQ(0, menu.GetItem(i)->GetFlags());
    EXPECT_EQ(nullptr, menu.GetItem(i)->GetSubmenu());
  }
  EXPECT_STREQ("Copy", menu.GetItem(1)->GetText());
  EXPECT_EQ(-1, menu.GetChosenItemIdx());
  EXPECT_EQ(nullptr, menu.GetChosenItem());
  EXPECT_STREQ("", PopupMenuItem(nullptr).GetText());
}

TEST(PopupMenuModel, ClearDeletesTheTreeAndMayKeepState)
{
  IPopupMenu menu(nullptr, {"A", "B", "C"});
  auto* sub = new IPopupMenu(nullptr, {"B1", "B2"});
  menu.GetItem(1)->SetSubmenu(sub);
  menu.SetChosenItemIdx(2);
  menu.SetPrefix(IPopupMenu::kPrefix02d);
  menu.Clear(false);
  EXPECT_EQ(0, menu.NItems());
  EXPECT_EQ(2, menu.GetChosenItemIdx());
  EXPECT_EQ(IPopupMenu::kPrefix02d, menu.GetPrefix());
  menu.AddItem("again");
  menu.Clear();
  EXPECT_EQ(-1, menu.GetChosenItemIdx());
  EXPECT_EQ(IPopupMenu::kPrefixNone, menu.GetPrefix());
}

TEST(PopupMenuModel, CompletionMayReplaceItself)
{
  int calls = 0;
  IPopupMenu menu(nullptr, {"x"});
  menu.SetCompletion([&](IPopupMenu* m) {
    ++calls;
    m->SetCompletion(nullptr);
  });
  menu.ExecCompletion();
  menu.ExecCompletion();
  EXPECT_EQ(1, calls);
}

namespace {
// A list parameter of the four routing choices.
void MakeRouting(FakeDelegate& delegate, int index)
{
  pfw::IParam* param = delegate.GetParam(index);
  param->InitInt("Routing", 0, 0, 3);
  param->SetType(pfw::IParam::kTypeEnum);
  param->SetDisplayText(0, "Stereo");
  param->SetDisplayText(1, "Mono Sum");
  param->SetDisplayText(2, "Left");
  param->SetDisplayText(3, "Right");
}
} // namespace

TEST(Prompts, ListParameterPromptsAMenuWithTheCurrentChoiceChecked)
{
  GuiFixture f;
  MakeRouting(f.delegate, 1);
  f.delegate.GetParam(1)->Set(2);
  LoggingControl* a = f.Add("a", IRectF(0, 0, 50, 50), 1);
  a->SetValueFromDelegate(f.delegate.GetParam(1)->GetNormalized());
  a->DisablePrompt(false);
  f.gui->popupAnswers.push_back(3);
  f.gui->PromptUserInput(*a, a->GetRECT(), 0);
  ASSERT_EQ(1u, f.gui->popupsShown.size());
  EXPECT_EQ("Routing|Stereo|Mono Sum|Left*|Right", f.gui->popupsShown[0]);
  // Choosing "Right" sets its value, framed.
  EXPECT_DOUBLE_EQ(3.0, f.delegate.GetParam(1)->Value());
  EXPECT_TRUE(f.delegate.Balanced());
  EXPECT_EQ(nullptr, f.gui->GetPopupControl());
}

TEST(Prompts, MenuItemMeansTheValueOfItsDisplayText)
{
  GuiFixture f;
  pfw::IParam* param = f.delegate.GetParam(0);
  param->InitInt("Mode", 10, 10, 30);
  param->SetType(pfw::IParam::kTypeEnum);
  param->SetDisplayText(10, "Low");
  param->SetDisplayText(20, "Mid");
  param->SetDisplayText(30, "High");
  LoggingControl* a = f.Add("a", IRectF(0, 0, 50, 50), 0);
  a->DisablePrompt(false);
  f.gui->popupAnswers.push_back(1);
  f.gui->PromptUserInput(*a, a->GetRECT(), 0);
  EXPECT_DOUBLE_EQ(20.0, param->Value());
}

TEST(Prompts, LeftPressPopupEndsItsEditAlsoWhenDismissed)
{
  struct MenuButton : LoggingControl
  {
    using LoggingControl::LoggingControl;
    IPopupMenu menu{nullptr, {"one", "two"}};
    IPopupMenu* received = reinterpret_cast<IPopupMenu*>(1);
    void OnMouseDown(float, float, const IPointerMods&) override
    {
      GetUI()->CreatePopupMenu(*this, menu, mRECT, 0);
    }
    void OnPopupMenuSelection(IPopupMenu* chosen, int valIdx) override
    {
      received = chosen;
      IControl::OnPopupMenuSelection(chosen, valIdx);
    }
  };
  GuiFixture f;
  auto* button = new MenuButton("m", IRectF(0, 0, 50, 50), f.events, 2);
  f.gui->AttachControl(button);
  button->DisablePrompt(false);
  f.Down(10, 10);
  f.Up(10, 10);
  EXPECT_EQ(nullptr, button->received);
  EXPECT_EQ((Log{"begin 2", "end 2"}), f.delegate.log);

  f.delegate.log.clear();
  f.gui->popupAnswers.push_back(1);
  f.Down(10, 10);
  f.Up(10, 10);
  EXPECT_EQ(&button->menu, button->received);
  // Without display texts item 1 means the minimum plus one: 1.0 of the range 0 ... 1.
  EXPECT_EQ((Log{"begin 2", "value 2 1", "end 2"}), f.delegate.log);
}

TEST(Prompts, MenuOpenedWithoutAPressIsFramedByItsValue)
{
  GuiFixture f;
  LoggingControl* a = f.Add("a", IRectF(0, 0, 50, 50), 5);
  a->DisablePrompt(false);
  IPopupMenu menu(nullptr, {"a", "b", "c"});
  f.gui->popupAnswers.push_back(2);
  f.gui->CreatePopupMenu(*a, menu, a->GetRECT(), 0);
  std::string why;
  EXPECT_TRUE(f.delegate.Balanced(&why)) << why;
  EXPECT_EQ((Log{"begin 5", "value 5 1", "end 5"}), f.delegate.log);
}

TEST(Prompts, RealParameterPromptsTheNativeEntryWithTheNumberAlone)
{
  GuiFixture f;
  f.delegate.GetParam(3)->InitDouble("Gain", 1.5, -12.0, 12.0, 0.1, "dB");
  LoggingControl* a = f.Add("a", IRectF(0, 0, 100, 40), 3);
  a->DisablePrompt(false);
  f.Down(50, 20, true); // linked: the context menu, not the prompt
  EXPECT_TRUE(f.gui->platformTextEntries.empty());
  a->OnMouseDown(50, 20, GuiFixture::Point(50, 20, true).mods);
  ASSERT_EQ(1u, f.gui->platformTextEntries.size());
  EXPECT_EQ("3 30 12 70 28 7 1.5", f.gui->platformTextEntries[0]);
  f.gui->SetControlValueAfterTextEdit("-3.25");
  EXPECT_DOUBLE_EQ(-3.25, f.delegate.GetParam(3)->Value());
  EXPECT_TRUE(f.delegate.Balanced());
}

TEST(Prompts, PromptStaysSilentWhileDisabled)
{
  GuiFixture f;
  LoggingControl* a = f.Add("a", IRectF(0, 0, 100, 40), 3);
  a->OnMouseDown(50, 20, GuiFixture::Point(50, 20, true).mods);
  EXPECT_TRUE(f.gui->platformTextEntries.empty());
  EXPECT_TRUE(f.gui->popupsShown.empty());
}

TEST(Prompts, TypedTextMatchingADisplayTextTakesItsValue)
{
  GuiFixture f;
  pfw::IParam* param = f.delegate.GetParam(0);
  param->InitDouble("Drive", 0, 0, 10, 0.1);
  param->SetDisplayText(10, "Max");
  LoggingControl* a = f.Add("a", IRectF(0, 0, 100, 40), 0);
  f.gui->CreateTextEntry(*a, a->GetTextStyle(), a->GetRECT(), "", 0);
  f.gui->SetControlValueAfterTextEdit("Max");
  EXPECT_DOUBLE_EQ(10.0, param->Value());
}

TEST(Prompts, UnparsableTextChangesNothing)
{
  GuiFixture f;
  pfw::IParam* param = f.delegate.GetParam(0);
  param->InitDouble("Drive", 5, 0, 10, 0.1);
  LoggingControl* a = f.Add("a", IRectF(0, 0, 100, 40), 0);
  a->SetValueFromDelegate(param->GetNormalized());
  for (const char* text : {"", "-", ".", "abc"})
  {
    f.gui->CreateTextEntry(*a, a->GetTextStyle(), a->GetRECT(), "", 0);
    f.gui->SetControlValueAfterTextEdit(text);
    EXPECT_DOUBLE_EQ(5.0, param->Value()) << text;
  }
  EXPECT_TRUE(f.delegate.log.empty());
}

TEST(Prompts, EntryWithoutParameterCompletesToTheControl)
{
  GuiFixture f;
  LoggingControl* a = f.Add("a", IRectF(0, 0, 100, 40));
  f.gui->CreateTextEntry(*a, a->GetTextStyle(), a->GetRECT(), "12", -1);
  f.gui->SetControlValueAfterTextEdit("-65.0 dBFS");
  EXPECT_EQ((Log{"a completion -65.0 dBFS -1"}), f.events);
  f.gui->SetControlValueAfterTextEdit("ignored");
  EXPECT_EQ(1u, f.events.size());
}

TEST(Prompts, MenusWorkAfterTheEditorIsClosedAndReopened)
{
  FakeDelegate delegate;
  std::vector<std::string> events;
  for (int round = 0; round < 2; ++round)
  {
    auto gui = std::make_unique<RecordingGui>(delegate);
    auto* a = new LoggingControl("a", IRectF(0, 0, 50, 50), events, 1);
    a->contextItems = {"Copy"};
    gui->AttachControl(a);
    gui->popupAnswers.push_back(0);
    gui->OnMouseDown({GuiFixture::Point(10, 10, true)});
    gui.reset();
  }
  EXPECT_EQ((Log{"a context 0", "a context 0"}), events);
}

TEST(Prompts, PopupThatCompletesLaterEndsItsEditThenOrWhenTheEditorCloses)
{
  struct MenuButton : LoggingControl
  {
    using LoggingControl::LoggingControl;
    IPopupMenu menu{nullptr, {"one", "two"}};
    void OnMouseDown(float, float, const IPointerMods&) override { GetUI()->CreatePopupMenu(*this, menu, mRECT, 0); }
  };
  GuiFixture f;
  f.gui->popupsAsync = true;
  auto* button = new MenuButton("m", IRectF(0, 0, 50, 50), f.events, 2);
  f.gui->AttachControl(button);
  button->DisablePrompt(false);

  f.Down(10, 10);
  f.Up(10, 10);
  // The menu is still open: the press's edit waits for it.
  EXPECT_EQ((Log{"begin 2"}), f.delegate.log);
  EXPECT_EQ(button, f.gui->GetPopupControl());
  button->menu.SetChosenItemIdx(1);
  f.gui->FinishPopupMenu(&button->menu);
  EXPECT_EQ((Log{"begin 2", "value 2 1", "end 2"}), f.delegate.log);

  f.delegate.log.clear();
  f.Down(10, 10);
  f.gui->RemoveAllControls();
  EXPECT_EQ((Log{"begin 2", "end 2"}), f.delegate.log);
  EXPECT_EQ(nullptr, f.gui->GetPopupControl());
  // The answer that comes after the close reaches no one.
  f.gui->FinishPopupMenu(nullptr);
  EXPECT_EQ((Log{"begin 2", "end 2"}), f.delegate.log);
}
