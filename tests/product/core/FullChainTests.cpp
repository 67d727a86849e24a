#include "tests/product/core/EngineTestSignals.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <memory>
#include <vector>

using namespace engine_test;

namespace
{
// Every stage of the chain on, the analyzer included.
std::vector<float> EveryStageOn()
{
  std::vector<float> p = DefaultParams();
  p[kParamPedalEnabled] = 1.0f;
  p[kParamPedalType] = 3.0f;
  p[kParamAmpEnabled] = 1.0f;
  p[kParamAmpType] = 4.0f;
  p[kParamCabEnabled] = 1.0f;
  p[kParamCabRoom] = 60.0f;
  p[kParamMicBlend] = 40.0f;
  p[kParamEqEnabled] = 1.0f;
  p[kParamEqMid] = -4.0f;
  p[kParamChorusEnabled] = 1.0f;
  p[kParamDelayEnabled] = 1.0f;
  p[kParamDelayTime] = 40.0f;
  p[kParamDelayFeedback] = 60.0f;
  p[kParamDelayPingPong] = 1.0f;
  p[kParamReverbEnabled] = 1.0f;
  p[kParamReverbDecay] = 0.8f;
  p[kParamStereoWidth] = 150.0f;
  p[kParamPostCompressor] = 80.0f;
  p[kParamDcFilter] = 1.0f;
  p[kParamSafetyClip] = 1.0f;
  p[kParamAnalyzer] = 1.0f;
  return p;
}

struct Engine
{
  Engine(const std::vector<float>& params, double rate)
    : engine(std::make_unique<AmpEngine>())
  {
    engine->SetTargets(params.data());
    engine->Prepare(rate);
  }

  void Run(const std::vector<float>& left, const std::vector<float>& right, Stereo& out, int block = 512)
  {
    out.left.assign(left.size(), 0.0f);
    out.right.assign(left.size(), 0.0f);
    const int frames = static_cast<int>(left.size());
    for (int start = 0; start < frames; start += block)
    {
      const float* in[2] = {left.data() + start, right.data() + start};
      float* o[2] = {out.left.data() + start, out.right.data() + start};
      engine->Process(in, o, std::min(block, frames - start), false, nullptr, false);
    }
  }

  std::unique_ptr<AmpEngine> engine;
};

float MaxAbs(const std::vector<float>& v, size_t from, size_t to)
{
  float m = 0.0f;
  for (size_t i = from; i < to && i < v.size(); ++i)
    m = std::max(m, std::fabs(v[i]));
  return m;
}
} // namespace

TEST(FullChain, EveryStageOnIsIdenticalForEveryBlockSize)
{
  const double rate = 48000.0;
  const std::vector<float> left = PluckedString(20000, rate, 110.0);
  const std::vector<float> right = PluckedString(20000, rate, 146.8, 0.4);
  const Stereo reference = RunEngine(EveryStageOn(), rate, left, right, 4096);
  EXPECT_GT(MaxAbs(reference.left, 0, reference.left.size()), 0.01f);
  for (int block : {1, 7, 513})
  {
    const Stereo out = RunEngine(EveryStageOn(), rate, left, right, block);
    EXPECT_EQ(out.left, reference.left) << "block " << block;
    EXPECT_EQ(out.right, reference.right) << "block " << block;
  }
}

TEST(FullChain, SnapshotCarriesTheTunerSpectrumAndMeters)
{
  for (double rate : {44100.0, 48000.0, 96000.0})
  {
    Engine e(EveryStageOn(), rate);
    const int frames = static_cast<int>(1.2 * rate);
    const std::vector<float> tone = Sine(frames, rate, 110.0, 0.5);
    Stereo out;
    e.Run(tone, tone, out);

    const DisplaySnapshot shot = e.engine->ReadDisplaySnapshot();
    EXPECT_EQ(shot.sampleRate, rate);
    EXPECT_TRUE(shot.signalPresent);
    EXPECT_FALSE(shot.auxConnected);
    // The tuner reads the raw input, whatever the chain does to it.
    EXPECT_NEAR(1200.0 * std::log2(shot.Meter(kMeterTunerFrequency) / 110.0), 0.0, 1.0) << rate;
    EXPECT_GT(shot.Meter(kMeterTunerConfidence), 0.95f) << rate;
    // A sine of amplitude 0.5 on both inputs: -9.03 dB RMS.
    EXPECT_NEAR(shot.Meter(kMeterInputRmsDb), -9.03, 0.1) << rate;
    EXPECT_GT(shot.Meter(kMeterOutputRmsDb), -60.0f) << rate;
    EXPECT_LE(shot.Meter(kMeterCompressorReductionDb), 0.0f) << rate;
    const float correlation = shot.Meter(kMeterCorrelation);
    EXPECT_TRUE(correlation >= -1.0f && correlation <= 1.0f) << rate;
    // The input spectrum peaks on the tone, to within a transform bin (the display bins
    // down there are narrower and interpolate), at the tone's level.
    const float* spectrum = shot.inputSpectrum;
    const long loudest = std::max_element(spectrum, spectrum + kDisplayPoints) - spectrum;
    const double loudestHz = 20.0 * std::pow(std::min(0.49 * rate, 20000.0) / 20.0, loudest / 255.0);
    EXPECT_NEAR(loudestHz, 110.0, rate / 4096.0) << rate;
    EXPECT_NEAR(spectrum[loudest], -6.02, 1.5) << rate;
    // The input waveform holds the decimated tone, oldest first.
    EXPECT_NEAR(*std::max_element(shot.inputWaveform, shot.inputWaveform + kDisplayPoints), 0.5f, 0.01f) << rate;

    const LevelSnapshot levels = e.engine->ReadLevelSnapshot();
    EXPECT_NEAR(levels.inputPeak, 0.5f, 1e-4f) << rate;
    EXPECT_EQ(levels.outputPeak, std::max(levels.outputLeftPeak, levels.outputRightPeak));
    EXPECT_EQ(levels.outputLeftPeak, MaxAbs(out.left, out.left.size() - 512, out.left.size())) << rate;
    EXPECT_GT(levels.wetPeak, 0.0f);
  }
}

