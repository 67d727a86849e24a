// Real audio through the module: a few seconds of a guitar-like test signal, rendered the
// way a host does, comes out finite and with a different spectrum.

#include "TarnwickModule.h"

#include <cmath>
#include <algorithm>
#include <cstdio>

using namespace vst3host;
using namespace tarnwicktest;

namespace {

constexpr double kRate = 48000.;
constexpr double kPi = 3.14159265358979323846;

// A held 110 Hz note with its octave, swelling in over the first half second.
double Pluck(int32_t frame)
{
  const double t = static_cast<double>(frame) / kRate;
  const double envelope = 0.5 * std::min(1., t * 2.);
  return envelope * (std::sin(2. * kPi * 110. * t) + 0.3 * std::sin(2. * kPi * 220. * t));
}

} // namespace

TEST(TarnwickVst3Render, ThreeSecondsOfPlayingComeOutFiniteWithANewSpectrum)
{
  Session session;
  ASSERT_TRUE(session.ok());
  session.start(kRate, kSample32, 512);
  constexpr int32_t kTotal = 3 * 48000;
  std::vector<double> input, left, right;
  for (int32_t done = 0; done < kTotal; done += 512)
  {
    Block block(kSample32, 512, {2}, {2});
    FillMain(block, 512, 2, Pluck, done);
    ProcessContext context{};
    context.state = 0x2 | 0x200 | 0x400;
    context.sampleRate = kRate;
    context.projectTimeSamples = done;
    context.tempo = 120.;
    context.projectTimeMusic = done / kRate * 2.;
    block.data().processContext = &context;
    ASSERT_EQ(session.run(block), kOk);
    for (int32_t f = 0; f < 512; ++f)
    {
      input.push_back(Pluck(done + f));
      left.push_back(block.output(0, 0, f));
      right.push_back(block.output(0, 1, f));
    }
  }
  double energy = 0.;
  for (size_t i = 0; i < left.size(); ++i)
  {
    ASSERT_TRUE(std::isfinite(left[i]) && std::isfinite(right[i])) << i;
    energy += left[i] * left[i];
  }
  const double rms = std::sqrt(energy / static_cast<double>(left.size()));
  EXPECT_GT(rms, 1e-3);

  // The input holds 110 and 220 Hz only; the amplifier adds harmonics the input lacks.
  // The last second holds whole periods of every partial, so the levels do not leak.
  input.erase(input.begin(), input.end() - 48000);
  left.erase(left.begin(), left.end() - 48000);
  double inputNew = 0., outputNew = 0., outputOld = 0.;
  for (double harmonic : {330., 440., 550., 660., 880., 1100.})
  {
    inputNew += ToneLevel(input, harmonic, kRate);
    outputNew += ToneLevel(left, harmonic, kRate);
  }
  for (double partial : {110., 220.})
    outputOld += ToneLevel(left, partial, kRate);
  const double inputRatio = inputNew / (ToneLevel(input, 110., kRate) + ToneLevel(input, 220., kRate));
  const double outputRatio = outputNew / outputOld;
  std::printf("render: output rms %.4f, new harmonics / partials: input %.2e, output %.2e\n", rms, inputRatio,
              outputRatio);
  EXPECT_LT(inputRatio, 1e-3);
  EXPECT_GT(outputRatio, 0.02);
}
