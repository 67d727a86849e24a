#include "wrappers/vst3/IPluginVST3ProcessorBase.h"

#include "deps/vst3/helpers/ParameterQueue.h"
#include "deps/vst3/helpers/StringConvert.h"
#include "deps/vst3/interfaces/SpeakerArrangement.h"
#include "framework/core/HostIdentity.h"
#include "framework/core/IDataChunk.h"
#include "framework/core/ParamChangeSource.h"
#include "wrappers/vst3/IPluginVST3.h"
#include "wrappers/vst3/SpeakerArrangementForChannels.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace pfw {

using namespace Steinberg;
using namespace Steinberg::Vst;

namespace {

constexpr int kStateReadPiece = 128;
constexpr int kMaxStateBytes = 1048576;

void BusName(const IPluginProcessor& processor, int direction, int busIdx, int nBuses, String128 name)
{
  GrowString text;
  processor.GetBusName(direction, busIdx, nBuses, text);
  widenText(name, 128, text.Get());
}

} // namespace

IPluginVST3ProcessorBase::IPluginVST3ProcessorBase(const IPluginConfig& config, IPluginVST3& plugin)
  : IPluginProcessor(config)
  , mMaxNMainChannels(0)
  , mPlugin(plugin)
{
  SetChannelConnections(kInput, 0, NChannels(kInput), true);
  SetChannelConnections(kOutput, 0, NChannels(kOutput), true);
  mMaxNMainChannels = std::max(MaxNChannelsForBus(kInput, 0), 0);
  CreateLatencyDelay();
  SetBlockSize(512);
}

bool IPluginVST3ProcessorBase::SendMidiMsg(const IMidiEvent& event)
{
  mMidiOutQueue.Add(event);
  return true;
}

bool IPluginVST3ProcessorBase::Initialize()
{
  for (int direction : {kInput, kOutput})
  {
    int configIdx = 0;
    const int nBuses = MaxNBuses(direction, &configIdx);
    const IChannelConfig* config = GetIOConfig(configIdx);
    for (int i = 0; config && i < nBuses; ++i)
    {
      String128 name;
      BusName(*this, direction, i, nBuses, name);
      const SpeakerArrangement arrangement = SpeakerArrangementForChannels(config->Buses(direction).Get(i)->nChannels);
      const BusType type = i == 0 ? BusType{kMain} : BusType{kAux};
      const int32 flags = i == 0 ? int32{BusInfo::kDefaultActive} : 0;
      AudioBus* bus = direction == kInput ? mPlugin.addAudioInput(name, arrangement, type, flags)
                                          : mPlugin.addAudioOutput(name, arrangement, type, flags);
      if (!bus)
        return false;
    }
  }
  bool anyOutput = false;
  for (int i = 0; i < NIOConfigs(); ++i)
    anyOutput = anyOutput || GetIOConfig(i)->NBuses(kOutput) > 0;
  if (GetPlugType() == kPlugTypeMidiEffect && !anyOutput && !mPlugin.addAudioOutput(u"Dummy Output", SpeakerArr::kEmpty, kMain, 0))
    return false;
  if (DoesMidiIn() && !mPlugin.addEventInput(u"MIDI Input", 1, kMain, BusInfo::kDefaultActive))
    return false;
  if (DoesMidiOut() && !mPlugin.addEventOutput(u"MIDI Output", 1, kMain, BusInfo::kDefaultActive))
    return false;
  return true;
}

