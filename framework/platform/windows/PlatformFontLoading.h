#pragma once

#include "framework/graphics/PlatformFont.h"

#include <windows.h>

#include <memory>

namespace pfw {

// The editor's font loading on Windows. Style: 0 regular, 1 bold, 2 italic. Every
// failure gives null; nothing is shown to the user.
std::unique_ptr<gui::PlatformFont> LoadSystemFont(const char* family, int style);
// Registers the font bytes privately with the process (once per font id; the
// installation lasts while the installed-font cache holds it) and makes a font of the
// family they name.
std::unique_ptr<gui::PlatformFont> InstallFontFromMemory(const char* fontId, const void* data, int size);
// The same for a "ttf" module resource of that name, or else a file at that path.
std::unique_ptr<gui::PlatformFont> InstallFontFromFileOrResource(const char* fontId, const char* name,
                                                                  HMODULE module);
// Keeps a copy of the font's HFONT under the font id (the first one stays).
void CacheFontHandle(const char* fontId, const gui::PlatformFont& font);
// A new font like the one cached under the font id (the default GUI font when there is
// none), of the given cell height in pixels; the caller deletes it.
HFONT CreateCachedFontAtHeight(const char* fontId, int height);

} // namespace pfw
