#pragma once

#include "product/core/ParamIds.h"

// The compiled-in description of the 84 parameters: parallel constant arrays indexed by
// parameter id. Values are in the units of each label; help texts are shown by the editor.
struct ParamSpecTable
{
  static const char* const kKeys[kNumParams];
  static const char* const kNames[kNumParams];
  static const char* const kLabels[kNumParams];
  static const float kDefaults[kNumParams];
  static const float kMinimums[kNumParams];
  static const float kMaximums[kNumParams];
  static const char* const kHelpTexts[kNumParams];
};

// Switches and choices: never smoothed, always whole numbers. False outside 0 to 83.
bool IsDiscreteParam(int index);
// Times, frequencies and the Q, whose controls move on a logarithmic scale. False outside 0 to 83.
bool IsLogScaledParam(int index);

// The text for a whole value of a parameter (a choice name, or "Off"/"On"); the value is
// clamped to the parameter's range first. An index outside 0 to 83 gives "".
const char* ParamValueName(int index, int value);

// A parameter value in the float form that the banks, the state record and the engine take.
// A finite value beyond the float range becomes the largest float of its sign instead of an
// undefined conversion; non-finite values stay as they are.
float ParamValueToFloat(double value);

// Makes arbitrary values safe for the engine: non-finite values become the default, the rest
// are clamped to the range, and discrete ones are then rounded (halves away from zero).
// `out` may be the same array as `in`.
void SanitizeParamValues(float out[kNumParams], const float in[kNumParams]);
