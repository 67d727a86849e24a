#pragma once

#include "product/core/DelayLine.h"

#include <cstdint>

// The reverb: eight damped delay lines of mutually prime-ish lengths fed back through an
// 8 x 8 Householder matrix (I - 2/8 of the sum), which is orthogonal, so each line's
// gain alone sets the decay time. Even lines take the left input, odd lines the right.
class HouseholderReverb
{
public:
  static constexpr int kLines = 8;

  // Sizes the lines for the largest room (allocates: only while preparing).
  void Prepare(double rate);
  void Free();
  void Reset();
  // Line lengths, feedback gains for a 60 dB decay in decaySeconds, damping.
  void Design(double sizePercent, double decaySeconds, double dampingHz);

  // enabled is the reverb switch (0 ... 1); mix in percent.
  void Process(double& left, double& right, double enabled, double mixPercent);

  double LineLength(int i) const { return mLength[i]; }
  double LineGain(int i) const { return mGain[i]; }

private:
  DelayLine mLines[kLines];
  // Samples in a row that pushed nothing but zeros with every damping state at zero; once
  // that spans the longest line, the reverb holds exact silence.
  int32_t mSilentRun = 0;
  double mRate = 48000.0;
  double mLength[kLines] = {};
  double mGain[kLines] = {};
  double mDampPole = 0.0;
  double mDampState[kLines] = {};
};
