#pragma once

#include <cmath>

// Second-order section in transposed direct form II; coefficients are normalised so that
// a0 is 1. A fresh section passes its input unchanged.
struct Biquad
{
  double b0 = 1.0;
  double b1 = 0.0;
  double b2 = 0.0;
  double a1 = 0.0;
  double a2 = 0.0;
  double s1 = 0.0;
  double s2 = 0.0;

  double Process(double x)
  {
    const double y = b0 * x + s1;
    const double n1 = b1 * x - a1 * y + s2;
    const double n2 = b2 * x - a2 * y;
    if (!std::isfinite(y) || !std::isfinite(n1) || !std::isfinite(n2))
    {
      // A blown-up section must not keep ringing: start again from silence.
      s1 = 0.0;
      s2 = 0.0;
      return 0.0;
    }
    s1 = std::fabs(n1) < 1e-25 ? 0.0 : n1;
    s2 = std::fabs(n2) < 1e-25 ? 0.0 : n2;
    return y;
  }

  void ClearState()
  {
    s1 = 0.0;
    s2 = 0.0;
  }

  // Takes another section's coefficients and keeps this one's states.
  void CopyCoefficients(const Biquad& from)
  {
    b0 = from.b0;
    b1 = from.b1;
    b2 = from.b2;
    a1 = from.a1;
    a2 = from.a2;
  }
};

enum class BiquadType
{
  LowPass = 0,
  HighPass = 1,
  Peak = 2,
  LowShelf = 3,
  HighShelf = 4,
};

// Sets the coefficients (the states are left alone) from the audio-equalizer cookbook
// forms. The frequency is clamped to [5 Hz, 0.45 x rate].
void DesignBiquad(Biquad& biquad, BiquadType type, double frequency, double q, double gainDb, double rate);

// The inputs a section was last designed from. A design from the same inputs is skipped,
// and one at the same frequency and rate keeps its sine and cosine: the Windows runtime's
// trigonometry and powers are slow, and a moving knob redesigns often.
struct BiquadDesignInputs
{
  BiquadType type = BiquadType::LowPass;
  double frequency = 0.0;
  double q = 0.0;
  double gainDb = 0.0;
  double rate = 0.0; // 0 until the first design
  double cosW = 1.0;
  double sinW = 0.0;
};

// DesignBiquad for a section whose coefficients come from its last design from `last`.
void DesignBiquad(Biquad& biquad, BiquadDesignInputs& last, BiquadType type, double frequency, double q, double gainDb,
                  double rate);

// Five sections in series: the amplifier's tone network and the post-cabinet equaliser.
struct BiquadBank5
{
  static constexpr int kSections = 5;
  Biquad sections[kSections];

  double Process(double x)
  {
    for (Biquad& section : sections)
      x = section.Process(x);
    return x;
  }

  void ClearState()
  {
    for (Biquad& section : sections)
      section.ClearState();
  }
};
