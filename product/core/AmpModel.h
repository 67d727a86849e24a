#pragma once

#include "product/core/Biquad.h"

#include <cstdint>

// The amplifier: a preamp of one to five stages, a five-filter tone network and a power
// stage of four types. Runs at 4x the base rate, one state per channel and slot.

constexpr int kAmpFamilyCount = 12;
constexpr int kPowerTypeCount = 4;
constexpr int kMaxPreampStages = 5;

struct AmpFamily
{
  int64_t stages;
  double gain;
  double couplingHz;
  double lowPassHz;
  double stageBias;
  double powerFactor;
};

extern const AmpFamily kAmpFamilyTable[kAmpFamilyCount];

// Everything a coefficient update sets; identical for both channels of a slot.
struct AmpDesign
{
  int32_t family = 0;
  int32_t powerType = 1;
  double tightPole = 0.0;
  float tightHz = -1.0f; // what tightPole was computed from
  double brightPole = 0.0;
  double couplingPole[kMaxPreampStages] = {};
  double stageLowPassPole[kMaxPreampStages] = {};
  Biquad tone[BiquadBank5::kSections]; // coefficients only; the running sections live in the state
  BiquadDesignInputs toneInputs[BiquadBank5::kSections];
  double sagAttackPole = 0.0;
  double sagReleasePole = 0.0;
  double powerAttackPole = 0.0;
  double powerReleasePole = 0.0;
  double powerTypeCoef = 0.0;
  double preGain = 1.0;
  double master = 1.0;
  double powerDrive = 1.0;
  double bias = 0.0;
  double sagAmount = 0.0;
  double brightAmount = 0.0;
  // Constant terms of the curves, fixed by the design rather than recomputed per sample.
  double stageGain[kMaxPreampStages] = {};
  double stageOffset[kMaxPreampStages] = {};
  double stageOffsetTanh[kMaxPreampStages] = {};
  double singleEndedOffset = 0.0;
  double singleEndedOffsetTanh = 0.0;
  double biasTanh = 0.0;
  // The rate and family that the poles fixed by them were last computed for; a design
  // that starts from the previous one keeps those poles while neither changes.
  double poleRate = 0.0;
  int32_t poleFamily = -1;
};

struct AmpStageState
{
  AmpDesign design;
  double couplingState[kMaxPreampStages] = {};
  double stageLowPassState[kMaxPreampStages] = {};
  double tightState = 0.0;
  double brightState = 0.0;
  BiquadBank5 tone;
  double sagEnvelope = 0.0;
  double powerEnvelope = 0.0;
  // Linear gains of the two sag stages; their dB readings are taken only when published.
  double sagGain = 1.0;
  double powerGain = 1.0;
  double powerWeights[kPowerTypeCount] = {};
  bool powerWeightsSet = false;
  // The power type all four weights have landed on (its weight 1, the others 0), so only
  // its curve runs; -1 while they move.
  int32_t powerWeightsSettledOn = -1;

  void ClearStates();
  double SagReductionDb() const;
  double PowerReductionDb() const;
};

struct AmpOutput
{
  double preamp;
  double power;
};

// params are the engine's smoothed parameter values; rate is the oversampled rate.
void DesignAmp(AmpDesign& design, const float* params, double rate, int family);

// Hands a design to a running state: scalars and tone coefficients, states untouched. The
// first design a state receives also sets its power-type weights to the current type.
void ApplyAmpDesign(AmpStageState& state, const AmpDesign& design);

// `count` (at most L, a multiple of 4 when N is 2) consecutive samples through N slots that
// share one design (the engine passes the left and right channel's slot together with the 4x
// samples of up to 16 base-rate frames, so the independent work of all of them overlaps).
template <int N, int L>
void AmpStages(AmpStageState* const states[N], const double x[L][N], AmpOutput out[L][N], int count = L);

inline AmpOutput AmpStage(AmpStageState& state, double x)
{
  AmpStageState* states[1] = {&state};
  const double in[1][1] = {{x}};
  AmpOutput out[1][1];
  AmpStages<1, 1>(states, in, out);
  return out[0][0];
}
