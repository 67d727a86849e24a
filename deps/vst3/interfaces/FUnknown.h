#pragma once

#include "deps/vst3/interfaces/VstTypes.h"

// Interfaces are pure-virtual classes without data or destructor, so that their layout is
// the COM one: a pointer to a table of function pointers in declaration order.

namespace Steinberg {

class FUnknown
{
public:
  virtual tresult VST3_CALL queryInterface(const TUID iid, void** obj) = 0;
  virtual uint32 VST3_CALL addRef() = 0;
  virtual uint32 VST3_CALL release() = 0;
  VST3_INTERFACE_ID(0x00000000, 0x00000000, 0xC0000000, 0x00000046);
};

class IPluginBase : public FUnknown
{
public:
  virtual tresult VST3_CALL initialize(FUnknown* context) = 0;
  virtual tresult VST3_CALL terminate() = 0;
  VST3_INTERFACE_ID(0x22888DDB, 0x156E45AE, 0x8358B348, 0x08190625);
};

class IDependent : public FUnknown
{
public:
  enum ChangeMessage : int32
  {
    kWillChange = 0,
    kChanged = 1,
    kDestroyed = 2,
    kWillDestroy = 3,
  };
  virtual void VST3_CALL update(FUnknown* changedUnknown, int32 message) = 0;
  VST3_INTERFACE_ID(0xF52B7AAE, 0xDE72416D, 0x8AF18ACE, 0x9DD7BD5E);
};

} // namespace Steinberg
