#include "deps/svg/ShapeOutline.h"

#include "deps/svg/PathBuilder.h"
#include "deps/svg/PathData.h"
#include "deps/svg/SvgNumber.h"
#include "deps/svg/UserSpace.h"
#include "deps/svg/XmlDocument.h"

#include <algorithm>

namespace svg {

bool IsShapeElement(const std::string& name)
{
  return name == "path" || name == "rect" || name == "circle" || name == "ellipse" || name == "line"
         || name == "polyline" || name == "polygon";
}

bool BuildShapeOutline(const XmlElement& element, const UserSpace& space, double fontSize, PathBuilder& builder)
{
  const std::string& name = element.name;
  if (name == "path")
  {
    const std::string* data = element.Find("d");
    if (data)
      ParsePathData(*data, builder);
    return data != nullptr;
  }
  if (name == "rect")
  {
    const double x = space.LengthAttribute(element, "x", Axis::X, fontSize, 0.0);
    const double y = space.LengthAttribute(element, "y", Axis::Y, fontSize, 0.0);
    const double w = space.LengthAttribute(element, "width", Axis::X, fontSize, 0.0);
    const double h = space.LengthAttribute(element, "height", Axis::Y, fontSize, 0.0);
    if (!(w > 0.0 && h > 0.0))
      return false;
    bool hasRx = false, hasRy = false;
    double rx = space.LengthAttribute(element, "rx", Axis::X, fontSize, 0.0, &hasRx);
    double ry = space.LengthAttribute(element, "ry", Axis::Y, fontSize, 0.0, &hasRy);
    if (hasRx && rx < 0.0) hasRx = false;
    if (hasRy && ry < 0.0) hasRy = false;
    if (!hasRx) rx = hasRy ? ry : 0.0;
    if (!hasRy) ry = hasRx ? rx : 0.0;
    rx = std::min(rx, w / 2.0);
    ry = std::min(ry, h / 2.0);
    if (rx <= 0.0 || ry <= 0.0)
    {
      builder.MoveTo(x, y);
      builder.LineTo(x + w, y);
      builder.LineTo(x + w, y + h);
      builder.LineTo(x, y + h);
      builder.Close();
      return true;
    }
    // Each corner is a quarter ellipse; kappa places the control points of its cubic.
    const double k = 0.5522847498307936;
    const double r = x + w, b = y + h;
    builder.MoveTo(x + rx, y);
    builder.LineTo(r - rx, y);
    builder.CubicTo(r - rx + rx * k, y, r, y + ry - ry * k, r, y + ry);
    builder.LineTo(r, b - ry);
    builder.CubicTo(r, b - ry + ry * k, r - rx + rx * k, b, r - rx, b);
    builder.LineTo(x + rx, b);
    builder.CubicTo(x + rx - rx * k, b, x, b - ry + ry * k, x, b - ry);
    builder.LineTo(x, y + ry);
    builder.CubicTo(x, y + ry - ry * k, x + rx - rx * k, y, x + rx, y);
    builder.Close();
    return true;
  }
  if (name == "circle" || name == "ellipse")
  {
    const double cx = space.LengthAttribute(element, "cx", Axis::X, fontSize, 0.0);
    const double cy = space.LengthAttribute(element, "cy", Axis::Y, fontSize, 0.0);
    double rx, ry;
    if (name == "circle")
      rx = ry = space.LengthAttribute(element, "r", Axis::Diagonal, fontSize, 0.0);
    else
    {
      rx = space.LengthAttribute(element, "rx", Axis::X, fontSize, 0.0);
      ry = space.LengthAttribute(element, "ry", Axis::Y, fontSize, 0.0);
    }
    if (!(rx > 0.0 && ry > 0.0))
      return false;
    const double k = 0.5522847498307936;
    builder.MoveTo(cx + rx, cy);
    builder.CubicTo(cx + rx, cy + ry * k, cx + rx * k, cy + ry, cx, cy + ry);
    builder.CubicTo(cx - rx * k, cy + ry, cx - rx, cy + ry * k, cx - rx, cy);
    builder.CubicTo(cx - rx, cy - ry * k, cx - rx * k, cy - ry, cx, cy - ry);
    builder.CubicTo(cx + rx * k, cy - ry, cx + rx, cy - ry * k, cx + rx, cy);
    builder.Close();
    return true;
  }
  if (name == "line")
  {
    builder.MoveTo(space.LengthAttribute(element, "x1", Axis::X, fontSize, 0.0), space.LengthAttribute(element, "y1", Axis::Y, fontSize, 0.0));
    builder.LineTo(space.LengthAttribute(element, "x2", Axis::X, fontSize, 0.0), space.LengthAttribute(element, "y2", Axis::Y, fontSize, 0.0));
    return true;
  }
  // polyline, polygon: pairs up to the first error; an odd number at the end is ignored.
  const std::string* points = element.Find("points");
  if (!points)
    return false;
  const char* p = points->c_str();
  const char* end = p + points->size();
  SkipSpaces(p, end);
  bool first = true;
  double x = 0.0, y = 0.0;
  while (p < end && ScanNumber(p, end, x))
  {
    SkipSeparators(p, end);
    if (!ScanNumber(p, end, y))
      break;
    SkipSeparators(p, end);
    if (first)
      builder.MoveTo(x, y);
    else
      builder.LineTo(x, y);
    first = false;
  }
  if (name == "polygon")
    builder.Close();
  return true;
}

} // namespace svg
