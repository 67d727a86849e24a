#pragma once

namespace pfw {

// A parameter value on its way from the audio side to the editor.
struct IParamChange
{
  int paramIdx = 0;
  double value = 0.0;
};

} // namespace pfw
