#pragma once

// The styling properties of SVG elements: what an element inherits from its parent, what
// belongs to it alone, and how presentation attributes, style sheet rules and the style
// attribute set them.

#include "deps/svg/SvgImage.h"
#include "deps/svg/SvgMatrix.h"

#include <string>
#include <vector>

namespace svg {

class StyleSheet;
struct UserSpace;
struct XmlElement;

// A paint as written; it becomes a Paint once the shape's bounds and transform are known.
struct PaintSpec
{
  enum class Kind { None, Colour, CurrentColour, Url };
  Kind kind = Kind::None;
  Colour colour;
  std::string url;
  Kind fallbackKind = Kind::None; // for Url: what to use when the reference is missing
  Colour fallbackColour;
};

// The properties that pass from an element to its content.
struct StyleState
{
  Matrix transform;
  PaintSpec fill{PaintSpec::Kind::Colour, Colour{0, 0, 0, 255}, {}, PaintSpec::Kind::None, {}};
  PaintSpec stroke;
  double fillOpacity = 1.0;
  double strokeOpacity = 1.0;
  double opacity = 1.0; // product of this element's and its groups' opacity
  double strokeWidth = 1.0;
  double miterLimit = 4.0;
  LineCap lineCap = LineCap::Butt;
  LineJoin lineJoin = LineJoin::Miter;
  FillRule fillRule = FillRule::NonZero;
  std::vector<double> dashes;
  double dashOffset = 0.0;
  bool visible = true;
  Colour colour{0, 0, 0, 255};
  double fontSize = 16.0;
};

// Properties that belong to one element only.
struct LocalState
{
  double opacity = 1.0;
  bool displayNone = false;
  Colour stopColour{0, 0, 0, 255};
  bool stopCurrentColour = false;
  double stopOpacity = 1.0;
};

// Presentation attributes first, then style sheet rules, then the style attribute, so the
// later sources win; values that are invalid or "inherit" leave the state as it was.
void ApplyElementProperties(const XmlElement& element, const StyleSheet& styles, const UserSpace& space,
                            StyleState& state, LocalState& local);

// An alpha in 0..1 as a byte, clamped.
uint8_t AlphaByte(double alpha);

} // namespace svg
