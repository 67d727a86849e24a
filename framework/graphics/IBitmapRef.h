#pragma once

#include "APIBitmap.h"

#include "framework/core/GrowString.h"

namespace pfw::gui {

// A handle to a loaded raster image; the back-end bitmap belongs to a cache. Width and
// height are in user-interface units. An empty ref has no bitmap.
struct IBitmapRef
{
  APIBitmap* bitmap = nullptr;
  int width = 0;
  int height = 0;
  int frames = 0;
  bool framesHorizontal = false;
  GrowString name;

  IBitmapRef() = default;
  IBitmapRef(APIBitmap* bitmap_, const char* name_, int frames_, bool horizontal)
    : bitmap(bitmap_), frames(frames_), framesHorizontal(horizontal), name(name_)
  {
    if (bitmap && bitmap->GetScale() > 0.f)
    {
      width = static_cast<int>(bitmap->GetWidth() / bitmap->GetScale());
      height = static_cast<int>(bitmap->GetHeight() / bitmap->GetScale());
    }
  }

  bool IsValid() const { return bitmap != nullptr; }
};

} // namespace pfw::gui
