#include "product/core/Fft4096.h"

#include <cmath>
#include <utility>

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
  for (int j = 0; j < kSize / 2; ++j)
  {
    mTwiddles[j].re = std::cos(twoPi * j / kSize);
    mTwiddles[j].im = -std::sin(twoPi * j / kSize);
  }
}

void Fft4096::Transform(FftComplex* buffer, bool inverse) const
{
  for (int i = 0; i < kSize; ++i)
  {
    const int j = mBitReversed[i];
    if (j > i)
      std::swap(buffer[i], buffer[j]);
  }
  const double sign = inverse ? -1.0 : 1.0;
  for (int half = 1, stride = kSize / 2; half < kSize; half *= 2, stride /= 2)
  {
    for (int start = 0; start < kSize; start += 2 * half)
    {
      for (int k = 0; k < half; ++k)
      {
        const FftComplex& w = mTwiddles[k * stride];
        const double wIm = sign * w.im;
        FftComplex& a = buffer[start + k];
        FftComplex& b = buffer[start + k + half];
        const double tRe = b.re * w.re - b.im * wIm;
        const double tIm = b.re * wIm + b.im * w.re;
        b.re = a.re - tRe;
        b.im = a.im - tIm;
        a.re += tRe;
        a.im += tIm;
      }
    }
  }
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
