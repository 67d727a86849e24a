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

// x = k ln 2 + r with k whole and |r| <= ln 2 / 2, for |x| below about 700: r and 2^k.
struct Ln2Split
{
  double r;
  double scale;
};

inline Ln2Split SplitLn2(double x)
{
  const double kLog2e = 1.4426950408889634;
  const double kLn2Hi = 6.93147180369123816490e-01; // low bits zero: k x kLn2Hi is exact
  const double kLn2Lo = 1.90821492927058770002e-10;
  const double kRoundShift = 6755399441055744.0;     // 1.5 x 2^52: adding it rounds to an integer
  const double shifted = x * kLog2e + kRoundShift;
  const double k = shifted - kRoundShift;
  // 2^k built from k's bits, which the shifted value holds in its low mantissa bits.
  uint64_t shiftedBits = 0, shiftBits = 0;
  std::memcpy(&shiftedBits, &shifted, sizeof shifted);
  std::memcpy(&shiftBits, &kRoundShift, sizeof kRoundShift);
  const uint64_t scaleBits = (shiftedBits - shiftBits + 1023u) << 52;
  double scale = 0.0;
  std::memcpy(&scale, &scaleBits, sizeof scale);
  return {(x - k * kLn2Hi) - k * kLn2Lo, scale};
}

// e^x - 1 for |x| below about 700, to a few units in the last place and accurate relative
// to the result near 0. Written out because the Windows runtime's exp is several times
// slower than this: with x = k ln 2 + r, 2^k (e^r - 1) + (2^k - 1), with e^r - 1 from its
// Taylor series to the r^13 term (the next term is below 2e-17 of r).
inline double ExpMinusOne(double x)
{
  const auto [r, scale] = SplitLn2(x);
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
  return scale * expm1R + (scale - 1.0);
}

#if defined(__SSE2__)
// All bits set in the lanes holding finite values (v - v is 0 exactly then).
inline __m128d FiniteLanes(__m128d v)
{
  return _mm_cmpeq_pd(_mm_sub_pd(v, v), _mm_setzero_pd());
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

// The left value in the low lane, the right in the high.
inline __m128d LoadLanes(double left, double right)
{
  return _mm_set_pd(right, left);
}

inline void StoreLanes(__m128d v, double& left, double& right)
{
  left = _mm_cvtsd_f64(v);
  right = _mm_cvtsd_f64(_mm_unpackhi_pd(v, v));
}

// One step of an envelope follower (attack pole while the magnitude rises above it,
// release pole otherwise, tiny values flushed) and the gain 1 / (envelope x amount x scale
// + 1) it gives, on both lanes.
inline __m128d EnvelopeGainPair(__m128d& envelope, __m128d magnitude, double attackPole, double releasePole,
                                double amount, double scale)
{
  const __m128d one = _mm_set1_pd(1.0);
  const __m128d rising = _mm_cmpgt_pd(magnitude, envelope);
  const __m128d pole =
    _mm_or_pd(_mm_and_pd(rising, _mm_set1_pd(attackPole)), _mm_andnot_pd(rising, _mm_set1_pd(releasePole)));
  const __m128d next = _mm_add_pd(_mm_mul_pd(_mm_sub_pd(one, pole), magnitude), _mm_mul_pd(pole, envelope));
  envelope = _mm_andnot_pd(_mm_cmplt_pd(_mm_andnot_pd(_mm_set1_pd(-0.0), next), _mm_set1_pd(1e-25)), next);
  return _mm_div_pd(one, _mm_add_pd(_mm_mul_pd(_mm_mul_pd(envelope, _mm_set1_pd(amount)), _mm_set1_pd(scale)), one));
}
#endif

// Level in dB with the -120 dB floor used by every reading.
inline double LevelDb(double x)
{
  return 20.0 * std::log10(x > 1e-6 ? x : 1e-6);
}