bool IPluginVST3ProcessorBase::SetBusArrangements(const SpeakerArrangement* inputs, int numIns,
                                                  const SpeakerArrangement* outputs, int numOuts)
{
  if (mPlugin.GetHost() == kHostArdour || mPlugin.GetHost() == kHostMixbus)
    return true;
  if (numIns < 0 || numOuts < 0 || (numIns > 0 && !inputs) || (numOuts > 0 && !outputs))
    return false;
  if (numIns > MaxNBuses(kInput) || numOuts > MaxNBuses(kOutput))
    return false;
  BusList* inputBuses = mPlugin.getBusList(kAudio, Steinberg::Vst::kInput);
  BusList* outputBuses = mPlugin.getBusList(kAudio, Steinberg::Vst::kOutput);
  if (numIns > inputBuses->size() || numOuts > outputBuses->size())
    return false;
  int inputCounts[16];
  int outputCounts[16];
  if (numIns > 16 || numOuts > 16)
    return false;
  for (int i = 0; i < numIns; ++i)
    inputCounts[i] = SpeakerArr::getChannelCount(inputs[i]);
  for (int i = 0; i < numOuts; ++i)
    outputCounts[i] = SpeakerArr::getChannelCount(outputs[i]);
  if (GetIOConfigWithChanCounts(inputCounts, numIns, outputCounts, numOuts) < 0)
    return false;
  // The buses the host already knows keep their names, order and activation: a host that
  // names fewer buses leaves the others as they are.
  for (int i = 0; i < numIns; ++i)
    static_cast<AudioBus*>(inputBuses->at(i))->setArrangement(SpeakerArrangementForChannels(inputCounts[i]));
  for (int i = 0; i < numOuts; ++i)
    static_cast<AudioBus*>(outputBuses->at(i))->setArrangement(SpeakerArrangementForChannels(outputCounts[i]));
  return true;
}

bool IPluginVST3ProcessorBase::SetupProcessing(const ProcessSetup& setup, ProcessSetup& stored)
{
  if (setup.symbolicSampleSize != kSample32 && setup.symbolicSampleSize != kSample64)
    return false;
  // A rate the product cannot run is refused like an unsupported sample size: the host
  // then knows, instead of hearing the product run at the wrong speed.
  if (setup.maxSamplesPerBlock <= 0 || setup.maxSamplesPerBlock > kMaxBlockSize ||
      !SupportsSampleRate(setup.sampleRate))
    return false;
  stored = setup;
  SetSampleRate(setup.sampleRate);
  SetBlockSize(setup.maxSamplesPerBlock);
  mMidiOutQueue.Resize(setup.maxSamplesPerBlock);
  mOffline = setup.processMode == kOffline;
  OnReset();
  return true;
}

void IPluginVST3ProcessorBase::PrepareProcessContext(const ProcessData& data, const ProcessSetup& setup)
{
  if (data.processContext)
    std::memcpy(&mProcessContext, data.processContext, sizeof(ProcessContext));
  const ProcessContext& context = mProcessContext;
  ITransportInfo& transport = GetTransport();
  transport.samplePos = (context.state & ProcessContext::kProjectTimeMusicValid)
                          ? static_cast<double>(context.projectTimeSamples)
                          : -1.0;
  transport.tempo = context.tempo;
  transport.ppqPos = context.projectTimeMusic;
  transport.lastBar = context.barPositionMusic;
  transport.cycleStart = context.cycleStartMusic;
  transport.cycleEnd = context.cycleEndMusic;
  transport.numerator = context.timeSigNumerator;
  transport.denominator = context.timeSigDenominator;
  transport.transportIsRunning = (context.state & ProcessContext::kPlaying) != 0;
  transport.transportLoopEnabled = (context.state & ProcessContext::kCycleActive) != 0;
  mOffline = setup.processMode == kOffline;
}

void IPluginVST3ProcessorBase::ConnectInputs(const ProcessData& data, BusList& inputBuses)
{
  if (data.numInputs <= 0 || !data.inputs)
    return;
  const bool is64 = data.symbolicSampleSize == kSample64;
  const auto attach = [&](const AudioBusBuffers& bus, int first) {
    const int count = std::max(bus.numChannels, 0);
    SetChannelConnections(kInput, first, count, true);
    if (is64)
      AttachBuffers(kInput, first, count, bus.channelBuffers64, data.numSamples);
    else
      AttachBuffers(kInput, first, count, bus.channelBuffers32, data.numSamples);
  };
  SetChannelConnections(kInput, 0, NChannels(kInput), false);
  const Bus* aux = inputBuses.at(1);
  if (inputBuses.size() < 2)
    attach(data.inputs[0], 0);
  else if (aux && aux->isActive() && data.numInputs > 1)
  {
    mSidechainConnected = true;
    attach(data.inputs[0], 0);
    attach(data.inputs[1], mMaxNMainChannels);
  }
  else
  {
    if (mSidechainConnected)
    {
      ZeroScratchBuffers();
      mSidechainConnected = false;
    }
    attach(data.inputs[0], 0);
  }
}

