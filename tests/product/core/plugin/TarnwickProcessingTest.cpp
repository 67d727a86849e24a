#include "TarnwickTestSupport.h"

#include "product/core/AmpEngine.h"
#include "product/core/TarnwickConfig.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

using namespace tarnwick_test;

namespace {

constexpr int kNeutralCalibration = 37; // mix 0: the output is the aligned dry signal
constexpr int kStudioClean = 0;

// The product inside a test wrapper, recording how many frames each engine run gets.
class PieceRecordingProduct : public TarnwickProduct
{
public:
  using TarnwickProduct::TarnwickProduct;
  std::vector<int> pieces;

protected:
  void RunEngine(int nFrames) override
  {
    pieces.push_back(nFrames);
    TarnwickProduct::RunEngine(nFrames);
  }
};

class PieceRecordingPlugin : public IPluginTestWrapper
{
public:
  explicit PieceRecordingPlugin(int blockSize)
    : IPluginTestWrapper(Info(blockSize), MakeTarnwickConfig())
    , product(*this, *this)
  {
  }
  void ProcessBlock(float** inputs, float** outputs, int nFrames) override
  {
    product.ProcessBlock(inputs, outputs, nFrames);
  }

  PieceRecordingProduct product;

private:
  static InstanceInfo Info(int blockSize)
  {
    InstanceInfo info;
    info.blockSize = blockSize;
    return info;
  }
};

struct Block
{
  explicit Block(int channels, int frames, float fill = 0.0f)
    : data(channels, std::vector<float>(frames, fill))
  {
    for (std::vector<float>& channel : data)
      pointers.push_back(channel.data());
  }
  std::vector<std::vector<float>> data;
  std::vector<float*> pointers;
};

std::unique_ptr<Tarnwick> ActivePlugin(int recipe, int blockSize = 2048)
{
  auto plugin = MakePlugin(blockSize);
  plugin->Product().ApplyRecipe(recipe);
  plugin->SetSampleRate(48000.0);
  plugin->OnActivate(true);
  return plugin;
}

} // namespace

TEST(TarnwickProcessing, LongHostBlockReachesTheEngineInPiecesOf512)
{
  PieceRecordingPlugin plugin(2048);
  plugin.SetSampleRate(48000.0);
  plugin.product.OnActivate(true);
  Block in(2, 1300, 0.1f);
  Block out(2, 1300);
  plugin.ProcessHostBlock(in.pointers.data(), 2, out.pointers.data(), 2, 1300);
  EXPECT_EQ(plugin.product.pieces, (std::vector<int>{512, 512, 276}));

  // A 64-bit host takes the same road.
  plugin.product.pieces.clear();
  std::vector<double> inLeft(1300, 0.1), inRight(1300, 0.1), outLeft(1300), outRight(1300);
  double* inputs[] = {inLeft.data(), inRight.data()};
  double* outputs[] = {outLeft.data(), outRight.data()};
  plugin.ProcessHostBlockDouble(inputs, 2, outputs, 2, 1300);
  EXPECT_EQ(plugin.product.pieces, (std::vector<int>{512, 512, 276}));

  plugin.product.pieces.clear();
  plugin.ProcessHostBlock(in.pointers.data(), 2, out.pointers.data(), 2, 512);
  plugin.ProcessHostBlock(in.pointers.data(), 2, out.pointers.data(), 2, 1);
  plugin.ProcessHostBlock(in.pointers.data(), 2, out.pointers.data(), 2, 0);
  EXPECT_EQ(plugin.product.pieces, (std::vector<int>{512, 1}));
}

TEST(TarnwickProcessing, PiecesJoinSeamlessly)
{
  // The same signal in one long block and in blocks of awkward sizes sounds the same.
  constexpr int kFrames = 3000;
  Block in(2, kFrames);
  for (int n = 0; n < kFrames; ++n)
  {
    in.data[0][n] = 0.4f * static_cast<float>(std::sin(0.031 * n));
    in.data[1][n] = 0.3f * static_cast<float>(std::sin(0.017 * n + 1.0));
  }
  auto whole = ActivePlugin(20, 4096);
  Block wholeOut(2, kFrames);
  whole->ProcessHostBlock(in.pointers.data(), 2, wholeOut.pointers.data(), 2, kFrames);

  auto split = ActivePlugin(20, 4096);
  Block splitOut(2, kFrames);
  const int sizes[] = {1, 7, 511, 513, 1024, 944};
  int offset = 0;
  for (int size : sizes)
  {
    float* inputs[] = {in.pointers[0] + offset, in.pointers[1] + offset};
    float* outputs[] = {splitOut.pointers[0] + offset, splitOut.pointers[1] + offset};
    split->ProcessHostBlock(inputs, 2, outputs, 2, size);
    offset += size;
  }
  ASSERT_EQ(offset, kFrames);
  for (int ch = 0; ch < 2; ++ch)
  {
    for (int n = 0; n < kFrames; ++n)
      ASSERT_EQ(splitOut.data[ch][n], wholeOut.data[ch][n]) << "channel " << ch << " frame " << n;
  }
  double energy = 0.0;
  for (float v : wholeOut.data[0])
    energy += v * v;
  EXPECT_GT(energy, 1.0);
}

