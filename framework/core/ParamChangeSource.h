#pragma once

namespace pfw {

// Where a parameter change came from; travels with every change notification.
enum ParamChangeSource : int
{
  kReset = 0,
  kHost = 1,
  kPresetRecall = 2,
  kUI = 3,
  kDelegate = 4,
  kRecompile = 5,
  kUnknown = 6,
};

// "Reset", "Host", "Preset", "UI", "Editor Delegate", "Recompile" or "Unknown" (also for
// codes outside the list); used in trace output.
const char* ParamChangeSourceName(int source);

} // namespace pfw
