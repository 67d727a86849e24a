// Scan answers, buses, sample sizes, set-up, latency and tail of the deliverable.

#include "TarnwickModule.h"

#include <cmath>
#include <cstring>

using namespace vst3host;
using namespace tarnwicktest;

TEST(TarnwickVst3Module, FactoryAndClassInformationAsPublished)
{
  PluginModule module;
  std::string problem;
  ASSERT_TRUE(module.load(TARNWICK_MODULE_PATH, problem)) << problem;
  ASSERT_TRUE(module.initDll());
  FUnknown* first = module.rawFactory();
  FUnknown* second = module.rawFactory();
  ASSERT_NE(first, nullptr);
  EXPECT_EQ(first, second); // one factory while it lives
  second->release();
  IPluginFactory3* factory = ask<IPluginFactory3>(first, iids::PluginFactory3);
  first->release();
  ASSERT_NE(factory, nullptr);

  FactoryInfo factoryInfo{};
  ASSERT_EQ(factory->getFactoryInfo(&factoryInfo), kOk);
  EXPECT_STREQ(factoryInfo.vendor, "QUILLTONE");
  EXPECT_NE(std::strlen(factoryInfo.url), 0u);
  EXPECT_NE(std::strchr(factoryInfo.email, '@'), nullptr);
  EXPECT_EQ(factoryInfo.flags, 16);
  EXPECT_EQ(factory->countClasses(), 1);

  ClassInfo2 info{};
  std::memset(&info, 0x5A, sizeof(info));
  ASSERT_EQ(factory->getClassInfo2(0, &info), kOk);
  const unsigned char expectedId[16] = {0x4C, 0x49, 0x55, 0x51, 0x54, 0x4C, 0x4E, 0x4F,
                                        'Q',  'l',  't',  'n',  'T',  'a',  'r',  'n'};
  EXPECT_EQ(std::memcmp(info.cid, expectedId, 16), 0);
  EXPECT_EQ(info.cardinality, 0x7FFFFFFF);
  EXPECT_STREQ(info.category, "Audio Module Class");
  EXPECT_STREQ(info.name, "TARN WICK");
  EXPECT_EQ(info.classFlags, 2u);
  EXPECT_STREQ(info.subCategories, "Fx|Distortion");
  EXPECT_STREQ(info.vendor, ""); // the factory's vendor applies
  EXPECT_STREQ(info.version, "0.1.0");
  EXPECT_STREQ(info.sdkVersion, "VST 3.8.1");
  // Fields are zero-filled behind their text: no stale bytes reach the host.
  for (size_t i = std::strlen(info.name); i < sizeof(info.name); ++i)
    EXPECT_EQ(info.name[i], 0) << i;
  for (size_t i = std::strlen(info.sdkVersion); i < sizeof(info.sdkVersion); ++i)
    EXPECT_EQ(info.sdkVersion[i], 0) << i;
  factory->release();
}

TEST(TarnwickVst3Module, DeclaresMainSideChainAndOutputBuses)
{
  Session session;
  ASSERT_TRUE(session.ok());
  IComponent* component = session.instance.component;
  ASSERT_EQ(component->getBusCount(kAudio, kInput), 2);
  ASSERT_EQ(component->getBusCount(kAudio, kOutput), 1);
  EXPECT_EQ(component->getBusCount(kEvent, kInput), 0);
  EXPECT_EQ(component->getBusCount(kEvent, kOutput), 0);
  struct Expected
  {
    int32_t direction, index;
    const char* name;
    int32_t busType;
    uint32_t flags;
  };
  for (const Expected& expected : {Expected{kInput, 0, "Main", kMainBus, kDefaultActive},
                                   Expected{kInput, 1, "Aux", kAuxBus, 0u},
                                   Expected{kOutput, 0, "Output", kMainBus, kDefaultActive}})
  {
    BusInfo info{};
    ASSERT_EQ(component->getBusInfo(kAudio, expected.direction, expected.index, info), kOk);
    EXPECT_EQ(narrow(info.name), expected.name);
    EXPECT_EQ(info.busType, expected.busType);
    EXPECT_EQ(info.flags, expected.flags);
    EXPECT_EQ(info.channelCount, 2);
    Arrangement arrangement = 0;
    ASSERT_EQ(session.instance.processor->getBusArrangement(expected.direction, expected.index, arrangement), kOk);
    EXPECT_EQ(arrangement, kStereo);
  }
}

TEST(TarnwickVst3Module, ArrangementsChangeChannelsButNeverTheBusesTheHostKnows)
{
  Session session;
  ASSERT_TRUE(session.ok());
  IAudioProcessor* processor = session.instance.processor;
  Arrangement monoIn[] = {kMono};
  Arrangement stereoOut[] = {kStereo};
  ASSERT_EQ(processor->setBusArrangements(monoIn, 1, stereoOut, 1), kOk);
  // The side-chain is still declared with its name and arrangement.
  ASSERT_EQ(session.instance.component->getBusCount(kAudio, kInput), 2);
  BusInfo aux{};
  ASSERT_EQ(session.instance.component->getBusInfo(kAudio, kInput, 1, aux), kOk);
  EXPECT_EQ(narrow(aux.name), "Aux");
  BusInfo main{};
  ASSERT_EQ(session.instance.component->getBusInfo(kAudio, kInput, 0, main), kOk);
  EXPECT_EQ(narrow(main.name), "Main");
  EXPECT_EQ(main.channelCount, 1);

  Arrangement sideChained[] = {kStereo, kMono};
  ASSERT_EQ(processor->setBusArrangements(sideChained, 2, stereoOut, 1), kOk);
  Arrangement arrangement = 0;
  ASSERT_EQ(processor->getBusArrangement(kInput, 1, arrangement), kOk);
  EXPECT_EQ(arrangement, kMono);

  // A refusal leaves what was accepted before.
  Arrangement monoOut[] = {kMono};
  Arrangement stereoIn[] = {kStereo, kStereo};
  EXPECT_EQ(processor->setBusArrangements(stereoIn, 2, monoOut, 1), kFalse);
  ASSERT_EQ(processor->getBusArrangement(kInput, 1, arrangement), kOk);
  EXPECT_EQ(arrangement, kMono);
  ASSERT_EQ(processor->getBusArrangement(kOutput, 0, arrangement), kOk);
  EXPECT_EQ(arrangement, kStereo);
  EXPECT_NE(processor->setBusArrangements(nullptr, 1, stereoOut, 1), kOk);
  EXPECT_NE(processor->setBusArrangements(stereoIn, -1, stereoOut, 1), kOk);
}

