#pragma once

#include "ByteBuffer.h"

#include <climits>
#include <cstdint>
#include <cstring>
#include <type_traits>

namespace pfw {

// A growable array of fixed-size records on a ByteBuffer; count = size / record size.
// Records are copied bytewise, so only trivially copyable types may be stored.
template <typename T>
class GrowArray
{
  static_assert(std::is_trivially_copyable_v<T>, "GrowArray moves its records bytewise");

public:
  explicit GrowArray(int granularity = 128)
    : mBuffer(granularity)
  {
  }

  int GetSize() const { return mBuffer.Size() / static_cast<int>(sizeof(T)); }
  T* Get() const { return static_cast<T*>(mBuffer.Data()); }
  T* Get(int index) const { return index >= 0 && index < GetSize() ? Get() + index : nullptr; }

  // Returns false, changing nothing, when memory fails.
  bool Resize(int count, bool allowShrink = true)
  {
    const int64_t bytes = count < 0 ? 0 : static_cast<int64_t>(count) * static_cast<int64_t>(sizeof(T));
    if (bytes > INT_MAX)
      return false;
    mBuffer.Resize(static_cast<int>(bytes), allowShrink);
    return mBuffer.Size() == bytes;
  }

  // Appends one record; returns a pointer to it, or null when memory fails.
  T* Add(const T& value)
  {
    const int count = GetSize();
    if (!Resize(count + 1, false))
      return nullptr;
    T* slot = Get() + count;
    std::memcpy(static_cast<void*>(slot), &value, sizeof(T));
    return slot;
  }

  bool Delete(int index)
  {
    const int count = GetSize();
    if (index < 0 || index >= count)
      return false;
    T* data = Get();
    std::memmove(static_cast<void*>(data + index), data + index + 1, sizeof(T) * static_cast<size_t>(count - index - 1));
    return Resize(count - 1, false);
  }

  void Clear() { mBuffer.Resize(0, true); }

private:
  ByteBuffer mBuffer;
};

} // namespace pfw
