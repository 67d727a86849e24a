#include "product/core/ParamSpecTable.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <limits>
#include <string>

namespace {

// The expected table, written out here on its own so that a slip in the product's arrays
// cannot hide behind the same data. Kind: 'D' discrete, 'G' log-scaled, 'L' linear.
struct ExpectedRow
{
  const char* key;
  const char* name;
  const char* label;
  double defaultValue;
  double minimum;
  double maximum;
  char kind;
};

const ExpectedRow kExpected[] = {
  {"input", "Input", "dB", 0, -24, 24, 'L'},
  {"output", "Output", "dB", 0, -24, 24, 'L'},
  {"mix", "Mix", "%", 100, 0, 100, 'L'},
  {"input-routing", "Input Routing", "", 0, 0, 3, 'D'},
  {"bypass", "Bypass", "", 0, 0, 1, 'D'},
  {"gate-enabled", "Gate Enabled", "", 1, 0, 1, 'D'},
  {"gate-threshold", "Gate Threshold", "dBFS", -65, -90, 0, 'L'},
  {"gate-attack", "Gate Attack", "ms", 1, 0.1, 50, 'G'},
  {"gate-hold", "Gate Hold", "ms", 30, 0, 250, 'L'},
  {"gate-release", "Gate Release", "ms", 80, 5, 500, 'G'},
  {"gate-range", "Gate Range", "dB", 70, 0, 90, 'L'},
  {"gate-detector", "Gate Detector", "", 0, 0, 1, 'D'},
  {"sc-trim", "SC Trim", "dB", 0, -24, 24, 'L'},
  {"pedal-enabled", "Pedal Enabled", "", 0, 0, 1, 'D'},
  {"pedal-type", "Pedal Type", "", 1, 0, 15, 'D'},
  {"pedal-drive", "Pedal Drive", "%", 40, 0, 100, 'L'},
  {"pedal-tone", "Pedal Tone", "Hz", 4000, 200, 12000, 'G'},
  {"pedal-level", "Pedal Level", "dB", 0, -24, 24, 'L'},
  {"pedal-low-cut", "Pedal Low Cut", "Hz", 80, 20, 800, 'G'},
  {"pedal-bias", "Pedal Bias", "%", 0, -100, 100, 'L'},
  {"pedal-sag", "Pedal Sag", "%", 15, 0, 100, 'L'},
  {"pedal-blend", "Pedal Blend", "%", 100, 0, 100, 'L'},
  {"amp-enabled", "Amp Enabled", "", 1, 0, 1, 'D'},
  {"amp-type", "Amp Type", "", 0, 0, 11, 'D'},
  {"amp-gain", "Amp Gain", "%", 45, 0, 100, 'L'},
  {"amp-master", "Amp Master", "%", 65, 0, 100, 'L'},
  {"amp-bass", "Amp Bass", "%", 50, 0, 100, 'L'},
  {"amp-mid", "Amp Mid", "%", 50, 0, 100, 'L'},
  {"amp-treble", "Amp Treble", "%", 50, 0, 100, 'L'},
  {"amp-presence", "Amp Presence", "%", 50, 0, 100, 'L'},
  {"amp-depth", "Amp Depth", "%", 50, 0, 100, 'L'},
  {"amp-bright", "Amp Bright", "%", 0, 0, 100, 'L'},
  {"amp-sag", "Amp Sag", "%", 25, 0, 100, 'L'},
  {"amp-bias", "Amp Bias", "%", 0, -100, 100, 'L'},
  {"amp-tight", "Amp Tight", "Hz", 80, 20, 500, 'G'},
  {"power-drive", "Power Drive", "%", 35, 0, 100, 'L'},
  {"power-type", "Power Type", "", 1, 0, 3, 'D'},
  {"cab-enabled", "Cab Enabled", "", 1, 0, 1, 'D'},
  {"cab-type", "Cab Type", "", 2, 0, 9, 'D'},
  {"cab-blend", "Cab Blend", "%", 100, 0, 100, 'L'},
  {"cab-resonance", "Cab Resonance", "%", 50, 0, 100, 'L'},
  {"mic-type", "Mic Type", "", 0, 0, 3, 'D'},
  {"mic-position", "Mic Position", "%", 35, 0, 100, 'L'},
  {"mic-distance", "Mic Distance", "cm", 10, 1, 100, 'L'},
  {"mic-angle", "Mic Angle", "deg", 5, 0, 90, 'L'},
  {"mic-blend", "Mic Blend", "%", 0, 0, 100, 'L'},
  {"second-mic-type", "Second Mic Type", "", 2, 0, 3, 'D'},
  {"cab-low-cut", "Cab Low Cut", "Hz", 65, 20, 400, 'G'},
  {"cab-high-cut", "Cab High Cut", "Hz", 10000, 1000, 20000, 'G'},
  {"cab-room", "Cab Room", "%", 0, 0, 100, 'L'},
  {"eq-enabled", "EQ Enabled", "", 1, 0, 1, 'D'},
  {"eq-low", "EQ Low", "dB", 0, -18, 18, 'L'},
  {"eq-mid", "EQ Mid", "dB", 0, -18, 18, 'L'},
  {"eq-mid-frequency", "EQ Mid Frequency", "Hz", 800, 100, 6000, 'G'},
  {"eq-mid-q", "EQ Mid Q", "Q", 2, 0.2, 8, 'G'},
  {"eq-high", "EQ High", "dB", 0, -18, 18, 'L'},
  {"eq-hp", "EQ HP", "Hz", 20, 20, 500, 'G'},
  {"eq-lp", "EQ LP", "Hz", 20000, 1000, 20000, 'G'},
  {"chorus-enabled", "Chorus Enabled", "", 0, 0, 1, 'D'},
  {"chorus-rate", "Chorus Rate", "Hz", 0.4, 0.05, 8, 'G'},
  {"chorus-depth", "Chorus Depth", "%", 35, 0, 100, 'L'},
  {"chorus-mix", "Chorus Mix", "%", 20, 0, 100, 'L'},
  {"delay-enabled", "Delay Enabled", "", 0, 0, 1, 'D'},
  {"delay-time", "Delay Time", "ms", 350, 10, 2000, 'G'},
  {"delay-feedback", "Delay Feedback", "%", 30, 0, 85, 'L'},
  {"delay-tone", "Delay Tone", "Hz", 4000, 200, 12000, 'G'},
  {"delay-mix", "Delay Mix", "%", 15, 0, 100, 'L'},
  {"delay-ping-pong", "Delay Ping Pong", "", 1, 0, 1, 'D'},
  {"reverb-enabled", "Reverb Enabled", "", 0, 0, 1, 'D'},
  {"reverb-size", "Reverb Size", "%", 35, 0, 100, 'L'},
  {"reverb-decay", "Reverb Decay", "s", 1.2, 0.1, 8, 'G'},
  {"reverb-damping", "Reverb Damping", "Hz", 6000, 500, 16000, 'G'},
  {"reverb-mix", "Reverb Mix", "%", 15, 0, 100, 'L'},
  {"stereo-width", "Stereo Width", "%", 100, 0, 200, 'L'},
  {"safety-clip", "Safety Clip", "", 0, 0, 1, 'D'},
  {"safety-ceiling", "Safety Ceiling", "dBFS", -1, -12, 0, 'L'},
  {"monitor", "Monitor", "", 0, 0, 6, 'D'},
  {"analyzer", "Analyzer", "", 1, 0, 1, 'D'},
  {"analyzer-speed", "Analyzer Speed", "", 1, 0, 2, 'D'},
  {"dc-filter", "DC Filter", "", 1, 0, 1, 'D'},
  {"output-mode", "Output Mode", "", 0, 0, 3, 'D'},
  {"input-polarity", "Input Polarity", "", 0, 0, 1, 'D'},
  {"post-compressor", "Post Compressor", "%", 0, 0, 100, 'L'},
  {"output-pan", "Output Pan", "%", 0, -100, 100, 'L'},
};

uint64_t Fnv1a(const std::string& text)
{
  uint64_t hash = 0xcbf29ce484222325ull;
  for (unsigned char c : text)
  {
    hash ^= c;
    hash *= 0x100000001b3ull;
  }
  return hash;
}

} // namespace

