#pragma once

#include <cstdint>

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
