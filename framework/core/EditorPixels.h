#pragma once

namespace pfw {

// One extent of the editor's window in pixels: whole user-interface units at the drawing
// scale first, then whole pixels at the window scale (window pixels per drawn pixel). The
// graphics size their window this way, so every size computed ahead of them must be too.
inline int EditorPixelExtent(int units, float drawScale, float windowScale)
{
  return static_cast<int>(windowScale * static_cast<int>(units * drawScale));
}

} // namespace pfw
