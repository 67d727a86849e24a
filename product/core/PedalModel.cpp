#include "product/core/PedalModel.h"

#include "product/core/DspHelpers.h"
#include "product/core/ParamIds.h"
#include "product/core/TanhBatch.h"
#include "product/core/TanhCurve.h"

#include <cmath>

namespace {

double Clamp(double v, double lo, double hi)
{
  return v < lo ? lo : (v > hi ? hi : v);
}

} // namespace

void DesignPedal(PedalDesign& design, const float* params, double rate, int family)
{
  design.family = family;
  design.lowCutPole = OnePolePole(params[kParamPedalLowCut], rate);
  design.tonePole = OnePolePole(params[kParamPedalTone], rate);
  if (design.poleRate != rate || design.poleFamily != family)
  {
    design.dcPole = OnePolePole((family >= 7 && family <= 11) ? 45.0 : 18.0, rate);
    design.sagAttackPole = std::exp(-1.0 / (0.004 * rate));
    design.sagReleasePole = std::exp(-1.0 / (0.15 * rate));
    design.poleRate = rate;
    design.poleFamily = family;
  }

  double k = 24.0;
  if (family >= 0 && family <= 3)
    k = 8.0;
  else if (family == 14)
    k = 6.0;
  design.drive = params[kParamPedalDrive] * 0.01 * k + 1.0;
  design.bias = params[kParamPedalBias] * 0.004;
  design.sagAmount = params[kParamPedalSag] * 0.01;
  design.level = std::pow(10.0, params[kParamPedalLevel] * 0.05);

  design.crushSteps = Clamp(std::pow(2.0, (1.0 - (design.drive - 1.0) / 6.0) * 6.0 + 3.0), 8.0, 512.0);

  PedalStageState probe;
  probe.design = design;
  design.shapedBias = PedalWaveshape(probe, design.bias);
}

namespace {

// The family's curve; "Starved Fuzz" also reads the sag envelope of the same sample.
double Waveshape(const PedalDesign& design, double sagEnvelope, double u)
{
  switch (design.family)
  {
  case 1:
    return 0.7 * u / std::sqrt(u * u + 1.0) + 0.3 * u / (0.18 * std::fabs(u) + 1.0);
  case 2:
    return Tanh(0.28 * u * u / (u * u + 1.0) + u);
  case 3:
    return std::atan(u) * 0.6366197723675814;
  case 4:
    return Clamp(u, -0.52, 0.52) / 0.52;
  case 5:
  {
    const double v = 0.75 * u;
    return Clamp(1.65 * v / std::sqrt(v * v + 1.0), -1.0, 1.0);
  }
  case 6:
    return Tanh(3.2 * Clamp(1.7 * u, -0.8, 0.8));
  case 7:
  {
    const double f = Clamp(u, -0.38, 0.72);
    const double e = 3.0 * (0.22 * f * f + f);
    return e / std::sqrt(e * e + 1.0);
  }
  case 8:
  {
    const double g = 2.5 * Clamp(1.3 * u, -0.55, 0.55);
    return Clamp(g, -0.72, 0.83);
  }
  case 9:
    return Tanh(3.0 * Tanh(1.7 * u));
  case 10:
    if (std::fabs(u) < 0.14)
      return 0.0;
    return Clamp(3.0 * (u - std::copysign(0.14, u)), -1.0, 1.0);
  case 11:
    return 2.0 * std::fabs(Tanh(u)) - 1.0;
  case 12:
  {
    double h = std::fmod(u + 1.0, 4.0);
    if (h < 0.0)
      h += 4.0;
    if (h >= 4.0) // a tiny negative remainder rounds up to 4
      h = 0.0;
    return h < 2.0 ? h - 1.0 : 3.0 - h;
  }
  case 13:
    return std::fabs(u / std::sqrt(u * u + 1.0));
  case 14:
  {
    const double m = design.crushSteps;
    return std::round(m * Clamp(u, -1.0, 1.0)) / m;
  }
  case 15:
  {
    const double t = 0.55 / (3.0 * sagEnvelope + 1.0) + 0.15;
    return 2.2 * Clamp(u, -0.55 * t, t);
  }
  default:
    return u;
  }
}

} // namespace

