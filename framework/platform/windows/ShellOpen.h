#pragma once

#include <windows.h>

#include <string>

namespace pfw {

// A message box (UTF-8 texts, MB_* type) owned by the window; the button pressed (IDOK,
// IDYES ...), 0 when it could not be shown.
int ShowMessage(HWND owner, const char* text, const char* caption, UINT type);

// Opens a URL (web or "mailto:") with the system's handler. With a confirmation text the
// user is asked first and only Yes opens; on failure the error text, when given, is
// shown. True when the handler started.
bool OpenUrl(HWND owner, const char* url, const char* windowTitle, const char* confirmText, const char* errorText);

// The file manager's arguments for a path: the path quoted, after "/select," when the
// item is to be selected in its folder.
std::wstring RevealArguments(const std::wstring& path, bool select);
// Shows a file or folder (UTF-8 path) in the file manager.
bool RevealPath(const char* path, bool select);

} // namespace pfw
