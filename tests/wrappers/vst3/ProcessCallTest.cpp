// The process call of the deliverable: parameter changes, bypass, silence flags, sample
// sizes, block sizes, the main input's channel layouts and malformed blocks.

#include "TarnwickModule.h"

#include <cmath>
#include <functional>

using namespace vst3host;
using namespace tarnwicktest;

namespace {

constexpr double kRate = 48000.;

double Tone(int32_t frame)
{
  return 0.3 * std::sin(2. * 3.14159265358979 * 220. * frame / kRate) +
         0.1 * std::sin(2. * 3.14159265358979 * 1330. * frame / kRate);
}

struct Rendered
{
  std::vector<double> left, right;
};

// Runs `total` frames of Tone through the session in blocks of the sizes given (cycled).
Rendered Render(Session& session, int32_t sampleSize, int32_t total, const std::vector<int32_t>& blockSizes,
                const std::vector<int32_t>& inputs = {2})
{
  Rendered out;
  int32_t done = 0;
  for (size_t i = 0; done < total; ++i)
  {
    const int32_t frames = std::min(blockSizes[i % blockSizes.size()], total - done);
    Block block(sampleSize, frames, inputs, {2});
    FillMain(block, frames, inputs[0], Tone, done);
    EXPECT_EQ(session.run(block), kOk);
    for (int32_t f = 0; f < frames; ++f)
    {
      out.left.push_back(block.output(0, 0, f));
      out.right.push_back(block.output(0, 1, f));
    }
    done += frames;
  }
  return out;
}

double LargestDifference(const Rendered& a, const Rendered& b)
{
  double largest = a.left.size() == b.left.size() ? 0. : INFINITY;
  for (size_t i = 0; i < std::min(a.left.size(), b.left.size()); ++i)
    largest = std::max({largest, std::abs(a.left[i] - b.left[i]), std::abs(a.right[i] - b.right[i])});
  return largest;
}

double Peak(const std::vector<double>& signal)
{
  double peak = 0.;
  for (double x : signal)
    peak = std::max(peak, std::abs(x));
  return peak;
}

} // namespace

TEST(TarnwickVst3Process, ParameterChangesApplyFromTheStartOfTheBlock)
{
  // One host moves the output level inside the block, the other before it: the last point
  // counts for the whole block, so both hear the same.
  Session inside, before;
  ASSERT_TRUE(inside.ok() && before.ok());
  inside.start(kRate, kSample32, 512);
  before.start(kRate, kSample32, 512);
  before.send(kParamOutput, 0.8);
  Block a(kSample32, 512, {2}, {2}), b(kSample32, 512, {2}, {2});
  FillMain(a, 512, 2, Tone);
  FillMain(b, 512, 2, Tone);
  ParameterChanges moves;
  moves.add(kParamOutput, 0, 0.1);
  moves.add(kParamOutput, 300, 0.8);
  ASSERT_EQ(inside.run(a, &moves), kOk);
  ASSERT_EQ(before.run(b), kOk);
  double largest = 0., level = 0.;
  for (int32_t f = 0; f < 512; ++f)
  {
    largest = std::max(largest, std::abs(a.output(0, 0, f) - b.output(0, 0, f)));
    level = std::max(level, std::abs(b.output(0, 0, f)));
  }
  EXPECT_EQ(largest, 0.);
  EXPECT_GT(level, 0.);
}

TEST(TarnwickVst3Process, NonFiniteParameterValuesAreIgnoredAndLargeOnesClamped)
{
  Session clamped, exact;
  ASSERT_TRUE(clamped.ok() && exact.ok());
  clamped.start(kRate, kSample32, 512);
  exact.start(kRate, kSample32, 512);
  clamped.send(kParamOutput, 1.7);
  exact.send(kParamOutput, 1.0);
  MemoryStream a, b;
  ASSERT_EQ(clamped.instance.component->getState(&a), kOk);
  ASSERT_EQ(exact.instance.component->getState(&b), kOk);
  EXPECT_EQ(a.bytes, b.bytes);
  clamped.send(kParamOutput, NAN);
  clamped.send(kParamOutput, INFINITY);
  MemoryStream c;
  ASSERT_EQ(clamped.instance.component->getState(&c), kOk);
  EXPECT_EQ(c.bytes, b.bytes);
}

