#pragma once

#include "deps/vst3/interfaces/FUnknown.h"

namespace Steinberg::Vst {

// The host context handed to initialize.
class IHostApplication : public FUnknown
{
public:
  virtual tresult VST3_CALL getName(String128 name) = 0;
  // Makes a host IMessage or IAttributeList: pass that interface's identifier as cid and iid.
  virtual tresult VST3_CALL createInstance(TUID cid, TUID iid, void** obj) = 0;
  VST3_INTERFACE_ID(0x58E595CC, 0xDB2D4969, 0x8B6AAF8C, 0x36A664E5);
};

} // namespace Steinberg::Vst
