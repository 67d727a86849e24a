#include "deps/svg/SvgParser.h"

#include "deps/svg/DocumentIndex.h"
#include "deps/svg/GradientPaint.h"
#include "deps/svg/PathBuilder.h"
#include "deps/svg/ShapeOutline.h"
#include "deps/svg/StyleSheet.h"
#include "deps/svg/StyleState.h"
#include "deps/svg/SvgMatrix.h"
#include "deps/svg/SvgNumber.h"
#include "deps/svg/UserSpace.h"
#include "deps/svg/XmlDocument.h"

#include <algorithm>
#include <cmath>

namespace svg {

namespace {

// Limits that keep hostile files (use chains that multiply, huge outlines) bounded in
// time and memory; what lies beyond them is left out of the image.
constexpr size_t kMaxPoints = size_t(1) << 20;
constexpr size_t kMaxVisits = 100000;
constexpr size_t kMaxUseDepth = 8;
constexpr size_t kMaxOutlineText = size_t(1) << 24; // path data and point lists read, uses counted again

class Converter
{
public:
  Converter(const XmlElement& root, const char* units, float dpi) : mRoot(root), mIndex(root)
  {
    mSpace.pxPerInch = std::isfinite(dpi) && dpi > 0.f ? dpi : 96.0;
    mPxPerOutputUnit = mSpace.PxPerUnit(units ? units : "px");
  }

  std::unique_ptr<Image> Run();

private:
  void CollectStyles(const XmlElement& element);
  bool EnterElement(const XmlElement& element, const StyleState& parent, StyleState& state);
  void VisitChildren(const XmlElement& element, const StyleState& state);
  void Visit(const XmlElement& element, const StyleState& parent);
  void VisitUse(const XmlElement& element, const StyleState& state);
  void AddShape(const XmlElement& element, const StyleState& state, PathBuilder& builder);
  Paint ResolvePaint(const PaintSpec& spec, double paintOpacity, const StyleState& state, const BoundsD& local) const;
  void SetViewport(Matrix& view, double& width, double& height);

  const XmlElement& mRoot;
  DocumentIndex mIndex;
  UserSpace mSpace;
  double mPxPerOutputUnit = 1.0;
  StyleSheet mStyleSheet;
  std::unique_ptr<Image> mImage = std::make_unique<Image>();
  size_t mPointCount = 0;
  size_t mVisits = 0;
  size_t mDepth = 0;
  size_t mOutlineText = 0;
  std::vector<const XmlElement*> mUseStack;
};

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

bool Converter::EnterElement(const XmlElement& element, const StyleState& parent, StyleState& state)
{
  if (++mVisits > kMaxVisits || mPointCount >= kMaxPoints || mOutlineText >= kMaxOutlineText)
    return false;
  state = parent;
  LocalState local;
  ApplyElementProperties(element, mStyleSheet, mSpace, state, local);
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
  const bool shape = IsShapeElement(name);
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
                      * Matrix::Translate(mSpace.LengthAttribute(element, "x", Axis::X, state.fontSize, 0.0),
                                          mSpace.LengthAttribute(element, "y", Axis::Y, state.fontSize, 0.0));
    VisitChildren(element, state);
  }
  else if (group)
    VisitChildren(element, state);
  else if (name == "use")
    VisitUse(element, state);
  else
  {
    for (const char* outlineText : {"d", "points"})
    {
      if (const std::string* text = element.Find(outlineText))
        mOutlineText += text->size();
    }
    PathBuilder builder;
    if (BuildShapeOutline(element, mSpace, state.fontSize, builder))
      AddShape(element, state, builder);
  }
  --mDepth;
}

void Converter::VisitUse(const XmlElement& element, const StyleState& useState)
{
  const XmlElement* target = mIndex.Referenced(element);
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
                    * Matrix::Translate(mSpace.LengthAttribute(element, "x", Axis::X, state.fontSize, 0.0),
                                        mSpace.LengthAttribute(element, "y", Axis::Y, state.fontSize, 0.0));
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
    mPointCount = kMaxPoints; // stop: later shapes without this one would draw a wrong picture
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
    const XmlElement* target = mIndex.Find(spec.url);
    if (target && (target->name == "linearGradient" || target->name == "radialGradient"))
      return ResolveGradient(*target, GradientContext{mIndex, mStyleSheet, mSpace}, paintOpacity, state.transform,
                             state.fontSize, local);
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

// The root's size in pixels and the matrix from its view box to that size. Sizes not
// given are 0.
void Converter::SetViewport(Matrix& view, double& width, double& height)
{
  std::vector<double> box;
  const std::string* viewBoxText = mRoot.Find("viewBox");
  const bool hasViewBox = viewBoxText && ParseNumberList(*viewBoxText, box) && box.size() == 4 && box[2] > 0.0
                          && box[3] > 0.0;
  const double defaultFontSize = StyleState().fontSize;
  auto size = [&](const char* name, double boxSize) {
    const std::string* text = mRoot.Find(name);
    Length length;
    if (!text || !ParseLength(*text, length) || length.value <= 0.0)
      return hasViewBox ? boxSize : 0.0;
    if (length.unit == LengthUnit::Percent)
      return hasViewBox ? boxSize * length.value / 100.0 : 0.0;
    return mSpace.ToUser(length, Axis::X, defaultFontSize);
  };
  width = size("width", hasViewBox ? box[2] : 0.0);
  height = size("height", hasViewBox ? box[3] : 0.0);
  mSpace.viewportWidth = hasViewBox ? box[2] : width;
  mSpace.viewportHeight = hasViewBox ? box[3] : height;
  if (!hasViewBox)
    return;
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
    return;
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
}

std::unique_ptr<Image> Converter::Run()
{
  if (mRoot.name != "svg")
    return nullptr;
  CollectStyles(mRoot);
  Matrix view;
  double widthPx = 0.0, heightPx = 0.0;
  SetViewport(view, widthPx, heightPx);

  StyleState top;
  top.transform = Matrix::Scale(1.0 / mPxPerOutputUnit, 1.0 / mPxPerOutputUnit) * view;
  StyleState rootState;
  if (EnterElement(mRoot, top, rootState))
  {
    rootState.transform = top.transform; // the root's own transform attribute is not read
    VisitChildren(mRoot, rootState);
  }

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
