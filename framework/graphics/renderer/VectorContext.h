#pragma once

#include "VectorBackendParams.h"
#include "VectorTextRow.h"

namespace pfw::gui {

class FontAtlas;

// A small immediate-mode vector graphics engine: callers append path commands, set paints
// and state and ask for fills, strokes and text; the context flattens, tessellates with an
// anti-aliased fringe and hands triangles to a back end (VectorBackendParams). All
// coordinates are frame units; one thread uses a context.
struct VectorContext;

// Path commands as they lie in the command buffer, each followed by its operands.
enum VectorCommand
{
  kVGCommandMoveTo = 0,  // x, y
  kVGCommandLineTo = 1,  // x, y
  kVGCommandBezierTo = 2, // c1x, c1y, c2x, c2y, x, y
  kVGCommandClose = 3,
  kVGCommandWinding = 4, // winding value
};

enum VectorWinding
{
  kVGWindingSolid = 1, // counter-clockwise
  kVGWindingHole = 2,  // clockwise
};

// Directions of VG::Arc.
enum VectorArcDirection
{
  kVGArcCounterClockwise = 1,
  kVGArcClockwise = 2,
};

enum VectorLineCap
{
  kVGCapButt = 0,
  kVGCapRound = 1,
  kVGCapSquare = 2,
};

enum VectorLineJoin
{
  kVGJoinRound = 1,
  kVGJoinBevel = 3,
  kVGJoinMiter = 4,
};

// Text alignment flags, one horizontal and one vertical.
enum VectorAlign
{
  kVGAlignLeft = 1,
  kVGAlignCenter = 2,
  kVGAlignRight = 4,
  kVGAlignTop = 8,
  kVGAlignMiddle = 16,
  kVGAlignBottom = 32,
  kVGAlignBaseline = 64,
};

// What the context handed to the back end since the frame began.
struct VectorFrameCounters
{
  int drawCalls = 0;
  int fillTriangles = 0;
  int strokeTriangles = 0;
  int textTriangles = 0;
};

namespace VG {

// ---- Context and frame ----
// Null when the back end or memory fails; the back end's state is then released.
VectorContext* CreateContext(const VectorBackendParams& params);
void DeleteContext(VectorContext* context);
const VectorBackendParams& BackendParams(const VectorContext* context);
// Starts a frame of width x height frame units on a target of devicePixelRatio pixels per
// unit, with one fresh default state.
void BeginFrame(VectorContext* context, float width, float height, float devicePixelRatio);
// Hands the frame to the back end.
void EndFrame(VectorContext* context);
VectorFrameCounters FrameCounters(const VectorContext* context);

// ---- State stack (32 deep; a deeper Save and a Restore of the last state are ignored) ----
void Save(VectorContext* context);
void Restore(VectorContext* context);
void Reset(VectorContext* context);

void FillColor(VectorContext* context, VectorColour colour);
void StrokeColor(VectorContext* context, VectorColour colour);
// A paint is given in the current user space: the state transform is applied on setting.
void FillPaint(VectorContext* context, const VectorPaint& paint);
void StrokePaint(VectorContext* context, const VectorPaint& paint);
void StrokeWidth(VectorContext* context, float width);
void MiterLimit(VectorContext* context, float limit);
void LineCap(VectorContext* context, int cap);   // VectorLineCap
void LineJoin(VectorContext* context, int join); // VectorLineJoin
void GlobalAlpha(VectorContext* context, float alpha);
void ShapeAntiAlias(VectorContext* context, bool enabled);
// VectorBlendFactor values.
void BlendFuncSeparate(VectorContext* context, int srcRGB, int dstRGB, int srcAlpha, int dstAlpha);
VectorCompositeOperation CompositeOperation(const VectorContext* context);

// ---- Transforms (t = a, b, c, d, e, f: x' = a x + c y + e, y' = b x + d y + f) ----
void ResetTransform(VectorContext* context);
// Premultiplies: a point goes through the given transform first, then the current one.
void Transform(VectorContext* context, float a, float b, float c, float d, float e, float f);
void Translate(VectorContext* context, float x, float y);
void Rotate(VectorContext* context, float radians);
void Scale(VectorContext* context, float x, float y);
void CurrentTransform(const VectorContext* context, float transform[6]);

void TransformIdentity(float t[6]);
void TransformTranslate(float t[6], float x, float y);
void TransformScale(float t[6], float x, float y);
void TransformRotate(float t[6], float radians);
// t becomes t followed by s.
void TransformMultiply(float t[6], const float s[6]);
// t becomes s followed by t.
void TransformPremultiply(float t[6], const float s[6]);
// Returns 0 and the identity when t cannot be inverted.
int TransformInverse(float inverse[6], const float t[6]);
void TransformPoint(float* x, float* y, const float t[6], float sx, float sy);
// The scale at which text is rasterised under t: mean of the axis scales, rounded to
// 0.01 and at most 4.
float FontScale(const float t[6]);

// ---- Scissor ----
// Clips to the rectangle under the current transform.
void Scissor(VectorContext* context, float x, float y, float w, float h);

// ---- Paths (points are transformed by the state transform as they are appended) ----
void BeginPath(VectorContext* context);
// values: VectorCommand codes each followed by its operands.
void AppendCommands(VectorContext* context, const float* values, int count);
void MoveTo(VectorContext* context, float x, float y);
void LineTo(VectorContext* context, float x, float y);
void BezierTo(VectorContext* context, float c1x, float c1y, float c2x, float c2y, float x, float y);
void ClosePath(VectorContext* context);
// Sets the winding (VectorWinding) of the current sub-path.
void PathWinding(VectorContext* context, int winding);
// The last point appended, in user space (before the transform).
void LastCommandPoint(const VectorContext* context, float* x, float* y);
void Rect(VectorContext* context, float x, float y, float w, float h);
// Angles in radians, 0 along +x, growing towards +y; direction is a VectorArcDirection.
void Arc(VectorContext* context, float cx, float cy, float r, float a0, float a1, int direction);
void Fill(VectorContext* context);
void Stroke(VectorContext* context);

// ---- Paints (in user space, for FillPaint and StrokePaint) ----
VectorPaint SolidPaint(VectorColour colour);
VectorPaint LinearGradient(float sx, float sy, float ex, float ey, VectorColour inner, VectorColour outer);
VectorPaint RadialGradient(float cx, float cy, float innerRadius, float outerRadius, VectorColour inner,
                           VectorColour outer);
VectorPaint BoxGradient(float x, float y, float w, float h, float radius, float feather, VectorColour inner,
                        VectorColour outer);
// The image spans (ox, oy) to (ox + ex, oy + ey), rotated by angle about (ox, oy).
VectorPaint ImagePattern(float ox, float oy, float ex, float ey, float angle, int image, float alpha);

// ---- Images (0 = none) ----
int CreateImageFile(VectorContext* context, const char* path, int imageFlags);
int CreateImageMem(VectorContext* context, int imageFlags, const unsigned char* data, int size);
int CreateImageRGBA(VectorContext* context, int width, int height, int imageFlags, const unsigned char* pixels);
// False, with 0 x 0, for an image the back end does not know.
bool ImageSize(VectorContext* context, int image, int* width, int* height);
void DeleteImage(VectorContext* context, int image);

// ---- Text ----
FontAtlas& Fonts(VectorContext* context);
void FontSize(VectorContext* context, float size);
void FontBlur(VectorContext* context, float blur);
void TextLetterSpacing(VectorContext* context, float spacing);
// The distance of rows as a proportion of the font's own line height (1 by default).
void TextLineSpacing(VectorContext* context, float proportion);
void TextAlign(VectorContext* context, int align); // VectorAlign flags
// A font index of Fonts(); -1 draws and measures nothing.
void FontFaceId(VectorContext* context, int font);
// Draws from string up to end (null: its terminating NUL); returns x after the last glyph.
float Text(VectorContext* context, float x, float y, const char* string, const char* end);
// bounds: min x, min y, max x, max y; returns the advance (0 without a font).
float TextBounds(VectorContext* context, float x, float y, const char* string, const char* end, float bounds[4]);
// The distance of rows: the current font's line height at the current size times the
// line spacing; 0 without a font.
float TextLineHeight(VectorContext* context);
// Breaks the text into rows no wider than breakWidth; returns the number of rows.
int TextBreakLines(VectorContext* context, const char* string, const char* end, float breakWidth,
                   VectorTextRow* rows, int maxRows);

} // namespace VG

} // namespace pfw::gui
