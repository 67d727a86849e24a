#include "product/core/FactoryRecipes.h"
#include "product/core/ParamSpecTable.h"
#include "product/core/TailLength.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace {

struct Values
{
  Values()
  {
    for (int i = 0; i < kNumParams; ++i)
      v[i] = ParamSpecTable::kDefaults[i];
  }
  float v[kNumParams];
};

} // namespace

TEST(TailLength, DefaultsHoldTheLatencyTheFiltersAndTheWetDecay)
{
  Values values;
  EXPECT_DOUBLE_EQ(ComputeTailSeconds(values.v, 48000.0), 2.201);
  EXPECT_EQ(TailSecondsToSamples(ComputeTailSeconds(values.v, 48000.0), 48000.0), 105648);
  EXPECT_EQ(TailSecondsToSamples(ComputeTailSeconds(values.v, 44100.0), 44100.0), 97068);
  EXPECT_EQ(TailSecondsToSamples(ComputeTailSeconds(values.v, 96000.0), 96000.0), 211248);
}

TEST(TailLength, OnlyTheLatencyAndFiltersWhenNoWetSignalIsHeard)
{
  Values bypassed;
  bypassed.v[kParamBypass] = 1.0f;
  bypassed.v[kParamReverbEnabled] = 1.0f;
  EXPECT_DOUBLE_EQ(ComputeTailSeconds(bypassed.v, 48000.0), 0.701);
  EXPECT_EQ(TailSecondsToSamples(0.701, 48000.0), 33648);

  for (float monitor : {1.0f, 6.0f})
  {
    Values values;
    values.v[kParamMonitor] = monitor;
    values.v[kParamDelayEnabled] = 1.0f;
    EXPECT_DOUBLE_EQ(ComputeTailSeconds(values.v, 48000.0), 0.701) << monitor;
  }

  Values dry;
  dry.v[kParamMix] = 0.0f;
  dry.v[kParamDelayEnabled] = 1.0f;
  EXPECT_DOUBLE_EQ(ComputeTailSeconds(dry.v, 48000.0), 0.701);
  // With mix 0 a monitor tap other than the output is still heard.
  dry.v[kParamMonitor] = 2.0f;
  EXPECT_DOUBLE_EQ(ComputeTailSeconds(dry.v, 48000.0), 2.201);
}

TEST(TailLength, EchoReverbAndChorusAddTheirDecay)
{
  // Echo space: 49 repeats of 470 ms until 200 dB down, and a 3 s reverb.
  const FactoryRecipe& recipe = FactoryRecipes()[39];
  EXPECT_NEAR(ComputeTailSeconds(recipe.values, 48000.0), 43.268544009985035, 1e-9);

  Values chorus;
  chorus.v[kParamChorusEnabled] = 1.0f;
  EXPECT_DOUBLE_EQ(ComputeTailSeconds(chorus.v, 48000.0), 2.241);
  chorus.v[kParamChorusMix] = 0.0f;
  EXPECT_DOUBLE_EQ(ComputeTailSeconds(chorus.v, 48000.0), 2.201);

  // Without feedback the echo sounds once.
  Values echo;
  echo.v[kParamDelayEnabled] = 1.0f;
  echo.v[kParamDelayFeedback] = 0.0f;
  EXPECT_DOUBLE_EQ(ComputeTailSeconds(echo.v, 48000.0), 2.551);

  Values reverb;
  reverb.v[kParamReverbEnabled] = 1.0f;
  // The default decay is the float 1.2000000476837158.
  EXPECT_NEAR(ComputeTailSeconds(reverb.v, 48000.0), 9.506017888308868, 1e-9);

  // Effects behind another monitor tap are not heard.
  reverb.v[kParamMonitor] = 3.0f;
  EXPECT_DOUBLE_EQ(ComputeTailSeconds(reverb.v, 48000.0), 2.201);
}

TEST(TailLength, ArbitraryInputGivesADefinedTail)
{
  Values values;
  values.v[kParamDelayEnabled] = 1.0f;
  values.v[kParamDelayFeedback] = std::numeric_limits<float>::quiet_NaN(); // becomes the default 30
  values.v[kParamDelayTime] = 1e9f;                                       // clamped to 2000 ms
  const double seconds = ComputeTailSeconds(values.v, 48000.0);
  EXPECT_NEAR(seconds, 0.701 + 2.0 * std::ceil(std::log(1e-10) / std::log(0.3)) + 1.5, 1e-9);

  // Unusable rates fall back to 48000, others are held within 22050 ... 192000.
  Values defaults;
  EXPECT_DOUBLE_EQ(ComputeTailSeconds(defaults.v, std::nan("")), 2.201);
  EXPECT_DOUBLE_EQ(ComputeTailSeconds(defaults.v, 8000.0), 48.0 / 22050.0 + 0.7 + 1.5);
  EXPECT_DOUBLE_EQ(ComputeTailSeconds(defaults.v, 1e6), 48.0 / 192000.0 + 0.7 + 1.5);

  EXPECT_EQ(TailSecondsToSamples(-1.0, 48000.0), 0);
  EXPECT_EQ(TailSecondsToSamples(std::nan(""), 48000.0), 0);
  EXPECT_EQ(TailSecondsToSamples(1e9, 192000.0), 2147483646);
  EXPECT_EQ(TailSecondsToSamples(std::numeric_limits<double>::infinity(), 48000.0), 2147483646);
}
