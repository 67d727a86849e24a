#include "IDataChunk.h"

#include <cstddef>

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
  // Bytes from inside this chunk would move with the resize: keep them as an offset.
  const uint8_t* source = static_cast<const uint8_t*>(bytes);
  const uint8_t* before = GetData();
  const bool inside = before && source >= before && source < before + oldSize;
  if (inside && count > oldSize - (source - before))
    return oldSize;
  const std::ptrdiff_t sourceOffset = inside ? source - before : 0;
  uint8_t* data = static_cast<uint8_t*>(mBytes.Resize(oldSize + count, false));
  if (mBytes.Size() != oldSize + count)
    return oldSize;
  std::memcpy(data + oldSize, inside ? data + sourceOffset : source, static_cast<size_t>(count));
  return mBytes.Size();
}

int IDataChunk::PutChunk(const IDataChunk& other)
{
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
