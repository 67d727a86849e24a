#include "product/core/EngineMeasurements.h"

#include "tests/product/core/SignalProbe.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <memory>
#include <vector>

using signal_probe::DefaultParams;
using signal_probe::kPi;

namespace
{
// Centre of display bin a, as the display lays them out.
double DisplayCentreHz(int a, double rate)
{
  const double top = std::min(0.49 * rate, 20000.0);
  return 20.0 * std::pow(top / 20.0, a / 255.0);
}

int LoudestBin(const float* spectrum)
{
  int loudest = 0;
  for (int a = 1; a < kDisplayPoints; ++a)
    if (spectrum[a] > spectrum[loudest])
      loudest = a;
  return loudest;
}

struct Measured
{
  explicit Measured(double rate, int speed = 0)
    : m(std::make_unique<EngineMeasurements>())
    , rate(rate)
  {
    auto params = DefaultParams();
    params[kParamAnalyzerSpeed] = static_cast<float>(speed);
    m->Prepare(rate);
    m->Reset();
    m->Configure(params.data());
  }

  // A sine on the raw input pair; the output pair carries outGain times it.
  void FeedSine(double hz, double amplitude, double seconds, double outGain = 0.0)
  {
    const int n = static_cast<int>(seconds * rate);
    for (int i = 0; i < n; ++i, ++clock)
    {
      const double x = amplitude * std::sin(2.0 * kPi * hz * clock / rate);
      m->Feed(x, x, outGain * x, outGain * x);
    }
  }

  std::unique_ptr<EngineMeasurements> m;
  double rate;
  long clock = 0;
};
} // namespace

TEST(SpectrumAnalyzer, SinePeaksInItsBinAtItsLevel)
{
  for (double rate : {44100.0, 48000.0, 96000.0})
    for (int a : {40, 128, 200, 240})
    {
      Measured probe(rate);
      const double hz = DisplayCentreHz(a, rate);
      probe.FeedSine(hz, 0.5, 0.5, 0.25);
      const float* input = probe.m->Analyzer().InputSpectrum();
      const float* output = probe.m->Analyzer().OutputSpectrum();
      // The loudest display bin lies on the tone, to within the transform's resolution
      // (low display bins are narrower than one transform bin).
      const double resolutionHz = rate / 4096.0;
      EXPECT_NEAR(DisplayCentreHz(LoudestBin(input), rate), hz, std::max(1.5 * resolutionHz, 0.03 * hz))
        << rate << " " << hz;
      EXPECT_EQ(LoudestBin(output), LoudestBin(input));
      // Amplitude 0.5 on both channels reads -6 dB, the output pair at 0.125 reads -18 dB,
      // within the window's scalloping.
      EXPECT_NEAR(input[a], -6.02, 1.5) << rate << " " << hz;
      EXPECT_NEAR(output[a], -18.06, 1.5) << rate << " " << hz;
      // Two octaves away the window's leakage is deep down.
      const int twoOctavesUp = static_cast<int>(std::lround(a + 255.0 * std::log(4.0) / std::log(std::min(0.49 * rate, 20000.0) / 20.0)));
      if (twoOctavesUp < kDisplayPoints)
      {
        EXPECT_LT(input[twoOctavesUp], -60.0) << rate << " " << hz;
      }
    }
}

TEST(SpectrumAnalyzer, LevelHoldsSteadyOverManyAnalyses)
{
  // Each analysis measures its own window: a steady tone reads the same level after
  // one second as after ten, instead of climbing with every pass.
  Measured probe(48000.0, 1);
  probe.FeedSine(1000.0, 0.5, 1.0);
  const int bin = LoudestBin(probe.m->Analyzer().InputSpectrum());
  const float afterOne = probe.m->Analyzer().InputSpectrum()[bin];
  probe.FeedSine(1000.0, 0.5, 9.0);
  EXPECT_NEAR(probe.m->Analyzer().InputSpectrum()[bin], afterOne, 0.1);
  EXPECT_NEAR(afterOne, -6.02, 1.5);
}

TEST(SpectrumAnalyzer, SmoothingFollowsTheSpeed)
{
  // After a tone stops, the fast setting forgets it much sooner than the slow one.
  float fast = 0.0f, slow = 0.0f;
  for (int speed : {0, 2})
  {
    Measured probe(48000.0, speed);
    probe.FeedSine(1000.0, 0.5, 2.0);
    const int bin = LoudestBin(probe.m->Analyzer().InputSpectrum());
    probe.FeedSine(0.0, 0.0, 0.2);
    (speed == 0 ? fast : slow) = probe.m->Analyzer().InputSpectrum()[bin];
  }
  EXPECT_LT(fast, -40.0);
  EXPECT_GT(slow, -20.0);
}

