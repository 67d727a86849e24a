#pragma once

#include "framework/core/GrowString.h"
#include "framework/graphics/IArgbColour.h"

#include <windows.h>

#include <string>

namespace pfw {

// The system's open/save, folder and colour dialogs, owned by the editor window. Each
// returns true when the user chose something.

// fileName: in the proposed name, out the full chosen path (emptied when cancelled);
// path: in the folder to start in, out the folder of the chosen file (kept when
// cancelled). Extensions: a space-separated list ("wav aif"), the first one the default.
bool PromptForFileName(HWND owner, GrowString& fileName, GrowString& path, bool save, const char* extensions);
// path: out the chosen folder with a trailing backslash (emptied when cancelled).
bool PromptForFolder(HWND owner, GrowString& path);
// The colour's red, green and blue become the chosen ones (alpha stays); the prompt, when
// given, is the dialog's title. Custom colours are kept for the next dialog.
bool PromptForColour(HWND owner, gui::IArgbColour& colour, const char* prompt);

// The dialog's filter pattern of a list of extensions ("*.wav;*.aif"), empty for none.
std::wstring FileDialogPattern(const char* extensions);
// The first extension of the list.
std::wstring FileDialogDefaultExtension(const char* extensions);
// The drive and folder of a full path, with its trailing separator; false when the path
// names no folder.
bool FolderOfPath(const std::wstring& file, std::wstring& folder);

} // namespace pfw
