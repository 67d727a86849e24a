#pragma once

#include "framework/core/GrowString.h"

#include <windows.h>

namespace pfw {

// Clipboard text and file paths as UTF-8. Every failing step gives false and leaves the
// clipboard closed; reading also empties the text. The owner window may be null.
bool GetClipboardText(GrowString& text);
// Empty text empties the clipboard (and succeeds).
bool SetClipboardText(HWND owner, const char* text);
// One file, as the shell puts a copied file on the clipboard.
bool SetClipboardFilePath(HWND owner, const char* path);

} // namespace pfw
