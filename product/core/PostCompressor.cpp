#include "product/core/PostCompressor.h"

#include "product/core/DspHelpers.h"

#include <algorithm>
#include <cmath>

namespace
{
// Below this envelope the level is under -18 dBFS and nothing is reduced; skipping the
// logarithm there keeps quiet passages cheap.
constexpr double kBelowThreshold = 0.1;
// 10^(dB / 20) as an exponential through the engine's own e^x - 1, which is several times
// cheaper than the Windows runtime's exp.
constexpr double kLn10Over20 = 0.11512925464970228;
}

void PostCompressor::Prepare(double rate)
{
  mAttackPole = std::exp(-1.0 / (0.005 * rate));
  mReleasePole = std::exp(-1.0 / (0.12 * rate));
}

void PostCompressor::Reset()
{
  mEnvelope = 0.0;
  mReductionDb = 0.0;
}

double PostCompressor::Process(double left, double right, double amountPercent)
{
  double d = std::max(std::fabs(left), std::fabs(right));
  if (!std::isfinite(d))
    d = 0.0; // an overflowed sample must not stick in the envelope
  const double p = d > mEnvelope ? mAttackPole : mReleasePole;
  mEnvelope = FlushTiny((1.0 - p) * d + p * mEnvelope);
  if (amountPercent == 0.0 || !(mEnvelope > kBelowThreshold))
  {
    mReductionDb = 0.0;
    return 1.0;
  }
  const float level = static_cast<float>(LevelDb(mEnvelope));
  mReductionDb = -std::max(level + 18.0, 0.0) * 0.66 * amountPercent * 0.01;
  return ExpMinusOne(mReductionDb * kLn10Over20) + 1.0;
}
