#include "EngineTestSignals.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>

using namespace engine_test;

namespace {

double MaxDifference(const std::vector<float>& a, const std::vector<float>& b)
{
  double worst = 0.0;
  for (size_t i = 0; i < a.size() && i < b.size(); ++i)
    worst = std::max(worst, std::fabs(static_cast<double>(a[i]) - b[i]));
  return worst;
}

double MaxStep(const std::vector<float>& x, size_t from, size_t to)
{
  double worst = 0.0;
  for (size_t i = std::max<size_t>(from, 1); i < to && i < x.size(); ++i)
    worst = std::max(worst, std::fabs(static_cast<double>(x[i]) - x[i - 1]));
  return worst;
}

// Runs a mono signal through one engine, block by block, letting `change` edit the
// parameters before each block; `probe` sees the engine after each block.
template <typename Change, typename Probe>
std::vector<float> RunChanging(std::vector<float> params, const std::vector<float>& in, int block, Change change,
                               Probe probe, const std::vector<float>* aux = nullptr)
{
  auto enginePtr = std::make_unique<AmpEngine>();
  AmpEngine& engine = *enginePtr;
  engine.SetTargets(params.data());
  engine.Prepare(48000.0);
  std::vector<float> out(in.size());
  for (size_t start = 0; start < in.size(); start += static_cast<size_t>(block))
  {
    const int count = static_cast<int>(std::min<size_t>(static_cast<size_t>(block), in.size() - start));
    change(params, static_cast<int>(start));
    engine.SetTargets(params.data());
    const float* ins[2] = {in.data() + start, in.data() + start};
    float* outs[2] = {out.data() + start, nullptr};
    const float* auxIns[2] = {nullptr, nullptr};
    if (aux != nullptr)
      auxIns[0] = auxIns[1] = aux->data() + start;
    engine.Process(ins, outs, count, false, aux != nullptr ? auxIns : nullptr, aux != nullptr);
    probe(engine, static_cast<int>(start + count));
  }
  return out;
}

void NoChange(std::vector<float>&, int) {}

// Distinct, finite, audible outputs for every value of a choice parameter.
void ExpectDistinctFamilies(int param, int count, std::vector<float> params, const char* what)
{
  const double rate = 48000.0;
  const std::vector<float> in = PluckedString(24000, rate, 110.0, 0.4);
  std::vector<std::vector<float>> outs;
  for (int family = 0; family < count; ++family)
  {
    params[param] = static_cast<float>(family);
    const Stereo out = RunEngine(params, rate, in, in);
    EXPECT_TRUE(AllFinite(out.left)) << what << " " << family;
    EXPECT_GT(Rms(out.left, 4800), 1e-3) << what << " " << family;
    for (size_t other = 0; other < outs.size(); ++other)
      EXPECT_GT(MaxDifference(out.left, outs[other]), 1e-3) << what << " " << family << " vs " << other;
    outs.push_back(out.left);
  }
}

} // namespace

TEST(AmpEngineModels, EveryPedalFamilyIsDistinct)
{
  std::vector<float> p = DefaultParams();
  p[kParamPedalEnabled] = 1.0f;
  p[kParamPedalDrive] = 60.0f;
  p[kParamMonitor] = 2.0f; // the pedal tap
  ExpectDistinctFamilies(kParamPedalType, kPedalFamilyCount, p, "pedal");
}

TEST(AmpEngineModels, EveryAmpFamilyIsDistinct)
{
  std::vector<float> p = DefaultParams();
  ExpectDistinctFamilies(kParamAmpType, kAmpFamilyCount, p, "amp");
  p[kParamMonitor] = 3.0f; // the preamp tap alone
  ExpectDistinctFamilies(kParamAmpType, kAmpFamilyCount, p, "preamp");
}