void IPluginVST3ProcessorBase::ConnectOutputs(const ProcessData& data, BusList& outputBuses)
{
  const bool is64 = data.symbolicSampleSize == kSample64;
  int first = 0;
  for (int i = 0; i < data.numOutputs && data.outputs; ++i)
  {
    const AudioBusBuffers& bus = data.outputs[i];
    const int count = std::max(bus.numChannels, 0);
    const Bus* declared = outputBuses.at(i);
    SetChannelConnections(kOutput, first, count, declared && declared->isActive());
    SetChannelConnections(kOutput, first + count, NChannels(kOutput) - first - count, false);
    if (is64)
      AttachBuffers(kOutput, first, count, bus.channelBuffers64, data.numSamples);
    else
      AttachBuffers(kOutput, first, count, bus.channelBuffers32, data.numSamples);
    first += count;
  }
}

void IPluginVST3ProcessorBase::ProcessAudio(ProcessData& data, const ProcessSetup& setup, BusList& inputBuses,
                                            BusList& outputBuses)
{
  if (setup.symbolicSampleSize != kSample32 && setup.symbolicSampleSize != kSample64)
    return;
  ConnectInputs(data, inputBuses);
  ConnectOutputs(data, outputBuses);
  const bool is64 = data.symbolicSampleSize == kSample64;
  if (mBypassed.load())
  {
    if (is64)
      PassThroughBuffersDouble(data.numSamples);
    else
      PassThroughBuffers(data.numSamples);
  }
  else if (is64)
    ProcessBuffersDouble(data.numSamples);
  else
    ProcessBuffers(data.numSamples);
}

void IPluginVST3ProcessorBase::ProcessParameterChanges(ProcessData& data, IRingQueue<IMidiEvent>& toEditor)
{
  forEachLastPoint(data.inputParameterChanges, [&](ParamID tag, int32 offset, ParamValue value) {
    value = std::clamp(value, 0.0, 1.0);
    if (tag == IPluginVST3ControllerBase::kBypassTag)
    {
      const bool bypass = value > 0.5;
      if (bypass != mBypassed.load())
        mBypassed.store(bypass);
    }
    else if (tag < static_cast<ParamID>(mPlugin.NParams()))
    {
      mPlugin.GetParam(static_cast<int>(tag))->SetNormalized(value);
      mPlugin.OnParamChange(static_cast<int>(tag), kHost, offset);
    }
    else if (tag >= IPluginVST3ControllerBase::kFirstMidiTag && tag <= 0x7FFFFFFFu)
    {
      const uint32 index = tag - IPluginVST3ControllerBase::kFirstMidiTag;
      const int controller = static_cast<int>(index % IPluginVST3ControllerBase::kMidiControllersPerChannel);
      const int channel = static_cast<int>(index / IPluginVST3ControllerBase::kMidiControllersPerChannel) & 0x0F;
      IMidiEvent event;
      event.offset = offset;
      if (controller == kAfterTouch)
      {
        event.status = static_cast<uint8_t>(0xD0 | channel);
        event.data1 = static_cast<uint8_t>(value * 127.0);
      }
      else if (controller == kPitchBend)
      {
        const int bend = std::clamp(8192 - static_cast<int>((2.0 * value - 1.0) * -8192.0), 0, 16383);
        event.status = static_cast<uint8_t>(0xE0 | channel);
        event.data1 = static_cast<uint8_t>(bend & 0x7F);
        event.data2 = static_cast<uint8_t>(bend >> 7);
      }
      else
      {
        event.status = static_cast<uint8_t>(0xB0 | channel);
        event.data1 = static_cast<uint8_t>(controller);
        event.data2 = static_cast<uint8_t>(value * 127.0);
      }
      toEditor.Push(event);
      ProcessMidiMsg(event);
    }
  });
}

