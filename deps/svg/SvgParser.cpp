#include "deps/svg/SvgParser.h"

#include "deps/svg/PathBuilder.h"
#include "deps/svg/PathData.h"
#include "deps/svg/StyleSheet.h"
#include "deps/svg/SvgColour.h"
#include "deps/svg/SvgMatrix.h"
#include "deps/svg/SvgNumber.h"
#include "deps/svg/XmlDocument.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <map>

namespace svg {

namespace {

// Limits that keep hostile files (use chains that multiply, huge outlines) bounded in
// time and memory; what lies beyond them is left out of the image.
constexpr size_t kMaxPoints = size_t(1) << 20;
constexpr size_t kMaxVisits = 100000;
constexpr size_t kMaxUseDepth = 8;
constexpr size_t kMaxGradientChain = 16;
constexpr size_t kMaxOutlineText = size_t(1) << 24; // path data and point lists read, uses counted again

enum class Axis { X, Y, Diagonal };

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

uint8_t AlphaByte(double alpha)
{
  return static_cast<uint8_t>(std::lround(std::min(1.0, std::max(0.0, alpha)) * 255.0));
}

bool IsSpaceChar(char c)
{
  return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

class Converter
{
public:
  Converter(const XmlElement& root, const char* units, float dpi)
    : mRoot(root), mPxPerInch(std::isfinite(dpi) && dpi > 0.f ? dpi : 96.0)
  {
    mPxPerOutputUnit = PxPerUnit(units ? units : "px");
  }

  std::unique_ptr<Image> Run();

private:
  double PxPerUnit(const std::string& unit) const
  {
    if (unit == "pt") return mPxPerInch / 72.0;
    if (unit == "pc") return mPxPerInch / 6.0;
    if (unit == "mm") return mPxPerInch / 25.4;
    if (unit == "cm") return mPxPerInch / 2.54;
    if (unit == "in") return mPxPerInch;
    return 1.0;
  }

  double ToUser(const Length& length, Axis axis, double fontSize) const
  {
    switch (length.unit)
    {
      case LengthUnit::Pt: return length.value * PxPerUnit("pt");
      case LengthUnit::Pc: return length.value * PxPerUnit("pc");
      case LengthUnit::Mm: return length.value * PxPerUnit("mm");
      case LengthUnit::Cm: return length.value * PxPerUnit("cm");
      case LengthUnit::In: return length.value * PxPerUnit("in");
      case LengthUnit::Em: return length.value * fontSize;
      case LengthUnit::Ex: return length.value * fontSize / 2.0;
      case LengthUnit::Percent:
      {
        const double reference = axis == Axis::X   ? mViewportWidth
                                 : axis == Axis::Y ? mViewportHeight
                                                   : std::sqrt((mViewportWidth * mViewportWidth + mViewportHeight * mViewportHeight) / 2.0);
        return length.value / 100.0 * reference;
      }
      default: return length.value;
    }
  }

  double LengthAttribute(const XmlElement& element, const char* name, Axis axis, const StyleState& state,
                         double fallback, bool* present = nullptr) const
  {
    const std::string* text = element.Find(name);
    Length length;
    const bool valid = text && ParseLength(*text, length);
    if (present)
      *present = valid;
    return valid ? ToUser(length, axis, state.fontSize) : fallback;
  }

  const XmlElement* Lookup(const std::string& id) const
  {
    const auto found = mIds.find(id);
    return found == mIds.end() ? nullptr : found->second;
  }

  static const std::string* Href(const XmlElement& element)
  {
    const std::string* href = element.Find("xlink:href");
    if (!href)
      href = element.Find("href");
    return href && !href->empty() && (*href)[0] == '#' ? href : nullptr;
  }

  void CollectIds(const XmlElement& element);
  void CollectStyles(const XmlElement& element);
  bool ApplyProperty(const std::string& name, const std::string& value, StyleState& state, LocalState& local,
                     double parentFontSize) const;
  void ApplyProperties(const XmlElement& element, StyleState& state, LocalState& local) const;
  bool EnterElement(const XmlElement& element, const StyleState& parent, StyleState& state);
  void VisitChildren(const XmlElement& element, const StyleState& state);
  void Visit(const XmlElement& element, const StyleState& parent);
  void VisitUse(const XmlElement& element, const StyleState& state);
  bool BuildOutline(const XmlElement& element, const StyleState& state, PathBuilder& builder);
  void AddShape(const XmlElement& element, const StyleState& state, PathBuilder& builder);
  Paint ResolvePaint(const PaintSpec& spec, double paintOpacity, const StyleState& state, const BoundsD& local) const;
  Paint ResolveGradient(const XmlElement& gradient, double paintOpacity, const StyleState& state,
                        const BoundsD& local) const;
  bool SetViewport(Matrix& view, double& width, double& height);

  const XmlElement& mRoot;
  double mPxPerInch;
  double mPxPerOutputUnit = 1.0;
  double mViewportWidth = 0.0;
  double mViewportHeight = 0.0;
  std::map<std::string, const XmlElement*> mIds;
  StyleSheet mStyleSheet;
  std::unique_ptr<Image> mImage = std::make_unique<Image>();
  size_t mPointCount = 0;
  size_t mVisits = 0;
  size_t mDepth = 0;
  size_t mOutlineText = 0;
  std::vector<const XmlElement*> mUseStack;
};

void Converter::CollectIds(const XmlElement& element)
{
  if (const std::string* id = element.Find("id"))
    mIds.emplace(*id, &element); // the first element with an id wins
  for (const auto& child : element.children)
    CollectIds(*child);
}

void Converter::CollectStyles(const XmlElement& element)
{
  if (element.name == "style")
  {
    const std::string* type = element.Find("type");
    if (!type || *type == "text/css" || type->empty())
      mStyleSheet.Add(element.text);
    return;
  }
  for (const auto& child : element.children)
    CollectStyles(*child);
}

bool Converter::ApplyProperty(const std::string& name, const std::string& rawValue, StyleState& state,
                              LocalState& local, double parentFontSize) const
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
    state.strokeWidth = ToUser(length, Axis::Diagonal, state.fontSize);
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
        dashes.push_back(ToUser(length, Axis::Diagonal, state.fontSize));
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
    state.dashOffset = ToUser(length, Axis::Diagonal, state.fontSize);
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
                                                        : ToUser(length, Axis::Diagonal, parentFontSize);
    return true;
  }
  return false;
}

// Presentation attributes first, then style sheet rules, then the style attribute, so the
// later sources win. The font size goes first, since lengths in em depend on it.
void Converter::ApplyProperties(const XmlElement& element, StyleState& state, LocalState& local) const
{
  const double parentFontSize = state.fontSize;
  Declarations declarations;
  for (const auto& attribute : element.attributes)
    declarations.push_back(attribute);
  const Declarations matched = mStyleSheet.Match(element);
  declarations.insert(declarations.end(), matched.begin(), matched.end());
  if (const std::string* style = element.Find("style"))
  {
    const Declarations inline_ = ParseDeclarations(*style);
    declarations.insert(declarations.end(), inline_.begin(), inline_.end());
  }
  for (const auto& declaration : declarations)
  {
    if (declaration.first == "font-size")
      ApplyProperty(declaration.first, declaration.second, state, local, parentFontSize);
  }
  for (const auto& declaration : declarations)
  {
    if (declaration.first != "font-size")
      ApplyProperty(declaration.first, declaration.second, state, local, parentFontSize);
  }
}

bool Converter::EnterElement(const XmlElement& element, const StyleState& parent, StyleState& state)
{
  if (++mVisits > kMaxVisits || mPointCount >= kMaxPoints || mOutlineText >= kMaxOutlineText)
    return false;
  state = parent;
  LocalState local;
  ApplyProperties(element, state, local);
  if (local.displayNone)
    return false;
  state.opacity = parent.opacity * local.opacity;
  Matrix transform;
  if (const std::string* text = element.Find("transform"))
  {
    if (ParseTransformList(*text, transform))
      state.transform = parent.transform * transform;
  }
  return true;
}

void Converter::VisitChildren(const XmlElement& element, const StyleState& state)
{
  for (const auto& child : element.children)
    Visit(*child, state);
}

void Converter::Visit(const XmlElement& element, const StyleState& parent)
{
  const std::string& name = element.name;
  const bool group = name == "g" || name == "a" || name == "switch" || name == "svg";
  const bool shape = name == "path" || name == "rect" || name == "circle" || name == "ellipse" || name == "line"
                     || name == "polyline" || name == "polygon";
  if (!group && !shape && name != "use")
    return; // defs, gradients, text, images, clip paths, unknown elements
  // Uses can nest trees inside trees; the depth is bounded like the document's own, so
  // that the recursion stays small on any thread's stack.
  if (mDepth >= static_cast<size_t>(kMaxXmlDepth))
    return;
  StyleState state;
  if (!EnterElement(element, parent, state))
    return;
  ++mDepth;
  if (name == "svg")
  {
    state.transform = state.transform
                      * Matrix::Translate(LengthAttribute(element, "x", Axis::X, state, 0.0),
                                          LengthAttribute(element, "y", Axis::Y, state, 0.0));
    VisitChildren(element, state);
  }
  else if (group)
    VisitChildren(element, state);
  else if (name == "use")
    VisitUse(element, state);
  else
  {
    PathBuilder builder;
    if (BuildOutline(element, state, builder))
      AddShape(element, state, builder);
  }
  --mDepth;
}

void Converter::VisitUse(const XmlElement& element, const StyleState& useState)
{
  const std::string* href = Href(element);
  const XmlElement* target = href ? Lookup(href->substr(1)) : nullptr;
  if (!target || mUseStack.size() >= kMaxUseDepth
      || std::find(mUseStack.begin(), mUseStack.end(), target) != mUseStack.end())
    return;
  // A use inside its own target would repeat forever.
  for (const XmlElement* ancestor = &element; ancestor; ancestor = ancestor->parent)
  {
    if (ancestor == target)
      return;
  }
  StyleState state = useState;
  state.transform = state.transform
                    * Matrix::Translate(LengthAttribute(element, "x", Axis::X, state, 0.0),
                                        LengthAttribute(element, "y", Axis::Y, state, 0.0));
  mUseStack.push_back(target);
  if (target->name == "symbol")
  {
    StyleState symbolState;
    if (EnterElement(*target, state, symbolState))
      VisitChildren(*target, symbolState);
  }
  else
    Visit(*target, state);
  mUseStack.pop_back();
}

bool Converter::BuildOutline(const XmlElement& element, const StyleState& state, PathBuilder& builder)
{
  const std::string& name = element.name;
  if (name == "path")
  {
    const std::string* data = element.Find("d");
    if (data)
    {
      mOutlineText += data->size();
      ParsePathData(*data, builder);
    }
    return data != nullptr;
  }
  if (name == "rect")
  {
    const double x = LengthAttribute(element, "x", Axis::X, state, 0.0);
    const double y = LengthAttribute(element, "y", Axis::Y, state, 0.0);
    const double w = LengthAttribute(element, "width", Axis::X, state, 0.0);
    const double h = LengthAttribute(element, "height", Axis::Y, state, 0.0);
    if (!(w > 0.0 && h > 0.0))
      return false;
    bool hasRx = false, hasRy = false;
    double rx = LengthAttribute(element, "rx", Axis::X, state, 0.0, &hasRx);
    double ry = LengthAttribute(element, "ry", Axis::Y, state, 0.0, &hasRy);
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
    const double cx = LengthAttribute(element, "cx", Axis::X, state, 0.0);
    const double cy = LengthAttribute(element, "cy", Axis::Y, state, 0.0);
    double rx, ry;
    if (name == "circle")
      rx = ry = LengthAttribute(element, "r", Axis::Diagonal, state, 0.0);
    else
    {
      rx = LengthAttribute(element, "rx", Axis::X, state, 0.0);
      ry = LengthAttribute(element, "ry", Axis::Y, state, 0.0);
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
    builder.MoveTo(LengthAttribute(element, "x1", Axis::X, state, 0.0), LengthAttribute(element, "y1", Axis::Y, state, 0.0));
    builder.LineTo(LengthAttribute(element, "x2", Axis::X, state, 0.0), LengthAttribute(element, "y2", Axis::Y, state, 0.0));
    return true;
  }
  // polyline, polygon: pairs up to the first error; an odd number at the end is ignored.
  const std::string* points = element.Find("points");
  if (!points)
    return false;
  mOutlineText += points->size();
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

void Converter::AddShape(const XmlElement& element, const StyleState& state, PathBuilder& builder)
{
  std::vector<SubPath> subPaths = builder.TakeSubPaths();
  if (subPaths.empty())
    return;
  size_t points = 0;
  BoundsD local;
  for (size_t i = 0; i < subPaths.size(); ++i)
  {
    points += subPaths[i].points.size();
    const BoundsD b = CurveBounds(subPaths[i].points);
    if (i == 0)
      local = b;
    else
      local = {std::min(local.left, b.left), std::min(local.top, b.top), std::max(local.right, b.right),
               std::max(local.bottom, b.bottom)};
  }
  if (mPointCount + points > kMaxPoints)
  {
    mPointCount = kMaxPoints;
    return;
  }

  Shape shape;
  for (const SubPath& subPath : subPaths)
  {
    std::vector<PointD> transformed = subPath.points;
    for (PointD& point : transformed)
      state.transform.Apply(point.x, point.y);
    Path path;
    path.closed = subPath.closed;
    path.points.reserve(transformed.size());
    for (const PointD& point : transformed)
    {
      const Point p{static_cast<float>(point.x), static_cast<float>(point.y)};
      if (!std::isfinite(p.x) || !std::isfinite(p.y))
        return; // coordinates beyond what can be drawn: the shape is left out
      path.points.push_back(p);
    }
    const BoundsD b = CurveBounds(transformed);
    path.bounds = {static_cast<float>(b.left), static_cast<float>(b.top), static_cast<float>(b.right),
                   static_cast<float>(b.bottom)};
    if (shape.paths.empty())
      shape.bounds = path.bounds;
    else
      shape.bounds = {std::min(shape.bounds.left, path.bounds.left), std::min(shape.bounds.top, path.bounds.top),
                      std::max(shape.bounds.right, path.bounds.right), std::max(shape.bounds.bottom, path.bounds.bottom)};
    shape.paths.push_back(std::move(path));
  }
  mPointCount += points;

  if (const std::string* id = element.Find("id"))
    shape.id = *id;
  const double scale = state.transform.AverageScale();
  shape.fill = ResolvePaint(state.fill, state.fillOpacity, state, local);
  shape.stroke = ResolvePaint(state.stroke, state.strokeOpacity, state, local);
  shape.opacity = static_cast<float>(state.opacity);
  shape.strokeWidth = static_cast<float>(state.strokeWidth * scale);
  if (!(shape.strokeWidth > 0.f) || !std::isfinite(shape.strokeWidth))
  {
    shape.stroke = Paint{};
    shape.strokeWidth = 0.f;
  }
  for (double dash : state.dashes)
    shape.dashes.push_back(static_cast<float>(dash * scale));
  shape.dashOffset = static_cast<float>(state.dashOffset * scale);
  for (float dash : shape.dashes)
  {
    if (!std::isfinite(dash) || !std::isfinite(shape.dashOffset))
    {
      shape.dashes.clear();
      shape.dashOffset = 0.f;
      break;
    }
  }
  shape.lineCap = state.lineCap;
  shape.lineJoin = state.lineJoin;
  shape.miterLimit = static_cast<float>(state.miterLimit);
  shape.fillRule = state.fillRule;
  shape.visible = state.visible;
  mImage->shapes.push_back(std::move(shape));
}

Paint Converter::ResolvePaint(const PaintSpec& spec, double paintOpacity, const StyleState& state,
                              const BoundsD& local) const
{
  Paint paint;
  PaintSpec::Kind kind = spec.kind;
  Colour colour = spec.colour;
  if (kind == PaintSpec::Kind::Url)
  {
    const XmlElement* target = Lookup(spec.url);
    if (target && (target->name == "linearGradient" || target->name == "radialGradient"))
      return ResolveGradient(*target, paintOpacity, state, local);
    kind = spec.fallbackKind;
    colour = spec.fallbackColour;
  }
  if (kind == PaintSpec::Kind::CurrentColour)
  {
    kind = PaintSpec::Kind::Colour;
    colour = state.colour;
  }
  if (kind == PaintSpec::Kind::Colour)
  {
    paint.kind = PaintKind::Colour;
    paint.colour = colour;
    paint.colour.a = AlphaByte(colour.a / 255.0 * paintOpacity);
  }
  return paint;
}

Paint Converter::ResolveGradient(const XmlElement& gradient, double paintOpacity, const StyleState& state,
                                 const BoundsD& local) const
{
  // A gradient takes attributes and stops it lacks from the gradient it refers to.
  std::vector<const XmlElement*> chain;
  for (const XmlElement* g = &gradient; g && chain.size() < kMaxGradientChain;)
  {
    if (std::find(chain.begin(), chain.end(), g) != chain.end())
      break;
    chain.push_back(g);
    const std::string* href = Href(*g);
    g = href ? Lookup(href->substr(1)) : nullptr;
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
      ApplyProperties(*child, stopState, stopLocal);
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
    return ToUser(length, axis, state.fontSize);
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
  const Matrix forward = state.transform * units * gradientTransform * canonical;
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

// The root's size in pixels and the matrix from its view box to that size. Sizes not
// given are 0.
bool Converter::SetViewport(Matrix& view, double& width, double& height)
{
  std::vector<double> box;
  const std::string* viewBoxText = mRoot.Find("viewBox");
  const bool hasViewBox = viewBoxText && ParseNumberList(*viewBoxText, box) && box.size() == 4 && box[2] > 0.0
                          && box[3] > 0.0;
  StyleState rootState;
  auto size = [&](const char* name, double boxSize) {
    const std::string* text = mRoot.Find(name);
    Length length;
    if (!text || !ParseLength(*text, length) || length.value <= 0.0)
      return hasViewBox ? boxSize : 0.0;
    if (length.unit == LengthUnit::Percent)
      return hasViewBox ? boxSize * length.value / 100.0 : 0.0;
    return ToUser(length, Axis::X, rootState.fontSize);
  };
  width = size("width", hasViewBox ? box[2] : 0.0);
  height = size("height", hasViewBox ? box[3] : 0.0);
  mViewportWidth = hasViewBox ? box[2] : width;
  mViewportHeight = hasViewBox ? box[3] : height;
  if (!hasViewBox)
    return true;
  const double sx = width / box[2];
  const double sy = height / box[3];
  std::string aspect = "xMidYMid";
  bool slice = false;
  if (const std::string* text = mRoot.Find("preserveAspectRatio"))
  {
    std::string value = Trim(*text);
    if (value.compare(0, 6, "defer ") == 0)
      value = Trim(value.substr(6));
    const size_t space = value.find(' ');
    aspect = value.substr(0, space);
    slice = space != std::string::npos && Trim(value.substr(space)) == "slice";
  }
  if (aspect == "none")
  {
    view = Matrix::Scale(sx, sy) * Matrix::Translate(-box[0], -box[1]);
    return true;
  }
  const double s = slice ? std::max(sx, sy) : std::min(sx, sy);
  double alignX = 0.5, alignY = 0.5;
  if (aspect.size() == 8)
  {
    const std::string xPart = aspect.substr(0, 4), yPart = aspect.substr(4);
    alignX = xPart == "xMin" ? 0.0 : xPart == "xMax" ? 1.0 : 0.5;
    alignY = yPart == "YMin" ? 0.0 : yPart == "YMax" ? 1.0 : 0.5;
  }
  view = Matrix::Translate((width - box[2] * s) * alignX - box[0] * s, (height - box[3] * s) * alignY - box[1] * s)
         * Matrix::Scale(s, s);
  return true;
}

std::unique_ptr<Image> Converter::Run()
{
  if (mRoot.name != "svg")
    return nullptr;
  CollectIds(mRoot);
  CollectStyles(mRoot);
  Matrix view;
  double widthPx = 0.0, heightPx = 0.0;
  SetViewport(view, widthPx, heightPx);

  StyleState top;
  top.transform = Matrix::Scale(1.0 / mPxPerOutputUnit, 1.0 / mPxPerOutputUnit) * view;
  StyleState rootState;
  if (!EnterElement(mRoot, top, rootState))
    return nullptr;
  rootState.transform = top.transform; // the root's own transform attribute is not read
  VisitChildren(mRoot, rootState);

  double width = widthPx / mPxPerOutputUnit;
  double height = heightPx / mPxPerOutputUnit;
  if (!(width > 0.0 && height > 0.0))
  {
    // No size given: the drawing itself, measured from the origin, sets it.
    double right = 0.0, bottom = 0.0;
    for (const Shape& shape : mImage->shapes)
    {
      right = std::max(right, static_cast<double>(shape.bounds.right));
      bottom = std::max(bottom, static_cast<double>(shape.bounds.bottom));
    }
    if (!(width > 0.0))
      width = right;
    if (!(height > 0.0))
      height = bottom;
  }
  mImage->width = static_cast<float>(width);
  mImage->height = static_cast<float>(height);
  if (!(mImage->width > 0.f && mImage->height > 0.f) || !std::isfinite(mImage->width) || !std::isfinite(mImage->height))
    return nullptr;
  return std::move(mImage);
}

} // namespace

std::unique_ptr<Image> ParseImage(const char* text, size_t length, const char* units, float dpi)
{
  const std::unique_ptr<XmlElement> root = ParseXml(text, length);
  if (!root)
    return nullptr;
  return Converter(*root, units, dpi).Run();
}

} // namespace svg