TEST(AmpEngineModels, EveryPowerTypeIsDistinct)
{
  std::vector<float> p = DefaultParams();
  p[kParamPowerDrive] = 80.0f;
  p[kParamAmpMaster] = 100.0f;
  p[kParamMonitor] = 4.0f; // the power tap
  ExpectDistinctFamilies(kParamPowerType, kPowerTypeCount, p, "power");
}

TEST(AmpEngineModels, FamilyChangesCrossfadeWithoutClicks)
{
  const std::vector<float> in = Sine(48000, 48000.0, 110.0, 0.4);
  std::vector<float> p = DefaultParams();
  p[kParamPedalEnabled] = 1.0f;
  p[kParamGateEnabled] = 0.0f;
  p[kParamMonitor] = 4.0f;

  struct Case
  {
    int param;
    float from;
    float to;
  };
  for (const Case& c : {Case{kParamPedalType, 1.0f, 9.0f}, Case{kParamAmpType, 5.0f, 10.0f},
                        Case{kParamAmpType, 0.0f, 8.0f}, Case{kParamPedalType, 4.0f, 12.0f}})
  {
    p[c.param] = c.from;
    const std::vector<float> before = RunEngine(p, 48000.0, in, in).left;
    p[c.param] = c.to;
    const std::vector<float> after = RunEngine(p, 48000.0, in, in).left;
    const double steady = std::max(MaxStep(before, 2000, in.size()), MaxStep(after, 2000, in.size()));

    double fadeSeen = 1.0;
    const std::vector<float> out = RunChanging(
      p, in, 64,
      [&](std::vector<float>& params, int start) { params[c.param] = start >= 24000 ? c.to : c.from; },
      [&](const AmpEngine& e, int end) {
        if (end == 24000 + 64)
          fadeSeen = c.param == kParamPedalType ? e.PedalCrossfade() : e.AmpCrossfade();
      });
    EXPECT_LT(fadeSeen, 1.0) << "a crossfade runs right after the change";
    // A hard switch would step by the whole difference of the two outputs (several times
    // the steady step); the fade stays within the steady steps plus the new family's
    // settling on the copied states.
    EXPECT_LT(MaxStep(out, 23000, 30000), steady * 1.25) << "param " << c.param << " " << c.from << "->" << c.to;
    // Well after the change the output is the new family's (same states feed it).
    EXPECT_LT(MaxDifference(std::vector<float>(out.begin() + 40000, out.end()),
                            std::vector<float>(after.begin() + 40000, after.end())),
              0.05);
  }
}

TEST(AmpEngineModels, RapidFamilyChangesStayClickFreeAndEndOnTheLast)
{
  const std::vector<float> in = Sine(48000, 48000.0, 110.0, 0.4);
  std::vector<float> p = DefaultParams();
  p[kParamGateEnabled] = 0.0f;
  p[kParamMonitor] = 4.0f;
  double steady = 0.0;
  for (float family : {5.0f, 10.0f, 2.0f, 8.0f})
  {
    p[kParamAmpType] = family;
    steady = std::max(steady, MaxStep(RunEngine(p, 48000.0, in, in).left, 2000, in.size()));
  }
  int finalFamily = -1;
  const std::vector<float> out = RunChanging(
    p, in, 32,
    [](std::vector<float>& params, int start) {
      // A new family every 2 ms, as a host stepping quickly through choices would.
      if (start < 12000)
        params[kParamAmpType] = 5.0f;
      else if (start < 12096)
        params[kParamAmpType] = 10.0f;
      else if (start < 12192)
        params[kParamAmpType] = 2.0f;
      else
        params[kParamAmpType] = 8.0f;
    },
    [&](const AmpEngine& e, int) { finalFamily = e.ActiveAmpFamily(); });
  EXPECT_LT(MaxStep(out, 11000, 30000), steady * 1.25);
  EXPECT_EQ(finalFamily, 8);
}

