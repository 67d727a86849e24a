#pragma once

#include "APIBitmap.h"
#include "ISvgRef.h"
#include "StaticCache.h"

namespace pfw::gui {

// The process-wide caches every graphics instance shares. The bitmap cache's lock is
// always taken before the SVG cache's.
StaticCache<APIBitmap>& BitmapCache();
StaticCache<SVGHolder>& SvgCache();

} // namespace pfw::gui