TEST(FullChain, SilenceReadsAsSilenceInEverySnapshot)
{
  Engine e(EveryStageOn(), 48000.0);
  const std::vector<float> silence(48000, 0.0f);
  Stereo out;
  e.Run(silence, silence, out);
  EXPECT_EQ(MaxAbs(out.left, 0, out.left.size()), 0.0f);
  const DisplaySnapshot shot = e.engine->ReadDisplaySnapshot();
  EXPECT_FALSE(shot.signalPresent);
  EXPECT_EQ(shot.Meter(kMeterInputRmsDb), -120.0f);
  EXPECT_EQ(shot.Meter(kMeterOutputRmsDb), -120.0f);
  EXPECT_EQ(shot.Meter(kMeterCorrelation), 0.0f);
  EXPECT_EQ(shot.Meter(kMeterTunerFrequency), 0.0f);
  for (int a = 0; a < kDisplayPoints; ++a)
  {
    ASSERT_EQ(shot.inputSpectrum[a], -120.0f) << a;
    ASSERT_EQ(shot.outputSpectrum[a], -120.0f) << a;
  }
}

TEST(FullChain, TailAfterALoudBurstFallsToExactZero)
{
  // Echo and room ring on after the burst, then every line and state empties: the output
  // ends in exact zeros rather than a denormal hiss that would keep the processor busy.
  Engine e(EveryStageOn(), 48000.0);
  std::vector<float> burst(2400);
  for (size_t i = 0; i < burst.size(); ++i)
    burst[i] = (i % 2 ? 0.9f : -0.9f);
  Stereo out;
  e.Run(burst, burst, out);
  const std::vector<float> silence(48000 * 12, 0.0f);
  e.Run(silence, silence, out);
  EXPECT_GT(MaxAbs(out.left, 0, 4800), 1e-4f);
  EXPECT_EQ(MaxAbs(out.left, out.left.size() - 48000, out.left.size()), 0.0f);
  EXPECT_EQ(MaxAbs(out.right, out.right.size() - 48000, out.right.size()), 0.0f);
}

TEST(FullChain, SpectraAndTunerRunOnlyWhileTheDisplayIsRead)
{
  const double rate = 48000.0;
  Engine e(EveryStageOn(), rate);
  const std::vector<float> tone = Sine(static_cast<int>(3.0 * rate), rate, 110.0, 0.5);
  Stereo out;
  // Three seconds with nobody reading: after two the analyses stop and read as nothing.
  e.Run(tone, tone, out);
  DisplaySnapshot shot = e.engine->ReadDisplaySnapshot();
  EXPECT_EQ(*std::max_element(shot.inputSpectrum, shot.inputSpectrum + kDisplayPoints), -120.0f);
  EXPECT_EQ(shot.Meter(kMeterTunerFrequency), 0.0f);
  EXPECT_NEAR(shot.Meter(kMeterInputRmsDb), -9.03, 0.1) << "the meters never stop";
  // Read again, as an editor does every frame: both come back.
  for (long start = 0; start < static_cast<long>(0.5 * rate); start += 512)
  {
    const std::vector<float> block(tone.begin() + start, tone.begin() + start + 512);
    e.Run(block, block, out);
    shot = e.engine->ReadDisplaySnapshot();
  }
  EXPECT_GT(*std::max_element(shot.inputSpectrum, shot.inputSpectrum + kDisplayPoints), -20.0f);
  EXPECT_NEAR(shot.Meter(kMeterTunerFrequency), 110.0, 0.5);
}
