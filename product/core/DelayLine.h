#pragma once

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <vector>

// The engine's delay line of doubles: pushed one sample at a time, read at a fractional
// delay with linear interpolation. Storage is sized only by Resize (from Prepare), never
// on the audio thread.
class DelayLine
{
public:
  // Sets the length and zero-fills the line (allocates: call only while preparing).
  void Resize(int32_t length);
  // Releases the storage.
  void Free();
  void Clear();

  void Push(double x)
  {
    if (mLength <= 0)
      return;
    mLine[static_cast<size_t>(mWriteIndex)] = x;
    if (mFillCount < mLength)
      ++mFillCount;
    if (++mWriteIndex == mLength)
      mWriteIndex = 0;
  }

  // The sample written d samples before the newest one (d = 0 is the newest); 0 where
  // the line has not been filled that far yet.
  double Read(double d) const
  {
    // Nearly always the line is full and the delay lies inside it: no clamp, and both
    // neighbours are written samples.
    const double maxDelay = static_cast<double>(mLength - 2);
    if (mFillCount == mLength && d >= 0.0 && d <= maxDelay)
      return Interpolate(d, true);
    // A non-finite delay would survive the clamp and index out of the line: read silence.
    if (mLength < 2 || !std::isfinite(d))
      return 0.0;
    if (d < 0.0)
      d = 0.0;
    if (d > maxDelay)
      d = maxDelay;
    if (d >= static_cast<double>(mFillCount))
      return 0.0;
    return Interpolate(d, d <= static_cast<double>(mFillCount - 1));
  }

  int32_t Length() const { return mLength; }
  int32_t FillCount() const { return mFillCount; }

private:
  // The sample d back, d in [0, length - 2], between its two neighbours; the older one
  // reads 0 unless `olderWritten`.
  double Interpolate(double d, bool olderWritten) const
  {
    const double p = static_cast<double>(mWriteIndex) - 1.0 - d;
    const double base = std::floor(p);
    const double f = p - base;
    // p lies in [-(length - 1), length - 1), so one wrap brings the index into the line.
    int32_t i = static_cast<int32_t>(base);
    if (i < 0)
      i += mLength;
    const int32_t j = (i + 1 == mLength) ? 0 : i + 1;
    const double older = olderWritten ? mLine[static_cast<size_t>(i)] : 0.0;
    return f * mLine[static_cast<size_t>(j)] + (1.0 - f) * older;
  }

  std::vector<double> mLine;
  int32_t mLength = 0;
  int32_t mWriteIndex = 0;
  int32_t mFillCount = 0;
};
