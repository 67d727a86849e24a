#include "framework/platform/windows/PlatformFontLoading.h"

#include "framework/platform/windows/PlatformFontCaches.h"
#include "framework/platform/windows/WinFont.h"

#include "framework/graphics/ResourceFiles.h"

namespace pfw {

namespace {
constexpr double kCacheScale = 1.0;
}

std::unique_ptr<gui::PlatformFont> LoadSystemFont(const char* family, int style)
{
  HFONT font = CreateFontByFaceName(family, style == 1 ? FW_BOLD : FW_NORMAL, style == 2, false, 0, true);
  if (!font)
    return nullptr;
  return std::make_unique<WinFont>(true, font, style == 1 ? "Bold" : style == 2 ? "Italic" : "");
}

std::unique_ptr<gui::PlatformFont> InstallFontFromMemory(const char* fontId, const void* data, int size)
{
  if (!fontId || !data || size <= 0)
    return nullptr;
  ScopedCriticalSection lock(InstalledFontCache().Lock());
  const gui::FontDescriptor descriptor(data, size, 0);
  if (!descriptor.IsUsable())
    return nullptr;
  // A second editor or a re-opened one finds the bytes registered already.
  HANDLE installed = nullptr;
  if (!InstalledFontCache().Find(fontId, kCacheScale))
  {
    DWORD count = 0;
    installed = AddFontMemResourceEx(const_cast<void*>(data), static_cast<DWORD>(size), nullptr, &count);
    if (!installed)
      return nullptr;
  }
  const uint16_t macStyle = descriptor.MacStyle();
  HFONT font = CreateFontByFaceName(descriptor.FamilyName(), (macStyle & 1) ? FW_BOLD : FW_NORMAL,
                                    (macStyle & 2) != 0, (macStyle & 4) != 0, 0, false);
  if (!font)
  {
    if (installed)
      RemoveFontMemResourceEx(installed);
    return nullptr;
  }
  if (installed)
    InstalledFontCache().Add(new InstalledFont(installed), fontId, kCacheScale);
  return std::make_unique<WinFont>(false, font, "");
}

std::unique_ptr<gui::PlatformFont> InstallFontFromFileOrResource(const char* fontId, const char* name,
                                                                  HMODULE module)
{
  ScopedCriticalSection lock(InstalledFontCache().Lock());
  GrowString location;
  switch (gui::LocateResourceDefault(name, "ttf", location, module))
  {
  case 1:
  {
    ByteBuffer bytes(4096);
    if (!gui::ReadFileBytes(location.Get(), bytes))
      return nullptr;
    return InstallFontFromMemory(fontId, bytes.Data(), bytes.Size());
  }
  case 2:
  {
    int size = 0;
    const void* bytes = gui::LockModuleResource(location.Get(), "ttf", size, module);
    return bytes ? InstallFontFromMemory(fontId, bytes, size) : nullptr;
  }
  default: return nullptr;
  }
}

void CacheFontHandle(const char* fontId, const gui::PlatformFont& font)
{
  HFONT source = static_cast<HFONT>(font.GetDescriptor());
  LOGFONTW logFont = {};
  if (!fontId || !source || GetObjectW(source, sizeof(logFont), &logFont) != sizeof(logFont))
    return;
  ScopedCriticalSection lock(FontHandleCache().Lock());
  if (FontHandleCache().Find(fontId, kCacheScale))
    return;
  if (HFONT copy = CreateFontIndirectW(&logFont))
    FontHandleCache().Add(new CachedFontHandle(copy), fontId, kCacheScale);
}

HFONT CreateCachedFontAtHeight(const char* fontId, int height)
{
  LOGFONTW logFont = {};
  {
    ScopedCriticalSection lock(FontHandleCache().Lock());
    const CachedFontHandle* cached = fontId ? FontHandleCache().Find(fontId, kCacheScale) : nullptr;
    HGDIOBJ source = cached ? static_cast<HGDIOBJ>(cached->Get()) : GetStockObject(DEFAULT_GUI_FONT);
    if (GetObjectW(source, sizeof(logFont), &logFont) != sizeof(logFont))
      return nullptr;
  }
  logFont.lfHeight = height;
  return CreateFontIndirectW(&logFont);
}

} // namespace pfw
