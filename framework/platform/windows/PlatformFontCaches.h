#pragma once

#include "framework/graphics/StaticCache.h"

#include <windows.h>

namespace pfw {

// Font bytes registered privately with the process; unregistered with the entry.
class InstalledFont
{
public:
  explicit InstalledFont(HANDLE handle)
    : mHandle(handle)
  {
  }
  ~InstalledFont() { RemoveFontMemResourceEx(mHandle); }
  InstalledFont(const InstalledFont&) = delete;
  InstalledFont& operator=(const InstalledFont&) = delete;

private:
  HANDLE mHandle;
};

// A copy of a loaded font's HFONT, kept for the native text box.
class CachedFontHandle
{
public:
  explicit CachedFontHandle(HFONT font)
    : mFont(font)
  {
  }
  ~CachedFontHandle() { DeleteObject(mFont); }
  CachedFontHandle(const CachedFontHandle&) = delete;
  CachedFontHandle& operator=(const CachedFontHandle&) = delete;
  HFONT Get() const { return mFont; }

private:
  HFONT mFont;
};

// The process-wide caches of installed fonts and of HFONT copies, shared by every
// editor window. Where both locks are held, the installed-font lock comes first.
// Installed fonts stay registered until the module unloads: Wine never lets go of font
// bytes registered from memory (its RemoveFontMemResourceEx does nothing), so registering
// them anew at each opening of an editor would leave another copy behind every time.
gui::StaticCache<InstalledFont>& InstalledFontCache();
gui::StaticCache<CachedFontHandle>& FontHandleCache();

// Each editor window holds the HFONT cache while it lives; the last release empties it.
void RetainPlatformFontCaches();
void ReleasePlatformFontCaches();

} // namespace pfw
