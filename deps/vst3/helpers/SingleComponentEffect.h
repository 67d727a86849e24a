#pragma once

#include "deps/vst3/helpers/Bus.h"
#include "deps/vst3/helpers/EditControllerEx1.h"
#include "deps/vst3/interfaces/IAudioProcessor.h"
#include "deps/vst3/interfaces/IComponent.h"

namespace Steinberg::Vst {

// One object that is component, audio processor and edit controller at once. The host
// finds the controller by asking the component for IEditController.
//
// IComponent and IEditController both have getState/setState slots with one signature,
// so one override here serves both: the host stores the component state twice and
// hands it back to both slots. A state reader must therefore accept its bytes in both
// roles, which a single object's reader does.
class SingleComponentEffect : public EditControllerEx1,
                              public IComponent,
                              public IAudioProcessor,
                              public IProcessContextRequirements
{
public:
  SingleComponentEffect();

  tresult VST3_CALL queryInterface(const TUID iid, void** obj) override;
  VST3_FORWARD_REFCOUNT(EditControllerEx1)
  VST3_OBJECT_TYPE(SingleComponentEffect, EditControllerEx1)

  tresult VST3_CALL initialize(FUnknown* context) override;
  // Drops the buses as well as everything the controller keeps.
  tresult VST3_CALL terminate() override;

  // IComponent
  tresult VST3_CALL getControllerClassId(TUID classId) override;
  tresult VST3_CALL setIoMode(IoMode mode) override;
  int32 VST3_CALL getBusCount(MediaType type, BusDirection dir) override;
  tresult VST3_CALL getBusInfo(MediaType type, BusDirection dir, int32 index, BusInfo& bus) override;
  tresult VST3_CALL getRoutingInfo(RoutingInfo& inInfo, RoutingInfo& outInfo) override;
  tresult VST3_CALL activateBus(MediaType type, BusDirection dir, int32 index, TBool state) override;
  tresult VST3_CALL setActive(TBool state) override;
  tresult VST3_CALL setState(IBStream* state) override;
  tresult VST3_CALL getState(IBStream* state) override;

  // IAudioProcessor
  tresult VST3_CALL setBusArrangements(SpeakerArrangement* inputs, int32 numIns, SpeakerArrangement* outputs,
                                       int32 numOuts) override;
  tresult VST3_CALL getBusArrangement(BusDirection dir, int32 index, SpeakerArrangement& arr) override;
  tresult VST3_CALL canProcessSampleSize(int32 symbolicSampleSize) override;
  uint32 VST3_CALL getLatencySamples() override;
  tresult VST3_CALL setupProcessing(ProcessSetup& setup) override;
  tresult VST3_CALL setProcessing(TBool state) override;
  tresult VST3_CALL process(ProcessData& data) override;
  uint32 VST3_CALL getTailSamples() override;

  // IProcessContextRequirements
  uint32 VST3_CALL getProcessContextRequirements() override;

  // Bus declaration; each returns the new bus, or null when memory fails.
  AudioBus* addAudioInput(const TChar* name, SpeakerArrangement arrangement, BusType busType = kMain,
                          int32 flags = BusInfo::kDefaultActive);
  AudioBus* addAudioOutput(const TChar* name, SpeakerArrangement arrangement, BusType busType = kMain,
                           int32 flags = BusInfo::kDefaultActive);
  EventBus* addEventInput(const TChar* name, int32 channels = 16, BusType busType = kMain,
                          int32 flags = BusInfo::kDefaultActive);
  EventBus* addEventOutput(const TChar* name, int32 channels = 16, BusType busType = kMain,
                           int32 flags = BusInfo::kDefaultActive);
  void removeAudioBusses();
  void removeEventBusses();

  // The list of one media type and direction, or null for an unknown one.
  BusList* getBusList(MediaType type, BusDirection dir);
  AudioBus* getAudioInput(int32 index) { return static_cast<AudioBus*>(audioInputs.at(index)); }
  AudioBus* getAudioOutput(int32 index) { return static_cast<AudioBus*>(audioOutputs.at(index)); }

  const ProcessSetup& getProcessSetup() const { return processSetup; }

protected:
  ~SingleComponentEffect() override;

  ProcessSetup processSetup;
  BusList audioInputs{kAudio, kInput};
  BusList audioOutputs{kAudio, kOutput};
  BusList eventInputs{kEvent, kInput};
  BusList eventOutputs{kEvent, kOutput};
};

} // namespace Steinberg::Vst
