#include "product/core/DcFilter.h"
#include "product/core/PostEqualiser.h"
#include "product/core/StereoEffects.h"
#include "product/core/StereoWidth.h"

#include "tests/product/core/SignalProbe.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <vector>

using signal_probe::DefaultParams;
using signal_probe::SineGainDb;

namespace
{
constexpr double kRate = 48000.0;

double EqGainDb(const std::array<float, kNumParams>& params, double hz, double rate = kRate)
{
  PostEqualiser eq;
  DesignEqualiser(eq, params.data(), rate);
  return SineGainDb([&](double x) { return eq.Process(x); }, hz, rate);
}

struct Effects
{
  explicit Effects(double rate = kRate)
    : effects(std::make_unique<StereoEffects>())
  {
    effects->Prepare(rate);
    params = DefaultParams();
  }

  // Runs a pair of signals through and returns the outputs.
  void Run(const std::vector<double>& inLeft, const std::vector<double>& inRight, std::vector<double>& outLeft,
           std::vector<double>& outRight)
  {
    effects->Design(params.data());
    outLeft.resize(inLeft.size());
    outRight.resize(inLeft.size());
    for (size_t i = 0; i < inLeft.size(); ++i)
    {
      double l = inLeft[i];
      double r = inRight[i];
      effects->Process(l, r, params.data(), switches);
      outLeft[i] = l;
      outRight[i] = r;
    }
  }

  std::unique_ptr<StereoEffects> effects;
  std::array<float, kNumParams> params;
  StereoEffectSwitches switches;
};

std::vector<double> Impulse(size_t length)
{
  std::vector<double> v(length, 0.0);
  v[0] = 1.0;
  return v;
}

double MaxAbs(const std::vector<double>& v, size_t from, size_t to)
{
  double m = 0.0;
  for (size_t i = from; i < to && i < v.size(); ++i)
    m = std::max(m, std::fabs(v[i]));
  return m;
}
} // namespace

TEST(PostEqualiser, DefaultsAreFlatInTheBand)
{
  const auto params = DefaultParams();
  for (double hz : {100.0, 1000.0, 5000.0})
    EXPECT_NEAR(EqGainDb(params, hz), 0.0, 0.05) << hz;
}

TEST(PostEqualiser, BandsActWhereTheyShould)
{
  auto low = DefaultParams();
  low[kParamEqLow] = 12.0f;
  EXPECT_NEAR(EqGainDb(low, 30.0), 12.0, 1.2);
  EXPECT_NEAR(EqGainDb(low, 150.0), 6.0, 0.6); // a shelf is half way at its frequency
  EXPECT_NEAR(EqGainDb(low, 3000.0), 0.0, 0.1);

  auto mid = DefaultParams();
  mid[kParamEqMid] = 9.0f;
  mid[kParamEqMidFrequency] = 1200.0f;
  EXPECT_NEAR(EqGainDb(mid, 1200.0), 9.0, 0.05);
  EXPECT_NEAR(EqGainDb(mid, 100.0), 0.0, 0.2);

  auto high = DefaultParams();
  high[kParamEqHigh] = -12.0f;
  EXPECT_NEAR(EqGainDb(high, 16000.0), -12.0, 0.6);
  EXPECT_NEAR(EqGainDb(high, 4000.0), -6.0, 0.6);

  auto cuts = DefaultParams();
  cuts[kParamEqHp] = 200.0f;
  cuts[kParamEqLp] = 2000.0f;
  EXPECT_NEAR(EqGainDb(cuts, 200.0), -3.0, 0.15);
  EXPECT_NEAR(EqGainDb(cuts, 2000.0), -3.0, 0.15);
  EXPECT_LT(EqGainDb(cuts, 50.0), -20.0);
  EXPECT_LT(EqGainDb(cuts, 8000.0), -20.0);
}

