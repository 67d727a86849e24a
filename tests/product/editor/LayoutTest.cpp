#include "EditorTestSupport.h"

#include "product/editor/Button.h"

#include <gtest/gtest.h>

#include <set>

namespace {

using editor::Button;

struct TabCase
{
  float x, y; // where the tab or sub-tab is clicked
  int view;   // the view it shows
};

// The tabs and sub-tabs, in the order a user might click through them.
const TabCase kTabClicks[] = {
  {120, 470, 0}, {300, 470, 1}, {290, 520, 2}, {120, 520, 1}, {490, 470, 3}, {290, 520, 4},
  {670, 470, 5}, {860, 470, 6}, {290, 520, 7}, {1050, 470, 8}, {290, 520, 9}, {460, 520, 10},
  {120, 520, 8},
};

// The controls that every view shows: A, COPY, the stage switches, the tabs, BYPASS and
// the mail link.
bool InEveryView(const pfw::gui::IControl* control, const editor::ViewState& view)
{
  for (const auto& entry : view.controls)
    if (entry.control == control)
      return false;
  return true;
}

TEST(LayoutTest, EachTabAndSubTabShowsExactlyItsViewAndLightsItself)
{
  editor_test::OpenEditor editor;
  for (const TabCase& tab : kTabClicks)
  {
    editor.Click(tab.x, tab.y);
    EXPECT_EQ(editor.View().currentView, tab.view);
    for (const auto& entry : editor.View().controls)
      EXPECT_EQ(entry.control->IsHidden(), entry.view != tab.view) << "view " << tab.view;
    int litTabs = 0;
    int litSubTabs = 0;
    for (pfw::gui::IControl* control : editor.VisibleControls())
    {
      EXPECT_TRUE(InEveryView(control, editor.View()) ||
                  std::any_of(editor.View().controls.begin(), editor.View().controls.end(),
                              [&](const auto& e) { return e.control == control && e.view == tab.view; }));
      if (auto* button = dynamic_cast<Button*>(control))
      {
        litTabs += button->GetKind() == editor::kButtonTab && button->IsOn();
        litSubTabs += button->GetKind() == editor::kButtonSubTab && button->IsOn();
      }
    }
    EXPECT_EQ(litTabs, 1);
    EXPECT_EQ(litSubTabs, tab.view == 0 || tab.view == 5 ? 0 : 1) << "view " << tab.view;
    EXPECT_EQ(editor.View().helpTitle, "84 STABLE CONTROLS / DISCOVERABLE VIEWS");
  }
}

TEST(LayoutTest, AFreshEditorShowsTheAmpToneView)
{
  editor_test::OpenEditor editor;
  EXPECT_EQ(editor.View().currentView, 1);
  EXPECT_EQ(editor.View().helpTitle, editor::ViewState::kInitialHelpTitle);
  std::set<int> shownViews;
  for (const auto& entry : editor.View().controls)
    if (!entry.control->IsHidden())
      shownViews.insert(entry.view);
  EXPECT_EQ(shownViews, std::set<int>{1});
}

} // namespace
