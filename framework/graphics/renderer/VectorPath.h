#pragma once

namespace pfw::gui {

// One vertex handed to the back end: a position in frame units and a texture coordinate.
// For fills and strokes u runs across the stroke (0 and 1 at the anti-aliased edges, 0.5
// on the centre line) and v along the caps' fringe; text uses (u, v) on the glyph sheet.
struct VectorVertex
{
  float x = 0.f;
  float y = 0.f;
  float u = 0.f;
  float v = 0.f;
};

// One flattened sub-path as the back end receives it: the fill triangles as a fan and
// the anti-aliasing fringe (or the stroke) as a strip, both pointing into the context's
// vertex buffer, valid until the back end returns.
struct VectorPath
{
  int first = 0;
  int count = 0;
  unsigned char closed = 0;
  int bevelCount = 0;
  VectorVertex* fill = nullptr;
  int fillCount = 0;
  VectorVertex* stroke = nullptr;
  int strokeCount = 0;
  int winding = 0;
  int convex = 0;
};

} // namespace pfw::gui
