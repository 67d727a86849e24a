#include "deps/svg/GradientPaint.h"

#include "deps/svg/DocumentIndex.h"
#include "deps/svg/StyleState.h"
#include "deps/svg/SvgNumber.h"
#include "deps/svg/UserSpace.h"
#include "deps/svg/XmlDocument.h"

#include <algorithm>
#include <cmath>

namespace svg {

namespace {

constexpr size_t kMaxGradientChain = 16;

} // namespace

Paint ResolveGradient(const XmlElement& gradient, const GradientContext& context, double paintOpacity,
                      const Matrix& transform, double fontSize, const BoundsD& local)
{
  // A gradient takes attributes and stops it lacks from the gradient it refers to.
  std::vector<const XmlElement*> chain;
  for (const XmlElement* g = &gradient; g && chain.size() < kMaxGradientChain;)
  {
    if (std::find(chain.begin(), chain.end(), g) != chain.end())
      break;
    chain.push_back(g);
    g = context.index.Referenced(*g);
    if (g && g->name != "linearGradient" && g->name != "radialGradient")
      g = nullptr;
  }
  auto attribute = [&](const char* name) -> const std::string* {
    for (const XmlElement* g : chain)
    {
      if (const std::string* value = g->Find(name))
        return value;
    }
    return nullptr;
  };

  std::vector<GradientStop> stops;
  for (const XmlElement* g : chain)
  {
    for (const auto& child : g->children)
    {
      if (child->name != "stop")
        continue;
      StyleState stopState;
      LocalState stopLocal;
      ApplyElementProperties(*child, context.styles, context.space, stopState, stopLocal);
      GradientStop stop;
      stop.colour = stopLocal.stopCurrentColour ? stopState.colour : stopLocal.stopColour;
      stop.colour.a = AlphaByte(stop.colour.a / 255.0 * stopLocal.stopOpacity * paintOpacity);
      Length offset;
      double value = 0.0;
      if (const std::string* text = child->Find("offset"))
      {
        if (ParseLength(*text, offset) && (offset.unit == LengthUnit::None || offset.unit == LengthUnit::Percent))
          value = offset.unit == LengthUnit::Percent ? offset.value / 100.0 : offset.value;
      }
      value = std::min(1.0, std::max(0.0, value));
      if (!stops.empty())
        value = std::max(value, static_cast<double>(stops.back().offset)); // offsets never go back
      stop.offset = static_cast<float>(value);
      stops.push_back(stop);
    }
    if (!stops.empty())
      break;
  }

  Paint paint;
  if (stops.empty())
    return paint;
  auto solidOfLastStop = [&]() {
    Paint solid;
    solid.kind = PaintKind::Colour;
    solid.colour = stops.back().colour;
    return solid;
  };
  if (stops.size() == 1)
    return solidOfLastStop();

  const std::string* unitsText = attribute("gradientUnits");
  const bool boundingBox = !(unitsText && Trim(*unitsText) == "userSpaceOnUse");
  auto coordinate = [&](const char* name, double fallbackFraction, Axis axis, bool* present = nullptr) {
    const std::string* text = attribute(name);
    Length length;
    const bool valid = text && ParseLength(*text, length);
    if (present)
      *present = valid;
    if (!valid)
    {
      length.value = fallbackFraction * 100.0;
      length.unit = LengthUnit::Percent;
    }
    if (boundingBox && (length.unit == LengthUnit::Percent || length.unit == LengthUnit::None || length.unit == LengthUnit::Px))
      return length.unit == LengthUnit::Percent ? length.value / 100.0 : length.value;
    return context.space.ToUser(length, axis, fontSize);
  };

  Matrix units;
  if (boundingBox)
  {
    const double w = local.right - local.left;
    const double h = local.bottom - local.top;
    if (!(w > 0.0 && h > 0.0))
      return Paint{}; // a box with no area has no gradient space
    units = {w, 0.0, 0.0, h, local.left, local.top};
  }
  Matrix gradientTransform;
  if (const std::string* text = attribute("gradientTransform"))
    ParseTransformList(*text, gradientTransform);
  if (const std::string* spread = attribute("spreadMethod"))
  {
    const std::string value = Trim(*spread);
    if (value == "reflect") paint.gradient.spread = Spread::Reflect;
    else if (value == "repeat") paint.gradient.spread = Spread::Repeat;
  }

  Matrix canonical;
  if (gradient.name == "linearGradient")
  {
    const double x1 = coordinate("x1", 0.0, Axis::X);
    const double y1 = coordinate("y1", 0.0, Axis::Y);
    const double x2 = coordinate("x2", 1.0, Axis::X);
    const double y2 = coordinate("y2", 0.0, Axis::Y);
    const double dx = x2 - x1, dy = y2 - y1;
    if (dx == 0.0 && dy == 0.0)
      return solidOfLastStop(); // a gradient of no length shows its last colour
    paint.kind = PaintKind::LinearGradient;
    canonical = {dy, -dx, dx, dy, x1, y1};
  }
  else
  {
    const double cx = coordinate("cx", 0.5, Axis::X);
    const double cy = coordinate("cy", 0.5, Axis::Y);
    const double r = coordinate("r", 0.5, Axis::Diagonal);
    bool hasFx = false, hasFy = false;
    const double fx = coordinate("fx", 0.5, Axis::X, &hasFx);
    const double fy = coordinate("fy", 0.5, Axis::Y, &hasFy);
    if (!(r > 0.0))
      return solidOfLastStop();
    paint.kind = PaintKind::RadialGradient;
    canonical = {r, 0.0, 0.0, r, cx, cy};
    paint.gradient.fx = static_cast<float>(((hasFx ? fx : cx) - cx) / r);
    paint.gradient.fy = static_cast<float>(((hasFy ? fy : cy) - cy) / r);
  }
  const Matrix forward = transform * units * gradientTransform * canonical;
  Matrix inverse;
  if (!forward.Invert(inverse))
    return solidOfLastStop();
  const double values[6] = {inverse.a, inverse.b, inverse.c, inverse.d, inverse.e, inverse.f};
  for (int i = 0; i < 6; ++i)
  {
    paint.gradient.transform[i] = static_cast<float>(values[i]);
    if (!std::isfinite(paint.gradient.transform[i]))
      return solidOfLastStop();
  }
  paint.gradient.stops = std::move(stops);
  return paint;
}

} // namespace svg
