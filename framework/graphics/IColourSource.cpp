#include "IColourSource.h"

#include <cmath>

namespace pfw::gui {

bool IColourSource::AddStop(const IArgbColour& colour, float offset)
{
  if (nStops >= kMaxStops)
    return false;
  stops[nStops].colour = colour;
  stops[nStops].offset = offset;
  ++nStops;
  return true;
}

IColourSource IColourSource::FromColour(const IArgbColour& colour)
{
  IColourSource source(kSolid);
  source.AddStop(colour, 0.f);
  return source;
}

IColourSource IColourSource::CreateLinearGradient(float x1, float y1, float x2, float y2,
                                                  std::initializer_list<IColourStop> stops)
{
  return CreateLinearGradient(x1, y1, x2, y2, stops.begin(), static_cast<int>(stops.size()));
}

IColourSource IColourSource::CreateLinearGradient(float x1, float y1, float x2, float y2, const IColourStop* stops,
                                                  int count)
{
  const double dx = x2 - x1;
  const double dy = y2 - y1;
  const double length = std::sqrt(dx * dx + dy * dy);
  if (!(length > 0.0) || !std::isfinite(length))
    return FromColour(count > 0 ? stops[count - 1].colour : IArgbColour());

  IColourSource source(kLinear);
  const double angle = std::atan2(dx, dy);
  const float m = static_cast<float>(std::cos(angle) / length);
  const float l = static_cast<float>(std::sin(angle) / length);
  source.transform = ITransform2D(m, l, -l, m, -(x1 * m - y1 * l), -(y1 * m + x1 * l));
  for (int i = 0; i < count; ++i)
    source.AddStop(stops[i].colour, stops[i].offset);
  return source;
}

} // namespace pfw::gui
