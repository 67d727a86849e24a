#include "product/core/EditorFit.h"

#include "framework/core/EditorPixels.h"
#include "product/core/TarnwickConfig.h"

#include <algorithm>
#include <cmath>

namespace {

// The most whole units whose pixels fit into `pixels`.
int MostUnitsWithin(int pixels, float platformScale)
{
  int units = static_cast<int>(pixels / static_cast<double>(platformScale)) + 2;
  while (units > 0 && pfw::EditorPixelExtent(units, 1.0f, platformScale) > pixels)
    --units;
  return units;
}

// The scale that spans exactly `units` of an editor side `extent` units long. The nearest
// float to units / extent can fall a hair short, which would cost a whole unit.
float ScaleSpanning(int units, int extent)
{
  float scale = static_cast<float>(units / static_cast<double>(extent));
  while (static_cast<int>(extent * scale) < units)
    scale = std::nextafter(scale, 2.0f * scale + 1.0f);
  return scale;
}

} // namespace

EditorWindowSize EditorSizeAtScale(float scale, float platformScale)
{
  return EditorWindowSize{pfw::EditorPixelExtent(kEditorWidth, scale, platformScale),
                          pfw::EditorPixelExtent(kEditorHeight, scale, platformScale)};
}

std::optional<EditorFit> FitEditorToWindow(int width, int height, float platformScale)
{
  if (width <= 0 || height <= 0 || !std::isfinite(platformScale) || platformScale <= 0.0f)
    return std::nullopt;
  // Both sides are whole units and then whole pixels, so a scale taken straight from the
  // window's proportions loses a pixel on one side or the other, and the editor's own size
  // would fit smaller again. Of the scales that fill the width or the height exactly in
  // units, the larger one whose window fits is taken.
  float wanted = 0.0f;
  for (const float candidate : {ScaleSpanning(MostUnitsWithin(width, platformScale), kEditorWidth),
                                ScaleSpanning(MostUnitsWithin(height, platformScale), kEditorHeight)})
  {
    const EditorWindowSize size = EditorSizeAtScale(candidate, platformScale);
    if (size.width <= width && size.height <= height)
      wanted = std::max(wanted, candidate);
  }
  const float scale = std::clamp(wanted, kMinEditorScale, kMaxEditorScale);
  return EditorFit{scale, scale != wanted};
}
