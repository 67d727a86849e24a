#include "framework/core/IPluginProcessor.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using pfw::IPluginProcessor;
using pfw::kInput;
using pfw::kOutput;

namespace {

constexpr const char* kProductIO = "1-1 1-2 2-2 1.1-1 1.2-1 1.1-2 1.2-2 2.1-2 2.2-2";

pfw::IPluginConfig Config(const char* io = kProductIO)
{
  pfw::IPluginConfig config;
  config.channelIOStr = io;
  config.latency = 48;
  return config;
}

class TestProcessor : public IPluginProcessor
{
public:
  explicit TestProcessor(const pfw::IPluginConfig& config = Config())
    : IPluginProcessor(config)
  {
  }
  bool SendMidiMsg(const pfw::IMidiEvent& event) override
  {
    sent.push_back(event.status);
    return event.status != 0;
  }
  std::vector<int> sent;
};

// Doubles every input sample into the output of the same index and notes the block sizes.
class GainProcessor : public TestProcessor
{
public:
  void ProcessBlock(float** inputs, float** outputs, int nFrames) override
  {
    blocks.push_back(nFrames);
    for (int c = 0; c < NChannels(kOutput); ++c)
      for (int s = 0; s < nFrames; ++s)
        outputs[c][s] = (c < NChannels(kInput) ? inputs[c][s] : 0.0f) * 2.0f;
  }
  std::vector<int> blocks;
};

std::string BusList(const pfw::IChannelConfig& config, int direction)
{
  std::string text;
  for (int i = 0; i < config.NBuses(direction); ++i)
    text += (i ? "." : "") + std::to_string(config.Buses(direction).Get(i)->nChannels);
  return text;
}

} // namespace

TEST(PluginProcessor, TheProductConfigurationParsesIntoItsBuses)
{
  TestProcessor processor;
  ASSERT_EQ(processor.NIOConfigs(), 9);
  const char* expectedInputs[] = {"1", "1", "2", "1.1", "1.2", "1.1", "1.2", "2.1", "2.2"};
  const char* expectedOutputs[] = {"1", "2", "2", "1", "1", "2", "2", "2", "2"};
  for (int i = 0; i < 9; ++i)
  {
    const pfw::IChannelConfig* config = processor.GetIOConfig(i);
    EXPECT_EQ(BusList(*config, kInput), expectedInputs[i]) << i;
    EXPECT_EQ(BusList(*config, kOutput), expectedOutputs[i]) << i;
    EXPECT_EQ(config->Buses(kOutput).Get(0)->direction, kOutput);
  }
  EXPECT_EQ(processor.GetIOConfig(8)->totalInputChannels, 4);
  EXPECT_EQ(processor.NChannels(kInput), 4);
  EXPECT_EQ(processor.NChannels(kOutput), 2);
  EXPECT_EQ(processor.MaxNInputBuses(), 2);
  EXPECT_EQ(processor.MaxNOutputBuses(), 1);
  EXPECT_EQ(processor.GetLatency(), 48);
  EXPECT_EQ(processor.GetSampleRate(), 48000.0);
  EXPECT_EQ(processor.GetBlockSize(), 0);
  EXPECT_EQ(processor.GetTransport().tempo, 120.0);
  EXPECT_EQ(processor.GetTransport().samplePos, -1.0);
  EXPECT_EQ(processor.GetTransport().numerator, 4);
}

TEST(PluginProcessor, WildcardsZerosAndOddText)
{
  pfw::PointerList<pfw::IChannelConfig> configs(true);
  int maxIn, maxOut, maxInBuses, maxOutBuses;
  EXPECT_EQ(IPluginProcessor::ParseIOConfig("2.*-2", configs, maxIn, maxOut, maxInBuses, maxOutBuses), 1);
  EXPECT_EQ(BusList(*configs.Get(0), kInput), "2.-64");
  EXPECT_EQ(configs.Get(0)->totalInputChannels, -62);
  EXPECT_EQ(maxIn, 0);
  EXPECT_EQ(maxInBuses, 2);

  configs.Clear();
  EXPECT_EQ(IPluginProcessor::ParseIOConfig("0-2", configs, maxIn, maxOut, maxInBuses, maxOutBuses), 1);
  EXPECT_EQ(configs.Get(0)->NBuses(kInput), 0);
  EXPECT_EQ(configs.Get(0)->totalInputChannels, 0);
  EXPECT_EQ(maxOut, 2);

  configs.Clear();
  EXPECT_EQ(IPluginProcessor::ParseIOConfig("x-2  4 ", configs, maxIn, maxOut, maxInBuses, maxOutBuses), 2);
  EXPECT_EQ(configs.Get(0)->NBuses(kInput), 0) << "text that is no number counts 0";
  EXPECT_EQ(BusList(*configs.Get(1), kInput), "4") << "no output part";
  EXPECT_EQ(configs.Get(1)->NBuses(kOutput), 0);
  EXPECT_EQ(IPluginProcessor::ParseIOConfig(nullptr, configs, maxIn, maxOut, maxInBuses, maxOutBuses), 0);
  EXPECT_EQ(IPluginProcessor::ParseIOConfig("99999999999-1", configs, maxIn, maxOut, maxInBuses, maxOutBuses), 1);
  EXPECT_EQ(maxIn, 0) << "an absurd count is no number";
}

