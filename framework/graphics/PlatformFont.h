#pragma once

namespace pfw::gui {

// A font made by the platform layer; the renderer reads its bytes through the platform's
// own derived class.
class PlatformFont
{
public:
  virtual ~PlatformFont() = default;
  virtual void* GetDescriptor() const { return nullptr; }
};

} // namespace pfw::gui
