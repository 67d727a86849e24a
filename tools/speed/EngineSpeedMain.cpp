// Times the amp engine with a steady clock, in the Windows build under Wine and natively,
// so that two builds (or the two platforms) can be set side by side. Every figure is one
// line of `key=value` fields:
//   frame   ns per stereo frame and the share of one core, for a scenario, rate and block,
//           and the thread's CPU time per frame, which a loaded machine hardly changes;
//   worst   the slowest block of the analysis cycle against its own deadline;
// Scenarios: "defaults" (factory values), "all-on" (every stage), "sweep" (every stage, the
// gain and the treble automated every block), "display" (every stage, the display read 30
// times a second as an open editor does).
// A development aid, not part of CI: run it on a quiet core (taskset) and compare runs
// with tools/engine-speed-compare.
#include "bench/EngineScenario.h"
#include "product/core/AmpEngine.h"
#include "product/core/ParamIds.h"

#if defined(_WIN32)
#include <windows.h>
#else
#include <time.h>
#endif

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <numeric>
#include <string>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

using engine_scenario::GuitarLike;
using engine_scenario::Params;

double Seconds(Clock::time_point from, Clock::time_point to)
{
  return std::chrono::duration<double>(to - from).count();
}

// The CPU time the calling thread has used, in seconds.
double ThreadCpuSeconds()
{
#if defined(_WIN32)
  FILETIME created, exited, kernel, user;
  if (!GetThreadTimes(GetCurrentThread(), &created, &exited, &kernel, &user))
    return 0.0;
  const auto ticks = [](const FILETIME& t) { return (static_cast<uint64_t>(t.dwHighDateTime) << 32) | t.dwLowDateTime; };
  return static_cast<double>(ticks(kernel) + ticks(user)) * 1e-7;
#else
  timespec now{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
  return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
#endif
}

// One engine running the scenario's signal block by block.
class ScenarioRun
{
public:
  ScenarioRun(const std::string& scenario, double rate, int block)
    : mSweep(scenario == "sweep")
    , mReadDisplay(scenario == "display")
    , mRate(rate)
    , mBlock(block)
    , mParams(Params(scenario != "defaults"))
    , mLength(std::max(block, static_cast<int>(rate)))
    , mIn(GuitarLike(mLength + block, rate))
    , mOutL(static_cast<size_t>(block))
    , mOutR(static_cast<size_t>(block))
    , mEngine(std::make_unique<AmpEngine>())
  {
    mEngine->SetTargets(mParams.data());
    mEngine->Prepare(rate);
  }

  // Runs one block; returns its duration in seconds (the display read, like an editor's,
  // happens outside the timed part).
  double RunBlock()
  {
    if (mSweep)
    {
      const float phase = static_cast<float>((++mBlocks / 4) % 2);
      mParams[kParamAmpGain] = 30.0f + 40.0f * phase;
      mParams[kParamAmpTreble] = 70.0f - 40.0f * phase;
    }
    const float* ins[2] = {mIn.data() + mPosition, mIn.data() + mPosition};
    float* outs[2] = {mOutL.data(), mOutR.data()};
    const Clock::time_point before = Clock::now();
    mEngine->SetTargets(mParams.data());
    mEngine->Process(ins, outs, mBlock, false, nullptr, false);
    const double took = Seconds(before, Clock::now());
    mSink += mOutL[0];
    mPosition = (mPosition + mBlock) % mLength;
    mSinceRead += mBlock;
    if (mReadDisplay && mSinceRead >= mRate / 30.0)
    {
      mSinceRead = 0;
      mSink += mEngine->ReadDisplaySnapshot().inputSpectrum[0];
    }
    return took;
  }

  float Sink() const { return mSink; }

private:
  bool mSweep;
  bool mReadDisplay;
  double mRate;
  int mBlock;
  std::vector<float> mParams;
  int mLength;
  std::vector<float> mIn;
  std::vector<float> mOutL, mOutR;
  std::unique_ptr<AmpEngine> mEngine;
  int mPosition = 0;
  int mBlocks = 0;
  int mSinceRead = 0;
  float mSink = 0.0f;
};

// Audio run before timing starts: long enough for a running engine, whose spectra and
// tuner stand still unless the display is read.
const double kWarmUpSeconds = 3.0;

void WarmUp(ScenarioRun& run, double rate, int block)
{
  for (int done = 0; done < static_cast<int>(kWarmUpSeconds * rate); done += block)
    run.RunBlock();
}

// ns per stereo frame over about `seconds`, after the warm-up.
void TimeFrames(const std::string& scenario, double rate, int block, double seconds)
{
  ScenarioRun run(scenario, rate, block);
  WarmUp(run, rate, block);
  double busy = 0.0;
  long long frames = 0;
  const double cpuStart = ThreadCpuSeconds();
  const Clock::time_point start = Clock::now();
  while (Seconds(start, Clock::now()) < seconds)
  {
    busy += run.RunBlock();
    frames += block;
  }
  const double cpuNs = (ThreadCpuSeconds() - cpuStart) * 1e9 / static_cast<double>(frames);
  const double ns = busy * 1e9 / static_cast<double>(frames);
  std::printf("frame scenario=%s rate=%.0f block=%d ns_per_frame=%.2f core_percent=%.3f cpu_ns_per_frame=%.2f%s\n",
              scenario.c_str(), rate, block, ns, ns * rate * 1e-7, cpuNs, run.Sink() == 12345.0f ? " " : "");
}

// The analyses repeat with a period of a whole number of blocks; the slowest position in
// that cycle, each position timed by its fastest repeat, is the worst block the engine
// itself causes (a single maximum would mostly measure the other programs of a loaded
// machine).
void TimeWorstBlock(const std::string& scenario, double rate, int block, double seconds)
{
  const long long tunerPeriod = 1024LL * std::max(1, static_cast<int>(std::lround(rate / 12000.0)));
  const long long cycle = std::lcm(std::lcm(tunerPeriod, 512LL), static_cast<long long>(block));
  const long long positions = cycle / block;
  std::vector<double> fastest(static_cast<size_t>(positions), 1e9);
  ScenarioRun run(scenario, rate, block);
  WarmUp(run, rate, block);
  long long index = ((static_cast<long long>(kWarmUpSeconds * rate) + block - 1) / block) % positions;
  const Clock::time_point start = Clock::now();
  int repeats = 0;
  while (repeats < 3 || Seconds(start, Clock::now()) < seconds)
  {
    const double took = run.RunBlock();
    double& best = fastest[static_cast<size_t>(index)];
    best = std::min(best, took);
    if (++index == positions)
    {
      index = 0;
      ++repeats;
    }
  }
  const double worst = *std::max_element(fastest.begin(), fastest.end());
  const double typical = [&] {
    std::vector<double> sorted = fastest;
    std::nth_element(sorted.begin(), sorted.begin() + sorted.size() / 2, sorted.end());
    return sorted[sorted.size() / 2];
  }();
  std::printf("worst scenario=%s rate=%.0f block=%d worst_percent=%.3f median_percent=%.3f repeats=%d%s\n",
              scenario.c_str(), rate, block, worst * 100.0 / (block / rate), typical * 100.0 / (block / rate), repeats,
              run.Sink() == 12345.0f ? " " : "");
}

// Exactly `seconds` of audio of one scenario, for an instruction count under callgrind.
void RunFixed(const std::string& scenario, double rate, int block, double seconds)
{
  ScenarioRun run(scenario, rate, block);
  const long long blocks = static_cast<long long>(seconds * rate) / block;
  for (long long b = 0; b < blocks; ++b)
    run.RunBlock();
  std::printf("fixed scenario=%s rate=%.0f block=%d frames=%lld%s\n", scenario.c_str(), rate, block, blocks * block,
              run.Sink() == 12345.0f ? " " : "");
}

int Usage()
{
  std::fprintf(stderr, "usage: tarnwick_engine_speed [seconds per figure, 0 < s <= 60]\n"
                       "       tarnwick_engine_speed --fixed SCENARIO RATE BLOCK SECONDS\n");
  return 2;
}

} // namespace

int main(int argc, char** argv)
{
  if (argc == 6 && std::strcmp(argv[1], "--fixed") == 0)
  {
    RunFixed(argv[2], std::atof(argv[3]), std::atoi(argv[4]), std::atof(argv[5]));
    return 0;
  }
  const double seconds = argc > 1 ? std::atof(argv[1]) : 1.0;
  if (!(seconds > 0.0) || seconds > 60.0)
    return Usage();
  for (double rate : {44100.0, 48000.0, 96000.0, 192000.0})
    for (const char* scenario : {"defaults", "all-on", "sweep", "display"})
      TimeFrames(scenario, rate, 512, seconds);
  for (int block : {512, 64})
    for (double rate : {44100.0, 48000.0, 96000.0, 192000.0})
      TimeWorstBlock("display", rate, block, seconds);
  return 0;
}
