#include "PixelProbes.h"

#define STBTT_STATIC
#define STB_TRUETYPE_IMPLEMENTATION
#include <stb_truetype.h>

#include <algorithm>
#include <cmath>
#include <cstring>

using namespace pfw::gui;

namespace {
// The embedded Roboto Regular.
const unsigned char* RobotoBytes(int& size)
{
  HRSRC resource = FindResourceW(nullptr, L"ROBOTO_REGULAR", L"TTF");
  HGLOBAL loaded = resource ? LoadResource(nullptr, resource) : nullptr;
  size = resource ? static_cast<int>(SizeofResource(nullptr, resource)) : 0;
  return loaded ? static_cast<const unsigned char*>(LockResource(loaded)) : nullptr;
}

// The ink of a text run: its extent in pixels with the pen at 0, computed from the font
// file alone (pixel-height scale, whole-pixel glyph boxes, kerning, unrounded advances).
float InkWidth(const stbtt_fontinfo& font, const char* text, float size)
{
  int ascent = 0, descent = 0, gap = 0;
  stbtt_GetFontVMetrics(&font, &ascent, &descent, &gap);
  const float scale = size / static_cast<float>(ascent - descent);
  float pen = 0.f;
  float left = 1e9f, right = -1e9f;
  int previous = -1;
  for (const char* c = text; *c; ++c)
  {
    const int glyph = stbtt_FindGlyphIndex(&font, static_cast<unsigned char>(*c));
    if (previous >= 0)
      pen += stbtt_GetGlyphKernAdvance(&font, previous, glyph) * scale;
    int x0 = 0, y0 = 0, x1 = 0, y1 = 0;
    stbtt_GetGlyphBitmapBox(&font, glyph, scale, scale, &x0, &y0, &x1, &y1);
    if (x1 > x0)
    {
      left = std::min(left, pen + x0);
      right = std::max(right, pen + x1);
    }
    int advance = 0, bearing = 0;
    stbtt_GetGlyphHMetrics(&font, glyph, &advance, &bearing);
    pen += advance * scale;
    previous = glyph;
  }
  return right - left;
}

// The box of every pixel with ink, in pixels; empty (l > r) when there is none.
struct InkBox
{
  int l = 1 << 20, t = 1 << 20, r = -1, b = -1;
  bool Empty() const { return r < l; }
};

InkBox FindInk(const PixelImage& image, int l = 0, int t = 0, int r = -1, int b = -1)
{
  InkBox box;
  r = r < 0 ? image.width : r;
  b = b < 0 ? image.height : b;
  for (int y = t; y < b; ++y)
    for (int x = l; x < r; ++x)
      if (image.At(x, y).a > 40)
      {
        box.l = std::min(box.l, x);
        box.r = std::max(box.r, x + 1);
        box.t = std::min(box.t, y);
        box.b = std::max(box.b, y + 1);
      }
  return box;
}

// Rows of pixels that hold ink, as runs separated by empty rows.
int InkRowBands(const PixelImage& image)
{
  int bands = 0;
  bool inBand = false;
  for (int y = 0; y < image.height; ++y)
  {
    bool ink = false;
    for (int x = 0; x < image.width && !ink; ++x)
      ink = image.At(x, y).a > 40;
    bands += ink && !inBand ? 1 : 0;
    inBand = ink;
  }
  return bands;
}

ITextStyle Style(float size, int hAlign = ITextStyle::kAlignNear, int vAlign = ITextStyle::kAlignNear)
{
  ITextStyle style;
  style.SetFontId("Roboto");
  style.size = size;
  style.colour = IArgbColour(255, 0, 0, 0);
  style.hAlign = hAlign;
  style.vAlign = vAlign;
  return style;
}

class TextTest : public RendererTest
{
protected:
  void OpenWithFont(float screenScale)
  {
    OpenAt(1.f, screenScale, 400, 200);
    int size = 0;
    const unsigned char* bytes = RobotoBytes(size);
    ASSERT_NE(bytes, nullptr);
    ASSERT_TRUE(gui->LoadFontFromData("Roboto", bytes, size));
    ASSERT_NE(stbtt_InitFont(&font, bytes, 0), 0);
  }
  stbtt_fontinfo font{};
};
} // namespace

