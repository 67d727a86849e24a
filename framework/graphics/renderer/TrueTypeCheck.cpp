#include "TrueTypeCheck.h"

#include "framework/core/GrowArray.h"

#include <cstdint>
#include <cstring>

namespace pfw::gui {

namespace {

// Composite glyphs nest at most this deep and expand to at most this many outline
// vertices; real fonts stay far below both.
constexpr int kMaxComponentDepth = 16;
constexpr int64_t kMaxGlyphVertices = 1 << 17;

// A bounded view of a table: every read is checked against its end.
struct Span
{
  const unsigned char* data = nullptr;
  int64_t size = 0;

  bool Has(int64_t offset, int64_t bytes) const { return offset >= 0 && bytes >= 0 && offset + bytes <= size; }
  uint16_t U16(int64_t offset) const { return static_cast<uint16_t>(data[offset] << 8 | data[offset + 1]); }
  int16_t S16(int64_t offset) const { return static_cast<int16_t>(U16(offset)); }
  uint32_t U32(int64_t offset) const
  {
    return static_cast<uint32_t>(data[offset]) << 24 | static_cast<uint32_t>(data[offset + 1]) << 16 |
           static_cast<uint32_t>(data[offset + 2]) << 8 | data[offset + 3];
  }
  Span Sub(int64_t offset) const { return Span{data + offset, size - offset}; }
};

struct Face
{
  Span file;
  int64_t start = 0;
  Span cmap, head, hhea, hmtx, maxp, loca, glyf, kern, gpos;
  int numGlyphs = 0;
};

// The first directory entry of the tag, as stb_truetype looks it up; an empty span when
// there is none, false when it lies outside the file.
bool FindTable(const Face& face, const char* tag, Span* table)
{
  *table = Span();
  const int numTables = face.file.U16(face.start + 4);
  for (int i = 0; i < numTables; ++i)
  {
    const int64_t record = face.start + 12 + 16 * static_cast<int64_t>(i);
    if (std::memcmp(face.file.data + record, tag, 4) != 0)
      continue;
    const int64_t offset = face.file.U32(record + 8);
    const int64_t length = face.file.U32(record + 12);
    if (!face.file.Has(offset, length))
      return false;
    *table = Span{face.file.data + offset, length};
    return true;
  }
  return true;
}

bool CheckCmapFormat4(const Span& t)
{
  if (!t.Has(0, 14))
    return false;
  const int64_t segCount = t.U16(6) >> 1;
  const int64_t searchRange = t.U16(8) >> 1;
  const int64_t rangeShift = t.U16(12) >> 1;
  // The binary search can land on any segment up to searchRange + rangeShift, one past
  // the last in a well-formed table; each one it lands on is read whole.
  const int64_t lastItem = searchRange + rangeShift;
  const int64_t endCounts = 14;
  const int64_t startCounts = 16 + segCount * 2;
  const int64_t idDeltas = 16 + segCount * 4;
  const int64_t idRangeOffsets = 16 + segCount * 6;
  if (!t.Has(endCounts + 2 * rangeShift, 2))
    return false;
  for (int64_t item = 0; item <= lastItem; ++item)
  {
    if (!t.Has(endCounts + 2 * item, 2) || !t.Has(startCounts + 2 * item, 2) || !t.Has(idDeltas + 2 * item, 2) ||
        !t.Has(idRangeOffsets + 2 * item, 2))
      return false;
    const int64_t start = t.U16(startCounts + 2 * item);
    const int64_t last = t.U16(endCounts + 2 * item);
    const int64_t offset = t.U16(idRangeOffsets + 2 * item);
    if (offset != 0 && start <= last && !t.Has(idRangeOffsets + 2 * item + offset + (last - start) * 2, 2))
      return false;
  }
  return true;
}

bool CheckCmapSubtable(const Span& t)
{
  if (!t.Has(0, 2))
    return false;
  switch (t.U16(0))
  {
  case 0: return t.Has(0, 4) && (t.U16(2) <= 6 || t.Has(6, t.U16(2) - 6));
  case 4: return CheckCmapFormat4(t);
  case 6: return t.Has(0, 10) && t.Has(10, 2 * static_cast<int64_t>(t.U16(8)));
  case 12:
  case 13: return t.Has(0, 16) && t.Has(16, 12 * static_cast<int64_t>(t.U32(12)));
  default: return false; // formats stb_truetype does not read (or asserts on)
  }
}

bool CheckCmap(const Span& cmap)
{
  if (!cmap.Has(0, 4) || !cmap.Has(4, 8 * static_cast<int64_t>(cmap.U16(2))))
    return false;
  // stb_truetype takes the last Unicode record it understands.
  int64_t chosen = -1;
  for (int i = 0; i < cmap.U16(2); ++i)
  {
    const int64_t record = 4 + 8 * static_cast<int64_t>(i);
    const int platform = cmap.U16(record);
    const int encoding = cmap.U16(record + 2);
    if (platform == 0 || (platform == 3 && (encoding == 1 || encoding == 10)))
      chosen = cmap.U32(record + 4);
  }
  return chosen > 0 && cmap.Has(chosen, 0) && CheckCmapSubtable(cmap.Sub(chosen));
}

// Byte length of a simple outline, or -1 when it runs past the glyph's data.
bool CheckSimpleGlyph(const Span& g, int contours, int64_t* vertices)
{
  const int64_t endPts = 10;
  if (!g.Has(endPts, 2 * static_cast<int64_t>(contours) + 2))
    return false;
  const int64_t points = g.U16(endPts + 2 * (contours - 1)) + 1;
  const int64_t instructions = g.U16(endPts + 2 * contours);
  int64_t at = endPts + 2 * contours + 2 + instructions;
  // Flags with their repeats, then the x and y coordinates they size.
  int64_t xBytes = 0;
  int64_t yBytes = 0;
  int64_t repeat = 0;
  unsigned flags = 0;
  for (int64_t i = 0; i < points; ++i)
  {
    if (repeat == 0)
    {
      if (!g.Has(at, 1))
        return false;
      flags = g.data[at++];
      if (flags & 8)
      {
        if (!g.Has(at, 1))
          return false;
        repeat = g.data[at++];
      }
    }
    else
      --repeat;
    xBytes += (flags & 2) ? 1 : (flags & 16) ? 0 : 2;
    yBytes += (flags & 4) ? 1 : (flags & 32) ? 0 : 2;
  }
  *vertices = points + 2 * static_cast<int64_t>(contours);
  return g.Has(at, xBytes + yBytes);
}

struct GlyphWalk
{
  const Face& face;
  GrowArray<unsigned char> state; // 0 unseen, 1 being walked, 2 done
  GrowArray<int64_t> vertices;

