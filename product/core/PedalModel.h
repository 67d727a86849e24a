#pragma once

#include <cstdint>

// The drive pedal: 16 families of waveshaper between a low cut, a sag envelope and a tone
// low-pass. Runs at 4x the base rate, one state per channel and slot.

constexpr int kPedalFamilyCount = 16;

// Everything a coefficient update sets; identical for both channels of a slot.
struct PedalDesign
{
  int32_t family = 1;
  double lowCutPole = 0.0;
  double tonePole = 0.0;
  double dcPole = 0.0;
  double sagAttackPole = 0.0;
  double sagReleasePole = 0.0;
  double drive = 1.0;
  double bias = 0.0;
  double sagAmount = 0.0;
  double level = 1.0;
  // Levels of the "Bit Crush" quantiser, fixed by the drive.
  double crushSteps = 512.0;
  // The shaped bias that is subtracted so that silence stays silent; depends on the sag
  // envelope for "Starved Fuzz" and is then computed per sample instead.
  double shapedBias = 0.0;
  // The rate and family that the poles fixed by them were last computed for; a design
  // that starts from the previous one keeps those poles while neither changes.
  double poleRate = 0.0;
  int32_t poleFamily = -1;
};

struct PedalStageState
{
  PedalDesign design;
  double lowCutState = 0.0;
  double toneState = 0.0;
  double dcState = 0.0;
  double sagEnvelope = 0.0;

  void ClearStates()
  {
    lowCutState = 0.0;
    toneState = 0.0;
    dcState = 0.0;
    sagEnvelope = 0.0;
  }
};

// params are the engine's smoothed parameter values; rate is the oversampled rate.
void DesignPedal(PedalDesign& design, const float* params, double rate, int family);

// The family's transfer curve.
double PedalWaveshape(const PedalStageState& state, double u);

// `count` (at most L, a multiple of 4 when N is 2) consecutive samples through N slots that
// share one design (the engine passes the left and right channel's slot together with the
// 4x samples of up to 16 base-rate frames).
template <int N, int L>
void PedalStages(PedalStageState* const states[N], const double x[L][N], double out[L][N], int count = L);

inline double PedalStage(PedalStageState& state, double x)
{
  PedalStageState* states[1] = {&state};
  const double in[1][1] = {{x}};
  double out[1][1];
  PedalStages<1, 1>(states, in, out);
  return out[0][0];
}
