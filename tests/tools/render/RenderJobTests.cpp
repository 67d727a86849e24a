#include "tools/render/RenderJob.h"

#include "product/core/AmpEngine.h"
#include "product/core/ParamSpecTable.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

bool Parse(std::vector<std::string> args, RenderOptions& options)
{
  std::string error;
  return ParseRenderArguments(args, options, error);
}

} // namespace

TEST(RenderArguments, AcceptsFilesTestSignalAndSettings)
{
  RenderOptions o;
  ASSERT_TRUE(Parse({"in.wav", "out.wav", "--block", "7", "--set", "14=9", "--set", "2=50.5"}, o));
  EXPECT_EQ(o.inputPath, "in.wav");
  EXPECT_EQ(o.outputPath, "out.wav");
  EXPECT_EQ(o.blockSize, 7);
  ASSERT_EQ(o.values.size(), 2u);
  EXPECT_EQ(o.values[0].first, 14);
  EXPECT_EQ(o.values[1].second, 50.5f);

  RenderOptions g;
  ASSERT_TRUE(Parse({"--test-signal", "out.wav", "--seconds", "2", "--rate", "96000", "--recipe", "3"}, g));
  EXPECT_TRUE(g.inputPath.empty());
  EXPECT_EQ(g.sampleRate, 96000.0);
  EXPECT_EQ(g.recipe, 3);

  // A recipe by name, in any letter case.
  RenderOptions named;
  ASSERT_TRUE(Parse({"--test-signal", "out.wav", "--recipe", "metal LEAD"}, named));
  EXPECT_EQ(named.recipe, 33);
  EXPECT_EQ(FindRecipeArgument("Studio Clean"), 0);
  EXPECT_EQ(FindRecipeArgument("Folded Echo Space"), 39);
  EXPECT_EQ(FindRecipeArgument("39"), 39);
  EXPECT_EQ(FindRecipeArgument("Studio"), -1);
  EXPECT_EQ(FindRecipeArgument("Studio Clean "), -1);
  EXPECT_EQ(FindRecipeArgument(""), -1);
}

TEST(RenderArguments, RefusesBadArguments)
{
  RenderOptions o;
  EXPECT_FALSE(Parse({}, o));
  EXPECT_FALSE(Parse({"only.wav"}, o));
  EXPECT_FALSE(Parse({"a.wav", "b.wav", "c.wav"}, o));
  EXPECT_FALSE(Parse({"a.wav", "b.wav", "--block", "0"}, o));
  EXPECT_FALSE(Parse({"a.wav", "b.wav", "--block", "2.5"}, o));
  EXPECT_FALSE(Parse({"a.wav", "b.wav", "--block"}, o));
  EXPECT_FALSE(Parse({"a.wav", "b.wav", "--set", "84=1"}, o));
  EXPECT_FALSE(Parse({"a.wav", "b.wav", "--set", "3"}, o));
  EXPECT_FALSE(Parse({"a.wav", "b.wav", "--set", "3=nan"}, o));
  EXPECT_FALSE(Parse({"--test-signal", "out.wav", "--rate", "44100.5"}, o));
  EXPECT_FALSE(Parse({"a.wav", "b.wav", "--recipe", "40"}, o));
  EXPECT_FALSE(Parse({"a.wav", "b.wav", "--recipe", "-1"}, o));
  EXPECT_FALSE(Parse({"a.wav", "b.wav", "--recipe", "Custom"}, o));
  EXPECT_FALSE(Parse({"--test-signal", "out.wav", "--rate", "384000"}, o));
  EXPECT_FALSE(Parse({"a.wav", "b.wav", "--loud"}, o));
}

TEST(RenderArguments, SettingsFollowTheRuleOfTypedValues)
{
  // Refused, never clamped or rounded; the message names the parameter and what it takes.
  const struct
  {
    const char* set;
    const char* message;
  } refused[] = {
    {"0=30", "Input takes a number from -24 to 24 dB"},
    {"2=-0.5", "Mix takes a number from 0 to 100 %"},
    {"70=8.5", "Reverb Decay takes a number from 0.1 to 8 s"},
    {"23=2.5", "Amp Type takes a whole number from 0 to 11 or the name of a choice"},
    {"23=12", "Amp Type takes a whole number from 0 to 11"},
    {"4=yes", "Bypass takes a whole number from 0 to 1"},
  };
  for (const auto& c : refused)
  {
    RenderOptions o;
    std::string error;
    EXPECT_FALSE(ParseRenderArguments({"a.wav", "b.wav", "--set", c.set}, o, error)) << c.set;
    EXPECT_NE(error.find(c.message), std::string::npos) << error;
  }
  // Bounds, units the editor understands and choice names are values too.
  RenderOptions o;
  ASSERT_TRUE(Parse({"a.wav", "b.wav", "--set", "0=-24", "--set", "70=0.1 s", "--set", "63=0.5s", "--set",
                     std::string("23=") + ParamValueName(kParamAmpType, 11)},
                    o));
  EXPECT_EQ(o.values[0].second, -24.0);
  EXPECT_EQ(o.values[1].second, 0.1f);
  EXPECT_EQ(o.values[2].second, 500.0);
  EXPECT_EQ(o.values[3].second, 11.0);
}