TEST(SpectrumAnalyzer, OffReadsMinus120AndSilenceStaysThere)
{
  Measured probe(48000.0);
  probe.FeedSine(1000.0, 0.9, 0.2, 1.0);
  const int loudest = LoudestBin(probe.m->Analyzer().InputSpectrum());
  ASSERT_GT(probe.m->Analyzer().InputSpectrum()[loudest], -20.0f);
  auto params = DefaultParams();
  params[kParamAnalyzer] = 0.0f;
  probe.m->Configure(params.data());
  // Switching off clears the display at once, before any further analysis.
  probe.m->Publish(BlockReadings(), false, false);
  EXPECT_EQ(probe.m->ReadDisplay().inputSpectrum[loudest], -120.0f);
  probe.FeedSine(1000.0, 0.9, 0.3, 1.0);
  for (int a = 0; a < kDisplayPoints; ++a)
  {
    ASSERT_EQ(probe.m->Analyzer().InputSpectrum()[a], -120.0f);
    ASSERT_EQ(probe.m->Analyzer().OutputSpectrum()[a], -120.0f);
  }
  Measured quiet(48000.0);
  quiet.FeedSine(1000.0, 0.0, 0.3);
  for (int a = 0; a < kDisplayPoints; ++a)
    ASSERT_EQ(quiet.m->Analyzer().InputSpectrum()[a], -120.0f);
}

TEST(LevelMeters, ReadSinesAndSilence)
{
  Measured silent(48000.0);
  silent.FeedSine(440.0, 0.0, 0.5);
  const LevelMeters& quiet = silent.m->Levels();
  EXPECT_EQ(quiet.InputRmsDb(), -120.0);
  EXPECT_EQ(quiet.OutputRmsDb(), -120.0);
  EXPECT_EQ(quiet.Correlation(), 0.0);
  EXPECT_FALSE(quiet.SignalPresent());

  Measured loud(48000.0);
  loud.FeedSine(440.0, 1.0, 0.5, 0.5);
  EXPECT_NEAR(loud.m->Levels().InputRmsDb(), -3.01, 0.1);
  EXPECT_NEAR(loud.m->Levels().OutputRmsDb(), -9.03, 0.1);
  EXPECT_NEAR(loud.m->Levels().Correlation(), 1.0, 1e-9);
  EXPECT_TRUE(loud.m->Levels().SignalPresent());

  LevelMeters opposite;
  opposite.Prepare(48000.0);
  for (int i = 0; i < 24000; ++i)
  {
    const double x = std::sin(0.05 * i);
    opposite.Feed(0.0, 0.0, x, -x);
  }
  EXPECT_NEAR(opposite.Correlation(), -1.0, 1e-9);
}

TEST(WaveformTrace, DecimatesToAbout12kHzAndReadsOldestFirst)
{
  struct Case
  {
    double rate;
    int wave;
    int tuner;
  };
  for (const Case& c : {Case{44100.0, 3, 4}, Case{48000.0, 4, 4}, Case{96000.0, 8, 8}, Case{22050.0, 1, 2}})
  {
    auto m = std::make_unique<EngineMeasurements>();
    m->Prepare(c.rate);
    EXPECT_EQ(m->Waveform().Decimation(), c.wave) << c.rate;
    EXPECT_EQ(m->Tuner().Decimation(), c.tuner) << c.rate;
  }

  // A ramp: the published trace rises from oldest to newest.
  auto m = std::make_unique<EngineMeasurements>();
  m->Prepare(48000.0);
  m->Reset();
  for (int i = 0; i < 4 * 300; ++i)
    m->Feed(i * 1e-3, i * 1e-3, -i * 1e-3, -i * 1e-3);
  m->Publish(BlockReadings(), false, false);
  const DisplaySnapshot shot = m->ReadDisplay();
  for (int i = 1; i < kDisplayPoints; ++i)
  {
    ASSERT_GT(shot.inputWaveform[i], shot.inputWaveform[i - 1]);
    ASSERT_LT(shot.outputWaveform[i], shot.outputWaveform[i - 1]);
  }
  EXPECT_NEAR(shot.inputWaveform[kDisplayPoints - 1], (4 * 300 - 1) * 1e-3, 1e-6);
}

