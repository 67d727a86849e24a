#pragma once

#include "framework/graphics/IInputEvents.h"

#include <windows.h>

#include <cstddef>
#include <cstdint>
#include <unordered_map>
#include <vector>

namespace pfw::gui {

// The contacts of one touch message, sorted by what happened to them, in user-interface
// units.
struct TouchEvents
{
  std::vector<IPointerEvent> down;
  std::vector<IPointerEvent> up;
  std::vector<IPointerEvent> moved;
};

// Sorts touch inputs (screen positions in hundredths of a pixel) into contacts that came
// down, went up and moved; clientOrigin is the window's client origin on the screen and
// scale its pixels per unit. touches keeps the last event of every contact that is down,
// by touch id, and gives a move its distance from there (none for a contact it does not
// know).
TouchEvents SortTouchInputs(const TOUCHINPUT* inputs, size_t count, POINT clientOrigin, float scale,
                            std::unordered_map<int64_t, IPointerEvent>& touches);

} // namespace pfw::gui
