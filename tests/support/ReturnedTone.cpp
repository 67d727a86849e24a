#include "tests/support/ReturnedTone.h"

#include <algorithm>
#include <cmath>

double ToneAmplitude(const std::vector<double>& x, size_t from, size_t count, double hz, double rate)
{
  const double k = 2.0 * std::cos(2.0 * 3.14159265358979323846 * hz / rate);
  double s1 = 0.0, s2 = 0.0;
  for (size_t i = from; i < from + count; ++i)
  {
    const double s0 = x[i] + k * s1 - s2;
    s2 = s1;
    s1 = s0;
  }
  return 2.0 * std::sqrt(std::max(0.0, s1 * s1 + s2 * s2 - k * s1 * s2)) / count;
}

Stretch CleanestStretch(const std::vector<double>& x, size_t from, double rate)
{
  const size_t window = static_cast<size_t>(rate / 20), step = static_cast<size_t>(rate / 100);
  Stretch best;
  for (size_t at = from; at + window <= x.size(); at += step)
  {
    const double tone = ToneAmplitude(x, at, window, 1000.0, rate);
    if (tone > best.tone)
    {
      best.tone = tone;
      best.elsewhere = ToneAmplitude(x, at, window, 1700.0, rate);
    }
  }
  return best;
}
