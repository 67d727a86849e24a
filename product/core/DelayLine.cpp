#include "product/core/DelayLine.h"


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
