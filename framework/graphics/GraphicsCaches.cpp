#include "GraphicsCaches.h"

namespace pfw::gui {

StaticCache<APIBitmap>& BitmapCache()
{
  static StaticCache<APIBitmap> cache;
  return cache;
}

StaticCache<SVGHolder>& SvgCache()
{
  static StaticCache<SVGHolder> cache;
  return cache;
}

} // namespace pfw::gui
