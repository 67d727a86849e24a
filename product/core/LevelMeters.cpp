#include "product/core/LevelMeters.h"

#include <algorithm>
#include <cmath>

namespace
{
double RmsDb(double meanSquare)
{
  return 20.0 * std::log10(std::max(std::sqrt(meanSquare), 1e-6));
}
}

void LevelMeters::Prepare(double sampleRate)
{
  mPole = std::exp(-1.0 / (0.03 * sampleRate));
}

void LevelMeters::Reset()
{
  mInputSquare = mOutputSquare = mLeftSquare = mRightSquare = mLeftRight = 0.0;
}

double LevelMeters::InputRmsDb() const
{
  return RmsDb(mInputSquare);
}

double LevelMeters::OutputRmsDb() const
{
  return RmsDb(mOutputSquare);
}

double LevelMeters::Correlation() const
{
  const double product = mLeftSquare * mRightSquare;
  if (!(product > 1e-24))
    return 0.0;
  return std::clamp(mLeftRight / std::sqrt(product), -1.0, 1.0);
}
