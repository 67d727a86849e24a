#pragma once

#include <cstdint>

// One complex value of the engine's FFT work areas.
struct FftComplex
{
  double re = 0.0;
  double im = 0.0;
};

// In-place radix-2 complex FFT of 4096 points with precomputed bit-reversal and
// twiddle tables. The tables are built once at construction so that the transform
// itself never allocates and can run on the audio thread.
class Fft4096
{
public:
  static constexpr int kSize = 4096;
  static constexpr int kBits = 12;

  Fft4096();

  // The inverse uses the conjugate twiddles and scales by 1/4096. Where the processor has
  // AVX2 the butterflies take two values per register; the results are the same bit for bit.
  void Transform(FftComplex* buffer, bool inverse) const;
  // The same for a buffer that holds its input in bit-reversed order already (value i at
  // BitReversed(i)), which spares a caller that fills it a pass through memory.
  void TransformBitReversed(FftComplex* buffer, bool inverse) const;
  int BitReversed(int i) const { return mBitReversed[i]; }
  // With `quads` false the two-value form runs even where AVX2 is there (for tests); with it
  // true, AVX2 must be available.
  void Transform(FftComplex* buffer, bool inverse, bool quads) const;
  static bool QuadsAvailable();

private:
  void Butterflies(FftComplex* buffer, bool inverse, bool quads) const;

  // The twiddles of each pass after the first radix-4 one, laid out in the order the pass
  // reads them: the pass whose butterflies span `half` points reads entries half - 4 to
  // 2 half - 5, so every pass walks its table contiguously instead of with a stride.
  static constexpr int kPassTwiddles = kSize - 4;

  int32_t mBitReversed[kSize];
  FftComplex mPassTwiddles[kPassTwiddles];
};
