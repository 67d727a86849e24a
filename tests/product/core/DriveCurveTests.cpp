// Edge cases of the pedal curves and the amplifier's power types, read through the
// stages' own interfaces.
#include "product/core/AmpModel.h"
#include "product/core/ParamIds.h"
#include "product/core/ParamSpecTable.h"
#include "product/core/PedalModel.h"

#include <gtest/gtest.h>

#include <cmath>
#include <set>
#include <vector>

namespace {

std::vector<float> Defaults()
{
  return std::vector<float>(ParamSpecTable::kDefaults, ParamSpecTable::kDefaults + kNumParams);
}

PedalStageState Pedal(int family, float drive = 50.0f, float bias = 0.0f)
{
  std::vector<float> p = Defaults();
  p[kParamPedalDrive] = drive;
  p[kParamPedalBias] = bias;
  PedalStageState state;
  DesignPedal(state.design, p.data(), 192000.0, family);
  return state;
}

} // namespace

TEST(DriveCurves, HardDistortionAndGatedFuzzEdges)
{
  const PedalStageState hard = Pedal(4);
  for (double u : {0.5201, 0.9, 3.0, 1e6})
  {
    EXPECT_EQ(PedalWaveshape(hard, u), 1.0) << u;
    EXPECT_EQ(PedalWaveshape(hard, -u), -1.0) << u;
  }
  EXPECT_NEAR(PedalWaveshape(hard, 0.26), 0.5, 1e-15);

  const PedalStageState gated = Pedal(10);
  for (double u : {0.0, 0.05, 0.1399, -0.1399})
    EXPECT_EQ(PedalWaveshape(gated, u), 0.0) << u;
  EXPECT_NEAR(PedalWaveshape(gated, 0.24), 0.3, 1e-15);
  EXPECT_NEAR(PedalWaveshape(gated, -0.24), -0.3, 1e-15);
  EXPECT_EQ(PedalWaveshape(gated, 2.0), 1.0);
}

TEST(DriveCurves, BitCrushLevelsFollowTheDrive)
{
  // Counts the distinct output levels over the whole input range.
  auto levels = [](const PedalStageState& state) {
    std::set<double> seen;
    for (double u = -1.2; u <= 1.2; u += 1.0 / 4096.0)
      seen.insert(PedalWaveshape(state, u));
    return seen.size();
  };
  // 2^9 levels per unit: -512/512 ... 512/512, 1025 values; 8 levels per unit: 17 values.
  EXPECT_EQ(levels(Pedal(14, 0.0f)), 1025u);
  EXPECT_EQ(levels(Pedal(14, 100.0f)), 17u);
  // Halves round away from zero.
  EXPECT_EQ(PedalWaveshape(Pedal(14, 100.0f), 0.5 / 8.0), 1.0 / 8.0);
  EXPECT_EQ(PedalWaveshape(Pedal(14, 100.0f), -0.5 / 8.0), -1.0 / 8.0);
}

TEST(DriveCurves, ZeroBiasMapsSilenceToSilenceInEveryFamily)
{
  for (int family = 0; family < kPedalFamilyCount; ++family)
  {
    PedalStageState state = Pedal(family, 100.0f, 0.0f);
    for (int n = 0; n < 256; ++n)
      ASSERT_EQ(PedalStage(state, 0.0), 0.0) << family;
  }
}

TEST(DriveCurves, WavefoldAndOctaveCurves)
{
  const PedalStageState fold = Pedal(12);
  EXPECT_NEAR(PedalWaveshape(fold, 0.5), 0.5, 1e-15);
  EXPECT_NEAR(PedalWaveshape(fold, 1.5), 0.5, 1e-15);  // folds back above 1
  EXPECT_NEAR(PedalWaveshape(fold, 3.5), -0.5, 1e-15); // period 4
  EXPECT_NEAR(PedalWaveshape(fold, -1.5), -0.5, 1e-15);
  const PedalStageState octave = Pedal(11);
  EXPECT_EQ(PedalWaveshape(octave, 0.0), -1.0);
  EXPECT_NEAR(PedalWaveshape(octave, -0.7), PedalWaveshape(octave, 0.7), 1e-15);
}

TEST(DriveCurves, SolidStatePowerTypeLimitsAtOne)
{
  // Studio Solid State: one stage, power factor 0.7. Drive the power stage hard and hold
  // the sag off, so the power output is clamp(z, -1, 1) x 0.7 x 0.8 once the weights settle.
  std::vector<float> p = Defaults();
  p[kParamPowerType] = 3.0f;
  p[kParamAmpSag] = 0.0f;
  p[kParamAmpMaster] = 100.0f;
  p[kParamPowerDrive] = 100.0f;
  p[kParamAmpGain] = 100.0f;
  AmpDesign design;
  DesignAmp(design, p.data(), 192000.0, 10);
  AmpStageState state;
  ApplyAmpDesign(state, design);
  double largest = 0.0, smallest = 0.0;
  for (int n = 0; n < 192000; ++n)
  {
    const double x = 0.8 * std::sin(2.0 * 3.14159265358979323846 * 220.0 * n / 192000.0);
    const AmpOutput out = AmpStage(state, x);
    if (n > 96000)
    {
      largest = std::max(largest, out.power);
      smallest = std::min(smallest, out.power);
    }
  }
  EXPECT_NEAR(largest, 0.7 * 0.8, 1e-12);
  EXPECT_NEAR(smallest, -0.7 * 0.8, 1e-12);
}
