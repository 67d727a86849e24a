#pragma once

#include "deps/vst3/interfaces/VstTypes.h"

namespace pfw {

// The VST3 speaker arrangement of a bus with that many channels; empty for a count that
// has none (0 and the "any count" wildcard included).
Steinberg::Vst::SpeakerArrangement SpeakerArrangementForChannels(int nChannels);

} // namespace pfw
