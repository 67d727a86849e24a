#include "product/core/CabinetModel.h"
#include "product/core/DcFilter.h"
#include "product/core/EngineMeasurements.h"
#include "product/core/ParamSpecTable.h"
#include "product/core/PostEqualiser.h"
#include "product/core/StereoEffects.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <cmath>
#include <memory>
#include <vector>

// The stages after the amplifier, one stereo block of 512 frames per iteration, with every
// effect on and steady settings (the engine redesigns only when a value moves).
// Counters: realtime factor (audio seconds per CPU second) and the slowest block against
// its 512-frame deadline, which includes the blocks where the spectrum (every block) and
// the tuner (every few blocks) analyse.
namespace
{
constexpr int kBlock = 512;

std::array<float, kNumParams> AllOnParams()
{
  std::array<float, kNumParams> p{};
  for (int i = 0; i < kNumParams; ++i)
    p[i] = ParamSpecTable::kDefaults[i];
  p[kParamCabRoom] = 60.0f;
  p[kParamMicBlend] = 40.0f;
  p[kParamEqLow] = 3.0f;
  p[kParamEqMid] = -4.0f;
  p[kParamChorusEnabled] = p[kParamDelayEnabled] = p[kParamReverbEnabled] = 1.0f;
  p[kParamReverbSize] = 100.0f;
  p[kParamReverbDecay] = 8.0f;
  p[kParamPostCompressor] = 80.0f;
  p[kParamStereoWidth] = 150.0f;
  return p;
}

struct PostChain
{
  explicit PostChain(double rate)
    : rate(rate)
    , params(AllOnParams())
  {
    for (int ch = 0; ch < 2; ++ch)
    {
      cab[ch] = std::make_unique<CabStageState>();
      cab[ch]->PrepareRoom(rate);
    }
    effects = std::make_unique<StereoEffects>();
    effects->Prepare(rate);
    dc.Prepare(rate);
    measurements = std::make_unique<EngineMeasurements>();
    measurements->Prepare(rate);
    measurements->Reset();
    measurements->Configure(params.data());
    Design();
  }

  void Design()
  {
    for (int ch = 0; ch < 2; ++ch)
    {
      DesignCab(*cab[ch], params.data(), rate, static_cast<int>(params[kParamCabType]));
      DesignEqualiser(eq[ch], params.data(), rate);
    }
    effects->Design(params.data());
  }

  void RunBlock(const double* inL, const double* inR, bool cabinet, bool equaliser, bool stereo, bool displays)
  {
    const StereoEffectSwitches switches{1.0, 1.0, 1.0, 1.0};
    for (int n = 0; n < kBlock; ++n)
    {
      double x[2] = {inL[n], inR[n]};
      for (int ch = 0; ch < 2; ++ch)
      {
        if (cabinet)
          x[ch] = CabStage(*cab[ch], x[ch], ch);
        if (equaliser)
          x[ch] = eq[ch].Process(x[ch]);
      }
      if (stereo)
      {
        const double gain = effects->Process(x[0], x[1], params.data(), switches);
        for (int ch = 0; ch < 2; ++ch)
          x[ch] = dc.Process(ch, x[ch] * gain, 1.0);
      }
      if (displays)
        measurements->Feed(inL[n], inR[n], x[0], x[1]);
      sink += x[0] + x[1];
    }
    if (displays)
    {
      BlockReadings readings;
      readings.compressorReductionDb = effects->CompressorReductionDb();
      measurements->Publish(readings, false, false);
    }
  }

  double rate;
  std::array<float, kNumParams> params;
  std::unique_ptr<CabStageState> cab[2];
  PostEqualiser eq[2];
  std::unique_ptr<StereoEffects> effects;
  DcFilter dc;
  std::unique_ptr<EngineMeasurements> measurements;
  double sink = 0.0;
};

enum Stages
{
  kCabinetOnly,
  kEqualiserOnly,
  kStereoEffectsOnly,
  kDisplaysOnly,
  kAllStages
};

void PostStages(benchmark::State& state)
{
  const auto stages = static_cast<Stages>(state.range(0));
  const double rate = static_cast<double>(state.range(1));
  PostChain chain(rate);
  // A second of a guitar-like pair of tones, played in a loop.
  const int loop = static_cast<int>(rate) / kBlock * kBlock;
  std::vector<double> left(static_cast<size_t>(loop)), right(static_cast<size_t>(loop));
  for (int n = 0; n < loop; ++n)
  {
    const double t = n / rate;
    left[n] = 0.4 * std::sin(2.0 * 3.141592653589793 * 110.0 * t) + 0.1 * std::sin(2.0 * 3.141592653589793 * 1900.0 * t);
    right[n] = 0.9 * left[n];
  }
  int position = 0;
  double worstSeconds = 0.0;
  long blocks = 0;
  for (auto _ : state)
  {
    const double* inL = left.data() + position;
    const double* inR = right.data() + position;
    position = (position + kBlock) % loop;
    const auto start = std::chrono::steady_clock::now();
    chain.RunBlock(inL, inR, stages == kCabinetOnly || stages == kAllStages, stages == kEqualiserOnly || stages == kAllStages,
                   stages == kStereoEffectsOnly || stages == kAllStages, stages == kDisplaysOnly || stages == kAllStages);
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    worstSeconds = std::max(worstSeconds, seconds);
    ++blocks;
  }
  benchmark::DoNotOptimize(chain.sink);
  const double audioSeconds = static_cast<double>(blocks) * kBlock / rate;
  state.counters["realtime_x"] =
    benchmark::Counter(audioSeconds, benchmark::Counter::kIsRate); // audio seconds per CPU second
  state.counters["worst_block_pct_deadline"] = 100.0 * worstSeconds / (kBlock / rate);
  state.SetItemsProcessed(state.iterations() * kBlock);
}
} // namespace

BENCHMARK(PostStages)
  ->ArgNames({"stages", "rate"})
  ->Args({kCabinetOnly, 48000})
  ->Args({kEqualiserOnly, 48000})
  ->Args({kStereoEffectsOnly, 48000})
  ->Args({kDisplaysOnly, 48000})
  ->Args({kAllStages, 48000})
  ->Args({kAllStages, 192000})
  ->MinTime(1.0);
