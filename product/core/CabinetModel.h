#pragma once

#include "product/core/Biquad.h"
#include "product/core/DelayLine.h"

#include <cstdint>

// The cabinet: four speaker filters per family, two modelled microphones mixed by a
// blend, a low and a high cut, and two early room returns. Runs at the base rate, one
// state per channel and slot (active and retiring, for family crossfades).

constexpr int kCabFamilyCount = 10;
constexpr int kCabDirectFamily = 9; // "Direct Full Range": no speaker filters
constexpr int kMicModelCount = 4;

struct CabFamily
{
  const char* name;
  double resonanceHz;
  double lowPassHz;
};
extern const CabFamily CabFamilyTable[kCabFamilyCount];

struct MicModel
{
  const char* name;
  double presenceShelfDb;
  double lowPassHz;
  double proximityFactor;
};
extern const MicModel MicModelTable[kMicModelCount];

// One microphone: proximity (low shelf), presence (high shelf) and its own low-pass.
struct MicPath
{
  Biquad proximity;
  Biquad presence;
  Biquad lowPass;

  double Process(double x) { return lowPass.Process(presence.Process(proximity.Process(x))); }
  void ClearStates();
};

struct CabStageState
{
  Biquad speaker[4];
  MicPath mics[2];
  Biquad lowCut;
  Biquad highCut;
  DelayLine room;
  int32_t family = 2;
  double micBlend = 0.0;
  double roomGain = 0.0;
  double roomDelay = 0.0; // samples

  // Sizes the room line for the rate (allocates: only while preparing).
  void PrepareRoom(double rate);
  // Every filter state to 0 and the room line emptied; coefficients stay.
  void ClearStates();
};

// Sets coefficients and scalars from the engine's smoothed parameters; never states.
void DesignCab(CabStageState& state, const float* params, double rate, int family);

// One sample; channel 0 is left, 1 right (only the first room tap differs).
double CabStage(CabStageState& state, double x, int channel);

// CabStage in two steps: the filters (everything before the room) of both channels for
// `count` samples, then the room for each sample of a channel in turn.
void CabFilterRun(CabStageState* const states[2], const double (*x)[2], int count, double (*out)[2]);
double CabRoom(CabStageState& state, double c, int channel);

// A family change: the retiring slot takes the active slot's complete state, and the
// active slot goes on from the former retiring slot's coefficients with cleared filters
// and an empty room until the next design. Swaps storage, so nothing is allocated.
void HandOverCabSlots(CabStageState& active, CabStageState& retiring);
