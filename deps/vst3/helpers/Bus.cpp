#include "deps/vst3/helpers/Bus.h"

#include "deps/vst3/helpers/StringConvert.h"
#include "deps/vst3/interfaces/SpeakerArrangement.h"

namespace Steinberg::Vst {

Bus::Bus(const TChar* busName, BusType type, int32 busFlags)
  : busType(type)
  , flags(busFlags)
{
  copyText16(name, 128, busName);
}

void Bus::getInfo(BusInfo& info) const
{
  copyText16(info.name, 128, name);
  info.busType = busType;
  info.flags = static_cast<uint32>(flags);
  info.channelCount = getChannelCount();
}

AudioBus::AudioBus(const TChar* busName, BusType type, int32 busFlags, SpeakerArrangement busArrangement)
  : Bus(busName, type, busFlags)
  , arrangement(busArrangement)
{
}

int32 AudioBus::getChannelCount() const
{
  return SpeakerArr::getChannelCount(arrangement);
}

EventBus::EventBus(const TChar* busName, BusType type, int32 busFlags, int32 channels)
  : Bus(busName, type, busFlags)
  , channelCount(channels)
{
}

BusList::BusList(MediaType mediaType, BusDirection busDirection)
  : type(mediaType)
  , direction(busDirection)
{
}

} // namespace Steinberg::Vst
