#pragma once

// The inside of a vector context, shared by the files that implement it.

#include "FontAtlas.h"
#include "VectorContext.h"

#include "framework/core/GrowArray.h"

namespace pfw::gui {

// One entry of the state stack.
struct VectorState
{
  VectorCompositeOperation composite;
  bool shapeAntiAlias = true;
  VectorPaint fill;
  VectorPaint stroke;
  float strokeWidth = 1.f;
  float miterLimit = 10.f;
  int lineJoin = kVGJoinMiter;
  int lineCap = kVGCapButt;
  float alpha = 1.f;
  float transform[6] = {1.f, 0.f, 0.f, 1.f, 0.f, 0.f};
  VectorScissor scissor;
  float fontSize = 16.f;
  float letterSpacing = 0.f;
  float lineHeight = 1.f; // rows apart, in the font's own line heights
  float fontBlur = 0.f;
  int textAlign = kVGAlignLeft | kVGAlignBaseline;
  int fontId = 0;
};

// A flattened point with its direction and length to the next point and the miter
// direction of the join it starts.
struct VectorPoint
{
  float x, y;
  float dx, dy;
  float len;
  float dmx, dmy;
  unsigned char flags;
};

enum VectorPointFlags
{
  kPointCorner = 1,
  kPointLeft = 2,
  kPointBevel = 4,
  kPointInnerBevel = 8,
};

struct VectorPathCache
{
  GrowArray<VectorPoint> points{128 * static_cast<int>(sizeof(VectorPoint))};
  GrowArray<VectorPath> paths{16 * static_cast<int>(sizeof(VectorPath))};
  GrowArray<VectorVertex> vertices{256 * static_cast<int>(sizeof(VectorVertex))};
  float bounds[4] = {0.f, 0.f, 0.f, 0.f};
};

constexpr int kMaxStates = 32;
constexpr int kFontImages = 4;

struct VectorContext
{
  VectorBackendParams params;
  GrowArray<float> commands{256 * static_cast<int>(sizeof(float))};
  float commandX = 0.f;
  float commandY = 0.f;
  VectorState states[kMaxStates];
  int stateCount = 0;
  VectorPathCache cache;
  float tessTol = 0.25f;
  float distTol = 0.01f;
  float fringeWidth = 1.f;
  float devicePxRatio = 1.f;
  FontAtlas* fonts = nullptr;
  int fontImages[kFontImages] = {0, 0, 0, 0};
  int fontImageIndex = 0;
  VectorFrameCounters counters;
};

namespace VG {
VectorState& State(VectorContext* context);
const VectorState& State(const VectorContext* context);
// Room for count vertices in the path cache; null when memory fails.
VectorVertex* AllocTempVerts(VectorContext* context, int count);
// The mean of the transform's axis scales.
float AverageScale(const float t[6]);
// Multiplies both colours' alpha.
void ScalePaintAlpha(VectorPaint& paint, float factor);
} // namespace VG

} // namespace pfw::gui
