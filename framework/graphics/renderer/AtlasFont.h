#pragma once

#include "TrueTypeFont.h"

#include "framework/core/GrowArray.h"

namespace pfw::gui {

// One cached glyph of a font at one size and blur.
struct AtlasGlyph
{
  unsigned codepoint;
  int index;     // glyph of the font file
  int next;      // next glyph of the same hash slot, -1 ends
  short size;    // font size x 10
  short blur;
  short x0, y0, x1, y1; // sheet rectangle with padding; -1 when not placed
  short xadv;    // advance x 10
  short xoff, yoff;
  const struct AtlasFont* source; // whose outline this is: the font's own or a fallback
};

// A font registered with the atlas, with its glyph cache.
struct AtlasFont
{
  static constexpr int kHashSize = 256;
  static constexpr int kNameLength = 64;
  static constexpr int kMaxFallbacks = 20;

  AtlasFont();
  ~AtlasFont();
  AtlasFont(const AtlasFont&) = delete;
  AtlasFont& operator=(const AtlasFont&) = delete;

  void ClearGlyphs();

  char name[kNameLength] = {};
  unsigned char* data = nullptr;
  int dataSize = 0;
  bool ownsData = false;
  TrueTypeFont font;
  float ascender = 0.f;  // fractions of the font height
  float descender = 0.f;
  float lineHeight = 0.f;
  GrowArray<AtlasGlyph> glyphs{256 * static_cast<int>(sizeof(AtlasGlyph))};
  int hash[kHashSize];
  int fallbacks[kMaxFallbacks] = {};
  int fallbackCount = 0;
};

// The glyph cache's hash of a code point (its slot is the low 8 bits).
unsigned HashCodepoint(unsigned a);

} // namespace pfw::gui
