#pragma once

#include "wrappers/standalone/IPluginAPP.h"

#include <windows.h>

#include <atomic>
#include <cstdint>
#include <string>
#include <vector>

class StandaloneHost;

// A plug-in on the standalone wrapper that records what its host hands it: blocks, MIDI,
// SysEx and resets. Its outputs copy its inputs, or play a tone when asked.
class TestPluginAPP : public pfw::IPluginAPP
{
public:
  struct Options
  {
    const char* channelIO = "2-2";
    bool midiOut = false;
    int plugType = 0;
    size_t recordFrames = 0; // input channel 0 kept from the stream's start
  };

  TestPluginAPP(StandaloneHost& host, const Options& options);

  void ProcessBlock(float** inputs, float** outputs, int nFrames) override;
  void ProcessMidiMsg(const pfw::IMidiEvent& event) override;
  void ProcessSysEx(const pfw::ISysExMessage& message) override;
  void OnReset() override;
  void OnActivate(bool active) override;
  void OnMidiMsgUI(const pfw::IMidiEvent& event) override;
  void OnSysexMsgUI(const pfw::ISysExMessage& message) override;

  // What the last block saw: connected inputs and outputs.
  std::atomic<int> connectedInputs{-1};
  std::atomic<int> connectedOutputs{-1};
  std::atomic<int> blocks{0};
  std::atomic<int> wrongBlockSizes{0};
  std::atomic<int> resets{0};
  std::atomic<int> activations{0};
  std::atomic<DWORD> audioThread{0};
  double sampleRateAtReset = 0.0;
  std::vector<pfw::IMidiEvent> midi;
  std::vector<std::vector<uint8_t>> sysEx;
  std::vector<pfw::IMidiEvent> midiAtEditor;
  std::vector<int> sysExSizesAtEditor;

  // A fault of the plug-in: the next call at this point throws, once (a block throws after
  // writing its outputs).
  enum class Fault
  {
    kNone,
    kBlock,
    kMidi,
    kSysEx
  };
  std::atomic<Fault> throwAt{Fault::kNone};

  // A sine of this amplitude on every output from block toneFromBlock on (-1: copy inputs).
  std::atomic<int> toneFromBlock{-1};
  double toneHz = 1000.0;
  double toneAmplitude = 0.5;
  std::vector<double> recorded;
  std::atomic<size_t> recordedFrames{0};
  // Performance-counter ticks at the start of each block, for the first blocks.
  std::vector<LONGLONG> blockTimes;
  std::atomic<size_t> blockTimesTaken{0};
};

// The factory the host is given; the options come from SetNextPluginOptions.
pfw::IPluginAPP* MakeTestPlugin(StandaloneHost& host);
void SetNextPluginOptions(const TestPluginAPP::Options& options);