TEST(TarnwickVst3Process, ImpulseIsAlignedAtTheLatency)
{
  for (int32_t sampleSize : {kSample32, kSample64})
  {
    SCOPED_TRACE(sampleSize == kSample64 ? "64 bit" : "32 bit");
    Session dry, full;
    ASSERT_TRUE(dry.ok() && full.ok());
    dry.start(kRate, sampleSize, 512);
    full.start(kRate, sampleSize, 512);
    dry.send(kParamMix, 0.); // the dry path alone
    Block a(sampleSize, 300, {2}, {2}), b(sampleSize, 300, {2}, {2});
    for (Block* block : {&a, &b})
    {
      block->setInput(0, 0, 0, 1.);
      block->setInput(0, 1, 0, 1.);
    }
    ASSERT_EQ(dry.run(a), kOk);
    ASSERT_EQ(full.run(b), kOk);
    for (int32_t f = 0; f < 300; ++f)
      EXPECT_EQ(a.output(0, 0, f), f == static_cast<int32_t>(kLatency) ? 1. : 0.) << f;
    // Through the whole chain the response starts at the latency: before it only the
    // oversampling filters' numerical residue, far below audibility.
    double before = 0., after = 0.;
    for (int32_t f = 0; f < 300; ++f)
      (f < static_cast<int32_t>(kLatency) ? before : after) =
        std::max(f < static_cast<int32_t>(kLatency) ? before : after, std::abs(b.output(0, 0, f)));
    EXPECT_GT(after, 0.);
    EXPECT_LT(before, after * 1e-3);
  }
}

TEST(TarnwickVst3Process, HostBypassHearsTheInputDelayedByTheLatency)
{
  Session session;
  ASSERT_TRUE(session.ok());
  session.start(kRate, kSample32, 512);
  session.send(kBypassTag, 1.);
  const Rendered out = Render(session, kSample32, 48000, {512});
  double largest = 0.;
  for (int32_t f = 24000; f < 48000; ++f)
    largest = std::max(largest, std::abs(out.left[static_cast<size_t>(f)] - Tone(f - static_cast<int32_t>(kLatency))));
  EXPECT_LT(largest, 1e-4);
  // The bypass value is part of the saved state.
  MemoryStream state;
  ASSERT_EQ(session.instance.component->getState(&state), kOk);
  ASSERT_EQ(state.bytes.size(), 696u);
  EXPECT_EQ(state.bytes[692], 1);
  session.send(kBypassTag, 0.2);
  MemoryStream again;
  ASSERT_EQ(session.instance.component->getState(&again), kOk);
  EXPECT_EQ(again.bytes[692], 0);
}

TEST(TarnwickVst3Process, SilenceFlagsReportExactlyTheSilentOutputChannels)
{
  Session session;
  ASSERT_TRUE(session.ok());
  session.start(kRate, kSample64, 512);
  session.send(kParamMix, 0.);
  int silentBlocks = 0, soundingBlocks = 0;
  for (int round = 0; round < 6; ++round)
  {
    Block block(kSample64, 512, {2}, {2});
    if (round % 2)
      FillMain(block, 512, 2, Tone);
    block.data().outputs[0].silenceFlags = 0xFF; // stale hint from the host
    ASSERT_EQ(session.run(block), kOk);
    for (int32_t c = 0; c < 2; ++c)
    {
      bool allZero = true;
      for (int32_t f = 0; f < 512; ++f)
        allZero = allZero && block.output(0, c, f) == 0.;
      EXPECT_EQ((block.data().outputs[0].silenceFlags >> c) & 1, allZero ? 1u : 0u) << round << " " << c;
      (allZero ? silentBlocks : soundingBlocks)++;
    }
    EXPECT_EQ(block.data().outputs[0].silenceFlags >> 2, 0u);
  }
  EXPECT_GT(silentBlocks, 0);
  EXPECT_GT(soundingBlocks, 0);
}

