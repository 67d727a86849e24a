#include "product/core/NoiseGate.h"

#include "product/core/DspHelpers.h"

#include <cmath>

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

  const double level = static_cast<float>(LevelDb(mEnvelope));
  const bool above = level > thresholdDb;
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
