#pragma once

#include <stb_truetype.h>

namespace pfw::gui {

class ScratchArena;

// One face of a font file through stb_truetype, after the file passed CheckTrueTypeFont.
// Glyph indices handed in are always those of the face (0 for a missing character).
class TrueTypeFont
{
public:
  // False when the bytes are not a face stb_truetype may read safely.
  bool Init(const unsigned char* data, int size, int faceIndex, ScratchArena* scratch);

  // The face's glyph of the code point; 0 (the missing-glyph outline) when it has none.
  int GlyphIndex(unsigned codepoint) const;
  // Scale from font units to pixels for a line of the given pixel height.
  float ScaleForPixelHeight(float height) const;
  int AdvanceWidth(int glyph) const;
  void BitmapBox(int glyph, float scale, int* x0, int* y0, int* x1, int* y1) const;
  int KernAdvance(int glyph1, int glyph2) const;
  // Renders into w x h pixels at out, rows stride bytes apart.
  void Render(unsigned char* out, int w, int h, int stride, float scale, int glyph) const;

  int Ascent() const { return mAscent; }
  int Descent() const { return mDescent; }
  int LineGap() const { return mLineGap; }

private:
  stbtt_fontinfo mInfo{};
  int mGlyphCount = 0;
  int mAscent = 0;
  int mDescent = 0;
  int mLineGap = 0;
};

} // namespace pfw::gui
