#include "RendererTestSupport.h"

#include "framework/graphics/renderer/FontAtlas.h"
#include "framework/graphics/renderer/SkylinePacker.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

#define STBTT_STATIC
#define STB_TRUETYPE_IMPLEMENTATION
#include <stb_truetype.h>

namespace pfw::gui::test {

TEST(SkylinePacker, PlacesEachRectangleAtTheLowestSpotAndRefusesWhatDoesNotFit)
{
  struct Step
  {
    int w, h;
    bool fits;
    int x, y;
  } steps[] = {{2, 2, true, 0, 0},   {10, 10, true, 2, 0},  {500, 4, true, 12, 0}, {20, 3, true, 12, 4},
               {2, 500, true, 0, 2}, {513, 1, false, 0, 0}, {600, 1, false, 0, 0}, {492, 508, false, 0, 0}};
  SkylinePacker packer;
  packer.Reset(512, 512);
  for (const Step& s : steps)
  {
    int x = -1, y = -1;
    ASSERT_EQ(packer.AddRect(s.w, s.h, &x, &y), s.fits) << s.w << "x" << s.h;
    if (s.fits)
    {
      EXPECT_EQ(x * 1000 + y, s.x * 1000 + s.y) << s.w << "x" << s.h;
    }
  }
  // Nodes stay sorted, adjacent, cover the width, and never share a height with a neighbour.
  int end = 0;
  for (int i = 0; i < packer.NodeCount(); ++i)
  {
    EXPECT_EQ(packer.Nodes()[i].x, end);
    end += packer.Nodes()[i].width;
    if (i > 0)
    {
      EXPECT_NE(packer.Nodes()[i].y, packer.Nodes()[i - 1].y);
    }
  }
  EXPECT_EQ(end, 512);
}

struct AtlasTest : ::testing::Test
{
  void SetUp() override
  {
    bytes = ReadRoboto();
    ASSERT_FALSE(bytes.empty()) << TARNWICK_ROBOTO_FONT;
    atlas = FontAtlas::Create(FontAtlasParams());
    ASSERT_NE(atlas, nullptr);
    ASSERT_EQ(atlas->AddFontMem("Roboto", bytes.data(), int(bytes.size()), 0, false), 0);
    ASSERT_NE(stbtt_InitFont(&reference, bytes.data(), 0), 0);
  }
  void TearDown() override { FontAtlas::Delete(atlas); }

  // The glyphs of a string as the atlas lays them out, with their rasterised coverage.
  std::vector<FontAtlasQuad> Layout(const char* text, int option, std::vector<int>* glyphIndices = nullptr)
  {
    std::vector<FontAtlasQuad> quads;
    FontAtlasTextIter iter;
    EXPECT_TRUE(atlas->TextIterInit(iter, 0.f, 0.f, text, nullptr, option));
    FontAtlasQuad q;
    while (atlas->TextIterNext(iter, &q))
    {
      if (glyphIndices)
        glyphIndices->push_back(iter.prevGlyphIndex);
      if (iter.prevGlyphIndex != -1)
        quads.push_back(q);
    }
    return quads;
  }

