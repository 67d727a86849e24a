#pragma once

#include "GrowArray.h"

namespace pfw {

// The delay that lets a pass-through keep the plug-in's reported latency: latency x
// input-channel-count floats.
struct LatencyDelayLine
{
  GrowArray<float> buffer{4096};
  int nInputChannels = 0;
  int nOutputChannels = 0;
  int writePosition = 0;
  int latency = 0;
};

} // namespace pfw
