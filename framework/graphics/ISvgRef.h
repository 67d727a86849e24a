#pragma once

#include "deps/svg/SvgImage.h"

#include <memory>

namespace pfw::gui {

// One parsed SVG document as the SVG cache keeps it.
struct SVGHolder
{
  explicit SVGHolder(std::unique_ptr<svg::Image> image_)
    : image(std::move(image_))
  {
  }
  std::unique_ptr<svg::Image> image;
};

// A handle to a parsed SVG document owned by the SVG cache; null when loading failed.
struct ISvgRef
{
  const svg::Image* image = nullptr;

  bool IsValid() const { return image != nullptr; }
  float W() const { return image ? image->width : 0.f; }
  float H() const { return image ? image->height : 0.f; }
};

} // namespace pfw::gui
