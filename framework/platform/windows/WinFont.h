#pragma once

#include "framework/core/GrowString.h"
#include "framework/graphics/PlatformFont.h"

#include <windows.h>

namespace pfw {

// A Windows font: one found on the system by family name, or one made from font bytes
// installed privately in the process. It owns its HFONT, and reads its file's bytes
// back through GDI for the renderer.
class WinFont : public gui::PlatformFont
{
public:
  WinFont(bool fromSystem, HFONT font, const char* styleName);
  ~WinFont() override;
  WinFont(const WinFont&) = delete;
  WinFont& operator=(const WinFont&) = delete;

  void* GetDescriptor() const override { return mFont; }
  std::unique_ptr<gui::FontData> GetFontData() const override;
  bool IsFromSystem() const { return mFromSystem; }
  const char* StyleName() const { return mStyleName.Get(); }

private:
  bool mFromSystem;
  HFONT mFont;
  GrowString mStyleName;
};

// A font of a family by face name; null when that family is not what the system would
// draw (not installed, when asked to check, or replaced by another family).
HFONT CreateFontByFaceName(const char* faceName, int weight, bool italic, bool underline, BYTE quality,
                           bool checkInstalled);

} // namespace pfw
