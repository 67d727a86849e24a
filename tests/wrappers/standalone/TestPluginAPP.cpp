#include "TestPluginAPP.h"

#include "framework/core/IPluginConfig.h"

#include <cmath>
#include <stdexcept>

namespace {

TestPluginAPP::Options gNextOptions;

pfw::IPluginConfig MakeConfig(const TestPluginAPP::Options& options)
{
  pfw::IPluginConfig config;
  config.channelIOStr = options.channelIO;
  config.pluginName = "Test";
  config.productName = "Test";
  config.mfrName = "Test";
  config.vendorVersion = (1 << 16) | (2 << 8) | 3;
  config.plugDoesMidiIn = true;
  config.plugDoesMidiOut = options.midiOut;
  config.plugType = options.plugType;
  config.minSampleRate = 22050; // as the product's engine
  config.maxSampleRate = 192000;
  config.plugWidth = 400;
  config.plugHeight = 300;
  return config;
}

void ThrowIfArmed(std::atomic<TestPluginAPP::Fault>& throwAt, TestPluginAPP::Fault point)
{
  TestPluginAPP::Fault armed = point;
  if (throwAt.compare_exchange_strong(armed, TestPluginAPP::Fault::kNone))
    throw std::runtime_error("plug-in fault");
}

} // namespace

TestPluginAPP::TestPluginAPP(StandaloneHost& host, const Options& options)
  : pfw::IPluginAPP(InstanceInfo{&host}, MakeConfig(options))
  , recorded(options.recordFrames, 0.0)
  , blockTimes(4096, 0)
{
  midi.reserve(4096);
  sysEx.reserve(64);
  midiAtEditor.reserve(4096);
}

void TestPluginAPP::ProcessBlock(float** inputs, float** outputs, int nFrames)
{
  audioThread = GetCurrentThreadId();
  const size_t timeIndex = blockTimesTaken;
  if (timeIndex < blockTimes.size())
  {
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    blockTimes[timeIndex] = now.QuadPart;
    blockTimesTaken = timeIndex + 1;
  }
  if (nFrames != 512)
    ++wrongBlockSizes;
  int nIn = 0, nOut = 0;
  for (int c = 0; c < NChannels(pfw::kInput); ++c)
    nIn += IsChannelConnected(pfw::kInput, c);
  for (int c = 0; c < NChannels(pfw::kOutput); ++c)
    nOut += IsChannelConnected(pfw::kOutput, c);
  connectedInputs = nIn;
  connectedOutputs = nOut;

  size_t at = recordedFrames;
  for (int i = 0; i < nFrames && at < recorded.size(); ++i)
    recorded[at++] = inputs[0][i];
  recordedFrames = at;

  const int block = blocks;
  const int toneBlock = toneFromBlock;
  for (int c = 0; c < NChannels(pfw::kOutput); ++c)
    for (int i = 0; i < nFrames; ++i)
    {
      if (toneBlock < 0)
        outputs[c][i] = c < NChannels(pfw::kInput) ? inputs[c][i] : 0.0f;
      else if (block < toneBlock)
        outputs[c][i] = 0.0f;
      else
      {
        const double t = (static_cast<double>(block - toneBlock) * nFrames + i) / GetSampleRate();
        outputs[c][i] = static_cast<float>(toneAmplitude * std::sin(2.0 * 3.14159265358979323846 * toneHz * t));
      }
    }
  ThrowIfArmed(throwAt, Fault::kBlock);
  ++blocks;
}

void TestPluginAPP::ProcessMidiMsg(const pfw::IMidiEvent& event)
{
  ThrowIfArmed(throwAt, Fault::kMidi);
  if (midi.size() < midi.capacity())
    midi.push_back(event);
}

void TestPluginAPP::ProcessSysEx(const pfw::ISysExMessage& message)
{
  ThrowIfArmed(throwAt, Fault::kSysEx);
  if (sysEx.size() < sysEx.capacity())
    sysEx.emplace_back(message.data, message.data + message.size);
}

void TestPluginAPP::OnReset()
{
  sampleRateAtReset = GetSampleRate();
  ++resets;
}

void TestPluginAPP::OnActivate(bool active)
{
  activations += active ? 1 : -1;
}

void TestPluginAPP::OnMidiMsgUI(const pfw::IMidiEvent& event)
{
  midiAtEditor.push_back(event);
}

void TestPluginAPP::OnSysexMsgUI(const pfw::ISysExMessage& message)
{
  sysExSizesAtEditor.push_back(message.size);
}

pfw::IPluginAPP* MakeTestPlugin(StandaloneHost& host)
{
  return new TestPluginAPP(host, gNextOptions);
}

void SetNextPluginOptions(const TestPluginAPP::Options& options)
{
  gNextOptions = options;
}
