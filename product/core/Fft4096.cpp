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

// The passes after the first radix-4 one, one complex value per register.
void PairPasses(FftComplex* buffer, const FftComplex* passTwiddles, bool inverse)
{
#if defined(__SSE2__)
  // One complex value per register (re low, im high). t = b w is formed as
  // (b.re w.re + -(b.im w.im), b.im w.re + b.re w.im): the same products and sums as the
  // scalar form, so the results are identical bit for bit.
  const __m128d conjugate = _mm_set_pd(inverse ? -1.0 : 1.0, 1.0);
  const __m128d negateLow = _mm_set_pd(0.0, -0.0);
  for (int half = 4; half < Fft4096::kSize; half *= 2)
  {
    const FftComplex* twiddles = passTwiddles + half - 4;
    for (int start = 0; start < Fft4096::kSize; start += 2 * half)
    {
      double* a = &buffer[start].re;
      double* b = a + 2 * half;
      for (int k = 0; k < half; ++k)
      {
        const __m128d w = _mm_mul_pd(_mm_loadu_pd(&twiddles[k].re), conjugate);
        const __m128d wRe = _mm_unpacklo_pd(w, w);
        const __m128d wIm = _mm_xor_pd(_mm_unpackhi_pd(w, w), negateLow);
        const __m128d bk = _mm_loadu_pd(b + 2 * k);
        const __m128d swapped = _mm_shuffle_pd(bk, bk, 1);
        const __m128d t = _mm_add_pd(_mm_mul_pd(bk, wRe), _mm_mul_pd(swapped, wIm));
        const __m128d ak = _mm_loadu_pd(a + 2 * k);
        _mm_storeu_pd(b + 2 * k, _mm_sub_pd(ak, t));
        _mm_storeu_pd(a + 2 * k, _mm_add_pd(ak, t));
      }
    }
  }
#else
  const double sign = inverse ? -1.0 : 1.0;
  for (int half = 4; half < Fft4096::kSize; half *= 2)
  {
    const FftComplex* twiddles = passTwiddles + half - 4;
    for (int start = 0; start < Fft4096::kSize; start += 2 * half)
    {
      FftComplex* a = buffer + start;
      FftComplex* b = a + half;
      for (int k = 0; k < half; ++k)
      {
        const double wRe = twiddles[k].re;
        const double wIm = sign * twiddles[k].im;
        const double tRe = b[k].re * wRe - b[k].im * wIm;
        const double tIm = b[k].re * wIm + b[k].im * wRe;
        b[k].re = a[k].re - tRe;
        b[k].im = a[k].im - tIm;
        a[k].re += tRe;
        a[k].im += tIm;
      }
    }
  }
#endif
}

#if defined(TARNWICK_FFT_QUADS)
// The passes after the first radix-4 one with two complex values per register: per value
// exactly the operations of PairPasses (no fused multiply-adds).
__attribute__((target("avx2"))) void QuadPasses(FftComplex* buffer, const FftComplex* passTwiddles, bool inverse)
{
  const __m256d conjugate = _mm256_set_pd(inverse ? -1.0 : 1.0, 1.0, inverse ? -1.0 : 1.0, 1.0);
  const __m256d negateLow = _mm256_set_pd(0.0, -0.0, 0.0, -0.0);
  for (int half = 4; half < Fft4096::kSize; half *= 2)
  {
    const FftComplex* twiddles = passTwiddles + half - 4;
    for (int start = 0; start < Fft4096::kSize; start += 2 * half)
    {
      double* a = &buffer[start].re;
      double* b = a + 2 * half;
      for (int k = 0; k < half; k += 2)
      {
        const __m256d w = _mm256_mul_pd(_mm256_loadu_pd(&twiddles[k].re), conjugate);
        const __m256d wRe = _mm256_unpacklo_pd(w, w);
        const __m256d wIm = _mm256_xor_pd(_mm256_unpackhi_pd(w, w), negateLow);
        const __m256d bk = _mm256_loadu_pd(b + 2 * k);
        const __m256d swapped = _mm256_permute_pd(bk, 5);
        const __m256d t = _mm256_add_pd(_mm256_mul_pd(bk, wRe), _mm256_mul_pd(swapped, wIm));
        const __m256d ak = _mm256_loadu_pd(a + 2 * k);
        _mm256_storeu_pd(b + 2 * k, _mm256_sub_pd(ak, t));
        _mm256_storeu_pd(a + 2 * k, _mm256_add_pd(ak, t));
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

void Fft4096::Transform(FftComplex* buffer, bool inverse, bool quads) const
{
  for (int i = 0; i < kSize; ++i)
  {
    const int j = mBitReversed[i];
    if (j > i)
      std::swap(buffer[i], buffer[j]);
  }

  // The first two passes need no multiplications (twiddles 1 and -i, or +i inverse), so
  // they run together as one radix-4 pass.
  const double turn = inverse ? -1.0 : 1.0;
  for (int start = 0; start < kSize; start += 4)
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
