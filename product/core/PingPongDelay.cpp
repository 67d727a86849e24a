#include "product/core/PingPongDelay.h"

#include "product/core/DspHelpers.h"

#include <cmath>
#include <cstdint>

void PingPongDelay::Prepare(double rate)
{
  mRate = rate;
  for (DelayLine& line : mLines)
    line.Resize(static_cast<int32_t>(2.01 * rate) + 8);
  Reset();
}

void PingPongDelay::Free()
{
  for (DelayLine& line : mLines)
    line.Free();
}

void PingPongDelay::Reset()
{
  for (DelayLine& line : mLines)
    line.Clear();
  mToneState[0] = mToneState[1] = 0.0;
  mSilentRun = mLines[0].Length();
}

void PingPongDelay::SetTone(double toneHz)
{
  mTonePole = OnePolePole(toneHz, mRate);
}

void PingPongDelay::Process(double& left, double& right, double timeMs, double feedbackPercent, double mixPercent,
                            double enabled, double pingPong)
{
  // Switched off and silent: both lines would read 0 and push 0, so they may stand still
  // (reads past their fill are 0 as well). Adding 0 is what the wet share would do.
  if (enabled == 0.0 && mSilentRun >= mLines[0].Length())
  {
    left += 0.0;
    right += 0.0;
    return;
  }
  // Read before the push, so a read at d - 1 lands exactly d samples back.
  const double d = timeMs * 0.001 * mRate - 1.0;
  const double feedback = feedbackPercent * 0.01;
  const double pp = pingPong;
  const double wetLeft = OnePoleStep(mToneState[0], mLines[0].Read(d), mTonePole);
  const double wetRight = OnePoleStep(mToneState[1], mLines[1].Read(d), mTonePole);

  double pushLeft = ((left + right) * 0.5 * pp + (1.0 - pp) * left) * enabled +
                    ((1.0 - pp) * wetLeft + pp * wetRight) * feedback;
  double pushRight = (1.0 - pp) * right * enabled + ((1.0 - pp) * wetRight + pp * wetLeft) * feedback;
  if (!std::isfinite(pushLeft + pushRight))
  {
    // An overflowed input would circulate in the feedback for ever: start again empty.
    Reset();
    pushLeft = pushRight = 0.0;
  }
  mLines[0].Push(pushLeft);
  mLines[1].Push(pushRight);
  const bool silent = pushLeft == 0.0 && pushRight == 0.0 && mToneState[0] == 0.0 && mToneState[1] == 0.0;
  mSilentRun = silent ? mSilentRun + (mSilentRun < mLines[0].Length()) : 0;
  left += wetLeft * enabled * mixPercent * 0.01;
  right += wetRight * enabled * mixPercent * 0.01;
}
