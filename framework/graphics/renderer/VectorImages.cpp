#include "VectorContextData.h"

#include "framework/graphics/ResourceFiles.h"

// Only the formats the editor's bitmaps come in: a smaller decoder for untrusted files.
#define STB_IMAGE_STATIC
#define STB_IMAGE_IMPLEMENTATION
#define STBI_ONLY_PNG
#define STBI_ONLY_JPEG
#define STBI_NO_STDIO
#define STBI_MAX_DIMENSIONS 16384 // beyond any texture the back end can hold
#if defined(__GNUC__)
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wunused-function"
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"
#pragma GCC diagnostic ignored "-Wsign-compare"
#endif
#include <stb_image.h>
#if defined(__GNUC__)
#pragma GCC diagnostic pop
#endif

namespace pfw::gui::VG {

int CreateImageRGBA(VectorContext* context, int width, int height, int imageFlags, const unsigned char* pixels)
{
  return context->params.createTexture(context->params.user, kTextureRGBA, width, height, imageFlags, pixels);
}

int CreateImageMem(VectorContext* context, int imageFlags, const unsigned char* data, int size)
{
  if (!data || size <= 0)
    return 0;
  // Set once, before any decoding, for files and memory alike: Apple's byte-swapped PNGs
  // become plain RGBA with straight alpha. The decoder is this file's own copy.
  static const bool configured = [] {
    stbi_set_unpremultiply_on_load(1);
    stbi_convert_iphone_png_to_rgb(1);
    return true;
  }();
  (void)configured;
  int width = 0;
  int height = 0;
  int channels = 0;
  unsigned char* pixels = stbi_load_from_memory(data, size, &width, &height, &channels, 4);
  if (!pixels)
    return 0;
  const int image = CreateImageRGBA(context, width, height, imageFlags, pixels);
  stbi_image_free(pixels);
  return image;
}

int CreateImageFile(VectorContext* context, const char* path, int imageFlags)
{
  ByteBuffer bytes(4096);
  if (!path || !ReadFileBytes(path, bytes))
    return 0;
  return CreateImageMem(context, imageFlags, static_cast<const unsigned char*>(bytes.Data()), bytes.Size());
}

bool ImageSize(VectorContext* context, int image, int* width, int* height)
{
  *width = 0;
  *height = 0;
  return context->params.textureSize(context->params.user, image, width, height) != 0;
}

void DeleteImage(VectorContext* context, int image)
{
  context->params.deleteTexture(context->params.user, image);
}

} // namespace pfw::gui::VG
