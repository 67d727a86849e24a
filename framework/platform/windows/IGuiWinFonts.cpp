// The editor's fonts on Windows: system families, and font bytes installed in the process.

#include "IGuiWin.h"

#include "PlatformFontLoading.h"

namespace pfw::gui {

std::unique_ptr<PlatformFont> IGuiWin::LoadPlatformFontByName(const char* /*fontId*/, const char* family, int style)
{
  return LoadSystemFont(family, style);
}

std::unique_ptr<PlatformFont> IGuiWin::LoadPlatformFontFromMemory(const char* fontId, const void* data, int size)
{
  return InstallFontFromMemory(fontId, data, size);
}

std::unique_ptr<PlatformFont> IGuiWin::LoadPlatformFontFromFileOrResource(const char* fontId,
                                                                          const char* fileNameOrResourceName)
{
  return InstallFontFromFileOrResource(fontId, fileNameOrResourceName, mModule);
}

void IGuiWin::CachePlatformFont(const char* fontId, const PlatformFont& font)
{
  CacheFontHandle(fontId, font);
}

} // namespace pfw::gui
