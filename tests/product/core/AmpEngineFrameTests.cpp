#include "EngineTestSignals.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <limits>

using namespace engine_test;

namespace {

std::vector<float> DryParams()
{
  std::vector<float> p = DefaultParams();
  p[kParamMix] = 0.0f;
  p[kParamPedalEnabled] = 1.0f; // the wet path runs hot, but mix 0 must hide it
  return p;
}

// Everything that colours the sound switched off, so the wet path is the resampler alone.
std::vector<float> NeutralWetParams()
{
  std::vector<float> p = DefaultParams();
  p[kParamGateEnabled] = 0.0f;
  p[kParamPedalEnabled] = 0.0f;
  p[kParamAmpEnabled] = 0.0f;
  p[kParamCabEnabled] = 0.0f;
  p[kParamEqEnabled] = 0.0f;
  p[kParamDcFilter] = 0.0f;
  return p;
}

void ExpectDelayedCopy(const std::vector<float>& out, const std::vector<float>& in, const char* what)
{
  for (size_t n = 0; n < out.size(); ++n)
  {
    const float expected = n >= 48 ? in[n - 48] : 0.0f;
    if (out[n] != expected)
    {
      ADD_FAILURE() << what << ": sample " << n << " is " << out[n] << ", expected " << expected;
      return;
    }
  }
}

} // namespace

TEST(AmpEngineLatency, DryMixIsTheInputDelayedBy48SamplesBitForBit)
{
  for (double rate : {44100.0, 48000.0, 96000.0, 192000.0})
  {
    const int frames = static_cast<int>(rate * 0.25);
    const std::vector<float> left = PluckedString(frames, rate, 110.0);
    const std::vector<float> right = PluckedString(frames, rate, 164.8, 0.3);
    const Stereo out = RunEngine(DryParams(), rate, left, right);
    ExpectDelayedCopy(out.left, left, "left");
    ExpectDelayedCopy(out.right, right, "right");
  }
}

TEST(AmpEngineLatency, DryMonitorIgnoresMixAndExternalMonitorIsAlignedAux)
{
  const double rate = 48000.0;
  const int frames = 6000;
  const std::vector<float> left = PluckedString(frames, rate, 98.0);
  const std::vector<float> right = Sine(frames, rate, 220.0, 0.25);

  std::vector<float> p = DefaultParams();
  p[kParamMonitor] = 1.0f; // "Dry", while mix stays at 100
  Stereo out = RunEngine(p, rate, left, right);
  ExpectDelayedCopy(out.left, left, "dry monitor left");
  ExpectDelayedCopy(out.right, right, "dry monitor right");

  Stereo aux{Sine(frames, rate, 330.0, 0.5), PluckedString(frames, rate, 55.0)};
  p[kParamMonitor] = 6.0f; // "External"
  out = RunEngine(p, rate, left, right, 512, false, &aux);
  ExpectDelayedCopy(out.left, aux.left, "external monitor left");
  ExpectDelayedCopy(out.right, aux.right, "external monitor right");

  // Missing auxiliary input: the external monitor is silent.
  out = RunEngine(p, rate, left, right);
  EXPECT_EQ(Rms(out.left), 0.0);
}

