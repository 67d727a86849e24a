#pragma once

namespace pfw::gui {

// The clip rectangle: a rectangle of half size extent centred on the origin of transform.
// A negative extent means no clip.
struct VectorScissor
{
  float transform[6] = {0.f, 0.f, 0.f, 0.f, 0.f, 0.f};
  float extent[2] = {-1.f, -1.f};
};

} // namespace pfw::gui