TEST(AmpEngineGate, InternalDetectorOpensOnSignalAndClosesOnNoise)
{
  std::vector<float> in = Sine(48000, 48000.0, 220.0, 0.5);
  for (size_t n = 12000; n < in.size(); ++n)
    in[n] *= 0.002f; // about -60 dBFS, below the -40 dBFS threshold
  std::vector<float> p = DefaultParams();
  p[kParamGateThreshold] = -40.0f;
  p[kParamGateRange] = 70.0f;
  p[kParamGateHold] = 30.0f;
  p[kParamGateRelease] = 20.0f;

  double first = 1.0, loud = -100.0, quietSoon = 0.0, quietLate = 0.0;
  RunChanging(p, in, 480, NoChange, [&](const AmpEngine& e, int end) {
    if (end == 480)
      first = e.GateGainDb();
    if (end == 11520)
      loud = e.GateGainDb();
    if (end == 12480) // 10 ms into the quiet part: still held open
      quietSoon = e.GateGainDb();
    if (end == 48000)
      quietLate = e.GateGainDb();
  });
  EXPECT_EQ(loud, 0.0);
  EXPECT_GT(first, -70.0); // it started closed and opened with the attack time
  EXPECT_GT(quietSoon, -1.0);
  EXPECT_NEAR(quietLate, -70.0, 1e-6);

  // The gate is in the processed path: the closed gate silences it.
  std::vector<float> silentIn(9600, 0.0f);
  const Stereo out = RunEngine(p, 48000.0, silentIn, silentIn);
  EXPECT_EQ(Rms(out.left), 0.0);
}

TEST(AmpEngineGate, SnappedEnabledGateStartsClosed)
{
  std::vector<float> p = DefaultParams();
  double gain = 0.0;
  RunChanging(p, std::vector<float>(64, 0.0f), 64, NoChange, [&](const AmpEngine& e, int) { gain = e.GateGainDb(); });
  EXPECT_EQ(gain, -70.0);
  p[kParamGateEnabled] = 0.0f;
  RunChanging(p, std::vector<float>(64, 0.0f), 64, NoChange, [&](const AmpEngine& e, int) { gain = e.GateGainDb(); });
  EXPECT_EQ(gain, 0.0);
}

TEST(AmpEngineGate, ExternalDetectorFollowsTheAuxiliaryInput)
{
  const std::vector<float> quietMain = Sine(24000, 48000.0, 220.0, 0.001);
  const std::vector<float> loudMain = Sine(24000, 48000.0, 220.0, 0.5);
  const std::vector<float> loudAux = Sine(24000, 48000.0, 110.0, 0.5);
  const std::vector<float> silentAux(24000, 0.0f);
  std::vector<float> p = DefaultParams();
  p[kParamGateThreshold] = -40.0f;
  p[kParamGateDetector] = 1.0f;

  auto finalGain = [&](const std::vector<float>& main, const std::vector<float>* aux) {
    double gain = 1.0;
    RunChanging(p, main, 512, NoChange, [&](const AmpEngine& e, int) { gain = e.GateGainDb(); }, aux);
    return gain;
  };
  EXPECT_EQ(finalGain(quietMain, &loudAux), 0.0) << "a loud key opens the gate";
  EXPECT_NEAR(finalGain(loudMain, &silentAux), -70.0, 1e-6) << "connected silence keeps it shut";
  EXPECT_EQ(finalGain(loudMain, nullptr), 0.0) << "without a pair it listens to the main input";
  EXPECT_NEAR(finalGain(quietMain, nullptr), -70.0, 1e-6);

  // sc-trim scales the key: -24 dB takes a -20 dBFS key below the -40 dBFS threshold.
  const std::vector<float> keyAt20 = Sine(24000, 48000.0, 110.0, 0.1);
  EXPECT_EQ(finalGain(quietMain, &keyAt20), 0.0);
  p[kParamScTrim] = -24.0f;
  EXPECT_NEAR(finalGain(quietMain, &keyAt20), -70.0, 1e-6);
}