TEST_F(TextTest, MeasuresAlignsAndRastersRobotoAsTheFontFileSays)
{
  OpenWithFont(1.f);
  struct Run
  {
    const char* text;
    float size;
  };
  const Run runs[] = {{"Tarnwick", 14.f}, {"Gain 12.5 dB", 14.f}, {"AVATAR Wolf", 24.f}, {"ij", 40.f},
                      {"Presence", 60.f}};
  for (const Run& run : runs)
  {
    SCOPED_TRACE(run.text);
    const ITextStyle style = Style(run.size);
    IRectF bounds(10.f, 10.f, 390.f, 190.f);
    const float measured = gui->MeasureText(style, run.text, bounds);
    // The atlas pads each glyph box by a pixel on either side and places glyphs on whole
    // pixels, half a pixel at most each.
    const float glyphs = static_cast<float>(std::strlen(run.text));
    EXPECT_NEAR(measured, InkWidth(font, run.text, run.size) + 2.f, 1.f + 0.5f * glyphs);
    EXPECT_NEAR(bounds.W(), measured, 0.01f);

    // Ink lies inside the measured box (to within the box's padding).
    gui->DrawFrame([&](IGui& g) { g.DrawText(style, run.text, IRectF(10.f, 10.f, 390.f, 190.f)); });
    const PixelImage image = gui->ReadMain();
    const InkBox ink = FindInk(image);
    ASSERT_FALSE(ink.Empty());
    EXPECT_GE(ink.l, static_cast<int>(std::floor(bounds.L)) - 1);
    EXPECT_LE(ink.r, static_cast<int>(std::ceil(bounds.R)) + 1);
    EXPECT_GE(ink.t, static_cast<int>(std::floor(bounds.T)) - 1);
    EXPECT_LE(ink.b, static_cast<int>(std::ceil(bounds.B)) + 1);
    EXPECT_GT(ink.r - ink.l, measured * 0.95f - 4.f);
  }

  // Alignment moves the ink by the free space (or half of it), each way, and the ink stays
  // where the measure of that alignment says.
  const char* text = "Amp Gain";
  const IRectF box(20.f, 20.f, 380.f, 180.f);
  const struct
  {
    int h, v;
    float dx, dy; // expected shift from near/near, in units of the free space
  } aligns[] = {{ITextStyle::kAlignNear, ITextStyle::kAlignNear, 0.f, 0.f},
                {ITextStyle::kAlignCentre, ITextStyle::kAlignNear, 0.5f, 0.f},
                {ITextStyle::kAlignFar, ITextStyle::kAlignNear, 1.f, 0.f},
                {ITextStyle::kAlignNear, ITextStyle::kAlignCentre, 0.f, 0.5f},
                {ITextStyle::kAlignFar, ITextStyle::kAlignFar, 1.f, 1.f}};
  InkBox reference;
  for (const auto& align : aligns)
  {
    const ITextStyle style = Style(20.f, align.h, align.v);
    IRectF measured = box;
    const float width = gui->MeasureText(style, text, measured);
    gui->DrawFrame([&](IGui& g) { g.DrawText(style, text, box); });
    const PixelImage image = gui->ReadMain();
    image.WritePng("text-align-" + std::to_string(align.h) + std::to_string(align.v));
    const InkBox ink = FindInk(image);
    ASSERT_FALSE(ink.Empty());
    if (align.dx == 0.f && align.dy == 0.f)
      reference = ink;
    EXPECT_NEAR(ink.l - reference.l, align.dx * (box.W() - width), 3.f) << align.h << "/" << align.v;
    EXPECT_NEAR(ink.t - reference.t, align.dy * (box.H() - measured.H()), 3.f) << align.h << "/" << align.v;
    EXPECT_NEAR(ink.l, measured.L, 2.f) << align.h << "/" << align.v;
    EXPECT_NEAR(ink.r, measured.R, 2.f) << align.h << "/" << align.v;
  }
}

TEST_F(TextTest, ScaleOneAndAHalfRastersLargerGlyphsOfTheSameMeasure)
{
  const char* text = "Tarnwick";
  float widths[2] = {};
  int inkHeights[2] = {};
  const float scales[2] = {1.f, 1.5f};
  for (int i = 0; i < 2; ++i)
  {
    OpenWithFont(scales[i]);
    const ITextStyle style = Style(30.f);
    IRectF bounds(10.f, 10.f, 390.f, 190.f);
    widths[i] = gui->MeasureText(style, text, bounds);
    gui->DrawFrame([&](IGui& g) { g.DrawText(style, text, IRectF(10.f, 10.f, 390.f, 190.f)); });
    const PixelImage image = gui->ReadMain();
    image.WritePng("text-scale-" + std::to_string(i));
    const InkBox ink = FindInk(image);
    ASSERT_FALSE(ink.Empty());
    inkHeights[i] = ink.b - ink.t;
    // The ink starts where the box does, in pixels of this scale.
    EXPECT_NEAR(ink.l, 10.f * scales[i], 3.f);
  }
  EXPECT_NEAR(widths[1], widths[0], 2.f);
  EXPECT_NEAR(static_cast<float>(inkHeights[1]) / inkHeights[0], 1.5f, 0.12f);
}

TEST_F(TextTest, MultiLineTextBreaksIntoRowsAndTheFontImageGrowsWhenFull)
{
  OpenWithFont(1.f);
  const char* text = "The quick brown fox jumps over the lazy dog and keeps on running";
  for (int v : {ITextStyle::kAlignNear, ITextStyle::kAlignFar})
  {
    const IRectF box(20.f, 10.f, 140.f, 190.f);
    gui->DrawFrame([&](IGui& g) { g.DrawMultiLineText(Style(16.f, ITextStyle::kAlignNear, v), text, box); });
    const PixelImage image = gui->ReadMain();
    image.WritePng("text-multiline-" + std::to_string(v));
    const InkBox ink = FindInk(image);
    ASSERT_FALSE(ink.Empty());
    EXPECT_GE(InkRowBands(image), 4);
    EXPECT_GE(ink.l, 19);
    EXPECT_LE(ink.r, 141);
    if (v == ITextStyle::kAlignNear)
      EXPECT_NEAR(ink.t, 10 + 3, 3);
    else
      EXPECT_NEAR(ink.b, 190 - 4, 4);
  }

  // Large glyphs of both alphabets overflow the first 512 x 512 sheet: drawn right-aligned
  // so that only the last ones show, they still arrive, from a larger font image; and
  // again in the next frame, after the font images were folded.
  const char* alphabets = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz";
  for (int pass = 0; pass < 2; ++pass)
  {
    const ITextStyle style = Style(110.f, ITextStyle::kAlignFar, ITextStyle::kAlignNear);
    gui->DrawFrame([&](IGui& g) { g.DrawText(style, alphabets, IRectF(-6000.f, 10.f, 390.f, 190.f)); });
    const PixelImage image = gui->ReadMain();
    image.WritePng("text-font-image-grows-" + std::to_string(pass));
    const InkBox ink = FindInk(image);
    ASSERT_FALSE(ink.Empty()) << "pass " << pass;
    EXPECT_GT(ink.r, 370) << "pass " << pass;
    EXPECT_LT(ink.l, 20) << "pass " << pass;
  }
}
