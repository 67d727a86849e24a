#include "EditorTestSupport.h"
#include "ExpectedPage.h"
#include "ExpectedTexts.h"

#include "product/editor/Backdrop.h"
#include "product/editor/Brand.h"
#include "product/editor/Button.h"
#include "product/editor/ContextHelp.h"
#include "product/editor/EnumMenu.h"
#include "product/editor/Knob.h"
#include "product/editor/PresetMenu.h"
#include "product/editor/RigArtwork.h"
#include "product/editor/SignalDisplay.h"
#include "product/editor/Status.h"
#include "product/editor/ValueEntry.h"

#include <gtest/gtest.h>

#include <map>
#include <optional>
#include <set>
#include <string>

namespace {

using editor::Button;
using expected_page::Kind;
using expected_page::kPage;
using expected_page::Slot;
using pfw::gui::IControl;

// What kind of control of the page this is; nullopt for anything else.
std::optional<Kind> KindOf(IControl* control)
{
  if (auto* button = dynamic_cast<Button*>(control))
  {
    switch (button->GetKind())
    {
    case editor::kButtonSwitch: return Kind::kSwitch;
    case editor::kButtonBankSwitch: return Kind::kBankSwitch;
    case editor::kButtonCopyBank: return Kind::kCopyBank;
    case editor::kButtonSubTab: return Kind::kSubTab;
    case editor::kButtonTab: return Kind::kTab;
    case editor::kButtonMailLink: return Kind::kMailLink;
    }
  }
  if (dynamic_cast<editor::Knob*>(control))
    return Kind::kKnob;
  if (dynamic_cast<editor::EnumMenu*>(control))
    return Kind::kMenu;
  if (dynamic_cast<editor::Backdrop*>(control))
    return Kind::kBackdrop;
  if (dynamic_cast<editor::Brand*>(control))
    return Kind::kBrand;
  if (dynamic_cast<editor::PresetMenu*>(control))
    return Kind::kRecipeMenu;
  if (dynamic_cast<editor::RigArtwork*>(control))
    return Kind::kRig;
  if (dynamic_cast<editor::SignalDisplay*>(control))
    return Kind::kSignalDisplay;
  if (dynamic_cast<editor::ContextHelp*>(control))
    return Kind::kContextHelp;
  if (dynamic_cast<editor::Status*>(control))
    return Kind::kStatus;
  return std::nullopt;
}

std::string Describe(const Slot& slot)
{
  return "view " + std::to_string(slot.view) + " " + (slot.label ? slot.label : "unlabelled") + " at " +
         std::to_string(slot.rect.L) + "," + std::to_string(slot.rect.T);
}

TEST(LayoutTest, EveryControlSitsInItsSlotWithItsParameterLabelAndView)
{
  editor_test::OpenEditor editor;
  std::map<IControl*, int> recordedView;
  for (const auto& entry : editor.View().controls)
    recordedView[entry.control] = entry.view;

  // The page in drawing order; each knob's value entry, which draws nothing, follows it.
  std::vector<IControl*> page;
  for (int i = 0; i < editor.gui->NControls(); ++i)
  {
    IControl* control = editor.gui->GetControl(i);
    if (dynamic_cast<editor::ValueEntry*>(control))
    {
      EXPECT_TRUE(!page.empty() && KindOf(page.back()) == Kind::kKnob) << "value entry " << i;
      EXPECT_TRUE(control->GetIgnoreMouse());
      continue;
    }
    page.push_back(control);
  }
  ASSERT_EQ(page.size(), std::size(kPage));
  for (size_t i = 0; i < page.size(); ++i)
  {
    const Slot& slot = kPage[i];
    IControl* control = page[i];
    SCOPED_TRACE(Describe(slot));
    EXPECT_EQ(KindOf(control), slot.kind);
    EXPECT_EQ(control->GetParamIdx(), slot.param);
    EXPECT_EQ(control->GetRECT(), slot.rect);
    EXPECT_EQ(recordedView.count(control) ? recordedView[control] : -1, slot.view);
    if (auto* button = dynamic_cast<Button*>(control))
    {
      EXPECT_EQ(button->GetTarget(), slot.target);
    }
    if (auto* menu = dynamic_cast<editor::EnumMenu*>(control))
    {
      EXPECT_EQ(menu->Box() == slot.rect, slot.label == nullptr); // a menu without a label is all box
    }
    const bool passive = slot.kind == Kind::kBackdrop || slot.kind == Kind::kContextHelp || slot.kind == Kind::kStatus;
    EXPECT_EQ(control->GetIgnoreMouse(), passive);
  }

  // Each view in turn: every label on show is drawn inside its own control.
  for (int view = 0; view < editor::ViewState::kViewCount; ++view)
  {
    editor.View().ShowView(view, *editor.gui);
    editor.Frame();
    for (const Slot& slot : kPage)
    {
      if (!slot.label || (slot.view >= 0 && slot.view != view))
        continue;
      bool drawn = false;
      for (const StyledRecordingGui::DrawnText& text : editor.gui->texts)
        drawn = drawn || (text.text == slot.label && slot.rect.ContainsRect(text.bounds));
      EXPECT_TRUE(drawn) << Describe(slot) << " shown in view " << view;
    }
  }
}

struct TabCase
{
  float x, y; // where the tab or sub-tab is clicked
  int view;   // the view it shows
  int tab;    // the tab lit with it
};

// The tabs and sub-tabs, in the order a user might click through them.
const TabCase kTabClicks[] = {
  {120, 470, 0, 0}, {300, 470, 1, 1}, {290, 520, 2, 1}, {120, 520, 1, 1}, {490, 470, 3, 2},
  {290, 520, 4, 2}, {670, 470, 5, 3}, {860, 470, 6, 4}, {290, 520, 7, 4}, {1050, 470, 8, 5},
  {290, 520, 9, 5}, {460, 520, 10, 5}, {120, 520, 8, 5},
};

TEST(LayoutTest, EachTabAndSubTabShowsExactlyItsViewAndLightsItself)
{
  editor_test::OpenEditor editor;
  for (const TabCase& tab : kTabClicks)
  {
    editor.Click(tab.x, tab.y);
    EXPECT_EQ(editor.View().currentView, tab.view);
    for (const auto& entry : editor.View().controls)
      EXPECT_EQ(entry.control->IsHidden(), entry.view != tab.view) << "view " << tab.view;
    std::set<int> litTabs, litSubTabs;
    for (IControl* control : editor.VisibleControls())
    {
      if (auto* button = dynamic_cast<Button*>(control); button && button->IsOn())
      {
        if (button->GetKind() == editor::kButtonTab)
          litTabs.insert(button->GetTarget());
        if (button->GetKind() == editor::kButtonSubTab)
          litSubTabs.insert(button->GetTarget());
      }
    }
    EXPECT_EQ(litTabs, std::set<int>{tab.tab}) << "view " << tab.view;
    EXPECT_EQ(litSubTabs, tab.view == 0 || tab.view == 5 ? std::set<int>{} : std::set<int>{tab.view});
    EXPECT_EQ(editor.View().helpTitle, expected_texts::kViewsHelp.title);
    EXPECT_EQ(editor.View().helpBody, expected_texts::kViewsHelp.body);
  }
}

TEST(LayoutTest, AFreshEditorShowsTheAmpToneView)
{
  editor_test::OpenEditor editor;
  EXPECT_EQ(editor.View().currentView, 1);
  EXPECT_EQ(editor.View().helpTitle, expected_texts::kInitialHelp.title);
  EXPECT_EQ(editor.View().helpBody, expected_texts::kInitialHelp.body);
  std::set<int> shownViews;
  for (const auto& entry : editor.View().controls)
    if (!entry.control->IsHidden())
      shownViews.insert(entry.view);
  EXPECT_EQ(shownViews, std::set<int>{1});
}

} // namespace

namespace {

TEST(LayoutTest, ThePluginObjectLaysOutItsOwnEditorOnlyOnARealGraphicsContext)
{
  editor_test::PluginWithGui editor;
  editor.plugin->LayoutUI(&editor.gui);
  // 29 controls outside the row, 75 in the rows, 21 sub-tabs and a value entry for each of
  // the 59 knobs.
  EXPECT_EQ(editor.gui.NControls(), 29 + 75 + 21 + 59);
  EXPECT_EQ(editor.gui.GetMinScale(), 0.85f);
  EXPECT_EQ(editor.gui.GetMaxScale(), 1.5f);
  EXPECT_TRUE(editor.gui.MouseOverEnabled());
  EXPECT_TRUE(editor.gui.TooltipsEnabled());
  ASSERT_NE(editor.gui.GetCornerResizer(), nullptr);

  FakeEditorGraphics notAGui;
  editor.plugin->LayoutUI(&notAGui);
  editor.plugin->LayoutUI(nullptr);
}

} // namespace
