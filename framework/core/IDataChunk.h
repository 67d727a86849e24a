#pragma once

#include "ByteBuffer.h"

#include <cstdint>
#include <cstring>
#include <type_traits>

namespace pfw {

// The byte stream of persisted state. Writers append raw little-endian values at the end
// and return the new size; readers take a value at a byte position and return the next
// position, or -1 when the data is short or the position is bad.
class IDataChunk
{
public:
  IDataChunk()
    : mBytes(4096)
  {
  }
  IDataChunk(const IDataChunk&) = delete;
  IDataChunk& operator=(const IDataChunk&) = delete;

  int Size() const { return mBytes.Size(); }
  const uint8_t* GetData() const { return static_cast<const uint8_t*>(mBytes.Data()); }
  uint8_t* GetData() { return static_cast<uint8_t*>(mBytes.Data()); }

  // Appends raw bytes; returns the new size, which is unchanged when memory fails.
  int PutBytes(const void* bytes, int count);
  int PutChunk(const IDataChunk& other);

  template <typename T>
  int Put(const T& value)
  {
    static_assert(std::is_arithmetic_v<T>, "only raw numbers are stored");
    return PutBytes(&value, static_cast<int>(sizeof(T)));
  }

  int GetBytes(void* destination, int count, int position) const;

  template <typename T>
  int Get(T& value, int position) const
  {
    static_assert(std::is_arithmetic_v<T>, "only raw numbers are read");
    return GetBytes(&value, static_cast<int>(sizeof(T)), position);
  }

  // Empties the chunk; shrinking is allowed so that a reused chunk gives memory back.
  void Clear() { mBytes.Resize(0, true); }

private:
  ByteBuffer mBytes;
};

} // namespace pfw
