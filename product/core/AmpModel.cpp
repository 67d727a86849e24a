#include "product/core/AmpModel.h"

#include "product/core/BiquadPair.h"
#include "product/core/DspHelpers.h"
#include "product/core/ParamIds.h"
#include "product/core/TanhBatch.h"
#include "product/core/TanhCurve.h"

#include <cmath>
#include <type_traits>

const AmpFamily kAmpFamilyTable[kAmpFamilyCount] = {
  {2, 1.7, 35.0, 18000.0, 0.12, 0.72},  // Americana Clean
  {2, 2.7, 70.0, 15000.0, 0.05, 0.62},  // British Chime
  {2, 3.7, 45.0, 12000.0, 0.23, 0.58},  // Tweed Edge
  {3, 4.8, 85.0, 14000.0, 0.14, 0.55},  // British Crunch
  {3, 7.8, 100.0, 13500.0, 0.10, 0.50}, // Classic Stack
  {4, 9.0, 115.0, 14000.0, 0.16, 0.48}, // Hot Rod
  {4, 11.0, 65.0, 11000.0, 0.24, 0.46}, // Brown Lead
  {5, 13.0, 120.0, 12500.0, 0.07, 0.43}, // Modern High Gain
  {5, 15.0, 170.0, 13500.0, 0.03, 0.42}, // Tight Metal
  {4, 10.0, 35.0, 8500.0, 0.26, 0.50},  // Doom Stack
  {1, 2.8, 25.0, 20000.0, 0.00, 0.70},  // Studio Solid State
  {2, 3.1, 25.0, 10000.0, 0.21, 0.70},  // Bass Tube
};

namespace {

const AmpFamily& FamilyRow(int family)
{
  if (family < 0)
    family = 0;
  if (family >= kAmpFamilyCount)
    family = kAmpFamilyCount - 1;
  return kAmpFamilyTable[family];
}

double Clamp(double v, double lo, double hi)
{
  return v < lo ? lo : (v > hi ? hi : v);
}

} // namespace

void AmpStageState::ClearStates()
{
  for (int k = 0; k < kMaxPreampStages; ++k)
  {
    couplingState[k] = 0.0;
    stageLowPassState[k] = 0.0;
  }
  tightState = 0.0;
  brightState = 0.0;
  tone.ClearState();
  sagEnvelope = 0.0;
  powerEnvelope = 0.0;
  sagGain = 1.0;
  powerGain = 1.0;
  // The weights are set again from the power type by the next design.
  powerWeightsSet = false;
  powerWeightsSettledOn = -1;
}

double AmpStageState::SagReductionDb() const
{
  return LevelDb(std::fabs(sagGain));
}

double AmpStageState::PowerReductionDb() const
{
  return LevelDb(std::fabs(powerGain));
}