TEST(TarnwickVst3Module, SampleSizesAndSetUp)
{
  Session session;
  ASSERT_TRUE(session.ok());
  IAudioProcessor* processor = session.instance.processor;
  EXPECT_EQ(processor->canProcessSampleSize(kSample32), kOk);
  EXPECT_EQ(processor->canProcessSampleSize(kSample64), kOk);
  EXPECT_EQ(processor->canProcessSampleSize(2), kFalse);
  EXPECT_EQ(processor->canProcessSampleSize(-1), kFalse);

  for (double rate : {22050., 192000.})
  {
    ProcessSetup edge{kRealtime, kSample32, 256, rate};
    EXPECT_EQ(processor->setupProcessing(edge), kOk) << rate;
  }
  ProcessSetup good{kRealtime, kSample32, 256, 44100.};
  ASSERT_EQ(processor->setupProcessing(good), kOk);
  for (ProcessSetup bad : {ProcessSetup{kRealtime, 2, 512, 44100.}, ProcessSetup{kRealtime, kSample32, 0, 44100.},
                           ProcessSetup{kRealtime, kSample32, -5, 44100.},
                           ProcessSetup{kRealtime, kSample32, 512, 0.},
                           ProcessSetup{kRealtime, kSample64, 512, std::nan("")},
                           // Rates the engine cannot run: it would play at the wrong speed.
                           ProcessSetup{kRealtime, kSample32, 512, 8000.},
                           ProcessSetup{kRealtime, kSample32, 512, 11025.},
                           ProcessSetup{kRealtime, kSample32, 512, 22049.},
                           ProcessSetup{kOffline, kSample64, 512, 192001.}})
    EXPECT_EQ(processor->setupProcessing(bad), kFalse);
  // The refused set-ups changed nothing: 32-bit blocks of up to 256 frames still run.
  session.start(44100., kSample32, 256);
  Block block(kSample32, 256, {2}, {2});
  EXPECT_EQ(session.run(block), kOk);
  Block longer(kSample32, 257, {2}, {2});
  EXPECT_EQ(session.run(longer), kInvalidArgument);
}

TEST(TarnwickVst3Module, LatencyIs48AndTailFollowsTheEffects)
{
  Session session;
  ASSERT_TRUE(session.ok());
  ComponentHandler handler;
  ASSERT_EQ(session.instance.controller->setComponentHandler(&handler), kOk);
  EXPECT_EQ(session.instance.processor->getLatencySamples(), kLatency);
  session.start(96000., kSample64, 1024);
  EXPECT_EQ(session.instance.processor->getLatencySamples(), kLatency);
  constexpr ParamID kReverbEnabled = 68, kReverbDecay = 70, kDelayEnabled = 62, kDelayFeedback = 64;
  session.send(kReverbEnabled, 0.);
  session.send(kDelayEnabled, 0.);
  const uint32_t dry = session.instance.processor->getTailSamples();
  session.send(kReverbEnabled, 1.);
  session.send(kReverbDecay, 1.);
  session.send(kDelayEnabled, 1.);
  session.send(kDelayFeedback, 1.);
  const uint32_t wet = session.instance.processor->getTailSamples();
  EXPECT_GT(wet, dry);
  EXPECT_NE(wet, 0xFFFFFFFFu);
  stopProcessing(session.instance);
  EXPECT_EQ(handler.restarts, 0); // the latency never changed
  session.instance.destroy();
  EXPECT_EQ(handler.references, 1);
}

namespace {
// A host whose own bus handling the plug-in leaves alone.
class ArdourHost : public HostApplication
{
public:
  tresult HOST_CALL getName(Utf16* name) override
  {
    const char16_t text[] = u"Ardour";
    std::memcpy(name, text, sizeof(text));
    return kOk;
  }
};
} // namespace

TEST(TarnwickVst3Module, SomeHostsGetEveryArrangementAnsweredWithoutAChange)
{
  PluginModule module;
  std::string problem;
  ASSERT_TRUE(module.load(TARNWICK_MODULE_PATH, problem)) << problem;
  ASSERT_TRUE(module.initDll());
  IPluginFactory3* factory = module.factory();
  ArdourHost host;
  {
    Instance instance;
    ASSERT_TRUE(instance.create(factory, kClassId, &host));
    Arrangement inputs[] = {kStereo, kStereo, kStereo};
    Arrangement outputs[] = {kMono};
    EXPECT_EQ(instance.processor->setBusArrangements(inputs, 3, outputs, 1), kOk);
    Arrangement arrangement = 0;
    ASSERT_EQ(instance.processor->getBusArrangement(kOutput, 0, arrangement), kOk);
    EXPECT_EQ(arrangement, kStereo);
    EXPECT_EQ(instance.component->getBusCount(kAudio, kInput), 2);
  }
  EXPECT_EQ(host.references, 1);
  factory->release();
}
