#include "EditorTestSupport.h"

#include "product/editor/ViewState.h"

#include <gtest/gtest.h>

using editor::ViewState;

namespace {

class PlainControl : public pfw::gui::IControl
{
public:
  explicit PlainControl(float left)
    : pfw::gui::IControl(pfw::gui::IRectF(left, 0.f, left + 10.f, 10.f))
  {
  }
  void Draw(pfw::gui::IGui&) override {}
};

TEST(ViewStateTest, StartsOnTheAmpToneViewWithTheWelcomeHelp)
{
  const ViewState state;
  EXPECT_EQ(state.currentView, 1);
  EXPECT_EQ(state.helpTitle, "YOUR GUITAR / YOUR CHAIN");
  EXPECT_EQ(state.helpBody,
            "Enable a stage in the signal chain, choose its family, then shape the sound. Cabinet microphone drag "
            "edits Position and Distance. Shift is finer; numeric knobs double-click to reset.");
  EXPECT_TRUE(state.controls.empty());
}

TEST(ViewStateTest, ShowsOnlyTheCurrentViewsControlsAndExplainsTheViews)
{
  editor_test::PluginWithGui editor;
  ViewState state;
  auto* everywhere = new PlainControl(0.f);
  editor.gui.AttachControl(everywhere);
  auto* pedal = new PlainControl(20.f);
  auto* ampTone = new PlainControl(40.f);
  auto* alsoEverywhere = new PlainControl(60.f);
  state.AddControl(editor.gui, pedal, 0);
  state.AddControl(editor.gui, ampTone, 1);
  state.AddControl(editor.gui, alsoEverywhere, -1);
  ASSERT_EQ(editor.gui.NControls(), 4);
  EXPECT_EQ(state.controls.size(), 3u);

  state.Apply(editor.gui);
  EXPECT_TRUE(pedal->IsHidden());
  EXPECT_FALSE(ampTone->IsHidden());
  EXPECT_FALSE(alsoEverywhere->IsHidden());
  EXPECT_EQ(state.helpTitle, ViewState::kInitialHelpTitle);

  state.ShowView(0, editor.gui);
  EXPECT_EQ(state.currentView, 0);
  EXPECT_FALSE(pedal->IsHidden());
  EXPECT_TRUE(ampTone->IsHidden());
  EXPECT_FALSE(alsoEverywhere->IsHidden());
  EXPECT_FALSE(everywhere->IsHidden());
  EXPECT_EQ(state.helpTitle, "84 STABLE CONTROLS / DISCOVERABLE VIEWS");
  EXPECT_EQ(state.helpBody,
            "Pedal; Amp Tone/Power; Cabinet First/Second Mic; EQ; Effects Time/Blend; Utility Levels/Gate/Monitor. "
            "Every parameter keeps its host automation ID. Dimmed controls are unused when a stage is off.");
}

} // namespace
