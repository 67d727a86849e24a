#include "IGuiVG.h"

#include "FontAtlas.h"
#include "FontDataCache.h"
#include "VectorContext.h"

namespace pfw::gui {

namespace {
VectorColour TextColour(const ITextStyle& style, const IBlendMode* blend)
{
  const IArgbColour& c = style.colour;
  return VectorColour{c.R / 255.f, c.G / 255.f, c.B / 255.f, c.A * (blend ? blend->weight : 1.f) / 255.f};
}

// The horizontal alignment flag and the x it aligns to.
int HorizontalAlign(const ITextStyle& style, const IRectF& r, float& x)
{
  switch (style.hAlign)
  {
  case ITextStyle::kAlignCentre: x = (r.L + r.R) * 0.5f; return kVGAlignCenter;
  case ITextStyle::kAlignFar: x = r.R; return kVGAlignRight;
  default: x = r.L; return kVGAlignLeft;
  }
}
} // namespace

StaticCache<FontData>& FontDataCache()
{
  static StaticCache<FontData> cache;
  return cache;
}

IGuiVG::TextOrigin IGuiVG::PrepareText(const ITextStyle& style, const char* text, IRectF& rect) const
{
  TextOrigin origin;
  VG::FontSize(mContext, style.size);
  const int font = VG::Fonts(mContext).FontByName(style.fontId);
  VG::FontFaceId(mContext, font);
  VG::FontBlur(mContext, 0.f);
  int align = HorizontalAlign(style, rect, origin.x);
  switch (style.vAlign)
  {
  case ITextStyle::kAlignCentre:
    align |= kVGAlignMiddle;
    origin.y = (rect.T + rect.B) * 0.5f;
    break;
  case ITextStyle::kAlignFar:
    align |= kVGAlignBottom;
    origin.y = rect.B;
    break;
  default:
    align |= kVGAlignTop;
    origin.y = rect.T;
    break;
  }
  VG::TextAlign(mContext, align);
  if (font < 0)
  {
    rect = IRectF();
    return origin;
  }
  float bounds[4] = {};
  VG::TextBounds(mContext, origin.x, origin.y, text, nullptr, bounds);
  rect = IRectF(bounds[0], bounds[1], bounds[2], bounds[3]);
  return origin;
}

float IGuiVG::DoMeasureText(const ITextStyle& style, const char* text, IRectF& bounds) const
{
  if (!mContext)
    return 0.f;
  IRectF measured = bounds;
  PrepareText(style, text, measured);
  PlaceTextRect(style, bounds, measured);
  bounds = measured;
  return measured.W();
}

void IGuiVG::DoDrawText(const ITextStyle& style, const char* text, const IRectF& bounds, const IBlendMode* blend)
{
  if (!mContext)
    return;
  IRectF measured = bounds;
  const TextOrigin origin = PrepareText(style, text, measured);
  PathTransformSave();
  if (style.angle != 0.f)
  {
    float dx = 0.f;
    float dy = 0.f;
    ComputeTextOffsets(style, bounds, measured, dx, dy);
    PathTransformTranslate(dx, dy);
    PathTransformRotate(style.angle);
  }
  VG::FillColor(mContext, TextColour(style, blend));
  SetCompositeFromBlend(blend);
  VG::Text(mContext, origin.x, origin.y, text, nullptr);
  SetSourceOver();
  PathTransformRestore();
}

void IGuiVG::DrawMultiLineText(const ITextStyle& style, const char* text, const IRectF& bounds,
                               const IBlendMode* blend)
{
  if (!mContext || !text)
    return;
  VG::Save(mContext);
  VG::FontSize(mContext, style.size);
  VG::FontFaceId(mContext, VG::Fonts(mContext).FontByName(style.fontId));
  float x = 0.f;
  const int align = HorizontalAlign(style, bounds, x);
  float y0 = 0.f;
  float fraction = 0.f;
  switch (style.vAlign)
  {
  case ITextStyle::kAlignNear: y0 = bounds.T; break;
  case ITextStyle::kAlignCentre:
    y0 = (bounds.T + bounds.B) * 0.5f;
    fraction = 0.5f;
    break;
  case ITextStyle::kAlignFar:
    y0 = bounds.B;
    fraction = 1.f;
    break;
  default: break;
  }
  // Rows are placed by their tops, so the block as a whole takes the vertical alignment.
  VG::TextAlign(mContext, align | kVGAlignTop);
  const float lineHeight = VG::TextLineHeight(mContext);
  VG::FillColor(mContext, TextColour(style, blend));

  // First count the rows, then draw them, so the block can be aligned as a whole.
  constexpr int kRowsPerCall = 3;
  VectorTextRow rows[kRowsPerCall];
  int total = 0;
  for (const char* start = text;;)
  {
    const int n = VG::TextBreakLines(mContext, start, nullptr, bounds.W(), rows, kRowsPerCall);
    if (n <= 0)
      break;
    total += n;
    if (rows[n - 1].next <= start)
      break;
    start = rows[n - 1].next;
  }
  int row = 0;
  const float top = y0 - total * lineHeight * fraction;
  for (const char* start = text;;)
  {
    const int n = VG::TextBreakLines(mContext, start, nullptr, bounds.W(), rows, kRowsPerCall);
    if (n <= 0)
      break;
    for (int i = 0; i < n; ++i, ++row)
      VG::Text(mContext, x, top + row * lineHeight, rows[i].start, rows[i].end);
    if (rows[n - 1].next <= start)
      break;
    start = rows[n - 1].next;
  }
  VG::Restore(mContext);
}

bool IGuiVG::LoadAPIFont(const char* fontId, const PlatformFont& font)
{
  if (!mContext || !fontId)
    return false;
  StaticCache<FontData>& cache = FontDataCache();
  ScopedCriticalSection lock(cache.Lock());
  FontAtlas& fonts = VG::Fonts(mContext);
  if (FontData* cached = cache.Find(fontId, 1.0))
    return fonts.AddFontMem(fontId, static_cast<unsigned char*>(cached->Bytes().Data()), cached->Size(),
                            cached->FaceIndex(), false) != -1;
  std::unique_ptr<FontData> data = font.GetFontData();
  if (!data || !data->IsComplete())
    return false;
  if (fonts.AddFontMem(fontId, static_cast<unsigned char*>(data->Bytes().Data()), data->Size(), data->FaceIndex(),
                       false) == -1)
    return false;
  cache.Add(data.release(), fontId, 1.0);
  return true;
}

} // namespace pfw::gui
