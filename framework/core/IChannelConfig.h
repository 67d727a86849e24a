#pragma once

#include "PointerList.h"

namespace pfw {

enum ERoute : int
{
  kInput = 0,
  kOutput = 1,
};

// One bus of an I/O configuration; "*" (any number of channels) is recorded as -64.
struct IBusDesc
{
  static constexpr int kAnyChannels = -64;

  int direction = kInput;
  int nChannels = 0;
};

// One parsed I/O configuration: its input and output buses and the sums of their counts.
struct IChannelConfig
{
  int NBuses(int direction) const { return Buses(direction).GetSize(); }
  const PointerList<IBusDesc>& Buses(int direction) const { return direction == kInput ? inputBuses : outputBuses; }

  PointerList<IBusDesc> inputBuses{true};
  PointerList<IBusDesc> outputBuses{true};
  int totalInputChannels = 0;
  int totalOutputChannels = 0;
};

} // namespace pfw
