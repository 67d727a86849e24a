#pragma once

#include "product/core/ParamIds.h"
#include "product/core/ParamSpecTable.h"

#include <algorithm>
#include <array>
#include <cmath>

// Helpers for the stage tests: default parameter values and steady-state sine gains
// measured by running signals through a stage.
namespace signal_probe
{
constexpr double kPi = 3.14159265358979323846;

inline std::array<float, kNumParams> DefaultParams()
{
  std::array<float, kNumParams> params{};
  for (int i = 0; i < kNumParams; ++i)
    params[i] = ParamSpecTable::kDefaults[i];
  return params;
}

// Amplitude of the settled output for a unit sine input, in dB, from the output's RMS
// over at least 40 periods. process maps one input sample to one output sample.
template <typename Process>
double SineGainDb(Process process, double frequency, double rate)
{
  const int settle = static_cast<int>(rate * 0.25) + static_cast<int>(8.0 * rate / frequency);
  const int measure = std::max(static_cast<int>(40.0 * rate / frequency), static_cast<int>(rate * 0.1));
  double sum = 0.0;
  for (int i = 0; i < settle + measure; ++i)
  {
    const double y = process(std::sin(2.0 * kPi * frequency * i / rate));
    if (i >= settle)
      sum += y * y;
  }
  return 10.0 * std::log10(std::max(2.0 * sum / measure, 1e-24));
}
} // namespace signal_probe
