#pragma once

#include "product/core/DelayLine.h"

#include <cstdint>

// The echo: one line per channel with a one-pole tone filter on each return. With
// ping-pong on, the right line gets no dry input and each line is fed from the other's
// return, so the repeats alternate between the sides.
class PingPongDelay
{
public:
  // Sizes the lines for up to two seconds (allocates: only while preparing).
  void Prepare(double rate);
  void Free();
  void Reset();
  void SetTone(double toneHz);

  // enabled is the delay switch (0 ... 1), pingPong the ping-pong smoother, feedback and
  // mix in percent. The lines always run, so a switched-off echo still rings out.
  void Process(double& left, double& right, double timeMs, double feedbackPercent, double mixPercent, double enabled,
               double pingPong);

private:
  DelayLine mLines[2];
  // Samples in a row that pushed only zeros with both tone states at zero; once that spans
  // the lines, the echo holds exact silence.
  int32_t mSilentRun = 0;
  double mRate = 48000.0;
  double mTonePole = 0.0;
  double mToneState[2] = {0.0, 0.0};
};
