#include "ByteBuffer.h"

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <cstring>

namespace pfw {

namespace {
constexpr int64_t kPage = 4096;
constexpr int64_t kHeapOverhead = 96;
constexpr int64_t kMaxSlack = 4194304;
} // namespace

ByteBuffer::ByteBuffer(int granularity)
  : mGranularity(granularity)
{
}

ByteBuffer::~ByteBuffer()
{
  std::free(mData);
}

int64_t ByteBuffer::AllocationFor(int64_t size, int granularity)
{
  // Computed in 64 bits: near INT_MAX the 32-bit sum would wrap to a negative allocation.
  const int64_t extra = std::max<int64_t>(size / 2, granularity);
  if (granularity < static_cast<int>(kPage))
    return size + extra;
  // Large buffers grow in whole pages, counting the heap's own overhead, with bounded slack.
  const int64_t pagedExtra = std::clamp<int64_t>(extra / kPage * kPage, kPage, kMaxSlack);
  return (size + kHeapOverhead + pagedExtra) / kPage * kPage - kHeapOverhead;
}

bool ByteBuffer::Reallocate(int64_t allocation)
{
  if (allocation > INT_MAX)
    return false;
  unsigned char* moved = static_cast<unsigned char*>(std::realloc(mData, static_cast<size_t>(allocation)));
  if (!moved)
  {
    moved = static_cast<unsigned char*>(std::malloc(static_cast<size_t>(allocation)));
    if (!moved)
      return false;
    if (mData)
    {
      std::memcpy(moved, mData, static_cast<size_t>(std::min<int64_t>(allocation, mSize)));
      std::free(mData);
    }
  }
  mData = moved;
  mAllocated = static_cast<int>(allocation);
  return true;
}

void* ByteBuffer::Resize(int newSize, bool allowShrink)
{
  if (newSize < 0)
    newSize = 0;
  if (newSize == mSize)
    return Data();

  int threshold = 0;
  if (allowShrink && newSize < mSize)
  {
    threshold = std::min(mAllocated / 2, mAllocated - 4 * mGranularity);
    if (threshold <= 0)
      threshold = 1;
  }

  if (newSize > mAllocated || newSize < threshold)
  {
    if (newSize == 0)
    {
      std::free(mData);
      mData = nullptr;
      mAllocated = 0;
      mSize = 0;
      return nullptr;
    }
    if (!Reallocate(AllocationFor(newSize, mGranularity)))
      return Data();
  }
  mSize = newSize;
  return Data();
}

} // namespace pfw
