#pragma once

#include "deps/vst3/helpers/FObject.h"
#include "deps/vst3/interfaces/IComponent.h"
#include "deps/vst3/helpers/ReferenceList.h"

namespace Steinberg::Vst {

// One bus of a component. Buses start inactive whatever their flags say: kDefaultActive
// only asks the host to activate them.
class Bus : public FObject
{
public:
  Bus(const TChar* name, BusType busType, int32 flags);
  VST3_OBJECT_TYPE(Bus, FObject)

  bool isActive() const { return active; }
  void setActive(bool state) { active = state; }
  const TChar* getName() const { return name; }
  BusType getBusType() const { return busType; }
  int32 getFlags() const { return flags; }

  // Fills name, busType, flags and channelCount; the caller sets media type and direction.
  virtual void getInfo(BusInfo& info) const;

protected:
  virtual int32 getChannelCount() const = 0;

private:
  String128 name;
  BusType busType;
  int32 flags;
  bool active = false;
};

class AudioBus : public Bus
{
public:
  AudioBus(const TChar* name, BusType busType, int32 flags, SpeakerArrangement arrangement);
  VST3_OBJECT_TYPE(AudioBus, Bus)

  SpeakerArrangement getArrangement() const { return arrangement; }
  void setArrangement(SpeakerArrangement value) { arrangement = value; }

protected:
  int32 getChannelCount() const override;

private:
  SpeakerArrangement arrangement;
};

class EventBus : public Bus
{
public:
  EventBus(const TChar* name, BusType busType, int32 flags, int32 channelCount);
  VST3_OBJECT_TYPE(EventBus, Bus)

protected:
  int32 getChannelCount() const override { return channelCount; }

private:
  int32 channelCount;
};

// The buses of one media type and direction, in declaration order. Owns its buses.
class BusList
{
public:
  BusList(MediaType type, BusDirection direction);
  BusList(const BusList&) = delete;
  BusList& operator=(const BusList&) = delete;

  MediaType getType() const { return type; }
  BusDirection getDirection() const { return direction; }
  int32 size() const { return buses.size(); }
  Bus* at(int32 index) const { return buses.at(index); } // null out of range
  // Takes the caller's reference; on failure releases the bus and returns false.
  bool add(Bus* bus) { return buses.add(bus); }
  void clear() { buses.clear(); }

private:
  MediaType type;
  BusDirection direction;
  ReferenceList<Bus> buses;
};

} // namespace Steinberg::Vst
