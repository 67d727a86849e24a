#include "deps/vst3/helpers/SingleComponentEffect.h"

#include <cstring>
#include <new>

namespace Steinberg::Vst {

SingleComponentEffect::SingleComponentEffect()
  : processSetup{kRealtime, kSample32, 1024, 44100.}
{
}

SingleComponentEffect::~SingleComponentEffect() = default;

tresult VST3_CALL SingleComponentEffect::queryInterface(const TUID iid, void** obj)
{
  if (!obj)
    return kInvalidArgument;
  // A single object has no peer: refusing IConnectionPoint keeps hosts from connecting
  // the object with itself.
  if (uidEqual(iid, IConnectionPoint::iid))
  {
    *obj = nullptr;
    return kNoInterface;
  }
  if (answerInterface<IComponent>(this, iid, obj) || answerInterface<IAudioProcessor>(this, iid, obj) ||
      answerInterface<IProcessContextRequirements>(this, iid, obj))
    return kResultOk;
  return EditControllerEx1::queryInterface(iid, obj);
}

tresult VST3_CALL SingleComponentEffect::initialize(FUnknown* context)
{
  return EditControllerEx1::initialize(context);
}

tresult VST3_CALL SingleComponentEffect::terminate()
{
  removeAudioBusses();
  removeEventBusses();
  return EditControllerEx1::terminate();
}

tresult VST3_CALL SingleComponentEffect::getControllerClassId(TUID)
{
  return kNotImplemented;
}

tresult VST3_CALL SingleComponentEffect::setIoMode(IoMode)
{
  return kNotImplemented;
}

BusList* SingleComponentEffect::getBusList(MediaType type, BusDirection dir)
{
  if (type == kAudio)
    return dir == kInput ? &audioInputs : dir == kOutput ? &audioOutputs : nullptr;
  if (type == kEvent)
    return dir == kInput ? &eventInputs : dir == kOutput ? &eventOutputs : nullptr;
  return nullptr;
}

int32 VST3_CALL SingleComponentEffect::getBusCount(MediaType type, BusDirection dir)
{
  const BusList* list = getBusList(type, dir);
  return list ? list->size() : 0;
}

tresult VST3_CALL SingleComponentEffect::getBusInfo(MediaType type, BusDirection dir, int32 index, BusInfo& info)
{
  const BusList* list = getBusList(type, dir);
  const Bus* bus = list ? list->at(index) : nullptr;
  if (!bus)
    return kInvalidArgument;
  std::memset(&info, 0, sizeof(BusInfo));
  info.mediaType = type;
  info.direction = dir;
  bus->getInfo(info);
  return kResultTrue;
}

tresult VST3_CALL SingleComponentEffect::getRoutingInfo(RoutingInfo&, RoutingInfo&)
{
  return kNotImplemented;
}

tresult VST3_CALL SingleComponentEffect::activateBus(MediaType type, BusDirection dir, int32 index, TBool state)
{
  BusList* list = getBusList(type, dir);
  Bus* bus = list ? list->at(index) : nullptr;
  if (!bus)
    return kInvalidArgument;
  bus->setActive(state != 0);
  return kResultTrue;
}

tresult VST3_CALL SingleComponentEffect::setActive(TBool)
{
  return kResultOk;
}

tresult VST3_CALL SingleComponentEffect::setState(IBStream*)
{
  return kNotImplemented;
}

tresult VST3_CALL SingleComponentEffect::getState(IBStream*)
{
  return kNotImplemented;
}

tresult VST3_CALL SingleComponentEffect::setBusArrangements(SpeakerArrangement* inputs, int32 numIns,
                                                            SpeakerArrangement* outputs, int32 numOuts)
{
  if (numIns < 0 || numOuts < 0 || (numIns > 0 && !inputs) || (numOuts > 0 && !outputs))
    return kInvalidArgument;
  if (numIns > audioInputs.size() || numOuts > audioOutputs.size())
    return kResultFalse;
  for (int32 i = 0; i < numIns; ++i)
    getAudioInput(i)->setArrangement(inputs[i]);
  for (int32 i = 0; i < numOuts; ++i)
    getAudioOutput(i)->setArrangement(outputs[i]);
  return kResultTrue;
}

tresult VST3_CALL SingleComponentEffect::getBusArrangement(BusDirection dir, int32 index, SpeakerArrangement& arr)
{
  BusList* list = getBusList(kAudio, dir);
  const AudioBus* bus = list ? static_cast<const AudioBus*>(list->at(index)) : nullptr;
  if (!bus)
    return kInvalidArgument;
  arr = bus->getArrangement();
  return kResultTrue;
}

tresult VST3_CALL SingleComponentEffect::canProcessSampleSize(int32 symbolicSampleSize)
{
  return symbolicSampleSize == kSample32 ? kResultTrue : kResultFalse;
}

uint32 VST3_CALL SingleComponentEffect::getLatencySamples()
{
  return 0;
}

tresult VST3_CALL SingleComponentEffect::setupProcessing(ProcessSetup& setup)
{
  if (canProcessSampleSize(setup.symbolicSampleSize) != kResultTrue)
    return kResultFalse;
  processSetup = setup;
  return kResultOk;
}

tresult VST3_CALL SingleComponentEffect::setProcessing(TBool)
{
  return kNotImplemented;
}

tresult VST3_CALL SingleComponentEffect::process(ProcessData&)
{
  return kNotImplemented;
}

uint32 VST3_CALL SingleComponentEffect::getTailSamples()
{
  return kNoTail;
}

uint32 VST3_CALL SingleComponentEffect::getProcessContextRequirements()
{
  return 0;
}

namespace {
template <class BusClass, class... Arguments>
BusClass* addBus(BusList& list, Arguments... arguments)
{
  BusClass* bus = new (std::nothrow) BusClass(arguments...);
  return bus && list.add(bus) ? bus : nullptr;
}
} // namespace

AudioBus* SingleComponentEffect::addAudioInput(const TChar* name, SpeakerArrangement arrangement, BusType busType,
                                               int32 flags)
{
  return addBus<AudioBus>(audioInputs, name, busType, flags, arrangement);
}

AudioBus* SingleComponentEffect::addAudioOutput(const TChar* name, SpeakerArrangement arrangement, BusType busType,
                                                int32 flags)
{
  return addBus<AudioBus>(audioOutputs, name, busType, flags, arrangement);
}

EventBus* SingleComponentEffect::addEventInput(const TChar* name, int32 channels, BusType busType, int32 flags)
{
  return addBus<EventBus>(eventInputs, name, busType, flags, channels);
}

EventBus* SingleComponentEffect::addEventOutput(const TChar* name, int32 channels, BusType busType, int32 flags)
{
  return addBus<EventBus>(eventOutputs, name, busType, flags, channels);
}

void SingleComponentEffect::removeAudioBusses()
{
  audioInputs.clear();
  audioOutputs.clear();
}

void SingleComponentEffect::removeEventBusses()
{
  eventInputs.clear();
  eventOutputs.clear();
}

} // namespace Steinberg::Vst
