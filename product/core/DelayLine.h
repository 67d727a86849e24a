#pragma once

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
  double Read(double d) const;

  int32_t Length() const { return mLength; }
  int32_t FillCount() const { return mFillCount; }

private:
  std::vector<double> mLine;
  int32_t mLength = 0;
  int32_t mWriteIndex = 0;
  int32_t mFillCount = 0;
};