TEST(PluginProcessor, BusNames)
{
  TestProcessor processor;
  pfw::GrowString name;
  processor.GetBusName(kInput, 0, 1, name);
  EXPECT_STREQ(name.Get(), "Input");
  processor.GetBusName(kInput, 0, 2, name);
  EXPECT_STREQ(name.Get(), "Main");
  processor.GetBusName(kInput, 1, 2, name);
  EXPECT_STREQ(name.Get(), "Aux");
  processor.GetBusName(kInput, 2, 3, name);
  EXPECT_STREQ(name.Get(), "Input 2");
  processor.GetBusName(kOutput, 0, 1, name);
  EXPECT_STREQ(name.Get(), "Output");
  processor.GetBusName(kOutput, 2, 3, name);
  EXPECT_STREQ(name.Get(), "Output 2");
}

TEST(PluginProcessor, HostBuffersConvertBothWays)
{
  GainProcessor processor;
  processor.SetBlockSize(8);
  processor.SetChannelConnections(kInput, 0, 4, true);
  processor.SetChannelConnections(kOutput, 0, 2, true);
  std::vector<double> inL(8), inR(8), outL(8, 9), outR(8, 9);
  for (int s = 0; s < 8; ++s)
  {
    inL[s] = 0.1 * s;
    inR[s] = -0.25 * s;
  }
  double* inputs[] = {inL.data(), inR.data()};
  double* outputs[] = {outL.data(), outR.data()};
  processor.AttachBuffers(kInput, 0, 2, inputs, 8);
  processor.AttachBuffers(kOutput, 0, 2, outputs, 8);
  processor.ProcessBuffersDouble(8);
  for (int s = 0; s < 8; ++s)
  {
    EXPECT_EQ(outL[s], static_cast<double>(static_cast<float>(0.1 * s) * 2.0f)) << "converted through 32-bit floats";
    EXPECT_EQ(outR[s], -0.5 * s);
  }
  EXPECT_EQ(processor.blocks, (std::vector<int>{8}));
}

TEST(PluginProcessor, UnconnectedChannelsReadSilenceAndTakeNoBuffer)
{
  GainProcessor processor;
  processor.SetBlockSize(4);
  processor.SetChannelConnections(kInput, 0, 4, true);
  processor.SetChannelConnections(kOutput, 0, 2, true);
  std::vector<double> a(4, 0.5), b(4, -0.5), outL(4), outR(4);
  double* inputs[] = {a.data(), b.data()};
  double* outputs[] = {outL.data(), outR.data()};
  processor.AttachBuffers(kInput, 0, 2, inputs, 4);
  processor.AttachBuffers(kOutput, 0, 2, outputs, 4);
  processor.ProcessBuffersDouble(4);
  EXPECT_EQ(outR[0], -1.0);

  // Channel 0 loses its connection: it must read silence, not its last block, and the
  // first host buffer now goes to channel 1.
  processor.SetChannelConnections(kInput, 0, 1, false);
  processor.SetChannelConnections(kInput, 2, 2, false);
  EXPECT_EQ(processor.NChannelsConnected(kInput), 1);
  double* second[] = {b.data()};
  processor.AttachBuffers(kInput, 0, 4, second, 4);
  processor.AttachBuffers(kOutput, 0, 2, outputs, 4);
  processor.ProcessBuffersDouble(4);
  EXPECT_EQ(outL, (std::vector<double>(4, 0.0)));
  EXPECT_EQ(outR, (std::vector<double>(4, -1.0)));

  processor.SetChannelConnections(kOutput, 1, 5, false);
  EXPECT_EQ(processor.NChannelsConnected(kOutput), 1);
  outR.assign(4, 7.0);
  processor.AttachBuffers(kOutput, 0, 2, outputs, 4);
  processor.ProcessBuffersDouble(4);
  EXPECT_EQ(outR, (std::vector<double>(4, 7.0))) << "an unconnected output writes only to scratch";
}

