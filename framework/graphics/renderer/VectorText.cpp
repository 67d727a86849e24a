#include "VectorContextData.h"

#include <algorithm>
#include <cstring>

namespace pfw::gui::VG {

namespace {
constexpr int kMaxFontImageSize = 2048;

// The scale glyphs are rasterised at: the state transform's and the device's.
float TextScale(const VectorContext* context)
{
  return FontScale(State(context).transform) * context->devicePxRatio;
}

bool ValidFont(VectorContext* context)
{
  const int font = State(context).fontId;
  return font >= 0 && font < context->fonts->FontCount();
}

// Fonts the atlas can rasterise at the text scale: a size below a tenth of a pixel has no
// glyphs, and growing the font image would not change that.
bool SetAtlasState(VectorContext* context, float scale)
{
  const VectorState& state = State(context);
  FontAtlasState& atlas = context->fonts->State();
  atlas.size = state.fontSize * scale;
  atlas.spacing = state.letterSpacing * scale;
  atlas.blur = state.fontBlur * scale;
  atlas.align = state.textAlign;
  atlas.font = state.fontId;
  return scale > 0.f && atlas.size * 10.f >= 2.f;
}

void FlushTextTexture(VectorContext* context)
{
  int rect[4];
  if (!context->fonts->TakeDirtyRect(rect))
    return;
  const int image = context->fontImages[context->fontImageIndex];
  if (image != 0)
    context->params.updateTexture(context->params.user, image, rect[0], rect[1], rect[2] - rect[0], rect[3] - rect[1],
                                  context->fonts->SheetPixels());
}

// Moves text to the next, larger font image when the glyph sheet is full; false when the
// last one is in use or it cannot be had.
bool AllocTextImage(VectorContext* context)
{
  FlushTextTexture(context);
  const int next = context->fontImageIndex + 1;
  if (next >= kFontImages)
    return false;
  int width = 0;
  int height = 0;
  if (context->fontImages[next] != 0)
    ImageSize(context, context->fontImages[next], &width, &height);
  else
  {
    ImageSize(context, context->fontImages[context->fontImageIndex], &width, &height);
    if (width > height)
      height *= 2;
    else
      width *= 2;
    if (width > kMaxFontImageSize || height > kMaxFontImageSize)
      width = height = kMaxFontImageSize;
    context->fontImages[next] =
      context->params.createTexture(context->params.user, kTextureAlpha, width, height, 0, nullptr);
    if (context->fontImages[next] == 0)
      return false;
  }
  context->fontImageIndex = next;
  return context->fonts->ResetSheet(width, height) != 0;
}

void RenderText(VectorContext* context, const VectorVertex* vertices, int count)
{
  if (count <= 0)
    return;
  const VectorState& state = State(context);
  VectorPaint paint = state.fill;
  paint.image = context->fontImages[context->fontImageIndex];
  ScalePaintAlpha(paint, state.alpha);
  context->params.triangles(context->params.user, &paint, state.composite, &state.scissor, vertices, count,
                            context->fringeWidth);
  context->counters.drawCalls += 1;
  context->counters.textTriangles += count / 3;
}

enum CodepointType
{
  kSpace,
  kNewline,
  kChar,
  kCJKChar,
};

CodepointType TypeOf(unsigned codepoint, unsigned previous)
{
  switch (codepoint)
  {
  case 9:
  case 11:
  case 12:
  case 32:
  case 0xa0: return kSpace;
  case 10: return previous == 13 ? kSpace : kNewline; // the second of CR LF
  case 13: return previous == 10 ? kSpace : kNewline;
  case 0x85: return kNewline;
  default: break;
  }
  if ((codepoint >= 0x4E00 && codepoint <= 0x9FFF) || (codepoint >= 0x3000 && codepoint <= 0x30FF) ||
      (codepoint >= 0xFF00 && codepoint <= 0xFFEF) || (codepoint >= 0x1100 && codepoint <= 0x11FF) ||
      (codepoint >= 0x3130 && codepoint <= 0x318F) || (codepoint >= 0xAC00 && codepoint <= 0xD7AF))
    return kCJKChar;
  return kChar;
}
} // namespace

FontAtlas& Fonts(VectorContext* context)
{
  return *context->fonts;
}

void FontSize(VectorContext* context, float size)
{
  State(context).fontSize = size;
}

void FontBlur(VectorContext* context, float blur)
{
  State(context).fontBlur = blur;
}

void TextLetterSpacing(VectorContext* context, float spacing)
{
  State(context).letterSpacing = spacing;
}

void TextLineSpacing(VectorContext* context, float proportion)
{
  State(context).lineHeight = proportion;
}

void TextAlign(VectorContext* context, int align)
{
  State(context).textAlign = align;
}

void FontFaceId(VectorContext* context, int font)
{
  State(context).fontId = font;
}

float Text(VectorContext* context, float x, float y, const char* string, const char* end)
{
  if (!string || !ValidFont(context))
    return x;
  if (!end)
    end = string + std::strlen(string);
  const float scale = TextScale(context);
  if (!SetAtlasState(context, scale) || end <= string)
    return x;
  const float invscale = 1.f / scale;
  const int64_t vertexRoom = std::max<int64_t>(2, end - string) * 6;
  VectorVertex* vertices = vertexRoom <= INT32_MAX ? AllocTempVerts(context, static_cast<int>(vertexRoom)) : nullptr;
  if (!vertices)
    return x;

  FontAtlas& fonts = *context->fonts;
  FontAtlasTextIter iter;
  if (!fonts.TextIterInit(iter, x * scale, y * scale, string, end, kGlyphBitmapRequired))
    return x;
  FontAtlasTextIter previous = iter;
  FontAtlasQuad q;
  const float* t = State(context).transform;
  int count = 0;
  while (fonts.TextIterNext(iter, &q))
  {
    if (iter.prevGlyphIndex == -1)
    {
      // The sheet is full: draw what was gathered, move to a larger font image and lay
      // this glyph out again there.
      RenderText(context, vertices, count);
      count = 0;
      if (!AllocTextImage(context))
        break;
      iter = previous;
      fonts.TextIterNext(iter, &q);
      if (iter.prevGlyphIndex == -1)
        break;
    }
    previous = iter;
    float c[8];
    TransformPoint(&c[0], &c[1], t, q.x0 * invscale, q.y0 * invscale);
    TransformPoint(&c[2], &c[3], t, q.x1 * invscale, q.y0 * invscale);
    TransformPoint(&c[4], &c[5], t, q.x1 * invscale, q.y1 * invscale);
    TransformPoint(&c[6], &c[7], t, q.x0 * invscale, q.y1 * invscale);
    if (count + 6 <= vertexRoom)
    {
      vertices[count++] = VectorVertex{c[0], c[1], q.s0, q.t0};
      vertices[count++] = VectorVertex{c[4], c[5], q.s1, q.t1};
      vertices[count++] = VectorVertex{c[2], c[3], q.s1, q.t0};
      vertices[count++] = VectorVertex{c[0], c[1], q.s0, q.t0};
      vertices[count++] = VectorVertex{c[6], c[7], q.s0, q.t1};
      vertices[count++] = VectorVertex{c[4], c[5], q.s1, q.t1};
    }
  }
  FlushTextTexture(context);
  RenderText(context, vertices, count);
  return iter.nextX * invscale;
}

float TextBounds(VectorContext* context, float x, float y, const char* string, const char* end, float bounds[4])
{
  if (!string || !ValidFont(context))
    return 0.f;
  const float scale = TextScale(context);
  if (!SetAtlasState(context, scale))
    return 0.f;
  const float invscale = 1.f / scale;
  FontAtlas& fonts = *context->fonts;
  const float width = fonts.TextBounds(x * scale, y * scale, string, end, bounds);
  if (bounds)
  {
    fonts.LineBounds(y * scale, &bounds[1], &bounds[3]);
    for (int i = 0; i < 4; ++i)
      bounds[i] *= invscale;
  }
  return width * invscale;
}

float TextLineHeight(VectorContext* context)
{
  if (!ValidFont(context))
    return 0.f;
  const float scale = TextScale(context);
  if (!SetAtlasState(context, scale))
    return 0.f;
  const float isize = static_cast<float>(static_cast<short>(context->fonts->State().size * 10.f));
  return context->fonts->FontLineHeight(State(context).fontId) * isize / 10.f / scale * State(context).lineHeight;
}

int TextBreakLines(VectorContext* context, const char* string, const char* end, float breakWidth,
                   VectorTextRow* rows, int maxRows)
{
  if (maxRows <= 0 || !rows || !string || !ValidFont(context))
    return 0;
  if (!end)
    end = string + std::strlen(string);
  const float scale = TextScale(context);
  if (end <= string || !SetAtlasState(context, scale))
    return 0;
  const float invscale = 1.f / scale;
  const float breakRowWidth = breakWidth * scale;

  FontAtlas& fonts = *context->fonts;
  FontAtlasTextIter iter;
  if (!fonts.TextIterInit(iter, 0.f, 0.f, string, end, kGlyphBitmapOptional))
    return 0;

  int count = 0;
  auto emit = [&](const char* start, const char* rowEnd, const char* next, float width, float minX, float maxX) {
    rows[count].start = start;
    rows[count].end = rowEnd;
    rows[count].next = next;
    rows[count].width = width * invscale;
    rows[count].minX = minX * invscale;
    rows[count].maxX = maxX * invscale;
    return ++count >= maxRows;
  };

  // The open row, in atlas units relative to its start; the last break point in it (the
  // end of its last complete word) and the start of its last word.
  const char* rowStart = nullptr;
  const char* rowEnd = nullptr;
  float rowStartX = 0.f, rowWidth = 0.f, rowMinX = 0.f, rowMaxX = 0.f;
  const char* breakEnd = nullptr;
  float breakRowEndWidth = 0.f, breakMaxX = 0.f;
  const char* wordStart = nullptr;
  float wordStartX = 0.f, wordMinX = 0.f;
  CodepointType previousType = kSpace;
  unsigned previousCodepoint = 0;
  FontAtlasQuad q;

  auto startRow = [&](const char* start, float startX, float minX) {
    rowStartX = startX;
    rowStart = start;
    rowEnd = iter.next;
    rowWidth = iter.nextX - rowStartX;
    rowMinX = minX - rowStartX;
    rowMaxX = q.x1 - rowStartX;
    wordStart = start;
    wordStartX = startX;
    wordMinX = minX;
    breakEnd = rowStart;
    breakRowEndWidth = 0.f;
    breakMaxX = 0.f;
  };

  while (fonts.TextIterNext(iter, &q))
  {
    const CodepointType type = TypeOf(iter.codepoint, previousCodepoint);
    const bool printable = type == kChar || type == kCJKChar;
    if (type == kNewline)
    {
      if (emit(rowStart ? rowStart : iter.string, rowStart ? rowEnd : iter.string, iter.next, rowWidth, rowMinX,
               rowMaxX))
        return count;
      rowStart = rowEnd = nullptr;
      rowWidth = rowMinX = rowMaxX = 0.f;
    }
    else if (!rowStart)
    {
      if (printable)
        startRow(iter.string, iter.x, q.x0);
    }
    else
    {
      if ((type == kSpace && previousType != kSpace && previousType != kNewline) || type == kCJKChar)
      {
        breakEnd = iter.string;
        breakRowEndWidth = rowWidth;
        breakMaxX = rowMaxX;
      }
      if ((printable && previousType == kSpace) || type == kCJKChar)
      {
        wordStart = iter.string;
        wordStartX = iter.x;
        wordMinX = q.x0;
      }
      if (printable)
      {
        if (iter.nextX - rowStartX > breakRowWidth)
        {
          if (breakEnd == rowStart)
          {
            // One word longer than the row: break it before this glyph.
            if (emit(rowStart, iter.string, iter.string, rowWidth, rowMinX, rowMaxX))
              return count;
            startRow(iter.string, iter.x, q.x0);
          }
          else
          {
            if (emit(rowStart, breakEnd, wordStart, breakRowEndWidth, rowMinX, breakMaxX))
              return count;
            const char* start = wordStart;
            const float startX = wordStartX;
            const float minX = wordMinX;
            startRow(start, startX, minX);
          }
        }
        else
        {
          rowEnd = iter.next;
          rowWidth = iter.nextX - rowStartX;
          rowMaxX = q.x1 - rowStartX;
        }
      }
    }
    previousCodepoint = iter.codepoint;
    previousType = type;
  }
  if (rowStart)
    emit(rowStart, rowEnd, end, rowWidth, rowMinX, rowMaxX);
  return count;
}

} // namespace pfw::gui::VG
