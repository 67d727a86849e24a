#include "framework/platform/windows/PlatformFontCaches.h"

namespace pfw {

gui::StaticCache<InstalledFont>& InstalledFontCache()
{
  static gui::StaticCache<InstalledFont> cache;
  return cache;
}

gui::StaticCache<CachedFontHandle>& FontHandleCache()
{
  static gui::StaticCache<CachedFontHandle> cache;
  return cache;
}

void RetainPlatformFontCaches()
{
  ScopedCriticalSection installedLock(InstalledFontCache().Lock());
  ScopedCriticalSection handleLock(FontHandleCache().Lock());
  InstalledFontCache().Retain();
  FontHandleCache().Retain();
}

void ReleasePlatformFontCaches()
{
  ScopedCriticalSection installedLock(InstalledFontCache().Lock());
  ScopedCriticalSection handleLock(FontHandleCache().Lock());
  InstalledFontCache().Release();
  FontHandleCache().Release();
}

} // namespace pfw
