#pragma once

#include <cmath>

// One step of a smoother toward its target; it lands exactly on the target once within
// 1e-9, so settled values compare equal and switched-off paths contribute exactly nothing.
inline void StepSmoother(double& value, double target, double coef)
{
  value += (target - value) * coef;
  if (std::fabs(target - value) < 1e-9)
    value = target;
}

// Crossfade weights of a choice parameter: one smoother per choice, the chosen one heading
// for 1 and the others for 0.
template <int N>
struct ChoiceWeights
{
  double weights[N] = {};

  void Snap(int choice)
  {
    for (int i = 0; i < N; ++i)
      weights[i] = (i == choice) ? 1.0 : 0.0;
  }

  void Step(int choice, double coef)
  {
    for (int i = 0; i < N; ++i)
      StepSmoother(weights[i], (i == choice) ? 1.0 : 0.0, coef);
  }

  double operator[](int i) const { return weights[i]; }
};
