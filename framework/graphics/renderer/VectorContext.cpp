#include "VectorContextData.h"

#include <algorithm>
#include <cmath>
#include <new>

namespace pfw::gui::VG {

namespace {
constexpr int kInitialFontImageSize = 512;

VectorColour Rgba(float r, float g, float b, float a)
{
  VectorColour colour;
  colour.r = r;
  colour.g = g;
  colour.b = b;
  colour.a = a;
  return colour;
}

// A non-finite or non-positive ratio would make every tolerance infinite.
float SaneRatio(float ratio)
{
  return ratio > 0.f && std::isfinite(ratio) ? ratio : 1.f;
}

void SetDeviceRatio(VectorContext* context, float ratio)
{
  context->tessTol = 0.25f / ratio;
  context->distTol = 0.01f / ratio;
  context->fringeWidth = 1.f / ratio;
  context->devicePxRatio = ratio;
}
} // namespace

VectorState& State(VectorContext* context)
{
  return context->states[context->stateCount - 1];
}

const VectorState& State(const VectorContext* context)
{
  return context->states[context->stateCount - 1];
}

VectorContext* CreateContext(const VectorBackendParams& params)
{
  VectorContext* context = new (std::nothrow) VectorContext;
  if (!context)
  {
    if (params.destroy)
      params.destroy(params.user);
    return nullptr;
  }
  context->params = params;
  Save(context);
  Reset(context);
  SetDeviceRatio(context, 1.f);
  if (!context->params.create || !context->params.create(context->params.user))
  {
    DeleteContext(context);
    return nullptr;
  }
  FontAtlasParams atlasParams;
  atlasParams.width = kInitialFontImageSize;
  atlasParams.height = kInitialFontImageSize;
  atlasParams.flags = FontAtlasParams::kZeroTopLeft;
  context->fonts = FontAtlas::Create(atlasParams);
  if (context->fonts)
    context->fontImages[0] = context->params.createTexture(context->params.user, kTextureAlpha, kInitialFontImageSize,
                                                           kInitialFontImageSize, 0, nullptr);
  if (!context->fonts || context->fontImages[0] == 0)
  {
    DeleteContext(context);
    return nullptr;
  }
  return context;
}

void DeleteContext(VectorContext* context)
{
  if (!context)
    return;
  if (context->fonts)
    FontAtlas::Delete(context->fonts);
  for (int image : context->fontImages)
    if (image != 0)
      context->params.deleteTexture(context->params.user, image);
  if (context->params.destroy)
    context->params.destroy(context->params.user);
  delete context;
}

const VectorBackendParams& BackendParams(const VectorContext* context)
{
  return context->params;
}

void BeginFrame(VectorContext* context, float width, float height, float devicePixelRatio)
{
  context->stateCount = 0;
  Save(context);
  Reset(context);
  SetDeviceRatio(context, SaneRatio(devicePixelRatio));
  context->params.viewport(context->params.user, width, height, context->devicePxRatio);
  context->counters = VectorFrameCounters();
}

void EndFrame(VectorContext* context)
{
  context->params.flush(context->params.user);
  if (context->fontImageIndex == 0)
    return;
  // Text moved to a larger font image during the frame: the smaller older ones go, the
  // others stay for later growth, and the current one becomes the first.
  const int index = context->fontImageIndex;
  const int current = context->fontImages[index];
  context->fontImages[index] = 0;
  int width = 0;
  int height = 0;
  ImageSize(context, current, &width, &height);
  int kept = 0;
  for (int i = 0; i < index; ++i)
  {
    const int image = context->fontImages[i];
    context->fontImages[i] = 0;
    if (image == 0)
      continue;
    int w = 0;
    int h = 0;
    ImageSize(context, image, &w, &h);
    if (w < width || h < height)
      DeleteImage(context, image);
    else
      context->fontImages[kept++] = image;
  }
  context->fontImages[kept] = context->fontImages[0];
  context->fontImages[0] = current;
  context->fontImageIndex = 0;
}

VectorFrameCounters FrameCounters(const VectorContext* context)
{
  return context->counters;
}

void Save(VectorContext* context)
{
  if (context->stateCount >= kMaxStates)
    return;
  if (context->stateCount > 0)
    context->states[context->stateCount] = context->states[context->stateCount - 1];
  ++context->stateCount;
}

void Restore(VectorContext* context)
{
  if (context->stateCount > 1)
    --context->stateCount;
}

void Reset(VectorContext* context)
{
  VectorState& state = State(context);
  state = VectorState();
  state.fill = SolidPaint(Rgba(1.f, 1.f, 1.f, 1.f));
  state.stroke = SolidPaint(Rgba(0.f, 0.f, 0.f, 1.f));
}

void FillColor(VectorContext* context, VectorColour colour)
{
  State(context).fill = SolidPaint(colour);
}

void StrokeColor(VectorContext* context, VectorColour colour)
{
  State(context).stroke = SolidPaint(colour);
}

void FillPaint(VectorContext* context, const VectorPaint& paint)
{
  VectorState& state = State(context);
  state.fill = paint;
  TransformMultiply(state.fill.transform, state.transform);
}

void StrokePaint(VectorContext* context, const VectorPaint& paint)
{
  VectorState& state = State(context);
  state.stroke = paint;
  TransformMultiply(state.stroke.transform, state.transform);
}

void StrokeWidth(VectorContext* context, float width)
{
  State(context).strokeWidth = width;
}

void MiterLimit(VectorContext* context, float limit)
{
  State(context).miterLimit = limit;
}

void LineCap(VectorContext* context, int cap)
{
  State(context).lineCap = cap;
}

void LineJoin(VectorContext* context, int join)
{
  State(context).lineJoin = join;
}

void GlobalAlpha(VectorContext* context, float alpha)
{
  State(context).alpha = alpha;
}

void ShapeAntiAlias(VectorContext* context, bool enabled)
{
  State(context).shapeAntiAlias = enabled;
}

void BlendFuncSeparate(VectorContext* context, int srcRGB, int dstRGB, int srcAlpha, int dstAlpha)
{
  VectorCompositeOperation& composite = State(context).composite;
  composite.srcRGB = srcRGB;
  composite.dstRGB = dstRGB;
  composite.srcAlpha = srcAlpha;
  composite.dstAlpha = dstAlpha;
}

VectorCompositeOperation CompositeOperation(const VectorContext* context)
{
  return State(context).composite;
}

void Scissor(VectorContext* context, float x, float y, float w, float h)
{
  VectorState& state = State(context);
  w = std::max(0.f, w);
  h = std::max(0.f, h);
  TransformTranslate(state.scissor.transform, x + w * 0.5f, y + h * 0.5f);
  TransformMultiply(state.scissor.transform, state.transform);
  state.scissor.extent[0] = w * 0.5f;
  state.scissor.extent[1] = h * 0.5f;
}

VectorVertex* AllocTempVerts(VectorContext* context, int count)
{
  GrowArray<VectorVertex>& vertices = context->cache.vertices;
  if (count > vertices.GetSize())
  {
    const int rounded = (count + 0xff) & ~0xff;
    if (rounded < count || !vertices.Resize(rounded, false))
      return nullptr;
  }
  return vertices.Get();
}

void ScalePaintAlpha(VectorPaint& paint, float factor)
{
  paint.innerColour.a *= factor;
  paint.outerColour.a *= factor;
}

// ---- Paints ----

VectorPaint SolidPaint(VectorColour colour)
{
  VectorPaint paint;
  paint.feather = 1.f;
  paint.innerColour = colour;
  paint.outerColour = colour;
  return paint;
}

VectorPaint LinearGradient(float sx, float sy, float ex, float ey, VectorColour inner, VectorColour outer)
{
  // A box so long that only its one straight edge matters, feathered along the gradient.
  constexpr float kLarge = 1e5f;
  float dx = ex - sx;
  float dy = ey - sy;
  const float d = std::sqrt(dx * dx + dy * dy);
  if (d > 0.0001f)
  {
    dx /= d;
    dy /= d;
  }
  else
  {
    dx = 0.f;
    dy = 1.f;
  }
  VectorPaint paint;
  paint.transform[0] = dy;
  paint.transform[1] = -dx;
  paint.transform[2] = dx;
  paint.transform[3] = dy;
  paint.transform[4] = sx - dx * kLarge;
  paint.transform[5] = sy - dy * kLarge;
  paint.extent[0] = kLarge;
  paint.extent[1] = kLarge + d * 0.5f;
  paint.radius = 0.f;
  paint.feather = std::max(1.f, d);
  paint.innerColour = inner;
  paint.outerColour = outer;
  return paint;
}

VectorPaint RadialGradient(float cx, float cy, float innerRadius, float outerRadius, VectorColour inner,
                           VectorColour outer)
{
  const float r = (innerRadius + outerRadius) * 0.5f;
  VectorPaint paint;
  TransformTranslate(paint.transform, cx, cy);
  paint.extent[0] = r;
  paint.extent[1] = r;
  paint.radius = r;
  paint.feather = std::max(1.f, outerRadius - innerRadius);
  paint.innerColour = inner;
  paint.outerColour = outer;
  return paint;
}

VectorPaint BoxGradient(float x, float y, float w, float h, float radius, float feather, VectorColour inner,
                        VectorColour outer)
{
  VectorPaint paint;
  TransformTranslate(paint.transform, x + w * 0.5f, y + h * 0.5f);
  paint.extent[0] = w * 0.5f;
  paint.extent[1] = h * 0.5f;
  paint.radius = radius;
  paint.feather = std::max(1.f, feather);
  paint.innerColour = inner;
  paint.outerColour = outer;
  return paint;
}

VectorPaint ImagePattern(float ox, float oy, float ex, float ey, float angle, int image, float alpha)
{
  VectorPaint paint;
  TransformRotate(paint.transform, angle);
  paint.transform[4] = ox;
  paint.transform[5] = oy;
  paint.extent[0] = ex;
  paint.extent[1] = ey;
  paint.radius = 0.f;
  paint.feather = 0.f;
  paint.innerColour = Rgba(1.f, 1.f, 1.f, alpha);
  paint.outerColour = paint.innerColour;
  paint.image = image;
  return paint;
}

} // namespace pfw::gui::VG
