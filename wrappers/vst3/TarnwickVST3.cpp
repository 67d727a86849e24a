#include "wrappers/vst3/TarnwickVST3.h"

#include "deps/vst3/helpers/ParameterQueue.h"
#include "deps/vst3/helpers/StreamTransfer.h"
#include "framework/core/IDataChunk.h"
#include "product/core/Tarnwick.h"

#include <algorithm>
#include <cmath>
#include <cstring>

using namespace Steinberg;
using namespace Steinberg::Vst;

namespace {

constexpr uint64 kBothSilent = 3;

bool ChannelsReadable(const AudioBusBuffers& bus, int32 sampleSize, int32 numSamples)
{
  if (bus.numChannels < 0 || bus.numChannels > 2)
    return false;
  if (numSamples == 0 || bus.numChannels == 0)
    return true;
  if (sampleSize != kSample32 && sampleSize != kSample64)
    return false;
  void** channels = reinterpret_cast<void**>(bus.channelBuffers32);
  if (!channels)
    return false;
  for (int32 c = 0; c < bus.numChannels; ++c)
    if (!channels[c])
      return false;
  return true;
}

template <typename Sample>
bool IsSilent(const Sample* samples, int32 numSamples)
{
  for (int32 i = 0; i < numSamples; ++i)
    if (!(samples[i] == Sample(0))) // a NaN is not silence
      return false;
  return true;
}

} // namespace

TarnwickVST3::TarnwickVST3(const InstanceInfo& info, const pfw::IPluginConfig& config)
  : IPluginVST3(info, config)
{
}

TarnwickProduct& TarnwickVST3::Product()
{
  return static_cast<Tarnwick&>(*this).Product();
}

tresult VST3_CALL TarnwickVST3::getState(IBStream* stream)
{
  if (!stream)
    return kResultFalse;
  pfw::IDataChunk chunk;
  if (!SerializeState(chunk) || chunk.Size() != kChainStateSize)
    return kResultFalse;
  const int32 bypass = mHostBypass.load() ? 1 : 0;
  if (chunk.Put(bypass) != kStateSize)
    return kResultFalse;
  return writeAll(stream, chunk.GetData(), kStateSize) ? kResultOk : kResultFalse;
}

tresult VST3_CALL TarnwickVST3::setState(IBStream* stream)
{
  if (!stream)
    return kResultFalse;
  uint8 bytes[kStateSize];
  if (!readWhole(stream, bytes, kStateSize))
    return kResultFalse;
  int32 bypass = 0;
  std::memcpy(&bypass, bytes + kChainStateSize, sizeof(bypass));
  if (bypass != 0 && bypass != 1)
    return kResultFalse;
  pfw::IDataChunk chunk;
  if (chunk.PutBytes(bytes, kChainStateSize) != kChainStateSize || UnserializeState(chunk, 0) != kChainStateSize)
    return kResultFalse; // the reader changes nothing unless the whole record is valid
  mHostBypass.store(bypass != 0);
  SyncControllerParameters(bypass != 0 ? 1.0 : 0.0);
  SendAllParamValuesToUI();
  return kResultOk;
}

uint32 VST3_CALL TarnwickVST3::getTailSamples()
{
  const int64_t tail = Product().GetTailSamples();
  return static_cast<uint32>(std::clamp<int64_t>(tail, 0, static_cast<int64_t>(kInfiniteTail)));
}

bool TarnwickVST3::IsWellFormed(const ProcessData& data) const
{
  if (data.numSamples < 0 || data.numSamples > GetBlockSize())
    return false;
  if (data.numInputs < 0 || data.numInputs > 2 || (data.numOutputs != 0 && data.numOutputs != 1))
    return false;
  if ((data.numInputs != 0 && !data.inputs) || (data.numOutputs != 0 && !data.outputs))
    return false;
  if (data.symbolicSampleSize != processSetup.symbolicSampleSize)
    return false;
  // An inactive input bus may come with null channel pointers; it is never read.
  for (int32 i = 0; i < data.numInputs; ++i)
  {
    const Bus* bus = const_cast<TarnwickVST3*>(this)->getAudioInput(i);
    if (bus && bus->isActive() && !ChannelsReadable(data.inputs[i], data.symbolicSampleSize, data.numSamples))
      return false;
    if (data.inputs[i].numChannels < 0 || data.inputs[i].numChannels > 2)
      return false;
  }
  // Likewise an inactive output bus: nothing is written to it.
  for (int32 i = 0; i < data.numOutputs; ++i)
  {
    const Bus* bus = const_cast<TarnwickVST3*>(this)->getAudioOutput(i);
    if (bus && bus->isActive() && !ChannelsReadable(data.outputs[i], data.symbolicSampleSize, data.numSamples))
      return false;
    if (data.outputs[i].numChannels < 0 || data.outputs[i].numChannels > 2)
      return false;
  }
  return true;
}

