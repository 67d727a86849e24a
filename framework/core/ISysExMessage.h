#pragma once

#include <cstdint>

namespace pfw {

// A view of a system-exclusive message; the bytes belong to the sender.
struct ISysExMessage
{
  int offset = 0;
  int size = 0;
  const uint8_t* data = nullptr;
};

// The copy of a system-exclusive message that travels through a ring (520 bytes).
struct SysExQueueEntry
{
  static constexpr int kMaxSize = 512;

  int offset = 0;
  int size = 0;
  uint8_t data[kMaxSize] = {};
};

} // namespace pfw