void IPluginVST3ProcessorBase::ProcessMidiIn(IEventList* events, IRingQueue<IMidiEvent>& fromEditor,
                                             IRingQueue<IMidiEvent>& toEditor)
{
  const int32 count = events ? events->getEventCount() : 0;
  for (int32 i = 0; i < count; ++i)
  {
    Event event{};
    if (events->getEvent(i, event) != kResultOk)
      continue;
    IMidiEvent message;
    message.offset = event.sampleOffset;
    switch (event.type)
    {
    case Event::kNoteOnEvent:
      message.status = static_cast<uint8_t>(0x90 | (event.noteOn.channel & 0x0F));
      message.data1 = static_cast<uint8_t>(event.noteOn.pitch & 0x7F);
      message.data2 = static_cast<uint8_t>(std::clamp(event.noteOn.velocity, 0.0f, 1.0f) * 127.0f);
      break;
    case Event::kNoteOffEvent:
      message.status = static_cast<uint8_t>(0x80 | (event.noteOff.channel & 0x0F));
      message.data1 = static_cast<uint8_t>(event.noteOff.pitch & 0x7F);
      break;
    case Event::kPolyPressureEvent:
      message.status = static_cast<uint8_t>(0xA0 | (event.polyPressure.channel & 0x0F));
      message.data1 = static_cast<uint8_t>(event.polyPressure.pitch & 0x7F);
      message.data2 = static_cast<uint8_t>(std::clamp(event.polyPressure.pressure, 0.0f, 1.0f) * 127.0f);
      break;
    case Event::kDataEvent:
      if (event.data.type == DataEvent::kMidiSysEx && event.data.bytes && event.data.size <= 0x7FFFFFFFu)
      {
        ISysExMessage sysEx;
        sysEx.offset = event.sampleOffset;
        sysEx.size = static_cast<int>(event.data.size);
        sysEx.data = event.data.bytes;
        ProcessSysEx(sysEx);
      }
      continue;
    default:
      continue;
    }
    ProcessMidiMsg(message);
    toEditor.Push(message);
  }
  IMidiEvent queued;
  while (fromEditor.Pop(queued))
    ProcessMidiMsg(queued);
}

