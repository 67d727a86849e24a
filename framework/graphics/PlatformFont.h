#pragma once

#include "FontData.h"

#include <memory>

namespace pfw::gui {

// A font made by the platform layer: its platform handle, and the bytes of its file
// that the renderer registers.
class PlatformFont
{
public:
  virtual ~PlatformFont() = default;
  virtual void* GetDescriptor() const { return nullptr; }
  // An empty record (no bytes, face -1) unless the platform can read the font's file.
  virtual std::unique_ptr<FontData> GetFontData() const { return std::make_unique<FontData>(); }
};

} // namespace pfw::gui
