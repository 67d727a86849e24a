#pragma once

#include <cstdint>

namespace pfw {

// A growable heap byte buffer, the storage of every growable helper. Growth follows one
// exact rule (see AllocationFor) so that parameter lists, presets, rings and chunks all
// behave alike. Failing allocations never throw: the buffer stays as it was and callers
// compare the size they asked for with the size they got.
class ByteBuffer
{
public:
  explicit ByteBuffer(int granularity);
  ~ByteBuffer();
  ByteBuffer(const ByteBuffer&) = delete;
  ByteBuffer& operator=(const ByteBuffer&) = delete;

  // Returns the data after resizing; null when the new size is 0, or the old data when
  // the allocation failed.
  void* Resize(int newSize, bool allowShrink);

  // Null while the size is 0, even when memory is still reserved.
  void* Data() const { return mSize > 0 ? mData : nullptr; }
  int Size() const { return mSize; }
  int Allocated() const { return mAllocated; }
  int Granularity() const { return mGranularity; }

  // The allocation the growth rule reserves for a size; above INT_MAX it cannot be had.
  static int64_t AllocationFor(int64_t size, int granularity);

private:
  bool Reallocate(int64_t allocation);

  unsigned char* mData = nullptr;
  int mAllocated = 0;
  int mSize = 0;
  const int mGranularity;
};

} // namespace pfw
