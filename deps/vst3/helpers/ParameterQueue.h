#pragma once

#include "deps/vst3/interfaces/IParameterChanges.h"

namespace Steinberg::Vst {

// The last point of a queue, when it has one that can be read: a processor that applies
// one value per block applies this one.
bool lastPoint(IParamValueQueue* queue, int32& offset, ParamValue& value);

} // namespace Steinberg::Vst
