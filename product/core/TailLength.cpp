#include "product/core/TailLength.h"

#include "product/core/ParamSpecTable.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr double kPi = 3.14159265358979323846;

bool IsOn(float value)
{
  return value > 0.5f;
}

} // namespace

double ComputeTailSeconds(const float values[kNumParams], double sampleRate)
{
  float v[kNumParams];
  SanitizeParamValues(v, values);

  double fs = std::isfinite(sampleRate) ? sampleRate : 48000.0;
  fs = std::clamp(fs, 22050.0, 192000.0);
  double tail = 48.0 / fs + 0.7;

  const double monitor = v[kParamMonitor];
  const bool wetHeard = v[kParamMix] != 0.0f || monitor != kMonitorOutput;
  if (IsOn(v[kParamBypass]) || !wetHeard || monitor == kMonitorDry || monitor == kMonitorExternal)
    return tail;

  if (monitor == kMonitorOutput)
  {
    if (IsOn(v[kParamDelayEnabled]) && v[kParamDelayMix] > 0.0f)
    {
      const double feedback = v[kParamDelayFeedback] * 0.01;
      const double repeats = feedback > 0.0 ? std::ceil(std::log(1e-10) / std::log(feedback)) : 1.0;
      tail += v[kParamDelayTime] * 0.001 * repeats;
    }
    if (IsOn(v[kParamReverbEnabled]) && v[kParamReverbMix] > 0.0f)
    {
      const double size = v[kParamReverbSize] * 1.2 * 0.01 + 0.6;
      tail += (1.0 / (v[kParamReverbDamping] * 2.0 * kPi) + size * 0.0531) * v[kParamReverbDecay] *
                3.3333333333333335 / (size * 0.0297) +
              0.15;
    }
    if (IsOn(v[kParamChorusEnabled]) && v[kParamChorusMix] > 0.0f)
      tail += 0.04;
  }
  tail += 1.5;
  return tail;
}

int64_t TailSecondsToSamples(double seconds, double sampleRate)
{
  constexpr double kLongest = 2147483646.0;
  const double samples = std::ceil(seconds * sampleRate);
  if (!(samples > 0.0))
    return 0;
  return static_cast<int64_t>(std::min(samples, kLongest));
}
