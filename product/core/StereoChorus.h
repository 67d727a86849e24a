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
  // The sweep's sine and cosine are carried by a phasor turned one step per sample; they
  // are computed afresh this often, when the rate moves and when the chorus comes back on,
  // so the rounding the turns gather stays near 1e-14.
  static constexpr int kExactEvery = 64;

  void TurnSweep(double rateHz);

  DelayLine mLines[2];
  double mRate = 48000.0;
  double mPhase = 0.0;
  // sin and cos of 2 pi mPhase; valid only while the chorus is heard.
  double mSin = 0.0;
  double mCos = 1.0;
  bool mSweepValid = false;
  int mTurnsSinceExact = 0;
  // The turn of one sample at mStepRate; valid only when mStepValid.
  double mStepSin = 0.0;
  double mStepCos = 1.0;
  double mStepRate = 0.0;
  bool mStepValid = false;
};
