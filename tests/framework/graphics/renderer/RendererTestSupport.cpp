#include "RendererTestSupport.h"

#include <cstdio>
#include <cstring>

namespace pfw::gui::test {

namespace {
RecordingBackend& Self(void* user)
{
  return *static_cast<RecordingBackend*>(user);
}

std::vector<RecordingBackend::PathRecord> CopyPaths(const VectorPath* paths, int count)
{
  std::vector<RecordingBackend::PathRecord> copies;
  for (int i = 0; i < count; ++i)
    copies.push_back({std::vector<VectorVertex>(paths[i].fill, paths[i].fill + paths[i].fillCount),
                      std::vector<VectorVertex>(paths[i].stroke, paths[i].stroke + paths[i].strokeCount),
                      paths[i].convex, paths[i].closed});
  return copies;
}
} // namespace

VectorBackendParams RecordingBackend::Params()
{
  VectorBackendParams params;
  params.user = this;
  params.create = [](void* user) { return Self(user).failCreate ? 0 : 1; };
  params.createTexture = [](void* user, int type, int w, int h, int flags, const unsigned char* pixels) {
    RecordingBackend& self = Self(user);
    Texture texture{type, w, h, flags, std::vector<unsigned char>(size_t(w) * size_t(h) * (type == kTextureRGBA ? 4 : 1))};
    if (pixels)
      std::memcpy(texture.pixels.data(), pixels, texture.pixels.size());
    self.textures[self.nextTexture] = texture;
    ++self.created;
    return self.nextTexture++;
  };
  params.deleteTexture = [](void* user, int image) {
    ++Self(user).deleted;
    return Self(user).textures.erase(image) ? 1 : 0;
  };
  params.updateTexture = [](void* user, int image, int x, int y, int w, int h, const unsigned char* pixels) {
    auto found = Self(user).textures.find(image);
    if (found == Self(user).textures.end())
      return 0;
    Texture& t = found->second;
    const int bpp = t.type == kTextureRGBA ? 4 : 1;
    for (int row = y; row < y + h; ++row)
      std::memcpy(&t.pixels[size_t(row * t.width + x) * bpp], pixels + size_t(row * t.width + x) * bpp, size_t(w) * bpp);
    return 1;
  };
  params.textureSize = [](void* user, int image, int* w, int* h) {
    auto found = Self(user).textures.find(image);
    if (found == Self(user).textures.end())
      return 0;
    *w = found->second.width;
    *h = found->second.height;
    return 1;
  };
  params.viewport = [](void*, float, float, float) {};
  params.cancel = [](void*) {};
  params.flush = [](void* user) { ++Self(user).flushes; };
  params.fill = [](void* user, const VectorPaint* paint, VectorCompositeOperation composite, const VectorScissor* scissor,
                   float fringe, const float*, const VectorPath* paths, int count) {
    Self(user).calls.push_back({Call::kFill, *paint, composite, *scissor, fringe, 0.f, CopyPaths(paths, count), {}});
  };
  params.stroke = [](void* user, const VectorPaint* paint, VectorCompositeOperation composite,
                     const VectorScissor* scissor, float fringe, float width, const VectorPath* paths, int count) {
    Self(user).calls.push_back({Call::kStroke, *paint, composite, *scissor, fringe, width, CopyPaths(paths, count), {}});
  };
  params.triangles = [](void* user, const VectorPaint* paint, VectorCompositeOperation composite,
                        const VectorScissor* scissor, const VectorVertex* vertices, int count, float fringe) {
    Self(user).calls.push_back(
      {Call::kTriangles, *paint, composite, *scissor, fringe, 0.f, {}, std::vector<VectorVertex>(vertices, vertices + count)});
  };
  params.destroy = [](void*) {};
  return params;
}

std::vector<VectorVertex> RecordingBackend::Vertices(const Call& call)
{
  std::vector<VectorVertex> all = call.triangles;
  for (const PathRecord& path : call.paths)
  {
    all.insert(all.end(), path.fill.begin(), path.fill.end());
    all.insert(all.end(), path.stroke.begin(), path.stroke.end());
  }
  return all;
}

std::vector<unsigned char> ReadRoboto()
{
  std::vector<unsigned char> bytes;
  if (FILE* file = std::fopen(TARNWICK_ROBOTO_FONT, "rb"))
  {
    unsigned char chunk[65536];
    size_t got;
    while ((got = std::fread(chunk, 1, sizeof chunk, file)) > 0)
      bytes.insert(bytes.end(), chunk, chunk + got);
    std::fclose(file);
  }
  return bytes;
}

} // namespace pfw::gui::test
