#include "TrueTypeFont.h"

#include "ScratchArena.h"
#include "TrueTypeCheck.h"

// stb_truetype's allocations go to the atlas's scratch memory.
static void* TrueTypeAllocate(size_t size, void* user)
{
  return static_cast<pfw::gui::ScratchArena*>(user)->Allocate(size);
}
static void TrueTypeFree(void* pointer, void* user)
{
  if (pointer)
    static_cast<pfw::gui::ScratchArena*>(user)->Free(pointer);
}
#define STBTT_malloc(size, user) TrueTypeAllocate(size, user)
#define STBTT_free(pointer, user) TrueTypeFree(pointer, user)
#define STBTT_STATIC
#define STB_TRUETYPE_IMPLEMENTATION
#if defined(__GNUC__)
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wunused-function"
#pragma GCC diagnostic ignored "-Wsign-compare"
#pragma GCC diagnostic ignored "-Wunused-parameter"
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"
#endif
#include <stb_truetype.h>
#if defined(__GNUC__)
#pragma GCC diagnostic pop
#endif

#include <cstdint>

namespace pfw::gui {

namespace {
int BigEndian16(const unsigned char* p)
{
  return static_cast<int16_t>(static_cast<uint16_t>(p[0] << 8 | p[1]));
}
} // namespace

bool TrueTypeFont::Init(const unsigned char* data, int size, int faceIndex, ScratchArena* scratch)
{
  int fontStart = 0;
  if (!CheckTrueTypeFont(data, size, faceIndex, &fontStart))
    return false;
  mInfo.userdata = scratch;
  if (!stbtt_InitFont(&mInfo, data, fontStart))
    return false;
  mInfo.userdata = scratch;
  mGlyphCount = mInfo.numGlyphs;
  // The raw 'hhea' line metrics; the check made sure the table holds them.
  const unsigned char* hhea = data + mInfo.hhea;
  mAscent = BigEndian16(hhea + 4);
  mDescent = BigEndian16(hhea + 6);
  mLineGap = BigEndian16(hhea + 8);
  return true;
}

int TrueTypeFont::GlyphIndex(unsigned codepoint) const
{
  if (codepoint > 0x10FFFF)
    return 0;
  const int glyph = stbtt_FindGlyphIndex(&mInfo, static_cast<int>(codepoint));
  // A cmap may name glyphs the face does not have; the face's tables end at its count.
  return glyph > 0 && glyph < mGlyphCount ? glyph : 0;
}

float TrueTypeFont::ScaleForPixelHeight(float height) const
{
  return height / static_cast<float>(mAscent - mDescent);
}

int TrueTypeFont::AdvanceWidth(int glyph) const
{
  int advance = 0;
  int bearing = 0;
  stbtt_GetGlyphHMetrics(&mInfo, glyph, &advance, &bearing);
  return advance;
}

void TrueTypeFont::BitmapBox(int glyph, float scale, int* x0, int* y0, int* x1, int* y1) const
{
  stbtt_GetGlyphBitmapBox(&mInfo, glyph, scale, scale, x0, y0, x1, y1);
}

int TrueTypeFont::KernAdvance(int glyph1, int glyph2) const
{
  return stbtt_GetGlyphKernAdvance(&mInfo, glyph1, glyph2);
}

void TrueTypeFont::Render(unsigned char* out, int w, int h, int stride, float scale, int glyph) const
{
  stbtt_MakeGlyphBitmap(&mInfo, out, w, h, stride, scale, scale, glyph);
}

} // namespace pfw::gui