TEST(ParamSpecTable, EveryRowMatchesTheExpectedTable)
{
  static_assert(kNumParams == 84, "the product has exactly 84 parameters");
  ASSERT_EQ(sizeof(kExpected) / sizeof(kExpected[0]), 84u);
  for (int i = 0; i < kNumParams; ++i)
  {
    SCOPED_TRACE(i);
    const ExpectedRow& row = kExpected[i];
    EXPECT_STREQ(ParamSpecTable::kKeys[i], row.key);
    EXPECT_STREQ(ParamSpecTable::kNames[i], row.name);
    EXPECT_STREQ(ParamSpecTable::kLabels[i], row.label);
    EXPECT_EQ(ParamSpecTable::kDefaults[i], static_cast<float>(row.defaultValue));
    EXPECT_EQ(ParamSpecTable::kMinimums[i], static_cast<float>(row.minimum));
    EXPECT_EQ(ParamSpecTable::kMaximums[i], static_cast<float>(row.maximum));
    EXPECT_EQ(IsDiscreteParam(i), row.kind == 'D');
    EXPECT_EQ(IsLogScaledParam(i), row.kind == 'G');
    EXPECT_LE(std::string(ParamSpecTable::kNames[i]).size(), 31u);
    EXPECT_LE(ParamSpecTable::kMinimums[i], ParamSpecTable::kDefaults[i]);
    EXPECT_LE(ParamSpecTable::kDefaults[i], ParamSpecTable::kMaximums[i]);
    if (IsLogScaledParam(i))
    {
      EXPECT_GT(ParamSpecTable::kMinimums[i], 0.0f);
    }
  }
}

