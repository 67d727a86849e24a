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

// Per view: the controls of its row and its sub-tabs.
constexpr size_t kViewControls[] = {8, 8 + 2, 6 + 2, 8 + 2, 4 + 2, 7, 6 + 2, 6 + 2, 8 + 3, 7 + 3, 7 + 3};

// The tabs and sub-tabs, in the order a user might click through them.
const TabCase kTabClicks[] = {
  {120, 470, 0}, {300, 470, 1}, {290, 520, 2}, {120, 520, 1}, {490, 470, 3}, {290, 520, 4},
  {670, 470, 5}, {860, 470, 6}, {290, 520, 7}, {1050, 470, 8}, {290, 520, 9}, {460, 520, 10},
  {120, 520, 8},
};

TEST(LayoutTest, EachTabAndSubTabShowsExactlyItsViewAndLightsItself)
{
  editor_test::OpenEditor editor;
  for (const TabCase& tab : kTabClicks)
  {
    editor.Click(tab.x, tab.y);
    EXPECT_EQ(editor.View().currentView, tab.view);
    size_t shown = 0;
    for (const auto& entry : editor.View().controls)
    {
      EXPECT_EQ(entry.control->IsHidden(), entry.view != tab.view) << "view " << tab.view;
      shown += !entry.control->IsHidden();
    }
    EXPECT_EQ(shown, kViewControls[tab.view]) << "view " << tab.view;
    int litTabs = 0;
    int litSubTabs = 0;
    for (pfw::gui::IControl* control : editor.VisibleControls())
    {
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
  EXPECT_EQ(editor.View().helpTitle, "YOUR GUITAR / YOUR CHAIN");
  EXPECT_EQ(editor.View().helpBody,
            "Enable a stage in the signal chain, choose its family, then shape the sound. Cabinet microphone drag "
            "edits Position and Distance. Shift is finer; numeric knobs double-click to reset.");
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