void IPluginVST3ProcessorBase::ProcessMidiOut(IRingQueue<SysExQueueEntry>& sysExFromEditor, SysExQueueEntry& scratch,
                                              IEventList* outputEvents, int nFrames)
{
  int sent = 0;
  if (outputEvents)
  {
    for (; sent < mMidiOutQueue.Pending(); ++sent)
    {
      const IMidiEvent& message = mMidiOutQueue.PendingAt(sent);
      // The queue is in offset order: a message due after this block, and everything
      // behind it, waits for the block it falls in.
      if (message.offset >= nFrames)
        break;
      Event event{};
      event.busIndex = 0;
      // A message left from a block without an event list goes at the start of this one.
      event.sampleOffset = std::max(message.offset, 0);
      const int kind = message.status & 0xF0;
      const int8 channel = static_cast<int8>(message.status & 0x0F);
      if (kind == 0x90 || kind == 0x80)
      {
        event.type = kind == 0x90 ? Event::kNoteOnEvent : Event::kNoteOffEvent;
        if (kind == 0x90)
        {
          event.noteOn.channel = channel;
          event.noteOn.pitch = message.data1;
          event.noteOn.velocity = static_cast<float>(message.data2) / 127.0f;
          event.noteOn.noteId = -1;
        }
        else
        {
          event.noteOff.channel = channel;
          event.noteOff.pitch = message.data1;
          event.noteOff.velocity = static_cast<float>(message.data2) / 127.0f;
          event.noteOff.noteId = -1;
        }
      }
      else if (kind >= 0xA0 && kind <= 0xE0)
      {
        event.type = Event::kLegacyMIDICCOutEvent;
        event.midiCCOut.channel = channel;
        switch (kind)
        {
        case 0xA0: event.midiCCOut.controlNumber = kCtrlPolyPressure; break;
        case 0xB0: event.midiCCOut.controlNumber = message.data1; break;
        case 0xC0: event.midiCCOut.controlNumber = kCtrlProgramChange; break;
        case 0xD0: event.midiCCOut.controlNumber = kAfterTouch; break;
        default: event.midiCCOut.controlNumber = kPitchBend; break;
        }
        // Value bytes: a control change carries its value alone; everything else keeps
        // its two data bytes (a pitch bend: low seven bits, then high seven bits).
        event.midiCCOut.value = static_cast<int8>(kind == 0xB0 ? message.data2 : message.data1);
        event.midiCCOut.value2 = static_cast<int8>(kind == 0xB0 || kind == 0xC0 ? 0 : message.data2);
      }
      else
        continue; // system messages travel as SysEx
      outputEvents->addEvent(event);
    }
  }
  mMidiOutQueue.MarkSent(sent);
  // Without a list to send to, the messages wait and keep their place in time.
  mMidiOutQueue.Advance(nFrames);
  // The host reads a data event's bytes after the block, so they must stay in the scratch
  // entry until then: one message per block; the others wait in the ring for the next.
  if (outputEvents && nFrames > 0 && sysExFromEditor.Pop(scratch))
  {
    Event event{};
    event.busIndex = 0;
    event.sampleOffset = std::clamp(scratch.offset, 0, nFrames - 1);
    event.type = Event::kDataEvent;
    event.data.type = DataEvent::kMidiSysEx;
    event.data.size = static_cast<uint32>(scratch.size);
    event.data.bytes = scratch.data;
    outputEvents->addEvent(event);
  }
}

void IPluginVST3ProcessorBase::Process(ProcessData& data, const ProcessSetup& setup, BusList& inputBuses,
                                       BusList& outputBuses, IRingQueue<IMidiEvent>& midiFromEditor,
                                       IRingQueue<IMidiEvent>& midiToEditor, IRingQueue<SysExQueueEntry>& sysExFromEditor)
{
  PrepareProcessContext(data, setup);
  ProcessParameterChanges(data, midiToEditor);
  if (DoesMidiIn())
    ProcessMidiIn(data.inputEvents, midiFromEditor, midiToEditor);
  ProcessAudio(data, setup, inputBuses, outputBuses);
  if (DoesMidiOut())
  {
    ProcessMidiOut(sysExFromEditor, mSysExScratch, data.outputEvents, data.numSamples);
  }
}

bool IPluginVST3ProcessorBase::SetState(IBStream* stream)
{
  if (!stream)
    return false;
  IDataChunk chunk;
  char piece[kStateReadPiece];
  for (;;)
  {
    int32 read = 0;
    const tresult result = stream->read(piece, kStateReadPiece, &read);
    if (read <= 0 || read > kStateReadPiece)
      break;
    // One host reports an error together with the bytes it did deliver.
    if (result != kResultOk && mPlugin.GetHost() != kHostWaveLab)
      break;
    if (chunk.Size() + read > kMaxStateBytes)
      return false;
    const int before = chunk.Size();
    if (chunk.PutBytes(piece, read) != before + read)
      return false;
  }
  const int position = mPlugin.UnserializeState(chunk, 0);
  if (position < 0)
    return false;
  // The bypass follows the parameters in the bytes already read, wherever the state sits
  // in the host's stream.
  int32 bypass = 0;
  if (chunk.Get(bypass, position) < 0 || (bypass != 0 && bypass != 1))
    return false;
  mBypassed.store(bypass != 0);
  mPlugin.SyncControllerParameters(bypass != 0 ? 1.0 : 0.0);
  mPlugin.OnRestoreState();
  return true;
}

} // namespace pfw