TEST(TarnwickProcessing, DryImpulseComesOutExactly48SamplesLate)
{
  auto plugin = ActivePlugin(kNeutralCalibration);
  Block in(2, 256);
  in.data[0][0] = 0.5f;
  in.data[1][0] = -0.25f;
  Block out(2, 256, 9.0f);
  plugin->ProcessHostBlock(in.pointers.data(), 2, out.pointers.data(), 2, 256);
  for (int n = 0; n < 256; ++n)
  {
    EXPECT_EQ(out.data[0][n], n == 48 ? 0.5f : 0.0f) << n;
    EXPECT_EQ(out.data[1][n], n == 48 ? -0.25f : 0.0f) << n;
  }
}

TEST(TarnwickProcessing, DryMonitorOfAToneRecipeIsTheImpulse48SamplesLate)
{
  auto plugin = ActivePlugin(24);
  SetParam(*plugin, kParamMonitor, 1.0);
  Block in(2, 256);
  in.data[0][0] = 0.5f;
  in.data[1][0] = 0.5f;
  Block out(2, 256, 9.0f);
  // Let the monitor choice settle, then send the impulse.
  Block silence(2, 4096);
  Block sink(2, 4096);
  plugin->ProcessHostBlock(silence.pointers.data(), 2, sink.pointers.data(), 2, 2048);
  plugin->ProcessHostBlock(silence.pointers.data(), 2, sink.pointers.data(), 2, 2048);
  plugin->ProcessHostBlock(in.pointers.data(), 2, out.pointers.data(), 2, 256);
  for (int n = 0; n < 256; ++n)
    EXPECT_NEAR(out.data[0][n], n == 48 ? 0.5f : 0.0f, 1e-6) << n;
}

TEST(TarnwickProcessing, WetImpulseStartsAtTheLatency)
{
  // The processed path is aligned with the dry one: an impulse peaks after the 48 samples
  // of latency, and only the resampling filters' ringing comes shortly before it.
  auto plugin = ActivePlugin(kStudioClean);
  SetParam(*plugin, kParamGateEnabled, 0.0);
  Block warm(2, 2048);
  Block sink(2, 2048);
  plugin->ProcessHostBlock(warm.pointers.data(), 2, sink.pointers.data(), 2, 2048);
  Block in(2, 512);
  in.data[0][0] = 0.5f;
  in.data[1][0] = 0.5f;
  Block out(2, 512, 9.0f);
  plugin->ProcessHostBlock(in.pointers.data(), 2, out.pointers.data(), 2, 512);
  int peakAt = 0;
  for (int n = 0; n < 512; ++n)
  {
    if (std::fabs(out.data[0][n]) > std::fabs(out.data[0][peakAt]))
      peakAt = n;
  }
  const double peak = std::fabs(out.data[0][peakAt]);
  EXPECT_GT(peak, 0.05);
  EXPECT_GE(peakAt, 48);
  EXPECT_LT(peakAt, 64);
  for (int n = 0; n < 32; ++n)
    EXPECT_LT(std::fabs(out.data[0][n]), 0.002 * peak) << n;
}

TEST(TarnwickProcessing, ChannelLayouts)
{
  // Two inputs with a signal on the left only: the engine keeps the sides apart.
  Block in(2, 128);
  in.data[0][0] = 0.5f;
  {
    auto plugin = ActivePlugin(kNeutralCalibration);
    Block out(2, 128, 9.0f);
    plugin->ProcessHostBlock(in.pointers.data(), 2, out.pointers.data(), 2, 128);
    EXPECT_EQ(out.data[0][48], 0.5f);
    EXPECT_EQ(out.data[1][48], 0.0f);
  }
  // One input feeds both sides of the engine.
  {
    auto plugin = ActivePlugin(kNeutralCalibration);
    Block out(2, 128, 9.0f);
    plugin->ProcessHostBlock(in.pointers.data(), 1, out.pointers.data(), 2, 128);
    EXPECT_EQ(out.data[0][48], 0.5f);
    EXPECT_EQ(out.data[1][48], 0.5f);
  }
  // One output gets the mean of the engine's two.
  {
    auto plugin = ActivePlugin(kNeutralCalibration);
    Block out(1, 128, 9.0f);
    plugin->ProcessHostBlock(in.pointers.data(), 2, out.pointers.data(), 1, 128);
    for (int n = 0; n < 128; ++n)
      EXPECT_EQ(out.data[0][n], n == 48 ? 0.25f : 0.0f) << n;
  }
  // No input: silence, not stale samples.
  {
    auto plugin = ActivePlugin(kNeutralCalibration);
    Block out(2, 128, 9.0f);
    plugin->ProcessHostBlock(in.pointers.data(), 0, out.pointers.data(), 2, 128);
    for (int n = 0; n < 128; ++n)
      EXPECT_EQ(out.data[0][n], 0.0f) << n;
  }
}