  bool GlyphData(int glyph, Span* g) const
  {
    const bool shortOffsets = face.head.U16(50) == 0;
    int64_t g1, g2;
    if (shortOffsets)
    {
      g1 = 2 * static_cast<int64_t>(face.loca.U16(2 * static_cast<int64_t>(glyph)));
      g2 = 2 * static_cast<int64_t>(face.loca.U16(2 * static_cast<int64_t>(glyph) + 2));
    }
    else
    {
      g1 = face.loca.U32(4 * static_cast<int64_t>(glyph));
      g2 = face.loca.U32(4 * static_cast<int64_t>(glyph) + 4);
    }
    if (g1 > g2 || !face.glyf.Has(g1, g2 - g1))
      return false;
    *g = Span{face.glyf.data + g1, g2 - g1};
    return true;
  }

  bool Check(int glyph, int depth)
  {
    if (glyph >= face.numGlyphs)
      return true; // stb_truetype draws nothing for it
    unsigned char& seen = *state.Get(glyph);
    if (seen == 2)
      return true;
    if (seen == 1 || depth > kMaxComponentDepth)
      return false; // a cycle, or nesting no font needs
    seen = 1;
    Span g;
    if (!GlyphData(glyph, &g))
      return false;
    int64_t count = 0;
    if (g.size > 0)
    {
      if (!g.Has(0, 10))
        return false;
      const int contours = g.S16(0);
      if (contours > 0 && !CheckSimpleGlyph(g, contours, &count))
        return false;
      if (contours < 0 && !CheckComposite(g, depth, &count))
        return false;
    }
    if (count > kMaxGlyphVertices)
      return false;
    *vertices.Get(glyph) = count;
    *state.Get(glyph) = 2;
    return true;
  }