TEST(AmpEngineOutput, RoutingPolarityPanAndOutputMode)
{
  const double rate = 48000.0;
  const std::vector<float> tone = Sine(4800, rate, 440.0, 0.5);
  const std::vector<float> silence(4800, 0.0f);
  std::vector<float> p = DefaultParams();
  p[kParamGateEnabled] = 0.0f;
  p[kParamMonitor] = 2.0f; // the pedal tap shows the routed input

  p[kParamInputRouting] = 2.0f; // "Left" feeds both
  Stereo out = RunEngine(p, rate, tone, silence);
  EXPECT_GT(Rms(out.right, 480), 0.3);
  EXPECT_EQ(out.left, out.right);
  p[kParamInputRouting] = 3.0f; // "Right" with only a left input is silent
  out = RunEngine(p, rate, tone, silence);
  EXPECT_EQ(Rms(out.left), 0.0);
  p[kParamInputRouting] = 1.0f; // "Mono Sum" feeds the mean
  out = RunEngine(p, rate, tone, silence);
  EXPECT_NEAR(Rms(out.right, 480), 0.5 * Rms(tone, 480), 0.01);

  // Polarity inverts the processed path only.
  p[kParamInputRouting] = 0.0f;
  const Stereo normal = RunEngine(p, rate, tone, tone);
  p[kParamInputPolarity] = 1.0f;
  const Stereo inverted = RunEngine(p, rate, tone, tone);
  for (size_t n = 480; n < tone.size(); ++n)
    ASSERT_EQ(inverted.left[n], -normal.left[n]) << n;
  p[kParamMonitor] = 1.0f;
  const Stereo dry = RunEngine(p, rate, tone, tone);
  EXPECT_EQ(dry.left[1000], tone[1000 - 48]);

  // Pan +100 silences the left and leaves the right untouched.
  p = DefaultParams();
  p[kParamMix] = 0.0f;
  p[kParamOutputPan] = 100.0f;
  out = RunEngine(p, rate, tone, tone);
  EXPECT_EQ(Rms(out.left), 0.0);
  EXPECT_EQ(out.right[1000], tone[952]);
  p[kParamOutputPan] = -100.0f;
  out = RunEngine(p, rate, tone, tone);
  EXPECT_EQ(Rms(out.right), 0.0);

  // Output mode "Right" puts the right channel on both sides; "Mono Sum" the mean.
  p[kParamOutputPan] = 0.0f;
  p[kParamOutputMode] = 3.0f;
  out = RunEngine(p, rate, silence, tone);
  EXPECT_EQ(out.left[1000], tone[952]);
  p[kParamOutputMode] = 1.0f;
  out = RunEngine(p, rate, silence, tone);
  EXPECT_EQ(out.left[1000], 0.5f * tone[952]);
  EXPECT_EQ(out.right[1000], 0.5f * tone[952]);
}

TEST(AmpEngineOutput, SafetyClipAndOutputTrim)
{
  const double rate = 48000.0;
  const std::vector<float> loud = Sine(4800, rate, 440.0, 4.0);
  std::vector<float> p = DefaultParams();
  p[kParamMix] = 0.0f;
  p[kParamSafetyClip] = 1.0f;
  p[kParamSafetyCeiling] = -6.0f;
  Stereo out = RunEngine(p, rate, loud, loud);
  const double ceiling = std::pow(10.0, -6.0 / 20.0);
  float peak = 0.0f, low = 0.0f;
  for (size_t n = 480; n < out.left.size(); ++n)
  {
    peak = std::max(peak, out.left[n]);
    low = std::min(low, out.left[n]);
  }
  EXPECT_LE(peak, ceiling);
  EXPECT_GT(peak, 0.95 * ceiling);
  EXPECT_LT(low, -0.95 * ceiling); // negative samples stay negative

  // A sample at 0.75 x ceiling passes unchanged; trim scales before the clip.
  const std::vector<float> atKnee(4800, static_cast<float>(0.75 * ceiling));
  out = RunEngine(p, rate, atKnee, atKnee);
  EXPECT_FLOAT_EQ(out.left[2000], static_cast<float>(0.75 * ceiling));
  p[kParamSafetyClip] = 0.0f;
  p[kParamOutput] = -6.0f;
  const std::vector<float> half(4800, 0.5f);
  out = RunEngine(p, rate, half, half);
  EXPECT_NEAR(out.left[4000], 0.5 * ceiling, 1e-6);
}

