// The host harness against a module built from the layer: proves the harness and, through
// it, that the layer makes a module a host can scan, run and save.

#include "harness/Harness.h"

#include <gtest/gtest.h>

#include <cstring>

using namespace vst3host;

namespace {

ModuleUnderTest testGain()
{
  ModuleUnderTest module;
  module.path = TEST_GAIN_MODULE_PATH;
  module.className = "Test Gain";
  module.vendor = "Harness";
  module.subCategories = "Fx";
  module.classId = iidFromMemoryBytes("54534554 41474E49 48415252 4E455353"); // "TEST" "GAIN" "HARR" "NESS"
  module.classFlags = 2;
  module.latency = 4;
  module.accepted = {{{kStereo}, {kStereo}}, {{kMono}, {kStereo}}, {{kStereo, kMono}, {kStereo}},
                     {{kMono, kStereo}, {kStereo}}};
  module.refused = {{{kStereo}, {kMono}}, {{kStereo, kStereo, kStereo}, {kStereo}}, {{0x7}, {kStereo}},
                    {{}, {kStereo}}};
  return module;
}

} // namespace

TEST(HarnessOnTestGain, TheBundlePathHasASpace)
{
  EXPECT_NE(std::wstring(TEST_GAIN_MODULE_PATH).find(L"Test Gain.vst3\\Contents\\x86_64-win\\Test Gain.vst3"),
            std::wstring::npos);
}

TEST(HarnessOnTestGain, ModuleImage)
{
  checkModuleImage(testGain());
}

TEST(HarnessOnTestGain, ScanAndReload)
{
  checkScanAndReload(testGain());
}

TEST(HarnessOnTestGain, Interfaces)
{
  checkInterfaces(testGain());
}

TEST(HarnessOnTestGain, BusesAndArrangements)
{
  checkBusesAndArrangements(testGain());
}

TEST(HarnessOnTestGain, ProcessingSweep)
{
  checkProcessingSweep(testGain());
}

TEST(HarnessOnTestGain, ImpulseComesOutAtTheReportedLatency)
{
  checkImpulseLatency(testGain());
}

TEST(HarnessOnTestGain, AwkwardButLegalBlocks)
{
  checkAwkwardButLegalBlocks(testGain());
}

TEST(HarnessOnTestGain, LifecycleOrders)
{
  checkLifecycleOrders(testGain());
}

TEST(HarnessOnTestGain, StateRoundTripAndRefusals)
{
  checkStateRoundTripAndRefusals(testGain());
}

TEST(HarnessOnTestGain, ControllerParameters)
{
  checkControllerParameters(testGain());
}

TEST(HarnessOnTestGain, InstancesAreIndependent)
{
  checkInstancesAreIndependent(testGain());
}

TEST(HarnessOnTestGain, GainChangesApplyFromTheStartOfTheBlock)
{
  const ModuleUnderTest module = testGain();
  PluginModule plugin;
  std::string problem;
  ASSERT_TRUE(plugin.load(module.path, problem)) << problem;
  ASSERT_TRUE(plugin.initDll());
  IPluginFactory3* factory = plugin.factory();
  HostApplication host;
  {
    Instance instance;
    ASSERT_TRUE(instance.create(factory, module.classId, &host));
    for (int32_t sampleSize : {kSample32, kSample64})
    {
      ASSERT_TRUE(startProcessing(instance, 44100., sampleSize, 64, false));
      Block block(sampleSize, 16, {2, 2}, {2});
      for (int32_t f = 0; f < 16; ++f)
      {
        block.setInput(0, 0, f, 0.5);
        block.setInput(0, 1, f, -0.25);
      }
      ParameterChanges changes;
      changes.add(0, 3, 0.1);
      changes.add(0, 9, 1.); // the last point holds for the whole block
      block.data().inputParameterChanges = &changes;
      ASSERT_EQ(instance.processor->process(block.data()), kOk);
      EXPECT_EQ(block.output(0, 0, 3), 0.); // still inside the latency
      EXPECT_EQ(block.output(0, 0, 4), 1.); // 0.5 times gain 2
      EXPECT_EQ(block.output(0, 1, 15), -0.5);

      Block tooLong(sampleSize, 65, {2, 2}, {2});
      EXPECT_EQ(instance.processor->process(tooLong.data()), kInvalidArgument);
      Block wrongSize(sampleSize == kSample32 ? kSample64 : kSample32, 8, {2, 2}, {2});
      EXPECT_EQ(instance.processor->process(wrongSize.data()), kInvalidArgument);
      stopProcessing(instance);
    }
    ProcessSetup zeroBlock{kRealtime, kSample32, 0, 44100.};
    EXPECT_NE(instance.processor->setupProcessing(zeroBlock), kOk);
    EXPECT_NE(instance.processor->canProcessSampleSize(2), kOk);
  }
  factory->release();
}