TEST(PostEqualiser, BandsAreDesignedAtTheirFrequenciesAndSlopes)
{
  // A shelf a few hertz off, or a slope of 0.707 instead of 0.7, moves the measured gains
  // by less than any sensible tolerance; the sections are compared with designs from the
  // intended numbers instead.
  auto params = DefaultParams();
  params[kParamEqHp] = 90.0f;
  params[kParamEqLow] = 4.5f;
  params[kParamEqMid] = -6.0f;
  params[kParamEqMidFrequency] = 900.0f;
  params[kParamEqMidQ] = 2.5f;
  params[kParamEqHigh] = 7.0f;
  params[kParamEqLp] = 9000.0f;
  PostEqualiser eq;
  DesignEqualiser(eq, params.data(), kRate);
  struct Band
  {
    BiquadType type;
    double hz;
    double q;
    double db;
  };
  const Band bands[5] = {{BiquadType::HighPass, 90.0, 0.707, 0.0},
                         {BiquadType::LowShelf, 150.0, 0.7, 4.5},
                         {BiquadType::Peak, 900.0, 2.5, -6.0},
                         {BiquadType::HighShelf, 4000.0, 0.7, 7.0},
                         {BiquadType::LowPass, 9000.0, 0.707, 0.0}};
  for (int i = 0; i < 5; ++i)
  {
    Biquad expected;
    DesignBiquad(expected, bands[i].type, bands[i].hz, bands[i].q, bands[i].db, kRate);
    EXPECT_NEAR(eq.sections[i].b0, expected.b0, 1e-12) << i;
    EXPECT_NEAR(eq.sections[i].b1, expected.b1, 1e-12) << i;
    EXPECT_NEAR(eq.sections[i].b2, expected.b2, 1e-12) << i;
    EXPECT_NEAR(eq.sections[i].a1, expected.a1, 1e-12) << i;
    EXPECT_NEAR(eq.sections[i].a2, expected.a2, 1e-12) << i;
  }
}

TEST(PostEqualiser, LowPassIsHeldBelowNyquistAtLowRates)
{
  auto params = DefaultParams(); // low-pass at 20 kHz, above 0.45 x 22.05 kHz
  EXPECT_NEAR(EqGainDb(params, 0.45 * 22050.0, 22050.0), -3.0, 0.2);
}

TEST(DcFilter, RemovesDcAndPassesAudio)
{
  DcFilter dc;
  dc.Prepare(kRate);
  double y = 1.0;
  for (int i = 0; i < static_cast<int>(kRate); ++i)
    y = dc.Process(0, 1.0, 1.0);
  EXPECT_LT(std::fabs(y), 1e-9);
  dc.Reset();
  EXPECT_NEAR(SineGainDb([&](double x) { return dc.Process(1, x, 1.0); }, 1000.0, kRate), 0.0, 0.01);
  dc.Reset();
  EXPECT_NEAR(SineGainDb([&](double x) { return dc.Process(1, x, 1.0); }, 5.0, kRate), -3.0, 0.2);
  dc.Reset();
  // Switched off it is the identity.
  for (double x : {1.0, -0.5, 0.25})
    EXPECT_EQ(dc.Process(0, x, 0.0), x);
}

TEST(StereoWidth, ZeroIsMonoTwoHundredDoublesTheSide)
{
  double l = 0.8, r = -0.2;
  ApplyStereoWidth(l, r, 0.0);
  EXPECT_DOUBLE_EQ(l, 0.3);
  EXPECT_DOUBLE_EQ(r, 0.3);
  l = 0.8, r = -0.2;
  ApplyStereoWidth(l, r, 200.0);
  EXPECT_DOUBLE_EQ(l, 0.3 + 1.0);
  EXPECT_DOUBLE_EQ(r, 0.3 - 1.0);
  l = 0.123456789, r = -0.987654321;
  ApplyStereoWidth(l, r, 100.0);
  EXPECT_EQ(l, 0.123456789);
  EXPECT_EQ(r, -0.987654321);
}

TEST(PostCompressor, ReducesAboveThresholdByTheAmount)
{
  struct Case
  {
    double level;
    double amount;
    double expectedReductionDb;
  };
  // Threshold -18 dBFS; at 100 % two thirds of the excess (0.66) is taken away.
  for (const Case& c : {Case{1.0, 100.0, -18.0 * 0.66}, Case{0.5, 100.0, -(18.0 - 6.0206) * 0.66},
                        Case{1.0, 50.0, -18.0 * 0.33}, Case{0.05, 100.0, 0.0}, Case{1.0, 0.0, 0.0}})
  {
    PostCompressor compressor;
    compressor.Prepare(kRate);
    double gain = 0.0;
    for (int i = 0; i < static_cast<int>(kRate); ++i)
      gain = compressor.Process(c.level, -c.level, c.amount);
    EXPECT_NEAR(compressor.ReductionDb(), c.expectedReductionDb, 1e-3) << c.level << " " << c.amount;
    EXPECT_NEAR(20.0 * std::log10(gain), c.expectedReductionDb, 1e-3);
    if (c.expectedReductionDb == 0.0)
    {
      EXPECT_EQ(gain, 1.0);
    }
  }
}

