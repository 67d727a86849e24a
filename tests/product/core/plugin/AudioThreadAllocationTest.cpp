// Block processing runs on the audio thread, where nothing may allocate. This executable
// counts every allocation made while the blocks run.
#include "TarnwickTestSupport.h"
#include "tests/support/AllocationCounter.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

using namespace tarnwick_test;

using allocation_counter::AllocationsDuring;

TEST(AudioThread, CounterSeesAllocations)
{
  // The counter itself works, so a zero below means something.
  const int counted = AllocationsDuring([] { std::vector<float> grows(100); (void)grows; });
  EXPECT_GE(counted, 1);
}

TEST(AudioThread, BlockProcessingNeverAllocates)
{
  auto plugin = MakePlugin(2048);
  plugin->Product().ApplyRecipe(39); // echo, reverb, pedal: the busiest chain
  plugin->SetSampleRate(48000.0);
  plugin->OnActivate(true);

  std::vector<std::vector<float>> inputs(4, std::vector<float>(2048));
  std::vector<std::vector<float>> outputs(2, std::vector<float>(2048));
  for (int n = 0; n < 2048; ++n)
  {
    inputs[0][n] = 0.4f * static_cast<float>(std::sin(0.03 * n));
    inputs[1][n] = 0.3f * static_cast<float>(std::sin(0.02 * n));
    inputs[2][n] = inputs[0][n];
  }
  float* in[4] = {inputs[0].data(), inputs[1].data(), inputs[2].data(), inputs[3].data()};
  float* out[2] = {outputs[0].data(), outputs[1].data()};
  plugin->ProcessHostBlock(in, 2, out, 2, 2048);

  const int allocations = AllocationsDuring([&] {
    for (int frames : {2048, 1300, 1, 511, 64})
      plugin->ProcessHostBlock(in, 2, out, 2, frames);
    // Host automation on the audio thread: values, the tail, bypass and the side-chain.
    SetParam(*plugin, kParamReverbDecay, 6.0);
    SetParam(*plugin, kParamAmpEnabled, 1.0);
    SetParam(*plugin, kParamMonitor, 6.0);
    plugin->Product().UpdateTailSamples();
    plugin->Product().SetHostBypass(true);
    plugin->Product().SetSideChainInput(true, 0);
    plugin->ProcessHostBlock(in, 4, out, 2, 2048);
    plugin->ProcessHostBlock(in, 1, out, 1, 700);
    plugin->Product().SetHostBypass(false);
    plugin->ProcessHostBlock(in, 3, out, 2, 2048);
  });
  EXPECT_EQ(allocations, 0);
  EXPECT_TRUE(std::isfinite(outputs[0][100]));
}

TEST(AudioThread, ResetAtTheSameRateNeverAllocates)
{
  // A host that switches processing off resets the plug-in on its audio thread; the engine
  // was sized for this rate when processing was set up.
  auto plugin = MakePlugin(512);
  plugin->Product().ApplyRecipe(33);
  plugin->SetSampleRate(44100.0);
  plugin->OnActivate(true);
  plugin->latencyReports.reserve(8); // the test host's own record of latency reports
  EXPECT_EQ(AllocationsDuring([&] { plugin->OnReset(); }), 0);
  EXPECT_TRUE(plugin->Product().IsActivated());
}