TEST(PluginProcessor, FourSlotsTwoConnectedTakeTwoBuffers)
{
  GainProcessor processor;
  processor.SetBlockSize(2);
  processor.SetChannelConnections(kInput, 1, 1, true);
  processor.SetChannelConnections(kInput, 3, 1, true);
  processor.SetChannelConnections(kOutput, 0, 2, true);
  std::vector<double> first(2, 0.25), second(2, 0.5), third(2, 99);
  double* inputs[] = {first.data(), second.data(), third.data()};
  std::vector<double> outL(2), outR(2);
  double* outputs[] = {outL.data(), outR.data()};
  processor.AttachBuffers(kInput, 0, 4, inputs, 2);
  processor.AttachBuffers(kOutput, 0, 2, outputs, 2);
  processor.ProcessBuffersDouble(2);
  EXPECT_EQ(outL[0], 0.0) << "slot 0 is unconnected";
  EXPECT_EQ(outR[0], 0.5) << "slot 1 took the first host buffer";
}

TEST(PluginProcessor, SilenceBeforeTheBlockSizeIsKnown)
{
  TestProcessor processor;
  processor.SetChannelConnections(kOutput, 0, 2, true);
  std::vector<double> outL(16, 3.0), outR(16, 3.0);
  double* outputs[] = {outL.data(), outR.data()};
  processor.AttachBuffers(kOutput, 0, 2, outputs, 16);
  processor.ProcessBuffersDouble(16);
  EXPECT_EQ(outL, (std::vector<double>(16, 0.0)));
}

TEST(PluginProcessor, AHostBlockLongerThanTheBlockSizeIsProcessedInPieces)
{
  GainProcessor processor;
  processor.SetBlockSize(512);
  processor.SetChannelConnections(kInput, 0, 1, true);
  processor.SetChannelConnections(kOutput, 0, 2, true);
  constexpr int kFrames = 1300;
  std::vector<double> in(kFrames), outL(kFrames, -9), outR(kFrames, -9);
  for (int s = 0; s < kFrames; ++s)
    in[s] = s / 2048.0;
  double* inputs[] = {in.data()};
  double* outputs[] = {outL.data(), outR.data()};
  processor.AttachBuffers(kInput, 0, 1, inputs, kFrames);
  processor.AttachBuffers(kOutput, 0, 2, outputs, kFrames);
  processor.ProcessBuffersDouble(kFrames);
  EXPECT_EQ(processor.blocks, (std::vector<int>{512, 512, 276}));
  for (int s = 0; s < kFrames; ++s)
  {
    ASSERT_EQ(outL[s], in[s] * 2) << s;
    ASSERT_EQ(outR[s], 0.0) << "input 1 is unconnected";
  }
}

TEST(PluginProcessor, DefaultBlockCopiesInputsToOutputs)
{
  TestProcessor processor(Config("2-3"));
  processor.SetBlockSize(4);
  processor.SetChannelConnections(kInput, 0, 2, true);
  processor.SetChannelConnections(kOutput, 0, 3, true);
  std::vector<double> a{1, 2, 3, 4}, b{5, 6, 7, 8}, o0(4), o1(4), o2(4, 9);
  double* inputs[] = {a.data(), b.data()};
  double* outputs[] = {o0.data(), o1.data(), o2.data()};
  processor.AttachBuffers(kInput, 0, 2, inputs, 4);
  processor.AttachBuffers(kOutput, 0, 3, outputs, 4);
  processor.ProcessBuffersDouble(4);
  EXPECT_EQ(o0, a);
  EXPECT_EQ(o1, b);
  EXPECT_EQ(o2, (std::vector<double>(4, 0.0)));
}

TEST(PluginProcessor, SetBlockSizeClearsOnlyOnAChange)
{
  GainProcessor processor;
  processor.SetBlockSize(4);
  processor.SetChannelConnections(kInput, 0, 1, true);
  processor.SetChannelConnections(kOutput, 0, 1, true);
  std::vector<double> in(4, 0.5), out(4);
  double* inputs[] = {in.data()};
  double* outputs[] = {out.data()};
  processor.AttachBuffers(kInput, 0, 1, inputs, 4);
  processor.SetBlockSize(4);
  processor.AttachBuffers(kOutput, 0, 1, outputs, 4);
  processor.ProcessBuffersDouble(4);
  EXPECT_EQ(out[3], 1.0) << "the same size keeps the converted input";

  processor.AttachBuffers(kInput, 0, 1, inputs, 4);
  processor.SetBlockSize(8);
  processor.AttachBuffers(kOutput, 0, 1, outputs, 4);
  processor.ProcessBuffersDouble(4);
  EXPECT_EQ(out[3], 0.0) << "a new size clears every scratch buffer";
}

