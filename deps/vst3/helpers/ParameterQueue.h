#pragma once

#include "deps/vst3/interfaces/IParameterChanges.h"

#include <cmath>

namespace Steinberg::Vst {

// The last point of a queue, when it has one that can be read: a processor that applies
// one value per block applies this one.
bool lastPoint(IParamValueQueue* queue, int32& offset, ParamValue& value);

// Calls apply(id, offset, value) for the last point of every queue in the block's changes
// (which may be null) that can be read and holds a finite value.
template <class Apply>
void forEachLastPoint(IParameterChanges* changes, Apply apply)
{
  const int32 count = changes ? changes->getParameterCount() : 0;
  for (int32 i = 0; i < count; ++i)
  {
    IParamValueQueue* queue = changes->getParameterData(i);
    int32 offset = 0;
    ParamValue value = 0.0;
    if (lastPoint(queue, offset, value) && std::isfinite(value))
      apply(queue->getParameterId(), offset, value);
  }
}

} // namespace Steinberg::Vst
