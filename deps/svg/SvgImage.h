#pragma once

// The parsed form of an SVG document: what the graphics framework draws. Every
// coordinate is final (all transforms, the view box and the unit conversion applied),
// and every outline is a list of cubic Bezier segments.

#include <cstdint>
#include <string>
#include <vector>

namespace svg {

struct Colour
{
  uint8_t r = 0, g = 0, b = 0, a = 255;
  bool operator==(const Colour& o) const { return r == o.r && g == o.g && b == o.b && a == o.a; }
  bool operator!=(const Colour& o) const { return !(*this == o); }
};

enum class PaintKind { None, Colour, LinearGradient, RadialGradient };
enum class Spread { Pad = 0, Reflect = 1, Repeat = 2 };
enum class LineCap { Butt = 0, Round = 1, Square = 2 };
enum class LineJoin { Miter = 0, Round = 1, Bevel = 2 };
enum class FillRule { NonZero = 0, EvenOdd = 1 };

struct GradientStop
{
  Colour colour; // alpha holds the stop opacity
  float offset = 0.f;
};

// transform maps image coordinates into the gradient's own space: a linear gradient runs
// from (0, 0) at offset 0 to (0, 1) at offset 1; a radial gradient is the unit circle about
// (0, 0), with its focal point at (fx, fy). The order is {xx, yx, xy, yy, tx, ty}:
// x' = xx x + xy y + tx, y' = yx x + yy y + ty.
struct Gradient
{
  float transform[6] = {1.f, 0.f, 0.f, 1.f, 0.f, 0.f};
  Spread spread = Spread::Pad;
  float fx = 0.f, fy = 0.f;
  std::vector<GradientStop> stops;
};

struct Paint
{
  PaintKind kind = PaintKind::None;
  Colour colour; // for PaintKind::Colour; alpha holds fill-opacity or stroke-opacity
  Gradient gradient; // for the gradient kinds
};

struct Bounds
{
  float left = 0.f, top = 0.f, right = 0.f, bottom = 0.f;
};

// One subpath: points[0] is the start, then groups of three points (two control points
// and an end point) per cubic segment. A closed path already ends at its start point.
struct Point
{
  float x = 0.f, y = 0.f;
};

struct Path
{
  std::vector<Point> points;
  bool closed = false;
  Bounds bounds; // of the curve itself, not of the control polygon
};

struct Shape
{
  std::string id;
  Paint fill;
  Paint stroke;
  float opacity = 1.f; // the element's opacity times that of its groups
  float strokeWidth = 1.f;
  float dashOffset = 0.f;
  std::vector<float> dashes; // empty: solid line
  LineCap lineCap = LineCap::Butt;
  LineJoin lineJoin = LineJoin::Miter;
  float miterLimit = 4.f;
  FillRule fillRule = FillRule::NonZero;
  bool visible = true;
  Bounds bounds; // of all paths
  std::vector<Path> paths;
};

struct Image
{
  float width = 0.f;
  float height = 0.f;
  std::vector<Shape> shapes; // in document (painting) order
};

} // namespace svg
