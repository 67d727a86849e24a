#include "product/core/Biquad.h"
#include "product/core/BiquadPair.h"

#include <gtest/gtest.h>

#include <cmath>
#include <complex>
#include <limits>

namespace {

const double kPi = 3.14159265358979323846;

// Magnitude of the section's response at frequency f, from its coefficients.
double Magnitude(const Biquad& b, double f, double rate)
{
  const std::complex<double> z1 = std::polar(1.0, -2.0 * kPi * f / rate);
  const std::complex<double> z2 = z1 * z1;
  return std::abs((b.b0 + b.b1 * z1 + b.b2 * z2) / (1.0 + b.a1 * z1 + b.a2 * z2));
}

// Steady-state amplitude of a sine run through the section.
double MeasuredGain(Biquad b, double f, double rate)
{
  double peak = 0.0;
  const int n = static_cast<int>(rate);
  for (int i = 0; i < n; ++i)
  {
    const double y = b.Process(std::sin(2.0 * kPi * f * i / rate));
    if (i > n / 2)
      peak = std::max(peak, std::fabs(y));
  }
  return peak;
}

} // namespace

TEST(Biquad, FreshSectionPassesSignal)
{
  Biquad b;
  for (double x : {0.5, -1.0, 3.0, 0.0})
    EXPECT_EQ(b.Process(x), x);
}

TEST(Biquad, DesignsHaveTheirShapes)
{
  const double rate = 48000.0;
  Biquad lp, hp, peak, lowShelf, highShelf;
  DesignBiquad(lp, BiquadType::LowPass, 1000.0, 0.7071, 0.0, rate);
  DesignBiquad(hp, BiquadType::HighPass, 1000.0, 0.7071, 0.0, rate);
  DesignBiquad(peak, BiquadType::Peak, 1000.0, 1.0, 12.0, rate);
  DesignBiquad(lowShelf, BiquadType::LowShelf, 200.0, 0.7, 6.0, rate);
  DesignBiquad(highShelf, BiquadType::HighShelf, 3000.0, 0.7, -6.0, rate);

  EXPECT_NEAR(Magnitude(lp, 10.0, rate), 1.0, 1e-6);
  EXPECT_NEAR(Magnitude(lp, 1000.0, rate), std::sqrt(0.5), 1e-3);
  EXPECT_LT(Magnitude(lp, 10000.0, rate), 0.02);
  EXPECT_NEAR(Magnitude(hp, 20000.0, rate), 1.0, 0.01);
  EXPECT_LT(Magnitude(hp, 100.0, rate), 0.02);
  EXPECT_NEAR(20.0 * std::log10(Magnitude(peak, 1000.0, rate)), 12.0, 1e-6);
  EXPECT_NEAR(Magnitude(peak, 20.0, rate), 1.0, 0.01);
  EXPECT_NEAR(20.0 * std::log10(Magnitude(lowShelf, 10.0, rate)), 6.0, 0.05);
  EXPECT_NEAR(20.0 * std::log10(Magnitude(highShelf, 20000.0, rate)), -6.0, 0.1);

  // The running section agrees with its analytic response.
  EXPECT_NEAR(MeasuredGain(lp, 1000.0, rate), Magnitude(lp, 1000.0, rate), 1e-3);
  EXPECT_NEAR(MeasuredGain(peak, 1000.0, rate), Magnitude(peak, 1000.0, rate), 1e-2);
}

TEST(Biquad, FrequencyIsClampedToTheUsableRange)
{
  const double rate = 48000.0;
  Biquad high, limit, low, floor5;
  DesignBiquad(high, BiquadType::LowPass, 1e9, 0.7, 0.0, rate);
  DesignBiquad(limit, BiquadType::LowPass, 0.45 * rate, 0.7, 0.0, rate);
  DesignBiquad(low, BiquadType::HighPass, -3.0, 0.7, 0.0, rate);
  DesignBiquad(floor5, BiquadType::HighPass, 5.0, 0.7, 0.0, rate);
  EXPECT_EQ(high.b0, limit.b0);
  EXPECT_EQ(high.a1, limit.a1);
  EXPECT_EQ(low.b0, floor5.b0);
  EXPECT_EQ(low.a2, floor5.a2);
}

