#include "MemoryBitmap.h"

namespace pfw::gui {

MemoryBitmap::MemoryBitmap(HDC compatibleWith, int width, int height)
{
  BITMAPINFO info = {};
  info.bmiHeader.biSize = sizeof(info.bmiHeader);
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  mMemory = CreateCompatibleDC(compatibleWith);
  void* bits = nullptr;
  mBitmap = mMemory ? CreateDIBSection(compatibleWith, &info, DIB_RGB_COLORS, &bits, nullptr, 0) : nullptr;
  if (mBitmap && bits)
  {
    mPrevious = SelectObject(mMemory, mBitmap);
    mBits = bits;
  }
}

MemoryBitmap::~MemoryBitmap()
{
  if (mPrevious)
    SelectObject(mMemory, mPrevious);
  if (mBitmap)
    DeleteObject(mBitmap);
  if (mMemory)
    DeleteDC(mMemory);
}

} // namespace pfw::gui
