#include "bench/EngineScenario.h"
#include "product/core/AmpEngine.h"
#include "product/core/AmpModel.h"
#include "product/core/HalfBandFilter.h"
#include "product/core/ParamSpecTable.h"
#include "product/core/PedalModel.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <limits>
#include <memory>
#include <vector>

// The whole amp engine and its oversampled stages on a guitar-like signal.
// Counters: ns per stereo frame; cpu_share = CPU seconds per second of stereo audio
// (0.03 is 3 % of one core); worst_block_share = the slowest single block against its
// own real-time deadline.
namespace
{

using engine_scenario::GuitarLike;
using engine_scenario::Params;

// Args: sample rate, block size, every stage on (1) or defaults (0).
void BM_AmpEngine(benchmark::State& state)
{
  const double rate = static_cast<double>(state.range(0));
  const int block = static_cast<int>(state.range(1));
  const std::vector<float> params = Params(state.range(2) != 0);
  const int length = std::max(block, static_cast<int>(rate)); // one second of audio, looped
  const std::vector<float> in = GuitarLike(length + block, rate);
  std::vector<float> outL(static_cast<size_t>(block)), outR(static_cast<size_t>(block));

  auto engine = std::make_unique<AmpEngine>();
  engine->SetTargets(params.data());
  engine->Prepare(rate);
  int position = 0;
  double worstBlock = 0.0;
  int64_t frames = 0;
  for (auto _ : state)
  {
    const float* ins[2] = {in.data() + position, in.data() + position};
    float* outs[2] = {outL.data(), outR.data()};
    const auto start = std::chrono::steady_clock::now();
    engine->SetTargets(params.data());
    engine->Process(ins, outs, block, false, nullptr, false);
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    worstBlock = std::max(worstBlock, seconds);
    benchmark::DoNotOptimize(outL.data());
    position = (position + block) % length;
    frames += block;
  }
  state.counters["ns_per_frame"] =
    benchmark::Counter(static_cast<double>(frames) * 1e-9, benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
  state.counters["cpu_share"] =
    benchmark::Counter(static_cast<double>(frames) / rate, benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
  state.counters["worst_block_share"] = worstBlock / (block / rate);
}

void EngineArgs(benchmark::internal::Benchmark* b)
{
  for (int rate : {48000, 192000})
    for (int block : {1, 64, 512, 4096})
    {
      if (block == 512)
        b->Args({rate, block, 0});
      b->Args({rate, block, 1});
    }
}
BENCHMARK(BM_AmpEngine)->Apply(EngineArgs)->Unit(benchmark::kMicrosecond);

// Input that is nothing but float denormals must not cost more than music does.
void BM_AmpEngineDenormalInput(benchmark::State& state)
{
  const double rate = 48000.0;
  const int block = 512;
  std::vector<float> params = Params(true);
  params[kParamGateEnabled] = 0.0f; // an open gate lets the denormals into every stage
  std::vector<float> in(static_cast<size_t>(block));
  for (int n = 0; n < block; ++n)
    in[static_cast<size_t>(n)] = std::numeric_limits<float>::denorm_min() * static_cast<float>(1 + n % 100);
  std::vector<float> outL(static_cast<size_t>(block)), outR(static_cast<size_t>(block));
  auto engine = std::make_unique<AmpEngine>();
  engine->SetTargets(params.data());
  engine->Prepare(rate);
  int64_t frames = 0;
  for (auto _ : state)
  {
    const float* ins[2] = {in.data(), in.data()};
    float* outs[2] = {outL.data(), outR.data()};
    engine->SetTargets(params.data());
    engine->Process(ins, outs, block, false, nullptr, false);
    benchmark::DoNotOptimize(outL.data());
    frames += block;
  }
  state.counters["ns_per_frame"] =
    benchmark::Counter(static_cast<double>(frames) * 1e-9, benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
  state.counters["cpu_share"] =
    benchmark::Counter(static_cast<double>(frames) / rate, benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_AmpEngineDenormalInput)->Unit(benchmark::kMicrosecond);

// Oversampled stages on their own, per base-rate frame of one channel (four 4x samples).
void BM_OversamplingRoundTrip(benchmark::State& state)
{
  HalfBandPair up, down;
  up.Design();
  down.Design();
  const std::vector<float> in = GuitarLike(48000, 48000.0);
  size_t n = 0;
  for (auto _ : state)
  {
    double four[4];
    UpSample(up, in[n], four);
    benchmark::DoNotOptimize(DownSample(down, four));
    n = (n + 1) % in.size();
  }
}
BENCHMARK(BM_OversamplingRoundTrip);

void BM_PedalStage(benchmark::State& state)
{
  std::vector<float> p = Params(true);
  p[kParamPedalType] = static_cast<float>(state.range(0));
  PedalStageState pedal;
  DesignPedal(pedal.design, p.data(), 192000.0, static_cast<int>(state.range(0)));
  const std::vector<float> in = GuitarLike(48000, 192000.0);
  size_t n = 0;
  for (auto _ : state)
  {
    benchmark::DoNotOptimize(PedalStage(pedal, in[n]));
    n = (n + 1) % in.size();
  }
}
BENCHMARK(BM_PedalStage)->Arg(1)->Arg(9)->Arg(15);

void BM_AmpStage(benchmark::State& state)
{
  std::vector<float> p = Params(true);
  AmpStageState amp;
  AmpDesign design;
  DesignAmp(design, p.data(), 192000.0, static_cast<int>(state.range(0)));
  ApplyAmpDesign(amp, design);
  const std::vector<float> in = GuitarLike(48000, 192000.0);
  size_t n = 0;
  for (auto _ : state)
  {
    benchmark::DoNotOptimize(AmpStage(amp, in[n]).power);
    n = (n + 1) % in.size();
  }
}
BENCHMARK(BM_AmpStage)->Arg(0)->Arg(7)->Arg(10);

void BM_AmpDesign(benchmark::State& state)
{
  const std::vector<float> p = Params(true);
  AmpDesign design;
  for (auto _ : state)
  {
    DesignAmp(design, p.data(), 192000.0, 7);
    benchmark::DoNotOptimize(design.preGain);
  }
}
BENCHMARK(BM_AmpDesign);

} // namespace
