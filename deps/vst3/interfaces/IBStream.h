#pragma once

#include "deps/vst3/interfaces/FUnknown.h"

namespace Steinberg {

// A host byte stream; reading and writing share one position.
class IBStream : public FUnknown
{
public:
  enum IStreamSeekMode : int32
  {
    kIBSeekSet = 0,
    kIBSeekCur = 1,
    kIBSeekEnd = 2,
  };
  virtual tresult VST3_CALL read(void* buffer, int32 numBytes, int32* numBytesRead) = 0;
  virtual tresult VST3_CALL write(void* buffer, int32 numBytes, int32* numBytesWritten) = 0;
  virtual tresult VST3_CALL seek(int64 pos, int32 mode, int64* result) = 0;
  virtual tresult VST3_CALL tell(int64* pos) = 0;
  VST3_INTERFACE_ID(0xC3BF6EA2, 0x30994752, 0x9B6BF990, 0x1EE33E9B);
};

class ISizeableStream : public FUnknown
{
public:
  virtual tresult VST3_CALL getStreamSize(int64& size) = 0;
  virtual tresult VST3_CALL setStreamSize(int64 size) = 0;
  VST3_INTERFACE_ID(0x04F9549E, 0xE02F4E6E, 0x87E86A87, 0x47F4E17F);
};

} // namespace Steinberg
