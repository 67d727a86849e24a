#pragma once

#include "framework/graphics/renderer/VectorContext.h"

#include <map>
#include <vector>

namespace pfw::gui::test {

// A back end that keeps what the context hands it: textures with their pixels and every
// fill, stroke and triangle call with copies of its vertices.
struct RecordingBackend
{
  struct Texture
  {
    int type, width, height, flags;
    std::vector<unsigned char> pixels;
  };
  struct PathRecord
  {
    std::vector<VectorVertex> fill, stroke;
    int convex, closed;
  };
  struct Call
  {
    enum Kind { kFill, kStroke, kTriangles } kind;
    VectorPaint paint;
    VectorCompositeOperation composite;
    VectorScissor scissor;
    float fringe = 0.f, strokeWidth = 0.f;
    std::vector<PathRecord> paths;
    std::vector<VectorVertex> triangles;
  };

  VectorBackendParams Params();
  // All vertices of a call: fill fans, fringe or stroke strips, or triangles.
  static std::vector<VectorVertex> Vertices(const Call& call);

  std::map<int, Texture> textures;
  int nextTexture = 1;
  int created = 0, deleted = 0, flushes = 0;
  std::vector<Call> calls;
  bool failCreate = false;
};

// The bytes of Roboto Regular from the system's fonts.
std::vector<unsigned char> ReadRoboto();

} // namespace pfw::gui::test