TEST(ParamSpecTable, KindCountsAndPredicatesOutsideTheTable)
{
  int discrete = 0;
  int logScaled = 0;
  for (int i = 0; i < kNumParams; ++i)
  {
    discrete += IsDiscreteParam(i);
    logScaled += IsLogScaledParam(i);
    EXPECT_FALSE(IsDiscreteParam(i) && IsLogScaledParam(i)) << i;
  }
  EXPECT_EQ(discrete, 25);
  EXPECT_EQ(logScaled, 16);
  for (int outside : {-1, 84, 1000, std::numeric_limits<int>::min()})
  {
    EXPECT_FALSE(IsDiscreteParam(outside));
    EXPECT_FALSE(IsLogScaledParam(outside));
  }
}

TEST(ParamSpecTable, IdsNameTheirRows)
{
  EXPECT_STREQ(ParamSpecTable::kKeys[kParamInput], "input");
  EXPECT_STREQ(ParamSpecTable::kKeys[kParamScTrim], "sc-trim");
  EXPECT_STREQ(ParamSpecTable::kKeys[kParamPowerType], "power-type");
  EXPECT_STREQ(ParamSpecTable::kKeys[kParamSecondMicType], "second-mic-type");
  EXPECT_STREQ(ParamSpecTable::kKeys[kParamEqMidQ], "eq-mid-q");
  EXPECT_STREQ(ParamSpecTable::kKeys[kParamDelayPingPong], "delay-ping-pong");
  EXPECT_STREQ(ParamSpecTable::kKeys[kParamMonitor], "monitor");
  EXPECT_STREQ(ParamSpecTable::kKeys[kParamDcFilter], "dc-filter");
  EXPECT_STREQ(ParamSpecTable::kKeys[kParamOutputPan], "output-pan");
  EXPECT_EQ(kParamOutputPan, 83);
}

