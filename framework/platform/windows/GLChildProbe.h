#pragma once

#include "FrameOnScreen.h"

#include <windows.h>

namespace pfw::gui {

// Whether the screen shows what OpenGL draws in a child window: a small child of the given
// window, of the given class and pixel format, is cleared to a colour the screen does not
// show there yet and presented with SwapBuffers, and the screen is read back. Undecided
// while the window is hidden or covered. The thread's current GL context is kept.
FrameOnScreen ProbeGLChildWindow(HWND window, const wchar_t* windowClass, HINSTANCE module,
                                 const PIXELFORMATDESCRIPTOR& format);

} // namespace pfw::gui