TEST(PostCompressor, AttacksFastAndReleasesSlowly)
{
  PostCompressor compressor;
  compressor.Prepare(kRate);
  for (int i = 0; i < 240; ++i) // one attack time constant
    compressor.Process(1.0, 1.0, 100.0);
  EXPECT_NEAR(compressor.Envelope(), 1.0 - std::exp(-1.0), 1e-3);
  for (int i = 0; i < 5760; ++i) // one release time constant
    compressor.Process(0.0, 0.0, 100.0);
  EXPECT_NEAR(compressor.Envelope(), (1.0 - std::exp(-1.0)) * std::exp(-1.0), 1e-3);
}

TEST(StereoChorus, CentreDelayIsTwelveMilliseconds)
{
  Effects fx;
  fx.params[kParamChorusDepth] = 0.0f;
  fx.params[kParamChorusMix] = 100.0f;
  fx.switches.chorus = 1.0;
  fx.switches.delay = 0.0;
  fx.switches.reverb = 0.0;
  std::vector<double> outL, outR;
  const auto in = Impulse(2000);
  fx.Run(in, in, outL, outR);
  for (size_t i = 0; i < outL.size(); ++i)
  {
    const double expected = i == 576 ? 1.0 : 0.0; // 12 ms at 48 kHz
    ASSERT_NEAR(outL[i], expected, 1e-12) << i;
    ASSERT_NEAR(outR[i], expected, 1e-12) << i;
  }
}

TEST(StereoChorus, SweepsTheSidesAQuarterCycleApart)
{
  Effects fx;
  fx.params[kParamChorusRate] = 2.0f;
  fx.params[kParamChorusDepth] = 100.0f;
  fx.params[kParamChorusMix] = 100.0f;
  fx.switches = {1.0, 0.0, 0.0, 0.0};
  // A steady 1 kHz tone: the moving delay shifts the pitch; the left side's shift follows
  // the derivative of its sweep, so the two sides differ.
  std::vector<double> in(48000), outL, outR;
  for (size_t i = 0; i < in.size(); ++i)
    in[i] = std::sin(2.0 * signal_probe::kPi * 1000.0 * i / kRate);
  fx.Run(in, in, outL, outR);
  double difference = 0.0;
  for (size_t i = 2000; i < in.size(); ++i)
    difference = std::max(difference, std::fabs(outL[i] - outR[i]));
  EXPECT_GT(difference, 0.5);
  EXPECT_LE(MaxAbs(outL, 0, in.size()), 1.0 + 1e-9);
}

TEST(PingPongDelay, EchoLandsExactlyAtTheDelayTime)
{
  for (double rate : {44100.0, 48000.0, 96000.0})
    for (float ms : {10.0f, 350.0f, 2000.0f})
    {
      Effects fx(rate);
      fx.params[kParamDelayTime] = ms;
      fx.params[kParamDelayFeedback] = 0.0f;
      fx.params[kParamDelayMix] = 100.0f;
      fx.params[kParamDelayTone] = 12000.0f;
      fx.switches = {0.0, 1.0, 0.0, 0.0};
      const size_t delay = static_cast<size_t>(std::llround(ms * 0.001 * rate));
      std::vector<double> outL, outR;
      fx.Run(Impulse(delay + 200), std::vector<double>(delay + 200, 0.0), outL, outR);
      EXPECT_EQ(outL[0], 1.0);
      EXPECT_EQ(MaxAbs(outL, 1, delay), 0.0) << rate << " " << ms;
      // The tone filter only smears the echo forward in time.
      EXPECT_GT(outL[delay], 0.5);
      EXPECT_EQ(outL[delay], MaxAbs(outL, 1, delay + 200));
      EXPECT_EQ(MaxAbs(outR, 0, delay + 200), 0.0);
    }
}

