#pragma once

#include "deps/vst3/interfaces/FUnknown.h"

namespace Steinberg::Vst {

// The changes of one parameter within a block: (sample offset, normalised value) points
// in time order; the last one stays in force after its offset.
class IParamValueQueue : public FUnknown
{
public:
  virtual ParamID VST3_CALL getParameterId() = 0;
  virtual int32 VST3_CALL getPointCount() = 0;
  virtual tresult VST3_CALL getPoint(int32 index, int32& sampleOffset, ParamValue& value) = 0;
  virtual tresult VST3_CALL addPoint(int32 sampleOffset, ParamValue value, int32& index) = 0;
  VST3_INTERFACE_ID(0x01263A18, 0xED074F6F, 0x98C9D356, 0x4686F9BA);
};

class IParameterChanges : public FUnknown
{
public:
  virtual int32 VST3_CALL getParameterCount() = 0;
  virtual IParamValueQueue* VST3_CALL getParameterData(int32 index) = 0;
  virtual IParamValueQueue* VST3_CALL addParameterData(const ParamID& id, int32& index) = 0;
  VST3_INTERFACE_ID(0xA4779663, 0x0BB64A56, 0xB44384A8, 0x466FEB9D);
};

} // namespace Steinberg::Vst
