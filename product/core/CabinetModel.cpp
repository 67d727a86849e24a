#include "product/core/CabinetModel.h"

#include "product/core/BiquadPair.h"
#include "product/core/ParamIds.h"

#include <algorithm>
#include <utility>

const CabFamily CabFamilyTable[kCabFamilyCount] = {
  {"Open 1x10", 115.0, 4800.0},
  {"Open 1x12", 92.0, 5500.0},
  {"Open 2x12", 85.0, 6100.0},
  {"Closed 1x12", 105.0, 5200.0},
  {"Closed 2x12", 82.0, 5700.0},
  {"Vintage 4x12", 75.0, 5600.0},
  {"Modern 4x12", 68.0, 6500.0},
  {"Dark 4x12", 80.0, 3900.0},
  {"Bass 4x10", 65.0, 4800.0},
  {"Direct Full Range", 100.0, 20000.0},
};

const MicModel MicModelTable[kMicModelCount] = {
  {"Dynamic Bright", 3.5, 11000.0, 1.0},
  {"Dynamic Smooth", 1.0, 8500.0, 1.0},
  {"Ribbon", -3.0, 6500.0, 1.4},
  {"Condenser", 2.0, 16000.0, 1.0},
};

namespace
{
// Shelves with a slope term of sin w / 1.4 and low-passes of sin w / 1.414.
constexpr double kShelfQ = 0.7;
constexpr double kButterworthQ = 0.707;

void DesignMic(MicPath& mic, const MicModel& model, const float* params, double rate)
{
  const double position = params[kParamMicPosition];
  const double distance = params[kParamMicDistance];
  const double angle = params[kParamMicAngle];
  const double nyquistGuard = 0.45 * rate;
  DesignBiquad(mic.proximity, BiquadType::LowShelf, std::min(170.0, nyquistGuard), kShelfQ,
               (100.0 - distance) * 0.035 * model.proximityFactor, rate);
  DesignBiquad(mic.presence, BiquadType::HighShelf, std::min(2800.0, nyquistGuard), kShelfQ,
               model.presenceShelfDb - 0.075 * position - 0.045 * angle, rate);
  const double lowPassHz = (1.0 - 0.004 * position) * model.lowPassHz * (1.0 - 0.0025 * angle);
  DesignBiquad(mic.lowPass, BiquadType::LowPass, lowPassHz, kButterworthQ, 0.0, rate);
}

int ModelIndex(float value)
{
  return std::clamp(static_cast<int>(value), 0, kMicModelCount - 1);
}
}

void MicPath::ClearStates()
{
  proximity.ClearState();
  presence.ClearState();
  lowPass.ClearState();
}

void CabStageState::PrepareRoom(double rate)
{
  room.Resize(static_cast<int32_t>(0.15 * rate) + 8);
}

void CabStageState::ClearStates()
{
  for (Biquad& filter : speaker)
    filter.ClearState();
  for (MicPath& mic : mics)
    mic.ClearStates();
  lowCut.ClearState();
  highCut.ClearState();
  room.Clear();
}

void DesignCab(CabStageState& state, const float* params, double rate, int family)
{
  family = std::clamp(family, 0, kCabFamilyCount - 1);
  const CabFamily& row = CabFamilyTable[family];
  state.family = family;

  DesignBiquad(state.speaker[0], BiquadType::Peak, row.resonanceHz, 1.1,
               params[kParamCabResonance] * 6.0 * 0.01 + 2.0, rate);
  double coneHz = 110.0 * family + 1550.0;
  double coneDb = -2.8;
  if (family == 7)
    coneDb = -4.0;
  else if (family == 8)
    coneHz = 720.0;
  else if (family == kCabDirectFamily)
    coneDb = 0.0;
  DesignBiquad(state.speaker[1], BiquadType::Peak, coneHz, 1.4, coneDb, rate);
  DesignBiquad(state.speaker[2], BiquadType::Peak, 90.0 * family + 2700.0, 1.8,
               family == kCabDirectFamily ? 0.0 : 2.0, rate);
  DesignBiquad(state.speaker[3], BiquadType::LowPass, row.lowPassHz, kButterworthQ, 0.0, rate);

  DesignMic(state.mics[0], MicModelTable[ModelIndex(params[kParamMicType])], params, rate);
  DesignMic(state.mics[1], MicModelTable[ModelIndex(params[kParamSecondMicType])], params, rate);

  DesignBiquad(state.lowCut, BiquadType::HighPass, params[kParamCabLowCut], kButterworthQ, 0.0, rate);
  DesignBiquad(state.highCut, BiquadType::LowPass, params[kParamCabHighCut], kButterworthQ, 0.0, rate);

  state.micBlend = params[kParamMicBlend] * 0.01;
  state.roomGain = 0.0025 * params[kParamCabRoom];
  // 8 ms plus 0.4 ms per centimetre of distance.
  state.roomDelay = rate * (0.0004 * params[kParamMicDistance] + 0.008);
}