  std::vector<unsigned char> bytes;
  FontAtlas* atlas = nullptr;
  stbtt_fontinfo reference;
};

TEST_F(AtlasTest, ANewSheetHoldsOnlyTheWhiteBlock)
{
  const unsigned char* sheet = atlas->SheetPixels();
  int lit = 0;
  for (int i = 0; i < 512 * 512; ++i)
    lit += sheet[i] != 0;
  EXPECT_EQ(lit, 4);
  EXPECT_EQ(sheet[0] & sheet[1] & sheet[512] & sheet[513], 255);
  int dirty[4];
  ASSERT_TRUE(atlas->TakeDirtyRect(dirty));
  EXPECT_EQ(dirty[0] + dirty[1] + dirty[2] * 10 + dirty[3] * 100, 220);
  EXPECT_FALSE(atlas->TakeDirtyRect(dirty));
}

TEST_F(AtlasTest, MeasuresAsStbTrueTypeDoes)
{
  const char* text = "Tarnwick AV: Wave, Tone 0.85";
  struct Case
  {
    float size;
    int align;
  } cases[] = {{18.f, 1 | 64}, {12.f, 2 | 64}, {40.f, 4 | 8}};
  for (const Case& c : cases)
  {
    atlas->State().size = c.size;
    atlas->State().align = c.align;
    // Independently: stb_truetype's advances and kerning at the size's pixel height.
    const float scale = stbtt_ScaleForPixelHeight(&reference, c.size);
    float exact = 0.f;
    int glyphs = 0, previous = -1;
    for (const char* p = text; *p; ++p, ++glyphs)
    {
      const int glyph = stbtt_FindGlyphIndex(&reference, *p);
      int advance, bearing;
      stbtt_GetGlyphHMetrics(&reference, glyph, &advance, &bearing);
      exact += advance * scale + (previous >= 0 ? stbtt_GetGlyphKernAdvance(&reference, previous, glyph) * scale : 0.f);
      previous = glyph;
    }
    float bounds[4];
    const float width = atlas->TextBounds(100.f, 50.f, text, nullptr, bounds);
    EXPECT_NEAR(width, exact, 0.6f * glyphs) << c.size; // whole pixels per glyph and kern
    const float shift = (c.align & 4) ? width : (c.align & 2) ? width / 2.f : 0.f;
    EXPECT_NEAR(bounds[0], 100.f - shift, 3.f) << c.size;
    EXPECT_NEAR(bounds[2], 100.f - shift + width, 3.f) << c.size;
    // The ink of every glyph lies inside the measured box (in layout at the same origin).
    FontAtlasTextIter iter;
    ASSERT_TRUE(atlas->TextIterInit(iter, 100.f, 50.f, text, nullptr, kGlyphBitmapRequired));
    FontAtlasQuad q;
    while (atlas->TextIterNext(iter, &q))
    {
      EXPECT_GE(q.x0, bounds[0] - 0.01f);
      EXPECT_LE(q.x1, bounds[2] + 0.01f);
      EXPECT_GE(q.y0, bounds[1] - 0.01f);
      EXPECT_LE(q.y1, bounds[3] + 0.01f);
    }
    int ascent, descent, gap;
    stbtt_GetFontVMetrics(&reference, &ascent, &descent, &gap);
    EXPECT_FLOAT_EQ(atlas->FontLineHeight(0), float(ascent - descent + gap) / float(ascent - descent));
    float minY = 0.f, maxY = 0.f;
    atlas->LineBounds(50.f, &minY, &maxY);
    EXPECT_NEAR(maxY - minY, atlas->FontLineHeight(0) * c.size, 0.01f);
  }
}

TEST_F(AtlasTest, GlyphsAreCachedBySizeAndBlurAndBlurWidensThePadding)
{
  atlas->State().size = 20.f;
  const std::vector<FontAtlasQuad> twice = Layout("HH", kGlyphBitmapRequired);
  ASSERT_EQ(twice.size(), 2u);
  EXPECT_EQ(twice[0].s0, twice[1].s0); // one raster for both
  int dirty[4];
  ASSERT_TRUE(atlas->TakeDirtyRect(dirty));
  Layout("H", kGlyphBitmapRequired);
  EXPECT_FALSE(atlas->TakeDirtyRect(dirty)); // cached: nothing new on the sheet
  // Coverage landed inside the glyph's texture rectangle.
  const FontAtlasQuad& h = twice[0];
  int ink = 0;
  for (int y = int(h.t0 * 512); y < int(h.t1 * 512); ++y)
    for (int x = int(h.s0 * 512); x < int(h.s1 * 512); ++x)
      ink += atlas->SheetPixels()[y * 512 + x] > 128;
  EXPECT_GT(ink, 40);

  atlas->State().blur = 30.f; // limited to 20: padding 22 instead of 2
  const std::vector<FontAtlasQuad> blurred = Layout("H", kGlyphBitmapRequired);
  ASSERT_EQ(blurred.size(), 1u);
  EXPECT_FLOAT_EQ((blurred[0].x1 - blurred[0].x0) - (h.x1 - h.x0), 40.f);
  EXPECT_NE(blurred[0].s0, h.s0);
}

TEST_F(AtlasTest, TinySizesHaveNoGlyphsAndBadUtf8IsReplacedNotTheEndOfTheText)
{
  atlas->State().size = 0.15f;
  std::vector<int> indices;
  EXPECT_TRUE(Layout("ab", kGlyphBitmapOptional, &indices).empty());
  EXPECT_EQ(indices, std::vector<int>({-1, -1}));

  atlas->State().size = 16.f;
  indices.clear();
  Layout("A\xff" "B\xe2\x82", kGlyphBitmapOptional, &indices);
  ASSERT_EQ(indices.size(), 4u); // A, replacement, B, replacement for the cut sequence
  EXPECT_EQ(indices[0], stbtt_FindGlyphIndex(&reference, 'A'));
  EXPECT_EQ(indices[2], stbtt_FindGlyphIndex(&reference, 'B'));
}

// Records what the atlas tells its callbacks.
struct AtlasCallbacks
{
  std::vector<std::vector<int>> calls; // {kind, values...}: creates, resizes, updates, errors
  std::vector<std::vector<unsigned>> drawnColours;
  std::vector<float> drawnTexCoords;
  bool refuseResize = false;
  FontAtlas* atlas = nullptr;
  int growOnFullTo = 0;

