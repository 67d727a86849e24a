#include "product/core/HalfBandFilter.h"

#include <cmath>

void HalfBandFilter::Clear()
{
  for (double& sample : history)
    sample = 0.0;
  writeIndex = 0;
}

void DesignHalfBand(HalfBandFilter& filter)
{
  const double kPi = 3.14159265358979323846;
  // The left half is computed and mirrored, so the taps are exactly symmetric (the
  // window's cosines would otherwise differ in the last bit between mirrored points).
  for (int n = 0; n <= HalfBandFilter::kCentre; ++n)
  {
    const int i = n - HalfBandFilter::kCentre;
    double tap = 0.0;
    if (i == 0 || i % 2 != 0)
    {
      const double ideal = (i == 0) ? 0.5 : std::sin(i * kPi / 2.0) / (i * kPi);
      const double window = 0.42 - 0.5 * std::cos(2.0 * kPi * n / 64.0) + 0.08 * std::cos(4.0 * kPi * n / 64.0);
      tap = window * ideal;
    }
    filter.taps[n] = tap;
    filter.taps[HalfBandFilter::kTaps - 1 - n] = tap;
  }
  double sum = 0.0;
  for (double tap : filter.taps)
    sum += tap;
  for (double& tap : filter.taps)
    tap /= sum;
  filter.Clear();
}

void StereoHalfBandFilter::Design()
{
  HalfBandFilter mono;
  DesignHalfBand(mono);
  for (int k = 0; k < kTaps; ++k)
    taps[k] = mono.taps[k];
  Clear();
}

void StereoHalfBandFilter::Clear()
{
  for (auto& slot : history)
    slot[0] = slot[1] = 0.0;
  writeIndex = 0;
}