TEST(AmpEngineModels, CabinetChangesCrossfadeWithoutClicks)
{
  const std::vector<float> in = Sine(48000, 48000.0, 110.0, 0.4);
  std::vector<float> p = DefaultParams();
  p[kParamGateEnabled] = 0.0f;
  p[kParamMonitor] = 5.0f; // the cabinet tap
  p[kParamCabRoom] = 60.0f;
  p[kParamCabType] = 2.0f;
  const std::vector<float> before = RunEngine(p, 48000.0, in, in).left;
  p[kParamCabType] = 7.0f;
  const std::vector<float> after = RunEngine(p, 48000.0, in, in).left;
  const double steady = std::max(MaxStep(before, 4000, in.size()), MaxStep(after, 4000, in.size()));
  int family = -1;
  const std::vector<float> out = RunChanging(
    p, in, 64, [](std::vector<float>& params, int start) { params[kParamCabType] = start >= 24000 ? 7.0f : 2.0f; },
    [&](const AmpEngine& e, int) { family = e.ActiveCabinetFamily(); });
  EXPECT_EQ(family, 7);
  EXPECT_LT(MaxStep(out, 23000, 30000), steady * 1.25);
  EXPECT_LT(MaxDifference(std::vector<float>(out.begin() + 40000, out.end()),
                          std::vector<float>(after.begin() + 40000, after.end())),
            0.05);
}

TEST(AmpEngineSnapshot, BlockReadingsArePublished)
{
  const std::vector<float> in = Sine(9600, 48000.0, 220.0, 0.5);
  const std::vector<float> aux = Sine(9600, 48000.0, 110.0, 0.25);
  std::vector<float> p = DefaultParams();
  p[kParamGateDetector] = 1.0f;
  LevelSnapshot level;
  DisplaySnapshot display;
  double inputPeak = 0.0;
  RunChanging(p, in, 512, NoChange,
              [&](const AmpEngine& e, int) {
                level = e.ReadLevelSnapshot();
                display = e.ReadDisplaySnapshot();
                inputPeak = e.InputPeak();
              },
              &aux);
  EXPECT_FLOAT_EQ(level.inputPeak, static_cast<float>(inputPeak));
  EXPECT_GT(level.inputPeak, 0.45f);
  EXPECT_GT(level.outputPeak, 0.0f);
  EXPECT_EQ(level.outputPeak, std::max(level.outputLeftPeak, level.outputRightPeak));
  EXPECT_TRUE(level.auxConnected);
  EXPECT_TRUE(level.auxInUse);
  EXPECT_TRUE(display.signalPresent);
  EXPECT_EQ(display.sampleRate, 48000.0);
  EXPECT_EQ(display.Meter(kMeterGateGainDb), 0.0f);
  EXPECT_GT(display.Meter(kMeterGateDetectorDb), -20.0f);
  EXPECT_LT(display.Meter(kMeterAmpSagDb), 0.0f);
  EXPECT_GT(display.Meter(kMeterInputRmsDb), -10.0f);

  // Without a connected pair neither flag is set.
  RunChanging(p, in, 512, NoChange, [&](const AmpEngine& e, int) { level = e.ReadLevelSnapshot(); });
  EXPECT_FALSE(level.auxConnected);
  EXPECT_FALSE(level.auxInUse);
}