double PedalWaveshape(const PedalStageState& state, double u)
{
  return Waveshape(state.design, state.sagEnvelope, u);
}

namespace {

#if defined(__SSE2__)
// Clamp on both lanes: min then max keep a not-a-number as the comparisons of Clamp do.
__m128d ClampPair(__m128d v, double lo, double hi)
{
  return _mm_max_pd(_mm_set1_pd(lo), _mm_min_pd(_mm_set1_pd(hi), v));
}

// v / sqrt(v v + 1) on both lanes (division and square root round exactly as the scalar ones).
__m128d SoftPair(__m128d v)
{
  return _mm_div_pd(v, _mm_sqrt_pd(_mm_add_pd(_mm_mul_pd(v, v), _mm_set1_pd(1.0))));
}

// The curves for `count` samples of both channels, minus the shaped bias: per value the
// operations of Waveshape in the same order (tanh in batches). Returns false for the
// families whose curve has a branch, a library call or a per-sample bias.
bool WaveshapeBatch(const PedalDesign& d, const double (*u)[2], int count, double (*y)[2])
{
  double args[kOversampledRun][2] = {}, t[kOversampledRun][2];
  const int values = 2 * count;
  const auto each = [&](auto argument) {
    for (int i = 0; i < count; ++i)
      _mm_storeu_pd(args[i], argument(_mm_loadu_pd(u[i])));
  };
  const auto shapeEach = [&](auto curve) {
    for (int i = 0; i < count; ++i)
      _mm_storeu_pd(y[i], _mm_sub_pd(curve(_mm_loadu_pd(u[i])), _mm_set1_pd(d.shapedBias)));
  };
  const __m128d one = _mm_set1_pd(1.0);
  switch (d.family)
  {
  case 1:
    shapeEach([&](__m128d v) {
      const __m128d soft = _mm_div_pd(_mm_mul_pd(_mm_set1_pd(0.7), v), _mm_sqrt_pd(_mm_add_pd(_mm_mul_pd(v, v), one)));
      const __m128d magnitude = _mm_andnot_pd(_mm_set1_pd(-0.0), v);
      const __m128d hard =
        _mm_div_pd(_mm_mul_pd(_mm_set1_pd(0.3), v), _mm_add_pd(_mm_mul_pd(_mm_set1_pd(0.18), magnitude), one));
      return _mm_add_pd(soft, hard);
    });
    return true;
  case 5:
    shapeEach([&](__m128d v) {
      const __m128d w = _mm_mul_pd(_mm_set1_pd(0.75), v);
      const __m128d lifted = _mm_div_pd(_mm_mul_pd(_mm_set1_pd(1.65), w), _mm_sqrt_pd(_mm_add_pd(_mm_mul_pd(w, w), one)));
      return ClampPair(lifted, -1.0, 1.0);
    });
    return true;
  case 7:
    shapeEach([&](__m128d v) {
      const __m128d f = ClampPair(v, -0.38, 0.72);
      const __m128d e = _mm_mul_pd(_mm_set1_pd(3.0), _mm_add_pd(_mm_mul_pd(_mm_mul_pd(_mm_set1_pd(0.22), f), f), f));
      return SoftPair(e);
    });
    return true;
  case 13:
    shapeEach([&](__m128d v) { return _mm_andnot_pd(_mm_set1_pd(-0.0), SoftPair(v)); });
    return true;
  case 2:
    each([&](__m128d v) {
      const __m128d even =
        _mm_div_pd(_mm_mul_pd(_mm_mul_pd(_mm_set1_pd(0.28), v), v), _mm_add_pd(_mm_mul_pd(v, v), one));
      return _mm_add_pd(even, v);
    });
    TanhMinusBatch(&args[0][0], values, d.shapedBias, &y[0][0]);
    return true;
  case 6:
    each([](__m128d v) {
      return _mm_mul_pd(_mm_set1_pd(3.2), ClampPair(_mm_mul_pd(_mm_set1_pd(1.7), v), -0.8, 0.8));
    });
    TanhMinusBatch(&args[0][0], values, d.shapedBias, &y[0][0]);
    return true;
  case 9:
    each([](__m128d v) { return _mm_mul_pd(_mm_set1_pd(1.7), v); });
    TanhMinusBatch(&args[0][0], values, 0.0, &t[0][0]);
    for (int i = 0; i < count; ++i)
      _mm_storeu_pd(args[i], _mm_mul_pd(_mm_set1_pd(3.0), _mm_loadu_pd(t[i])));
    TanhMinusBatch(&args[0][0], values, d.shapedBias, &y[0][0]);
    return true;
  case 11:
    TanhMinusBatch(&u[0][0], values, 0.0, &t[0][0]);
    for (int i = 0; i < count; ++i)
    {
      const __m128d magnitude = _mm_andnot_pd(_mm_set1_pd(-0.0), _mm_loadu_pd(t[i]));
      const __m128d curve = _mm_sub_pd(_mm_mul_pd(_mm_set1_pd(2.0), magnitude), _mm_set1_pd(1.0));
      _mm_storeu_pd(y[i], _mm_sub_pd(curve, _mm_set1_pd(d.shapedBias)));
    }
    return true;
  default:
    return false;
  }
}

// The input low-cut and the sag of both channels: for each sample h, the sag envelope and
// the sag's gain, per lane the operations of the single-channel loop in the same order.
void PairedInput(PedalStageState* const states[2], const double (*x)[2], int count, const PedalDesign& d,
                 double (*h)[2], double (*envelope)[2], double (*gain)[2])
{
  PedalStageState& left = *states[0];
  PedalStageState& right = *states[1];
  __m128d lowCut = LoadLanes(left.lowCutState, right.lowCutState);
  __m128d sag = LoadLanes(left.sagEnvelope, right.sagEnvelope);
  for (int i = 0; i < count; ++i)
  {
    const __m128d in = _mm_loadu_pd(x[i]);
    const __m128d cut = _mm_sub_pd(in, OnePoleStepPair(lowCut, in, d.lowCutPole));
    _mm_storeu_pd(h[i], cut);
    const __m128d magnitude = _mm_andnot_pd(_mm_set1_pd(-0.0), cut);
    _mm_storeu_pd(gain[i], EnvelopeGainPair(sag, magnitude, d.sagAttackPole, d.sagReleasePole, d.sagAmount, 3.0));
    _mm_storeu_pd(envelope[i], sag);
  }
  StoreLanes(lowCut, left.lowCutState, right.lowCutState);
  StoreLanes(sag, left.sagEnvelope, right.sagEnvelope);
}

// y = OnePoleStep (state, y) for every sample, or y minus it (a DC blocker).
template <bool Remove>
void PairedOnePole(PedalStageState* const states[2], double PedalStageState::*state, double pole, int count,
                   double (*y)[2])
{
  __m128d v = LoadLanes(states[0]->*state, states[1]->*state);
  for (int i = 0; i < count; ++i)
  {
    const __m128d in = _mm_loadu_pd(y[i]);
    const __m128d low = OnePoleStepPair(v, in, pole);
    _mm_storeu_pd(y[i], Remove ? _mm_sub_pd(in, low) : low);
  }
  StoreLanes(v, states[0]->*state, states[1]->*state);
}
#endif

} // namespace

