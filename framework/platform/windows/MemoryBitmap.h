#pragma once

#include <windows.h>

#include <cstdint>

namespace pfw::gui {

// A 32-bit DIB selected into a memory device context, to copy pixels out of windows and the
// screen: rows of blue, green, red and an unused byte, from the top.
class MemoryBitmap
{
public:
  // Compatible with the given device context; Valid() is false when it could not be made.
  MemoryBitmap(HDC compatibleWith, int width, int height);
  ~MemoryBitmap();
  MemoryBitmap(const MemoryBitmap&) = delete;
  MemoryBitmap& operator=(const MemoryBitmap&) = delete;

  bool Valid() const { return mBits != nullptr; }
  HDC DC() const { return mMemory; }
  // The rows, once GDI has finished drawing into them.
  const uint8_t* Bits() const
  {
    GdiFlush();
    return static_cast<const uint8_t*>(mBits);
  }

private:
  HDC mMemory = nullptr;
  HBITMAP mBitmap = nullptr;
  HGDIOBJ mPrevious = nullptr;
  void* mBits = nullptr;
};

} // namespace pfw::gui
