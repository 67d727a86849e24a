#include "IGui.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace pfw::gui {

namespace {
struct Segment
{
  double x0, y0, x1, y1;
};

// A closed outline of straight segments; each cubic is flattened into 8 lines, and the
// closing edge is always included (fills close their outlines).
void Flatten(const svg::Path& path, std::vector<Segment>& segments)
{
  const std::vector<svg::Point>& p = path.points;
  if (p.empty())
    return;
  double lastX = p[0].x;
  double lastY = p[0].y;
  for (size_t i = 1; i + 2 < p.size(); i += 3)
  {
    const double x0 = lastX, y0 = lastY;
    for (int k = 1; k <= 8; ++k)
    {
      const double t = k / 8.0;
      const double u = 1.0 - t;
      const double x = u * u * u * x0 + 3 * u * u * t * p[i].x + 3 * u * t * t * p[i + 1].x + t * t * t * p[i + 2].x;
      const double y = u * u * u * y0 + 3 * u * u * t * p[i].y + 3 * u * t * t * p[i + 1].y + t * t * t * p[i + 2].y;
      segments.push_back({lastX, lastY, x, y});
      lastX = x;
      lastY = y;
    }
  }
  if (lastX != p[0].x || lastY != p[0].y)
    segments.push_back({lastX, lastY, p[0].x, p[0].y});
}

// Signed crossings of a leftward ray from (x, y): the winding number of the point.
int WindingAt(const std::vector<Segment>& segments, double x, double y)
{
  int winding = 0;
  for (const Segment& s : segments)
  {
    if (s.y0 <= y && s.y1 > y)
    {
      const double cx = s.x0 + (y - s.y0) * (s.x1 - s.x0) / (s.y1 - s.y0);
      if (cx < x)
        ++winding;
    }
    else if (s.y1 <= y && s.y0 > y)
    {
      const double cx = s.x0 + (y - s.y0) * (s.x1 - s.x0) / (s.y1 - s.y0);
      if (cx < x)
        --winding;
    }
  }
  return winding;
}

// The direction of a closed outline: +1 or -1 by the sign of its area (y down); inside
// the outline WindingAt counts minus this.
int Orientation(const std::vector<Segment>& segments)
{
  double area = 0.0;
  for (const Segment& s : segments)
    area += s.x0 * s.y1 - s.x1 * s.y0;
  return area >= 0.0 ? 1 : -1;
}

int ClampByte(double v)
{
  return static_cast<int>(std::clamp(std::round(v), 0.0, 255.0));
}
} // namespace

IColourSource IGui::SvgPaintToColourSource(const svg::Paint& paint, float opacity)
{
  const double o = std::clamp(static_cast<double>(opacity), 0.0, 1.0);
  switch (paint.kind)
  {
  case svg::PaintKind::Colour:
    return IColourSource::FromColour(
      IArgbColour(ClampByte(o * paint.colour.a), paint.colour.r, paint.colour.g, paint.colour.b));
  case svg::PaintKind::LinearGradient:
  case svg::PaintKind::RadialGradient:
  {
    IColourSource source(paint.kind == svg::PaintKind::LinearGradient ? IColourSource::kLinear
                                                                       : IColourSource::kRadial);
    source.extend = static_cast<int>(paint.gradient.spread) + 1;
    for (const svg::GradientStop& stop : paint.gradient.stops)
      source.AddStop(IArgbColour(ClampByte(o * stop.colour.a), stop.colour.r, stop.colour.g, stop.colour.b),
                     stop.offset);
    const float* t = paint.gradient.transform;
    source.transform = ITransform2D(t[0], t[1], t[2], t[3], t[4], t[5]);
    return source;
  }
  default:
    return IColourSource::FromColour(IArgbColour(ClampByte(o * 255.0), 0, 0, 0));
  }
}

void IGui::RenderSVG(const svg::Image& image, const IArgbColour* strokeColour, const IArgbColour* fillColour,
                     const IBlendMode* blend)
{
  for (const svg::Shape& shape : image.shapes)
  {
    if (!shape.visible)
      continue;
    const bool hasFill = shape.fill.kind != svg::PaintKind::None;
    const bool hasStroke = shape.stroke.kind != svg::PaintKind::None;

    std::vector<std::vector<Segment>> outlines(shape.paths.size());
    for (size_t i = 0; i < shape.paths.size(); ++i)
      Flatten(shape.paths[i], outlines[i]);

    PathClear();
    for (size_t i = 0; i < shape.paths.size(); ++i)
    {
      const svg::Path& path = shape.paths[i];
      if (path.points.empty())
        continue;
      PathMoveTo(path.points[0].x, path.points[0].y);
      for (size_t k = 1; k + 2 < path.points.size(); k += 3)
        PathCubicTo(path.points[k].x, path.points[k].y, path.points[k + 1].x, path.points[k + 1].y,
                    path.points[k + 2].x, path.points[k + 2].y);
      if (path.closed)
        PathClose();

      // Whether this outline is a hole: the fill of the other outlines at its start point,
      // decided by the shape's own fill rule.
      std::vector<Segment> others;
      for (size_t j = 0; j < outlines.size(); ++j)
        if (j != i)
          others.insert(others.end(), outlines[j].begin(), outlines[j].end());
      const double x = path.points[0].x;
      const double y = path.points[0].y;
      const int around = WindingAt(others, x, y);
      bool hole;
      if (shape.fillRule == svg::FillRule::EvenOdd)
        hole = (around % 2) != 0;
      else
        hole = around != 0 && around == Orientation(outlines[i]);
      PathSetWinding(hole);
    }

    if (hasFill)
    {
      const IColourSource source =
        fillColour ? IColourSource::FromColour(*fillColour) : SvgPaintToColourSource(shape.fill, shape.opacity);
      PathFill(source, IFillRule(IFillRule::kPreserveWinding, hasStroke), blend);
    }
    if (hasStroke)
    {
      IStrokeStyle style;
      style.cap = static_cast<int>(shape.lineCap);
      style.join = static_cast<int>(shape.lineJoin);
      style.miterLimit = shape.miterLimit;
      style.nDashes = std::min(static_cast<int>(shape.dashes.size()), IStrokeStyle::kMaxDashes);
      for (int d = 0; d < style.nDashes; ++d)
        style.dashes[d] = shape.dashes[static_cast<size_t>(d)];
      style.dashOffset = shape.dashOffset;
      const IColourSource source = strokeColour ? IColourSource::FromColour(*strokeColour)
                                                : SvgPaintToColourSource(shape.stroke, shape.opacity);
      PathStroke(source, shape.strokeWidth, style, blend);
    }
  }
}

} // namespace pfw::gui
