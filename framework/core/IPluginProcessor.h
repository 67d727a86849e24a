#pragma once

#include "GrowArray.h"
#include "GrowString.h"
#include "IChannelConfig.h"
#include "IChannelSlot.h"
#include "IMidiEvent.h"
#include "IPluginConfig.h"
#include "ISysExMessage.h"
#include "ITransportInfo.h"
#include "LatencyDelayLine.h"
#include "PointerList.h"

#include <atomic>

namespace pfw {

// The audio side of the plug-in object: sample rate, block size and latency, the I/O
// configurations parsed into buses, one slot per channel, and the conversion between the
// host's 64-bit buffers and the 32-bit blocks that the product processes.
class IPluginProcessor
{
public:
  explicit IPluginProcessor(const IPluginConfig& config);
  virtual ~IPluginProcessor();
  IPluginProcessor(const IPluginProcessor&) = delete;
  IPluginProcessor& operator=(const IPluginProcessor&) = delete;

  // By default every output copies the input of the same index, or is silent.
  virtual void ProcessBlock(float** inputs, float** outputs, int nFrames);
  virtual void ProcessMidiMsg(const IMidiEvent& event);
  virtual void ProcessSysEx(const ISysExMessage& message);
  virtual void OnReset();
  virtual void OnActivate(bool active);
  virtual bool SendMidiMsg(const IMidiEvent& event) = 0;
  virtual bool SendMidiMsgs(const IMidiEvent* events, int count);
  virtual bool SendSysEx(const ISysExMessage& message);
  virtual void GetBusName(int direction, int busIdx, int nBuses, GrowString& name) const;
  virtual void SetLatency(int samples);
  virtual void SetTailSize(int samples);

  double GetSampleRate() const { return mSampleRate; }
  void SetSampleRate(double sampleRate) { mSampleRate = sampleRate; }
  // Whether the product runs at this rate (the configuration's range); a wrapper must not
  // set another.
  bool SupportsSampleRate(double sampleRate) const;
  double MinSampleRate() const { return mMinSampleRate; }
  double MaxSampleRate() const { return mMaxSampleRate; }
  int GetBlockSize() const { return mBlockSize; }
  // A new size resizes and zeroes every scratch buffer; the current size changes nothing.
  void SetBlockSize(int blockSize);
  int GetLatency() const { return mLatency; }
  int GetTailSize() const { return mTailSize.load(); }
  int GetPlugType() const { return mPlugType; }
  bool DoesMidiIn() const { return mDoesMidiIn; }
  bool DoesMidiOut() const { return mDoesMidiOut; }
  bool DoesMPE() const { return mDoesMPE; }

  int NChannels(int direction) const { return Slots(direction).GetSize(); }
  int NChannelsConnected(int direction) const;
  bool IsChannelConnected(int direction, int channel) const;
  void SetChannelConnections(int direction, int firstChannel, int count, bool connected);
  // Connected channels of the range take the host buffers in order; inputs are converted
  // at once, outputs are written back by ProcessBuffersDouble.
  void AttachBuffers(int direction, int firstChannel, int count, double** buffers, int nFrames);
  // Runs the block in pieces of at most the block size, so a longer host block is processed
  // whole without overrunning the scratch buffers.
  void ProcessBuffersDouble(int nFrames);

  // 32-bit hosts: connected channels take the host pointers in order and are used directly.
  // At most the block size is processed.
  void AttachBuffers(int direction, int firstChannel, int count, float** buffers, int nFrames);
  void ProcessBuffers(int nFrames);
  // Inputs to outputs, delayed by the latency when a latency delay exists. Input and output
  // buffers may be the same memory.
  void PassThroughBuffers(int nFrames);
  void PassThroughBuffersDouble(int nFrames);
  void ZeroScratchBuffers();

  // Parses "in-out in-out ...", buses joined by "." ("*": any count); returns the number
  // of configurations appended.
  static int ParseIOConfig(const char* text, PointerList<IChannelConfig>& configs, int& maxNInputChannels,
                           int& maxNOutputChannels, int& maxNInputBuses, int& maxNOutputBuses);
  int NIOConfigs() const { return mIOConfigs.GetSize(); }
  const IChannelConfig* GetIOConfig(int index) const { return mIOConfigs.Get(index); }
  int MaxNInputBuses() const { return mMaxNInputBuses; }
  int MaxNOutputBuses() const { return mMaxNOutputBuses; }
  // The most buses any configuration has in the direction; the last configuration with that
  // many is written to configIdx (0 without configurations).
  int MaxNBuses(int direction, int* configIdx = nullptr) const;
  // -1 when the first configuration has a "*" bus in the direction; else the most channels
  // the bus has in any configuration.
  int MaxNChannelsForBus(int direction, int busIdx) const;
  // The first configuration whose buses have exactly these channel counts, or -1.
  int GetIOConfigWithChanCounts(const int* inputCounts, int nInputBuses, const int* outputCounts,
                                int nOutputBuses) const;

  // Made by wrappers whose pass-through must keep the latency; none without inputs.
  void CreateLatencyDelay();
  const LatencyDelayLine* GetLatencyDelay() const { return mLatencyDelay; }
  LatencyDelayLine* GetLatencyDelay() { return mLatencyDelay; }

  const ITransportInfo& GetTransport() const { return mTransport; }
  ITransportInfo& GetTransport() { return mTransport; }

protected:
  float** SamplePointers(int direction) const { return Pointers(direction).Get(); }
  IChannelSlot* GetChannelSlot(int direction, int channel) const { return Slots(direction).Get(channel); }

private:
  const PointerList<IChannelSlot>& Slots(int direction) const { return direction == kInput ? mInputSlots : mOutputSlots; }
  const GrowArray<float*>& Pointers(int direction) const { return direction == kInput ? mInputPointers : mOutputPointers; }
  void CreateSlots(int direction, int count);
  static void ResizeScratch(IChannelSlot& slot, int nFrames);
  // Converts the connected inputs of [offset, offset + nFrames) from their host buffers.
  void ConvertInputs(int offset, int nFrames);
  void ConvertOutputs(int offset, int nFrames);
  void ForgetHostBuffers();
  void PassThrough(int nFrames);
  template <typename Process>
  void InPieces(int nFrames, Process process);

  int mPlugType;
  bool mDoesMidiIn;
  bool mDoesMidiOut;
  bool mDoesMPE;
  int mLatency;
  double mSampleRate = 48000.0;
  double mMinSampleRate;
  double mMaxSampleRate;
  int mBlockSize = 0;
  std::atomic<int> mTailSize{0}; // set by the product, read by a host thread
  int mMaxNInputChannels = 0;
  int mMaxNOutputChannels = 0;
  int mMaxNInputBuses = 0;
  int mMaxNOutputBuses = 0;
  PointerList<IChannelConfig> mIOConfigs{true};
  PointerList<IChannelSlot> mInputSlots{true};
  PointerList<IChannelSlot> mOutputSlots{true};
  GrowArray<float*> mInputPointers;
  GrowArray<float*> mOutputPointers;
  LatencyDelayLine* mLatencyDelay = nullptr;
  ITransportInfo mTransport;
};

} // namespace pfw