TEST(ParamSpecTable, HelpTextsAreStoredVerbatim)
{
  // A hash of all 84 texts joined by newlines catches any changed, added or lost character.
  std::string all;
  size_t totalLength = 0;
  for (int i = 0; i < kNumParams; ++i)
  {
    ASSERT_NE(ParamSpecTable::kHelpTexts[i], nullptr);
    if (i > 0)
      all += '\n';
    all += ParamSpecTable::kHelpTexts[i];
    totalLength += std::string(ParamSpecTable::kHelpTexts[i]).size();
  }
  EXPECT_EQ(totalLength, 7268u);
  EXPECT_EQ(Fnv1a(all), 0xb88b42959ff17852ull);

  // The texts where a number runs into the next word keep that spacing.
  EXPECT_STREQ(ParamSpecTable::kHelpTexts[2],
               "Blend48-sample-aligned original dry with the processed chain. Wet includes the actual "
               "oversampling filter response.");
  EXPECT_STREQ(ParamSpecTable::kHelpTexts[4],
               "Return the exact untrimmed original dry delayed48 samples. Host and product bypass "
               "preserve latency and override monitoring/safety.");
  EXPECT_STREQ(ParamSpecTable::kHelpTexts[44],
               "Angle the modeled microphone away from the speaker axis, from0 to90degrees.");
  EXPECT_STREQ(ParamSpecTable::kHelpTexts[73], "Scale post-ambience Side.100% is unity; mono output removes Side.");
  EXPECT_STREQ(ParamSpecTable::kHelpTexts[76],
               "Monitor actual Output, raw Dry, Pedal, Preamp, Power, Cabinet or real External input. "
               "All stage taps are aligned48samples; missing External is silent.");
  EXPECT_STREQ(ParamSpecTable::kHelpTexts[79],
               "Enable the original5Hz DC-removal filter. Off is useful when checking exact neutral dry "
               "calibration.");
  EXPECT_STREQ(ParamSpecTable::kHelpTexts[0],
               "Trim the processed program before the gate and nonlinear chain. Original dry monitoring "
               "is untrimmed.");
  EXPECT_STREQ(ParamSpecTable::kHelpTexts[51], "Post-cabinet low shelf gain in dB.");
  EXPECT_STREQ(ParamSpecTable::kHelpTexts[83],
               "Attenuate the opposite output channel for pan without secretly boosting the favoured "
               "channel.");
}

TEST(ParamValueName, ChoiceListsInValueOrder)
{
  const char* routing[] = {"Stereo", "Mono Sum", "Left", "Right"};
  const char* pedals[] = {"Clean Boost", "Transparent OD", "Mid OD", "Blues OD", "Hard Distortion",
                          "LED Drive", "Metal Drive", "Germanium Fuzz", "Silicon Fuzz", "Sustain Fuzz",
                          "Gated Fuzz", "Octave Fuzz", "Wavefold", "Rectifier", "Bit Crush",
                          "Starved Fuzz"};
  const char* amps[] = {"Americana Clean", "British Chime", "Tweed Edge", "British Crunch",
                        "Classic Stack", "Hot Rod", "Brown Lead", "Modern High Gain", "Tight Metal",
                        "Doom Stack", "Studio Solid State", "Bass Tube"};
  const char* power[] = {"Single Ended", "Push Pull", "Tetrode", "Solid State"};
  const char* cabinets[] = {"Open 1x10", "Open 1x12", "Open 2x12", "Closed 1x12", "Closed 2x12",
                            "Vintage 4x12", "Modern 4x12", "Dark 4x12", "Bass 4x10", "Direct Full Range"};
  const char* mics[] = {"Dynamic Bright", "Dynamic Smooth", "Ribbon", "Condenser"};
  const char* monitor[] = {"Output", "Dry", "Pedal", "Preamp", "Power", "Cabinet", "External"};
  const char* speed[] = {"Fast", "Medium", "Slow"};
  for (int v = 0; v < 4; ++v)
  {
    EXPECT_STREQ(ParamValueName(3, v), routing[v]);
    EXPECT_STREQ(ParamValueName(80, v), routing[v]);
    EXPECT_STREQ(ParamValueName(36, v), power[v]);
    EXPECT_STREQ(ParamValueName(41, v), mics[v]);
    EXPECT_STREQ(ParamValueName(46, v), mics[v]);
  }
  for (int v = 0; v < 16; ++v)
    EXPECT_STREQ(ParamValueName(14, v), pedals[v]);
  for (int v = 0; v < 12; ++v)
    EXPECT_STREQ(ParamValueName(23, v), amps[v]);
  for (int v = 0; v < 10; ++v)
    EXPECT_STREQ(ParamValueName(38, v), cabinets[v]);
  for (int v = 0; v < 7; ++v)
    EXPECT_STREQ(ParamValueName(76, v), monitor[v]);
  for (int v = 0; v < 3; ++v)
    EXPECT_STREQ(ParamValueName(78, v), speed[v]);
  EXPECT_STREQ(ParamValueName(11, 0), "Internal");
  EXPECT_STREQ(ParamValueName(11, 1), "External");
}

