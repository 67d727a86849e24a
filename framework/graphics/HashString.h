#pragma once

#include <cstddef>
#include <cstdint>

namespace pfw::gui {

// 64-bit FNV-1a over bytes.
inline uint64_t HashBytes(const void* data, size_t size)
{
  uint64_t hash = 0xcbf29ce484222325ULL;
  const unsigned char* bytes = static_cast<const unsigned char*>(data);
  for (size_t i = 0; i < size; ++i)
  {
    hash ^= bytes[i];
    hash *= 0x100000001b3ULL;
  }
  return hash;
}

inline uint64_t HashString(const char* text)
{
  uint64_t hash = 0xcbf29ce484222325ULL;
  for (const unsigned char* c = reinterpret_cast<const unsigned char*>(text); c && *c; ++c)
  {
    hash ^= *c;
    hash *= 0x100000001b3ULL;
  }
  return hash;
}

} // namespace pfw::gui