TEST(AmpEngineLatency, EveryTapAndTheWetPathLineUpWithTheDryPath)
{
  const double rate = 48000.0;
  const int frames = 512;
  std::vector<float> impulse(frames, 0.0f);
  impulse[10] = 1.0f;
  // Monitor sources: output (wet, mix 100), pedal, preamp, power and cabinet taps.
  for (int monitor : {0, 2, 3, 4, 5})
  {
    std::vector<float> p = NeutralWetParams();
    p[kParamMonitor] = static_cast<float>(monitor);
    const Stereo out = RunEngine(p, rate, impulse, impulse);
    size_t peakAt = 0;
    for (size_t n = 1; n < out.left.size(); ++n)
      if (std::fabs(out.left[n]) > std::fabs(out.left[peakAt]))
        peakAt = n;
    EXPECT_EQ(peakAt, 58u) << "monitor " << monitor;
    // The round trip's impulse response peaks just below 1.
    EXPECT_NEAR(out.left[58], 0.97, 0.02) << "monitor " << monitor;
  }

  // A slow signal through the neutral wet path matches the delayed input closely.
  const std::vector<float> tone = Sine(4800, rate, 200.0, 0.5);
  const Stereo out = RunEngine(NeutralWetParams(), rate, tone, tone);
  double worst = 0.0;
  for (size_t n = 200; n < tone.size(); ++n)
    worst = std::max(worst, std::fabs(static_cast<double>(out.left[n]) - tone[n - 48]));
  EXPECT_LT(worst, 1e-3);
}

TEST(AmpEngineBypass, BypassGivesTheDelayedInputWhateverTheSettings)
{
  const double rate = 48000.0;
  const int frames = 9600;
  const std::vector<float> left = PluckedString(frames, rate, 110.0);
  const std::vector<float> right = PluckedString(frames, rate, 82.4);
  std::vector<float> p = DefaultParams();
  p[kParamPedalEnabled] = 1.0f;
  p[kParamAmpType] = 8.0f;
  p[kParamOutput] = 12.0f;
  p[kParamSafetyClip] = 1.0f;
  p[kParamInputPolarity] = 1.0f;
  p[kParamOutputMode] = 2.0f;
  p[kParamMonitor] = 3.0f;

  Stereo out = RunEngine(p, rate, left, right, 512, true);
  ExpectDelayedCopy(out.left, left, "host bypass left");
  ExpectDelayedCopy(out.right, right, "host bypass right");

  p[kParamBypass] = 1.0f;
  out = RunEngine(p, rate, left, right);
  ExpectDelayedCopy(out.left, left, "bypass parameter left");
  ExpectDelayedCopy(out.right, right, "bypass parameter right");
}

TEST(AmpEngineBypass, SwitchingBypassCrossfadesOverAboutThreeMilliseconds)
{
  const double rate = 48000.0;
  const std::vector<float> in = Sine(9600, rate, 100.0, 0.5);
  std::vector<float> p = DefaultParams();
  p[kParamOutput] = -24.0f; // the processed path is far quieter than the dry one
  p[kParamGateEnabled] = 0.0f;

  auto enginePtr = std::make_unique<AmpEngine>();
  AmpEngine& engine = *enginePtr;
  engine.SetTargets(p.data());
  engine.Prepare(rate);
  std::vector<float> out(in.size());
  const int half = 2400;
  for (int start = 0; start < 9600; start += 480)
  {
    const float* ins[2] = {in.data() + start, in.data() + start};
    float* outs[2] = {out.data() + start, nullptr};
    engine.Process(ins, outs, 480, start >= half, nullptr, false);
  }
  double jumpBefore = 0.0, jumpAfter = 0.0;
  for (int n = 100; n < half; ++n)
    jumpBefore = std::max(jumpBefore, std::fabs(static_cast<double>(out[n]) - out[n - 1]));
  for (int n = half; n < half + 400; ++n)
    jumpAfter = std::max(jumpAfter, std::fabs(static_cast<double>(out[n]) - out[n - 1]));
  const double inputJump = 0.5 * 2.0 * kPi * 100.0 / rate;
  EXPECT_LT(jumpAfter, inputJump * 3.0) << "bypass must fade, not jump";
  // 3 ms in, the dry share is about 63 %; well after it the output is the dry signal.
  const int at3ms = half + static_cast<int>(0.003 * rate);
  const double dry3ms = in[at3ms - 48];
  EXPECT_GT(std::fabs(out[at3ms]), 0.5 * std::fabs(dry3ms));
  EXPECT_LT(std::fabs(out[at3ms]), 0.75 * std::fabs(dry3ms) + 0.05);
  // Once the fade has settled the output is exactly the dry signal.
  for (int n = half + 3500; n < 9600; ++n)
    EXPECT_EQ(out[n], in[n - 48]) << n;
  EXPECT_GT(jumpBefore, 0.0);
}

