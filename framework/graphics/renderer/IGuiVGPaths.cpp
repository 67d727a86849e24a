#include "IGuiVG.h"

#include "VectorContext.h"

#include <algorithm>
#include <cmath>

namespace pfw::gui {

namespace {
constexpr float kPi = 3.1415927f;

VectorColour ToColour(const IArgbColour& c, float weight)
{
  return VectorColour{c.R / 255.f, c.G / 255.f, c.B / 255.f, c.A * weight / 255.f};
}

// The blend factors of a blend mode, for colour and alpha alike; false for an unknown mode.
bool BlendFactors(int mode, int& source, int& destination)
{
  static const int kFactors[][2] = {
    {kBlendOne, kBlendOneMinusSrcAlpha},         // source-over
    {kBlendDstAlpha, kBlendZero},                // source-in
    {kBlendOneMinusDstAlpha, kBlendZero},        // source-out
    {kBlendDstAlpha, kBlendOneMinusSrcAlpha},    // source-atop
    {kBlendOneMinusDstAlpha, kBlendOne},         // destination-over
    {kBlendZero, kBlendSrcAlpha},                // destination-in
    {kBlendZero, kBlendOneMinusSrcAlpha},        // destination-out
    {kBlendOneMinusDstAlpha, kBlendSrcAlpha},    // destination-atop
    {kBlendSrcAlpha, kBlendDstAlpha},            // additive
    {kBlendOneMinusDstAlpha, kBlendOneMinusSrcAlpha}, // xor
  };
  if (mode < 0 || mode >= static_cast<int>(sizeof(kFactors) / sizeof(kFactors[0])))
    return false;
  source = kFactors[mode][0];
  destination = kFactors[mode][1];
  return true;
}

// A gradient as a paint in user-interface units: two colours, the first and the last
// stop, along the gradient's axis (linear, from where v is 0 to where it is 1) or between
// its radii (radial).
VectorPaint MakeVectorPaint(const IColourSource& source, const IBlendMode* blend)
{
  const float weight = blend ? blend->weight : 1.f;
  const VectorColour inner = ToColour(source.stops[0].colour, weight);
  const VectorColour outer = ToColour(source.stops[std::max(0, source.nStops - 1)].colour, weight);
  ITransform2D inverse;
  source.transform.Invert(inverse);
  double sx = 0.0, sy = 0.0;
  inverse.TransformPoint(sx, sy);
  if (source.kind == IColourSource::kRadial)
  {
    const float k = static_cast<float>(inverse.xx);
    return VG::RadialGradient(static_cast<float>(sx), static_cast<float>(sy), source.stops[0].offset * k, k, inner,
                              outer);
  }
  double ex = 0.0, ey = 1.0;
  inverse.TransformPoint(ex, ey);
  return VG::LinearGradient(static_cast<float>(sx), static_cast<float>(sy), static_cast<float>(ex),
                            static_cast<float>(ey), inner, outer);
}

VectorPaint PaintOf(const IColourSource& source, const IBlendMode* blend)
{
  if (source.kind == IColourSource::kSolid)
    return VG::SolidPaint(ToColour(source.stops[0].colour, blend ? blend->weight : 1.f));
  return MakeVectorPaint(source, blend);
}
} // namespace

void IGuiVG::SetCompositeFromBlend(const IBlendMode* blend)
{
  if (!mContext)
    return;
  int source = 0;
  int destination = 0;
  if (BlendFactors(blend ? blend->mode : IBlendMode::kSourceOver, source, destination))
    VG::BlendFuncSeparate(mContext, source, destination, source, destination);
}

void IGuiVG::SetSourceOver()
{
  if (!mContext)
    return;
  VG::BlendFuncSeparate(mContext, kBlendOne, kBlendOneMinusSrcAlpha, kBlendOne, kBlendOneMinusSrcAlpha);
}

void IGuiVG::PathClear()
{
  if (!mContext)
    return;
  VG::BeginPath(mContext);
}

void IGuiVG::PathClose()
{
  if (!mContext)
    return;
  VG::ClosePath(mContext);
}

void IGuiVG::PathArc(float cx, float cy, float r, float a1, float a2, int winding)
{
  if (!mContext)
    return;
  // Degrees clockwise from twelve o'clock to radians from three o'clock.
  VG::Arc(mContext, cx, cy, r, (a1 - 90.f) / 180.f * kPi, (a2 - 90.f) / 180.f * kPi,
          winding == 0 ? kVGArcClockwise : kVGArcCounterClockwise);
}

void IGuiVG::PathMoveTo(float x, float y)
{
  if (!mContext)
    return;
  VG::MoveTo(mContext, x, y);
}

void IGuiVG::PathLineTo(float x, float y)
{
  if (!mContext)
    return;
  VG::LineTo(mContext, x, y);
}

void IGuiVG::PathSetWinding(bool clockwise)
{
  if (!mContext)
    return;
  VG::PathWinding(mContext, clockwise ? kVGWindingHole : kVGWindingSolid);
}

void IGuiVG::PathCubicTo(float c1x, float c1y, float c2x, float c2y, float x, float y)
{
  if (!mContext)
    return;
  VG::BezierTo(mContext, c1x, c1y, c2x, c2y, x, y);
}

void IGuiVG::PathQuadTo(float cx, float cy, float x, float y)
{
  if (!mContext)
    return;
  float lastX = 0.f;
  float lastY = 0.f;
  VG::LastCommandPoint(mContext, &lastX, &lastY);
  const float k = 0.6666667f;
  VG::BezierTo(mContext, lastX + k * (cx - lastX), lastY + k * (cy - lastY), x + k * (cx - x), y + k * (cy - y), x, y);
}

void IGuiVG::PathFill(const IColourSource& source, const IFillRule& rule, const IBlendMode* blend)
{
  if (!mContext)
    return;
  if (rule.rule == IFillRule::kWinding)
    VG::PathWinding(mContext, kVGWindingSolid);
  else if (rule.rule == IFillRule::kEvenOdd)
    VG::PathWinding(mContext, kVGWindingHole);
  VG::FillPaint(mContext, PaintOf(source, blend));
  SetCompositeFromBlend(blend);
  VG::Fill(mContext);
  SetSourceOver();
  if (!rule.keepPath)
    VG::BeginPath(mContext);
}

void IGuiVG::PathStroke(const IColourSource& source, float thickness, const IStrokeStyle& style,
                        const IBlendMode* blend)
{
  if (!mContext)
    return;
  static const int kCaps[] = {kVGCapButt, kVGCapRound, kVGCapSquare};
  static const int kJoins[] = {kVGJoinMiter, kVGJoinRound, kVGJoinBevel};
  if (style.cap >= 0 && style.cap < 3)
    VG::LineCap(mContext, kCaps[style.cap]);
  if (style.join >= 0 && style.join < 3)
    VG::LineJoin(mContext, kJoins[style.join]);
  VG::MiterLimit(mContext, style.miterLimit);
  VG::StrokeWidth(mContext, thickness);
  VG::StrokePaint(mContext, PaintOf(source, blend));
  VG::PathWinding(mContext, kVGWindingSolid);
  SetCompositeFromBlend(blend);
  VG::Stroke(mContext);
  SetSourceOver();
  if (!style.keepPath)
    VG::BeginPath(mContext);
}

void IGuiVG::PathTransformSetMatrix(const ITransform2D& m)
{
  if (!mContext)
    return;
  // A point goes through m, then the layer's offset, then the draw scale.
  const float ds = GetDrawScale();
  VG::ResetTransform(mContext);
  VG::Transform(mContext, ds, 0.f, 0.f, ds, 0.f, 0.f);
  if (const ILayer* layer = TopLayer())
    VG::Transform(mContext, 1.f, 0.f, 0.f, 1.f, -layer->rect.L, -layer->rect.T);
  VG::Transform(mContext, static_cast<float>(m.xx), static_cast<float>(m.yx), static_cast<float>(m.xy),
                static_cast<float>(m.yy), static_cast<float>(m.tx), static_cast<float>(m.ty));
}

void IGuiVG::SetClipRegion(const IRectF& clip)
{
  if (!mContext)
    return;
  // An empty clip is one that met nothing: it clips everything away, never nothing.
  VG::Scissor(mContext, clip.L, clip.T, clip.W(), clip.H());
}

void IGuiVG::DrawBitmap(const IBitmapRef& bitmap, const IRectF& dest, int srcX, int srcY, const IBlendMode* blend)
{
  if (!mContext)
    return;
  const APIBitmap* api = bitmap.bitmap;
  if (!api || api->GetImageId() == 0)
    return;
  // The image's pixels span its size in units: pixels over its scale and draw scale.
  const float k = 1.f / (api->GetScale() * api->GetDrawScale());
  const VectorPaint paint = VG::ImagePattern(dest.L - srcX, dest.T - srcY, api->GetWidth() * k,
                                             api->GetHeight() * k, 0.f, api->GetImageId(),
                                             blend ? blend->weight : 1.f);
  VG::BeginPath(mContext);
  VG::Rect(mContext, dest.L, dest.T, dest.W(), dest.H());
  VG::FillPaint(mContext, paint);
  SetCompositeFromBlend(blend);
  VG::Fill(mContext);
  SetSourceOver();
  VG::BeginPath(mContext);
}

void IGuiVG::DrawDottedLine(const IArgbColour& colour, float x1, float y1, float x2, float y2,
                            const IBlendMode* blend, float thickness, float dashLength)
{
  if (!mContext)
    return;
  VG::BeginPath(mContext);
  PathMoveTo(x1, y1);
  // A dash of no length (or not a number) draws a plain line.
  if (!(dashLength > 0.f))
  {
    PathLineTo(x2, y2);
    PathStroke(IColourSource::FromColour(colour), thickness, IStrokeStyle(), blend);
    return;
  }
  // n dash-sized steps alternate ink and gap, so a line of one step or less has no dash
  // to draw; the count is capped so that a huge line cannot stall the frame.
  const float maxDashes = 4096.f;
  const float ratio = std::hypot(x2 - x1, y2 - y1) / dashLength;
  const int n = ratio >= 0.f ? static_cast<int>(std::round(std::min(ratio, maxDashes))) : 0;
  for (int i = 1; i < n; i += 2)
  {
    const float a = static_cast<float>(i) / n;
    const float b = static_cast<float>(i + 1) / n;
    PathLineTo(x1 + (x2 - x1) * a, y1 + (y2 - y1) * a);
    PathMoveTo(x1 + (x2 - x1) * b, y1 + (y2 - y1) * b);
  }
  PathStroke(IColourSource::FromColour(colour), thickness, IStrokeStyle(), blend);
}

void IGuiVG::DrawDottedRect(const IArgbColour& colour, const IRectF& r, const IBlendMode* blend, float thickness,
                            float dashLength)
{
  if (!mContext)
    return;
  if (!(dashLength > 0.f))
  {
    PathRect(r);
    PathStroke(IColourSource::FromColour(colour), thickness, IStrokeStyle(), blend);
    return;
  }
  const int maxDashes = 4096;
  const int nx = static_cast<int>(std::min<float>(std::ceil(r.W() / (2.f * dashLength)), maxDashes));
  const int ny = static_cast<int>(std::min<float>(std::ceil(r.H() / (2.f * dashLength)), maxDashes));
  float x = r.L;
  float y = r.T;
  VG::BeginPath(mContext);
  PathMoveTo(x, y);
  for (float step : {dashLength, -dashLength})
  {
    for (int i = 0; i < nx; ++i)
    {
      const float to = std::clamp(x + step, r.L, r.R);
      PathLineTo(to, y);
      x = std::clamp(to + step, r.L, r.R);
      PathMoveTo(x, y);
    }
    for (int i = 0; i < ny; ++i)
    {
      const float to = std::clamp(y + step, r.T, r.B);
      PathLineTo(x, to);
      y = std::clamp(to + step, r.T, r.B);
      PathMoveTo(x, y);
    }
  }
  PathStroke(IColourSource::FromColour(colour), thickness, IStrokeStyle(), blend);
}

void IGuiVG::DrawFastDropShadow(const IRectF& inner, const IRectF& outer, float drop, float roundness, float blur,
                                const IBlendMode* blend)
{
  if (!mContext)
    return;
  const float weight = blend ? blend->weight : 1.f;
  const VectorPaint paint =
    VG::BoxGradient(inner.L + drop, inner.T + drop, inner.W(), inner.H(), roundness, blur,
                    VectorColour{0.f, 0.f, 0.f, 128.f / 255.f * weight}, VectorColour{0.f, 0.f, 0.f, 0.f});
  VG::BeginPath(mContext);
  VG::Rect(mContext, outer.L, outer.T, outer.W(), outer.H());
  VG::FillPaint(mContext, paint);
  SetSourceOver();
  VG::Fill(mContext);
  VG::BeginPath(mContext);
}

} // namespace pfw::gui