TEST(TarnwickProcessing, ThirdOutputIsSilentAndMeanMatchesTheStereoPair)
{
  constexpr int kFrames = 700;
  Block in(2, kFrames);
  for (int n = 0; n < kFrames; ++n)
  {
    in.data[0][n] = 0.3f * static_cast<float>(std::sin(0.05 * n));
    in.data[1][n] = 0.2f * static_cast<float>(std::cos(0.013 * n));
  }
  auto stereo = ActivePlugin(21);
  Block stereoOut(3, kFrames, 9.0f);
  stereo->Product().RenderBlock(in.pointers.data(), 2, stereoOut.pointers.data(), 3, kFrames);
  for (int n = 0; n < kFrames; ++n)
    ASSERT_EQ(stereoOut.data[2][n], 0.0f) << n;

  auto mono = ActivePlugin(21);
  Block monoOut(1, kFrames, 9.0f);
  mono->Product().RenderBlock(in.pointers.data(), 2, monoOut.pointers.data(), 1, kFrames);
  for (int n = 0; n < kFrames; ++n)
    ASSERT_EQ(monoOut.data[0][n], (stereoOut.data[0][n] + stereoOut.data[1][n]) * 0.5f) << n;
}

TEST(TarnwickProcessing, InputMaskSilencesEachSide)
{
  Block in(2, 128);
  in.data[0][0] = 0.5f;
  in.data[1][0] = 0.25f;
  auto plugin = ActivePlugin(kNeutralCalibration);
  plugin->Product().SetInputMask(TarnwickProduct::kMuteRightInput);
  Block out(2, 128, 9.0f);
  plugin->ProcessHostBlock(in.pointers.data(), 2, out.pointers.data(), 2, 128);
  EXPECT_EQ(out.data[0][48], 0.5f);
  EXPECT_EQ(out.data[1][48], 0.0f);

  plugin->Product().SetInputMask(TarnwickProduct::kMuteLeftInput);
  plugin->ProcessHostBlock(in.pointers.data(), 1, out.pointers.data(), 2, 128);
  for (int n = 0; n < 128; ++n)
    EXPECT_EQ(out.data[0][n] + out.data[1][n], 0.0f) << n;
}

TEST(TarnwickProcessing, SilentUntilActivatedAndAfterDeactivation)
{
  auto plugin = MakePlugin(2048);
  Block in(2, 600, 0.5f);
  Block out(2, 600, 9.0f);
  plugin->ProcessHostBlock(in.pointers.data(), 2, out.pointers.data(), 2, 600);
  for (int ch = 0; ch < 2; ++ch)
    for (int n = 0; n < 600; ++n)
      ASSERT_EQ(out.data[ch][n], 0.0f);

  plugin->SetSampleRate(44100.0);
  plugin->OnActivate(true);
  plugin->ProcessHostBlock(in.pointers.data(), 2, out.pointers.data(), 2, 600);
  EXPECT_NE(out.data[0][599], 0.0f);

  plugin->OnActivate(false);
  plugin->ProcessHostBlock(in.pointers.data(), 2, out.pointers.data(), 2, 600);
  for (int ch = 0; ch < 2; ++ch)
    for (int n = 0; n < 600; ++n)
      ASSERT_EQ(out.data[ch][n], 0.0f);

  // An empty block writes nothing.
  Block untouched(2, 8, 9.0f);
  plugin->OnActivate(true);
  plugin->ProcessBlock(in.pointers.data(), untouched.pointers.data(), 0);
  plugin->ProcessBlock(in.pointers.data(), untouched.pointers.data(), -5);
  EXPECT_EQ(untouched.data[0][0], 9.0f);
}

