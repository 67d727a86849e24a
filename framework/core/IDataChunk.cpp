#include "IDataChunk.h"

namespace pfw {

// Values are stored as the machine's raw bytes; both targets are little-endian.
static_assert(__BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__, "state chunks are little-endian");

int IDataChunk::PutBytes(const void* bytes, int count)
{
  const int oldSize = mBytes.Size();
  if (count <= 0 || !bytes)
    return oldSize;
  if (count > INT32_MAX - oldSize)
    return oldSize;
  uint8_t* data = static_cast<uint8_t*>(mBytes.Resize(oldSize + count, false));
  if (mBytes.Size() != oldSize + count)
    return oldSize;
  std::memcpy(data + oldSize, bytes, static_cast<size_t>(count));
  return mBytes.Size();
}

int IDataChunk::PutChunk(const IDataChunk& other)
{
  if (&other == this)
  {
    // Appending a chunk to itself: the source would move with the resize.
    const int size = Size();
    if (size == 0 || size > INT32_MAX - size)
      return size;
    uint8_t* data = static_cast<uint8_t*>(mBytes.Resize(size * 2, false));
    if (mBytes.Size() != size * 2)
      return size;
    std::memcpy(data + size, data, static_cast<size_t>(size));
    return mBytes.Size();
  }
  return PutBytes(other.GetData(), other.Size());
}

int IDataChunk::GetBytes(void* destination, int count, int position) const
{
  // Written so that neither a negative position nor a huge count can overflow the check.
  if (position < 0 || count < 0 || position > Size() || count > Size() - position)
    return -1;
  if (count > 0)
    std::memcpy(destination, GetData() + position, static_cast<size_t>(count));
  return position + count;
}

} // namespace pfw
