#pragma once

#include <cmath>

// One step of a smoother toward its target; it lands exactly on the target once within
// 1e-9, so settled values compare equal and switched-off paths contribute exactly nothing.
// A settled smoother is left alone: the step would add exactly 0. Returns whether the value
// moved.
inline bool StepSmoother(double& value, double target, double coef)
{
  if (value == target)
    return false;
  value += (target - value) * coef;
  if (std::fabs(target - value) < 1e-9)
    value = target;
  return true;
}

// Crossfade weights of a choice parameter: one smoother per choice, the chosen one heading
// for 1 and the others for 0.
template <int N>
struct ChoiceWeights
{
  double weights[N] = {};
  // The choice every weight has landed on (a step would change nothing), -1 while moving.
  int settledChoice = -1;

  void Snap(int choice)
  {
    for (int i = 0; i < N; ++i)
      weights[i] = (i == choice) ? 1.0 : 0.0;
    settledChoice = choice;
  }

  // Returns whether any weight moved.
  bool Step(int choice, double coef)
  {
    if (choice == settledChoice)
      return false;
    bool settled = true;
    for (int i = 0; i < N; ++i)
    {
      const double target = (i == choice) ? 1.0 : 0.0;
      StepSmoother(weights[i], target, coef);
      settled = settled && weights[i] == target;
    }
    settledChoice = settled ? choice : -1;
    return true;
  }

  double operator[](int i) const { return weights[i]; }
};
