#pragma once

// Little-endian decoding of stored records, done here by hand, not with the product's
// reader, so that the tests check the layout itself.

#include <cstdint>
#include <cstring>

inline int32_t Int32At(const uint8_t* bytes, int offset)
{
  uint32_t bits = 0;
  for (int b = 0; b < 4; ++b)
    bits |= static_cast<uint32_t>(bytes[offset + b]) << (8 * b);
  return static_cast<int32_t>(bits);
}

inline float FloatAt(const uint8_t* bytes, int offset)
{
  const uint32_t bits = static_cast<uint32_t>(Int32At(bytes, offset));
  float value;
  std::memcpy(&value, &bits, 4);
  return value;
}