TEST(AmpEngineSmoothing, ContinuousValuesGlideWithTwentyMillisecondsAndChoicesFadeInFive)
{
  const std::vector<float> in(9600, 0.5f);
  std::vector<float> p = DefaultParams();
  p[kParamMix] = 0.0f; // the output is the dry signal times the output trim
  const std::vector<float> out = RunChanging(
    p, in, 480, [](std::vector<float>& params, int start) { params[kParamOutput] = start >= 4800 ? -20.0f : 0.0f; },
    [](const AmpEngine&, int) {});
  EXPECT_EQ(out[4799], 0.5f);
  // 20 ms after the jump the trim has gone 63 % of the way (the gains follow every 16
  // samples, hence the tolerance).
  const double at20ms = 20.0 * std::log10(out[4800 + 960] / 0.5);
  EXPECT_NEAR(at20ms, -20.0 * (1.0 - std::exp(-1.0)), 0.3);
  EXPECT_NEAR(20.0 * std::log10(out[9599] / 0.5), -20.0 * (1.0 - std::exp(-5.0)), 0.05);

  // A choice (the monitor source, from "Dry" to a silent "External") fades over 5 ms.
  p = DefaultParams();
  p[kParamMonitor] = 1.0f;
  const std::vector<float> faded = RunChanging(
    p, in, 480, [](std::vector<float>& params, int start) { params[kParamMonitor] = start >= 4800 ? 6.0f : 1.0f; },
    [](const AmpEngine&, int) {});
  EXPECT_EQ(faded[4799], 0.5f);
  EXPECT_NEAR(faded[4800 + 240], 0.5 * std::exp(-1.0), 0.01);
  EXPECT_LT(faded[4800 + 2400], 1e-4f);
}

// Lengths of the runs of oversampled samples the tests below pass in turn: one frame, the
// longest run and lengths between.
const size_t kRunLengths[] = {4, kOversampledRun, 12, 36, 8};

// The engine runs the oversampled samples of up to 16 frames of both channels through each
// drive stage together; that must give exactly what one channel, one sample at a time, gives.
TEST(AmpEngineModels, RunsMatchSampleBySample)
{
  const double rate = 192000.0;
  const std::vector<float> left = PluckedString(4000, rate, 110.0, 0.9);
  const std::vector<float> right = PluckedString(4000, rate, 164.8, 0.6);
  std::vector<float> params(ParamSpecTable::kDefaults, ParamSpecTable::kDefaults + kNumParams);
  params[kParamPedalSag] = 70.0f; // the sag envelope shapes "Starved Fuzz" per sample
  params[kParamPedalBias] = 30.0f;
  params[kParamPedalDrive] = 80.0f;
  params[kParamAmpSag] = 60.0f;
  params[kParamAmpBias] = 40.0f;

  for (int family = 0; family < kPedalFamilyCount; ++family)
  {
    PedalStageState single[2], run[2];
    DesignPedal(single[0].design, params.data(), rate, family);
    single[1] = single[0];
    run[0] = single[0];
    run[1] = single[0];
    PedalStageState* const states[2] = {&run[0], &run[1]};
    size_t runs = 0;
    for (size_t n = 0, count = 4; n + count <= left.size(); n += count, count = kRunLengths[++runs % 5])
    {
      double in[kOversampledRun][2], out[kOversampledRun][2];
      for (size_t i = 0; i < count; ++i)
      {
        in[i][0] = left[n + i];
        in[i][1] = right[n + i];
      }
      PedalStages<2, kOversampledRun>(states, in, out, static_cast<int>(count));
      for (size_t i = 0; i < count; ++i)
        for (int ch = 0; ch < 2; ++ch)
          ASSERT_EQ(out[i][ch], PedalStage(single[ch], in[i][ch])) << "pedal " << family << " at " << n + i;
    }
  }

  for (int family = 0; family < kAmpFamilyCount; ++family)
  {
    for (int power = 0; power < kPowerTypeCount; ++power)
    {
      params[kParamPowerType] = static_cast<float>(power);
      AmpDesign design;
      DesignAmp(design, params.data(), rate, family);
      AmpStageState single[2], run[2];
      for (int ch = 0; ch < 2; ++ch)
      {
        ApplyAmpDesign(single[ch], design);
        ApplyAmpDesign(run[ch], design);
      }
      // A power-type change mid-way exercises the per-sample weight steps.
      params[kParamPowerType] = static_cast<float>((power + 1) % kPowerTypeCount);
      DesignAmp(design, params.data(), rate, family);
      AmpStageState* const states[2] = {&run[0], &run[1]};
      size_t runs = 0;
      bool redesigned = false;
      for (size_t n = 0, count = 4; n + count <= left.size(); n += count, count = kRunLengths[++runs % 5])
      {
        if (n >= 2000 && !redesigned)
        {
          redesigned = true;
          for (int ch = 0; ch < 2; ++ch)
          {
            ApplyAmpDesign(single[ch], design);
            ApplyAmpDesign(run[ch], design);
          }
        }
        double in[kOversampledRun][2];
        AmpOutput out[kOversampledRun][2];
        for (size_t i = 0; i < count; ++i)
        {
          in[i][0] = left[n + i];
          in[i][1] = right[n + i];
        }
        AmpStages<2, kOversampledRun>(states, in, out, static_cast<int>(count));
        for (size_t i = 0; i < count; ++i)
        {
          for (int ch = 0; ch < 2; ++ch)
          {
            const AmpOutput expected = AmpStage(single[ch], in[i][ch]);
            ASSERT_EQ(out[i][ch].preamp, expected.preamp) << "amp " << family << " power " << power << " at " << n + i;
            ASSERT_EQ(out[i][ch].power, expected.power) << "amp " << family << " power " << power << " at " << n + i;
          }
        }
      }
    }
  }
}