TEST(Biquad, NonFiniteValueResetsAndRecovers)
{
  Biquad b;
  DesignBiquad(b, BiquadType::LowPass, 500.0, 0.7, 0.0, 48000.0);
  b.Process(1.0);
  EXPECT_EQ(b.Process(std::numeric_limits<double>::quiet_NaN()), 0.0);
  EXPECT_EQ(b.s1, 0.0);
  EXPECT_EQ(b.s2, 0.0);
  EXPECT_EQ(b.Process(std::numeric_limits<double>::infinity()), 0.0);
  EXPECT_TRUE(std::isfinite(b.Process(0.25)));
  EXPECT_NE(b.Process(0.25), 0.0);
}

TEST(Biquad, TinyStatesAreFlushed)
{
  Biquad b;
  DesignBiquad(b, BiquadType::LowPass, 500.0, 0.7, 0.0, 48000.0);
  b.Process(1e-3);
  for (int i = 0; i < 200000 && (b.s1 != 0.0 || b.s2 != 0.0); ++i)
    b.Process(0.0);
  EXPECT_EQ(b.s1, 0.0);
  EXPECT_EQ(b.s2, 0.0);
}

// Both channels' banks over runs give bit for bit what each bank gives sample by sample,
// through a NaN and an infinity that blow up sections of one channel mid-run.
TEST(Biquad, BankPairsMatchEachBankSampleBySample)
{
  BiquadBank5 single[2], paired[2];
  const BiquadType types[] = {BiquadType::HighPass, BiquadType::LowShelf, BiquadType::Peak, BiquadType::HighShelf,
                              BiquadType::LowPass};
  for (int k = 0; k < BiquadBank5::kSections; ++k)
    for (BiquadBank5* bank : {&single[0], &single[1], &paired[0], &paired[1]})
      DesignBiquad(bank->sections[k], types[k], 300.0 * (k + 1), 0.8, 4.0 - 2.0 * k, 48000.0);
  for (int n = 0, count = 1; n < 2000; n += count, count = (count + 4) % 16 + 1)
  {
    double x[16][2], out[16][2];
    for (int i = 0; i < count; ++i)
    {
      x[i][0] = n + i == 700 ? std::numeric_limits<double>::quiet_NaN() : std::sin(0.05 * (n + i));
      x[i][1] = n + i == 1400 ? std::numeric_limits<double>::infinity() : std::cos(0.003 * (n + i));
    }
    ProcessBankPairs(paired[0], paired[1], x, count, out);
    for (int i = 0; i < count; ++i)
      for (int ch = 0; ch < 2; ++ch)
        ASSERT_EQ(out[i][ch], single[ch].Process(x[i][ch])) << "channel " << ch << " at " << n + i;
  }
}

// A section designed from its last inputs has, after every step of a sequence that keeps,
// moves the gain, the frequency, the quality, the type or the rate, exactly the coefficients
// of a fresh design from the same inputs.
TEST(Biquad, DesignFromTheLastInputsMatchesAFreshDesign)
{
  struct Step
  {
    BiquadType type;
    double frequency, q, gainDb, rate;
  };
  const Step steps[] = {
    {BiquadType::HighShelf, 3000.0, 0.7, 2.0, 192000.0}, {BiquadType::HighShelf, 3000.0, 0.7, 2.0, 192000.0},
    {BiquadType::HighShelf, 3000.0, 0.7, -5.5, 192000.0}, {BiquadType::HighShelf, 3300.0, 0.7, -5.5, 192000.0},
    {BiquadType::HighShelf, 3300.0, 1.1, -5.5, 192000.0}, {BiquadType::Peak, 3300.0, 1.1, -5.5, 192000.0},
    {BiquadType::Peak, 3300.0, 1.1, -5.5, 44100.0},       {BiquadType::Peak, 30000.0, 1.1, -5.5, 44100.0},
  };
  Biquad cached;
  BiquadDesignInputs last;
  for (const Step& step : steps)
  {
    DesignBiquad(cached, last, step.type, step.frequency, step.q, step.gainDb, step.rate);
    Biquad fresh;
    DesignBiquad(fresh, step.type, step.frequency, step.q, step.gainDb, step.rate);
    const double got[] = {cached.b0, cached.b1, cached.b2, cached.a1, cached.a2};
    const double expected[] = {fresh.b0, fresh.b1, fresh.b2, fresh.a1, fresh.a2};
    for (int c = 0; c < 5; ++c)
      ASSERT_EQ(got[c], expected[c]) << "coefficient " << c << " at " << step.frequency << " Hz, " << step.rate;
  }
}
