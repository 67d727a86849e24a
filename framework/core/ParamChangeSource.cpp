#include "ParamChangeSource.h"

namespace pfw {

const char* ParamChangeSourceName(int source)
{
  static const char* const kNames[] = {"Reset", "Host", "Preset", "UI", "Editor Delegate", "Recompile", "Unknown"};
  return source >= kReset && source <= kUnknown ? kNames[source] : kNames[kUnknown];
}

} // namespace pfw
