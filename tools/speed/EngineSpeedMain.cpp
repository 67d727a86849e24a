// Times the amp engine with a steady clock: ns per stereo frame, share of one core and the
// worst single block, at 48 and 192 kHz, for block sizes 1, 64, 512 and 4096, with the
// default settings and with every stage on, and each drive stage on its own. A development
// aid for the Windows build, where the native benchmark library is not available.
#include "bench/EngineScenario.h"
#include "product/core/AmpEngine.h"
#include "product/core/AmpModel.h"
#include "product/core/HalfBandFilter.h"
#include "product/core/ParamSpecTable.h"
#include "product/core/PedalModel.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

using engine_scenario::GuitarLike;
using engine_scenario::Params;

double Seconds(Clock::time_point from, Clock::time_point to)
{
  return std::chrono::duration<double>(to - from).count();
}

// Runs about `seconds` of wall time of the engine and prints one line. With `sweep` the
// gain and the treble move all the time, so every coefficient update redesigns the stages.
void TimeEngine(double rate, int block, bool everyStage, double seconds, bool sweep = false)
{
  std::vector<float> params = Params(everyStage);
  const int length = std::max(block, static_cast<int>(rate));
  const std::vector<float> in = GuitarLike(length + block, rate);
  std::vector<float> outL(static_cast<size_t>(block)), outR(static_cast<size_t>(block));
  auto engine = std::make_unique<AmpEngine>();
  engine->SetTargets(params.data());
  engine->Prepare(rate);

  // One second of audio first, so the measurement starts from a running engine.
  int position = 0;
  int blocks = 0;
  auto runBlock = [&]() {
    if (sweep)
    {
      const float phase = static_cast<float>((++blocks / 4) % 2);
      params[kParamAmpGain] = 30.0f + 40.0f * phase;
      params[kParamAmpTreble] = 70.0f - 40.0f * phase;
    }
    const float* ins[2] = {in.data() + position, in.data() + position};
    float* outs[2] = {outL.data(), outR.data()};
    engine->SetTargets(params.data());
    engine->Process(ins, outs, block, false, nullptr, false);
    position = (position + block) % length;
  };
  for (int done = 0; done < static_cast<int>(rate); done += block)
    runBlock();

  double worst = 0.0;
  double busy = 0.0;
  long long frames = 0;
  float sink = 0.0f;
  const Clock::time_point start = Clock::now();
  while (Seconds(start, Clock::now()) < seconds)
  {
    const Clock::time_point before = Clock::now();
    runBlock();
    const double took = Seconds(before, Clock::now());
    sink += outL[0];
    busy += took;
    worst = std::max(worst, took);
    frames += block;
  }
  const double nsPerFrame = busy * 1e9 / static_cast<double>(frames);
  std::printf("engine %-9s %6.0f Hz block %4d: %8.1f ns/frame  %6.2f %% of a core  worst block %7.1f %% of "
              "its time%s\n",
              sweep ? "sweeping" : (everyStage ? "all-on" : "defaults"), rate, block, nsPerFrame, nsPerFrame * rate * 1e-7,
              worst * 100.0 / (block / rate), sink == 12345.0f ? " " : "");
}

// ns per call of fn, over about `seconds`.
template <typename Fn>
double TimePerCall(Fn fn, double seconds)
{
  long long calls = 0;
  const Clock::time_point start = Clock::now();
  double elapsed = 0.0;
  while (elapsed < seconds)
  {
    for (int i = 0; i < 4096; ++i)
      fn(i);
    calls += 4096;
    elapsed = Seconds(start, Clock::now());
  }
  return elapsed * 1e9 / static_cast<double>(calls);
}

void TimeStages(double seconds)
{
  const std::vector<float> in = GuitarLike(4096, 192000.0);
  const std::vector<float> params = Params(true);
  volatile double sink = 0.0;

  HalfBandPair up, down;
  up.Design();
  down.Design();
  std::printf("stage oversampling round trip (one channel, per base-rate frame): %7.1f ns\n",
              TimePerCall(
                [&](int i) {
                  double four[4];
                  UpSample(up, in[static_cast<size_t>(i)], four);
                  sink = DownSample(down, four);
                },
                seconds));

  for (int family : {1, 9, 15})
  {
    PedalStageState pedal;
    DesignPedal(pedal.design, params.data(), 192000.0, family);
    std::printf("stage pedal family %2d (one channel, per 4x sample): %7.1f ns\n", family,
                TimePerCall([&](int i) { sink = PedalStage(pedal, in[static_cast<size_t>(i)]); }, seconds));
  }
  for (int family : {0, 7, 10})
  {
    AmpStageState amp;
    AmpDesign design;
    DesignAmp(design, params.data(), 192000.0, family);
    ApplyAmpDesign(amp, design);
    std::printf("stage amp family %2d (one channel, per 4x sample): %7.1f ns\n", family,
                TimePerCall([&](int i) { sink = AmpStage(amp, in[static_cast<size_t>(i)]).power; }, seconds));
  }
  AmpDesign design;
  std::printf("stage amp design (one slot): %7.1f ns\n",
              TimePerCall(
                [&](int) {
                  DesignAmp(design, params.data(), 192000.0, 7);
                  sink = design.preGain;
                },
                seconds));
}

} // namespace

int main(int argc, char** argv)
{
  // Optional: seconds per figure (default 1).
  double seconds = argc > 1 ? std::atof(argv[1]) : 1.0;
  if (!(seconds > 0.0) || seconds > 60.0)
  {
    std::fprintf(stderr, "usage: tarnwick_engine_speed [seconds per figure, 0 < s <= 60]\n");
    return 2;
  }
  for (double rate : {48000.0, 192000.0})
  {
    TimeEngine(rate, 512, false, seconds);
    for (int block : {1, 64, 512, 4096})
      TimeEngine(rate, block, true, seconds);
    TimeEngine(rate, 512, true, seconds, true);
  }
  TimeStages(seconds);
  return 0;
}
