#include "deps/vst3/helpers/ParameterQueue.h"

namespace Steinberg::Vst {

bool lastPoint(IParamValueQueue* queue, int32& offset, ParamValue& value)
{
  const int32 points = queue ? queue->getPointCount() : 0;
  return points > 0 && queue->getPoint(points - 1, offset, value) == kResultOk;
}

} // namespace Steinberg::Vst
