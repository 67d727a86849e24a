#include "product/core/NoiseGate.h"

#include "product/core/DspHelpers.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

// 10^(dB / 20) through e^x, which is far cheaper than pow on every platform.
double DbToGain(double db)
{
  const double kLn10Over20 = 0.11512925464970229;
  return ExpMinusOne(db * kLn10Over20) + 1.0;
}

} // namespace

NoiseGate::NoiseGate()
{
  Reset(-70.0);
  FindOpenEnvelope(0.0);
}

namespace {

bool ReadsAbove(double envelope, double thresholdDb)
{
  return static_cast<float>(LevelDb(envelope)) > thresholdDb;
}

} // namespace

void NoiseGate::FindOpenEnvelope(double thresholdDb)
{
  mThresholdDb = thresholdDb;
  const double largest = std::numeric_limits<double>::max();
  if (ReadsAbove(0.0, thresholdDb) || !ReadsAbove(largest, thresholdDb))
  {
    mOpenEnvelope = ReadsAbove(0.0, thresholdDb) ? 0.0 : std::numeric_limits<double>::infinity();
    return;
  }
  // The reading turns above the threshold where the level passes halfway to the next
  // float; the envelope there is found within a few units in the last place by a power,
  // then exactly by bisection between neighbours that read on either side.
  const float threshold = static_cast<float>(thresholdDb);
  const double halfway = 0.5 * (static_cast<double>(threshold) +
                                static_cast<double>(std::nextafter(threshold, std::numeric_limits<float>::max())));
  const double guess = std::pow(10.0, halfway * 0.05);
  double below = guess * (1.0 - 1e-12);
  double above = std::min(guess * (1.0 + 1e-12), largest);
  if (ReadsAbove(below, thresholdDb) || !ReadsAbove(above, thresholdDb))
  {
    below = 0.0;
    above = largest;
  }
  for (;;)
  {
    const double middle = below + 0.5 * (above - below);
    if (middle <= below || middle >= above)
      break;
    (ReadsAbove(middle, thresholdDb) ? above : below) = middle;
  }
  mOpenEnvelope = above;
}

void NoiseGate::SetCoefficients(double attackMs, double releaseMs, double holdMs, double sampleRate)
{
  mAttackPole = std::exp(-1.0 / (attackMs * 0.001 * sampleRate));
  mReleasePole = std::exp(-1.0 / (releaseMs * 0.001 * sampleRate));
  mHoldLength = holdMs * 0.001 * sampleRate;
}

void NoiseGate::Reset(double gainDb)
{
  mEnvelope = 0.0;
  mHoldCounter = 0.0;
  mGainDb = gainDb;
  mCachedDb = gainDb;
  mCachedGain = DbToGain(gainDb);
}

double NoiseGate::Process(double detector, double thresholdDb, bool enabled, double rangeDb)
{
  const double envelopePole = detector > mEnvelope ? mAttackPole : mReleasePole;
  mEnvelope = FlushTiny((1.0 - envelopePole) * detector + envelopePole * mEnvelope);

  if (thresholdDb != mThresholdDb)
    FindOpenEnvelope(thresholdDb);
  // A not-a-number envelope reads as the floor, like 0.
  const bool above = mOpenEnvelope == 0.0 || mEnvelope >= mOpenEnvelope;
  if (above)
    mHoldCounter = mHoldLength;
  else if (mHoldCounter > 0.0)
    mHoldCounter = mHoldCounter > 1.0 ? mHoldCounter - 1.0 : 0.0;
  const bool open = above || mHoldCounter > 0.0;

  const double target = (enabled && !open) ? -rangeDb : 0.0;
  const double gainPole = mGainDb < target ? mAttackPole : mReleasePole;
  mGainDb += (1.0 - gainPole) * (target - mGainDb);
  if (std::fabs(target - mGainDb) < 1e-9)
    mGainDb = target;

  if (mGainDb != mCachedDb)
  {
    mCachedDb = mGainDb;
    mCachedGain = DbToGain(mGainDb);
  }
  return mCachedGain;
}
