#pragma once

#include "framework/core/IMidiEvent.h"
#include "framework/core/IPluginAPIBase.h"
#include "framework/core/IPluginConfig.h"
#include "framework/core/IPluginProcessor.h"
#include "framework/core/IRingQueue.h"
#include "framework/core/ISysExMessage.h"

class StandaloneHost;

namespace pfw {

// The plug-in API of the standalone program, whose host is the program itself: MIDI and
// SysEx from the MIDI input thread reach the audio thread through two rings, the host's
// audio callback hands over 512-frame blocks, and MIDI output goes to the host's port.
class IPluginAPP : public IPluginAPIBase, public IPluginProcessor
{
public:
  struct InstanceInfo
  {
    StandaloneHost* host = nullptr;
  };

  IPluginAPP(const InstanceInfo& info, const IPluginConfig& config);
  ~IPluginAPP() override;

  // One block from the host's audio callback: the first nInputs inputs and nOutputs
  // outputs are the device's channels; further processor channels read silence.
  void ProcessHostBuffers(double** inputs, int nInputs, double** outputs, int nOutputs, int nFrames);

  // The MIDI input thread's side of the rings; false when the ring was full.
  bool PushMidiFromDevice(const IMidiEvent& event) { return mMidiFromDevice.Push(event); }
  bool PushSysExFromDevice(const SysExQueueEntry& entry) { return mSysExFromDevice.Push(entry); }

  bool SendMidiMsg(const IMidiEvent& event) override;
  bool SendSysEx(const ISysExMessage& message) override;
  // The editor's SysEx goes straight to the MIDI output; there is no audio-side ring for it.
  void SendSysexMsgFromUI(const ISysExMessage& message) override;
  // The main window follows the editor itself, so the host never resizes anything.
  bool ResizeHostView(int width, int height) override;

  StandaloneHost* GetHost() const { return mHost; }

private:
  IRingQueue<IMidiEvent> mMidiFromDevice{kMidiRingSlots};
  IRingQueue<SysExQueueEntry> mSysExFromDevice{kSysExRingSlots};
  StandaloneHost* mHost;
};

} // namespace pfw
