#include "RendererTestSupport.h"

#include "framework/graphics/renderer/FontAtlas.h"

#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <string>
#include <utility>

namespace pfw::gui::test {

namespace {
using Bytes = std::vector<unsigned char>;

uint32_t Read32(const Bytes& b, size_t at)
{
  return uint32_t(b[at]) << 24 | uint32_t(b[at + 1]) << 16 | uint32_t(b[at + 2]) << 8 | b[at + 3];
}
void Write16(Bytes& b, size_t at, unsigned value)
{
  b[at] = uint8_t(value >> 8);
  b[at + 1] = uint8_t(value);
}
void Write32(Bytes& b, size_t at, uint32_t value)
{
  Write16(b, at, value >> 16);
  Write16(b, at + 2, value & 0xffff);
}
// Offset of a table's directory record, and of the table.
size_t Record(const Bytes& b, const char* tag)
{
  for (size_t i = 0, n = size_t(b[4]) << 8 | b[5]; i < n; ++i)
    if (std::memcmp(&b[12 + 16 * i], tag, 4) == 0)
      return 12 + 16 * i;
  return 0;
}
size_t Table(const Bytes& b, const char* tag)
{
  return Record(b, tag) ? Read32(b, Record(b, tag) + 8) : 0;
}
// The first composite glyph: its index and its offset in the file.
std::pair<unsigned, size_t> FirstComposite(const Bytes& b)
{
  const size_t loca = Table(b, "loca"), glyf = Table(b, "glyf");
  const bool longOffsets = b[Table(b, "head") + 51] == 1;
  const unsigned glyphs = unsigned(b[Table(b, "maxp") + 4]) << 8 | b[Table(b, "maxp") + 5];
  for (unsigned g = 0; g < glyphs; ++g)
  {
    const size_t at = glyf + (longOffsets ? Read32(b, loca + 4 * g) : 2 * (size_t(b[loca + 2 * g]) << 8 | b[loca + 2 * g + 1]));
    if (b[at] == 0xff && b[at + 1] == 0xff)
      return {g, at};
  }
  return {0, 0};
}

// Size of the cmap subtable stb_truetype reads (the last encoding record's).
size_t ReadCmapSubtable(const Bytes& b)
{
  const size_t cmap = Table(b, "cmap");
  const size_t records = size_t(b[cmap + 2]) << 8 | b[cmap + 3];
  return cmap + Read32(b, cmap + 4 + 8 * (records - 1) + 4);
}

// The font without a character that ends a group of its format-12 cmap; empty when it
// has no such group.
Bytes WithoutCharacter(Bytes b, uint32_t character)
{
  const size_t subtable = ReadCmapSubtable(b);
  if (b[subtable + 1] != 12)
    return {};
  for (size_t group = 0, n = Read32(b, subtable + 12); group < n; ++group)
    if (Read32(b, subtable + 16 + 12 * group + 4) == character)
    {
      Write32(b, subtable + 16 + 12 * group + 4, character - 1);
      return b;
    }
  return {};
}

// Adds the font and, when it is taken, lays out and rasterises a run of text with it.
int AddAndDraw(const Bytes& bytes, int face = 0)
{
  FontAtlas* atlas = FontAtlas::Create(FontAtlasParams());
  Bytes copy = bytes;
  const int index = atlas->AddFontMem("f", copy.data(), int(copy.size()), face, false);
  if (index >= 0)
  {
    atlas->State().size = 24.f;
    FontAtlasTextIter iter;
    FontAtlasQuad q;
    const char* text = "AVTo fi\xc3\x81\xc3\xa9\xe2\x82\xac{|}~ 0123 Wave";
    if (atlas->TextIterInit(iter, 0.f, 0.f, text, nullptr, kGlyphBitmapRequired))
      while (atlas->TextIterNext(iter, &q))
      {
      }
  }
  FontAtlas::Delete(atlas);
  return index;
}
} // namespace

TEST(FontFile, HostileBytesAreRefusedBeforeStbTrueTypeReadsThem)
{
  const Bytes roboto = ReadRoboto();
  ASSERT_FALSE(roboto.empty());
  ASSERT_EQ(AddAndDraw(roboto), 0);
  const size_t cmap = Table(roboto, "cmap"), hhea = Table(roboto, "hhea"), loca = Table(roboto, "loca");
  const std::pair<unsigned, size_t> composite = FirstComposite(roboto);
  ASSERT_NE(composite.second, 0u);
  const size_t cmapSubtable = ReadCmapSubtable(roboto);

  struct Case
  {
    const char* what;
    std::function<void(Bytes&)> spoil;
  } cases[] = {
    {"empty", [](Bytes& b) { b.clear(); }},
    {"cut inside the directory", [](Bytes& b) { b.resize(40); }},
    {"cut inside cmap", [&](Bytes& b) { b.resize(cmap + 100); }},
    {"cut inside glyf", [&](Bytes& b) { b.resize(Table(b, "glyf") + 5000); }},
    {"numTables beyond the file", [](Bytes& b) { Write16(b, 4, 0xffff); }},
    {"cmap offset beyond the file", [&](Bytes& b) { Write32(b, Record(b, "cmap") + 8, uint32_t(b.size())); }},
    {"cmap subtable format 2", [&](Bytes& b) { Write16(b, cmapSubtable, 2); }},
    {"cmap subtable group count huge", [&](Bytes& b) { Write32(b, cmapSubtable + 12, 0x10000000); }},
    {"no long horizontal metrics", [&](Bytes& b) { Write16(b, hhea + 34, 0); }},
    {"ascent equal to descent", [&](Bytes& b) { Write16(b, hhea + 4, 0); Write16(b, hhea + 6, 0); }},
    {"loca past glyf", [&](Bytes& b) { Write32(b, loca + 4 * 10, 0x7ffffff0); }},
    {"composite glyph of itself", [&](Bytes& b) { Write16(b, composite.second + 12, composite.first); }},
    {"composite placed by matching points", [&](Bytes& b) { b[composite.second + 11] &= ~2; }},
    {"face index beyond a single font", [](Bytes&) {}},
  };
  for (const Case& c : cases)
  {
    Bytes spoiled = roboto;
    c.spoil(spoiled);
    const bool wrongFace = std::string(c.what).rfind("face index", 0) == 0;
    EXPECT_EQ(AddAndDraw(spoiled, wrongFace ? 1 : 0), -1) << c.what;
  }
  EXPECT_EQ(AddAndDraw(roboto, -1), -1);

  // A collection of one face: face 0 is Roboto, face 1 does not exist.
  Bytes collection = {'t', 't', 'c', 'f', 0, 1, 0, 0, 0, 0, 0, 1, 0, 0, 0, 16};
  collection.insert(collection.end(), roboto.begin(), roboto.end());
  for (size_t i = 0, n = size_t(roboto[4]) << 8 | roboto[5]; i < n; ++i) // table offsets move by 16
    Write32(collection, 16 + 12 + 16 * i + 8, Read32(collection, 16 + 12 + 16 * i + 8) + 16);
  EXPECT_EQ(AddAndDraw(collection, 0), 0);
  EXPECT_EQ(AddAndDraw(collection, 1), -1);
}

TEST(FontFile, CharactersAFontLacksComeFromItsFallbackAtTheFallbacksOwnMetrics)
{
  Bytes roboto = ReadRoboto();
  Bytes noTilde = WithoutCharacter(roboto, '~');
  ASSERT_FALSE(noTilde.empty());
  FontAtlas* atlas = FontAtlas::Create(FontAtlasParams());
  ASSERT_EQ(atlas->AddFontMem("Roboto", roboto.data(), int(roboto.size()), 0, false), 0);
  ASSERT_EQ(atlas->AddFontMem("NoTilde", noTilde.data(), int(noTilde.size()), 0, false), 1);
  atlas->State().size = 40.f;
  // Lays out "~" in a font: the advance, and the glyph's coverage on the sheet.
  auto tilde = [&](int font, std::vector<unsigned char>* coverage) {
    atlas->State().font = font;
    FontAtlasTextIter iter;
    FontAtlasQuad q;
    EXPECT_TRUE(atlas->TextIterInit(iter, 0.f, 0.f, "~", nullptr, kGlyphBitmapRequired));
    EXPECT_TRUE(atlas->TextIterNext(iter, &q));
    for (int y = int(q.t0 * 512); y < int(q.t1 * 512); ++y)
      for (int x = int(q.s0 * 512); x < int(q.s1 * 512); ++x)
        coverage->push_back(atlas->SheetPixels()[y * 512 + x]);
    return iter.nextX;
  };
  std::vector<unsigned char> own, missing, fallen;
  const float ownAdvance = tilde(0, &own);
  const float missingAdvance = tilde(1, &missing);
  EXPECT_NE(missingAdvance, ownAdvance); // the missing-glyph box
  EXPECT_NE(missing, own);

  EXPECT_FALSE(atlas->AddFallbackFont(1, 1));
  EXPECT_FALSE(atlas->AddFallbackFont(1, 2));
  EXPECT_TRUE(atlas->AddFallbackFont(1, 0));
  atlas->ResetSheet(512, 512); // forget the missing-glyph raster
  const float fallenAdvance = tilde(1, &fallen);
  EXPECT_EQ(fallenAdvance, ownAdvance);
  EXPECT_EQ(fallen, own);
  atlas->State().font = 1;
  const float measuredThroughFallback = atlas->TextBounds(0.f, 0.f, "~~", nullptr, nullptr);
  atlas->State().font = 0;
  EXPECT_EQ(measuredThroughFallback, atlas->TextBounds(0.f, 0.f, "~~", nullptr, nullptr));
  for (int i = 1; i < 20; ++i)
    EXPECT_TRUE(atlas->AddFallbackFont(1, 0));
  EXPECT_FALSE(atlas->AddFallbackFont(1, 0)); // twenty at most
  FontAtlas::Delete(atlas);
}

TEST(FontFile, RandomCorruptionNeverReadsOutsideTheBytes)
{
  // Whatever is refused or taken, nothing reads out of bounds (the sanitizers watch).
  const Bytes roboto = ReadRoboto();
  ASSERT_FALSE(roboto.empty());
  uint32_t state = 12345;
  auto next = [&state] { return state = state * 1664525u + 1013904223u; };
  const size_t hot[] = {0, Table(roboto, "cmap"), Table(roboto, "loca"), Table(roboto, "glyf"), Table(roboto, "hmtx"),
                        Table(roboto, "GPOS"), Table(roboto, "hhea")};
  int taken = 0;
  for (int round = 0; round < 60; ++round)
  {
    Bytes spoiled = roboto;
    for (int flip = 0; flip < 8; ++flip)
    {
      const size_t base = hot[next() % (sizeof hot / sizeof hot[0])];
      spoiled[(base + next() % 512) % spoiled.size()] = uint8_t(next() >> 24);
    }
    taken += AddAndDraw(spoiled) == 0;
  }
  EXPECT_GT(taken, 0); // not everything is refused
}

} // namespace pfw::gui::test
