#include "product/core/Biquad.h"

namespace
{
// The section's angle for the frequency, clamped to [5 Hz, 0.45 x rate].
void Angle(double frequency, double rate, double& cosW, double& sinW)
{
  const double kPi = 3.14159265358979323846;
  double f = frequency;
  if (f < 5.0)
    f = 5.0;
  if (f > 0.45 * rate)
    f = 0.45 * rate;
  const double w = 2.0 * kPi * f / rate;
  cosW = std::cos(w);
  sinW = std::sin(w);
}

void DesignAtAngle(Biquad& biquad, BiquadType type, double cosW, double sinW, double q, double gainDb)
{
  const double alpha = sinW / (2.0 * q);
  const double A = std::pow(10.0, gainDb / 40.0);

  double b0 = 1.0, b1 = 0.0, b2 = 0.0, a0 = 1.0, a1 = 0.0, a2 = 0.0;
  switch (type)
  {
  case BiquadType::LowPass:
    b0 = (1.0 - cosW) / 2.0;
    b1 = 1.0 - cosW;
    b2 = b0;
    a0 = 1.0 + alpha;
    a1 = -2.0 * cosW;
    a2 = 1.0 - alpha;
    break;
  case BiquadType::HighPass:
    b0 = (1.0 + cosW) / 2.0;
    b1 = -(1.0 + cosW);
    b2 = b0;
    a0 = 1.0 + alpha;
    a1 = -2.0 * cosW;
    a2 = 1.0 - alpha;
    break;
  case BiquadType::Peak:
    b0 = 1.0 + alpha * A;
    b1 = -2.0 * cosW;
    b2 = 1.0 - alpha * A;
    a0 = 1.0 + alpha / A;
    a1 = -2.0 * cosW;
    a2 = 1.0 - alpha / A;
    break;
  case BiquadType::LowShelf:
  {
    const double r = 2.0 * std::sqrt(A) * alpha;
    b0 = A * ((A + 1.0) - (A - 1.0) * cosW + r);
    b1 = 2.0 * A * ((A - 1.0) - (A + 1.0) * cosW);
    b2 = A * ((A + 1.0) - (A - 1.0) * cosW - r);
    a0 = (A + 1.0) + (A - 1.0) * cosW + r;
    a1 = -2.0 * ((A - 1.0) + (A + 1.0) * cosW);
    a2 = (A + 1.0) + (A - 1.0) * cosW - r;
    break;
  }
  case BiquadType::HighShelf:
  {
    const double r = 2.0 * std::sqrt(A) * alpha;
    b0 = A * ((A + 1.0) + (A - 1.0) * cosW + r);
    b1 = -2.0 * A * ((A - 1.0) + (A + 1.0) * cosW);
    b2 = A * ((A + 1.0) + (A - 1.0) * cosW - r);
    a0 = (A + 1.0) - (A - 1.0) * cosW + r;
    a1 = 2.0 * ((A - 1.0) - (A + 1.0) * cosW);
    a2 = (A + 1.0) - (A - 1.0) * cosW - r;
    break;
  }
  }
  biquad.b0 = b0 / a0;
  biquad.b1 = b1 / a0;
  biquad.b2 = b2 / a0;
  biquad.a1 = a1 / a0;
  biquad.a2 = a2 / a0;
}
} // namespace

void DesignBiquad(Biquad& biquad, BiquadType type, double frequency, double q, double gainDb, double rate)
{
  double cosW = 1.0, sinW = 0.0;
  Angle(frequency, rate, cosW, sinW);
  DesignAtAngle(biquad, type, cosW, sinW, q, gainDb);
}

void DesignBiquad(Biquad& biquad, BiquadDesignInputs& last, BiquadType type, double frequency, double q, double gainDb,
                  double rate)
{
  const bool sameAngle = last.rate == rate && last.frequency == frequency;
  if (sameAngle && last.type == type && last.q == q && last.gainDb == gainDb)
    return;
  if (!sameAngle)
    Angle(frequency, rate, last.cosW, last.sinW);
  DesignAtAngle(biquad, type, last.cosW, last.sinW, q, gainDb);
  last.type = type;
  last.frequency = frequency;
  last.q = q;
  last.gainDb = gainDb;
  last.rate = rate;
}
