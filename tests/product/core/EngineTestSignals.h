#pragma once

#include "product/core/AmpEngine.h"
#include "product/core/ParamSpecTable.h"
#include "product/core/TanhCurve.h"

#include <cmath>
#include <cstdint>
#include <memory>
#include <vector>

// Shared helpers of the engine tests: test signals, parameter sets and block-wise runs.
namespace engine_test {

const double kPi = 3.14159265358979323846;

struct Stereo
{
  std::vector<float> left;
  std::vector<float> right;
};

// Selects a tanh curve for the engines prepared while it lives, then the engine's own again.
class ScopedTanhCurve
{
public:
  explicit ScopedTanhCurve(TanhCurve curve) { SelectTanhCurve(curve); }
  ~ScopedTanhCurve() { SelectTanhCurve(TanhCurve::Rational); }
  ScopedTanhCurve(const ScopedTanhCurve&) = delete;
  ScopedTanhCurve& operator=(const ScopedTanhCurve&) = delete;
};

inline std::vector<float> DefaultParams()
{
  return std::vector<float>(ParamSpecTable::kDefaults, ParamSpecTable::kDefaults + kNumParams);
}

// A plucked-string-like signal: a decaying burst through a tuned feedback delay, with a
// new pluck every half second.
inline std::vector<float> PluckedString(int frames, double sampleRate, double frequency = 110.0, double level = 0.5)
{
  std::vector<float> out(static_cast<size_t>(frames), 0.0f);
  const int period = std::max(2, static_cast<int>(sampleRate / frequency));
  std::vector<double> loop(static_cast<size_t>(period), 0.0);
  uint32_t noise = 12345u;
  const int pluckEvery = static_cast<int>(sampleRate * 0.5);
  int index = 0;
  for (int n = 0; n < frames; ++n)
  {
    if (n % pluckEvery == 0)
    {
      for (double& s : loop)
      {
        noise = noise * 1664525u + 1013904223u;
        s = level * ((noise >> 8) / 8388608.0 - 1.0);
      }
    }
    const int next = (index + 1) % period;
    const double y = loop[static_cast<size_t>(index)];
    loop[static_cast<size_t>(index)] = 0.996 * 0.5 * (y + loop[static_cast<size_t>(next)]);
    index = next;
    out[static_cast<size_t>(n)] = static_cast<float>(y);
  }
  return out;
}

inline std::vector<float> Sine(int frames, double sampleRate, double frequency, double level)
{
  std::vector<float> out(static_cast<size_t>(frames));
  for (int n = 0; n < frames; ++n)
    out[static_cast<size_t>(n)] = static_cast<float>(level * std::sin(2.0 * kPi * frequency * n / sampleRate));
  return out;
}

// Prepares a fresh engine with the given values and runs the whole input through it in
// blocks of blockSize frames.
inline Stereo RunEngine(const std::vector<float>& params, double sampleRate, const std::vector<float>& left,
                  const std::vector<float>& right, int blockSize = 512, bool hostBypass = false,
                  const Stereo* aux = nullptr)
{
  auto engine = std::make_unique<AmpEngine>();
  engine->SetTargets(params.data());
  engine->Prepare(sampleRate);
  const int frames = static_cast<int>(left.size());
  Stereo out{std::vector<float>(left.size()), std::vector<float>(left.size())};
  for (int start = 0; start < frames; start += blockSize)
  {
    const int count = std::min(blockSize, frames - start);
    const float* in[2] = {left.data() + start, right.data() + start};
    float* o[2] = {out.left.data() + start, out.right.data() + start};
    const float* auxIn[2] = {nullptr, nullptr};
    if (aux != nullptr)
    {
      auxIn[0] = aux->left.data() + start;
      auxIn[1] = aux->right.data() + start;
    }
    engine->SetTargets(params.data());
    engine->Process(in, o, count, hostBypass, aux != nullptr ? auxIn : nullptr, aux != nullptr);
  }
  return out;
}

inline double Rms(const std::vector<float>& x, size_t from = 0)
{
  double sum = 0.0;
  for (size_t i = from; i < x.size(); ++i)
    sum += static_cast<double>(x[i]) * x[i];
  return x.size() > from ? std::sqrt(sum / static_cast<double>(x.size() - from)) : 0.0;
}

inline bool AllFinite(const std::vector<float>& x)
{
  for (float v : x)
    if (!std::isfinite(v))
      return false;
  return true;
}

} // namespace engine_test
