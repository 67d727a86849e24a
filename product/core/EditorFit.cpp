#include "product/core/EditorFit.h"

#include "product/core/TarnwickConfig.h"

#include <algorithm>
#include <cmath>

std::optional<EditorFit> FitEditorToWindow(int width, int height, float platformScale)
{
  if (width <= 0 || height <= 0 || !std::isfinite(platformScale) || platformScale <= 0.0f)
    return std::nullopt;
  const double byHeight = height / (static_cast<double>(platformScale) * kEditorHeight);
  const double byWidth = width / (static_cast<double>(platformScale) * kEditorWidth);
  const float wanted = static_cast<float>(std::min(byHeight, byWidth));
  const float scale = std::clamp(wanted, kMinEditorScale, kMaxEditorScale);
  return EditorFit{scale, scale != wanted};
}
