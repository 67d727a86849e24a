#include "IGui.h"

#include <algorithm>
#include <cmath>

namespace pfw::gui {

void IGui::StrokeColour(const IArgbColour& colour, float thickness, const IBlendMode* blend)
{
  PathStroke(IColourSource::FromColour(colour), thickness, IStrokeStyle(), blend);
}

void IGui::FillColour(const IArgbColour& colour, const IBlendMode* blend)
{
  PathFill(IColourSource::FromColour(colour), IFillRule(), blend);
}

// ---- Path building ----

void IGui::PathRect(const IRectF& r)
{
  PathMoveTo(r.L, r.T);
  PathLineTo(r.R, r.T);
  PathLineTo(r.R, r.B);
  PathLineTo(r.L, r.B);
  PathClose();
}

void IGui::PathRoundRect(const IRectF& r, float tl, float tr, float bl, float br)
{
  if (tl <= 0.f && tr <= 0.f && bl <= 0.f && br <= 0.f)
  {
    PathRect(r);
    return;
  }
  PathMoveTo(r.L, r.T + tl);
  PathArc(r.L + tl, r.T + tl, tl, 270.f, 360.f);
  PathArc(r.R - tr, r.T + tr, tr, 0.f, 90.f);
  PathArc(r.R - br, r.B - br, br, 90.f, 180.f);
  PathArc(r.L + bl, r.B - bl, bl, 180.f, 270.f);
  PathClose();
}

void IGui::PathCircle(float cx, float cy, float r)
{
  PathMoveTo(cx, cy - r);
  PathArc(cx, cy, r, 0.f, 360.f);
  PathClose();
}

void IGui::PathEllipse(float cx, float cy, float r1, float r2, float angle)
{
  if (r1 <= 0.f || r2 <= 0.f)
    return;
  PathTransformSave();
  PathTransformTranslate(cx, cy);
  PathTransformRotate(angle);
  PathTransformSetMatrix(mTransform);
  PathTransformScale(r1, r2);
  PathCircle(0.f, 0.f, 1.f);
  PathTransformRestore();
}

void IGui::PathConvexPolygon(const float* xs, const float* ys, int n)
{
  if (!xs || !ys || n <= 0)
    return;
  PathMoveTo(xs[0], ys[0]);
  for (int i = 1; i < n; ++i)
    PathLineTo(xs[i], ys[i]);
  PathClose();
}

// ---- Transforms ----

void IGui::PathTransformSave()
{
  mTransformStack.push_back(mTransform);
}

void IGui::PathTransformRestore()
{
  if (mTransformStack.empty())
    return;
  mTransform = mTransformStack.back();
  mTransformStack.pop_back();
  PathTransformSetMatrix(mTransform);
}

void IGui::PathTransformReset(bool clearStack)
{
  if (clearStack)
    mTransformStack.clear();
  mTransform = ITransform2D();
  PathTransformSetMatrix(mTransform);
}

void IGui::PathTransformTranslate(float x, float y)
{
  mTransform.Translate(x, y);
  PathTransformSetMatrix(mTransform);
}

void IGui::PathTransformScale(float sx, float sy)
{
  mTransform.Scale(sx, sy);
  PathTransformSetMatrix(mTransform);
}

void IGui::PathTransformRotate(float degrees)
{
  mTransform.Rotate(degrees);
  PathTransformSetMatrix(mTransform);
}

void IGui::PathClipRegion(const IRectF& r)
{
  const IRectF base = mLayers.empty() ? mClipRECT : mLayers.back()->rect;
  const IRectF clip = r.Empty() ? base : r.Intersect(base);
  PathTransformSetMatrix(ITransform2D());
  SetClipRegion(clip);
  PathTransformSetMatrix(mTransform);
}

// ---- Primitives ----

void IGui::DrawPoint(const IArgbColour& colour, float x, float y, const IBlendMode* blend)
{
  FillRect(colour, IRectF(x, y, x + 1.f, y + 1.f), blend);
}

void IGui::DrawLine(const IArgbColour& colour, float x1, float y1, float x2, float y2, const IBlendMode* blend,
                    float thickness)
{
  PathClear();
  PathMoveTo(x1, y1);
  PathLineTo(x2, y2);
  StrokeColour(colour, thickness, blend);
}

void IGui::DrawDottedLine(const IArgbColour& colour, float x1, float y1, float x2, float y2, const IBlendMode* blend,
                          float thickness, float dashLength)
{
  IStrokeStyle style;
  style.dashes[0] = style.dashes[1] = dashLength;
  style.nDashes = 2;
  PathClear();
  PathMoveTo(x1, y1);
  PathLineTo(x2, y2);
  PathStroke(IColourSource::FromColour(colour), thickness, style, blend);
}

void IGui::DrawTriangle(const IArgbColour& colour, float x1, float y1, float x2, float y2, float x3, float y3,
                        const IBlendMode* blend, float thickness)
{
  PathClear();
  PathMoveTo(x1, y1);
  PathLineTo(x2, y2);
  PathLineTo(x3, y3);
  PathClose();
  StrokeColour(colour, thickness, blend);
}

void IGui::DrawRect(const IArgbColour& colour, const IRectF& bounds, const IBlendMode* blend, float thickness)
{
  PathClear();
  PathRect(bounds);
  StrokeColour(colour, thickness, blend);
}

void IGui::DrawRoundRectEach(const IArgbColour& colour, const IRectF& bounds, float tl, float tr, float bl, float br,
                             const IBlendMode* blend, float thickness)
{
  PathClear();
  PathRoundRect(bounds, tl, tr, bl, br);
  StrokeColour(colour, thickness, blend);
}

void IGui::DrawRoundRect(const IArgbColour& colour, const IRectF& bounds, float radius, const IBlendMode* blend,
                         float thickness)
{
  PathClear();
  PathRoundRect(bounds, radius);
  StrokeColour(colour, thickness, blend);
}

void IGui::DrawArc(const IArgbColour& colour, float cx, float cy, float r, float a1, float a2,
                   const IBlendMode* blend, float thickness)
{
  PathClear();
  PathArc(cx, cy, r, a1, a2);
  StrokeColour(colour, thickness, blend);
}

void IGui::DrawCircle(const IArgbColour& colour, float cx, float cy, float r, const IBlendMode* blend,
                      float thickness)
{
  PathClear();
  PathCircle(cx, cy, r);
  StrokeColour(colour, thickness, blend);
}

void IGui::DrawEllipse(const IArgbColour& colour, float cx, float cy, float r1, float r2, float angle,
                       const IBlendMode* blend, float thickness)
{
  PathClear();
  PathEllipse(cx, cy, r1, r2, angle);
  StrokeColour(colour, thickness, blend);
}

void IGui::DrawEllipseInRect(const IArgbColour& colour, const IRectF& bounds, const IBlendMode* blend,
                             float thickness)
{
  PathClear();
  PathEllipse(bounds);
  StrokeColour(colour, thickness, blend);
}

void IGui::DrawConvexPolygon(const IArgbColour& colour, const float* xs, const float* ys, int n,
                             const IBlendMode* blend, float thickness)
{
  PathClear();
  PathConvexPolygon(xs, ys, n);
  StrokeColour(colour, thickness, blend);
}

void IGui::DrawDottedRect(const IArgbColour& colour, const IRectF& bounds, const IBlendMode* blend, float thickness,
                          float dashLength)
{
  IStrokeStyle style;
  style.dashes[0] = style.dashes[1] = dashLength;
  style.nDashes = 2;
  PathClear();
  PathRect(bounds);
  PathStroke(IColourSource::FromColour(colour), thickness, style, blend);
}

void IGui::FillTriangle(const IArgbColour& colour, float x1, float y1, float x2, float y2, float x3, float y3,
                        const IBlendMode* blend)
{
  PathClear();
  PathMoveTo(x1, y1);
  PathLineTo(x2, y2);
  PathLineTo(x3, y3);
  PathClose();
  FillColour(colour, blend);
}

void IGui::FillRect(const IArgbColour& colour, const IRectF& bounds, const IBlendMode* blend)
{
  PathClear();
  PathRect(bounds);
  FillColour(colour, blend);
}

void IGui::FillRoundRectEach(const IArgbColour& colour, const IRectF& bounds, float tl, float tr, float bl, float br,
                             const IBlendMode* blend)
{
  PathClear();
  PathRoundRect(bounds, tl, tr, bl, br);
  FillColour(colour, blend);
}

void IGui::FillRoundRect(const IArgbColour& colour, const IRectF& bounds, float radius, const IBlendMode* blend)
{
  PathClear();
  PathRoundRect(bounds, radius);
  FillColour(colour, blend);
}

void IGui::FillCircle(const IArgbColour& colour, float cx, float cy, float r, const IBlendMode* blend)
{
  PathClear();
  PathCircle(cx, cy, r);
  FillColour(colour, blend);
}

void IGui::FillEllipse(const IArgbColour& colour, float cx, float cy, float r1, float r2, float angle,
                       const IBlendMode* blend)
{
  PathClear();
  PathEllipse(cx, cy, r1, r2, angle);
  FillColour(colour, blend);
}

void IGui::FillEllipseInRect(const IArgbColour& colour, const IRectF& bounds, const IBlendMode* blend)
{
  PathClear();
  PathEllipse(bounds);
  FillColour(colour, blend);
}

void IGui::FillArc(const IArgbColour& colour, float cx, float cy, float r, float a1, float a2,
                   const IBlendMode* blend)
{
  PathClear();
  PathMoveTo(cx, cy);
  PathArc(cx, cy, r, a1, a2);
  PathClose();
  FillColour(colour, blend);
}

void IGui::FillConvexPolygon(const IArgbColour& colour, const float* xs, const float* ys, int n,
                             const IBlendMode* blend)
{
  PathClear();
  PathConvexPolygon(xs, ys, n);
  FillColour(colour, blend);
}

void IGui::DrawGrid(const IArgbColour& colour, const IRectF& bounds, float xStep, float yStep,
                    const IBlendMode* blend, float thickness)
{
  PathClear();
  if (xStep > 1.f)
  {
    for (int k = 1;; ++k)
    {
      const float x = bounds.L + k * xStep;
      if (!(x < bounds.R))
        break;
      PathMoveTo(x, bounds.T);
      PathLineTo(x, bounds.B);
    }
  }
  if (yStep > 1.f)
  {
    for (int k = 1;; ++k)
    {
      const float y = bounds.T + k * yStep;
      if (!(y < bounds.B))
        break;
      PathMoveTo(bounds.L, y);
      PathLineTo(bounds.R, y);
    }
  }
  StrokeColour(colour, thickness, blend);
}

void IGui::DrawData(const IArgbColour& colour, const IRectF& bounds, const float* ys, int n, const float* xs,
                    const IBlendMode* blend, float thickness, const IArgbColour* fillColour)
{
  if (n <= 0 || !ys)
    return;
  PathClear();
  for (int i = 0; i < n; ++i)
  {
    // One point has no spacing to speak of: it sits at the left edge.
    const float x = xs ? bounds.L + bounds.W() * xs[i] : (n > 1 ? bounds.L + i * bounds.W() / (n - 1) : bounds.L);
    const float y = bounds.B - bounds.H() * ys[i];
    if (i == 0)
      PathMoveTo(x, y);
    else
      PathLineTo(x, y);
  }
  if (fillColour)
    PathFill(IColourSource::FromColour(*fillColour), IFillRule(IFillRule::kWinding, true), blend);
  StrokeColour(colour, thickness, blend);
}

// ---- Text ----

void IGui::DrawText(const ITextStyle& style, const char* text, const IRectF& bounds, const IBlendMode* blend)
{
  if (text && *text)
    DoDrawText(style, text, bounds, blend);
}

float IGui::MeasureText(const ITextStyle& style, const char* text, IRectF& bounds) const
{
  if (!text || !*text)
    return 0.f;
  return DoMeasureText(style, text, bounds);
}

void IGui::DrawMultiLineText(const ITextStyle& style, const char* /*text*/, const IRectF& bounds,
                             const IBlendMode* blend)
{
  DoDrawText(style, "Unsupported", bounds, blend);
}

void IGui::ComputeTextOffsets(const ITextStyle& style, const IRectF& bounds, IRectF& textRect, float& dx,
                              float& dy) const
{
  if (style.angle == 0.f)
    return;
  ITransform2D rotation;
  rotation.Rotate(style.angle);
  const double corners[4][2] = {
    {textRect.L, textRect.T}, {textRect.R, textRect.T}, {textRect.R, textRect.B}, {textRect.L, textRect.B}};
  double l = 0, t = 0, r = 0, b = 0;
  for (int i = 0; i < 4; ++i)
  {
    double x = corners[i][0];
    double y = corners[i][1];
    rotation.TransformPoint(x, y);
    l = i == 0 ? x : std::min(l, x);
    r = i == 0 ? x : std::max(r, x);
    t = i == 0 ? y : std::min(t, y);
    b = i == 0 ? y : std::max(b, y);
  }
  textRect = IRectF(static_cast<float>(l), static_cast<float>(t), static_cast<float>(r), static_cast<float>(b));
  switch (style.hAlign)
  {
  case ITextStyle::kAlignNear: dx = bounds.L - textRect.L; break;
  case ITextStyle::kAlignCentre: dx = bounds.MW() - textRect.MW(); break;
  case ITextStyle::kAlignFar: dx = bounds.R - textRect.R; break;
  default: break;
  }
  switch (style.vAlign)
  {
  case ITextStyle::kAlignNear: dy = bounds.T - textRect.T; break;
  case ITextStyle::kAlignCentre: dy = bounds.MH() - textRect.MH(); break;
  case ITextStyle::kAlignFar: dy = bounds.B - textRect.B; break;
  default: break;
  }
}

void IGui::PlaceTextRect(const ITextStyle& style, const IRectF& bounds, IRectF& textRect) const
{
  float dx = 0.f;
  float dy = 0.f;
  ComputeTextOffsets(style, bounds, textRect, dx, dy);
  textRect = textRect.Offset(dx, dy);
}

// ---- Bitmaps and SVG ----

void IGui::DrawFittedBitmap(const IBitmapRef& bitmap, const IRectF& bounds, const IBlendMode* blend)
{
  if (!bitmap.IsValid() || bitmap.width <= 0 || bitmap.height <= 0)
    return;
  PathTransformSave();
  PathTransformTranslate(bounds.L, bounds.T);
  PathTransformScale(bounds.W() / bitmap.width, bounds.H() / bitmap.height);
  PathTransformSetMatrix(mTransform);
  DrawBitmap(bitmap, IRectF(0.f, 0.f, static_cast<float>(bitmap.width), static_cast<float>(bitmap.height)), 0, 0,
             blend);
  PathTransformRestore();
}

void IGui::DrawRotatedBitmap(const IBitmapRef& bitmap, float cx, float cy, double angle, const IBlendMode* blend)
{
  if (!bitmap.IsValid() || !(bitmap.bitmap->GetDrawScale() > 0.f))
    return;
  const float w = bitmap.width / bitmap.bitmap->GetDrawScale();
  const float h = bitmap.height / bitmap.bitmap->GetDrawScale();
  PathTransformSave();
  PathTransformTranslate(cx, cy);
  PathTransformRotate(static_cast<float>(angle));
  PathTransformSetMatrix(mTransform);
  DrawBitmap(bitmap, IRectF(-w / 2.f, -h / 2.f, w / 2.f, h / 2.f), 0, 0, blend);
  PathTransformRestore();
}

void IGui::DrawSVG(const ISvgRef& svg, const IRectF& bounds, const IBlendMode* blend,
                   const IArgbColour* strokeColour, const IArgbColour* fillColour)
{
  // A document without size cannot be fitted anywhere.
  if (!svg.IsValid() || !(svg.W() > 0.f) || !(svg.H() > 0.f))
    return;
  PathTransformSave();
  PathTransformTranslate(bounds.L, bounds.T);
  const float scale = std::min(bounds.W() / svg.W(), bounds.H() / svg.H());
  PathTransformScale(scale, scale);
  PathTransformSetMatrix(mTransform);
  RenderSVG(*svg.image, strokeColour, fillColour, blend);
  PathTransformRestore();
}

void IGui::DrawRotatedSVG(const ISvgRef& svg, float cx, float cy, float width, float height, double angle,
                          const IBlendMode* blend)
{
  PathTransformSave();
  PathTransformTranslate(cx, cy);
  PathTransformRotate(static_cast<float>(angle));
  PathTransformSetMatrix(mTransform);
  DrawSVG(svg, IRectF(-width / 2.f, -height / 2.f, width / 2.f, height / 2.f), blend);
  PathTransformRestore();
}

} // namespace pfw::gui
