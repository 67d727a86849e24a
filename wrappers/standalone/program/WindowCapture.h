#pragma once

#include <windows.h>

namespace pfw::gui {
class IGuiWin;
}

// Saves the client area of a window as a 32-bit PNG (path in UTF-8). The editor's window
// inside it, when given, is painted first; where the system's capture of it comes back
// in one flat colour (a GL window that printing cannot reach), the editor's own frame is
// read back instead. False for a null window or path, an empty client area, a capture
// that failed or came back blank, or a file that could not be written.
bool CaptureWindowToPng(HWND window, const char* path, pfw::gui::IGuiWin* editor = nullptr);
