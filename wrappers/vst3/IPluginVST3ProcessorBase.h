#pragma once

#include "deps/vst3/helpers/Bus.h"
#include "deps/vst3/interfaces/IAudioProcessor.h"
#include "deps/vst3/interfaces/IBStream.h"
#include "framework/core/IPluginProcessor.h"
#include "framework/core/IRingQueue.h"
#include "wrappers/vst3/MidiOutQueue.h"

#include <atomic>

namespace pfw {

class IPluginVST3;

// The processor face of the VST3 plug-in object: the buses it declares, set-up, the host's
// timing, parameter changes, MIDI in and out, and the connection of the host's buffers to
// the processor's channels for each block.
class IPluginVST3ProcessorBase : public IPluginProcessor
{
public:
  static constexpr int kMaxBlockSize = 1 << 20;

  IPluginVST3ProcessorBase(const IPluginConfig& config, IPluginVST3& plugin);

  // Audio side only: queued in offset order and sent to the host after the block.
  bool SendMidiMsg(const IMidiEvent& event) override;

  // Declares the audio and event buses of the configuration with the most buses; false
  // when memory fails.
  bool Initialize();
  // Accepts the channel counts of an I/O configuration. The bus count, names and active
  // states stay as the host knows them; only the arrangements of the named buses change.
  bool SetBusArrangements(const Steinberg::Vst::SpeakerArrangement* inputs, int numIns,
                          const Steinberg::Vst::SpeakerArrangement* outputs, int numOuts);
  // Refuses sample sizes other than 32 and 64 bits, blocks of no or absurd length and
  // unusable rates, changing nothing; otherwise stores the set-up and resets.
  bool SetupProcessing(const Steinberg::Vst::ProcessSetup& setup, Steinberg::Vst::ProcessSetup& stored);

  void PrepareProcessContext(const Steinberg::Vst::ProcessData& data, const Steinberg::Vst::ProcessSetup& setup);
  void ProcessAudio(Steinberg::Vst::ProcessData& data, const Steinberg::Vst::ProcessSetup& setup,
                    Steinberg::Vst::BusList& inputBuses, Steinberg::Vst::BusList& outputBuses);
  void ProcessParameterChanges(Steinberg::Vst::ProcessData& data, IRingQueue<IMidiEvent>& toEditor);
  void ProcessMidiIn(Steinberg::Vst::IEventList* events, IRingQueue<IMidiEvent>& fromEditor,
                     IRingQueue<IMidiEvent>& toEditor);
  void ProcessMidiOut(IRingQueue<SysExQueueEntry>& sysExFromEditor, SysExQueueEntry& scratch,
                      Steinberg::Vst::IEventList* outputEvents, int nFrames);
  // The whole block with the framework's own steps.
  void Process(Steinberg::Vst::ProcessData& data, const Steinberg::Vst::ProcessSetup& setup,
               Steinberg::Vst::BusList& inputBuses, Steinberg::Vst::BusList& outputBuses,
               IRingQueue<IMidiEvent>& midiFromEditor, IRingQueue<IMidiEvent>& midiToEditor,
               IRingQueue<SysExQueueEntry>& sysExFromEditor);

  // The framework's default state reader: the serialised parameters, then an int32 bypass.
  bool SetState(Steinberg::IBStream* stream);

  const Steinberg::Vst::ProcessContext& GetProcessContext() const { return mProcessContext; }
  bool IsSidechainConnected() const { return mSidechainConnected; }
  bool IsBypassed() const { return mBypassed.load(); }
  bool IsOffline() const { return mOffline; }
  int GetMaxNMainChannels() const { return mMaxNMainChannels; }
  const MidiOutQueue& GetMidiOutQueue() const { return mMidiOutQueue; }

protected:
  // Inputs on the main bus from channel 0, the auxiliary bus from the main maximum.
  void ConnectInputs(const Steinberg::Vst::ProcessData& data, Steinberg::Vst::BusList& inputBuses);
  void ConnectOutputs(const Steinberg::Vst::ProcessData& data, Steinberg::Vst::BusList& outputBuses);

  std::atomic<bool> mBypassed{false};

private:
  int mMaxNMainChannels;
  IPluginVST3& mPlugin;
  MidiOutQueue mMidiOutQueue;
  Steinberg::Vst::ProcessContext mProcessContext{};
  bool mSidechainConnected = false;
  bool mOffline = false;
  SysExQueueEntry mSysExScratch;
};

} // namespace pfw
