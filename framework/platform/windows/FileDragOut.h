#pragma once

namespace pfw {

// Lets the user drag one file (UTF-8 path) out of the editor to another program; returns
// when the drag ends. True when the drag ran (dropped or cancelled), false when it could
// not start.
bool DragFileOut(const char* path);

} // namespace pfw
