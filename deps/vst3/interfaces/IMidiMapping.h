#pragma once

#include "deps/vst3/interfaces/FUnknown.h"

namespace Steinberg::Vst {

class IMidiMapping : public FUnknown
{
public:
  virtual tresult VST3_CALL getMidiControllerAssignment(int32 busIndex, int16 channel, CtrlNumber midiControllerNumber,
                                                        ParamID& id) = 0;
  VST3_INTERFACE_ID(0xDF0FF9F7, 0x49B74669, 0xB63AB732, 0x7ADBF5E5);
};

} // namespace Steinberg::Vst
