#pragma once

#include <cmath>
#include <cstdint>
#include <cstring>
#if defined(__SSE2__)
#include <emmintrin.h>
#endif

// Small numeric helpers shared by every stage of the amp engine.

// The longest run of 4x samples that the pedal and the amplifier take in one call: 16
// base-rate frames, the span between two coefficient updates.
constexpr int kOversampledRun = 64;

// States this small only cost time (denormal arithmetic) and carry no audible signal.
inline double FlushTiny(double x)
{
  return std::fabs(x) < 1e-25 ? 0.0 : x;
}

// Pole of a one-pole low-pass at frequency f for the given rate.
inline double OnePolePole(double frequency, double rate)
{
  const double kPi = 3.14159265358979323846;
  double f = frequency;
  if (f < 1.0)
    f = 1.0;
  if (f > 0.45 * rate)
    f = 0.45 * rate;
  return std::exp(-2.0 * kPi * f / rate);
}

// One step of a one-pole low-pass y = (1 - p) x + p y; returns the new (flushed) state.
inline double OnePoleStep(double& state, double x, double pole)
{
  state = FlushTiny((1.0 - pole) * x + pole * state);
  return state;
}

// Host samples are floats: a non-finite value becomes silence, anything else stays in
// float range so later float stores cannot overflow.
inline double SanitizeSample(double x)
{
  if (!std::isfinite(x))
    return 0.0;
  const double kFloatMax = 3.4028234663852886e38;
  if (x > kFloatMax)
    return kFloatMax;
  if (x < -kFloatMax)
    return -kFloatMax;
  return x;
}

// e^x - 1 for |x| below about 700, to a few units in the last place and accurate relative
// to the result near 0. Written out because the Windows runtime's exp is several times
// slower than this: x = k ln 2 + r with |r| <= ln 2 / 2, then 2^k (e^r - 1) + (2^k - 1), with
// e^r - 1 from its Taylor series to the r^13 term (the next term is below 2e-17 of r).
inline double ExpMinusOne(double x)
{
  const double kLog2e = 1.4426950408889634;
  const double kLn2Hi = 6.93147180369123816490e-01; // low bits zero: k x kLn2Hi is exact
  const double kLn2Lo = 1.90821492927058770002e-10;
  const double kRoundShift = 6755399441055744.0;     // 1.5 x 2^52: adding it rounds to an integer
  const double shifted = x * kLog2e + kRoundShift;
  const double k = shifted - kRoundShift;
  const double r = (x - k * kLn2Hi) - k * kLn2Lo;
  const double r2 = r * r;
  const double r4 = r2 * r2;
  const double r8 = r4 * r4;
  const double c01 = 1.0 / 2.0 + r * (1.0 / 6.0);
  const double c23 = 1.0 / 24.0 + r * (1.0 / 120.0);
  const double c45 = 1.0 / 720.0 + r * (1.0 / 5040.0);
  const double c67 = 1.0 / 40320.0 + r * (1.0 / 362880.0);
  const double c89 = 1.0 / 3628800.0 + r * (1.0 / 39916800.0);
  const double c1011 = 1.0 / 479001600.0 + r * (1.0 / 6227020800.0);
  const double series = (c01 + r2 * c23) + r4 * (c45 + r2 * c67) + r8 * (c89 + r2 * c1011);
  const double expm1R = r + r2 * series;
  // 2^k built from k's bits, which the shifted value holds in its low mantissa bits.
  uint64_t shiftedBits = 0, shiftBits = 0;
  std::memcpy(&shiftedBits, &shifted, sizeof shifted);
  std::memcpy(&shiftBits, &kRoundShift, sizeof kRoundShift);
  const uint64_t scaleBits = (shiftedBits - shiftBits + 1023u) << 52;
  double scale = 0.0;
  std::memcpy(&scale, &scaleBits, sizeof scale);
  return scale * expm1R + (scale - 1.0);
}

// tanh to within about 5e-16 relative, without branches (audio crosses any threshold
// unpredictably). Computed on |x| and given x's sign, so it is exactly odd and a shaped bias
// cancels exactly; beyond 20 the result is 1 in double precision anyway.
inline double Tanh(double x)
{
  double a = std::fabs(x);
  a = 20.0 < a ? 20.0 : a; // a NaN stays NaN
  const double m = ExpMinusOne(-2.0 * a);
  return std::copysign(-m / (m + 2.0), x);
}

