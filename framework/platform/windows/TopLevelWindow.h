#pragma once

#include "framework/core/GrowString.h"

#include <windows.h>

namespace pfw {

// The top-level window above the editor (the host's or the program's main window), owner
// of message boxes and the clipboard. With a parent it is the parent's last ancestor,
// whose class name is remembered; without one, the first window of this process with the
// remembered class name. Null when there is none.
HWND FindTopLevelWindow(HWND parent, GrowString& className);

} // namespace pfw
