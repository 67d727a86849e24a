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
      history[writeIndex + kRing][ch] = x[ch];
    }
    if (++writeIndex == kRing)
      writeIndex = 0;
  }

  // Convolve as it would have been `back` pushes ago (0: now).
  void Convolve(double out[2], int back = 0) const
  {
    const Slot* newest = Newest(back);
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

  // Convolve of two histories (two filters, or one at two ages) with the two sums
  // interleaved, so that neither waits on the other's chain of additions; each is bit for
  // bit what Convolve gives.
  static void ConvolveBoth(const StereoHalfBandFilter& a, int backA, double outA[2], const StereoHalfBandFilter& b,
                           int backB, double outB[2])
  {
#if defined(__SSE2__)
    const Slot* newestA = a.Newest(backA);
    const Slot* newestB = b.Newest(backB);
    __m128d sumA = _mm_mul_pd(_mm_set1_pd(a.taps[kCentre]), _mm_loadu_pd(newestA[-kCentre]));
    __m128d sumB = _mm_mul_pd(_mm_set1_pd(b.taps[kCentre]), _mm_loadu_pd(newestB[-kCentre]));
    for (int i = 1; i <= kCentre; i += 2)
    {
      const __m128d pairA = _mm_add_pd(_mm_loadu_pd(newestA[-(kCentre - i)]), _mm_loadu_pd(newestA[-(kCentre + i)]));
      const __m128d pairB = _mm_add_pd(_mm_loadu_pd(newestB[-(kCentre - i)]), _mm_loadu_pd(newestB[-(kCentre + i)]));
      sumA = _mm_add_pd(sumA, _mm_mul_pd(_mm_set1_pd(a.taps[kCentre + i]), pairA));
      sumB = _mm_add_pd(sumB, _mm_mul_pd(_mm_set1_pd(b.taps[kCentre + i]), pairB));
    }
    _mm_storeu_pd(outA, sumA);
    _mm_storeu_pd(outB, sumB);
#else
    a.Convolve(outA, backA);
    b.Convolve(outB, backB);
#endif
  }

  void ConvolveCentre(double out[2], int back = 0) const
  {
    const double* centre = Newest(back)[-kCentre];
    for (int ch = 0; ch < 2; ++ch)
      out[ch] = taps[kCentre] * centre[ch];
  }

private:
  using Slot = double[2];

  // The newest sample of the history as it stood `back` (at most kMaxBack) pushes ago:
  // newest[-k] is the sample pushed k pushes before that. The ring keeps kMaxBack samples
  // beyond the taps, and stores every sample twice, kRing apart, so the kTaps samples up to
  // it lie contiguously from one of the copies.
  const Slot* Newest(int back) const
  {
    const int start = writeIndex >= back ? writeIndex - back : writeIndex - back + kRing;
    return history + start + kRing - 1;
  }

  static constexpr int kMaxBack = 2;
  static constexpr int kRing = kTaps + kMaxBack;
  Slot history[2 * kRing] = {};
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

// x[ch] into out[ch][0..3], as UpSample per channel. The first stage takes both of its
// inputs at once, so that its one full sum runs beside the second stage's first.
inline void UpSampleStereo(StereoHalfBandPair& pair, const double x[2], double out[2][4])
{
  const double zero[2] = {0.0, 0.0};
  double y[2], r[2];
  // The first stage's result y into the second stage, whose centre tap alone meets it.
  const auto feedSecond = [&] {
    const double doubled[2] = {2.0 * y[0], 2.0 * y[1]};
    pair.second.Push(doubled);
    pair.second.ConvolveCentre(r);
  };
  const auto emit = [&](int i) {
    out[0][i] = 2.0 * r[0];
    out[1][i] = 2.0 * r[1];
  };
  pair.first.Push(x);
  pair.first.Push(zero);
  pair.first.ConvolveCentre(y, 1);
  feedSecond();
  emit(0);
  pair.second.Push(zero);
  StereoHalfBandFilter::ConvolveBoth(pair.second, 0, r, pair.first, 0, y);
  emit(1);
  feedSecond();
  emit(2);
  pair.second.Push(zero);
  pair.second.Convolve(r);
  emit(3);
}

// in[ch][0..3] into out[ch], as DownSample per channel. The first stage's two sums run side
// by side on the history before and after its third input.
inline void DownSampleStereo(StereoHalfBandPair& pair, const double in[2][4], double out[2])
{
  for (int i = 0; i < 3; ++i)
  {
    const double sample[2] = {in[0][i], in[1][i]};
    pair.first.Push(sample);
  }
  double early[2], late[2];
  StereoHalfBandFilter::ConvolveBoth(pair.first, 2, early, pair.first, 0, late);
  const double in3[2] = {in[0][3], in[1][3]};
  pair.first.Push(in3);
  pair.second.Push(early);
  pair.second.Convolve(out);
  pair.second.Push(late);
}
