#pragma once

#include "VectorComposite.h"
#include "VectorPaint.h"
#include "VectorPath.h"
#include "VectorScissor.h"

namespace pfw::gui {

// Kinds of texture a back end stores.
enum VectorTextureType
{
  kTextureAlpha = 1,
  kTextureRGBA = 2,
};

// Flags of an image, kept with its texture.
enum VectorImageFlags
{
  kImageGenerateMipmaps = 1,
  kImageRepeatX = 2,
  kImageRepeatY = 4,
  kImageFlipY = 8,
  kImagePremultiplied = 16,
  kImageNearest = 32,
  kImageNoDelete = 0x10000, // the texture belongs to somebody else
};

// The block of callbacks through which a vector context draws; it is copied into the
// context at creation and the context calls nothing else. user is the back end's own
// state, handed back as the first argument of every callback.
struct VectorBackendParams
{
  void* user = nullptr;
  int edgeAntiAlias = 1;

  // Returns 0 on failure.
  int (*create)(void* user) = nullptr;
  // type is a VectorTextureType, flags VectorImageFlags; pixels may be null. Returns the
  // new image id, 0 on failure.
  int (*createTexture)(void* user, int type, int width, int height, int imageFlags, const unsigned char* pixels) = nullptr;
  int (*deleteTexture)(void* user, int image) = nullptr;
  // pixels hold the whole image; only the rectangle (x, y, width, height) is taken.
  int (*updateTexture)(void* user, int image, int x, int y, int width, int height, const unsigned char* pixels) = nullptr;
  int (*textureSize)(void* user, int image, int* width, int* height) = nullptr;
  void (*viewport)(void* user, float width, float height, float devicePixelRatio) = nullptr;
  void (*cancel)(void* user) = nullptr;
  void (*flush)(void* user) = nullptr;
  // bounds are min x, min y, max x, max y of all paths.
  void (*fill)(void* user, const VectorPaint* paint, VectorCompositeOperation composite, const VectorScissor* scissor,
               float fringe, const float* bounds, const VectorPath* paths, int pathCount) = nullptr;
  void (*stroke)(void* user, const VectorPaint* paint, VectorCompositeOperation composite, const VectorScissor* scissor,
                 float fringe, float strokeWidth, const VectorPath* paths, int pathCount) = nullptr;
  void (*triangles)(void* user, const VectorPaint* paint, VectorCompositeOperation composite,
                    const VectorScissor* scissor, const VectorVertex* vertices, int vertexCount, float fringe) = nullptr;
  // Frees the back end's state.
  void (*destroy)(void* user) = nullptr;
};

} // namespace pfw::gui
