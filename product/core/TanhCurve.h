#pragma once

#include "product/core/DspHelpers.h"

#include <atomic>

// The tanh behind every drive curve, in two forms that agree to a few units in the last
// place. Both work on |x| clamped to 20 (beyond which tanh is 1 in double precision) and
// give x's sign back, so they are exactly odd and a shaped bias cancels exactly; a NaN stays
// NaN and an infinity gives +-1. Neither branches: audio crosses any threshold unpredictably.
//   Rational  the engine's: e^-2|x| = 2^k e^r with |r| <= ln 2 / 2 and e^r from its
//             degree-5 Pade form P(r) / P(-r), so tanh = (P(-r) - 2^k P(r)) / (P(-r) + 2^k P(r))
//             takes one division in all; within 3e-15 relative of tanh.
//   Series    the engine's curve before the rational one (e^r - 1 from a 13-term series and
//             a division of its own), kept as the reference the output checks compare with.
enum class TanhCurve
{
  Rational,
  Series,
};

// Which form Tanh, TanhPair and TanhMinusBatch use from now on, process-wide; for tests,
// which pick the series to reproduce the engine's earlier output. Set it before engines are
// prepared, as their designs hold tanh values.
void SelectTanhCurve(TanhCurve curve);
TanhCurve SelectedTanhCurve();

inline double TanhSeries(double x)
{
  double a = std::fabs(x);
  a = 20.0 < a ? 20.0 : a; // a NaN stays NaN
  const double m = ExpMinusOne(-2.0 * a);
  return std::copysign(-m / (m + 2.0), x);
}

inline double TanhRational(double x)
{
  double a = std::fabs(x);
  a = 20.0 < a ? 20.0 : a; // a NaN stays NaN
  const auto [r, scale] = SplitLn2(-2.0 * a);
  const double r2 = r * r;
  const double r4 = r2 * r2;
  // P(+-r) = even +- odd.
  const double even = (1.0 + r2 * (1.0 / 9.0)) + r4 * (1.0 / 1008.0);
  const double odd = r * ((0.5 + r2 * (1.0 / 72.0)) + r4 * (1.0 / 30240.0));
  // Grouped as even (1 -+ 2^k) -+ odd (1 +- 2^k), which keeps tanh accurate relative to
  // itself near 0, where 2^k is 1.
  const double below = 1.0 - scale;
  const double above = 1.0 + scale;
  return std::copysign((even * below - odd * above) / (even * above - odd * below), x);
}

namespace tanh_curve_detail {
extern std::atomic<TanhCurve> selected;
}

inline double Tanh(double x)
{
  if (tanh_curve_detail::selected.load(std::memory_order_relaxed) == TanhCurve::Series)
    return TanhSeries(x);
  return TanhRational(x);
}

#if defined(__SSE2__)
// The same operations as the single-value forms on two values at once (the two channels):
// bit for bit what they give for each.
// SplitLn2 on two values: r, with 2^k in `scale`.
inline __m128d SplitLn2Pair(__m128d x, __m128d& scale)
{
  const __m128d roundShift = _mm_set1_pd(6755399441055744.0);
  const __m128d shifted = _mm_add_pd(_mm_mul_pd(x, _mm_set1_pd(1.4426950408889634)), roundShift);
  const __m128d k = _mm_sub_pd(shifted, roundShift);
  const __m128i bits = _mm_sub_epi64(_mm_castpd_si128(shifted), _mm_castpd_si128(roundShift));
  scale = _mm_castsi128_pd(_mm_slli_epi64(_mm_add_epi64(bits, _mm_set1_epi64x(1023)), 52));
  return _mm_sub_pd(_mm_sub_pd(x, _mm_mul_pd(k, _mm_set1_pd(6.93147180369123816490e-01))),
                    _mm_mul_pd(k, _mm_set1_pd(1.90821492927058770002e-10)));
}

inline __m128d ExpMinusOnePair(__m128d x)
{
  __m128d scale;
  const __m128d r = SplitLn2Pair(x, scale);
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
  return _mm_add_pd(_mm_mul_pd(scale, expm1R), _mm_sub_pd(scale, _mm_set1_pd(1.0)));
}

inline __m128d TanhSeriesPair(__m128d x)
{
  const __m128d signBit = _mm_set1_pd(-0.0);
  // minpd keeps its second operand when either is NaN, so a NaN stays NaN.
  const __m128d a = _mm_min_pd(_mm_set1_pd(20.0), _mm_andnot_pd(signBit, x));
  const __m128d m = ExpMinusOnePair(_mm_mul_pd(_mm_set1_pd(-2.0), a));
  const __m128d t = _mm_div_pd(_mm_xor_pd(m, signBit), _mm_add_pd(m, _mm_set1_pd(2.0)));
  return _mm_or_pd(_mm_andnot_pd(signBit, t), _mm_and_pd(signBit, x));
}

inline __m128d TanhRationalPair(__m128d x)
{
  const __m128d signBit = _mm_set1_pd(-0.0);
  const __m128d one = _mm_set1_pd(1.0);
  // minpd keeps its second operand when either is NaN, so a NaN stays NaN.
  const __m128d e = _mm_mul_pd(_mm_set1_pd(-2.0), _mm_min_pd(_mm_set1_pd(20.0), _mm_andnot_pd(signBit, x)));
  __m128d scale;
  const __m128d r = SplitLn2Pair(e, scale);
  const __m128d r2 = _mm_mul_pd(r, r);
  const __m128d r4 = _mm_mul_pd(r2, r2);
  const __m128d even = _mm_add_pd(_mm_add_pd(one, _mm_mul_pd(r2, _mm_set1_pd(1.0 / 9.0))),
                                  _mm_mul_pd(r4, _mm_set1_pd(1.0 / 1008.0)));
  const __m128d odd = _mm_mul_pd(r, _mm_add_pd(_mm_add_pd(_mm_set1_pd(0.5), _mm_mul_pd(r2, _mm_set1_pd(1.0 / 72.0))),
                                               _mm_mul_pd(r4, _mm_set1_pd(1.0 / 30240.0))));
  const __m128d below = _mm_sub_pd(one, scale);
  const __m128d above = _mm_add_pd(one, scale);
  const __m128d t = _mm_div_pd(_mm_sub_pd(_mm_mul_pd(even, below), _mm_mul_pd(odd, above)),
                               _mm_sub_pd(_mm_mul_pd(even, above), _mm_mul_pd(odd, below)));
  return _mm_or_pd(_mm_andnot_pd(signBit, t), _mm_and_pd(signBit, x));
}

inline __m128d TanhPair(__m128d x)
{
  if (tanh_curve_detail::selected.load(std::memory_order_relaxed) == TanhCurve::Series)
    return TanhSeriesPair(x);
  return TanhRationalPair(x);
}
#endif