void TarnwickVST3::ZeroOutputs(ProcessData& data)
{
  // A refused block still leaves defined output: silence rather than the host's stale or
  // dry buffer contents.
  if (data.numSamples <= 0 || data.numOutputs != 1 || !data.outputs)
    return;
  const int32 sampleSize = data.symbolicSampleSize;
  AudioBusBuffers& bus = data.outputs[0];
  if (!ChannelsReadable(bus, sampleSize, data.numSamples))
    return;
  for (int32 c = 0; c < bus.numChannels; ++c)
  {
    if (sampleSize == kSample64)
      std::fill(bus.channelBuffers64[c], bus.channelBuffers64[c] + data.numSamples, 0.0);
    else
      std::fill(bus.channelBuffers32[c], bus.channelBuffers32[c] + data.numSamples, 0.0f);
  }
}

void TarnwickVST3::ApplyHostParameterChanges(ProcessData& data)
{
  bool anySet = false;
  forEachLastPoint(data.inputParameterChanges, [&](ParamID tag, int32, ParamValue value) {
    if (tag == kBypassTag)
      mHostBypass.store(value > 0.5);
    else if (tag < static_cast<ParamID>(NParams()))
    {
      GetParam(static_cast<int>(tag))->SetNormalized(std::clamp(value, 0.0, 1.0));
      anySet = true;
    }
  });
  if (anySet)
    Product().UpdateTailSamples();
}

void TarnwickVST3::ReportSilence(ProcessData& data)
{
  for (int32 b = 0; b < data.numOutputs; ++b)
  {
    AudioBusBuffers& bus = data.outputs[b];
    bus.silenceFlags = 0;
    if (!ChannelsReadable(bus, data.symbolicSampleSize, data.numSamples))
      continue; // an inactive bus without buffers
    for (int32 c = 0; c < bus.numChannels; ++c)
    {
      const bool silent = data.symbolicSampleSize == kSample64 ? IsSilent(bus.channelBuffers64[c], data.numSamples)
                                                               : IsSilent(bus.channelBuffers32[c], data.numSamples);
      if (silent)
        bus.silenceFlags |= uint64{1} << c;
    }
  }
}

tresult VST3_CALL TarnwickVST3::process(ProcessData& data)
{
  if (!IsWellFormed(data))
  {
    ZeroOutputs(data);
    return kInvalidArgument;
  }
  PrepareProcessContext(data, processSetup);
  ApplyHostParameterChanges(data);
  if (data.numSamples == 0)
    return kResultOk;

  AudioBusBuffers inputs[2] = {{0, 0, {nullptr}}, {0, 0, {nullptr}}};
  const AudioBus* mainBus = getAudioInput(0);
  const AudioBus* auxBus = getAudioInput(1);
  for (int32 i = 0; i < data.numInputs; ++i)
  {
    const AudioBus* bus = getAudioInput(i);
    if (bus && bus->isActive())
      inputs[i] = data.inputs[i];
  }
  mMainInputChannels = data.numInputs >= 1 && mainBus && mainBus->isActive() ? inputs[0].numChannels : 0;
  mMainSilence = data.numInputs >= 1 ? inputs[0].silenceFlags : kBothSilent;
  mAuxConnected = auxBus && auxBus->isActive() && data.numInputs >= 2 && inputs[1].numChannels >= 1;
  mAuxSilence = data.numInputs >= 2 ? inputs[1].silenceFlags : kBothSilent;

  // A mono main input feeds both of the engine's inputs, also while a side-chain occupies
  // the processor's later channels.
  void* monoPair[2] = {nullptr, nullptr};
  uint64 mainSilence = mMainSilence;
  if (mMainInputChannels == 1)
  {
    monoPair[0] = monoPair[1] = reinterpret_cast<void**>(inputs[0].channelBuffers32)[0];
    inputs[0].numChannels = 2;
    inputs[0].channelBuffers32 = reinterpret_cast<Sample32**>(monoPair);
    mainSilence = (mainSilence & 1) ? kBothSilent : 0;
  }
  else if (mMainInputChannels == 0)
  {
    inputs[0].numChannels = 0;
    mainSilence = kBothSilent;
  }
  int mask = 0;
  if (mainSilence & 1)
    mask |= TarnwickProduct::kMuteLeftInput;
  if (mainSilence & 2)
    mask |= TarnwickProduct::kMuteRightInput;
  int auxMask = 0;
  if (mAuxSilence & 1)
    auxMask |= TarnwickProduct::kMuteLeftInput;
  if (mAuxSilence & 2)
    auxMask |= TarnwickProduct::kMuteRightInput;
  TarnwickProduct& product = Product();
  product.SetInputMask(mask);
  product.SetSideChainInput(mAuxConnected, auxMask);
  product.SetHostBypass(mHostBypass.load());

  ProcessData local = data;
  local.numInputs = 2;
  local.inputs = inputs;
  if (data.numOutputs == 0)
    SetChannelConnections(pfw::kOutput, 0, NChannels(pfw::kOutput), false);
  ProcessAudio(local, processSetup, audioInputs, audioOutputs);
  ReportSilence(data);
  return kResultOk;
}