TEST(AmpEngineInput, NonFiniteInputBehavesLikeSilenceAndRecovers)
{
  const double rate = 48000.0;
  const int frames = 12000;
  std::vector<float> clean = PluckedString(frames, rate, 110.0);
  std::vector<float> bad = clean;
  const float nan = std::numeric_limits<float>::quiet_NaN();
  const float inf = std::numeric_limits<float>::infinity();
  for (int n = 1000; n < 1100; ++n)
  {
    bad[n] = (n % 3 == 0) ? nan : ((n % 3 == 1) ? inf : -inf);
    clean[n] = 0.0f;
  }
  std::vector<float> p = DefaultParams();
  p[kParamPedalEnabled] = 1.0f;
  p[kParamDelayEnabled] = 1.0f;
  p[kParamReverbEnabled] = 1.0f;
  const Stereo a = RunEngine(p, rate, bad, bad);
  const Stereo b = RunEngine(p, rate, clean, clean);
  EXPECT_TRUE(AllFinite(a.left));
  EXPECT_TRUE(AllFinite(a.right));
  EXPECT_EQ(a.left, b.left);
  EXPECT_EQ(a.right, b.right);
  EXPECT_GT(Rms(a.left, 2000), 1e-3);
}

TEST(AmpEngineInput, ExtremeAndDenormalInputStaysFinite)
{
  const double rate = 48000.0;
  std::vector<float> in(4800, 0.0f);
  for (size_t n = 0; n < in.size(); ++n)
    in[n] = (n % 2 == 0) ? 3.0e38f : -3.0e38f;
  for (size_t n = 2400; n < in.size(); ++n)
    in[n] = std::numeric_limits<float>::denorm_min() * static_cast<float>(n % 7);
  std::vector<float> p = DefaultParams();
  p[kParamPedalEnabled] = 1.0f;
  p[kParamInput] = 24.0f;
  p[kParamMix] = 50.0f;
  const Stereo out = RunEngine(p, rate, in, in);
  EXPECT_TRUE(AllFinite(out.left));
  EXPECT_TRUE(AllFinite(out.right));
}

TEST(AmpEngineInput, NonFiniteParametersFallBackToDefaults)
{
  const double rate = 48000.0;
  const std::vector<float> in = PluckedString(4800, rate);
  std::vector<float> bad(kNumParams, std::numeric_limits<float>::quiet_NaN());
  const Stereo a = RunEngine(bad, rate, in, in);
  const Stereo b = RunEngine(DefaultParams(), rate, in, in);
  EXPECT_EQ(a.left, b.left);
}

TEST(AmpEngineBlocks, OutputIsIdenticalForEveryBlockSize)
{
  const double rate = 48000.0;
  const int frames = 20000;
  const std::vector<float> left = PluckedString(frames, rate, 110.0);
  const std::vector<float> right = PluckedString(frames, rate, 146.8, 0.4);
  std::vector<float> p = DefaultParams();
  p[kParamPedalEnabled] = 1.0f;
  p[kParamPedalType] = 7.0f;
  p[kParamAmpType] = 5.0f;
  p[kParamSafetyClip] = 1.0f;
  p[kParamOutputPan] = 30.0f;
  const Stereo reference = RunEngine(p, rate, left, right, 4096);
  for (int block : {1, 7, 64, 512, 513})
  {
    const Stereo out = RunEngine(p, rate, left, right, block);
    EXPECT_EQ(out.left, reference.left) << "block " << block;
    EXPECT_EQ(out.right, reference.right) << "block " << block;
  }
}