TEST(SpectrumAnalyzer, DisplayBinsGatherTheirTransformBins)
{
  // A sine exactly on transform bin k puts power A^2 there and A^2 / 4 on its two
  // neighbours (the Hann window), next to nothing elsewhere. A display bin wider than a
  // transform bin shows the loudest transform bin between ceil(lower edge) and
  // floor(upper edge); a narrower one interpolates at its centre. Both read as the
  // amplitude, so the whole layout can be checked against the tone.
  const double rate = 48000.0;
  const double amplitude = 0.5;
  for (int k : {20, 137, 400, 1500})
  {
    Measured probe(rate);
    const double hz = k * rate / 4096.0;
    probe.FeedSine(hz, amplitude, 1.0);
    const float* spectrum = probe.m->Analyzer().InputSpectrum();
    auto line = [&](double bin) {
      const double distance = std::fabs(bin - k);
      return distance == 0.0 ? amplitude * amplitude : distance == 1.0 ? amplitude * amplitude / 4.0 : 0.0;
    };
    const double top = std::min(0.49 * rate, 20000.0);
    const double c = top / 20.0;
    int checked = 0;
    for (int a = 0; a < kDisplayPoints; ++a)
    {
      const double centre = 20.0 * std::pow(c, a / 255.0);
      const double lower = centre / std::pow(c, 1.0 / 510.0);
      const double upper = centre * std::pow(c, 1.0 / 510.0);
      double power;
      if ((upper - lower) * 4096.0 / rate < 1.0)
      {
        const double v = std::clamp(centre * 4096.0 / rate, 1.0, 2047.0);
        const double i = std::floor(v);
        power = (1.0 - (v - i)) * line(i) + (v - i) * line(i + 1.0);
      }
      else
      {
        const int lo = std::clamp(static_cast<int>(std::ceil(lower * 4096.0 / rate)), 1, 2048);
        const int hi = std::max(std::min(static_cast<int>(std::floor(upper * 4096.0 / rate)), 2048), lo);
        power = 0.0;
        for (int b = lo; b <= hi; ++b)
          power = std::max(power, line(b));
      }
      if (power > 0.0)
      {
        EXPECT_NEAR(spectrum[a], 10.0 * std::log10(power), 0.05) << "tone bin " << k << " display bin " << a;
        ++checked;
      }
      else
      {
        EXPECT_LT(spectrum[a], -60.0f) << "tone bin " << k << " display bin " << a;
      }
    }
    EXPECT_GE(checked, 1) << k;
  }
}

namespace
{
// A transform's worth of complex values in [-1, 1), the same for the same start.
std::vector<FftComplex> ComplexNoise(uint32_t state)
{
  std::vector<FftComplex> values(Fft4096::kSize);
  for (FftComplex& c : values)
  {
    state = state * 1664525u + 1013904223u;
    c.re = (state >> 8) / 8388608.0 - 1.0;
    state = state * 1664525u + 1013904223u;
    c.im = (state >> 8) / 8388608.0 - 1.0;
  }
  return values;
}
} // namespace

// The transform's two forms (one or, with AVX2, two complex values per register) give the
// same bits, forward and inverse.
TEST(Fft4096, BothFormsGiveTheSameBits)
{
  if (!Fft4096::QuadsAvailable())
    GTEST_SKIP() << "no AVX2 here";
  auto fft = std::make_unique<Fft4096>();
  std::vector<FftComplex> pairs = ComplexNoise(5u), quads = pairs;
  for (bool inverse : {false, true})
  {
    fft->Transform(pairs.data(), inverse, false);
    fft->Transform(quads.data(), inverse, true);
    for (int k = 0; k < Fft4096::kSize; ++k)
    {
      ASSERT_EQ(std::memcmp(&pairs[k], &quads[k], sizeof(FftComplex)), 0) << k << " inverse " << inverse;
    }
  }
}

// Forward and inverse transforms agree with the direct sums at a spread of bins, and a
// buffer handed over already in bit-reversed order gives the same bits as the in-order one.
TEST(Fft4096, MatchesTheDirectTransformFromEitherOrder)
{
  auto fft = std::make_unique<Fft4096>();
  const int n = Fft4096::kSize;
  const std::vector<FftComplex> input = ComplexNoise(11u);
  for (bool inverse : {false, true})
  {
    std::vector<FftComplex> inOrder = input, reversed(n);
    for (int i = 0; i < n; ++i)
      reversed[fft->BitReversed(i)] = input[i];
    fft->Transform(inOrder.data(), inverse);
    fft->TransformBitReversed(reversed.data(), inverse);
    ASSERT_EQ(std::memcmp(inOrder.data(), reversed.data(), n * sizeof(FftComplex)), 0) << inverse;

    const double sign = inverse ? 1.0 : -1.0;
    const double scale = inverse ? 1.0 / n : 1.0;
    for (int k : {0, 1, 7, 511, 2048, 3001, 4095})
    {
      double re = 0.0, im = 0.0;
      for (int i = 0; i < n; ++i)
      {
        const double angle = sign * 2.0 * kPi * static_cast<double>((static_cast<int64_t>(i) * k) % n) / n;
        re += input[i].re * std::cos(angle) - input[i].im * std::sin(angle);
        im += input[i].re * std::sin(angle) + input[i].im * std::cos(angle);
      }
      EXPECT_NEAR(inOrder[k].re, re * scale, 1e-9) << k << " inverse " << inverse;
      EXPECT_NEAR(inOrder[k].im, im * scale, 1e-9) << k << " inverse " << inverse;
    }
  }
}
