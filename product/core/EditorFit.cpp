#include "product/core/EditorFit.h"

#include "framework/core/EditorPixels.h"
#include "product/core/TarnwickConfig.h"

#include <algorithm>
#include <cmath>

namespace {

// The editor's extent in whole user-interface units at a drawing scale.
struct EditorUnits
{
  int wide, high;
};

EditorUnits UnitsAtScale(float scale)
{
  return EditorUnits{static_cast<int>(kEditorWidth * scale), static_cast<int>(kEditorHeight * scale)};
}

bool operator==(const EditorWindowSize& a, const EditorWindowSize& b)
{
  return a.width == b.width && a.height == b.height;
}

bool Holds(const EditorWindowSize& window, const EditorWindowSize& size)
{
  return size.width <= window.width && size.height <= window.height;
}

// The scale of the window's proportions: the editor's height or width fills the window,
// whichever leaves the whole editor inside it.
float ProportionalScale(const EditorWindowSize& window, float platformScale)
{
  const float scale =
    std::min(window.height / (platformScale * kEditorHeight), window.width / (platformScale * kEditorWidth));
  return std::clamp(scale, kMinEditorScale, kMaxEditorScale);
}

EditorWindowSize ProportionalSize(const EditorWindowSize& window, float platformScale)
{
  return EditorSizeAtScale(ProportionalScale(window, platformScale), platformScale);
}

bool FitsBackToItself(const EditorWindowSize& size, float platformScale)
{
  return ProportionalSize(size, platformScale) == size;
}

// Whether the proportions of some window give this size. A window taller than needed
// gives the size of its width alone, and the width that gives a size lies at most a few
// pixels beyond it; likewise a wider window and its height.
bool IsProportionalSizeOfSomeWindow(const EditorWindowSize& size, float platformScale)
{
  constexpr int kUnbounded = 1 << 20;
  const int pixelsPerUnit = static_cast<int>(std::ceil(platformScale));
  for (int beyond = 0; beyond <= pixelsPerUnit + 1; ++beyond)
    if (ProportionalSize({size.width + beyond, kUnbounded}, platformScale) == size ||
        ProportionalSize({kUnbounded, size.height + beyond}, platformScale) == size)
      return true;
  return false;
}

// The sizes the editor keeps when its own window is handed back to it. Every size the
// proportions give some window is one, so the editor is never smaller than they allow; so
// is a size whose own proportional size would shrink again, since in its window nothing
// smaller stays either.
bool IsKeptSize(const EditorWindowSize& size, float platformScale)
{
  return IsProportionalSizeOfSomeWindow(size, platformScale) ||
         !FitsBackToItself(ProportionalSize(size, platformScale), platformScale);
}

// The smallest scale that spans `units` of an editor side `extent` units long. The nearest
// float to units / extent can fall a hair short, which would cost a whole unit.
float ScaleSpanning(int units, int extent)
{
  float scale = static_cast<float>(units / static_cast<double>(extent));
  while (static_cast<int>(extent * scale) < units)
    scale = std::nextafter(scale, 2.0f * scale + 1.0f);
  return scale;
}

// The drawing scale of a kept size: the proportions' own where they give it back,
// otherwise the smallest scale that reaches its units.
float ScaleOfKeptSize(const EditorWindowSize& size, const EditorUnits& units, float platformScale)
{
  if (FitsBackToItself(size, platformScale))
    return ProportionalScale(size, platformScale);
  return std::max(ScaleSpanning(units.wide, kEditorWidth), ScaleSpanning(units.high, kEditorHeight));
}

struct KeptSize
{
  EditorWindowSize size;
  float scale;
};

// The largest kept size within the window, from the proportional size up. Both sides grow
// together, so the sizes between that one and the window differ from it by a unit or two.
KeptSize LargestKeptSizeWithin(const EditorWindowSize& window, float proportionalScale, float platformScale)
{
  constexpr int kUnitsBeyondProportional = 3;
  const EditorUnits proportional = UnitsAtScale(proportionalScale);
  const EditorWindowSize proportionalSize = EditorSizeAtScale(proportionalScale, platformScale);
  KeptSize largest{proportionalSize, ScaleOfKeptSize(proportionalSize, proportional, platformScale)};
  for (int wide = proportional.wide; wide <= proportional.wide + kUnitsBeyondProportional; ++wide)
    for (int high = proportional.high; high <= proportional.high + kUnitsBeyondProportional; ++high)
    {
      const float scale = std::max(ScaleSpanning(wide, kEditorWidth), ScaleSpanning(high, kEditorHeight));
      const EditorUnits reached = UnitsAtScale(scale);
      // Units that no single scale gives together.
      if (reached.wide != wide || reached.high != high || scale > kMaxEditorScale)
        continue;
      const EditorWindowSize size = EditorSizeAtScale(scale, platformScale);
      if (scale > largest.scale && Holds(window, size) && IsKeptSize(size, platformScale))
        largest = KeptSize{size, ScaleOfKeptSize(size, reached, platformScale)};
    }
  return largest;
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
  const EditorWindowSize window{width, height};
  const EditorWindowSize smallest = EditorSizeAtScale(kMinEditorScale, platformScale);
  const EditorWindowSize largest = EditorSizeAtScale(kMaxEditorScale, platformScale);
  if (!Holds(window, smallest))
    return EditorFit{kMinEditorScale, true};
  if (Holds(window, largest))
    return EditorFit{kMaxEditorScale, !(window == largest)};
  // Whole units and then whole pixels cost the proportional size a pixel on one side or the
  // other in most windows, and that size handed back would fit smaller again. Where it
  // does fit back, its scale stands, unless the window is itself a larger kept size.
  const float proportional = ProportionalScale(window, platformScale);
  const KeptSize kept = LargestKeptSizeWithin(window, proportional, platformScale);
  if (FitsBackToItself(EditorSizeAtScale(proportional, platformScale), platformScale) && !(kept.size == window))
    return EditorFit{proportional, false};
  return EditorFit{kept.scale, false};
}
