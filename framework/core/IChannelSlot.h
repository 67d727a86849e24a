#pragma once

#include "GrowArray.h"

namespace pfw {

// The processor's record of one channel. The channel's entry in the sample-pointer array
// points at the scratch buffer (silence for an unconnected input, a place to write for an
// unconnected output) or, after attaching, at converted host samples.
struct IChannelSlot
{
  bool connected = false;
  int entry = 0;               // index in the direction's sample-pointer array
  double* hostBuffer = nullptr; // the attached 64-bit host buffer of this block, if any
  GrowArray<float> scratch{4096};
};

} // namespace pfw