// Each step runs for every sample and channel of the run before the next one; the channels
// are independent and later samples depend on earlier ones only through one-pole states and
// the sag envelope, so the shaping of all of them overlaps. Per channel and sample the
// operations are exactly those of a single chain, in the same order.
template <int N, int L>
void PedalStages(PedalStageState* const states[N], const double x[L][N], double out[L][N], int count)
{
  const PedalDesign& d = states[0]->design;
  double h[L][N], s[L][N], envelope[L][N], y[L][N];
  bool paired = false;
#if defined(__SSE2__)
  if constexpr (N == 2)
  {
    PairedInput(states, x, count, d, h, envelope, s);
    paired = true;
  }
#endif
  for (int i = 0; i < count && !paired; ++i)
  {
    for (int ch = 0; ch < N; ++ch)
    {
      PedalStageState& state = *states[ch];
      h[i][ch] = x[i][ch] - OnePoleStep(state.lowCutState, x[i][ch], d.lowCutPole);
      const double magnitude = std::fabs(h[i][ch]);
      const double p = magnitude > state.sagEnvelope ? d.sagAttackPole : d.sagReleasePole;
      state.sagEnvelope = FlushTiny((1.0 - p) * magnitude + p * state.sagEnvelope);
      envelope[i][ch] = state.sagEnvelope;
      s[i][ch] = 1.0 / (state.sagEnvelope * d.sagAmount * 3.0 + 1.0);
    }
  }

  if (d.family == 0)
  {
    for (int i = 0; i < count; ++i)
      for (int ch = 0; ch < N; ++ch)
        y[i][ch] = (h[i][ch] * d.bias * h[i][ch] / (h[i][ch] * h[i][ch] + 1.0) + (d.drive * 0.22 + 1.0) * h[i][ch]) *
                   s[i][ch];
  }
  else
  {
    bool shaped = false;
#if defined(__SSE2__)
    // Two channels: the curves without branches take all values at once.
    if constexpr (N == 2)
    {
      double u[L][N] = {};
      for (int i = 0; i < count; ++i)
        for (int ch = 0; ch < N; ++ch)
          u[i][ch] = h[i][ch] * d.drive * s[i][ch] + d.bias;
      shaped = WaveshapeBatch(d, u, count, y);
    }
#endif
    for (int i = 0; i < count && !shaped; ++i)
    {
      for (int ch = 0; ch < N; ++ch)
      {
        const double shapedBias = d.family == 15 ? Waveshape(d, envelope[i][ch], d.bias) : d.shapedBias;
        y[i][ch] = Waveshape(d, envelope[i][ch], h[i][ch] * d.drive * s[i][ch] + d.bias) - shapedBias;
      }
    }
    if (d.family > 6)
    {
#if defined(__SSE2__)
      if constexpr (N == 2)
        PairedOnePole<true>(states, &PedalStageState::dcState, d.dcPole, count, y);
      else
#endif
        for (int i = 0; i < count; ++i)
          for (int ch = 0; ch < N; ++ch)
            y[i][ch] -= OnePoleStep(states[ch]->dcState, y[i][ch], d.dcPole);
    }
  }
#if defined(__SSE2__)
  if constexpr (N == 2)
  {
    PairedOnePole<false>(states, &PedalStageState::toneState, d.tonePole, count, y);
    for (int i = 0; i < count; ++i)
      _mm_storeu_pd(out[i], _mm_mul_pd(_mm_loadu_pd(y[i]), _mm_set1_pd(d.level)));
    return;
  }
#endif
  for (int i = 0; i < count; ++i)
    for (int ch = 0; ch < N; ++ch)
      out[i][ch] = OnePoleStep(states[ch]->toneState, y[i][ch], d.tonePole) * d.level;
}

template void PedalStages<1, 1>(PedalStageState* const states[1], const double x[1][1], double out[1][1], int count);
template void PedalStages<2, kOversampledRun>(PedalStageState* const states[2], const double x[kOversampledRun][2],
                                              double out[kOversampledRun][2], int count);