TEST(PluginProcessor, LatencyResizesTheDelayLine)
{
  TestProcessor processor;
  processor.SetLatency(32);
  EXPECT_EQ(processor.GetLatency(), 32);
  EXPECT_EQ(processor.GetLatencyDelay(), nullptr);
  processor.CreateLatencyDelay();
  ASSERT_NE(processor.GetLatencyDelay(), nullptr);
  EXPECT_EQ(processor.GetLatencyDelay()->buffer.GetSize(), 32 * 4);
  processor.GetLatencyDelay()->buffer.Get()[5] = 1.0f;
  processor.GetLatencyDelay()->writePosition = 7;
  processor.SetLatency(48);
  const pfw::LatencyDelayLine* delay = processor.GetLatencyDelay();
  EXPECT_EQ(delay->buffer.GetSize(), 48 * 4);
  EXPECT_EQ(delay->latency, 48);
  EXPECT_EQ(delay->writePosition, 0);
  EXPECT_EQ(delay->buffer.Get()[5], 0.0f);
  processor.SetTailSize(1000);
  EXPECT_EQ(processor.GetTailSize(), 1000);

  TestProcessor noInputs(Config("0-2"));
  noInputs.CreateLatencyDelay();
  EXPECT_EQ(noInputs.GetLatencyDelay(), nullptr);
}

TEST(PluginProcessor, MidiGoesOutThroughTheWrapper)
{
  TestProcessor processor;
  pfw::IMidiEvent note;
  note.status = 0x90;
  processor.ProcessMidiMsg(note);
  EXPECT_EQ(processor.sent, (std::vector<int>{0x90}));
  pfw::IMidiEvent events[3];
  events[0].status = 0x80;
  events[1].status = 0; // refused by this wrapper
  events[2].status = 0xB0;
  EXPECT_FALSE(processor.SendMidiMsgs(events, 3));
  EXPECT_EQ(processor.sent.size(), 4u) << "every message is tried";
  EXPECT_TRUE(processor.SendMidiMsgs(events, 1));
  EXPECT_FALSE(processor.SendSysEx(pfw::ISysExMessage{}));
}

TEST(PluginProcessor, BusQueriesOverTheConfigurations)
{
  TestProcessor processor;
  int index = -1;
  EXPECT_EQ(processor.MaxNBuses(kInput, &index), 2);
  EXPECT_EQ(index, 8) << "the last configuration with the most buses";
  EXPECT_EQ(processor.MaxNBuses(kOutput, &index), 1);
  EXPECT_EQ(index, 8);
  EXPECT_EQ(processor.MaxNChannelsForBus(kInput, 0), 2);
  EXPECT_EQ(processor.MaxNChannelsForBus(kInput, 1), 2);
  EXPECT_EQ(processor.MaxNChannelsForBus(kInput, 2), 0);
  EXPECT_EQ(processor.MaxNChannelsForBus(kOutput, 0), 2);

  const int stereoIn[] = {2}, mono[] = {1}, stereo[] = {2}, mainAndAux[] = {1, 2};
  EXPECT_EQ(processor.GetIOConfigWithChanCounts(stereoIn, 1, stereo, 1), 2);
  EXPECT_EQ(processor.GetIOConfigWithChanCounts(mainAndAux, 2, mono, 1), 4);
  EXPECT_EQ(processor.GetIOConfigWithChanCounts(stereoIn, 1, mono, 1), -1) << "stereo in, mono out is refused";
  EXPECT_EQ(processor.GetIOConfigWithChanCounts(nullptr, 0, stereo, 1), -1);

  TestProcessor wildcard(Config("*-2 2-2"));
  EXPECT_EQ(wildcard.MaxNChannelsForBus(kInput, 0), -1);
  const int any[] = {-64};
  EXPECT_EQ(wildcard.GetIOConfigWithChanCounts(stereoIn, 1, stereo, 1), 1);
  EXPECT_EQ(wildcard.GetIOConfigWithChanCounts(any, 1, stereo, 1), 0);

  TestProcessor none(Config(""));
  EXPECT_EQ(none.MaxNBuses(kInput, &index), 0);
  EXPECT_EQ(index, 0);
  EXPECT_EQ(none.MaxNChannelsForBus(kOutput, 0), 0);
}