// A NaN in one channel resets that channel's blown-up tone sections and leaves the other
// channel alone, in a run exactly as sample by sample.
TEST(AmpEngineModels, RunsMatchSampleBySampleAfterANaN)
{
  const double rate = 192000.0;
  const std::vector<float> right = PluckedString(800, rate, 164.8, 0.6);
  std::vector<float> params(ParamSpecTable::kDefaults, ParamSpecTable::kDefaults + kNumParams);
  AmpDesign design;
  DesignAmp(design, params.data(), rate, 4);
  AmpStageState single[2], run[2];
  for (int ch = 0; ch < 2; ++ch)
  {
    ApplyAmpDesign(single[ch], design);
    ApplyAmpDesign(run[ch], design);
  }
  AmpStageState* const states[2] = {&run[0], &run[1]};
  auto same = [](double a, double b) { return (std::isnan(a) && std::isnan(b)) || a == b; };
  size_t runs = 0;
  for (size_t n = 0, count = 4; n + count <= right.size(); n += count, count = kRunLengths[++runs % 5])
  {
    double in[kOversampledRun][2];
    AmpOutput out[kOversampledRun][2];
    for (size_t i = 0; i < count; ++i)
    {
      in[i][0] = n + i == 401 ? std::nan("") : 0.3;
      in[i][1] = right[n + i];
    }
    AmpStages<2, kOversampledRun>(states, in, out, static_cast<int>(count));
    for (size_t i = 0; i < count; ++i)
    {
      for (int ch = 0; ch < 2; ++ch)
      {
        const AmpOutput expected = AmpStage(single[ch], in[i][ch]);
        ASSERT_TRUE(same(out[i][ch].preamp, expected.preamp)) << "channel " << ch << " at " << n + i;
        ASSERT_TRUE(same(out[i][ch].power, expected.power)) << "channel " << ch << " at " << n + i;
      }
    }
  }
  EXPECT_TRUE(std::isfinite(run[1].tone.sections[0].s1));
}
