// libFuzzer entry for the SVG reader: any bytes must give either no image or one whose
// numbers are all finite and whose outlines are well formed; never a crash or a hang.

#include "deps/svg/SvgParser.h"

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>

namespace {

void Require(bool condition)
{
  if (!condition)
    std::abort();
}

void CheckImage(const svg::Image& image)
{
  Require(image.width > 0.f && std::isfinite(image.width));
  Require(image.height > 0.f && std::isfinite(image.height));
  for (const svg::Shape& shape : image.shapes)
  {
    Require(!shape.paths.empty());
    Require(std::isfinite(shape.strokeWidth) && shape.strokeWidth >= 0.f);
    Require(shape.opacity >= 0.f && shape.opacity <= 1.f);
    for (float dash : shape.dashes)
      Require(std::isfinite(dash) && dash >= 0.f);
    for (const svg::Path& path : shape.paths)
    {
      Require(path.points.size() >= 4 && path.points.size() % 3 == 1);
      for (const svg::Point& p : path.points)
        Require(std::isfinite(p.x) && std::isfinite(p.y));
    }
    for (const svg::Paint* paint : {&shape.fill, &shape.stroke})
    {
      if (paint->kind == svg::PaintKind::LinearGradient || paint->kind == svg::PaintKind::RadialGradient)
      {
        Require(paint->gradient.stops.size() >= 2);
        for (float value : paint->gradient.transform)
          Require(std::isfinite(value));
      }
    }
  }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
  // The length picks the output unit, so the unit conversions are reached too.
  static const char* const kUnits[] = {"px", "mm", "in"};
  static const float kDpi[] = {96.f, 72.f, 300.f};
  const auto image = svg::ParseImage(reinterpret_cast<const char*>(data), size, kUnits[size % 3], kDpi[size % 3]);
  if (image)
    CheckImage(*image);
  return 0;
}
