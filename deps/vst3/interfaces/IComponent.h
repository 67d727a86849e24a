#pragma once

#include "deps/vst3/interfaces/IBStream.h"

namespace Steinberg::Vst {

enum MediaTypes : MediaType
{
  kAudio = 0,
  kEvent = 1,
  kNumMediaTypes = 2,
};

enum BusDirections : BusDirection
{
  kInput = 0,
  kOutput = 1,
};

enum BusTypes : BusType
{
  kMain = 0,
  kAux = 1, // side-chain; main buses come first
};

enum IoModes : IoMode
{
  kSimple = 0,
  kAdvanced = 1,
  kOfflineProcessing = 2,
};

struct BusInfo
{
  enum BusFlags : uint32
  {
    kDefaultActive = 1, // a wish to the host; buses start inactive
    kIsControlVoltage = 2,
  };
  MediaType mediaType;
  BusDirection direction;
  int32 channelCount;
  String128 name;
  BusType busType;
  uint32 flags;
};
static_assert(sizeof(BusInfo) == 276 && alignof(BusInfo) == 4);
static_assert(offsetof(BusInfo, channelCount) == 8 && offsetof(BusInfo, name) == 12 &&
              offsetof(BusInfo, busType) == 268 && offsetof(BusInfo, flags) == 272);

struct RoutingInfo
{
  MediaType mediaType;
  int32 busIndex;
  int32 channel; // -1: all channels
};
static_assert(sizeof(RoutingInfo) == 12 && alignof(RoutingInfo) == 4 && offsetof(RoutingInfo, channel) == 8);

class IComponent : public IPluginBase
{
public:
  virtual tresult VST3_CALL getControllerClassId(TUID classId) = 0;
  virtual tresult VST3_CALL setIoMode(IoMode mode) = 0;
  virtual int32 VST3_CALL getBusCount(MediaType type, BusDirection dir) = 0;
  virtual tresult VST3_CALL getBusInfo(MediaType type, BusDirection dir, int32 index, BusInfo& bus) = 0;
  virtual tresult VST3_CALL getRoutingInfo(RoutingInfo& inInfo, RoutingInfo& outInfo) = 0;
  virtual tresult VST3_CALL activateBus(MediaType type, BusDirection dir, int32 index, TBool state) = 0;
  virtual tresult VST3_CALL setActive(TBool state) = 0;
  virtual tresult VST3_CALL setState(IBStream* state) = 0;
  virtual tresult VST3_CALL getState(IBStream* state) = 0;
  VST3_INTERFACE_ID(0xE831FF31, 0xF2D54301, 0x928EBBEE, 0x25697802);
};

} // namespace Steinberg::Vst
