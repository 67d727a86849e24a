#include "product/core/Fft4096.h"

#include <cmath>
#if defined(__SSE2__)
#include <emmintrin.h>
#endif
#if defined(__SSE2__) && (defined(__GNUC__) || defined(__clang__))
#include <immintrin.h>
#define TARNWICK_FFT_QUADS 1
#endif
#include <utility>

namespace {

// The passes after the first radix-4 one run two at a time: the passes whose butterflies
// span `half` and 2 `half` points take four values a quarter block apart, and each value
// goes through both passes before it is stored again, which halves the trips through
// memory. Every value meets exactly the products and sums of one pass after the other,
// so the results are the same bit for bit.
static_assert(Fft4096::kSize == 4 << 10, "the passes after the first pair up exactly");

// The first two passes need no multiplications (twiddles 1 and -i, or +i inverse), so
// they run together as one radix-4 pass.
void FirstTwoPasses(FftComplex* buffer, bool inverse)
{
  const double turn = inverse ? -1.0 : 1.0;
#if defined(__SSE2__)
  // The same sums and differences one complex value per register; (x2 - x3) times -i is
  // its swapped halves times (turn, -turn), the products of the scalar form.
  const __m128d rotate = _mm_set_pd(-turn, turn);
  for (int start = 0; start < Fft4096::kSize; start += 4)
  {
    double* x = &buffer[start].re;
    const __m128d x0 = _mm_loadu_pd(x);
    const __m128d x1 = _mm_loadu_pd(x + 2);
    const __m128d x2 = _mm_loadu_pd(x + 4);
    const __m128d x3 = _mm_loadu_pd(x + 6);
    const __m128d s0 = _mm_add_pd(x0, x1);
    const __m128d d0 = _mm_sub_pd(x0, x1);
    const __m128d s1 = _mm_add_pd(x2, x3);
    const __m128d difference = _mm_sub_pd(x2, x3);
    const __m128d d1 = _mm_mul_pd(_mm_shuffle_pd(difference, difference, 1), rotate);
    _mm_storeu_pd(x, _mm_add_pd(s0, s1));
    _mm_storeu_pd(x + 4, _mm_sub_pd(s0, s1));
    _mm_storeu_pd(x + 2, _mm_add_pd(d0, d1));
    _mm_storeu_pd(x + 6, _mm_sub_pd(d0, d1));
  }
#else
  for (int start = 0; start < Fft4096::kSize; start += 4)
  {
    FftComplex* x = buffer + start;
    const FftComplex s0{x[0].re + x[1].re, x[0].im + x[1].im};
    const FftComplex d0{x[0].re - x[1].re, x[0].im - x[1].im};
    const FftComplex s1{x[2].re + x[3].re, x[2].im + x[3].im};
    // (x2 - x3) times -i forward, +i inverse.
    const FftComplex d1{turn * (x[2].im - x[3].im), -turn * (x[2].re - x[3].re)};
    x[0] = {s0.re + s1.re, s0.im + s1.im};
    x[2] = {s0.re - s1.re, s0.im - s1.im};
    x[1] = {d0.re + d1.re, d0.im + d1.im};
    x[3] = {d0.re - d1.re, d0.im - d1.im};
  }
#endif
}

#if defined(__SSE2__)
// One butterfly with one complex value per register (re low, im high): t = b w is formed
// as (b.re w.re + -(b.im w.im), b.im w.re + b.re w.im), the products and sums of the
// scalar form.
inline void PairButterfly(__m128d& a, __m128d& b, const FftComplex& twiddle, __m128d conjugate)
{
  const __m128d negateLow = _mm_set_pd(0.0, -0.0);
  const __m128d w = _mm_mul_pd(_mm_loadu_pd(&twiddle.re), conjugate);
  const __m128d wRe = _mm_unpacklo_pd(w, w);
  const __m128d wIm = _mm_xor_pd(_mm_unpackhi_pd(w, w), negateLow);
  const __m128d swapped = _mm_shuffle_pd(b, b, 1);
  const __m128d t = _mm_add_pd(_mm_mul_pd(b, wRe), _mm_mul_pd(swapped, wIm));
  b = _mm_sub_pd(a, t);
  a = _mm_add_pd(a, t);
}

void PairPasses(FftComplex* buffer, const FftComplex* passTwiddles, bool inverse)
{
  const __m128d conjugate = _mm_set_pd(inverse ? -1.0 : 1.0, 1.0);
  for (int half = 4; half < Fft4096::kSize; half *= 4)
  {
    const FftComplex* first = passTwiddles + half - 4;
    const FftComplex* second = passTwiddles + 2 * half - 4;
    for (int start = 0; start < Fft4096::kSize; start += 4 * half)
    {
      double* x = &buffer[start].re;
      for (int k = 0; k < half; ++k)
      {
        double* p = x + 2 * k;
        __m128d x0 = _mm_loadu_pd(p);
        __m128d x1 = _mm_loadu_pd(p + 2 * half);
        __m128d x2 = _mm_loadu_pd(p + 4 * half);
        __m128d x3 = _mm_loadu_pd(p + 6 * half);
        PairButterfly(x0, x1, first[k], conjugate);
        PairButterfly(x2, x3, first[k], conjugate);
        PairButterfly(x0, x2, second[k], conjugate);
        PairButterfly(x1, x3, second[k + half], conjugate);
        _mm_storeu_pd(p, x0);
        _mm_storeu_pd(p + 2 * half, x1);
        _mm_storeu_pd(p + 4 * half, x2);
        _mm_storeu_pd(p + 6 * half, x3);
      }
    }
  }
}
#else
void ScalarButterfly(FftComplex& a, FftComplex& b, const FftComplex& twiddle, double sign)
{
  const double wRe = twiddle.re;
  const double wIm = sign * twiddle.im;
  const double tRe = b.re * wRe - b.im * wIm;
  const double tIm = b.re * wIm + b.im * wRe;
  b.re = a.re - tRe;
  b.im = a.im - tIm;
  a.re += tRe;
  a.im += tIm;
}

void PairPasses(FftComplex* buffer, const FftComplex* passTwiddles, bool inverse)
{
  const double sign = inverse ? -1.0 : 1.0;
  for (int half = 4; half < Fft4096::kSize; half *= 4)
  {
    const FftComplex* first = passTwiddles + half - 4;
    const FftComplex* second = passTwiddles + 2 * half - 4;
    for (int start = 0; start < Fft4096::kSize; start += 4 * half)
    {
      FftComplex* x = buffer + start;
      for (int k = 0; k < half; ++k)
      {
        FftComplex* p = x + k;
        ScalarButterfly(p[0], p[half], first[k], sign);
        ScalarButterfly(p[2 * half], p[3 * half], first[k], sign);
        ScalarButterfly(p[0], p[2 * half], second[k], sign);
        ScalarButterfly(p[half], p[3 * half], second[k + half], sign);
      }
    }
  }
}
#endif

#if defined(TARNWICK_FFT_QUADS)
// PairButterfly on two complex values per register: per value exactly its operations (no
// fused multiply-adds).
__attribute__((target("avx2"))) inline void QuadButterfly(__m256d& a, __m256d& b, const FftComplex* twiddles,
                                                          __m256d conjugate)
{
  const __m256d negateLow = _mm256_set_pd(0.0, -0.0, 0.0, -0.0);
  const __m256d w = _mm256_mul_pd(_mm256_loadu_pd(&twiddles->re), conjugate);
  const __m256d wRe = _mm256_unpacklo_pd(w, w);
  const __m256d wIm = _mm256_xor_pd(_mm256_unpackhi_pd(w, w), negateLow);
  const __m256d swapped = _mm256_permute_pd(b, 5);
  const __m256d t = _mm256_add_pd(_mm256_mul_pd(b, wRe), _mm256_mul_pd(swapped, wIm));
  b = _mm256_sub_pd(a, t);
  a = _mm256_add_pd(a, t);
}

__attribute__((target("avx2"))) void QuadPasses(FftComplex* buffer, const FftComplex* passTwiddles, bool inverse)
{
  const __m256d conjugate = _mm256_set_pd(inverse ? -1.0 : 1.0, 1.0, inverse ? -1.0 : 1.0, 1.0);
  for (int half = 4; half < Fft4096::kSize; half *= 4)
  {
    const FftComplex* first = passTwiddles + half - 4;
    const FftComplex* second = passTwiddles + 2 * half - 4;
    for (int start = 0; start < Fft4096::kSize; start += 4 * half)
    {
      double* x = &buffer[start].re;
      for (int k = 0; k < half; k += 2)
      {
        double* p = x + 2 * k;
        __m256d x0 = _mm256_loadu_pd(p);
        __m256d x1 = _mm256_loadu_pd(p + 2 * half);
        __m256d x2 = _mm256_loadu_pd(p + 4 * half);
        __m256d x3 = _mm256_loadu_pd(p + 6 * half);
        QuadButterfly(x0, x1, first + k, conjugate);
        QuadButterfly(x2, x3, first + k, conjugate);
        QuadButterfly(x0, x2, second + k, conjugate);
        QuadButterfly(x1, x3, second + k + half, conjugate);
        _mm256_storeu_pd(p, x0);
        _mm256_storeu_pd(p + 2 * half, x1);
        _mm256_storeu_pd(p + 4 * half, x2);
        _mm256_storeu_pd(p + 6 * half, x3);
      }
    }
  }
}

#endif

} // namespace