TEST(AmpEngineLifecycle, BeforePrepareTheInputPassesSanitised)
{
  auto enginePtr = std::make_unique<AmpEngine>();
  AmpEngine& engine = *enginePtr;
  const float in[4] = {0.5f, std::numeric_limits<float>::quiet_NaN(), -std::numeric_limits<float>::infinity(), -0.25f};
  float outL[4] = {9, 9, 9, 9};
  float outR[4] = {9, 9, 9, 9};
  const float* ins[2] = {in, nullptr};
  float* outs[2] = {outL, outR};
  engine.Process(ins, outs, 4, false, nullptr, false);
  EXPECT_EQ(outL[0], 0.5f);
  EXPECT_EQ(outL[1], 0.0f);
  EXPECT_EQ(outL[2], 0.0f);
  EXPECT_EQ(outL[3], -0.25f);
  for (float v : outR)
    EXPECT_EQ(v, 0.0f);
}

TEST(AmpEngineLifecycle, EmptyBlockTouchesNothingAndNullBuffersAreSafe)
{
  auto enginePtr = std::make_unique<AmpEngine>();
  AmpEngine& engine = *enginePtr;
  engine.SetTargets(DefaultParams().data());
  engine.Prepare(48000.0);
  float out[2] = {7.0f, 7.0f};
  float* outs[2] = {out, nullptr};
  const float* ins[2] = {out, out};
  engine.Process(ins, outs, 0, false, nullptr, false);
  engine.Process(ins, outs, -5, false, nullptr, false);
  EXPECT_EQ(out[0], 7.0f);
  engine.Process(nullptr, outs, 2, false, nullptr, true);
  EXPECT_EQ(out[0], 0.0f);
  engine.Process(ins, nullptr, 2, false, nullptr, false);
}

TEST(AmpEngineLifecycle, UnsupportedRatesAreReportedAndClamped)
{
  auto enginePtr = std::make_unique<AmpEngine>();
  AmpEngine& engine = *enginePtr;
  EXPECT_TRUE(engine.Prepare(44100.0));
  EXPECT_TRUE(engine.Prepare(192000.0));
  EXPECT_FALSE(engine.Prepare(384000.0));
  EXPECT_EQ(engine.SampleRate(), 192000.0);
  EXPECT_FALSE(engine.Prepare(8000.0));
  EXPECT_EQ(engine.SampleRate(), 22050.0);
  EXPECT_FALSE(engine.Prepare(std::numeric_limits<double>::quiet_NaN()));
  EXPECT_EQ(engine.SampleRate(), 48000.0);
}

TEST(AmpEngineLifecycle, PrepareAgainStartsLikeAFreshEngine)
{
  const double rate = 48000.0;
  const std::vector<float> in = PluckedString(9600, rate, 110.0);
  std::vector<float> p = DefaultParams();
  p[kParamPedalEnabled] = 1.0f;
  p[kParamPowerType] = 2.0f;
  p[kParamDelayEnabled] = 1.0f;
  p[kParamReverbEnabled] = 1.0f;
  const Stereo fresh = RunEngine(p, rate, in, in);

  auto enginePtr = std::make_unique<AmpEngine>();
  AmpEngine& engine = *enginePtr;
  engine.SetTargets(p.data());
  engine.Prepare(rate);
  std::vector<float> scratch(in.size());
  const float* ins[2] = {in.data(), in.data()};
  float* outs[2] = {scratch.data(), scratch.data()};
  engine.Process(ins, outs, static_cast<int>(in.size()), false, nullptr, false);

  // A second activation clears every state, including the power-type weights.
  engine.SetTargets(p.data());
  engine.Prepare(rate);
  std::vector<float> again(in.size());
  for (size_t start = 0; start < in.size(); start += 512)
  {
    const float* blockIns[2] = {in.data() + start, in.data() + start};
    float* blockOuts[2] = {again.data() + start, nullptr};
    engine.SetTargets(p.data());
    engine.Process(blockIns, blockOuts, static_cast<int>(std::min<size_t>(512, in.size() - start)), false, nullptr,
                   false);
  }
  EXPECT_EQ(again, fresh.left);
}
