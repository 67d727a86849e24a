#pragma once

#include "APIBitmap.h"
#include "IColourSource.h"
#include "IRectF.h"

#include <memory>

namespace pfw::gui {

class IControl;

// An off-screen drawing target: a back-end bitmap and where it sits.
struct ILayer
{
  ILayer(std::unique_ptr<APIBitmap> bitmap_, const IRectF& rect_, IControl* control_, const IRectF& controlRect_)
    : bitmap(std::move(bitmap_)), control(control_), controlRect(controlRect_), rect(rect_)
  {
  }

  std::unique_ptr<APIBitmap> bitmap;
  IControl* control = nullptr;
  IRectF controlRect;
  IRectF rect; // pixel aligned
  bool invalidated = false;
};

// A drop shadow applied to a layer's alpha.
struct IShadow
{
  IColourSource pattern = IColourSource::FromColour(IArgbColour(255, 0, 0, 0));
  float blurSize = 0.f;
  float xOffset = 0.f;
  float yOffset = 0.f;
  float opacity = 1.f;
  bool drawForeground = true;
};

} // namespace pfw::gui