TEST(TarnwickProcessing, BadInputGivesFiniteOutput)
{
  auto plugin = ActivePlugin(7);
  Block in(2, 1000);
  for (int n = 0; n < 1000; ++n)
  {
    in.data[0][n] = (n % 3 == 0) ? std::numeric_limits<float>::quiet_NaN() : 0.5f;
    in.data[1][n] = (n % 5 == 0) ? std::numeric_limits<float>::infinity() : -0.5f;
  }
  Block out(2, 1000);
  for (int pass = 0; pass < 3; ++pass)
  {
    plugin->ProcessHostBlock(in.pointers.data(), 2, out.pointers.data(), 2, 1000);
    for (int ch = 0; ch < 2; ++ch)
      for (int n = 0; n < 1000; ++n)
        ASSERT_TRUE(std::isfinite(out.data[ch][n])) << ch << " " << n;
  }
}

TEST(TarnwickProcessing, ValueSetBeyondTheFloatRangeReachesTheEngineAsItsMaximum)
{
  auto plugin = ActivePlugin(kStudioClean);
  plugin->GetParam(kParamOutputPan)->Set(1e300); // a plain store, not constrained
  plugin->GetParam(kParamInput)->Set(-1e300);
  Block in(2, 64);
  Block out(2, 64);
  plugin->ProcessHostBlock(in.pointers.data(), 2, out.pointers.data(), 2, 64);
  EXPECT_EQ(plugin->Product().GetEngine().Targets()[kParamOutputPan], 100.0f);
  EXPECT_EQ(plugin->Product().GetEngine().Targets()[kParamInput], -24.0f);
  plugin->Product().UpdateTailSamples();
  EXPECT_EQ(plugin->Product().GetTailSamples(), 105648);
}

// The "External" monitor plays the side-chain 48 samples late: it shows which channels the
// engine was given as its auxiliary input.
class SideChainMonitor : public ::testing::Test
{
protected:
  void SetUp() override
  {
    plugin = ActivePlugin(kStudioClean);
    SetParam(*plugin, kParamMonitor, 6.0);
    // Let the monitor choice settle before the impulse.
    Block silence(4, 2048);
    Block sink(2, 2048);
    plugin->Product().SetSideChainInput(true, 0);
    for (int pass = 0; pass < 2; ++pass)
      plugin->ProcessHostBlock(silence.pointers.data(), 4, sink.pointers.data(), 2, 2048);
  }

  // Main inputs silent, side-chain impulses of 0.5 (left) and 0.25 (right) at frame 0;
  // returns the output at frame 48.
  std::pair<float, float> Play(int nInputs)
  {
    Block in(4, 128);
    in.data[0][0] = 0.9f; // main input, never heard on this monitor
    in.data[2][0] = 0.5f;
    in.data[3][0] = 0.25f;
    Block out(2, 128, 9.0f);
    plugin->ProcessHostBlock(in.pointers.data(), nInputs, out.pointers.data(), 2, 128);
    return {out.data[0][48], out.data[1][48]};
  }

  std::unique_ptr<Tarnwick> plugin;
};

TEST_F(SideChainMonitor, ConnectedSideChainReachesTheEngine)
{
  const auto heard = Play(4);
  EXPECT_NEAR(heard.first, 0.5f, 1e-6f);
  EXPECT_NEAR(heard.second, 0.25f, 1e-6f);
}

TEST_F(SideChainMonitor, UnconnectedSideChainIsSilent)
{
  plugin->Product().SetSideChainInput(false, 0);
  const auto heard = Play(4);
  EXPECT_EQ(heard.first, 0.0f);
  EXPECT_EQ(heard.second, 0.0f);
}

TEST_F(SideChainMonitor, SilenceFlagsMuteEachSide)
{
  plugin->Product().SetSideChainInput(true, TarnwickProduct::kMuteLeftInput);
  auto heard = Play(4);
  EXPECT_EQ(heard.first, 0.0f);
  EXPECT_NEAR(heard.second, 0.25f, 1e-6f);

  plugin->Product().SetSideChainInput(true, TarnwickProduct::kMuteRightInput);
  heard = Play(4);
  EXPECT_NEAR(heard.first, 0.5f, 1e-6f);
  EXPECT_EQ(heard.second, 0.0f);
}

TEST_F(SideChainMonitor, MonoSideChainFeedsBothSides)
{
  // Channel 3 is not connected: its left channel is heard on both sides.
  auto heard = Play(3);
  EXPECT_NEAR(heard.first, 0.5f, 1e-6f);
  EXPECT_NEAR(heard.second, 0.5f, 1e-6f);

  // A silent left channel then silences both.
  plugin->Product().SetSideChainInput(true, TarnwickProduct::kMuteLeftInput);
  heard = Play(3);
  EXPECT_EQ(heard.first, 0.0f);
  EXPECT_EQ(heard.second, 0.0f);
}
