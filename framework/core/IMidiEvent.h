#pragma once

#include <cstdint>

namespace pfw {

// A short MIDI message at a sample offset within the block (8 bytes).
struct IMidiEvent
{
  int offset = 0;
  uint8_t status = 0;
  uint8_t data1 = 0;
  uint8_t data2 = 0;
};

} // namespace pfw