TEST(TarnwickVst3Process, ThirtyTwoAndSixtyFourBitBuffersSoundTheSame)
{
  Session single, twice;
  ASSERT_TRUE(single.ok() && twice.ok());
  single.start(kRate, kSample32, 512);
  twice.start(kRate, kSample64, 512);
  const Rendered a = Render(single, kSample32, 9600, {512});
  const Rendered b = Render(twice, kSample64, 9600, {512});
  EXPECT_GT(Peak(a.left), 1e-3);
  EXPECT_LT(LargestDifference(a, b), 1e-5);
}

TEST(TarnwickVst3Process, OddBlockSizesGiveTheSameSignal)
{
  Session whole, pieces;
  ASSERT_TRUE(whole.ok() && pieces.ok());
  whole.start(kRate, kSample32, 4096);
  pieces.start(kRate, kSample32, 4096);
  const Rendered a = Render(whole, kSample32, 12000, {4000});
  const Rendered b = Render(pieces, kSample32, 12000, {1, 7, 333, 4096, 2, 511, 513, 17});
  EXPECT_GT(Peak(a.left), 1e-3);
  EXPECT_LT(LargestDifference(a, b), 1e-6);
}

TEST(TarnwickVst3Process, MonoMainInputFeedsBothChannelsWithOrWithoutSideChain)
{
  for (bool aux : {false, true})
  {
    SCOPED_TRACE(aux ? "side-chain active" : "no side-chain");
    Session mono, stereo;
    ASSERT_TRUE(mono.ok() && stereo.ok());
    Arrangement inputs[] = {kMono, kStereo};
    Arrangement outputs[] = {kStereo};
    ASSERT_EQ(mono.instance.processor->setBusArrangements(inputs, 2, outputs, 1), kOk);
    mono.start(kRate, kSample32, 512, aux);
    stereo.start(kRate, kSample32, 512, aux);
    const std::vector<int32_t> monoLayout = aux ? std::vector<int32_t>{1, 2} : std::vector<int32_t>{1};
    const Rendered a = Render(mono, kSample32, 4096, {512}, monoLayout);
    const Rendered b = Render(stereo, kSample32, 4096, {512}, StereoInputs(aux));
    EXPECT_GT(Peak(a.right), 1e-3);
    EXPECT_EQ(LargestDifference(a, b), 0.);
  }
}

TEST(TarnwickVst3Process, AChannelFlaggedSilentIsHeardAsSilence)
{
  Session flagged, zeroed;
  ASSERT_TRUE(flagged.ok() && zeroed.ok());
  flagged.start(kRate, kSample32, 512);
  zeroed.start(kRate, kSample32, 512);
  for (int round = 0; round < 4; ++round)
  {
    Block a(kSample32, 512, {2}, {2}), b(kSample32, 512, {2}, {2});
    for (int32_t f = 0; f < 512; ++f)
    {
      a.setInput(0, 0, f, Tone(f));
      a.setInput(0, 1, f, 0.9); // data the host says is silence
      b.setInput(0, 0, f, Tone(f));
    }
    a.data().inputs[0].silenceFlags = 2;
    ASSERT_EQ(flagged.run(a), kOk);
    ASSERT_EQ(zeroed.run(b), kOk);
    for (int32_t f = 0; f < 512; ++f)
      ASSERT_EQ(a.output(0, 1, f), b.output(0, 1, f)) << round << " " << f;
  }
}

