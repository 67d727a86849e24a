#pragma once

#include "product/core/DspHelpers.h"

#include <cmath>

// The 5 Hz DC-removal filter at the end of the wet chain: the signal minus its one-pole
// low-pass, faded by the DC switch.
class DcFilter
{
public:
  void Prepare(double rate) { mPole = OnePolePole(5.0, rate); }
  void Reset() { mState[0] = mState[1] = 0.0; }

  double Process(int channel, double y, double enabled)
  {
    double low = OnePoleStep(mState[channel], y, mPole);
    if (!std::isfinite(low))
      low = mState[channel] = 0.0; // an overflowed sample must not stick in the state
    return y - enabled * low;
  }

private:
  double mPole = 0.0;
  double mState[2] = {0.0, 0.0};
};
