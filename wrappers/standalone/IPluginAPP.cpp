#include "wrappers/standalone/IPluginAPP.h"

#include "deps/midi/RtMidi.h"
#include "framework/core/Trace.h"
#include "wrappers/standalone/StandaloneHost.h"

#include <algorithm>

namespace pfw {

IPluginAPP::IPluginAPP(const InstanceInfo& info, const IPluginConfig& config)
  : IPluginAPIBase(config, kAPIAPP)
  , IPluginProcessor(config)
  , mHost(info.host)
{
  Trace(__FUNCTION__, __LINE__, "pfw::IPluginAPP::IPluginAPP");
  SetChannelConnections(kInput, 0, NChannels(kInput), true);
  SetChannelConnections(kOutput, 0, NChannels(kOutput), true);
  SetBlockSize(512);
  CreateTimer();
}

IPluginAPP::~IPluginAPP() = default;

void IPluginAPP::ProcessHostBuffers(double** inputs, int nInputs, double** outputs, int nOutputs, int nFrames)
{
  // Only the channels the device delivers are connected; the others read silence.
  nInputs = GetPlugType() == kPlugTypeInstrument || !inputs ? 0 : std::min(std::max(nInputs, 0), NChannels(kInput));
  nOutputs = !outputs ? 0 : std::min(std::max(nOutputs, 0), NChannels(kOutput));
  SetChannelConnections(kInput, nInputs, NChannels(kInput) - nInputs, false);
  SetChannelConnections(kInput, 0, nInputs, true);
  SetChannelConnections(kOutput, nOutputs, NChannels(kOutput) - nOutputs, false);
  SetChannelConnections(kOutput, 0, nOutputs, true);
  AttachBuffers(kInput, 0, nInputs, inputs, nFrames);
  AttachBuffers(kOutput, 0, nOutputs, outputs, nFrames);

  // Device MIDI goes to the processor and on to the editor, which may show it.
  IMidiEvent event;
  while (mMidiFromDevice.Pop(event))
  {
    ProcessMidiMsg(event);
    mMidiMsgsFromProcessor.Push(event);
  }
  SysExQueueEntry entry;
  while (mSysExFromDevice.Pop(entry))
  {
    ISysExMessage message;
    message.offset = entry.offset;
    message.size = entry.size;
    message.data = entry.data;
    ProcessSysEx(message);
    mSysExDataFromProcessor.Push(entry);
  }
  while (mMidiMsgsFromEditor.Pop(event))
    ProcessMidiMsg(event);

  ProcessBuffersDouble(nFrames);
}

// The port to send through; null when nothing could be sent (this also keeps the audio
// thread away from the layer's complaint about a closed port).
static RtMidiOut* OpenMidiOutput(StandaloneHost* host)
{
  RtMidiOut* output = host ? host->GetMidiOutput() : nullptr;
  return output && output->isPortOpen() ? output : nullptr;
}

bool IPluginAPP::SendMidiMsg(const IMidiEvent& event)
{
  RtMidiOut* output = OpenMidiOutput(mHost);
  if (!DoesMidiOut() || !output)
    return false;
  const unsigned char bytes[3] = {event.status, event.data1, event.data2};
  try
  {
    output->sendMessage(bytes, 3);
  }
  catch (...)
  {
    return false;
  }
  return true;
}

bool IPluginAPP::SendSysEx(const ISysExMessage& message)
{
  RtMidiOut* output = OpenMidiOutput(mHost);
  if (!DoesMidiOut() || !output || message.size <= 0 || !message.data)
    return false;
  try
  {
    output->sendMessage(message.data, static_cast<size_t>(message.size));
  }
  catch (...)
  {
    return false;
  }
  return true;
}

void IPluginAPP::SendSysexMsgFromUI(const ISysExMessage& message)
{
  SendSysEx(message);
}

bool IPluginAPP::ResizeHostView(int width, int height)
{
  if (width != GetEditorWidth() || height != GetEditorHeight())
    SetEditorSize(width, height);
  return false;
}

} // namespace pfw