TEST(PingPongDelay, PingPongAlternatesTheSides)
{
  Effects fx;
  fx.params[kParamDelayTime] = 100.0f;
  fx.params[kParamDelayFeedback] = 50.0f;
  fx.params[kParamDelayMix] = 100.0f;
  fx.switches = {0.0, 1.0, 0.0, 1.0};
  const size_t t = 4800;
  std::vector<double> outL, outR;
  fx.Run(Impulse(5 * t), Impulse(5 * t), outL, outR);
  auto energy = [&](const std::vector<double>& v, size_t k) { return MaxAbs(v, k * t, k * t + 400); };
  EXPECT_GT(energy(outL, 1), 0.3);
  EXPECT_EQ(energy(outR, 1), 0.0);
  EXPECT_GT(energy(outR, 2), 0.05);
  EXPECT_EQ(energy(outL, 2), 0.0);
  EXPECT_GT(energy(outL, 3), 0.02);
  EXPECT_EQ(energy(outR, 3), 0.0);
  EXPECT_GT(energy(outR, 4), 0.005);

  // Without ping-pong each side repeats by itself.
  Effects plain;
  plain.params = fx.params;
  plain.switches = {0.0, 1.0, 0.0, 0.0};
  plain.Run(Impulse(5 * t), std::vector<double>(5 * t, 0.0), outL, outR);
  EXPECT_GT(energy(outL, 1), 0.3);
  EXPECT_GT(energy(outL, 2), 0.05);
  EXPECT_EQ(MaxAbs(outR, 0, 5 * t), 0.0);
}

TEST(HouseholderReverb, LineGainsGiveTheDecayTime)
{
  HouseholderReverb reverb;
  reverb.Prepare(kRate);
  reverb.Design(35.0, 1.2, 6000.0);
  for (int i = 0; i < HouseholderReverb::kLines; ++i)
  {
    EXPECT_GT(reverb.LineLength(i), 0.6 * 0.0297 * kRate - 1e-9);
    EXPECT_NEAR(reverb.LineGain(i), std::pow(0.001, reverb.LineLength(i) / (1.2 * kRate)), 1e-15);
  }
  reverb.Design(100.0, 1.2, 6000.0);
  EXPECT_NEAR(reverb.LineLength(7), 1.8 * 0.0531 * kRate, 1e-9); // fits the 120 ms line
}

TEST(HouseholderReverb, DecaysBySixtyDbInTheDecayTimeAndRingsDownToZero)
{
  Effects fx;
  fx.params[kParamReverbDecay] = 1.2f;
  fx.params[kParamReverbDamping] = 16000.0f;
  fx.params[kParamReverbMix] = 100.0f;
  fx.switches = {0.0, 0.0, 1.0, 0.0};
  const size_t seconds = 14;
  std::vector<double> outL, outR;
  auto in = Impulse(seconds * 48000);
  fx.Run(in, in, outL, outR);
  auto rmsDb = [&](double from, double to) {
    double sum = 0.0;
    const size_t a = static_cast<size_t>(from * kRate), b = static_cast<size_t>(to * kRate);
    for (size_t i = a; i < b; ++i)
      sum += outL[i] * outL[i] + outR[i] * outR[i];
    return 10.0 * std::log10(sum / (b - a) + 1e-300);
  };
  const double early = rmsDb(0.1, 0.2);
  const double later = rmsDb(1.3, 1.4);
  EXPECT_NEAR(early - later, 60.0, 6.0);
  EXPECT_EQ(outL[0], 1.0); // the dry impulse passes; the room starts a line length later
  for (size_t i = 0; i < outL.size(); ++i)
    ASSERT_TRUE(std::isfinite(outL[i]) && std::isfinite(outR[i]));
  // Every state is flushed below 1e-25, so the tail ends in exact zeros, not denormals.
  EXPECT_EQ(MaxAbs(outL, outL.size() - 48000, outL.size()), 0.0);
  EXPECT_EQ(MaxAbs(outR, outR.size() - 48000, outR.size()), 0.0);
}

TEST(HouseholderReverb, LongestRoomStaysBoundedAndSilenceStaysSilent)
{
  Effects fx;
  fx.params[kParamReverbSize] = 100.0f;
  fx.params[kParamReverbDecay] = 8.0f;
  fx.params[kParamReverbMix] = 100.0f;
  fx.switches = {0.0, 0.0, 1.0, 0.0};
  std::vector<double> in(96000), outL, outR;
  for (size_t i = 0; i < in.size(); ++i)
    in[i] = std::sin(0.05 * i) * (i < 48000 ? 1.0 : 0.0);
  fx.Run(in, in, outL, outR);
  EXPECT_LT(MaxAbs(outL, 0, in.size()), 20.0);
  Effects quiet;
  quiet.switches = fx.switches;
  quiet.Run(std::vector<double>(10000, 0.0), std::vector<double>(10000, 0.0), outL, outR);
  EXPECT_EQ(MaxAbs(outL, 0, 10000), 0.0);
}

