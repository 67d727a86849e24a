#pragma once

namespace pfw::gui {

// stb_truetype follows every offset and count in a font file without checking it. This
// walks the same structures first: the face's table directory, the tables it reads
// (cmap, head, hhea, hmtx, maxp, loca, glyf, and kern or GPOS for kerning) and every
// glyph outline, and accepts the face only when all those reads stay inside the bytes,
// composite glyphs are acyclic and of bounded size, and every format met is one it reads.
// Fonts with CFF outlines are refused. On success *fontStart is the face's offset.
bool CheckTrueTypeFont(const unsigned char* data, int size, int faceIndex, int* fontStart);

} // namespace pfw::gui
