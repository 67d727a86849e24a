#include "product/core/DspHelpers.h"
#include "product/core/TanhBatch.h"
#include "product/core/TanhCurve.h"
#include "tests/product/core/EngineTestSignals.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <vector>

// Each curve against the library over the audio range and down to the tiniest arguments
// (relative to tanh there too), at the ends (huge and infinite arguments give +-1 exactly,
// a NaN stays NaN) and in its symmetry: exactly odd, so a shaped bias cancels exactly.
TEST(DspHelpers, TanhCurvesMatchTheLibraryToTheLastBits)
{
  const double nan = std::numeric_limits<double>::quiet_NaN();
  const double inf = std::numeric_limits<double>::infinity();
  const struct
  {
    TanhCurve curve;
    double bound;
  } curves[] = {{TanhCurve::Series, 1e-15}, {TanhCurve::Rational, 3e-15}};
  for (const auto& c : curves)
  {
    const engine_test::ScopedTanhCurve selected(c.curve);
    double worst = 0.0;
    for (double x = -25.0; x <= 25.0; x += 0.000731)
    {
      const double expected = std::tanh(x);
      const double got = Tanh(x);
      ASSERT_EQ(std::signbit(got), std::signbit(expected)) << x;
      if (expected != 0.0)
        worst = std::max(worst, std::fabs(got - expected) / std::fabs(expected));
    }
    for (double x = 1e-300; x < 1.0; x *= 1.7)
      worst = std::max(worst, std::fabs(Tanh(x) - std::tanh(x)) / std::tanh(x));
    EXPECT_LT(worst, c.bound) << static_cast<int>(c.curve);
    const double ends[][2] = {{0.0, 0.0}, {20.0, 1.0}, {1e300, 1.0}, {-1e300, -1.0}, {inf, 1.0}, {-inf, -1.0}};
    for (const auto& end : ends)
      EXPECT_EQ(Tanh(end[0]), end[1]) << end[0];
    EXPECT_TRUE(std::signbit(Tanh(-0.0)));
    EXPECT_TRUE(std::isnan(Tanh(nan)));
    for (double x : {1e-300, 0.1, 0.3, 0.77, 2.5, 19.0})
      EXPECT_EQ(Tanh(-x), -Tanh(x));
  }
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
}

// Batches of tanh values, of plain or of lifted drive-stage arguments, are bit for bit Tanh
// of each under either curve, in both of the batch's forms (two or, where the processor has AVX2, four values per register), over
// ordinary, huge, tiny, signed-zero and non-finite arguments; a not-a-number stays one.
TEST(DspHelpers, TanhBatchFormsMatchTanhBitForBit)
{
  const double nan = std::numeric_limits<double>::quiet_NaN();
  const double inf = std::numeric_limits<double>::infinity();
  std::vector<double> inputs = {0.0, -0.0, 1e-300, -1e-300, 0.24, -0.26, 0.5, 1.0, 3.0, -7.5, 19.9, 20.0, 25.0,
                                -700.0, 1e300, inf, -inf, nan, -nan};
  uint32_t noise = 99u;
  for (int i = 0; i < 4000; ++i)
  {
    noise = noise * 1664525u + 1013904223u;
    inputs.push_back(std::ldexp((noise >> 8) / 8388608.0 - 1.0, static_cast<int>(noise % 12) - 6));
  }
  while (inputs.size() % 8 != 0)
    inputs.push_back(0.1);
  std::vector<TanhBatchPath> paths = {TanhBatchPath::Pairs};
  if (TanhBatchQuadsAvailable())
    paths.push_back(TanhBatchPath::Quads);
  for (TanhCurve curve : {TanhCurve::Series, TanhCurve::Rational})
  {
    const engine_test::ScopedTanhCurve selected(curve);
    for (TanhBatchPath path : paths)
      for (size_t start = 0; start < inputs.size(); start += 8)
      {
        double out[8], lifted[8];
        TanhMinusBatchWith(path, &inputs[start], 8, 0.125, out);
        LiftedTanhMinusBatchWith(path, &inputs[start], 8, 0.16, -0.3, 0.125, lifted);
        for (int i = 0; i < 8; ++i)
        {
          const double s = inputs[start + i];
          const double expected[2] = {Tanh(s) - 0.125, Tanh(0.16 * s * s / (s * s + 1.0) + s - 0.3) - 0.125};
          const double got[2] = {out[i], lifted[i]};
          for (int form = 0; form < 2; ++form)
          {
            if (std::isnan(expected[form]))
            {
              ASSERT_TRUE(std::isnan(got[form])) << s;
              continue;
            }
            uint64_t a = 0, b = 0;
            std::memcpy(&a, &got[form], sizeof a);
            std::memcpy(&b, &expected[form], sizeof b);
            ASSERT_EQ(a, b) << "curve " << static_cast<int>(curve) << " path " << static_cast<int>(path) << " form "
                            << form << " x " << s;
          }
        }
      }
  }
}