  enum { kCreate, kResize, kUpdate, kError, kDestroy };
  static AtlasCallbacks& Of(void* user) { return *static_cast<AtlasCallbacks*>(user); }
  FontAtlasParams Params(int size)
  {
    FontAtlasParams params;
    params.width = params.height = size;
    params.user = this;
    params.create = [](void* user, int w, int h) { return Of(user).calls.push_back({kCreate, w, h}), 1; };
    params.resize = [](void* user, int w, int h) {
      Of(user).calls.push_back({kResize, w, h});
      return Of(user).refuseResize ? 0 : 1;
    };
    params.update = [](void* user, const int* r, const unsigned char*) {
      Of(user).calls.push_back({kUpdate, r[0], r[1], r[2], r[3]});
    };
    params.draw = [](void* user, const float*, const float* texCoords, const unsigned* colours, int count) {
      Of(user).drawnColours.emplace_back(colours, colours + count);
      Of(user).drawnTexCoords.insert(Of(user).drawnTexCoords.end(), texCoords, texCoords + count * 2);
    };
    params.destroy = [](void* user) { Of(user).calls.push_back({kDestroy}); };
    return params;
  }
  static void OnError(void* user, int error, int value)
  {
    AtlasCallbacks& self = Of(user);
    self.calls.push_back({kError, error, value});
    if (error == kAtlasSheetFull && self.growOnFullTo)
      self.atlas->ResetSheet(self.growOnFullTo, self.growOnFullTo);
  }
};

TEST(FontAtlasStates, StackTwentyDeepAndReportOverflowAndUnderflow)
{
  AtlasCallbacks seen;
  FontAtlas* atlas = FontAtlas::Create(FontAtlasParams());
  atlas->SetErrorCallback(&AtlasCallbacks::OnError, &seen);
  atlas->State().size = 20.f;
  for (int i = 1; i < 20; ++i)
  {
    atlas->PushState();
    EXPECT_EQ(atlas->State().size, 20.f + float(i - 1)); // a copy of the one below
    atlas->State().size = 20.f + float(i);
  }
  EXPECT_TRUE(seen.calls.empty());
  atlas->PushState();
  EXPECT_EQ(seen.calls, std::vector<std::vector<int>>({{AtlasCallbacks::kError, kAtlasStatesOverflow, 0}}));
  EXPECT_EQ(atlas->State().size, 39.f);
  for (int i = 1; i < 20; ++i)
    atlas->PopState();
  EXPECT_EQ(atlas->State().size, 20.f);
  atlas->PopState();
  EXPECT_EQ(seen.calls.back(), std::vector<int>({AtlasCallbacks::kError, kAtlasStatesUnderflow, 0}));
  EXPECT_EQ(atlas->State().size, 20.f); // the last state stays
  atlas->State().colour = 0x12345678;
  atlas->ClearState();
  EXPECT_EQ(atlas->State().size, 12.f);
  EXPECT_EQ(atlas->State().colour, 0xffffffffu);
  FontAtlas::Delete(atlas);
}

TEST(FontAtlasCallbacks, SeeTheSheetTheQueuedGlyphsAndEveryResize)
{
  using Calls = std::vector<std::vector<int>>;
  std::vector<unsigned char> bytes = ReadRoboto();
  AtlasCallbacks seen;
  FontAtlas* atlas = FontAtlas::Create(seen.Params(64));
  ASSERT_NE(atlas, nullptr);
  seen.atlas = atlas;
  EXPECT_EQ(seen.calls, Calls({{AtlasCallbacks::kCreate, 64, 64}}));
  ASSERT_EQ(atlas->AddFontMem("Roboto", bytes.data(), int(bytes.size()), 0, false), 0);

  // Two glyphs: twelve vertices in the state's colour, drawn at the flush with the sheet.
  atlas->State().size = 14.f;
  atlas->State().colour = 0xff3366cc;
  EXPECT_GT(atlas->DrawText(0.f, 20.f, "Hi", nullptr), 8.f);
  EXPECT_TRUE(seen.drawnColours.empty());
  atlas->Flush();
  ASSERT_EQ(seen.calls.size(), 2u);
  EXPECT_EQ(seen.calls[1][0], AtlasCallbacks::kUpdate);
  EXPECT_EQ(seen.calls[1][1] + seen.calls[1][2], 0); // from the white block on
  EXPECT_GT(seen.calls[1][3] * seen.calls[1][4], 100);
  ASSERT_EQ(seen.drawnColours.size(), 1u);
  EXPECT_EQ(seen.drawnColours[0], std::vector<unsigned>(12, 0xff3366cc));
  for (float t : seen.drawnTexCoords)
    EXPECT_TRUE(t > 0.f && t < 1.f) << t;

  // A full queue is drawn as the text goes on: 170 glyphs of six vertices at a time.
  seen.drawnColours.clear();
  atlas->DrawText(0.f, 20.f, std::string(200, 'i').c_str(), nullptr);
  atlas->Flush();
  ASSERT_EQ(seen.drawnColours.size(), 2u);
  EXPECT_EQ(seen.drawnColours[0].size() * 10 + seen.drawnColours[1].size(), 10200u + 180u);

  // A glyph the sheet cannot take: the error callback grows the sheet and the glyph goes
  // into the new one; a refused resize changes nothing.
  atlas->SetErrorCallback(&AtlasCallbacks::OnError, &seen);
  seen.growOnFullTo = 128;
  seen.calls.clear();
  atlas->State().size = 100.f;
  atlas->DrawText(0.f, 100.f, "W", nullptr);
  EXPECT_EQ(seen.calls, Calls({{AtlasCallbacks::kError, kAtlasSheetFull, 0}, {AtlasCallbacks::kResize, 128, 128}}));
  EXPECT_EQ(atlas->SheetWidth(), 128);
  seen.refuseResize = true;
  EXPECT_EQ(atlas->ResetSheet(256, 256), 0);
  EXPECT_EQ(atlas->SheetWidth(), 128);
  seen.calls.clear();
  FontAtlas::Delete(atlas);
  EXPECT_EQ(seen.calls, Calls({{AtlasCallbacks::kDestroy}}));
}

TEST_F(AtlasTest, NamesAreCutTo63CharactersAndLookedUpExactly)
{
  const std::string longName(70, 'x');
  const int index = atlas->AddFontMem(longName.c_str(), bytes.data(), int(bytes.size()), 0, false);
  EXPECT_EQ(index, 1);
  EXPECT_EQ(atlas->FontByName(std::string(63, 'x').c_str()), 1);
  EXPECT_EQ(atlas->FontByName(longName.c_str()), -1);
  EXPECT_EQ(atlas->FontByName("Roboto"), 0);
  EXPECT_EQ(atlas->FontByName("roboto"), -1);
}

} // namespace pfw::gui::test