namespace
{
// Everything before the room: the speaker filters, both microphones (which always run, so
// that moving the blend never starts a cold filter) and the cuts.
double CabFilters(CabStageState& state, double x)
{
  double s = x;
  if (state.family != kCabDirectFamily)
    for (Biquad& filter : state.speaker)
      s = filter.Process(s);
  const double m1 = state.mics[0].Process(s);
  const double m2 = state.mics[1].Process(s);
  const double c = (1.0 - state.micBlend) * m1 + state.micBlend * m2;
  return state.highCut.Process(state.lowCut.Process(c));
}

#if defined(__SSE2__)
// CabFilters of both channels over a run, first without looking for blown-up values and
// again with the checks when a state ends the run non-finite (see BiquadPair).
template <bool Checked>
bool PairedFilters(CabStageState* const states[2], const double (*x)[2], int count, double (*out)[2])
{
  CabStageState& l = *states[0];
  CabStageState& r = *states[1];
  // The speaker filters, the two microphones and the cuts.
  BiquadPair sections[] = {
    {l.speaker[0], r.speaker[0]},           {l.speaker[1], r.speaker[1]},
    {l.speaker[2], r.speaker[2]},           {l.speaker[3], r.speaker[3]},
    {l.mics[0].proximity, r.mics[0].proximity}, {l.mics[0].presence, r.mics[0].presence},
    {l.mics[0].lowPass, r.mics[0].lowPass}, {l.mics[1].proximity, r.mics[1].proximity},
    {l.mics[1].presence, r.mics[1].presence}, {l.mics[1].lowPass, r.mics[1].lowPass},
    {l.lowCut, r.lowCut},                   {l.highCut, r.highCut},
  };
  BiquadPair* const mics[2] = {sections + 4, sections + 7};
  BiquadPair* const cuts = sections + 10;
  const bool direct = l.family == kCabDirectFamily;
  const __m128d blend = _mm_set_pd(r.micBlend, l.micBlend);
  const __m128d keep = _mm_sub_pd(_mm_set1_pd(1.0), blend);
  for (int i = 0; i < count; ++i)
  {
    __m128d s = _mm_loadu_pd(x[i]);
    if (!direct)
      for (int k = 0; k < 4; ++k)
        s = sections[k].Process<Checked>(s);
    __m128d m[2];
    for (int mic = 0; mic < 2; ++mic)
    {
      m[mic] = s;
      for (int k = 0; k < 3; ++k)
        m[mic] = mics[mic][k].Process<Checked>(m[mic]);
    }
    const __m128d c = _mm_add_pd(_mm_mul_pd(keep, m[0]), _mm_mul_pd(blend, m[1]));
    _mm_storeu_pd(out[i], cuts[1].Process<Checked>(cuts[0].Process<Checked>(c)));
  }
  if (!Checked && !BiquadPair::StatesFinite(sections, 12))
    return false;
  for (const BiquadPair& section : sections)
    section.Store();
  return true;
}
#endif
}

double CabRoom(CabStageState& state, double c, int channel)
{
  state.room.Push(c);
  if (state.roomGain == 0.0)
    return c;
  const double t1 = state.room.Read(state.roomDelay * (channel == 0 ? 1.0 : 1.07));
  const double t2 = state.room.Read(state.roomDelay * 1.71);
  return c + (0.65 * t1 + 0.35 * t2) * state.roomGain;
}

double CabStage(CabStageState& state, double x, int channel)
{
  return CabRoom(state, CabFilters(state, x), channel);
}

void CabFilterRun(CabStageState* const states[2], const double (*x)[2], int count, double (*out)[2])
{
#if defined(__SSE2__)
  // The two channels share the family (a family change reaches both at once).
  if (states[0]->family == states[1]->family)
  {
    if (!PairedFilters<false>(states, x, count, out))
      PairedFilters<true>(states, x, count, out);
    return;
  }
#endif
  for (int i = 0; i < count; ++i)
    for (int ch = 0; ch < 2; ++ch)
      out[i][ch] = CabFilters(*states[ch], x[i][ch]);
}

void HandOverCabSlots(CabStageState& active, CabStageState& retiring)
{
  std::swap(active, retiring);
  active.ClearStates();
}
