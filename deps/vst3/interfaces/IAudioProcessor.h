#pragma once

#include "deps/vst3/interfaces/IEvents.h"
#include "deps/vst3/interfaces/IParameterChanges.h"
#include "deps/vst3/interfaces/ProcessContext.h"

namespace Steinberg::Vst {

enum SymbolicSampleSizes : int32
{
  kSample32 = 0,
  kSample64 = 1,
};

enum ProcessModes : int32
{
  kRealtime = 0,
  kPrefetch = 1,
  kOffline = 2,
};

constexpr uint32 kNoTail = 0;
constexpr uint32 kInfiniteTail = 0xFFFFFFFFu;

struct ProcessSetup
{
  int32 processMode;
  int32 symbolicSampleSize;
  int32 maxSamplesPerBlock;
  SampleRate sampleRate;
};
static_assert(sizeof(ProcessSetup) == 24 && alignof(ProcessSetup) == 8 && offsetof(ProcessSetup, sampleRate) == 16);

// One bus's channels for a block; bit k of silenceFlags stands for channel k.
struct AudioBusBuffers
{
  int32 numChannels;
  uint64 silenceFlags;
  union
  {
    Sample32** channelBuffers32;
    Sample64** channelBuffers64;
  };
};
static_assert(sizeof(AudioBusBuffers) == 24 && alignof(AudioBusBuffers) == 8 && offsetof(AudioBusBuffers, silenceFlags) == 8 &&
              offsetof(AudioBusBuffers, channelBuffers32) == 16);

struct ProcessData
{
  int32 processMode;
  int32 symbolicSampleSize;
  int32 numSamples;
  int32 numInputs;
  int32 numOutputs;
  AudioBusBuffers* inputs;
  AudioBusBuffers* outputs;
  IParameterChanges* inputParameterChanges;
  IParameterChanges* outputParameterChanges;
  IEventList* inputEvents;
  IEventList* outputEvents;
  ProcessContext* processContext; // may be null
};
static_assert(sizeof(ProcessData) == 80 && alignof(ProcessData) == 8 && offsetof(ProcessData, numOutputs) == 16 &&
              offsetof(ProcessData, inputs) == 24 && offsetof(ProcessData, outputs) == 32 &&
              offsetof(ProcessData, inputParameterChanges) == 40 && offsetof(ProcessData, outputParameterChanges) == 48 &&
              offsetof(ProcessData, inputEvents) == 56 && offsetof(ProcessData, outputEvents) == 64 &&
              offsetof(ProcessData, processContext) == 72);

class IAudioProcessor : public FUnknown
{
public:
  virtual tresult VST3_CALL setBusArrangements(SpeakerArrangement* inputs, int32 numIns, SpeakerArrangement* outputs,
                                               int32 numOuts) = 0;
  virtual tresult VST3_CALL getBusArrangement(BusDirection dir, int32 index, SpeakerArrangement& arr) = 0;
  virtual tresult VST3_CALL canProcessSampleSize(int32 symbolicSampleSize) = 0;
  virtual uint32 VST3_CALL getLatencySamples() = 0;
  virtual tresult VST3_CALL setupProcessing(ProcessSetup& setup) = 0;
  virtual tresult VST3_CALL setProcessing(TBool state) = 0;
  virtual tresult VST3_CALL process(ProcessData& data) = 0;
  virtual uint32 VST3_CALL getTailSamples() = 0;
  VST3_INTERFACE_ID(0x42043F99, 0xB7DA453C, 0xA569E79D, 0x9AAEC33D);
};

class IProcessContextRequirements : public FUnknown
{
public:
  virtual uint32 VST3_CALL getProcessContextRequirements() = 0;
  VST3_INTERFACE_ID(0x2A654303, 0xEF764E3D, 0x95B5FE83, 0x730EF6D0);
};

} // namespace Steinberg::Vst
