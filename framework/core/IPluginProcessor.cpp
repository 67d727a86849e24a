#include "IPluginProcessor.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <string>

namespace pfw {

namespace {

// "*" is any count; anything else is read as a decimal integer, no number giving 0.
int ReadBus(const std::string& text)
{
  if (text == "*")
    return IBusDesc::kAnyChannels;
  errno = 0;
  const long value = std::strtol(text.c_str(), nullptr, 10);
  if (errno == ERANGE || value > INT_MAX / 2 || value < INT_MIN / 2)
    return 0;
  return static_cast<int>(value);
}

// Appends the buses of one part ("2.1") and returns the sum of their counts.
int ParseBuses(const std::string& part, int direction, PointerList<IBusDesc>& buses)
{
  int total = 0;
  size_t start = 0;
  while (true)
  {
    const size_t dot = part.find('.', start);
    const int nChannels = ReadBus(part.substr(start, dot == std::string::npos ? std::string::npos : dot - start));
    total += nChannels;
    if (nChannels != 0)
    {
      IBusDesc* bus = new IBusDesc{direction, nChannels};
      if (!buses.Add(bus))
        delete bus;
    }
    if (dot == std::string::npos)
      return total;
    start = dot + 1;
  }
}

} // namespace

IPluginProcessor::IPluginProcessor(const IPluginConfig& config)
  : mPlugType(config.plugType)
  , mDoesMidiIn(config.plugDoesMidiIn)
  , mDoesMidiOut(config.plugDoesMidiOut)
  , mDoesMPE(config.plugDoesMPE)
  , mLatency(config.latency)
  , mMinSampleRate(config.minSampleRate)
  , mMaxSampleRate(config.maxSampleRate)
{
  ParseIOConfig(config.channelIOStr, mIOConfigs, mMaxNInputChannels, mMaxNOutputChannels, mMaxNInputBuses,
                mMaxNOutputBuses);
  CreateSlots(kInput, mMaxNInputChannels);
  CreateSlots(kOutput, mMaxNOutputChannels);
}

IPluginProcessor::~IPluginProcessor()
{
  delete mLatencyDelay;
}

bool IPluginProcessor::SupportsSampleRate(double sampleRate) const
{
  return std::isfinite(sampleRate) && sampleRate > 0.0 && sampleRate >= mMinSampleRate &&
         sampleRate <= mMaxSampleRate;
}

void IPluginProcessor::CreateSlots(int direction, int count)
{
  PointerList<IChannelSlot>& slots = direction == kInput ? mInputSlots : mOutputSlots;
  GrowArray<float*>& pointers = direction == kInput ? mInputPointers : mOutputPointers;
  for (int i = 0; i < count; ++i)
  {
    IChannelSlot* slot = new IChannelSlot;
    slot->entry = i;
    // Never a null sample pointer: even before the block size is known there is silence.
    ResizeScratch(*slot, 1);
    if (!slots.Add(slot) || !pointers.Add(slot->scratch.Get()))
    {
      if (slots.GetLast() == slot)
        slots.Delete(slots.GetSize() - 1);
      else
        delete slot;
      return;
    }
  }
}

void IPluginProcessor::ResizeScratch(IChannelSlot& slot, int nFrames)
{
  if (slot.scratch.Resize(std::max(nFrames, 1)))
    std::memset(slot.scratch.Get(), 0, sizeof(float) * static_cast<size_t>(slot.scratch.GetSize()));
}

void IPluginProcessor::ProcessBlock(float** inputs, float** outputs, int nFrames)
{
  const int nInputs = NChannels(kInput);
  for (int i = 0; i < NChannels(kOutput); ++i)
  {
    if (i < nInputs)
      std::memmove(outputs[i], inputs[i], sizeof(float) * static_cast<size_t>(nFrames)); // hosts may process in place
    else
      std::memset(outputs[i], 0, sizeof(float) * static_cast<size_t>(nFrames));
  }
}

void IPluginProcessor::ProcessMidiMsg(const IMidiEvent& event)
{
  SendMidiMsg(event);
}

void IPluginProcessor::ProcessSysEx(const ISysExMessage&) {}

void IPluginProcessor::OnReset() {}

void IPluginProcessor::OnActivate(bool) {}

bool IPluginProcessor::SendMidiMsgs(const IMidiEvent* events, int count)
{
  bool allSent = true;
  for (int i = 0; events && i < count; ++i)
    allSent = SendMidiMsg(events[i]) && allSent;
  return allSent;
}

bool IPluginProcessor::SendSysEx(const ISysExMessage&)
{
  return false;
}

void IPluginProcessor::GetBusName(int direction, int busIdx, int nBuses, GrowString& name) const
{
  if (direction == kInput)
  {
    if (nBuses == 1)
      name.Set("Input");
    else if (nBuses == 2)
      name.Set(busIdx == 0 ? "Main" : "Aux");
    else
      name.SetFormatted(0, "Input %i", busIdx);
  }
  else
  {
    if (nBuses == 1)
      name.Set("Output");
    else
      name.SetFormatted(0, "Output %i", busIdx);
  }
}

void IPluginProcessor::SetLatency(int samples)
{
  mLatency = samples;
  if (!mLatencyDelay)
    return;
  const int length = std::max(samples, 0);
  LatencyDelayLine& delay = *mLatencyDelay;
  if (delay.buffer.Resize(length * delay.nInputChannels))
  {
    if (delay.buffer.GetSize() > 0)
      std::memset(delay.buffer.Get(), 0, sizeof(float) * static_cast<size_t>(delay.buffer.GetSize()));
    delay.latency = length;
  }
  else
  {
    delay.buffer.Clear();
    delay.latency = 0;
  }
  delay.writePosition = 0;
}

void IPluginProcessor::SetTailSize(int samples)
{
  mTailSize = samples;
}

void IPluginProcessor::SetBlockSize(int blockSize)
{
  if (blockSize == mBlockSize)
    return;
  for (int direction : {kInput, kOutput})
  {
    for (int i = 0; i < NChannels(direction); ++i)
    {
      IChannelSlot* slot = GetChannelSlot(direction, i);
      ResizeScratch(*slot, blockSize);
      // The storage may have moved: every pointer that referred to it follows.
      SamplePointers(direction)[slot->entry] = slot->scratch.Get();
      slot->hostBuffer = nullptr;
    }
  }
  mBlockSize = blockSize;
}

int IPluginProcessor::NChannelsConnected(int direction) const
{
  int count = 0;
  for (int i = 0; i < NChannels(direction); ++i)
    count += GetChannelSlot(direction, i)->connected ? 1 : 0;
  return count;
}

bool IPluginProcessor::IsChannelConnected(int direction, int channel) const
{
  const IChannelSlot* slot = GetChannelSlot(direction, channel);
  return slot && slot->connected;
}

void IPluginProcessor::SetChannelConnections(int direction, int firstChannel, int count, bool connected)
{
  if (firstChannel < 0 || count <= 0)
    return;
  const int end = static_cast<int>(std::min<long long>(static_cast<long long>(firstChannel) + count, NChannels(direction)));
  for (int i = firstChannel; i < end; ++i)
  {
    IChannelSlot* slot = GetChannelSlot(direction, i);
    if (!connected)
    {
      // A channel that just lost its connection must read silence, not its last block.
      if (slot->connected)
        std::memset(slot->scratch.Get(), 0, sizeof(float) * static_cast<size_t>(slot->scratch.GetSize()));
      SamplePointers(direction)[slot->entry] = slot->scratch.Get();
      slot->hostBuffer = nullptr;
    }
    slot->connected = connected;
  }
}

void IPluginProcessor::AttachBuffers(int direction, int firstChannel, int count, double** buffers, int nFrames)
{
  if (firstChannel < 0 || count <= 0)
    return;
  const int end = static_cast<int>(std::min<long long>(static_cast<long long>(firstChannel) + count, NChannels(direction)));
  const int converted = std::clamp(nFrames, 0, mBlockSize);
  int next = 0;
  for (int i = firstChannel; i < end; ++i)
  {
    IChannelSlot* slot = GetChannelSlot(direction, i);
    if (!slot->connected)
      continue;
    double* host = buffers ? buffers[next] : nullptr;
    ++next;
    float* scratch = slot->scratch.Get();
    SamplePointers(direction)[slot->entry] = scratch;
    slot->hostBuffer = host;
    if (direction == kInput)
    {
      for (int s = 0; s < converted; ++s)
        scratch[s] = host ? static_cast<float>(host[s]) : 0.0f;
    }
  }
}

void IPluginProcessor::ConvertInputs(int offset, int nFrames)
{
  for (int i = 0; i < NChannels(kInput); ++i)
  {
    IChannelSlot* slot = GetChannelSlot(kInput, i);
    if (!slot->connected)
      continue;
    float* scratch = slot->scratch.Get();
    for (int s = 0; s < nFrames; ++s)
      scratch[s] = slot->hostBuffer ? static_cast<float>(slot->hostBuffer[offset + s]) : 0.0f;
  }
}

void IPluginProcessor::ConvertOutputs(int offset, int nFrames)
{
  for (int i = 0; i < NChannels(kOutput); ++i)
  {
    IChannelSlot* slot = GetChannelSlot(kOutput, i);
    if (!slot->connected || !slot->hostBuffer)
      continue;
    const float* scratch = slot->scratch.Get();
    for (int s = 0; s < nFrames; ++s)
      slot->hostBuffer[offset + s] = scratch[s];
  }
}

void IPluginProcessor::ForgetHostBuffers()
{
  // Host buffers belong to this block only; the next block attaches its own, and until
  // then every channel points at its scratch buffer.
  for (int direction : {kInput, kOutput})
    for (int i = 0; i < NChannels(direction); ++i)
    {
      IChannelSlot* slot = GetChannelSlot(direction, i);
      slot->hostBuffer = nullptr;
      SamplePointers(direction)[slot->entry] = slot->scratch.Get();
    }
}

template <typename Process>
void IPluginProcessor::InPieces(int nFrames, Process process)
{
  if (nFrames <= 0)
    return;
  if (mBlockSize <= 0)
  {
    for (int i = 0; i < NChannels(kOutput); ++i)
    {
      IChannelSlot* slot = GetChannelSlot(kOutput, i);
      if (slot->connected && slot->hostBuffer)
        std::fill(slot->hostBuffer, slot->hostBuffer + nFrames, 0.0);
    }
  }
  for (int offset = 0; mBlockSize > 0 && offset < nFrames; offset += mBlockSize)
  {
    const int piece = std::min(mBlockSize, nFrames - offset);
    if (offset > 0) // the first piece was converted when the buffers were attached
      ConvertInputs(offset, piece);
    process(piece);
    ConvertOutputs(offset, piece);
  }
  ForgetHostBuffers();
}

void IPluginProcessor::ProcessBuffersDouble(int nFrames)
{
  InPieces(nFrames, [this](int piece) { ProcessBlock(SamplePointers(kInput), SamplePointers(kOutput), piece); });
}

void IPluginProcessor::PassThroughBuffersDouble(int nFrames)
{
  InPieces(nFrames, [this](int piece) { PassThrough(piece); });
}

void IPluginProcessor::AttachBuffers(int direction, int firstChannel, int count, float** buffers, int)
{
  if (firstChannel < 0 || count <= 0)
    return;
  const int end = static_cast<int>(std::min<long long>(static_cast<long long>(firstChannel) + count, NChannels(direction)));
  int next = 0;
  for (int i = firstChannel; i < end; ++i)
  {
    IChannelSlot* slot = GetChannelSlot(direction, i);
    if (!slot->connected)
      continue;
    float* host = buffers ? buffers[next] : nullptr;
    ++next;
    SamplePointers(direction)[slot->entry] = host ? host : slot->scratch.Get();
    slot->hostBuffer = nullptr;
  }
}

void IPluginProcessor::ProcessBuffers(int nFrames)
{
  // Unconnected channels point at scratch buffers of the block size; the wrapper refuses
  // longer host blocks, and this never lets one overrun them.
  nFrames = std::min(nFrames, mBlockSize);
  if (nFrames > 0)
    ProcessBlock(SamplePointers(kInput), SamplePointers(kOutput), nFrames);
  ForgetHostBuffers();
}

void IPluginProcessor::PassThroughBuffers(int nFrames)
{
  PassThrough(std::min(nFrames, mBlockSize));
  ForgetHostBuffers();
}

void IPluginProcessor::PassThrough(int nFrames)
{
  float** inputs = SamplePointers(kInput);
  float** outputs = SamplePointers(kOutput);
  const int nInputs = NChannels(kInput);
  const int nOutputs = NChannels(kOutput);
  LatencyDelayLine* delay = mLatencyDelay;
  if (mLatency != 0 && delay && delay->latency > 0)
  {
    const int length = delay->latency;
    const int nChannels = std::min({delay->nInputChannels, delay->nOutputChannels, nInputs, nOutputs});
    float* line = delay->buffer.Get();
    for (int s = 0; s < nFrames; ++s)
    {
      for (int j = 0; j < nChannels; ++j)
      {
        // Read the input before writing the output: they may share memory.
        const float in = inputs[j][s];
        float& stored = line[j * length + delay->writePosition];
        outputs[j][s] = stored;
        stored = in;
      }
      delay->writePosition = (delay->writePosition + 1) % length;
    }
    return;
  }
  for (int i = 0; i < nOutputs; ++i)
  {
    if (i < nInputs)
      std::memmove(outputs[i], inputs[i], sizeof(float) * static_cast<size_t>(std::max(nFrames, 0)));
    else
      std::memset(outputs[i], 0, sizeof(float) * static_cast<size_t>(std::max(nFrames, 0)));
  }
}

void IPluginProcessor::ZeroScratchBuffers()
{
  for (int direction : {kInput, kOutput})
    for (int i = 0; i < NChannels(direction); ++i)
    {
      GrowArray<float>& scratch = GetChannelSlot(direction, i)->scratch;
      std::memset(scratch.Get(), 0, sizeof(float) * static_cast<size_t>(scratch.GetSize()));
    }
}

int IPluginProcessor::MaxNBuses(int direction, int* configIdx) const
{
  int most = 0;
  int index = 0;
  for (int i = 0; i < NIOConfigs(); ++i)
  {
    const int nBuses = GetIOConfig(i)->NBuses(direction);
    if (nBuses >= most)
    {
      most = nBuses;
      index = i;
    }
  }
  if (configIdx)
    *configIdx = index;
  return most;
}

int IPluginProcessor::MaxNChannelsForBus(int direction, int busIdx) const
{
  if (const IChannelConfig* first = GetIOConfig(0))
    for (int b = 0; b < first->NBuses(direction); ++b)
      if (first->Buses(direction).Get(b)->nChannels == IBusDesc::kAnyChannels)
        return -1;
  int most = 0;
  for (int i = 0; i < NIOConfigs(); ++i)
    if (const IBusDesc* bus = GetIOConfig(i)->Buses(direction).Get(busIdx))
      most = std::max(most, bus->nChannels);
  return most;
}

int IPluginProcessor::GetIOConfigWithChanCounts(const int* inputCounts, int nInputBuses, const int* outputCounts,
                                                int nOutputBuses) const
{
  for (int i = 0; i < NIOConfigs(); ++i)
  {
    const IChannelConfig* config = GetIOConfig(i);
    if (config->NBuses(kInput) != nInputBuses || config->NBuses(kOutput) != nOutputBuses)
      continue;
    bool matches = true;
    for (int b = 0; matches && b < nInputBuses; ++b)
      matches = config->Buses(kInput).Get(b)->nChannels == inputCounts[b];
    for (int b = 0; matches && b < nOutputBuses; ++b)
      matches = config->Buses(kOutput).Get(b)->nChannels == outputCounts[b];
    if (matches)
      return i;
  }
  return -1;
}

int IPluginProcessor::ParseIOConfig(const char* text, PointerList<IChannelConfig>& configs, int& maxNInputChannels,
                                    int& maxNOutputChannels, int& maxNInputBuses, int& maxNOutputBuses)
{
  maxNInputChannels = maxNOutputChannels = maxNInputBuses = maxNOutputBuses = 0;
  const std::string all = text ? text : "";
  int count = 0;
  size_t start = 0;
  while (start <= all.size())
  {
    const size_t space = all.find(' ', start);
    const std::string token = all.substr(start, space == std::string::npos ? std::string::npos : space - start);
    start = space == std::string::npos ? all.size() + 1 : space + 1;
    if (token.empty())
      continue;

    IChannelConfig* config = new IChannelConfig;
    const size_t dash = token.find('-');
    config->totalInputChannels = ParseBuses(token.substr(0, dash), kInput, config->inputBuses);
    // A configuration without "-" has no output part.
    if (dash != std::string::npos)
      config->totalOutputChannels = ParseBuses(token.substr(dash + 1), kOutput, config->outputBuses);

    maxNInputChannels = std::max(maxNInputChannels, config->totalInputChannels);
    maxNOutputChannels = std::max(maxNOutputChannels, config->totalOutputChannels);
    maxNInputBuses = std::max(maxNInputBuses, config->NBuses(kInput));
    maxNOutputBuses = std::max(maxNOutputBuses, config->NBuses(kOutput));
    if (!configs.Add(config))
    {
      delete config;
      break;
    }
    ++count;
  }
  return count;
}

void IPluginProcessor::CreateLatencyDelay()
{
  if (NChannels(kInput) <= 0)
    return;
  delete mLatencyDelay;
  mLatencyDelay = new LatencyDelayLine;
  mLatencyDelay->nInputChannels = NChannels(kInput);
  mLatencyDelay->nOutputChannels = NChannels(kOutput);
  SetLatency(mLatency);
}

} // namespace pfw
