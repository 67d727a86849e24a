#include "product/core/TanhBatch.h"

#include "product/core/TanhCurve.h"

#if defined(__SSE2__) && (defined(__GNUC__) || defined(__clang__))
#include <immintrin.h>
#define TARNWICK_TANH_QUADS 1
#endif

namespace {

#if defined(__SSE2__)
// A drive stage's curve argument: s, its even-order lift and the stage's bias,
// ((lift s) s / (s s + 1) + s) + shift, as the single-value form computes it.
__m128d LiftedPair(__m128d s, double lift, double shift)
{
  const __m128d even = _mm_div_pd(_mm_mul_pd(_mm_mul_pd(_mm_set1_pd(lift), s), s),
                                  _mm_add_pd(_mm_mul_pd(s, s), _mm_set1_pd(1.0)));
  return _mm_add_pd(_mm_add_pd(even, s), _mm_set1_pd(shift));
}

template <__m128d (*Curve)(__m128d), bool Lifted>
void PairsWith(const double* x, int count, double lift, double shift, double offset, double* out)
{
  const __m128d subtract = _mm_set1_pd(offset);
  for (int i = 0; i < count; i += 2)
  {
    __m128d v = _mm_loadu_pd(x + i);
    if constexpr (Lifted)
      v = LiftedPair(v, lift, shift);
    _mm_storeu_pd(out + i, _mm_sub_pd(Curve(v), subtract));
  }
}
#endif

template <bool Lifted>
void Pairs(const double* x, int count, double lift, double shift, double offset, double* out)
{
#if defined(__SSE2__)
  if (SelectedTanhCurve() == TanhCurve::Series)
    PairsWith<TanhSeriesPair, Lifted>(x, count, lift, shift, offset, out);
  else
    PairsWith<TanhRationalPair, Lifted>(x, count, lift, shift, offset, out);
#else
  for (int i = 0; i < count; ++i)
  {
    const double s = x[i];
    out[i] = Tanh(Lifted ? lift * s * s / (s * s + 1.0) + s + shift : s) - offset;
  }
#endif
}

#if defined(TARNWICK_TANH_QUADS)
// LiftedPair and TanhRationalPair on four values, operation for operation; one function
// per form, since AVX values cannot cross calls of code built without AVX.
template <bool Lifted>
__attribute__((target("avx2"))) void Quads(const double* x, int count, double lift, double shift, double offset,
                                           double* out)
{
  const __m256d signBit = _mm256_set1_pd(-0.0);
  const __m256d one = _mm256_set1_pd(1.0);
  const __m256d roundShift = _mm256_set1_pd(6755399441055744.0);
  for (int i = 0; i < count; i += 4)
  {
    __m256d v = _mm256_loadu_pd(x + i);
    if constexpr (Lifted)
    {
      const __m256d lifted = _mm256_div_pd(_mm256_mul_pd(_mm256_mul_pd(_mm256_set1_pd(lift), v), v),
                                           _mm256_add_pd(_mm256_mul_pd(v, v), one));
      v = _mm256_add_pd(_mm256_add_pd(lifted, v), _mm256_set1_pd(shift));
    }
    // minpd keeps its second operand when either is NaN, so a NaN stays NaN.
    const __m256d e =
      _mm256_mul_pd(_mm256_set1_pd(-2.0), _mm256_min_pd(_mm256_set1_pd(20.0), _mm256_andnot_pd(signBit, v)));
    const __m256d shifted = _mm256_add_pd(_mm256_mul_pd(e, _mm256_set1_pd(1.4426950408889634)), roundShift);
    const __m256d k = _mm256_sub_pd(shifted, roundShift);
    const __m256d r = _mm256_sub_pd(_mm256_sub_pd(e, _mm256_mul_pd(k, _mm256_set1_pd(6.93147180369123816490e-01))),
                                    _mm256_mul_pd(k, _mm256_set1_pd(1.90821492927058770002e-10)));
    const __m256d r2 = _mm256_mul_pd(r, r);
    const __m256d r4 = _mm256_mul_pd(r2, r2);
    const __m256d even = _mm256_add_pd(_mm256_add_pd(one, _mm256_mul_pd(r2, _mm256_set1_pd(1.0 / 9.0))),
                                       _mm256_mul_pd(r4, _mm256_set1_pd(1.0 / 1008.0)));
    const __m256d odd =
      _mm256_mul_pd(r, _mm256_add_pd(_mm256_add_pd(_mm256_set1_pd(0.5), _mm256_mul_pd(r2, _mm256_set1_pd(1.0 / 72.0))),
                                     _mm256_mul_pd(r4, _mm256_set1_pd(1.0 / 30240.0))));
    const __m256i bits = _mm256_sub_epi64(_mm256_castpd_si256(shifted), _mm256_castpd_si256(roundShift));
    const __m256d scale =
      _mm256_castsi256_pd(_mm256_slli_epi64(_mm256_add_epi64(bits, _mm256_set1_epi64x(1023)), 52));
    const __m256d below = _mm256_sub_pd(one, scale);
    const __m256d above = _mm256_add_pd(one, scale);
    const __m256d t = _mm256_div_pd(_mm256_sub_pd(_mm256_mul_pd(even, below), _mm256_mul_pd(odd, above)),
                                    _mm256_sub_pd(_mm256_mul_pd(even, above), _mm256_mul_pd(odd, below)));
    const __m256d tanh = _mm256_or_pd(_mm256_andnot_pd(signBit, t), _mm256_and_pd(signBit, v));
    _mm256_storeu_pd(out + i, _mm256_sub_pd(tanh, _mm256_set1_pd(offset)));
  }
}
#endif

// Chosen once, before any audio thread can call it (static initialisation of the library).
const bool kQuads = TanhBatchQuadsAvailable();

} // namespace

bool TanhBatchQuadsAvailable()
{
#if defined(TARNWICK_TANH_QUADS)
  __builtin_cpu_init();
  return __builtin_cpu_supports("avx2");
#else
  return false;
#endif
}

void TanhMinusBatch(const double* x, int count, double offset, double* out)
{
  TanhMinusBatchWith(TanhBatchPath::Quads, x, count, offset, out);
}

void TanhMinusBatchWith(TanhBatchPath path, const double* x, int count, double offset, double* out)
{
#if defined(TARNWICK_TANH_QUADS)
  if (path == TanhBatchPath::Quads && kQuads && SelectedTanhCurve() == TanhCurve::Rational)
  {
    Quads<false>(x, count, 0.0, 0.0, offset, out);
    return;
  }
#endif
  Pairs<false>(x, count, 0.0, 0.0, offset, out);
}

void LiftedTanhMinusBatch(const double* s, int count, double lift, double shift, double offset, double* out)
{
  LiftedTanhMinusBatchWith(TanhBatchPath::Quads, s, count, lift, shift, offset, out);
}

void LiftedTanhMinusBatchWith(TanhBatchPath path, const double* s, int count, double lift, double shift, double offset,
                              double* out)
{
#if defined(TARNWICK_TANH_QUADS)
  if (path == TanhBatchPath::Quads && kQuads && SelectedTanhCurve() == TanhCurve::Rational)
  {
    Quads<true>(s, count, lift, shift, offset, out);
    return;
  }
#endif
  Pairs<true>(s, count, lift, shift, offset, out);
}
