#include "product/core/DspHelpers.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

TEST(DspHelpers, TanhMatchesTheLibraryToTheLastBits)
{
  double worst = 0.0;
  for (double x = -25.0; x <= 25.0; x += 0.000731)
  {
    const double expected = std::tanh(x);
    const double got = Tanh(x);
    ASSERT_EQ(std::signbit(got), std::signbit(expected)) << x;
    if (expected != 0.0)
      worst = std::max(worst, std::fabs(got - expected) / std::fabs(expected));
  }
  EXPECT_LT(worst, 1e-15);
  EXPECT_EQ(Tanh(0.0), 0.0);
  EXPECT_EQ(Tanh(1e300), 1.0);
  EXPECT_EQ(Tanh(-1e300), -1.0);
  // Odd symmetry holds exactly, so a shaped bias cancels exactly.
  for (double x : {0.1, 0.3, 0.77, 2.5})
    EXPECT_EQ(Tanh(-x), -Tanh(x));
}

TEST(DspHelpers, SanitizeAndFlush)
{
  EXPECT_EQ(SanitizeSample(std::numeric_limits<double>::quiet_NaN()), 0.0);
  EXPECT_EQ(SanitizeSample(-std::numeric_limits<double>::infinity()), 0.0);
  EXPECT_EQ(SanitizeSample(1e300), 3.4028234663852886e38);
  EXPECT_EQ(SanitizeSample(-1e300), -3.4028234663852886e38);
  EXPECT_EQ(SanitizeSample(0.5), 0.5);
  EXPECT_EQ(FlushTiny(9e-26), 0.0);
  EXPECT_EQ(FlushTiny(-2e-25), -2e-25);
  EXPECT_EQ(LevelDb(0.0), -120.0);
  double state = 0.0;
  const double pole = OnePolePole(1000.0, 48000.0);
  EXPECT_NEAR(pole, std::exp(-2.0 * 3.14159265358979323846 * 1000.0 / 48000.0), 1e-15);
  EXPECT_EQ(OnePolePole(1e9, 48000.0), OnePolePole(0.45 * 48000.0, 48000.0));
  EXPECT_EQ(OnePolePole(0.0, 48000.0), OnePolePole(1.0, 48000.0));
  for (int i = 0; i < 100000 && (i == 0 || state != 0.0); ++i)
    OnePoleStep(state, i == 0 ? 1.0 : 0.0, pole);
  EXPECT_EQ(state, 0.0); // decays to exactly 0 instead of lingering as a denormal
}

TEST(DspHelpers, ExpMinusOneMatchesTheLibrary)
{
  double worst = 0.0;
  for (double x = -700.0; x <= 700.0; x += 0.0137)
  {
    const double expected = std::expm1(x);
    if (expected != 0.0)
      worst = std::max(worst, std::fabs(ExpMinusOne(x) - expected) / std::fabs(expected));
  }
  for (double x = 1e-300; x < 1.0; x *= 1.7)
  {
    worst = std::max(worst, std::fabs(ExpMinusOne(x) - std::expm1(x)) / std::expm1(x));
    worst = std::max(worst, std::fabs(ExpMinusOne(-x) - std::expm1(-x)) / -std::expm1(-x));
  }
  EXPECT_LT(worst, 1e-15);
  EXPECT_EQ(ExpMinusOne(0.0), 0.0);
  EXPECT_TRUE(std::isnan(ExpMinusOne(std::numeric_limits<double>::quiet_NaN())));
  EXPECT_TRUE(std::isnan(Tanh(std::numeric_limits<double>::quiet_NaN())));
}
