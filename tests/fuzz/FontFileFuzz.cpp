// Font files from untrusted bytes: the atlas must refuse what stb_truetype cannot read
// safely, and lay out and rasterise whatever it takes.
#include "framework/graphics/renderer/FontAtlas.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
  using namespace pfw::gui;
  if (size == 0 || size > (1u << 24))
    return 0;
  // Owned by the atlas from here on, in a block of exactly the input's size so that any
  // read past it is caught.
  unsigned char* bytes = static_cast<unsigned char*>(std::malloc(size));
  if (!bytes)
    return 0;
  std::memcpy(bytes, data, size);
  FontAtlasParams params;
  params.width = 256;
  params.height = 256;
  FontAtlas* atlas = FontAtlas::Create(params);
  if (!atlas)
  {
    std::free(bytes);
    return 0;
  }
  if (atlas->AddFontMem("fuzz", bytes, static_cast<int>(size), 0, true) == 0)
  {
    const float sizes[] = {9.f, 31.f};
    for (float fontSize : sizes)
    {
      atlas->State().size = fontSize;
      atlas->State().blur = fontSize > 10.f ? 2.f : 0.f;
      float bounds[4];
      const char* text = "AVWa.,fi \xc3\x81\xe2\x82\xac\xf0\x9f\x8e\xb8";
      atlas->TextBounds(0.f, 0.f, text, nullptr, bounds);
      FontAtlasTextIter iter;
      FontAtlasQuad quad;
      if (atlas->TextIterInit(iter, 0.f, 0.f, text, nullptr, kGlyphBitmapRequired))
        while (atlas->TextIterNext(iter, &quad))
        {
        }
    }
  }
  FontAtlas::Delete(atlas);
  return 0;
}