TEST(TarnwickVst3Process, SideChainOnOffAndBackStaysFinite)
{
  Session session;
  ASSERT_TRUE(session.ok());
  for (bool aux : {true, false, true})
  {
    session.start(kRate, kSample32, 512, aux);
    for (int round = 0; round < 4; ++round)
    {
      Block block(kSample32, 512, {2, 2}, {2});
      FillMain(block, 512, 2, Tone);
      for (int32_t f = 0; f < 512; ++f)
      {
        block.setInput(1, 0, f, f % 2 ? 1. : -1.);
        block.setInput(1, 1, f, 0.5);
      }
      ASSERT_EQ(session.run(block), kOk);
      EXPECT_TRUE(block.outputsFinite());
    }
    stopProcessing(session.instance);
  }
}

TEST(TarnwickVst3Process, MalformedBlocksAreRefusedWithSilenceAndNothingApplied)
{
  Session session;
  ASSERT_TRUE(session.ok());
  session.start(kRate, kSample32, 256);
  MemoryStream before;
  ASSERT_EQ(session.instance.component->getState(&before), kOk);
  const auto refused = [&](Block& block, const char* what) {
    block.fillOutputs(0.5);
    ParameterChanges changes;
    changes.add(kBypassTag, 0, 1.);
    changes.add(kParamOutput, 0, 0.);
    EXPECT_EQ(session.run(block, &changes), kInvalidArgument) << what;
  };
  Block tooLong(kSample32, 257, {2}, {2});
  refused(tooLong, "longer than the set-up allows");
  for (int32_t f = 0; f < 257; ++f)
    ASSERT_EQ(tooLong.output(0, 0, f), 0.) << "a refused block leaves silence, not the host's buffer";
  Block threeInputs(kSample32, 64, {2, 2, 2}, {2});
  refused(threeInputs, "three input buses");
  Block twoOutputs(kSample32, 64, {2}, {2, 2});
  refused(twoOutputs, "two output buses");
  Block threeChannels(kSample32, 64, {3}, {2});
  refused(threeChannels, "three channels");
  Block wrongSize(kSample64, 64, {2}, {2});
  refused(wrongSize, "64-bit buffers after a 32-bit set-up");
  Block missingChannel(kSample32, 64, {2}, {2});
  void* holes[2] = {missingChannel.data().inputs[0].channelBuffers[0], nullptr};
  missingChannel.data().inputs[0].channelBuffers = holes;
  refused(missingChannel, "a missing channel pointer");
  MemoryStream after;
  ASSERT_EQ(session.instance.component->getState(&after), kOk);
  EXPECT_EQ(after.bytes, before.bytes);
}

TEST(TarnwickVst3Process, AnInactiveOutputBusMayComeWithoutBuffers)
{
  Session session;
  ASSERT_TRUE(session.ok());
  session.start(kRate, kSample32, 256);
  ASSERT_EQ(session.instance.component->activateBus(kAudio, kOutput, 0, 0), kOk);
  Block block(kSample32, 64, {2}, {2});
  for (int32_t f = 0; f < 64; ++f)
    block.setInput(0, 0, f, 0.5);
  void* none[2] = {nullptr, nullptr};
  block.data().outputs[0].channelBuffers = none;
  block.data().outputs[0].silenceFlags = 3;
  EXPECT_EQ(session.run(block), kOk);
  EXPECT_EQ(block.data().outputs[0].silenceFlags, 0u);
  // Active again, its buffers are written as usual.
  ASSERT_EQ(session.instance.component->activateBus(kAudio, kOutput, 0, 1), kOk);
  Block active(kSample32, 64, {2}, {2});
  active.fillOutputs(0.5);
  EXPECT_EQ(session.run(active), kOk);
  EXPECT_TRUE(active.outputsFinite());
  EXPECT_NE(active.output(0, 0, 0), 0.5);
}