void DesignAmp(AmpDesign& design, const float* params, double rate, int family)
{
  const AmpFamily& row = FamilyRow(family);
  design.family = family;
  design.powerType = static_cast<int32_t>(params[kParamPowerType]);
  if (design.poleRate != rate || design.poleFamily != family || design.tightHz != params[kParamAmpTight])
  {
    design.tightPole = OnePolePole(params[kParamAmpTight], rate);
    design.tightHz = params[kParamAmpTight];
  }
  if (design.poleRate != rate || design.poleFamily != family)
  {
    for (int k = 0; k < kMaxPreampStages; ++k)
    {
      design.couplingPole[k] = OnePolePole((0.22 * k + 1.0) * row.couplingHz, rate);
      design.stageLowPassPole[k] = OnePolePole(row.lowPassHz / (0.09 * k + 1.0), rate);
    }
    design.brightPole = OnePolePole(row.lowPassHz, rate);
    design.powerTypeCoef = 1.0 - std::exp(-1.0 / (0.005 * rate));
    design.sagAttackPole = std::exp(-1.0 / (0.008 * rate));
    design.sagReleasePole = std::exp(-1.0 / (0.22 * rate));
    design.powerAttackPole = std::exp(-1.0 / (0.015 * rate));
    design.powerReleasePole = std::exp(-1.0 / (0.3 * rate));
    design.poleRate = rate;
    design.poleFamily = family;
  }

  const double B = (params[kParamAmpBass] - 50.0) * 0.24;
  const double M = (params[kParamAmpMid] - 50.0) * 0.2;
  const double T = (params[kParamAmpTreble] - 50.0) * 0.24;
  const auto tone = [&](int k, BiquadType type, double frequency, double q, double gainDb) {
    DesignBiquad(design.tone[k], design.toneInputs[k], type, frequency, q, gainDb, rate);
  };
  tone(0, BiquadType::LowShelf, family == 11 ? 100.0 : 180.0, 0.7, B - 0.07 * M);
  const double peakHz = family == 1 ? 1150.0 : (family == 11 ? 500.0 : 760.0);
  tone(1, BiquadType::Peak, peakHz, 0.75, M - 0.08 * (T + B));
  tone(2, BiquadType::HighShelf, 3000.0, 0.7, T - 0.06 * M);
  tone(3, BiquadType::HighShelf, 4200.0, 0.7, (params[kParamAmpPresence] - 50.0) * 0.16);
  tone(4, BiquadType::LowShelf, 90.0, 0.7, (params[kParamAmpDepth] - 50.0) * 0.16);


  design.preGain = std::pow(10.0, (params[kParamAmpGain] - 45.0) * 0.025) * row.gain;
  design.master = params[kParamAmpMaster] * 0.01 * 1.5;
  design.powerDrive = params[kParamPowerDrive] * 6.0 * 0.01 + 1.0;
  design.bias = params[kParamAmpBias] * 0.003;
  design.sagAmount = params[kParamAmpSag] * 0.01;
  design.brightAmount = params[kParamAmpBright] * 0.01;


  for (int k = 0; k < kMaxPreampStages; ++k)
  {
    design.stageGain[k] = k == 0 ? 1.0 : 0.18 * k + 1.15;
    design.stageOffset[k] = ((k % 2 != 0) ? -0.45 : 1.0) * row.stageBias + design.bias;
    design.stageOffsetTanh[k] = Tanh(design.stageOffset[k]);
  }
  design.singleEndedOffset = design.bias + 0.14;
  design.singleEndedOffsetTanh = Tanh(design.singleEndedOffset);
  design.biasTanh = Tanh(design.bias);
}

void ApplyAmpDesign(AmpStageState& state, const AmpDesign& design)
{
  state.design = design;
  for (int i = 0; i < BiquadBank5::kSections; ++i)
    state.tone.sections[i].CopyCoefficients(design.tone[i]);
  if (!state.powerWeightsSet)
  {
    for (int k = 0; k < kPowerTypeCount; ++k)
      state.powerWeights[k] = (k == design.powerType) ? 1.0 : 0.0;
    state.powerWeightsSet = true;
    state.powerWeightsSettledOn = design.powerType;
  }
}