TEST(ParamValueName, SwitchesClampingAndBadIndices)
{
  for (int index : {4, 5, 13, 22, 37, 50, 58, 62, 67, 68, 74, 77, 79, 81})
  {
    EXPECT_STREQ(ParamValueName(index, 0), "Off") << index;
    EXPECT_STREQ(ParamValueName(index, 1), "On") << index;
    EXPECT_STREQ(ParamValueName(index, 7), "On") << index;
    EXPECT_STREQ(ParamValueName(index, -7), "Off") << index;
  }
  EXPECT_STREQ(ParamValueName(14, 20), "Starved Fuzz");
  EXPECT_STREQ(ParamValueName(23, -3), "Americana Clean");
  EXPECT_STREQ(ParamValueName(76, std::numeric_limits<int>::max()), "External");
  EXPECT_STREQ(ParamValueName(38, std::numeric_limits<int>::min()), "Open 1x10");
  EXPECT_STREQ(ParamValueName(84, 0), "");
  EXPECT_STREQ(ParamValueName(-1, 0), "");
  EXPECT_STREQ(ParamValueName(std::numeric_limits<int>::min(), 0), "");
  // A continuous parameter clamps to its whole-number range and reads as a switch.
  EXPECT_STREQ(ParamValueName(83, -100), "On");
  EXPECT_STREQ(ParamValueName(2, 0), "Off");
}

TEST(SanitizeParamValues, ReplacesClampsAndRounds)
{
  float values[kNumParams];
  for (int i = 0; i < kNumParams; ++i)
    values[i] = ParamSpecTable::kDefaults[i];
  values[kParamPedalTone] = std::numeric_limits<float>::quiet_NaN();
  values[kParamEqLp] = 1e9f;
  values[kParamMonitor] = 2.5f;
  values[kParamAnalyzerSpeed] = -0.4f;
  values[kParamInput] = -std::numeric_limits<float>::infinity();
  values[kParamOutput] = std::numeric_limits<float>::infinity();
  values[kParamPedalType] = 14.5f;
  values[kParamCabType] = 2.49f;
  values[kParamOutputPan] = -100.5f;
  values[kParamAmpGain] = 12.345f;

  float out[kNumParams];
  SanitizeParamValues(out, values);
  EXPECT_EQ(out[kParamPedalTone], 4000.0f);
  EXPECT_EQ(out[kParamEqLp], 20000.0f);
  EXPECT_EQ(out[kParamMonitor], 3.0f);
  EXPECT_EQ(out[kParamAnalyzerSpeed], 0.0f);
  EXPECT_FALSE(std::signbit(out[kParamAnalyzerSpeed]));
  EXPECT_EQ(out[kParamInput], 0.0f);
  EXPECT_EQ(out[kParamOutput], 0.0f);
  EXPECT_EQ(out[kParamPedalType], 15.0f);
  EXPECT_EQ(out[kParamCabType], 2.0f);
  EXPECT_EQ(out[kParamOutputPan], -100.0f);
  EXPECT_EQ(out[kParamAmpGain], 12.345f);

  // In place gives the same result.
  SanitizeParamValues(values, values);
  for (int i = 0; i < kNumParams; ++i)
    EXPECT_EQ(values[i], out[i]) << i;
}

TEST(ParamValueToFloat, KeepsValuesBeyondTheFloatRangeDefined)
{
  EXPECT_EQ(ParamValueToFloat(12.5), 12.5f);
  EXPECT_EQ(ParamValueToFloat(0.1), 0.1f);
  EXPECT_EQ(ParamValueToFloat(1e300), std::numeric_limits<float>::max());
  EXPECT_EQ(ParamValueToFloat(-1e300), -std::numeric_limits<float>::max());
  EXPECT_TRUE(std::isnan(ParamValueToFloat(std::numeric_limits<double>::quiet_NaN())));
  EXPECT_EQ(ParamValueToFloat(-std::numeric_limits<double>::infinity()), -std::numeric_limits<float>::infinity());

  // Made safe, a huge value is the maximum rather than the default that infinity would give.
  float values[kNumParams];
  for (int i = 0; i < kNumParams; ++i)
    values[i] = ParamSpecTable::kDefaults[i];
  values[kParamOutputPan] = ParamValueToFloat(1e300);
  SanitizeParamValues(values, values);
  EXPECT_EQ(values[kParamOutputPan], 100.0f);
}
