#pragma once

#include "IDataChunk.h"

namespace pfw {

// One preset: a name and the state chunk it restores.
struct IPresetSlot
{
  static constexpr int kNameSize = 256; // NUL included

  bool initialized = false;
  char name[kNameSize] = "empty";
  IDataChunk state;
};

} // namespace pfw
