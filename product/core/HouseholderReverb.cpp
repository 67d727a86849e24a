#include "product/core/HouseholderReverb.h"

#include "product/core/DspHelpers.h"

#include <cmath>
#include <cstdint>

namespace
{
constexpr double kBaseSeconds[HouseholderReverb::kLines] = {0.0297, 0.0371, 0.0411, 0.0437,
                                                            0.0313, 0.0397, 0.0473, 0.0531};
// Output signs: lines 0, 3 and 6 are inverted so the two sides decorrelate.
constexpr double kOutputSign[HouseholderReverb::kLines] = {-1.0, 1.0, 1.0, -1.0, 1.0, 1.0, -1.0, 1.0};
}

void HouseholderReverb::Prepare(double rate)
{
  mRate = rate;
  for (DelayLine& line : mLines)
    line.Resize(static_cast<int32_t>(0.12 * rate) + 8);
  Reset();
}

void HouseholderReverb::Free()
{
  for (DelayLine& line : mLines)
    line.Free();
}

void HouseholderReverb::Reset()
{
  for (int i = 0; i < kLines; ++i)
  {
    mLines[i].Clear();
    mDampState[i] = 0.0;
  }
  mSilentRun = mLines[0].Length();
}

void HouseholderReverb::Design(double sizePercent, double decaySeconds, double dampingHz)
{
  const double scale = sizePercent * 1.2 * 0.01 + 0.6;
  for (int i = 0; i < kLines; ++i)
  {
    mLength[i] = scale * kBaseSeconds[i] * mRate;
    mGain[i] = std::pow(0.001, mLength[i] / (decaySeconds * mRate));
  }
  mDampPole = OnePolePole(dampingHz, mRate);
}

void HouseholderReverb::Process(double& left, double& right, double enabled, double mixPercent)
{
  // Switched off and silent: every line would read 0 and push 0, so they may stand still
  // (reads past their fill are 0 as well). Adding 0 is what the wet sum would do.
  if (enabled == 0.0 && mSilentRun >= mLines[0].Length())
  {
    left += 0.0;
    right += 0.0;
    return;
  }
  double y[kLines];
  double sum = 0.0;
  for (int i = 0; i < kLines; ++i)
  {
    y[i] = OnePoleStep(mDampState[i], mLines[i].Read(mLength[i] - 1.0), mDampPole);
    sum += y[i];
  }
  const double feedIn[2] = {left * enabled * 0.22, right * enabled * 0.22};
  double push[kLines];
  double pushSum = 0.0;
  double wet[2] = {0.0, 0.0};
  for (int i = 0; i < kLines; ++i)
  {
    push[i] = (y[i] - 0.25 * sum) * mGain[i] + feedIn[i & 1];
    pushSum += push[i];
    wet[i & 1] += kOutputSign[i] * y[i];
  }
  if (!std::isfinite(pushSum))
  {
    // An overflowed input would circulate in the feedback for ever: start again empty.
    Reset();
    for (double& p : push)
      p = 0.0;
  }
  bool silent = true;
  for (int i = 0; i < kLines; ++i)
  {
    mLines[i].Push(push[i]);
    silent = silent && push[i] == 0.0 && mDampState[i] == 0.0;
  }
  mSilentRun = silent ? mSilentRun + (mSilentRun < mLines[0].Length()) : 0;
  const double amount = enabled * mixPercent * 0.01;
  left += 0.5 * wet[0] * amount;
  right += 0.5 * wet[1] * amount;
}
