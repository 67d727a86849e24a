#include "FontAtlas.h"

#include "AtlasFont.h"
#include "GlyphBlur.h"
#include "Utf8Decoder.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <new>

namespace pfw::gui {

namespace {
constexpr int kMaxSheetSize = 8192;
constexpr int kMaxBlur = 20;
constexpr int kAlignCenter = 2, kAlignRight = 4, kAlignTop = 8, kAlignMiddle = 16,
              kAlignBaseline = 64, kAlignBottom = 32;

short ClampShort(float value)
{
  return static_cast<short>(value > -32768.f ? (value < 32767.f ? value : 32767.f) : -32768.f);
}

// Pixel positions of text far off the sheet are meaningless but must stay defined.
int TruncateToInt(float value)
{
  constexpr float kLimit = 1073741824.f;
  return static_cast<int>(value > -kLimit ? (value < kLimit ? value : kLimit) : -kLimit);
}
} // namespace

unsigned HashCodepoint(unsigned a)
{
  a += ~(a << 15);
  a ^= (a >> 10);
  a += (a << 3);
  a ^= (a >> 6);
  a += ~(a << 11);
  a ^= (a >> 16);
  return a;
}

AtlasFont::AtlasFont()
{
  ClearGlyphs();
}

AtlasFont::~AtlasFont()
{
  if (ownsData)
    std::free(data);
}

void AtlasFont::ClearGlyphs()
{
  glyphs.Resize(0, false);
  std::fill(hash, hash + kHashSize, -1);
}

FontAtlas::FontAtlas(const FontAtlasParams& params)
  : mParams(params)
{
  // stb_truetype does not check its allocations: a request past the scratch block is
  // reported and served from the heap instead of failing.
  mScratch.SetFullHandler(
    [](void* user, size_t size) {
      static_cast<FontAtlas*>(user)->ReportError(kAtlasScratchFull, static_cast<int>(size));
    },
    this);
}

FontAtlas::~FontAtlas()
{
  if (mParams.destroy)
    mParams.destroy(mParams.user);
  for (int i = 0; i < mFonts.GetSize(); ++i)
    delete *mFonts.Get(i);
}

FontAtlas* FontAtlas::Create(const FontAtlasParams& params)
{
  FontAtlas* atlas = new (std::nothrow) FontAtlas(params);
  if (!atlas)
    return nullptr;
  if (!atlas->mScratch.Init() || (params.create && !params.create(params.user, params.width, params.height)) ||
      !atlas->SetSheetSize(params.width, params.height))
  {
    delete atlas;
    return nullptr;
  }
  return atlas;
}

void FontAtlas::Delete(FontAtlas* atlas)
{
  delete atlas;
}

void FontAtlas::SetErrorCallback(void (*callback)(void* user, int error, int value), void* user)
{
  mErrorCallback = callback;
  mErrorUser = user;
}

void FontAtlas::ReportError(int error, int value)
{
  if (mErrorCallback)
    mErrorCallback(mErrorUser, error, value);
}

void FontAtlas::PushState()
{
  if (mStateCount >= kMaxStates)
  {
    ReportError(kAtlasStatesOverflow, 0);
    return;
  }
  mStates[mStateCount] = mStates[mStateCount - 1];
  ++mStateCount;
}

void FontAtlas::PopState()
{
  if (mStateCount <= 1)
  {
    ReportError(kAtlasStatesUnderflow, 0);
    return;
  }
  --mStateCount;
}

void FontAtlas::ClearState()
{
  State() = FontAtlasState();
}

bool FontAtlas::SetSheetSize(int width, int height)
{
  if (width < 2 || height < 2 || width > kMaxSheetSize || height > kMaxSheetSize || !mSheet.Resize(width * height))
    return false;
  std::memset(mSheet.Get(), 0, static_cast<size_t>(width) * static_cast<size_t>(height));
  mParams.width = width;
  mParams.height = height;
  mInvWidth = 1.f / static_cast<float>(width);
  mInvHeight = 1.f / static_cast<float>(height);
  mDirty[0] = width;
  mDirty[1] = height;
  mDirty[2] = 0;
  mDirty[3] = 0;
  mPacker.Reset(width, height);
  for (int i = 0; i < mFonts.GetSize(); ++i)
    (*mFonts.Get(i))->ClearGlyphs();
  return AddWhiteBlock();
}

int FontAtlas::ResetSheet(int width, int height)
{
  Flush();
  if (mParams.resize && !mParams.resize(mParams.user, width, height))
    return 0;
  return SetSheetSize(width, height) ? 1 : 0;
}

bool FontAtlas::AddWhiteBlock()
{
  int x = 0;
  int y = 0;
  if (!mPacker.AddRect(2, 2, &x, &y))
    return false;
  unsigned char* sheet = mSheet.Get();
  for (int row = 0; row < 2; ++row)
    for (int column = 0; column < 2; ++column)
      sheet[x + column + (y + row) * mParams.width] = 0xff;
  ExtendDirty(x, y, x + 2, y + 2);
  return true;
}

void FontAtlas::ExtendDirty(int x0, int y0, int x1, int y1)
{
  mDirty[0] = std::min(mDirty[0], x0);
  mDirty[1] = std::min(mDirty[1], y0);
  mDirty[2] = std::max(mDirty[2], x1);
  mDirty[3] = std::max(mDirty[3], y1);
}

bool FontAtlas::TakeDirtyRect(int rect[4])
{
  if (mDirty[0] >= mDirty[2] || mDirty[1] >= mDirty[3])
    return false;
  std::copy(mDirty, mDirty + 4, rect);
  mDirty[0] = mParams.width;
  mDirty[1] = mParams.height;
  mDirty[2] = 0;
  mDirty[3] = 0;
  return true;
}

int FontAtlas::AddFontMem(const char* name, unsigned char* data, int size, int faceIndex, bool ownsData)
{
  AtlasFont* font = new (std::nothrow) AtlasFont;
  if (!font || !mFonts.Add(font))
  {
    delete font;
    if (ownsData)
      std::free(data);
    return -1;
  }
  font->data = data;
  font->dataSize = size;
  font->ownsData = ownsData;
  std::strncpy(font->name, name ? name : "", AtlasFont::kNameLength - 1);
  mScratch.Reset();
  if (!font->font.Init(data, size, faceIndex, &mScratch))
  {
    mFonts.Delete(mFonts.GetSize() - 1);
    delete font;
    return -1;
  }
  const float height = static_cast<float>(font->font.Ascent() - font->font.Descent());
  font->ascender = static_cast<float>(font->font.Ascent()) / height;
  font->descender = static_cast<float>(font->font.Descent()) / height;
  font->lineHeight = (height + static_cast<float>(font->font.LineGap())) / height;
  return mFonts.GetSize() - 1;
}

bool FontAtlas::AddFallbackFont(int base, int fallback)
{
  const int count = mFonts.GetSize();
  if (base < 0 || base >= count || fallback < 0 || fallback >= count || base == fallback)
    return false;
  AtlasFont& font = **mFonts.Get(base);
  if (font.fallbackCount >= AtlasFont::kMaxFallbacks)
    return false;
  font.fallbacks[font.fallbackCount++] = fallback;
  return true;
}

int FontAtlas::FontByName(const char* name) const
{
  for (int i = 0; i < mFonts.GetSize(); ++i)
    if (std::strcmp((*mFonts.Get(i))->name, name) == 0)
      return i;
  return -1;
}

float FontAtlas::FontLineHeight(int font) const
{
  return font >= 0 && font < mFonts.GetSize() ? (*mFonts.Get(font))->lineHeight : 0.f;
}

AtlasFont* FontAtlas::CurrentFont()
{
  const int font = State().font;
  return font >= 0 && font < mFonts.GetSize() ? *mFonts.Get(font) : nullptr;
}

int FontAtlas::FindGlyph(const AtlasFont& font, unsigned codepoint, short isize, short blur) const
{
  int index = font.hash[HashCodepoint(codepoint) & (AtlasFont::kHashSize - 1)];
  while (index != -1)
  {
    const AtlasGlyph& cached = *font.glyphs.Get(index);
    if (cached.codepoint == codepoint && cached.size == isize && cached.blur == blur)
      return index;
    index = cached.next;
  }
  return -1;
}

AtlasGlyph* FontAtlas::GetGlyph(AtlasFont& font, unsigned codepoint, short isize, short iblur, int bitmapOption)
{
  if (isize < 2)
    return nullptr;
  const short blur = static_cast<short>(std::clamp<int>(iblur, 0, kMaxBlur));
  const int pad = blur + 2;

  int index = FindGlyph(font, codepoint, isize, blur);
  if (index != -1)
  {
    AtlasGlyph& cached = *font.glyphs.Get(index);
    if (bitmapOption == kGlyphBitmapOptional || (cached.x0 >= 0 && cached.y0 >= 0))
      return &cached;
    // Known, but not on the sheet yet: placed below.
  }

  // The outline comes from the font, else from the first fallback that has the character
  // (each at its own scale), else it is the font's missing-glyph outline.
  const AtlasFont* source = &font;
  int glyphIndex = font.font.GlyphIndex(codepoint);
  for (int i = 0; glyphIndex == 0 && i < font.fallbackCount; ++i)
  {
    const AtlasFont& fallback = **mFonts.Get(font.fallbacks[i]);
    const int fallbackIndex = fallback.font.GlyphIndex(codepoint);
    if (fallbackIndex != 0)
    {
      source = &fallback;
      glyphIndex = fallbackIndex;
    }
  }
  const TrueTypeFont& outline = source->font;
  const float scale = outline.ScaleForPixelHeight(static_cast<float>(isize) / 10.f);
  const int advance = outline.AdvanceWidth(glyphIndex);
  int x0 = 0, y0 = 0, x1 = 0, y1 = 0;
  outline.BitmapBox(glyphIndex, scale, &x0, &y0, &x1, &y1);
  const int gw = x1 - x0 + pad * 2;
  const int gh = y1 - y0 + pad * 2;

  int gx = -1;
  int gy = -1;
  if (bitmapOption == kGlyphBitmapRequired && !mPacker.AddRect(gw, gh, &gx, &gy))
  {
    if (!mErrorCallback)
      return nullptr;
    // The callback may make room, even by emptying the sheet and every glyph cache.
    ReportError(kAtlasSheetFull, 0);
    if (!mPacker.AddRect(gw, gh, &gx, &gy))
      return nullptr;
    index = FindGlyph(font, codepoint, isize, blur);
  }

  if (index == -1)
  {
    AtlasGlyph fresh{};
    fresh.codepoint = codepoint;
    fresh.size = isize;
    fresh.blur = blur;
    const unsigned slot = HashCodepoint(codepoint) & (AtlasFont::kHashSize - 1);
    fresh.next = font.hash[slot];
    if (!font.glyphs.Add(fresh))
      return nullptr;
    index = font.glyphs.GetSize() - 1;
    font.hash[slot] = index;
  }
  AtlasGlyph& glyph = *font.glyphs.Get(index);
  glyph.index = glyphIndex;
  glyph.source = source;
  glyph.x0 = static_cast<short>(gx);
  glyph.y0 = static_cast<short>(gy);
  glyph.x1 = ClampShort(static_cast<float>(gx + gw));
  glyph.y1 = ClampShort(static_cast<float>(gy + gh));
  glyph.xadv = ClampShort(scale * static_cast<float>(advance) * 10.f);
  glyph.xoff = ClampShort(static_cast<float>(x0 - pad));
  glyph.yoff = ClampShort(static_cast<float>(y0 - pad));
  if (bitmapOption == kGlyphBitmapOptional)
    return &glyph;

  const int stride = mParams.width;
  unsigned char* sheet = mSheet.Get();
  mScratch.Reset();
  outline.Render(sheet + (gx + pad) + (gy + pad) * stride, gw - pad * 2, gh - pad * 2, stride, scale, glyphIndex);
  // A clear border keeps bilinear sampling from bleeding in the neighbours.
  unsigned char* rect = sheet + gx + gy * stride;
  for (int y = 0; y < gh; ++y)
  {
    rect[y * stride] = 0;
    rect[gw - 1 + y * stride] = 0;
  }
  for (int x = 0; x < gw; ++x)
  {
    rect[x] = 0;
    rect[x + (gh - 1) * stride] = 0;
  }
  if (blur > 0)
  {
    mScratch.Reset();
    BlurGlyph(rect, gw, gh, stride, blur);
  }
  ExtendDirty(gx, gy, gx + gw, gy + gh);
  return &glyph;
}

void FontAtlas::GetQuad(int prevGlyphIndex, const AtlasFont* prevGlyphFont, const AtlasGlyph& glyph, float spacing,
                        float* x, float y, FontAtlasQuad* quad) const
{
  if (prevGlyphIndex != -1)
  {
    const TrueTypeFont& outline = glyph.source->font;
    const float scale = outline.ScaleForPixelHeight(static_cast<float>(glyph.size) / 10.f);
    const int kernUnits = prevGlyphFont == glyph.source ? outline.KernAdvance(prevGlyphIndex, glyph.index) : 0;
    const float kern = static_cast<float>(kernUnits) * scale;
    *x += static_cast<float>(TruncateToInt(kern + spacing + 0.5f));
  }
  const float xoff = static_cast<float>(glyph.xoff + 1);
  const float yoff = static_cast<float>(glyph.yoff + 1);
  const float x0 = static_cast<float>(glyph.x0 + 1);
  const float y0 = static_cast<float>(glyph.y0 + 1);
  const float x1 = static_cast<float>(glyph.x1 - 1);
  const float y1 = static_cast<float>(glyph.y1 - 1);
  const float rx = static_cast<float>(TruncateToInt(*x + xoff));
  if (mParams.flags & FontAtlasParams::kZeroTopLeft)
  {
    const float ry = static_cast<float>(TruncateToInt(y + yoff));
    quad->x0 = rx;
    quad->y0 = ry;
    quad->x1 = rx + x1 - x0;
    quad->y1 = ry + y1 - y0;
  }
  else
  {
    const float ry = static_cast<float>(TruncateToInt(y - yoff));
    quad->x0 = rx;
    quad->y0 = ry;
    quad->x1 = rx + x1 - x0;
    quad->y1 = ry - y1 + y0;
  }
  quad->s0 = x0 * mInvWidth;
  quad->t0 = y0 * mInvHeight;
  quad->s1 = x1 * mInvWidth;
  quad->t1 = y1 * mInvHeight;
  *x += static_cast<float>(TruncateToInt(static_cast<float>(glyph.xadv) / 10.f + 0.5f));
}

float FontAtlas::VertAlign(const AtlasFont& font, int align, short isize) const
{
  const float size = static_cast<float>(isize) / 10.f;
  float offset = 0.f;
  if (align & kAlignTop)
    offset = font.ascender * size;
  else if (align & kAlignMiddle)
    offset = (font.ascender + font.descender) / 2.f * size;
  else if (align & kAlignBaseline)
    offset = 0.f;
  else if (align & kAlignBottom)
    offset = font.descender * size;
  return (mParams.flags & FontAtlasParams::kZeroTopLeft) ? offset : -offset;
}

namespace {
short SizeTimesTen(float size)
{
  return ClampShort(size * 10.f);
}
} // namespace

float FontAtlas::TextBounds(float x, float y, const char* string, const char* end, float* bounds)
{
  AtlasFont* font = CurrentFont();
  if (!font || !string)
    return 0.f;
  if (!end)
    end = string + std::strlen(string);
  const FontAtlasState& state = State();
  const short isize = SizeTimesTen(state.size);
  const short iblur = ClampShort(state.blur);
  y += VertAlign(*font, state.align, isize);
  float minX = x, maxX = x, minY = y, maxY = y;
  const float startX = x;
  int prevGlyphIndex = -1;
  const AtlasFont* prevGlyphFont = nullptr;
  FontAtlasQuad quad;
  for (const char* p = string; p < end;)
  {
    const unsigned codepoint = DecodeUtf8(p, end);
    const AtlasGlyph* glyph = GetGlyph(*font, codepoint, isize, iblur, kGlyphBitmapOptional);
    if (glyph)
    {
      GetQuad(prevGlyphIndex, prevGlyphFont, *glyph, state.spacing, &x, y, &quad);
      minX = std::min(minX, quad.x0);
      maxX = std::max(maxX, quad.x1);
      if (mParams.flags & FontAtlasParams::kZeroTopLeft)
      {
        minY = std::min(minY, quad.y0);
        maxY = std::max(maxY, quad.y1);
      }
      else
      {
        minY = std::min(minY, quad.y1);
        maxY = std::max(maxY, quad.y0);
      }
    }
    prevGlyphIndex = glyph ? glyph->index : -1;
    prevGlyphFont = glyph ? glyph->source : nullptr;
  }
  const float advance = x - startX;
  if (state.align & kAlignRight)
  {
    minX -= advance;
    maxX -= advance;
  }
  else if (state.align & kAlignCenter)
  {
    minX -= advance * 0.5f;
    maxX -= advance * 0.5f;
  }
  if (bounds)
  {
    bounds[0] = minX;
    bounds[1] = minY;
    bounds[2] = maxX;
    bounds[3] = maxY;
  }
  return advance;
}

void FontAtlas::LineBounds(float y, float* minY, float* maxY)
{
  const AtlasFont* font = CurrentFont();
  if (!font)
    return;
  const short isize = SizeTimesTen(State().size);
  const float size = static_cast<float>(isize) / 10.f;
  y += VertAlign(*font, State().align, isize);
  if (mParams.flags & FontAtlasParams::kZeroTopLeft)
  {
    *minY = y - font->ascender * size;
    *maxY = *minY + font->lineHeight * size;
  }
  else
  {
    *maxY = y + font->descender * size;
    *minY = *maxY - font->lineHeight * size;
  }
}

bool FontAtlas::TextIterInit(FontAtlasTextIter& iter, float x, float y, const char* string, const char* end,
                             int bitmapOption)
{
  iter = FontAtlasTextIter();
  AtlasFont* font = CurrentFont();
  if (!font || !string)
    return false;
  if (!end)
    end = string + std::strlen(string);
  const FontAtlasState& state = State();
  iter.font = font;
  iter.isize = SizeTimesTen(state.size);
  iter.iblur = ClampShort(state.blur);
  if (state.align & kAlignRight)
    x -= TextBounds(x, y, string, end, nullptr);
  else if (state.align & kAlignCenter)
    x -= TextBounds(x, y, string, end, nullptr) * 0.5f;
  y += VertAlign(*font, state.align, iter.isize);
  iter.x = iter.nextX = x;
  iter.y = iter.nextY = y;
  iter.spacing = state.spacing;
  iter.string = string;
  iter.next = string;
  iter.end = end;
  iter.prevGlyphIndex = -1;
  iter.prevGlyphFont = nullptr;
  iter.bitmapOption = bitmapOption;
  return true;
}

bool FontAtlas::TextIterNext(FontAtlasTextIter& iter, FontAtlasQuad* quad)
{
  const char* p = iter.next;
  iter.string = p;
  if (!p || p >= iter.end)
    return false;
  iter.codepoint = DecodeUtf8(p, iter.end);
  iter.x = iter.nextX;
  iter.y = iter.nextY;
  const AtlasGlyph* glyph = GetGlyph(*iter.font, iter.codepoint, iter.isize, iter.iblur, iter.bitmapOption);
  if (glyph)
    GetQuad(iter.prevGlyphIndex, iter.prevGlyphFont, *glyph, iter.spacing, &iter.nextX, iter.nextY, quad);
  iter.prevGlyphIndex = glyph ? glyph->index : -1;
  iter.prevGlyphFont = glyph ? glyph->source : nullptr;
  iter.next = p;
  return true;
}

void FontAtlas::QueueGlyph(const FontAtlasQuad& q, unsigned colour)
{
  if (mQueueCount + 6 > kQueueSize)
    Flush();
  const float corners[6][4] = {{q.x0, q.y0, q.s0, q.t0}, {q.x1, q.y1, q.s1, q.t1}, {q.x1, q.y0, q.s1, q.t0},
                               {q.x0, q.y0, q.s0, q.t0}, {q.x0, q.y1, q.s0, q.t1}, {q.x1, q.y1, q.s1, q.t1}};
  for (const float* c : corners)
  {
    mQueuePositions[mQueueCount * 2] = c[0];
    mQueuePositions[mQueueCount * 2 + 1] = c[1];
    mQueueTexCoords[mQueueCount * 2] = c[2];
    mQueueTexCoords[mQueueCount * 2 + 1] = c[3];
    mQueueColours[mQueueCount] = colour;
    ++mQueueCount;
  }
}

float FontAtlas::DrawText(float x, float y, const char* string, const char* end)
{
  FontAtlasTextIter iter;
  if (!TextIterInit(iter, x, y, string, end, kGlyphBitmapRequired))
    return x;
  const unsigned colour = State().colour;
  FontAtlasQuad quad;
  while (TextIterNext(iter, &quad))
    if (iter.prevGlyphIndex != -1)
      QueueGlyph(quad, colour);
  return iter.nextX;
}

void FontAtlas::Flush()
{
  int rect[4];
  if (TakeDirtyRect(rect) && mParams.update)
    mParams.update(mParams.user, rect, mSheet.Get());
  if (mQueueCount > 0 && mParams.draw)
    mParams.draw(mParams.user, mQueuePositions, mQueueTexCoords, mQueueColours, mQueueCount);
  mQueueCount = 0;
}

} // namespace pfw::gui
