#include "product/core/WaveformTrace.h"

#include <algorithm>

void WaveformTrace::Prepare(double sampleRate)
{
  mDecimation = std::max(1, static_cast<int>(sampleRate / 12000.0));
}

void WaveformTrace::Reset()
{
  std::fill(mInput, mInput + kDisplayPoints, 0.0f);
  std::fill(mOutput, mOutput + kDisplayPoints, 0.0f);
  mSinceWrite = 0;
  mWriteIndex = 0;
}
