#pragma once

#include "product/core/DisplaySnapshot.h"

// The two waveform traces of the signal display: the mid of the raw input and of the
// output, decimated to about 12 kHz into 256-point rings.
class WaveformTrace
{
public:
  WaveformTrace() { Reset(); }

  void Prepare(double sampleRate);
  void Reset();

  void Feed(double rawLeft, double rawRight, double outLeft, double outRight)
  {
    if (++mSinceWrite < mDecimation)
      return;
    mSinceWrite = 0;
    mInput[mWriteIndex] = static_cast<float>((rawLeft + rawRight) * 0.5);
    mOutput[mWriteIndex] = static_cast<float>((outLeft + outRight) * 0.5);
    mWriteIndex = (mWriteIndex + 1) % kDisplayPoints;
  }

  int Decimation() const { return mDecimation; }
  // The rings and the index of their oldest point.
  const float* InputRing() const { return mInput; }
  const float* OutputRing() const { return mOutput; }
  int OldestIndex() const { return mWriteIndex; }

private:
  int mDecimation = 4;
  int mSinceWrite = 0;
  int mWriteIndex = 0;
  float mInput[kDisplayPoints];
  float mOutput[kDisplayPoints];
};