TEST(StereoEffects, AllOffPassesTheSignalUnchanged)
{
  Effects fx;
  fx.switches = {0.0, 0.0, 0.0, 1.0};
  fx.params[kParamStereoWidth] = 100.0f;
  fx.params[kParamPostCompressor] = 0.0f;
  std::vector<double> inL(5000), inR(5000), outL, outR;
  for (size_t i = 0; i < inL.size(); ++i)
  {
    inL[i] = std::sin(0.01 * i) * 1.5;
    inR[i] = std::cos(0.03 * i);
  }
  fx.Run(inL, inR, outL, outR);
  EXPECT_EQ(outL, inL);
  EXPECT_EQ(outR, inR);
}

TEST(StereoEffects, TailsAfterALoudBurstRingDownToExactZero)
{
  Effects fx;
  fx.params[kParamDelayFeedback] = 85.0f;
  fx.params[kParamDelayTime] = 50.0f;
  fx.params[kParamReverbDecay] = 2.0f;
  fx.switches = {1.0, 1.0, 1.0, 1.0};
  std::vector<double> burst(4800), outL, outR;
  for (size_t i = 0; i < burst.size(); ++i)
    burst[i] = (i % 2 ? 1.0 : -1.0);
  fx.Run(burst, burst, outL, outR);
  const std::vector<double> silence(48000 * 30, 0.0);
  fx.Run(silence, silence, outL, outR);
  EXPECT_GT(MaxAbs(outL, 0, 4800), 0.01); // the echo and the room ring on
  EXPECT_EQ(MaxAbs(outL, outL.size() - 4800, outL.size()), 0.0);
  EXPECT_EQ(MaxAbs(outR, outR.size() - 4800, outR.size()), 0.0);
}

TEST(StereoEffects, OverflowedInputDoesNotStickInAnyState)
{
  Effects fx;
  fx.params[kParamPostCompressor] = 100.0f;
  fx.params[kParamDelayFeedback] = 85.0f;
  fx.switches = {1.0, 1.0, 1.0, 1.0};
  DcFilter dc;
  dc.Prepare(kRate);
  // Non-finite values that slipped past the chain, or sums that overflowed on the way.
  std::vector<double> bad = {INFINITY, -INFINITY, std::nan(""), 1.0, INFINITY, std::nan("")};
  std::vector<double> outL, outR;
  fx.Run(bad, bad, outL, outR);
  for (double y : bad)
    dc.Process(0, y, 1.0);
  // Afterwards a normal signal comes out finite and at a sane level: nothing that
  // overflowed stays in a line or a state.
  std::vector<double> tone(96000);
  for (size_t i = 0; i < tone.size(); ++i)
    tone[i] = 0.25 * std::sin(0.03 * i);
  fx.Run(tone, tone, outL, outR);
  for (size_t i = 0; i < tone.size(); ++i)
  {
    ASSERT_TRUE(std::isfinite(outL[i]) && std::isfinite(outR[i])) << i;
    ASSERT_TRUE(std::isfinite(dc.Process(0, outL[i], 1.0))) << i;
  }
  EXPECT_LT(MaxAbs(outL, 48000, 96000), 2.0);
  EXPECT_GT(MaxAbs(outL, 48000, 96000), 0.05);
  EXPECT_TRUE(std::isfinite(fx.effects->Compressor().Envelope()));
  EXPECT_LT(fx.effects->Compressor().Envelope(), 2.0);
}