TEST(PluginProcessor, FloatBuffersAreUsedDirectly)
{
  GainProcessor processor;
  processor.SetBlockSize(4);
  processor.SetChannelConnections(kInput, 0, 1, true);
  processor.SetChannelConnections(kOutput, 0, 2, true);
  std::vector<float> in{1, 2, 3, 4}, outL(4), outR(4);
  float* inputs[] = {in.data()};
  float* outputs[] = {outL.data(), outR.data()};
  processor.AttachBuffers(kInput, 0, 4, inputs, 4);
  processor.AttachBuffers(kOutput, 0, 2, outputs, 4);
  processor.ProcessBuffers(4);
  EXPECT_EQ(outL, (std::vector<float>{2, 4, 6, 8}));
  EXPECT_EQ(outR, (std::vector<float>(4, 0.0f)));
  processor.AttachBuffers(kInput, 0, 4, inputs, 4);
  processor.AttachBuffers(kOutput, 0, 2, outputs, 4);
  processor.ProcessBuffers(100);
  EXPECT_EQ(processor.blocks.back(), 4) << "never more than the block size";
}

TEST(PluginProcessor, PassThroughKeepsTheLatencyEvenInPlace)
{
  TestProcessor processor(Config("2-2"));
  processor.SetLatency(3);
  processor.CreateLatencyDelay();
  processor.SetBlockSize(8);
  processor.SetChannelConnections(kInput, 0, 2, true);
  processor.SetChannelConnections(kOutput, 0, 2, true);
  std::vector<float> left{1, 2, 3, 4, 5, 6, 7, 8}, right{-1, -2, -3, -4, -5, -6, -7, -8};
  float* buffers[] = {left.data(), right.data()};
  processor.AttachBuffers(kInput, 0, 2, buffers, 8);
  processor.AttachBuffers(kOutput, 0, 2, buffers, 8); // in place, as hosts may do
  processor.PassThroughBuffers(8);
  EXPECT_EQ(left, (std::vector<float>{0, 0, 0, 1, 2, 3, 4, 5}));
  EXPECT_EQ(right, (std::vector<float>{0, 0, 0, -1, -2, -3, -4, -5}));

  std::vector<double> in(20), out(20, 9);
  for (int s = 0; s < 20; ++s)
    in[s] = s + 10;
  double* inputs[] = {in.data(), in.data()};
  double* outputs[] = {out.data(), out.data()};
  processor.AttachBuffers(kInput, 0, 2, inputs, 20);
  processor.AttachBuffers(kOutput, 0, 1, outputs, 20);
  processor.PassThroughBuffersDouble(20);
  EXPECT_EQ(out[0], 6.0) << "the delay line carries the previous block's tail";
  EXPECT_EQ(out[3], 10.0);
  EXPECT_EQ(out[19], 26.0);
  EXPECT_EQ(right[7], -5.0f) << "host buffers of an earlier block are never written again";

  TestProcessor direct(Config("1-2"));
  direct.SetBlockSize(2);
  direct.SetChannelConnections(kInput, 0, 1, true);
  direct.SetChannelConnections(kOutput, 0, 2, true);
  std::vector<float> a{0.5f, 0.25f}, o0(2), o1(2, 3.0f);
  float* ins[] = {a.data()};
  float* outs[] = {o0.data(), o1.data()};
  direct.AttachBuffers(kInput, 0, 1, ins, 2);
  direct.AttachBuffers(kOutput, 0, 2, outs, 2);
  direct.PassThroughBuffers(2);
  EXPECT_EQ(o0, a);
  EXPECT_EQ(o1, (std::vector<float>(2, 0.0f)));
}

TEST(PluginProcessor, ZeroScratchBuffersSilencesUnconnectedChannels)
{
  GainProcessor processor;
  processor.SetBlockSize(2);
  processor.SetChannelConnections(kOutput, 0, 2, true);
  std::vector<double> side(2, 0.75), outL(2), outR(2);
  processor.SetChannelConnections(kInput, 2, 1, true);
  double* inputs[] = {side.data()};
  processor.AttachBuffers(kInput, 2, 1, inputs, 2);
  processor.SetChannelConnections(kInput, 2, 1, false);
  processor.ZeroScratchBuffers();
  double* outputs[] = {outL.data(), outR.data()};
  processor.AttachBuffers(kOutput, 0, 2, outputs, 2);
  processor.ProcessBuffersDouble(2);
  EXPECT_EQ(outL, (std::vector<double>(2, 0.0)));
}