bool Fft4096::QuadsAvailable()
{
#if defined(TARNWICK_FFT_QUADS)
  __builtin_cpu_init();
  return __builtin_cpu_supports("avx2");
#else
  return false;
#endif
}

namespace {
const bool kQuads = Fft4096::QuadsAvailable();
}

Fft4096::Fft4096()
{
  for (int i = 0; i < kSize; ++i)
  {
    int reversed = 0;
    for (int bit = 0; bit < kBits; ++bit)
      if (i & (1 << bit))
        reversed |= 1 << (kBits - 1 - bit);
    mBitReversed[i] = reversed;
  }
  const double twoPi = 6.283185307179586476925286766559;
  for (int half = 4, stride = kSize / 8; half < kSize; half *= 2, stride /= 2)
  {
    for (int k = 0; k < half; ++k)
    {
      const int j = k * stride;
      mPassTwiddles[half - 4 + k] = {std::cos(twoPi * j / kSize), -std::sin(twoPi * j / kSize)};
    }
  }
}

void Fft4096::Transform(FftComplex* buffer, bool inverse) const
{
  Transform(buffer, inverse, kQuads);
}

void Fft4096::TransformBitReversed(FftComplex* buffer, bool inverse) const
{
  Butterflies(buffer, inverse, kQuads);
}

void Fft4096::Transform(FftComplex* buffer, bool inverse, bool quads) const
{
  for (int i = 0; i < kSize; ++i)
  {
    const int j = mBitReversed[i];
    if (j > i)
      std::swap(buffer[i], buffer[j]);
  }
  Butterflies(buffer, inverse, quads);
}

void Fft4096::Butterflies(FftComplex* buffer, bool inverse, bool quads) const
{
  FirstTwoPasses(buffer, inverse);
#if defined(TARNWICK_FFT_QUADS)
  if (quads)
    QuadPasses(buffer, mPassTwiddles, inverse);
  else
    PairPasses(buffer, mPassTwiddles, inverse);
#else
  (void)quads;
  PairPasses(buffer, mPassTwiddles, inverse);
#endif
  if (inverse)
  {
    const double scale = 1.0 / kSize;
    for (int i = 0; i < kSize; ++i)
    {
      buffer[i].re *= scale;
      buffer[i].im *= scale;
    }
  }
}
