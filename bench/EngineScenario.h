#pragma once

// The signal and settings both engine speed measurements use (the native benchmark and
// the Windows timing program), so their figures compare.
#include "product/core/ParamIds.h"
#include "product/core/ParamSpecTable.h"

#include <cmath>
#include <vector>

namespace engine_scenario {

// A plucked note with two overtones, restruck every half second.
inline std::vector<float> GuitarLike(int frames, double rate)
{
  const double pi = 3.14159265358979323846;
  std::vector<float> x(static_cast<size_t>(frames));
  for (int n = 0; n < frames; ++n)
  {
    const double t = n / rate;
    const double pluck = std::exp(-3.0 * std::fmod(t, 0.5));
    x[static_cast<size_t>(n)] = static_cast<float>(
      0.4 * pluck * (std::sin(2.0 * pi * 110.0 * t) + 0.5 * std::sin(2.0 * pi * 220.0 * t + 0.3) +
                     0.25 * std::sin(2.0 * pi * 330.0 * t + 1.1)));
  }
  return x;
}

// The defaults, or every stage of the chain switched on.
inline std::vector<float> Params(bool everyStage)
{
  std::vector<float> p(ParamSpecTable::kDefaults, ParamSpecTable::kDefaults + kNumParams);
  if (everyStage)
  {
    p[kParamPedalEnabled] = 1.0f;
    p[kParamPedalType] = 9.0f;
    p[kParamAmpType] = 7.0f; // five preamp stages
    p[kParamCabRoom] = 50.0f;
    p[kParamMicBlend] = 50.0f;
    p[kParamChorusEnabled] = p[kParamDelayEnabled] = p[kParamReverbEnabled] = 1.0f;
    p[kParamPostCompressor] = 60.0f;
    p[kParamSafetyClip] = 1.0f;
  }
  return p;
}

} // namespace engine_scenario
