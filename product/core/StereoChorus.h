#pragma once

#include "product/core/DelayLine.h"

// Stereo chorus: one modulated fractional delay per channel (12 ms, swept by up to 9 ms),
// the right channel's sweep a quarter cycle ahead of the left.
class StereoChorus
{
public:
  // Sizes the lines (allocates: only while preparing).
  void Prepare(double rate);
  void Free();
  void Reset();

  // wet is the chorus switch times its mix (0 ... 1). The lines always run, so switching
  // the chorus on starts from the signal's recent past, not from silence.
  void Process(double& left, double& right, double rateHz, double depthPercent, double wet);

  double Phase() const { return mPhase; }

private:
  DelayLine mLines[2];
  double mRate = 48000.0;
  double mPhase = 0.0;
};
