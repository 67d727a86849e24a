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
  ScopedCriticalSection handleLock(FontHandleCache().Lock());
  FontHandleCache().Retain();
}

void ReleasePlatformFontCaches()
{
  ScopedCriticalSection handleLock(FontHandleCache().Lock());
  FontHandleCache().Release();
}

} // namespace pfw