TEST(RenderJob, DefaultChainTurnsTheGuitarIntoAFiniteAmpSound)
{
  const AudioClip guitar = MakeGuitarTestSignal(3.0, 48000.0);
  AudioClip out;
  std::string error;
  RenderOptions options;
  ASSERT_TRUE(RenderThroughPlugin(guitar, options, out, error)) << error;
  ASSERT_EQ(out.channels.size(), 2u);
  ASSERT_EQ(out.Frames(), guitar.Frames());

  const ChannelStats in = MeasureChannel(guitar.channels[0], 48000.0);
  const ChannelStats left = MeasureChannel(out.channels[0], 48000.0);
  const ChannelStats right = MeasureChannel(out.channels[1], 48000.0);
  EXPECT_EQ(left.nonFinite, 0u);
  EXPECT_GT(left.rms, 0.01);
  EXPECT_LT(left.peak, 4.0);
  EXPECT_LT(std::fabs(left.dc), 1e-3);
  EXPECT_NEAR(left.rms, right.rms, 1e-6); // identical inputs, stereo-symmetric chain
  // The amp changes the spectrum: its distortion and tone network move energy around.
  EXPECT_GT(std::fabs(left.highShare - in.highShare), 0.02);
}

TEST(RenderJob, SettingsChangeTheResultAndBlockSizeDoesNot)
{
  const AudioClip guitar = MakeGuitarTestSignal(1.0, 44100.0);
  RenderOptions options;
  AudioClip a, b, c;
  std::string error;
  ASSERT_TRUE(RenderThroughPlugin(guitar, options, a, error));
  options.blockSize = 37;
  ASSERT_TRUE(RenderThroughPlugin(guitar, options, b, error));
  EXPECT_EQ(a.channels, b.channels);
  options.blockSize = 512;
  options.values.emplace_back(kParamMix, 0.0f);
  ASSERT_TRUE(RenderThroughPlugin(guitar, options, c, error));
  // Mix 0 from the first sample: the input delayed by the engine's latency.
  for (size_t n = AmpEngine::kLatency; n < guitar.Frames(); ++n)
    ASSERT_EQ(c.channels[0][n], guitar.channels[0][n - AmpEngine::kLatency]) << n;
}

TEST(RenderJob, MonoInputFeedsBothSidesAndBadRatesAreRefused)
{
  AudioClip mono;
  mono.sampleRate = 48000.0;
  mono.channels = {std::vector<float>(4800, 0.25f)};
  AudioClip out;
  std::string error;
  RenderOptions options;
  options.values.emplace_back(kParamMix, 0.0f);
  ASSERT_TRUE(RenderThroughPlugin(mono, options, out, error));
  EXPECT_EQ(out.channels[1][1000], 0.25f);
  mono.sampleRate = 8000.0;
  EXPECT_FALSE(RenderThroughPlugin(mono, options, out, error));
  EXPECT_NE(error.find("outside"), std::string::npos);
}

TEST(RenderJob, RecipeIsAppliedBeforeTheSettings)
{
  const AudioClip guitar = MakeGuitarTestSignal(0.5, 48000.0);
  std::string error;
  const auto isAlignedDry = [&guitar](const AudioClip& out) {
    for (size_t n = AmpEngine::kLatency; n < guitar.Frames(); ++n)
    {
      if (out.channels[0][n] != guitar.channels[0][n - AmpEngine::kLatency])
        return false;
    }
    return true;
  };

  // "Neutral Calibration" has mix 0: the output is the input, 48 samples late.
  RenderOptions neutral;
  ASSERT_TRUE(Parse({"--test-signal", "out.wav", "--recipe", "Neutral Calibration"}, neutral));
  AudioClip out;
  ASSERT_TRUE(RenderThroughPlugin(guitar, neutral, out, error)) << error;
  EXPECT_TRUE(isAlignedDry(out));

  // A --set wins over the recipe wherever it stands on the command line.
  RenderOptions wet;
  ASSERT_TRUE(Parse({"--test-signal", "out.wav", "--set", "2=100", "--recipe", "37"}, wet));
  ASSERT_TRUE(RenderThroughPlugin(guitar, wet, out, error)) << error;
  EXPECT_FALSE(isAlignedDry(out));

  // Recipes differ audibly from the defaults.
  RenderOptions defaults;
  RenderOptions metal;
  ASSERT_TRUE(Parse({"--test-signal", "out.wav", "--recipe", "Metal Rhythm"}, metal));
  AudioClip clean;
  AudioClip heavy;
  ASSERT_TRUE(RenderThroughPlugin(guitar, defaults, clean, error));
  ASSERT_TRUE(RenderThroughPlugin(guitar, metal, heavy, error));
  EXPECT_NE(clean.channels[0], heavy.channels[0]);
}