TEST(TarnwickVst3Process, SwitchingProcessingOffResetsTheEngineAndOnDoesNot)
{
  for (bool switchOff : {false, true})
  {
    SCOPED_TRACE(switchOff ? "processing switched off and on" : "processing only switched on again");
    Session session;
    ASSERT_TRUE(session.ok());
    session.start(kRate, kSample32, 512);
    session.send(62, 1.); // the delay effect, so the chain rings on after the note
    session.send(66, 1.);
    Render(session, kSample32, 4096, {512});
    if (switchOff)
    {
      EXPECT_EQ(session.instance.processor->setProcessing(0), kOk);
    }
    EXPECT_EQ(session.instance.processor->setProcessing(1), kOk);
    Block quiet(kSample32, 512, {2}, {2});
    ASSERT_EQ(session.run(quiet), kOk);
    double peak = 0.;
    for (int32_t f = 0; f < 512; ++f)
      peak = std::max(peak, std::abs(quiet.output(0, 0, f)));
    if (switchOff)
    {
      EXPECT_EQ(peak, 0.);
    }
    else
    {
      EXPECT_GT(peak, 1e-4);
    }
  }
}

namespace {
// With the monitor on "External" the output is the side-chain, 48 samples late. Returns
// the output at frame 48 after impulses of 0.5 (left) and 0.25 (right) on the side-chain.
std::pair<double, double> HeardOnTheSideChain(bool auxActive, int32_t auxChannels, uint64_t auxSilence,
                                              int32_t sampleSize = kSample32)
{
  Session session;
  EXPECT_TRUE(session.ok());
  if (auxChannels == 1)
  {
    Arrangement inputs[] = {kStereo, kMono};
    Arrangement outputs[] = {kStereo};
    EXPECT_EQ(session.instance.processor->setBusArrangements(inputs, 2, outputs, 1), kOk);
  }
  session.start(kRate, sampleSize, 2048, auxActive);
  constexpr ParamID kMonitor = 76;
  session.send(kMonitor, 1.); // the last choice: External
  for (int pass = 0; pass < 2; ++pass)
  {
    Block settle(sampleSize, 2048, {2, auxChannels}, {2});
    EXPECT_EQ(session.run(settle), kOk);
  }
  Block block(sampleSize, 128, {2, auxChannels}, {2});
  block.setInput(0, 0, 0, 0.9); // the main input is never heard on this monitor
  block.setInput(1, 0, 0, 0.5);
  if (auxChannels > 1)
    block.setInput(1, 1, 0, 0.25);
  block.data().inputs[1].silenceFlags = auxSilence;
  EXPECT_EQ(session.run(block), kOk);
  return {block.output(0, 0, 48), block.output(0, 1, 48)};
}
} // namespace

TEST(TarnwickVst3Process, TheSideChainReachesTheEngineOnlyWhenItsBusIsActive)
{
  const auto stereo = HeardOnTheSideChain(true, 2, 0);
  EXPECT_GT(stereo.first, 0.1);
  EXPECT_NEAR(stereo.second / stereo.first, 0.5, 1e-4);
  const auto inactive = HeardOnTheSideChain(false, 2, 0);
  EXPECT_EQ(inactive.first, 0.);
  EXPECT_EQ(inactive.second, 0.);
  const auto mono = HeardOnTheSideChain(true, 1, 0);
  EXPECT_GT(mono.first, 0.1);
  EXPECT_EQ(mono.second, mono.first); // one channel feeds both sides
  const auto leftSilent = HeardOnTheSideChain(true, 2, 1);
  EXPECT_EQ(leftSilent.first, 0.);
  EXPECT_GT(leftSilent.second, 0.05);
}

TEST(TarnwickVst3Process, TheSideChainSoundsTheSameThroughSixtyFourBitBuffers)
{
  for (int32_t channels : {2, 1})
  {
    const auto single = HeardOnTheSideChain(true, channels, 0, kSample32);
    const auto wide = HeardOnTheSideChain(true, channels, 0, kSample64);
    EXPECT_GT(wide.first, 0.1) << channels;
    EXPECT_NEAR(wide.first, single.first, 1e-6) << channels;
    EXPECT_NEAR(wide.second, single.second, 1e-6) << channels;
  }
  const auto inactive = HeardOnTheSideChain(false, 2, 0, kSample64);
  EXPECT_EQ(inactive.first, 0.);
  EXPECT_EQ(inactive.second, 0.);
}