namespace {

double PowerShape(int type, double z, const AmpDesign& d)
{
  switch (type)
  {
  case 0:
    return Tanh(0.16 * z * z / (z * z + 1.0) + d.singleEndedOffset + z) - d.singleEndedOffsetTanh;
  case 1:
  {
    const double even = 0.16 * z * z / (z * z + 1.0) + d.bias;
    const double up = Tanh(even + z) - d.biasTanh;
    const double down = Tanh(even - z) - d.biasTanh;
    return (up - down) * 0.5;
  }
  case 2:
  {
    const double t = 2.5 * z;
    return 0.12 * t / std::sqrt(t * t + 1.0) + Tanh(0.85 * z);
  }
  default:
    return Clamp(z, -1.0, 1.0);
  }
}

#if defined(__SSE2__)
// PowerShape of types 0 to 2 for both channels at once, bit for bit what PowerShape gives
// for each (the same operations in the same order; division and square root are exactly
// rounded in both forms).
__m128d PowerShapePair(int type, __m128d z, const AmpDesign& d)
{
  const __m128d one = _mm_set1_pd(1.0);
  switch (type)
  {
  case 0:
  {
    const __m128d even = _mm_div_pd(_mm_mul_pd(_mm_mul_pd(_mm_set1_pd(0.16), z), z), _mm_add_pd(_mm_mul_pd(z, z), one));
    const __m128d w = _mm_add_pd(_mm_add_pd(even, _mm_set1_pd(d.singleEndedOffset)), z);
    return _mm_sub_pd(TanhPair(w), _mm_set1_pd(d.singleEndedOffsetTanh));
  }
  case 1:
  {
    const __m128d even = _mm_add_pd(
      _mm_div_pd(_mm_mul_pd(_mm_mul_pd(_mm_set1_pd(0.16), z), z), _mm_add_pd(_mm_mul_pd(z, z), one)), _mm_set1_pd(d.bias));
    const __m128d biasTanh = _mm_set1_pd(d.biasTanh);
    const __m128d up = _mm_sub_pd(TanhPair(_mm_add_pd(even, z)), biasTanh);
    const __m128d down = _mm_sub_pd(TanhPair(_mm_sub_pd(even, z)), biasTanh);
    return _mm_mul_pd(_mm_sub_pd(up, down), _mm_set1_pd(0.5));
  }
  default:
  {
    const __m128d t = _mm_mul_pd(_mm_set1_pd(2.5), z);
    const __m128d soft = _mm_div_pd(_mm_mul_pd(_mm_set1_pd(0.12), t), _mm_sqrt_pd(_mm_add_pd(_mm_mul_pd(t, t), one)));
    return _mm_add_pd(soft, TanhPair(_mm_mul_pd(_mm_set1_pd(0.85), z)));
  }
  }
}

// PowerShapePair over `count` samples of both channels, with the tanh of all arguments of a
// curve in one batch: the same operations per value.
void PowerShapeBatch(int type, const double (*z)[2], int count, const AmpDesign& d, double (*shaped)[2])
{
  const __m128d one = _mm_set1_pd(1.0);
  double args[kOversampledRun][2], second[kOversampledRun][2], tanhs[kOversampledRun][2],
    seconds[kOversampledRun][2];
  for (int i = 0; i < count; ++i)
  {
    const __m128d v = _mm_loadu_pd(z[i]);
    const __m128d even = _mm_div_pd(_mm_mul_pd(_mm_mul_pd(_mm_set1_pd(0.16), v), v), _mm_add_pd(_mm_mul_pd(v, v), one));
    if (type == 0)
      _mm_storeu_pd(args[i], _mm_add_pd(_mm_add_pd(even, _mm_set1_pd(d.singleEndedOffset)), v));
    else if (type == 1)
    {
      const __m128d biased = _mm_add_pd(even, _mm_set1_pd(d.bias));
      _mm_storeu_pd(args[i], _mm_add_pd(biased, v));
      _mm_storeu_pd(second[i], _mm_sub_pd(biased, v));
    }
    else
      _mm_storeu_pd(args[i], _mm_mul_pd(_mm_set1_pd(0.85), v));
  }
  const double offset = type == 0 ? d.singleEndedOffsetTanh : (type == 1 ? d.biasTanh : 0.0);
  TanhMinusBatch(&args[0][0], 2 * count, offset, &tanhs[0][0]);
  if (type == 1)
    TanhMinusBatch(&second[0][0], 2 * count, offset, &seconds[0][0]);
  for (int i = 0; i < count; ++i)
  {
    __m128d out = _mm_loadu_pd(tanhs[i]);
    if (type == 1)
      out = _mm_mul_pd(_mm_sub_pd(out, _mm_loadu_pd(seconds[i])), _mm_set1_pd(0.5));
    else if (type == 2)
    {
      const __m128d t = _mm_mul_pd(_mm_set1_pd(2.5), _mm_loadu_pd(z[i]));
      const __m128d soft = _mm_div_pd(_mm_mul_pd(_mm_set1_pd(0.12), t), _mm_sqrt_pd(_mm_add_pd(_mm_mul_pd(t, t), one)));
      out = _mm_add_pd(soft, out);
    }
    _mm_storeu_pd(shaped[i], out);
  }
}

// The amplifier's chain up to the power curves for `count` samples of both channels, each
// register holding the left and the right value: the input filters and the sag, the preamp
// stages, the tone network and the power stage's envelope. It gives `o` (the tone network's
// output) and `z` (the power curves' argument). Within one chain a sample depends on the one
// before only through the chain's own filter state, so the loops run the chains of
// neighbouring steps side by side (a stage's low-pass with the next stage's coupling, the
// last low-pass with every tone section and the envelope) and their latencies overlap. Per
// lane the operations are those of the single-channel path, in the same order; the
// reset of a blown-up tone section and the flush of tiny states included.
void PairedDrive(AmpStageState* const states[2], const double (*x)[2], int count, const AmpDesign& d, int stages,
                 double (*o)[2], double (*z)[2])
{
  const __m128d one = _mm_set1_pd(1.0);
  const __m128d signBit = _mm_set1_pd(-0.0);
  AmpStageState& left = *states[0];
  AmpStageState& right = *states[1];

  // Stage k's coupled and scaled input for one sample, from which the tanh batch forms the
  // curve's argument (for the solid-state family the curve itself, which needs no tanh).
  __m128d coupling[kMaxPreampStages];
  for (int k = 0; k < stages; ++k)
    coupling[k] = LoadLanes(left.couplingState[k], right.couplingState[k]);
  const bool solidState = d.family == 10;
  const auto argument = [&](int k, __m128d in) {
    const __m128d u = OnePoleStepPair(coupling[k], in, d.couplingPole[k]);
    if (solidState)
    {
      const __m128d a = _mm_mul_pd(_mm_set1_pd(0.8), _mm_sub_pd(in, u));
      return _mm_div_pd(a, _mm_sqrt_pd(_mm_add_pd(_mm_mul_pd(a, a), one)));
    }
    return _mm_mul_pd(_mm_sub_pd(in, u), _mm_set1_pd(d.stageGain[k]));
  };
  const auto shape = [&](int k, const double(*w)[2], double(*v)[2]) {
    LiftedTanhMinusBatch(&w[0][0], 2 * count, 0.16, d.stageOffset[k], d.stageOffsetTanh[k], &v[0][0]);
  };

  // The input filters and the sag, with the first stage's argument.
  double w[kOversampledRun][2];
  {
    __m128d envelope = LoadLanes(left.sagEnvelope, right.sagEnvelope);
    __m128d tight = LoadLanes(left.tightState, right.tightState);
    __m128d bright = LoadLanes(left.brightState, right.brightState);
    __m128d s = LoadLanes(left.sagGain, right.sagGain);
    for (int i = 0; i < count; ++i)
    {
      const __m128d in = _mm_loadu_pd(x[i]);
      s = EnvelopeGainPair(envelope, _mm_andnot_pd(signBit, in), d.sagAttackPole, d.sagReleasePole, d.sagAmount, 2.5);
      const __m128d h = _mm_sub_pd(in, OnePoleStepPair(tight, in, d.tightPole));
      const __m128d l = OnePoleStepPair(bright, h, d.brightPole);
      const __m128d lifted =
        _mm_add_pd(h, _mm_mul_pd(_mm_mul_pd(_mm_sub_pd(h, l), _mm_set1_pd(d.brightAmount)), _mm_set1_pd(0.8)));
      _mm_storeu_pd(w[i], argument(0, _mm_mul_pd(_mm_mul_pd(lifted, s), _mm_set1_pd(d.preGain))));
    }
    StoreLanes(envelope, left.sagEnvelope, right.sagEnvelope);
    StoreLanes(tight, left.tightState, right.tightState);
    StoreLanes(bright, left.brightState, right.brightState);
    StoreLanes(s, left.sagGain, right.sagGain);
  }

  // Each stage: tanh of all its arguments in one batch, then its low-pass together with the
  // next stage's argument.
  double v[kOversampledRun][2];
  for (int k = 0; k + 1 < stages; ++k)
  {
    if (!solidState)
      shape(k, w, v);
    const double(*curve)[2] = solidState ? w : v;
    __m128d lowPass = LoadLanes(left.stageLowPassState[k], right.stageLowPassState[k]);
    for (int i = 0; i < count; ++i)
      _mm_storeu_pd(w[i], argument(k + 1, OnePoleStepPair(lowPass, _mm_loadu_pd(curve[i]), d.stageLowPassPole[k])));
    StoreLanes(lowPass, left.stageLowPassState[k], right.stageLowPassState[k]);
  }
  for (int k = 0; k < stages; ++k)
    StoreLanes(coupling[k], left.couplingState[k], right.couplingState[k]);

  // The last stage's low-pass, the tone network section after section and the power
  // stage's envelope, sample by sample.
  const int last = stages - 1;
  if (!solidState)
    shape(last, w, v);
  const double(*curve)[2] = solidState ? w : v;
  // A tone section that blows up (a non-finite value) starts again from silence; a run first
  // goes without looking and again with the checks when a state ends it non-finite (see
  // BiquadPair).
  const auto tone = [&](auto checked) {
    __m128d lowPass = LoadLanes(left.stageLowPassState[last], right.stageLowPassState[last]);
    BiquadPair sections[] = {
      {left.tone.sections[0], right.tone.sections[0]}, {left.tone.sections[1], right.tone.sections[1]},
      {left.tone.sections[2], right.tone.sections[2]}, {left.tone.sections[3], right.tone.sections[3]},
      {left.tone.sections[4], right.tone.sections[4]},
    };
    __m128d powerEnvelope = LoadLanes(left.powerEnvelope, right.powerEnvelope);
    __m128d powerGain = LoadLanes(left.powerGain, right.powerGain);
    const __m128d drive = _mm_set1_pd(d.powerDrive * d.master);
    for (int i = 0; i < count; ++i)
    {
      __m128d value = OnePoleStepPair(lowPass, _mm_loadu_pd(curve[i]), d.stageLowPassPole[last]);
      for (BiquadPair& section : sections)
        value = section.template Process<decltype(checked)::value>(value);
      _mm_storeu_pd(o[i], value);
      const __m128d driven = _mm_mul_pd(drive, value);
      powerGain = EnvelopeGainPair(powerEnvelope, _mm_andnot_pd(signBit, driven), d.powerAttackPole, d.powerReleasePole,
                                   d.sagAmount, 0.5);
      _mm_storeu_pd(z[i], _mm_mul_pd(powerGain, driven));
    }
    if (!decltype(checked)::value && !BiquadPair::StatesFinite(sections, BiquadBank5::kSections))
      return false;
    StoreLanes(lowPass, left.stageLowPassState[last], right.stageLowPassState[last]);
    for (const BiquadPair& section : sections)
      section.Store();
    StoreLanes(powerEnvelope, left.powerEnvelope, right.powerEnvelope);
    StoreLanes(powerGain, left.powerGain, right.powerGain);
    return true;
  };
  if (!tone(std::false_type{}))
    tone(std::true_type{});
}
#endif

} // namespace

