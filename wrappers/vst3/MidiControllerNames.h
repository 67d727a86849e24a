#pragma once

namespace pfw {

// The titles of the 128 control-change parameters, by controller number; null outside 0 ... 127.
const char* MidiControllerName(int controller);

} // namespace pfw
