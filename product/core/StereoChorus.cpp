#include "product/core/StereoChorus.h"

#include <cmath>
#include <cstdint>

namespace
{
constexpr double kTwoPi = 6.283185307179586476925286766559;
}

void StereoChorus::Prepare(double rate)
{
  mRate = rate;
  for (DelayLine& line : mLines)
    line.Resize(static_cast<int32_t>(0.05 * rate) + 8);
  Reset();
}

void StereoChorus::Free()
{
  for (DelayLine& line : mLines)
    line.Free();
}

void StereoChorus::Reset()
{
  for (DelayLine& line : mLines)
    line.Clear();
  mPhase = 0.0;
  mSweepValid = false;
  mStepValid = false;
}

void StereoChorus::TurnSweep(double rateHz)
{
  if (mSweepValid && rateHz == mStepRate && mStepValid && mTurnsSinceExact < kExactEvery)
  {
    const double s = mSin * mStepCos + mCos * mStepSin;
    mCos = mCos * mStepCos - mSin * mStepSin;
    mSin = s;
    ++mTurnsSinceExact;
    return;
  }
  const double angle = kTwoPi * mPhase;
  mSin = std::sin(angle);
  mCos = std::cos(angle);
  mTurnsSinceExact = 0;
  // While the rate glides every sample is computed afresh; the turn is found once it holds.
  if (mSweepValid && rateHz == mStepRate && !mStepValid)
  {
    const double step = kTwoPi * (rateHz / mRate);
    mStepSin = std::sin(step);
    mStepCos = std::cos(step);
    mStepValid = true;
  }
  else if (rateHz != mStepRate)
  {
    mStepRate = rateHz;
    mStepValid = false;
  }
  mSweepValid = true;
}

void StereoChorus::Process(double& left, double& right, double rateHz, double depthPercent, double wet)
{
  mPhase += rateHz / mRate;
  if (mPhase >= 1.0)
    mPhase -= 1.0;
  // A non-finite sample would come back as not-a-number for as long as it stays in reach.
  mLines[0].Push(std::isfinite(left) ? left : 0.0);
  mLines[1].Push(std::isfinite(right) ? right : 0.0);
  if (wet == 0.0)
  {
    mSweepValid = false;
    return;
  }
  TurnSweep(rateHz);
  // The right sweep runs a quarter cycle ahead: sin(2 pi (phase + 0.25)) is the cosine.
  const double sweep[2] = {mSin, mCos};
  double* channels[2] = {&left, &right};
  for (int c = 0; c < 2; ++c)
  {
    const double delay = (sweep[c] * depthPercent * 0.009 * 0.01 + 0.012) * mRate;
    double& x = *channels[c];
    x += wet * (mLines[c].Read(delay) - x);
  }
}
