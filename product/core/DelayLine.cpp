#include "product/core/DelayLine.h"

#include <cmath>

void DelayLine::Resize(int32_t length)
{
  if (length < 0)
    length = 0;
  mLine.assign(static_cast<size_t>(length), 0.0);
  mLength = length;
  mWriteIndex = 0;
  mFillCount = 0;
}

void DelayLine::Free()
{
  std::vector<double>().swap(mLine);
  mLength = 0;
  mWriteIndex = 0;
  mFillCount = 0;
}

void DelayLine::Clear()
{
  for (double& sample : mLine)
    sample = 0.0;
  mWriteIndex = 0;
  mFillCount = 0;
}

double DelayLine::Read(double d) const
{
  // A non-finite delay would survive the clamp and index out of the line: read silence.
  if (mLength < 2 || !std::isfinite(d))
    return 0.0;
  const double maxDelay = static_cast<double>(mLength - 2);
  if (d < 0.0)
    d = 0.0;
  if (d > maxDelay)
    d = maxDelay;
  if (d >= static_cast<double>(mFillCount))
    return 0.0;
  const double p = static_cast<double>(mWriteIndex) - 1.0 - d;
  const double base = std::floor(p);
  const double f = p - base;
  int32_t i = static_cast<int32_t>(base) % mLength;
  if (i < 0)
    i += mLength;
  const int32_t j = (i + 1 == mLength) ? 0 : i + 1;
  const double older = (d > static_cast<double>(mFillCount - 1)) ? 0.0 : mLine[static_cast<size_t>(i)];
  return f * mLine[static_cast<size_t>(j)] + (1.0 - f) * older;
}