TEST(HouseholderReverb, EachLineReturnsAtItsLengthWithItsSign)
{
  // A left impulse feeds only the even lines, and the left wet is half their signed sum:
  // the first pass of each even line arrives alone, at its length, with its sign, before
  // any line has fed back into another. The right side stays silent until then.
  Effects fx;
  fx.params[kParamReverbSize] = 35.0f;
  fx.params[kParamReverbDecay] = 4.0f;
  fx.params[kParamReverbDamping] = 20000.0f;
  fx.params[kParamReverbMix] = 100.0f;
  fx.switches = {0.0, 0.0, 1.0, 0.0};
  std::vector<double> outL, outR;
  fx.Run(Impulse(4000), std::vector<double>(4000, 0.0), outL, outR);
  const double scale = 35.0 * 0.012 + 0.6;
  struct Line
  {
    double seconds;
    double sign;
  };
  // Lines 0, 4, 2 and 6 in order of length.
  for (const Line& line : {Line{0.0297, -1.0}, Line{0.0313, 1.0}, Line{0.0411, 1.0}, Line{0.0473, -1.0}})
  {
    const double length = scale * line.seconds * kRate;
    const size_t first = static_cast<size_t>(std::floor(length));
    EXPECT_EQ(outL[first - 1], 0.0) << line.seconds;
    double arrival = 0.0;
    for (size_t i = first; i < first + 8; ++i)
      arrival += outL[i];
    // The damping one-pole keeps the pulse's area; the line gain scales the feed only.
    EXPECT_NEAR(arrival, line.sign * 0.5 * 0.22, 1e-4) << line.seconds;
  }
  EXPECT_EQ(MaxAbs(outR, 0, static_cast<size_t>(scale * (0.0297 + 0.0371) * kRate)), 0.0);
  EXPECT_GT(MaxAbs(outR, 0, outR.size()), 1e-3);
}

TEST(StereoChorus, DelayFollowsTheSweepFormula)
{
  // On a ramp the interpolated read is exact, so the output tells the delay sample by
  // sample: 12 ms plus depth x 9 ms x sin(2 pi phase), the right side a quarter cycle on.
  Effects fx;
  fx.params[kParamChorusRate] = 2.0f;
  fx.params[kParamChorusDepth] = 60.0f;
  fx.params[kParamChorusMix] = 100.0f;
  fx.switches = {1.0, 0.0, 0.0, 0.0};
  std::vector<double> ramp(48000), outL, outR;
  for (size_t i = 0; i < ramp.size(); ++i)
    ramp[i] = static_cast<double>(i);
  fx.Run(ramp, ramp, outL, outR);
  for (size_t n = 1100; n < ramp.size(); n += 97)
  {
    const double phase = std::fmod((n + 1) * 2.0 / kRate, 1.0);
    const double left = (std::sin(2.0 * signal_probe::kPi * phase) * 0.6 * 0.009 + 0.012) * kRate;
    const double right = (std::sin(2.0 * signal_probe::kPi * (phase + 0.25)) * 0.6 * 0.009 + 0.012) * kRate;
    ASSERT_NEAR(n - outL[n], left, 1e-6) << n;
    ASSERT_NEAR(n - outR[n], right, 1e-6) << n;
  }
}

// The sweep comes from a turning phasor; it must stay on sin(2 pi phase) over long runs,
// while the rate glides sample by sample and after the chorus was off, so on a ramp the
// delay read back matches the formula to far below a sample.
TEST(StereoChorus, PhasorSweepStaysOnTheFormula)
{
  struct Case
  {
    const char* name;
    double (*rateAt)(int n);
    bool (*heardAt)(int n);
  };
  const Case cases[] = {
    {"steady", [](int) { return 3.7; }, [](int) { return true; }},
    {"gliding", [](int n) { return 0.5 + 4.0 * n / 200000.0; }, [](int) { return true; }},
    {"steps", [](int n) { return 0.2 + (n / 7000) % 5; }, [](int) { return true; }},
    {"switched", [](int) { return 1.3; }, [](int n) { return (n / 5000) % 3 != 1; }},
  };
  for (const Case& c : cases)
  {
    auto chorus = std::make_unique<StereoChorus>();
    chorus->Prepare(kRate);
    double phase = 0.0;
    for (int n = 0; n < 200000; ++n)
    {
      const double rate = c.rateAt(n);
      const double wet = c.heardAt(n) ? 1.0 : 0.0;
      double left = n, right = n;
      chorus->Process(left, right, rate, 80.0, wet);
      phase += rate / kRate;
      if (phase >= 1.0)
        phase -= 1.0;
      if (wet == 0.0 || n < 2000)
        continue;
      const double angle = 2.0 * signal_probe::kPi * phase;
      ASSERT_NEAR(n - left, (std::sin(angle) * 0.8 * 0.009 + 0.012) * kRate, 1e-7) << c.name << " " << n;
      ASSERT_NEAR(n - right, (std::cos(angle) * 0.8 * 0.009 + 0.012) * kRate, 1e-7) << c.name << " " << n;
    }
  }
}
