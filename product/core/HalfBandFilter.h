#pragma once

#include <cstdint>
#if defined(__SSE2__)
#include <emmintrin.h>
#endif

// One 2x stage of the oversampler: a 65-tap half-band low-pass and its input history.
// Every other tap except the centre is exactly zero, so only 33 taps are visited, and the
// symmetric pairs share one multiply.
struct HalfBandFilter
{
  static constexpr int kTaps = 65;
  static constexpr int kCentre = 32;

  double taps[kTaps] = {};
  int32_t writeIndex = 0;

  void Clear();

  void Push(double x)
  {
    // The history is stored twice so that the last 65 samples always lie contiguously.
    history[writeIndex] = x;
    history[writeIndex + kTaps] = x;
    if (++writeIndex == kTaps)
      writeIndex = 0;
  }

  // Sum over k of taps[k] x the sample pushed k pushes ago.
  double Convolve() const
  {
    // newest[-k] is the sample pushed k pushes ago.
    const double* newest = history + writeIndex + kTaps - 1;
    double sum = taps[kCentre] * newest[-kCentre];
    for (int i = 1; i <= kCentre; i += 2)
      sum += taps[kCentre + i] * (newest[-(kCentre - i)] + newest[-(kCentre + i)]);
    return sum;
  }

  // Convolve for a history that holds zeros at every odd distance from the newest sample
  // (a zero-stuffed input right after a real sample): only the centre tap meets a
  // non-zero sample.
  double ConvolveCentre() const { return taps[kCentre] * history[writeIndex + kTaps - 1 - kCentre]; }

private:
  double history[2 * kTaps] = {};
};

// Fills the taps with the windowed half-band design and clears the history.
void DesignHalfBand(HalfBandFilter& filter);

// Two cascaded 2x stages: base rate to 4x (up) or 4x to base rate (down).
struct HalfBandPair
{
  HalfBandFilter first;
  HalfBandFilter second;

  void Design()
  {
    DesignHalfBand(first);
    DesignHalfBand(second);
  }

  void Clear()
  {
    first.Clear();
    second.Clear();
  }
};

// One base-rate sample into four samples at 4x; unit gain at 0 Hz.
// Both stages see zero-stuffed input (a sample, then 0), so after each real sample only the
// centre tap meets a non-zero value; the skipped products are exact zeros.
inline void UpSample(HalfBandPair& pair, double x, double out[4])
{
  for (int p = 0; p < 2; ++p)
  {
    pair.first.Push(p == 0 ? x : 0.0);
    const double y = p == 0 ? pair.first.ConvolveCentre() : pair.first.Convolve();
    pair.second.Push(2.0 * y);
    out[2 * p] = 2.0 * pair.second.ConvolveCentre();
    pair.second.Push(0.0);
    out[2 * p + 1] = 2.0 * pair.second.Convolve();
  }
}

// Four samples at 4x into one base-rate sample.
inline double DownSample(HalfBandPair& pair, const double in[4])
{
  pair.first.Push(in[0]);
  const double r1 = pair.first.Convolve();
  pair.first.Push(in[1]);
  pair.second.Push(r1);
  const double out = pair.second.Convolve();
  pair.first.Push(in[2]);
  const double r2 = pair.first.Convolve();
  pair.first.Push(in[3]);
  pair.second.Push(r2);
  return out;
}

// Both channels through the same 2x stage at once: every history slot holds the left and the
// right sample, and each lane runs exactly the sums of HalfBandFilter in the same order, so
// the results are those of two separate filters bit for bit.
struct StereoHalfBandFilter
{
  static constexpr int kTaps = HalfBandFilter::kTaps;
  static constexpr int kCentre = HalfBandFilter::kCentre;

  double taps[kTaps] = {};
  int32_t writeIndex = 0;

  // Takes the taps of the mono design and clears the history.
  void Design();
  void Clear();

  void Push(const double x[2])
  {
    for (int ch = 0; ch < 2; ++ch)
    {
      history[writeIndex][ch] = x[ch];
      history[writeIndex + kTaps][ch] = x[ch];
    }
    if (++writeIndex == kTaps)
      writeIndex = 0;
  }

  void Convolve(double out[2]) const
  {
    const double(*newest)[2] = history + writeIndex + kTaps - 1;
#if defined(__SSE2__)
    __m128d sum = _mm_mul_pd(_mm_set1_pd(taps[kCentre]), _mm_loadu_pd(newest[-kCentre]));
    for (int i = 1; i <= kCentre; i += 2)
    {
      const __m128d pair = _mm_add_pd(_mm_loadu_pd(newest[-(kCentre - i)]), _mm_loadu_pd(newest[-(kCentre + i)]));
      sum = _mm_add_pd(sum, _mm_mul_pd(_mm_set1_pd(taps[kCentre + i]), pair));
    }
    _mm_storeu_pd(out, sum);
#else
    for (int ch = 0; ch < 2; ++ch)
    {
      double sum = taps[kCentre] * newest[-kCentre][ch];
      for (int i = 1; i <= kCentre; i += 2)
        sum += taps[kCentre + i] * (newest[-(kCentre - i)][ch] + newest[-(kCentre + i)][ch]);
      out[ch] = sum;
    }
#endif
  }

  void ConvolveCentre(double out[2]) const
  {
    const double* centre = history[writeIndex + kTaps - 1 - kCentre];
    for (int ch = 0; ch < 2; ++ch)
      out[ch] = taps[kCentre] * centre[ch];
  }

private:
  double history[2 * kTaps][2] = {};
};

// UpSample and DownSample of HalfBandPair for both channels at once.
struct StereoHalfBandPair
{
  StereoHalfBandFilter first;
  StereoHalfBandFilter second;

  void Design()
  {
    first.Design();
    second.Design();
  }

  void Clear()
  {
    first.Clear();
    second.Clear();
  }
};

// x[ch] into out[ch][0..3], as UpSample per channel.
inline void UpSampleStereo(StereoHalfBandPair& pair, const double x[2], double out[2][4])
{
  const double zero[2] = {0.0, 0.0};
  for (int p = 0; p < 2; ++p)
  {
    pair.first.Push(p == 0 ? x : zero);
    double y[2];
    if (p == 0)
      pair.first.ConvolveCentre(y);
    else
      pair.first.Convolve(y);
    const double doubled[2] = {2.0 * y[0], 2.0 * y[1]};
    pair.second.Push(doubled);
    double r[2];
    pair.second.ConvolveCentre(r);
    out[0][2 * p] = 2.0 * r[0];
    out[1][2 * p] = 2.0 * r[1];
    pair.second.Push(zero);
    pair.second.Convolve(r);
    out[0][2 * p + 1] = 2.0 * r[0];
    out[1][2 * p + 1] = 2.0 * r[1];
  }
}

// in[ch][0..3] into out[ch], as DownSample per channel.
inline void DownSampleStereo(StereoHalfBandPair& pair, const double in[2][4], double out[2])
{
  double r[2];
  const double in0[2] = {in[0][0], in[1][0]};
  pair.first.Push(in0);
  pair.first.Convolve(r);
  const double in1[2] = {in[0][1], in[1][1]};
  pair.first.Push(in1);
  pair.second.Push(r);
  pair.second.Convolve(out);
  const double in2[2] = {in[0][2], in[1][2]};
  pair.first.Push(in2);
  pair.first.Convolve(r);
  const double in3[2] = {in[0][3], in[1][3]};
  pair.first.Push(in3);
  pair.second.Push(r);
}
