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
  bool gesture;
  double expected; // NaN: nothing changes
};

// Gestures that map to physical values may overshoot: the parameter stops at its range,
// the host hears of it (inside its own edit when asked) and every control follows.
TEST(SetParamFromPhysicalTest, ClampsToTheRangeTellsTheHostAndEveryControlFollows)
{
  const PhysicalCase cases[] = {
    {kParamMicPosition, 62.5, false, 62.5}, {kParamMicPosition, -30.0, false, 0.0},
    {kParamMicPosition, 250.0, true, 100.0}, {kParamMicDistance, 0.2, true, 1.0},
    {kParamMicDistance, 1e9, false, 100.0},  {kParamGateAttack, 0.05, false, 0.1f},
    {kParamEqMidQ, 8.0, true, 8.0},          {kParamMicDistance, std::nan(""), true, std::nan("")},
  };
  for (const PhysicalCase& c : cases)
  {
    auto plugin = tarnwick_test::MakePlugin();
    FakeEditorGraphics* graphics = tarnwick_test::OpenFakeEditor(*plugin);
    ASSERT_NE(graphics, nullptr);
    graphics->parameterValues.clear();
    plugin->TakeHostEdits();
    const double before = plugin->GetParam(c.param)->Value();

    plugin->Product().SetParamFromPhysical(c.param, c.value, c.gesture);
    const pfw::IParam& param = *plugin->GetParam(c.param);
    const std::vector<HostEdit> edits = plugin->TakeHostEdits();
    if (std::isnan(c.expected))
    {
      EXPECT_EQ(param.Value(), before);
      EXPECT_TRUE(edits.empty());
      continue;
    }
    EXPECT_NEAR(param.Value(), c.expected, 1e-9 * std::max(1.0, c.expected)) << c.param << " " << c.value;
    ASSERT_EQ(edits.size(), c.gesture ? 3u : 1u);
    EXPECT_EQ(editor_test::PerformedParams(edits), std::vector<int>{c.param});
    EXPECT_EQ(editor_test::BalancedHostEdits(edits), c.gesture);
    ASSERT_EQ(graphics->parameterValues.size(), 1u);
    EXPECT_EQ(graphics->parameterValues[0].first, c.param);
    EXPECT_NEAR(graphics->parameterValues[0].second, param.GetNormalized(), 1e-12);
  }
}

} // namespace
