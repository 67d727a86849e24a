#include "EditorTestSupport.h"

#include "product/core/ParamIds.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

namespace {

using editor_test::HostEdit;

struct PhysicalCase
{
  int param;
  double value;
  double expected;
};

// Gestures that map to physical values may overshoot; the parameter stops at its range.
TEST(SetParamFromPhysicalTest, ClampsToTheRangeAndEveryControlFollows)
{
  const PhysicalCase cases[] = {
    {kParamMicPosition, 62.5, 62.5},  {kParamMicPosition, -30.0, 0.0},  {kParamMicPosition, 250.0, 100.0},
    {kParamMicDistance, 0.2, 1.0},    {kParamMicDistance, 1e9, 100.0},  {kParamDelayTime, 500.0, 500.0},
    {kParamGateAttack, 0.05, 0.1f},   {kParamEqMidQ, 8.0, 8.0},
  };
  for (const PhysicalCase& c : cases)
  {
    auto plugin = tarnwick_test::MakePlugin();
    FakeEditorGraphics* graphics = tarnwick_test::OpenFakeEditor(*plugin);
    ASSERT_NE(graphics, nullptr);
    graphics->parameterValues.clear();
    plugin->TakeHostEdits();

    plugin->Product().SetParamFromPhysical(c.param, c.value, false);
    const pfw::IParam& param = *plugin->GetParam(c.param);
    EXPECT_NEAR(param.Value(), c.expected, 1e-9 * std::max(1.0, c.expected)) << c.param << " " << c.value;
    const std::vector<HostEdit> edits = plugin->TakeHostEdits();
    ASSERT_EQ(edits.size(), 1u);
    EXPECT_EQ(edits[0].kind, HostEdit::kPerform);
    EXPECT_NEAR(edits[0].normalized, param.GetNormalized(), 1e-12);
    ASSERT_EQ(graphics->parameterValues.size(), 1u);
    EXPECT_EQ(graphics->parameterValues[0].first, c.param);
    EXPECT_NEAR(graphics->parameterValues[0].second, param.GetNormalized(), 1e-12);
  }
}

TEST(SetParamFromPhysicalTest, AGestureFramesTheHostEditAndNaNChangesNothing)
{
  auto plugin = tarnwick_test::MakePlugin();
  plugin->Product().SetParamFromPhysical(kParamMicDistance, 40.0, true);
  const std::vector<HostEdit> edits = plugin->TakeHostEdits();
  ASSERT_EQ(edits.size(), 3u);
  EXPECT_EQ(edits[0].kind, HostEdit::kBegin);
  EXPECT_EQ(edits[1].kind, HostEdit::kPerform);
  EXPECT_EQ(edits[2].kind, HostEdit::kEnd);
  EXPECT_TRUE(editor_test::BalancedHostEdits(edits));

  plugin->Product().SetParamFromPhysical(kParamMicDistance, std::nan(""), true);
  EXPECT_TRUE(plugin->TakeHostEdits().empty());
  EXPECT_DOUBLE_EQ(plugin->GetParam(kParamMicDistance)->Value(), 40.0);
}

} // namespace
