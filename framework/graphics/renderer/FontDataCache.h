#pragma once

#include "framework/graphics/FontData.h"
#include "framework/graphics/StaticCache.h"

namespace pfw::gui {

// The bytes of every font a renderer registered, process-wide, keyed by font id at
// scale 1: a font is read from the platform once, whichever window loads it first.
// Counted by the living IGuiVG instances; the last one empties it.
StaticCache<FontData>& FontDataCache();

} // namespace pfw::gui