  bool CheckComposite(const Span& g, int depth, int64_t* count)
  {
    int64_t at = 10;
    for (;;)
    {
      if (!g.Has(at, 4))
        return false;
      const unsigned flags = g.U16(at);
      const int component = g.U16(at + 2);
      at += 4;
      if (!(flags & 2))
        return false; // point-matched placement, which stb_truetype asserts on
      at += (flags & 1) ? 4 : 2;
      if (flags & 8)
        at += 2;
      else if (flags & 64)
        at += 4;
      else if (flags & 128)
        at += 8;
      if (!g.Has(at, 0) || !Check(component, depth + 1))
        return false;
      if (component < face.numGlyphs)
        *count += *vertices.Get(component);
      if (*count > kMaxGlyphVertices)
        return false;
      if (!(flags & 32))
        return true;
    }
  }
};

bool CheckGlyphs(const Face& face)
{
  const int64_t entries = static_cast<int64_t>(face.numGlyphs) + 1;
  const bool shortOffsets = face.head.U16(50) == 0;
  if (face.head.U16(50) > 1 || !face.loca.Has(0, entries * (shortOffsets ? 2 : 4)))
    return false;
  GlyphWalk walk{face, GrowArray<unsigned char>(4096), GrowArray<int64_t>(4096)};
  if (!walk.state.Resize(face.numGlyphs) || !walk.vertices.Resize(face.numGlyphs))
    return false;
  std::memset(walk.state.Get(), 0, static_cast<size_t>(face.numGlyphs));
  for (int glyph = 0; glyph < face.numGlyphs; ++glyph)
    if (!walk.Check(glyph, 0))
      return false;
  return true;
}

bool CheckHorizontalMetrics(const Face& face)
{
  const int64_t longMetrics = face.hhea.U16(34);
  if (longMetrics < 1)
    return false;
  const int64_t glyphs = face.numGlyphs;
  const int64_t bytes = glyphs <= longMetrics ? 4 * glyphs : 4 * longMetrics + 2 * (glyphs - longMetrics);
  return face.hmtx.Has(0, bytes);
}

bool CheckKern(const Span& kern)
{
  if (kern.size == 0)
    return true;
  if (!kern.Has(0, 4))
    return false;
  if (kern.U16(2) < 1)
    return true;
  if (!kern.Has(0, 10))
    return false;
  if (kern.U16(8) != 1)
    return true;
  return kern.Has(0, 12) && kern.Has(18, 6 * static_cast<int64_t>(kern.U16(10)));
}

// The largest coverage index a coverage table can yield, or -2 when it is out of bounds
// (-1: it yields none).
int64_t CheckCoverage(const Span& t)
{
  if (!t.Has(0, 2))
    return -2;
  const int format = t.U16(0);
  if (format == 1)
  {
    if (!t.Has(0, 4) || !t.Has(4, 2 * static_cast<int64_t>(t.U16(2))))
      return -2;
    return static_cast<int64_t>(t.U16(2)) - 1;
  }
  if (format == 2)
  {
    if (!t.Has(0, 4) || !t.Has(4, 6 * static_cast<int64_t>(t.U16(2))))
      return -2;
    int64_t highest = -1;
    for (int i = 0; i < t.U16(2); ++i)
    {
      const int64_t record = 4 + 6 * static_cast<int64_t>(i);
      const int64_t start = t.U16(record);
      const int64_t end = t.U16(record + 2);
      if (end >= start && t.U16(record + 4) + end - start > highest)
        highest = t.U16(record + 4) + end - start;
    }
    return highest;
  }
  return -1;
}

bool CheckClassDef(const Span& t)
{
  if (!t.Has(0, 2))
    return false;
  if (t.U16(0) == 1)
    return t.Has(0, 6) && t.Has(6, 2 * static_cast<int64_t>(t.U16(4)));
  if (t.U16(0) == 2)
    return t.Has(0, 4) && t.Has(4, 6 * static_cast<int64_t>(t.U16(2)));
  return true;
}

bool CheckPairAdjustment(const Span& t)
{
  if (!t.Has(0, 4))
    return false;
  const int64_t highest = t.Has(t.U16(2), 0) ? CheckCoverage(t.Sub(t.U16(2))) : -2;
  if (highest == -2)
    return false;
  if (highest < 0)
    return true;
  const int format = t.U16(0);
  if (format != 1 && format != 2)
    return true;
  if (!t.Has(0, 8) || t.U16(4) != 4 || t.U16(6) != 0)
    return t.Has(0, 8);
  if (format == 1)
  {
    if (!t.Has(0, 10))
      return false;
    const int64_t pairSets = t.U16(8);
    for (int64_t index = 0; index <= highest; ++index)
    {
      if (!t.Has(10 + 2 * index, 2))
        return false;
      const int64_t pairSet = t.U16(10 + 2 * index);
      if (!t.Has(pairSet, 2))
        return false;
      if (index < pairSets && !t.Has(pairSet + 2, 4 * static_cast<int64_t>(t.U16(pairSet))))
        return false;
    }
    return true;
  }
  if (!t.Has(0, 16) || !t.Has(t.U16(8), 0) || !t.Has(t.U16(10), 0) || !CheckClassDef(t.Sub(t.U16(8))) ||
      !CheckClassDef(t.Sub(t.U16(10))))
    return false;
  return t.Has(16, 2 * static_cast<int64_t>(t.U16(12)) * t.U16(14));
}

bool CheckGpos(const Span& gpos)
{
  if (gpos.size == 0)
    return true;
  if (!gpos.Has(0, 4))
    return false;
  if (gpos.U16(0) != 1 || gpos.U16(2) != 0)
    return true;
  if (!gpos.Has(0, 10))
    return false;
  const int64_t list = gpos.U16(8);
  if (!gpos.Has(list, 2) || !gpos.Has(list + 2, 2 * static_cast<int64_t>(gpos.U16(list))))
    return false;
  for (int i = 0; i < gpos.U16(list); ++i)
  {
    const int64_t lookup = list + gpos.U16(list + 2 + 2 * i);
    if (!gpos.Has(lookup, 6))
      return false;
    if (gpos.U16(lookup) != 2)
      continue;
    const int subtables = gpos.U16(lookup + 4);
    if (!gpos.Has(lookup + 6, 2 * static_cast<int64_t>(subtables)))
      return false;
    for (int s = 0; s < subtables; ++s)
    {
      const int64_t subtable = lookup + gpos.U16(lookup + 6 + 2 * s);
      if (!gpos.Has(subtable, 0) || !CheckPairAdjustment(gpos.Sub(subtable)))
        return false;
    }
  }
  return true;
}

bool FaceStart(const Span& file, int faceIndex, int64_t* start)
{
  if (!file.Has(0, 4) || faceIndex < 0)
    return false;
  if (std::memcmp(file.data, "ttcf", 4) == 0)
  {
    if (!file.Has(0, 12) || (file.U32(4) != 0x00010000 && file.U32(4) != 0x00020000))
      return false;
    if (faceIndex >= static_cast<int64_t>(static_cast<int32_t>(file.U32(8))) || !file.Has(12 + 4 * int64_t(faceIndex), 4))
      return false;
    *start = file.U32(12 + 4 * static_cast<int64_t>(faceIndex));
  }
  else
  {
    if (faceIndex != 0)
      return false;
    *start = 0;
  }
  // TrueType outlines only: 1.0 or Apple's 'true'.
  if (!file.Has(*start, 12))
    return false;
  const uint32_t version = file.U32(*start);
  if (version != 0x00010000 && std::memcmp(file.data + *start, "true", 4) != 0)
    return false;
  return file.Has(*start + 12, 16 * static_cast<int64_t>(file.U16(*start + 4)));
}

} // namespace

bool CheckTrueTypeFont(const unsigned char* data, int size, int faceIndex, int* fontStart)
{
  if (!data || size <= 0)
    return false;
  Face face;
  face.file = Span{data, size};
  if (!FaceStart(face.file, faceIndex, &face.start))
    return false;
  // stb_truetype's own recognition of a font must agree: it also reads the face's first
  // four bytes as a tag.
  if (!FindTable(face, "cmap", &face.cmap) || !FindTable(face, "head", &face.head) ||
      !FindTable(face, "hhea", &face.hhea) || !FindTable(face, "hmtx", &face.hmtx) ||
      !FindTable(face, "maxp", &face.maxp) || !FindTable(face, "loca", &face.loca) ||
      !FindTable(face, "glyf", &face.glyf) || !FindTable(face, "kern", &face.kern) ||
      !FindTable(face, "GPOS", &face.gpos))
    return false;
  // stb_truetype treats an offset of 0 as a missing table.
  const Span* required[] = {&face.cmap, &face.head, &face.hhea, &face.hmtx, &face.maxp, &face.loca, &face.glyf};
  for (const Span* table : required)
    if (!table->data || table->data == data)
      return false;
  if (face.kern.data == data || face.gpos.data == data)
    return false;
  if (!face.head.Has(0, 54) || !face.hhea.Has(0, 36) || !face.maxp.Has(0, 6))
    return false;
  face.numGlyphs = face.maxp.U16(4);
  const int ascent = face.hhea.S16(4);
  const int descent = face.hhea.S16(6);
  if (face.numGlyphs < 1 || ascent - descent <= 0)
    return false;
  if (!CheckCmap(face.cmap) || !CheckHorizontalMetrics(face) || !CheckGlyphs(face))
    return false;
  // Kerning comes from GPOS when the face has one, else from kern.
  if (!(face.gpos.data ? CheckGpos(face.gpos) : CheckKern(face.kern)))
    return false;
  *fontStart = static_cast<int>(face.start);
  return true;
}

} // namespace pfw::gui