#if defined(__SSE2__)
// The same operations as ExpMinusOne and Tanh on two values at once (the two channels):
// bit for bit what the single-value forms give for each.
inline __m128d ExpMinusOnePair(__m128d x)
{
  const __m128d roundShift = _mm_set1_pd(6755399441055744.0);
  const __m128d shifted = _mm_add_pd(_mm_mul_pd(x, _mm_set1_pd(1.4426950408889634)), roundShift);
  const __m128d k = _mm_sub_pd(shifted, roundShift);
  const __m128d r = _mm_sub_pd(_mm_sub_pd(x, _mm_mul_pd(k, _mm_set1_pd(6.93147180369123816490e-01))),
                               _mm_mul_pd(k, _mm_set1_pd(1.90821492927058770002e-10)));
  const __m128d r2 = _mm_mul_pd(r, r);
  const __m128d r4 = _mm_mul_pd(r2, r2);
  const __m128d r8 = _mm_mul_pd(r4, r4);
  auto pair = [&r](double c0, double c1) { return _mm_add_pd(_mm_set1_pd(c0), _mm_mul_pd(r, _mm_set1_pd(c1))); };
  const __m128d c01 = pair(1.0 / 2.0, 1.0 / 6.0);
  const __m128d c23 = pair(1.0 / 24.0, 1.0 / 120.0);
  const __m128d c45 = pair(1.0 / 720.0, 1.0 / 5040.0);
  const __m128d c67 = pair(1.0 / 40320.0, 1.0 / 362880.0);
  const __m128d c89 = pair(1.0 / 3628800.0, 1.0 / 39916800.0);
  const __m128d c1011 = pair(1.0 / 479001600.0, 1.0 / 6227020800.0);
  const __m128d series =
    _mm_add_pd(_mm_add_pd(_mm_add_pd(c01, _mm_mul_pd(r2, c23)), _mm_mul_pd(r4, _mm_add_pd(c45, _mm_mul_pd(r2, c67)))),
               _mm_mul_pd(r8, _mm_add_pd(c89, _mm_mul_pd(r2, c1011))));
  const __m128d expm1R = _mm_add_pd(r, _mm_mul_pd(r2, series));
  const __m128i bits = _mm_sub_epi64(_mm_castpd_si128(shifted), _mm_castpd_si128(roundShift));
  const __m128d scale = _mm_castsi128_pd(_mm_slli_epi64(_mm_add_epi64(bits, _mm_set1_epi64x(1023)), 52));
  return _mm_add_pd(_mm_mul_pd(scale, expm1R), _mm_sub_pd(scale, _mm_set1_pd(1.0)));
}

inline __m128d TanhPair(__m128d x)
{
  const __m128d signBit = _mm_set1_pd(-0.0);
  // minpd keeps its second operand when either is NaN, so a NaN stays NaN.
  const __m128d a = _mm_min_pd(_mm_set1_pd(20.0), _mm_andnot_pd(signBit, x));
  const __m128d m = ExpMinusOnePair(_mm_mul_pd(_mm_set1_pd(-2.0), a));
  const __m128d t = _mm_div_pd(_mm_xor_pd(m, signBit), _mm_add_pd(m, _mm_set1_pd(2.0)));
  return _mm_or_pd(_mm_andnot_pd(signBit, t), _mm_and_pd(signBit, x));
}

// OnePoleStep on two states at once.
inline __m128d OnePoleStepPair(__m128d& state, __m128d x, double pole)
{
  const __m128d next =
    _mm_add_pd(_mm_mul_pd(_mm_set1_pd(1.0 - pole), x), _mm_mul_pd(_mm_set1_pd(pole), state));
  const __m128d tiny = _mm_cmplt_pd(_mm_andnot_pd(_mm_set1_pd(-0.0), next), _mm_set1_pd(1e-25));
  state = _mm_andnot_pd(tiny, next);
  return state;
}
#endif

// Level in dB with the -120 dB floor used by every reading.
inline double LevelDb(double x)
{
  return 20.0 * std::log10(x > 1e-6 ? x : 1e-6);
}
