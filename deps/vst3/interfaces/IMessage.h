#pragma once

#include "deps/vst3/interfaces/FUnknown.h"

namespace Steinberg::Vst {

using AttrID = const char*;

class IAttributeList : public FUnknown
{
public:
  virtual tresult VST3_CALL setInt(AttrID id, int64 value) = 0;
  virtual tresult VST3_CALL getInt(AttrID id, int64& value) = 0;
  virtual tresult VST3_CALL setFloat(AttrID id, double value) = 0;
  virtual tresult VST3_CALL getFloat(AttrID id, double& value) = 0;
  virtual tresult VST3_CALL setString(AttrID id, const TChar* string) = 0;
  // The size is in bytes, not characters.
  virtual tresult VST3_CALL getString(AttrID id, TChar* string, uint32 sizeInBytes) = 0;
  virtual tresult VST3_CALL setBinary(AttrID id, const void* data, uint32 sizeInBytes) = 0;
  virtual tresult VST3_CALL getBinary(AttrID id, const void*& data, uint32& sizeInBytes) = 0;
  VST3_INTERFACE_ID(0x1E5F0AEB, 0xCC7F4533, 0xA2544011, 0x38AD5EE4);
};

class IMessage : public FUnknown
{
public:
  virtual FIDString VST3_CALL getMessageID() = 0;
  virtual void VST3_CALL setMessageID(FIDString id) = 0;
  virtual IAttributeList* VST3_CALL getAttributes() = 0;
  VST3_INTERFACE_ID(0x936F033B, 0xC6C047DB, 0xBB0882F8, 0x13C1E613);
};

class IConnectionPoint : public FUnknown
{
public:
  virtual tresult VST3_CALL connect(IConnectionPoint* other) = 0;
  virtual tresult VST3_CALL disconnect(IConnectionPoint* other) = 0;
  virtual tresult VST3_CALL notify(IMessage* message) = 0;
  VST3_INTERFACE_ID(0x70A4156F, 0x6E6E4026, 0x989148BF, 0xAA60D8D1);
};

class IStreamAttributes : public FUnknown
{
public:
  virtual tresult VST3_CALL getFileName(String128 name) = 0;
  virtual IAttributeList* VST3_CALL getAttributes() = 0;
  VST3_INTERFACE_ID(0xD6CE2FFC, 0xEFAF4B8C, 0x9E74F1BB, 0x12DA44B4);
};

} // namespace Steinberg::Vst