// Each step runs for every sample and channel of the run before the next step starts. The
// chains of the two channels are independent, and within one step a later sample depends on
// an earlier one only through a one-pole state, so the long-latency divisions and tanh calls
// of many samples overlap. Per channel and sample the operations are exactly those of a
// single chain, in the same order.
template <int N, int L>
void AmpStages(AmpStageState* const states[N], const double x[L][N], AmpOutput out[L][N], int count)
{
  const AmpDesign& d = states[0]->design;
  const AmpFamily& row = FamilyRow(d.family);
  const int stages = static_cast<int>(row.stages);
  double o[L][N] = {};
  double z[L][N];
#if defined(__SSE2__)
  if constexpr (N == 2)
    PairedDrive(states, x, count, d, stages, o, z);
  else
#endif
  {
    for (int i = 0; i < count; ++i)
    {
      for (int ch = 0; ch < N; ++ch)
      {
        AmpStageState& state = *states[ch];
        const double magnitude = std::fabs(x[i][ch]);
        const double sagPole = magnitude > state.sagEnvelope ? d.sagAttackPole : d.sagReleasePole;
        state.sagEnvelope = FlushTiny((1.0 - sagPole) * magnitude + sagPole * state.sagEnvelope);
        const double s = 1.0 / (state.sagEnvelope * d.sagAmount * 2.5 + 1.0);
        state.sagGain = s;

        const double h = x[i][ch] - OnePoleStep(state.tightState, x[i][ch], d.tightPole);
        const double l = OnePoleStep(state.brightState, h, d.brightPole);
        o[i][ch] = (h + (h - l) * d.brightAmount * 0.8) * s * d.preGain;
      }
    }

    for (int k = 0; k < stages; ++k)
    {
      double v[L][N];
      for (int i = 0; i < count; ++i)
      {
        for (int ch = 0; ch < N; ++ch)
        {
          const double u = OnePoleStep(states[ch]->couplingState[k], o[i][ch], d.couplingPole[k]);
          if (d.family == 10)
          {
            const double a = 0.8 * (o[i][ch] - u);
            v[i][ch] = a / std::sqrt(a * a + 1.0);
          }
          else
          {
            double w = (o[i][ch] - u) * d.stageGain[k];
            w = 0.16 * w * w / (w * w + 1.0) + w + d.stageOffset[k];
            v[i][ch] = Tanh(w) - d.stageOffsetTanh[k];
          }
        }
      }
      for (int i = 0; i < count; ++i)
        for (int ch = 0; ch < N; ++ch)
          o[i][ch] = OnePoleStep(states[ch]->stageLowPassState[k], v[i][ch], d.stageLowPassPole[k]);
    }

    for (int i = 0; i < count; ++i)
    {
      for (int ch = 0; ch < N; ++ch)
      {
        AmpStageState& state = *states[ch];
        o[i][ch] = state.tone.Process(o[i][ch]);
        const double v = d.powerDrive * d.master * o[i][ch];
        const double powerMagnitude = std::fabs(v);
        const double powerPole = powerMagnitude > state.powerEnvelope ? d.powerAttackPole : d.powerReleasePole;
        state.powerEnvelope = FlushTiny((1.0 - powerPole) * powerMagnitude + powerPole * state.powerEnvelope);
        const double r = 1.0 / (state.powerEnvelope * d.sagAmount * 0.5 + 1.0);
        state.powerGain = r;
        z[i][ch] = r * v;
      }
    }
  }

  bool settled = true;
  for (int ch = 0; ch < N; ++ch)
    settled = settled && states[ch]->powerWeightsSettledOn == d.powerType;
  if (settled)
  {
    // Only the current type's curve has a weight: the sum below is exactly 0 + 1 x its value.
#if defined(__SSE2__)
    if constexpr (N == 2)
    {
      if (d.powerType < 3)
      {
        double shaped[L][2];
        PowerShapeBatch(d.powerType, z, count, d, shaped);
        for (int i = 0; i < count; ++i)
          for (int ch = 0; ch < N; ++ch)
            out[i][ch] = {o[i][ch] * row.powerFactor, (0.0 + 1.0 * shaped[i][ch]) * row.powerFactor * 0.8};
        return;
      }
    }
#endif
    for (int i = 0; i < count; ++i)
    {
      double shaped[N];
#if defined(__SSE2__)
      if constexpr (N == 2)
      {
        if (d.powerType < 3)
          _mm_storeu_pd(shaped, PowerShapePair(d.powerType, _mm_loadu_pd(z[i]), d));
        else
          for (int ch = 0; ch < N; ++ch)
            shaped[ch] = PowerShape(d.powerType, z[i][ch], d);
      }
      else
#endif
      {
        for (int ch = 0; ch < N; ++ch)
          shaped[ch] = PowerShape(d.powerType, z[i][ch], d);
      }
      for (int ch = 0; ch < N; ++ch)
        out[i][ch] = {o[i][ch] * row.powerFactor, (0.0 + 1.0 * shaped[ch]) * row.powerFactor * 0.8};
    }
    return;
  }
  // Once the weights have landed on the current type, the next runs take the path above.
  const auto noteSettled = [&] {
    for (int ch = 0; ch < N; ++ch)
    {
      bool landed = true;
      for (int k = 0; k < kPowerTypeCount; ++k)
        landed = landed && states[ch]->powerWeights[k] == ((k == d.powerType) ? 1.0 : 0.0);
      if (landed)
        states[ch]->powerWeightsSettledOn = d.powerType;
    }
  };

#if defined(__SSE2__)
  // Two channels: the curves with tanh or a division run on both at once; each channel still
  // adds only the curves its own weights select, in the same order.
  if constexpr (N == 2)
  {
    for (int i = 0; i < count; ++i)
    {
      double sum[2] = {0.0, 0.0};
      for (int k = 0; k < kPowerTypeCount; ++k)
      {
        const double target = (k == d.powerType) ? 1.0 : 0.0;
        bool used[2];
        for (int ch = 0; ch < 2; ++ch)
        {
          double& weight = states[ch]->powerWeights[k];
          weight += (target - weight) * d.powerTypeCoef;
          if (std::fabs(target - weight) < 1e-9)
            weight = target;
          used[ch] = weight != 0.0;
        }
        if (!used[0] && !used[1])
          continue;
        double shaped[2];
        if (k < 3)
          _mm_storeu_pd(shaped, PowerShapePair(k, _mm_loadu_pd(z[i]), d));
        else
          for (int ch = 0; ch < 2; ++ch)
            shaped[ch] = PowerShape(k, z[i][ch], d);
        for (int ch = 0; ch < 2; ++ch)
          if (used[ch])
            sum[ch] += states[ch]->powerWeights[k] * shaped[ch];
      }
      for (int ch = 0; ch < 2; ++ch)
        out[i][ch] = {o[i][ch] * row.powerFactor, sum[ch] * row.powerFactor * 0.8};
    }
    noteSettled();
    return;
  }
#endif
  for (int i = 0; i < count; ++i)
  {
    for (int ch = 0; ch < N; ++ch)
    {
      AmpStageState& state = *states[ch];
      double sum = 0.0;
      for (int k = 0; k < kPowerTypeCount; ++k)
      {
        double& weight = state.powerWeights[k];
        const double target = (k == d.powerType) ? 1.0 : 0.0;
        weight += (target - weight) * d.powerTypeCoef;
        if (std::fabs(target - weight) < 1e-9)
          weight = target;
        if (weight != 0.0)
          sum += weight * PowerShape(k, z[i][ch], d);
      }
      out[i][ch] = {o[i][ch] * row.powerFactor, sum * row.powerFactor * 0.8};
    }
  }
  noteSettled();
}

template void AmpStages<1, 1>(AmpStageState* const states[1], const double x[1][1], AmpOutput out[1][1], int count);
template void AmpStages<2, kOversampledRun>(AmpStageState* const states[2], const double x[kOversampledRun][2],
                                            AmpOutput out[kOversampledRun][2], int count);
