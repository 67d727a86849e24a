#pragma once

#include <cmath>

// Small numeric helpers shared by every stage of the amp engine.

// States this small only cost time (denormal arithmetic) and carry no audible signal.
inline double FlushTiny(double x)
{
  return std::fabs(x) < 1e-25 ? 0.0 : x;
}

// Pole of a one-pole low-pass at frequency f for the given rate.
inline double OnePolePole(double frequency, double rate)
{
  const double kPi = 3.14159265358979323846;
  double f = frequency;
  if (f < 1.0)
    f = 1.0;
  if (f > 0.45 * rate)
    f = 0.45 * rate;
  return std::exp(-2.0 * kPi * f / rate);
}

// One step of a one-pole low-pass y = (1 - p) x + p y; returns the new (flushed) state.
inline double OnePoleStep(double& state, double x, double pole)
{
  state = FlushTiny((1.0 - pole) * x + pole * state);
  return state;
}

// Host samples are floats: a non-finite value becomes silence, anything else stays in
// float range so later float stores cannot overflow.
inline double SanitizeSample(double x)
{
  if (!std::isfinite(x))
    return 0.0;
  const double kFloatMax = 3.4028234663852886e38;
  if (x > kFloatMax)
    return kFloatMax;
  if (x < -kFloatMax)
    return -kFloatMax;
  return x;
}

// tanh to within about 5e-16 relative and several times faster than the library's: below
// 0.25 its Taylor series to the x^21 term (the next term is below 1e-16 of the sum); above,
// one exp, where (1 - t) / (1 + t) loses at most a few bits. Exactly odd, so a shaped bias
// cancels exactly.
inline double Tanh(double x)
{
  const double a = std::fabs(x);
  if (a < 0.25)
  {
    const double z = x * x;
    double p = 18888466084.0 / 194896477400625.0;
    p = p * z - 443861162.0 / 1856156927625.0;
    p = p * z + 6404582.0 / 10854718875.0;
    p = p * z - 929569.0 / 638512875.0;
    p = p * z + 21844.0 / 6081075.0;
    p = p * z - 1382.0 / 155925.0;
    p = p * z + 62.0 / 2835.0;
    p = p * z - 17.0 / 315.0;
    p = p * z + 2.0 / 15.0;
    p = p * z - 1.0 / 3.0;
    return x + x * z * p;
  }
  if (a > 20.0)
    return std::copysign(1.0, x);
  const double t = std::exp(-2.0 * a);
  return std::copysign((1.0 - t) / (1.0 + t), x);
}

// Level in dB with the -120 dB floor used by every reading.
inline double LevelDb(double x)
{
  return 20.0 * std::log10(x > 1e-6 ? x : 1e-6);
}
