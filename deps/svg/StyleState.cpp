#include "deps/svg/StyleState.h"

#include "deps/svg/StyleSheet.h"
#include "deps/svg/SvgColour.h"
#include "deps/svg/SvgNumber.h"
#include "deps/svg/UserSpace.h"
#include "deps/svg/XmlDocument.h"

#include <algorithm>
#include <cmath>

namespace svg {

namespace {

bool ParseOpacity(const std::string& text, double& value)
{
  Length length;
  if (!ParseLength(text, length) || (length.unit != LengthUnit::None && length.unit != LengthUnit::Percent))
    return false;
  double v = length.unit == LengthUnit::Percent ? length.value / 100.0 : length.value;
  value = std::min(1.0, std::max(0.0, v));
  return true;
}

bool ParsePaint(const std::string& text, PaintSpec& paint)
{
  const std::string value = Trim(text);
  PaintSpec result;
  if (value == "none")
    result.kind = PaintSpec::Kind::None;
  else if (value == "currentColor")
    result.kind = PaintSpec::Kind::CurrentColour;
  else if (value.compare(0, 4, "url(") == 0)
  {
    const size_t close = value.find(')');
    if (close == std::string::npos)
      return false;
    std::string reference = Trim(value.substr(4, close - 4));
    if (reference.size() >= 2 && (reference[0] == '"' || reference[0] == '\'') && reference.back() == reference[0])
      reference = reference.substr(1, reference.size() - 2);
    if (reference.empty() || reference[0] != '#')
      return false;
    result.kind = PaintSpec::Kind::Url;
    result.url = reference.substr(1);
    const std::string fallback = Trim(value.substr(close + 1));
    if (fallback == "currentColor")
      result.fallbackKind = PaintSpec::Kind::CurrentColour;
    else if (!fallback.empty() && fallback != "none" && ParseColour(fallback, result.fallbackColour))
      result.fallbackKind = PaintSpec::Kind::Colour;
  }
  else
  {
    if (!ParseColour(value, result.colour))
      return false;
    result.kind = PaintSpec::Kind::Colour;
  }
  paint = result;
  return true;
}

bool IsSpaceChar(char c)
{
  return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

bool ApplyProperty(const std::string& name, const std::string& rawValue, const UserSpace& space, StyleState& state,
                   LocalState& local, double parentFontSize)
{
  const std::string value = Trim(rawValue);
  if (value == "inherit")
    return true; // the state already holds the parent's value
  Length length;
  double number = 0.0;
  if (name == "fill") return ParsePaint(value, state.fill);
  if (name == "stroke") return ParsePaint(value, state.stroke);
  if (name == "fill-opacity") return ParseOpacity(value, state.fillOpacity);
  if (name == "stroke-opacity") return ParseOpacity(value, state.strokeOpacity);
  if (name == "opacity") return ParseOpacity(value, local.opacity);
  if (name == "stop-opacity") return ParseOpacity(value, local.stopOpacity);
  if (name == "stroke-width")
  {
    if (!ParseLength(value, length) || length.value < 0.0)
      return false;
    state.strokeWidth = space.ToUser(length, Axis::Diagonal, state.fontSize);
    return true;
  }
  if (name == "stroke-miterlimit")
  {
    if (!ParseNumber(value, number) || number < 1.0)
      return false;
    state.miterLimit = number;
    return true;
  }
  if (name == "stroke-linecap")
  {
    if (value == "butt") state.lineCap = LineCap::Butt;
    else if (value == "round") state.lineCap = LineCap::Round;
    else if (value == "square") state.lineCap = LineCap::Square;
    else return false;
    return true;
  }
  if (name == "stroke-linejoin")
  {
    if (value == "miter" || value == "miter-clip" || value == "arcs") state.lineJoin = LineJoin::Miter;
    else if (value == "round") state.lineJoin = LineJoin::Round;
    else if (value == "bevel") state.lineJoin = LineJoin::Bevel;
    else return false;
    return true;
  }
  if (name == "fill-rule")
  {
    if (value == "nonzero") state.fillRule = FillRule::NonZero;
    else if (value == "evenodd") state.fillRule = FillRule::EvenOdd;
    else return false;
    return true;
  }
  if (name == "stroke-dasharray")
  {
    std::vector<double> dashes;
    if (value != "none")
    {
      const char* p = value.c_str();
      const char* end = p + value.size();
      double total = 0.0;
      while (p < end)
      {
        const char* start = p;
        while (p < end && *p != ',' && !IsSpaceChar(*p))
          ++p;
        if (!ParseLength(std::string(start, p), length) || length.value < 0.0)
          return false;
        dashes.push_back(space.ToUser(length, Axis::Diagonal, state.fontSize));
        total += dashes.back();
        SkipSeparators(p, end);
      }
      if (!(total > 0.0))
        dashes.clear(); // nothing but gaps: a solid line
      else if (dashes.size() % 2 == 1)
        dashes.insert(dashes.end(), dashes.begin(), dashes.end());
    }
    state.dashes = dashes;
    return true;
  }
  if (name == "stroke-dashoffset")
  {
    if (!ParseLength(value, length))
      return false;
    state.dashOffset = space.ToUser(length, Axis::Diagonal, state.fontSize);
    return true;
  }
  if (name == "visibility")
  {
    if (value == "visible") state.visible = true;
    else if (value == "hidden" || value == "collapse") state.visible = false;
    else return false;
    return true;
  }
  if (name == "display")
  {
    local.displayNone = value == "none";
    return true;
  }
  if (name == "color") return ParseColour(value, state.colour);
  if (name == "stop-color")
  {
    if (value == "currentColor")
    {
      local.stopCurrentColour = true;
      return true;
    }
    local.stopCurrentColour = false;
    return ParseColour(value, local.stopColour);
  }
  if (name == "font-size")
  {
    if (!ParseLength(value, length) || length.value < 0.0)
      return false;
    // Percentages and em are relative to the parent's font size.
    state.fontSize = length.unit == LengthUnit::Percent ? parentFontSize * length.value / 100.0
                                                        : space.ToUser(length, Axis::Diagonal, parentFontSize);
    return true;
  }
  return false;
}

} // namespace

void ApplyElementProperties(const XmlElement& element, const StyleSheet& styles, const UserSpace& space,
                            StyleState& state, LocalState& local)
{
  const double parentFontSize = state.fontSize;
  Declarations declarations;
  for (const auto& attribute : element.attributes)
    declarations.push_back(attribute);
  const Declarations matched = styles.Match(element);
  declarations.insert(declarations.end(), matched.begin(), matched.end());
  if (const std::string* style = element.Find("style"))
  {
    const Declarations inline_ = ParseDeclarations(*style);
    declarations.insert(declarations.end(), inline_.begin(), inline_.end());
  }
  // The font size goes first, since lengths in em depend on it.
  for (const auto& declaration : declarations)
  {
    if (declaration.first == "font-size")
      ApplyProperty(declaration.first, declaration.second, space, state, local, parentFontSize);
  }
  for (const auto& declaration : declarations)
  {
    if (declaration.first != "font-size")
      ApplyProperty(declaration.first, declaration.second, space, state, local, parentFontSize);
  }
}

uint8_t AlphaByte(double alpha)
{
  return static_cast<uint8_t>(std::lround(std::min(1.0, std::max(0.0, alpha)) * 255.0));
}

} // namespace svg
