#include "GLBackend.h"

#include "VectorContext.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <new>

namespace pfw::gui {

using namespace gl;

namespace {

// Pixels a convex fill must cover before its inside is drawn without blending.
constexpr float kOpaqueInteriorArea = 16384.f;

// A gradient box whose half width reaches this far (a linear gradient's does) has sides
// no drawn pixel comes near: its colour depends on the distance across it alone.
constexpr float kUnseenBoxSide = 1e5f;

// Takes count elements at the end of a per-frame array holding used ones and returns
// the first one's index, or -1 when memory runs out. The array grows to max(needed,
// minimum) plus half of what it had; arrays never shrink.
template <typename T>
int Take(std::vector<T>& array, int& used, int count, int minimum)
{
  const int needed = used + count;
  if (static_cast<size_t>(needed) > array.size())
  {
    try
    {
      array.resize(static_cast<size_t>(std::max(needed, minimum)) + array.size() / 2);
    }
    catch (const std::bad_alloc&)
    {
      return -1;
    }
  }
  const int first = used;
  used = needed;
  return first;
}

VectorColour Premultiplied(const VectorColour& c)
{
  return VectorColour{c.r * c.a, c.g * c.a, c.b * c.a, c.a};
}

// A 2x3 transform as the shader's mat3: three columns, each padded to four floats.
void ToColumns(const float* t, float* columns)
{
  const float values[12] = {t[0], t[1], 0.f, 0.f, t[2], t[3], 0.f, 0.f, t[4], t[5], 1.f, 0.f};
  std::memcpy(columns, values, sizeof(values));
}

GLBackend& Self(void* user)
{
  return *static_cast<GLBackend*>(user);
}

} // namespace

GLBackend::GLBackend(int flags)
  : mFlags(flags)
{
}

GLBackend::~GLBackend()
{
  mShader.Delete();
  if (mVertexBuffer)
    glDeleteBuffers(1, &mVertexBuffer);
  for (const Texture& texture : mTextures)
    if (texture.name && !(texture.flags & kImageNoDelete))
      glDeleteTextures(1, &texture.name);
}

VectorBackendParams GLBackend::MakeParams(int flags)
{
  VectorBackendParams params;
  params.user = new (std::nothrow) GLBackend(flags);
  params.edgeAntiAlias = (flags & kAntiAlias) ? 1 : 0;
  params.create = [](void* user) { return Self(user).Create() ? 1 : 0; };
  params.createTexture = [](void* user, int type, int w, int h, int imageFlags, const unsigned char* pixels) {
    return Self(user).CreateTexture(type, w, h, imageFlags, pixels);
  };
  params.deleteTexture = [](void* user, int image) { return Self(user).DeleteTexture(image) ? 1 : 0; };
  params.updateTexture = [](void* user, int image, int x, int y, int w, int h, const unsigned char* pixels) {
    return Self(user).UpdateTexture(image, x, y, w, h, pixels) ? 1 : 0;
  };
  params.textureSize = [](void* user, int image, int* w, int* h) {
    return Self(user).TextureSize(image, *w, *h) ? 1 : 0;
  };
  params.viewport = [](void* user, float w, float h, float ratio) { Self(user).Viewport(w, h, ratio); };
  params.cancel = [](void* user) { Self(user).Cancel(); };
  params.flush = [](void* user) { Self(user).Flush(); };
  params.fill = [](void* user, const VectorPaint* paint, VectorCompositeOperation composite,
                   const VectorScissor* scissor, float fringe, const float* bounds, const VectorPath* paths,
                   int pathCount) { Self(user).RenderFill(*paint, composite, *scissor, fringe, bounds, paths, pathCount); };
  params.stroke = [](void* user, const VectorPaint* paint, VectorCompositeOperation composite,
                     const VectorScissor* scissor, float fringe, float strokeWidth, const VectorPath* paths,
                     int pathCount) {
    Self(user).RenderStroke(*paint, composite, *scissor, fringe, strokeWidth, paths, pathCount);
  };
  params.triangles = [](void* user, const VectorPaint* paint, VectorCompositeOperation composite,
                        const VectorScissor* scissor, const VectorVertex* vertices, int vertexCount, float fringe) {
    Self(user).RenderTriangles(*paint, composite, *scissor, vertices, vertexCount, fringe);
  };
  params.destroy = [](void* user) { delete static_cast<GLBackend*>(user); };
  return params;
}

void GLBackend::CheckError(const char* step) const
{
  if (!(mFlags & kDebug))
    return;
  const GLenum error = glGetError();
  if (error != GL_NO_ERROR)
    std::fprintf(stderr, "Error %08x after %s\n", error, step);
}

bool GLBackend::Create()
{
  CheckError("init");
  if (!mShader.Create("shader", (mFlags & kAntiAlias) != 0, (mFlags & kStencilStrokes) != 0))
    return false;
  CheckError("uniform locations");
  glGenBuffers(1, &mVertexBuffer);
  mDummyTexture = CreateTexture(kTextureAlpha, 1, 1, 0, nullptr);
  CheckError("create done");
  glFinish();
  return mVertexBuffer != 0 && mDummyTexture != 0;
}

// ---- Textures ----

const GLBackend::Texture* GLBackend::FindTexture(int image) const
{
  if (image == 0)
    return nullptr;
  for (const Texture& texture : mTextures)
    if (texture.id == image)
      return &texture;
  return nullptr;
}

GLBackend::Texture* GLBackend::FindTexture(int image)
{
  return const_cast<Texture*>(static_cast<const GLBackend*>(this)->FindTexture(image));
}

GLBackend::Texture* GLBackend::AllocTexture()
{
  Texture* slot = nullptr;
  for (Texture& texture : mTextures)
    if (texture.id == 0)
    {
      slot = &texture;
      break;
    }
  if (!slot)
  {
    const size_t count = mTextures.size();
    try
    {
      if (count == mTextures.capacity())
        mTextures.reserve(std::max<size_t>(count + 1, 4) + count / 2);
      mTextures.emplace_back();
    }
    catch (const std::bad_alloc&)
    {
      return nullptr;
    }
    slot = &mTextures.back();
  }
  *slot = Texture();
  slot->id = ++mLastTextureId;
  return slot;
}

int GLBackend::CreateTexture(int type, int width, int height, int imageFlags, const unsigned char* pixels)
{
  Texture* texture = AllocTexture();
  if (!texture)
    return 0;
  glGenTextures(1, &texture->name);
  texture->width = width;
  texture->height = height;
  texture->type = type;
  texture->flags = imageFlags;
  BindTexture(texture->name);

  glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
  glPixelStorei(GL_UNPACK_ROW_LENGTH, width);
  glPixelStorei(GL_UNPACK_SKIP_PIXELS, 0);
  glPixelStorei(GL_UNPACK_SKIP_ROWS, 0);
  const bool mipmaps = (imageFlags & kImageGenerateMipmaps) != 0;
  if (mipmaps)
    glTexParameteri(GL_TEXTURE_2D, GL_GENERATE_MIPMAP, 1);
  const GLenum format = type == kTextureRGBA ? GL_RGBA : GL_LUMINANCE;
  glTexImage2D(GL_TEXTURE_2D, 0, static_cast<GLint>(format), width, height, 0, format, GL_UNSIGNED_BYTE, pixels);
  const bool nearest = (imageFlags & kImageNearest) != 0;
  if (nearest)
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, mipmaps ? GL_NEAREST_MIPMAP_NEAREST : GL_NEAREST);
  else
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, mipmaps ? GL_LINEAR_MIPMAP_LINEAR : GL_LINEAR);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, nearest ? GL_NEAREST : GL_LINEAR);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, (imageFlags & kImageRepeatX) ? GL_REPEAT : GL_CLAMP_TO_EDGE);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, (imageFlags & kImageRepeatY) ? GL_REPEAT : GL_CLAMP_TO_EDGE);
  glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
  glPixelStorei(GL_UNPACK_ROW_LENGTH, 0);
  glPixelStorei(GL_UNPACK_SKIP_PIXELS, 0);
  glPixelStorei(GL_UNPACK_SKIP_ROWS, 0);
  CheckError("create tex");
  BindTexture(0);
  return texture->id;
}

bool GLBackend::UpdateTexture(int image, int x, int y, int width, int height, const unsigned char* pixels)
{
  const Texture* texture = FindTexture(image);
  if (!texture)
    return false;
  BindTexture(texture->name);
  glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
  glPixelStorei(GL_UNPACK_ROW_LENGTH, texture->width);
  glPixelStorei(GL_UNPACK_SKIP_PIXELS, x);
  glPixelStorei(GL_UNPACK_SKIP_ROWS, y);
  const GLenum format = texture->type == kTextureRGBA ? GL_RGBA : GL_LUMINANCE;
  glTexSubImage2D(GL_TEXTURE_2D, 0, x, y, width, height, format, GL_UNSIGNED_BYTE, pixels);
  glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
  glPixelStorei(GL_UNPACK_ROW_LENGTH, 0);
  glPixelStorei(GL_UNPACK_SKIP_PIXELS, 0);
  glPixelStorei(GL_UNPACK_SKIP_ROWS, 0);
  BindTexture(0);
  return true;
}

bool GLBackend::DeleteTexture(int image)
{
  Texture* texture = FindTexture(image);
  if (!texture)
    return false;
  if (texture->name && !(texture->flags & kImageNoDelete))
    glDeleteTextures(1, &texture->name);
  if (mCache.texture == texture->name)
    mCache.texture = 0;
  *texture = Texture();
  return true;
}

bool GLBackend::TextureSize(int image, int& width, int& height) const
{
  const Texture* texture = FindTexture(image);
  if (!texture)
    return false;
  width = texture->width;
  height = texture->height;
  return true;
}

GLuint GLBackend::TextureName(int image) const
{
  const Texture* texture = FindTexture(image);
  return texture ? texture->name : 0;
}

int GLBackend::TextureCount() const
{
  return static_cast<int>(std::count_if(mTextures.begin(), mTextures.end(), [](const Texture& t) { return t.id; }));
}

// ---- Queueing ----

void GLBackend::Viewport(float width, float height, float devicePixelRatio)
{
  mViewSize[0] = width;
  mViewSize[1] = height;
  mDevicePixelRatio = devicePixelRatio;
}

void GLBackend::Cancel()
{
  mCallCount = mPathCount = mVertexCount = mUniformCount = 0;
}

GLBackend::Call* GLBackend::AllocCall()
{
  const int index = Take(mCalls, mCallCount, 1, 128);
  if (index < 0)
    return nullptr;
  mCalls[static_cast<size_t>(index)] = Call();
  return &mCalls[static_cast<size_t>(index)];
}

int GLBackend::AllocPaths(int count)
{
  return Take(mPaths, mPathCount, count, 128);
}

int GLBackend::AllocVertices(int count)
{
  return Take(mVertices, mVertexCount, count, 4096);
}

int GLBackend::AllocUniforms(int count)
{
  return Take(mUniforms, mUniformCount, count, 128);
}

GLenum GLBackend::ConvertBlendFactor(int factor)
{
  switch (factor)
  {
  case kBlendZero: return GL_ZERO;
  case kBlendOne: return GL_ONE;
  case kBlendSrcColor: return GL_SRC_COLOR;
  case kBlendOneMinusSrcColor: return GL_ONE_MINUS_SRC_COLOR;
  case kBlendDstColor: return GL_DST_COLOR;
  case kBlendOneMinusDstColor: return GL_ONE_MINUS_DST_COLOR;
  case kBlendSrcAlpha: return GL_SRC_ALPHA;
  case kBlendOneMinusSrcAlpha: return GL_ONE_MINUS_SRC_ALPHA;
  case kBlendDstAlpha: return GL_DST_ALPHA;
  case kBlendOneMinusDstAlpha: return GL_ONE_MINUS_DST_ALPHA;
  case kBlendSrcAlphaSaturate: return GL_SRC_ALPHA_SATURATE;
  default: return GL_INVALID_ENUM;
  }
}

void GLBackend::SetBlend(Call& call, VectorCompositeOperation composite) const
{
  call.srcRGB = ConvertBlendFactor(composite.srcRGB);
  call.dstRGB = ConvertBlendFactor(composite.dstRGB);
  call.srcAlpha = ConvertBlendFactor(composite.srcAlpha);
  call.dstAlpha = ConvertBlendFactor(composite.dstAlpha);
  if (call.srcRGB == GL_INVALID_ENUM || call.dstRGB == GL_INVALID_ENUM || call.srcAlpha == GL_INVALID_ENUM ||
      call.dstAlpha == GL_INVALID_ENUM)
  {
    call.srcRGB = call.srcAlpha = GL_ONE;
    call.dstRGB = call.dstAlpha = GL_ONE_MINUS_SRC_ALPHA;
  }
}

bool GLBackend::ConvertPaint(GLFragUniforms& u, const VectorPaint& paint, const Call& call,
                             const VectorScissor& scissor, float width, float fringe, float strokeThreshold) const
{
  u = GLFragUniforms{};
  u.innerColour = Premultiplied(paint.innerColour);
  u.outerColour = Premultiplied(paint.outerColour);
  if (!call.clipMask)
  {
    u.scissorExtent[0] = u.scissorExtent[1] = 1.f;
    u.scissorScale[0] = u.scissorScale[1] = 1.f;
  }
  else
  {
    float inverse[6];
    VG::TransformInverse(inverse, scissor.transform);
    ToColumns(inverse, u.scissorMatrix);
    const float* t = scissor.transform;
    u.scissorExtent[0] = scissor.extent[0];
    u.scissorExtent[1] = scissor.extent[1];
    u.scissorScale[0] = std::sqrt(t[0] * t[0] + t[2] * t[2]) / fringe;
    u.scissorScale[1] = std::sqrt(t[1] * t[1] + t[3] * t[3]) / fringe;
  }
  u.extent[0] = paint.extent[0];
  u.extent[1] = paint.extent[1];
  u.strokeMultiplier = (width * 0.5f + fringe * 0.5f) / fringe;
  u.strokeThreshold = strokeThreshold;

  float inverse[6];
  if (paint.image != 0)
  {
    const Texture* texture = FindTexture(paint.image);
    if (!texture)
      return false;
    if (texture->flags & kImageFlipY)
    {
      // Rows of a framebuffer run bottom-up: mirror the image space about its middle
      // before the paint transform, y -> h - y.
      const float* p = paint.transform;
      const float h = paint.extent[1];
      const float flipped[6] = {p[0], p[1], -p[2], -p[3], p[2] * h + p[4], p[3] * h + p[5]};
      VG::TransformInverse(inverse, flipped);
    }
    else
    {
      VG::TransformInverse(inverse, paint.transform);
    }
    u.shaderType = 1.f;
    if (texture->type == kTextureRGBA)
      u.textureType = (texture->flags & kImagePremultiplied) ? 0.f : 1.f;
    else
      u.textureType = 2.f;
  }
  else
  {
    u.shaderType = 0.f;
    u.radius = paint.radius;
    u.feather = paint.feather;
    VG::TransformInverse(inverse, paint.transform);
  }
  ToColumns(inverse, u.paintMatrix);
  return true;
}

void GLBackend::ClassifyScissor(Call& call, const VectorScissor& scissor) const
{
  call.scissorBox[2] = call.scissorBox[3] = -1;
  call.clipMask = false;
  if (scissor.extent[0] < -0.5f || scissor.extent[1] < -0.5f)
    return;
  // An axis-aligned clip whose edges lie on pixel edges clips every pixel wholly in or
  // out, as the GL scissor test does.
  const float* t = scissor.transform;
  const float ratio = mDevicePixelRatio;
  const float halfWidth = std::fabs(t[0]) * scissor.extent[0];
  const float halfHeight = std::fabs(t[3]) * scissor.extent[1];
  const float edges[4] = {(t[4] - halfWidth) * ratio, (t[5] - halfHeight) * ratio, (t[4] + halfWidth) * ratio,
                          (t[5] + halfHeight) * ratio};
  int pixels[4];
  bool whole = t[1] == 0.f && t[2] == 0.f;
  for (int i = 0; i < 4 && whole; ++i)
  {
    whole = std::fabs(edges[i]) < 1e8f && std::fabs(edges[i] - std::round(edges[i])) < 1e-3f;
    pixels[i] = whole ? static_cast<int>(std::lround(edges[i])) : 0;
  }
  if (!whole)
  {
    call.clipMask = true;
    return;
  }
  const int viewHeight = static_cast<int>(std::lround(mViewSize[1] * ratio));
  call.scissorBox[0] = pixels[0];
  call.scissorBox[1] = viewHeight - pixels[3];
  call.scissorBox[2] = std::max(0, pixels[2] - pixels[0]);
  call.scissorBox[3] = std::max(0, pixels[3] - pixels[1]);
}

GLBackend::Call* GLBackend::BeginCall(int type, const VectorPaint& paint, VectorCompositeOperation composite,
                                      const VectorScissor& scissor, int pathCount, int vertexCount, int uniformCount)
{
  const Mark mark{mCallCount, mPathCount, mVertexCount, mUniformCount};
  Call* call = AllocCall();
  const int paths = call ? AllocPaths(pathCount) : -1;
  const int vertices = paths >= 0 ? AllocVertices(vertexCount) : -1;
  const int uniforms = vertices >= 0 ? AllocUniforms(uniformCount) : -1;
  if (uniforms < 0)
  {
    Rollback(mark);
    return nullptr;
  }
  call->type = type;
  call->image = paint.image;
  call->pathOffset = paths;
  call->pathCount = pathCount;
  call->triangleOffset = vertices;
  call->uniformOffset = uniforms;
  call->opaqueInterior = false;
  ClassifyScissor(*call, scissor);
  SetBlend(*call, composite);
  return call;
}

void GLBackend::Rollback(const Mark& mark)
{
  mCallCount = mark.calls;
  mPathCount = mark.paths;
  mVertexCount = mark.vertices;
  mUniformCount = mark.uniforms;
}

int GLBackend::CopyPaths(const Call& call, const VectorPath* paths, bool fills)
{
  int offset = call.triangleOffset;
  auto copy = [&](const VectorVertex* from, int count, int& rangeOffset, int& rangeCount) {
    if (count <= 0)
      return;
    rangeOffset = offset;
    rangeCount = count;
    std::memcpy(&mVertices[static_cast<size_t>(offset)], from, sizeof(VectorVertex) * count);
    offset += count;
  };
  for (int i = 0; i < call.pathCount; ++i)
  {
    PathRange& range = mPaths[static_cast<size_t>(call.pathOffset + i)];
    range = PathRange();
    if (fills)
      copy(paths[i].fill, paths[i].fillCount, range.fillOffset, range.fillCount);
    copy(paths[i].stroke, paths[i].strokeCount, range.strokeOffset, range.strokeCount);
  }
  return offset;
}

void GLBackend::RenderFill(const VectorPaint& paint, VectorCompositeOperation composite, const VectorScissor& scissor,
                           float fringe, const float* bounds, const VectorPath* paths, int pathCount)
{
  const Mark mark{mCallCount, mPathCount, mVertexCount, mUniformCount};
  // One convex path needs no stencil: a fan and its fringe.
  const bool convex = pathCount == 1 && paths[0].convex;
  int vertexCount = convex ? 0 : 4;
  for (int i = 0; i < pathCount; ++i)
    vertexCount += paths[i].fillCount + paths[i].strokeCount;
  Call* call =
    BeginCall(convex ? kConvexFill : kFill, paint, composite, scissor, pathCount, vertexCount, convex ? 1 : 2);
  if (!call)
    return;
  const int end = CopyPaths(*call, paths, true);
  GLFragUniforms* blocks = &mUniforms[static_cast<size_t>(call->uniformOffset)];
  bool converted = true;
  if (convex)
  {
    converted = ConvertPaint(blocks[0], paint, *call, scissor, fringe, fringe, -1.f);
    // Inside the fringe every pixel is wholly covered: an opaque paint over source-over
    // simply replaces what is there. Worth a change of blend state for large areas only.
    const float area = (bounds[2] - bounds[0]) * (bounds[3] - bounds[1]) * mDevicePixelRatio * mDevicePixelRatio;
    call->opaqueInterior = !call->clipMask && paint.image == 0 && paint.innerColour.a == 1.f &&
                           paint.outerColour.a == 1.f && call->srcRGB == GL_ONE &&
                           call->dstRGB == GL_ONE_MINUS_SRC_ALPHA && call->srcAlpha == GL_ONE &&
                           call->dstAlpha == GL_ONE_MINUS_SRC_ALPHA && area >= kOpaqueInteriorArea;
  }
  else
  {
    // The cover quad over the bounds, drawn where the stencil says the path is.
    call->triangleOffset = end;
    call->triangleCount = 4;
    VectorVertex* quad = &mVertices[static_cast<size_t>(end)];
    quad[0] = VectorVertex{bounds[2], bounds[3], 0.5f, 1.f};
    quad[1] = VectorVertex{bounds[2], bounds[1], 0.5f, 1.f};
    quad[2] = VectorVertex{bounds[0], bounds[3], 0.5f, 1.f};
    quad[3] = VectorVertex{bounds[0], bounds[1], 0.5f, 1.f};
    blocks[0] = GLFragUniforms{};
    blocks[0].strokeThreshold = -1.f;
    blocks[0].shaderType = 2.f;
    converted = ConvertPaint(blocks[1], paint, *call, scissor, fringe, fringe, -1.f);
  }
  if (!converted)
    Rollback(mark);
}

void GLBackend::RenderStroke(const VectorPaint& paint, VectorCompositeOperation composite,
                             const VectorScissor& scissor, float fringe, float strokeWidth, const VectorPath* paths,
                             int pathCount)
{
  const Mark mark{mCallCount, mPathCount, mVertexCount, mUniformCount};
  int vertexCount = 0;
  for (int i = 0; i < pathCount; ++i)
    vertexCount += paths[i].strokeCount;
  const bool stencil = (mFlags & kStencilStrokes) != 0;
  Call* call = BeginCall(kStroke, paint, composite, scissor, pathCount, vertexCount, stencil ? 2 : 1);
  if (!call)
    return;
  CopyPaths(*call, paths, false);
  GLFragUniforms* blocks = &mUniforms[static_cast<size_t>(call->uniformOffset)];
  bool converted = ConvertPaint(blocks[0], paint, *call, scissor, strokeWidth, fringe, -1.f);
  if (converted && stencil)
    converted = ConvertPaint(blocks[1], paint, *call, scissor, strokeWidth, fringe, 1.f - 0.5f / 255.f);
  if (!converted)
    Rollback(mark);
}

void GLBackend::RenderTriangles(const VectorPaint& paint, VectorCompositeOperation composite,
                                const VectorScissor& scissor, const VectorVertex* vertices, int vertexCount,
                                float fringe)
{
  const Mark mark{mCallCount, mPathCount, mVertexCount, mUniformCount};
  Call* call = BeginCall(kTriangles, paint, composite, scissor, 0, vertexCount, 1);
  if (!call)
    return;
  call->triangleCount = vertexCount;
  std::memcpy(&mVertices[static_cast<size_t>(call->triangleOffset)], vertices, sizeof(VectorVertex) * vertexCount);
  GLFragUniforms& block = mUniforms[static_cast<size_t>(call->uniformOffset)];
  if (!ConvertPaint(block, paint, *call, scissor, 1.f, fringe, -1.f))
  {
    Rollback(mark);
    return;
  }
  block.shaderType = 3.f;
}

// ---- Replay ----

void GLBackend::BindTexture(GLuint texture)
{
  if (mCache.texture != texture)
  {
    mCache.texture = texture;
    glBindTexture(GL_TEXTURE_2D, texture);
  }
}

void GLBackend::StencilMask(GLuint mask)
{
  if (mCache.stencilMask != mask)
  {
    mCache.stencilMask = mask;
    glStencilMask(mask);
  }
}

void GLBackend::StencilFunc(GLenum func, GLint ref, GLuint mask)
{
  if (mCache.stencilFunc != func || mCache.stencilRef != ref || mCache.stencilFuncMask != mask)
  {
    mCache.stencilFunc = func;
    mCache.stencilRef = ref;
    mCache.stencilFuncMask = mask;
    glStencilFunc(func, ref, mask);
  }
}

void GLBackend::EnableBlend(bool enabled)
{
  if (mCache.blendEnabled == enabled)
    return;
  mCache.blendEnabled = enabled;
  if (enabled)
    glEnable(GL_BLEND);
  else
    glDisable(GL_BLEND);
}

void GLBackend::BlendFuncSeparate(const Call& call)
{
  // Copying the source needs no blending at all.
  const GLenum wanted[4] = {call.srcRGB, call.dstRGB, call.srcAlpha, call.dstAlpha};
  const GLenum copy[4] = {GL_ONE, GL_ZERO, GL_ONE, GL_ZERO};
  EnableBlend(!std::equal(wanted, wanted + 4, copy));
  if (!mCache.blendEnabled || std::equal(wanted, wanted + 4, mCache.blend))
    return;
  std::copy(wanted, wanted + 4, mCache.blend);
  glBlendFuncSeparate(call.srcRGB, call.dstRGB, call.srcAlpha, call.dstAlpha);
}

void GLBackend::Scissor(const Call& call)
{
  const bool enabled = call.scissorBox[2] >= 0;
  if (mCache.scissorEnabled != enabled)
  {
    mCache.scissorEnabled = enabled;
    if (enabled)
      glEnable(GL_SCISSOR_TEST);
    else
      glDisable(GL_SCISSOR_TEST);
  }
  if (enabled && !std::equal(call.scissorBox, call.scissorBox + 4, mCache.scissorBox))
  {
    std::copy(call.scissorBox, call.scissorBox + 4, mCache.scissorBox);
    glScissor(call.scissorBox[0], call.scissorBox[1], call.scissorBox[2], call.scissorBox[3]);
  }
}

int GLBackend::UseProgram(int variant, bool clipMask)
{
  const GLShader::Program& program = mShader.Get(variant, clipMask);
  const int index = GLShader::Index(variant, clipMask);
  if (mCurrentProgram != index)
  {
    mCurrentProgram = index;
    glUseProgram(program.program);
  }
  // The frame-wide uniforms, once per program and flush.
  if (!(mProgramsReady & (1 << index)))
  {
    mProgramsReady |= 1 << index;
    glUniform1i(program.textureLocation, 0);
    glUniform2fv(program.viewSizeLocation, 1, mViewSize);
  }
  return index;
}

void GLBackend::SetUniforms(const Call& call, int uniformOffset, int image)
{
  const GLFragUniforms& block = mUniforms[static_cast<size_t>(uniformOffset)];
  int variant = static_cast<int>(block.shaderType);
  if (variant == GLShader::kGradient && block.innerColour.r == block.outerColour.r &&
      block.innerColour.g == block.outerColour.g && block.innerColour.b == block.outerColour.b &&
      block.innerColour.a == block.outerColour.a)
    variant = GLShader::kSolid;
  else if (variant == GLShader::kGradient && block.radius == 0.f && block.extent[0] >= kUnseenBoxSide)
    variant = GLShader::kLinear;
  const int program = UseProgram(variant, call.clipMask);
  // Draws of one paint in a row (text of one colour, say) send their block once.
  GLFragUniforms& sent = mProgramUniforms[program];
  if (!(mProgramUniformsValid & (1 << program)) || std::memcmp(&sent, &block, sizeof(block)) != 0)
  {
    mProgramUniformsValid |= 1 << program;
    sent = block;
    glUniform4fv(mShader.Get(variant, call.clipMask).uniformsLocation, 11, reinterpret_cast<const GLfloat*>(&block));
  }
  const Texture* texture = image != 0 ? FindTexture(image) : nullptr;
  if (!texture)
    texture = FindTexture(mDummyTexture);
  BindTexture(texture ? texture->name : 0);
  CheckError("tex paint tex");
}

void GLBackend::DrawFill(const Call& call)
{
  const PathRange* paths = &mPaths[static_cast<size_t>(call.pathOffset)];
  // Winding into the stencil: front faces count up, back faces down; colour untouched.
  glEnable(GL_STENCIL_TEST);
  StencilMask(0xff);
  StencilFunc(GL_ALWAYS, 0, 0xff);
  glColorMask(0, 0, 0, 0);
  SetUniforms(call, call.uniformOffset, 0);
  CheckError("fill simple");
  glStencilOpSeparate(GL_FRONT, GL_KEEP, GL_KEEP, GL_INCR_WRAP);
  glStencilOpSeparate(GL_BACK, GL_KEEP, GL_KEEP, GL_DECR_WRAP);
  glDisable(GL_CULL_FACE);
  for (int i = 0; i < call.pathCount; ++i)
    glDrawArrays(GL_TRIANGLE_FAN, paths[i].fillOffset, paths[i].fillCount);
  glEnable(GL_CULL_FACE);
  glColorMask(1, 1, 1, 1);

  SetUniforms(call, call.uniformOffset + 1, call.image);
  CheckError("fill fill");
  if (mFlags & kAntiAlias)
  {
    // The fringes only outside the filled area.
    StencilFunc(GL_EQUAL, 0, 0xff);
    glStencilOp(GL_KEEP, GL_KEEP, GL_KEEP);
    for (int i = 0; i < call.pathCount; ++i)
      glDrawArrays(GL_TRIANGLE_STRIP, paths[i].strokeOffset, paths[i].strokeCount);
  }
  // Cover where the winding is not zero, clearing the stencil as it goes.
  StencilFunc(GL_NOTEQUAL, 0, 0xff);
  glStencilOp(GL_ZERO, GL_ZERO, GL_ZERO);
  glDrawArrays(GL_TRIANGLE_STRIP, call.triangleOffset, call.triangleCount);
  glDisable(GL_STENCIL_TEST);
}

void GLBackend::DrawConvexFill(const Call& call)
{
  const PathRange* paths = &mPaths[static_cast<size_t>(call.pathOffset)];
  SetUniforms(call, call.uniformOffset, call.image);
  CheckError("convex fill");
  if (call.opaqueInterior)
  {
    EnableBlend(false);
    for (int i = 0; i < call.pathCount; ++i)
      glDrawArrays(GL_TRIANGLE_FAN, paths[i].fillOffset, paths[i].fillCount);
    EnableBlend(true);
    for (int i = 0; i < call.pathCount; ++i)
      if (paths[i].strokeCount > 0)
        glDrawArrays(GL_TRIANGLE_STRIP, paths[i].strokeOffset, paths[i].strokeCount);
    return;
  }
  for (int i = 0; i < call.pathCount; ++i)
  {
    glDrawArrays(GL_TRIANGLE_FAN, paths[i].fillOffset, paths[i].fillCount);
    if (paths[i].strokeCount > 0)
      glDrawArrays(GL_TRIANGLE_STRIP, paths[i].strokeOffset, paths[i].strokeCount);
  }
}

void GLBackend::DrawStroke(const Call& call)
{
  const PathRange* paths = &mPaths[static_cast<size_t>(call.pathOffset)];
  auto drawStrips = [&] {
    for (int i = 0; i < call.pathCount; ++i)
      glDrawArrays(GL_TRIANGLE_STRIP, paths[i].strokeOffset, paths[i].strokeCount);
  };
  if (!(mFlags & kStencilStrokes))
  {
    SetUniforms(call, call.uniformOffset, call.image);
    CheckError("stroke fill");
    drawStrips();
    return;
  }
  // Each pixel once: the solid core marks the stencil, the anti-aliased rest fills
  // around it, then the stencil is cleared again.
  glEnable(GL_STENCIL_TEST);
  StencilMask(0xff);
  StencilFunc(GL_EQUAL, 0, 0xff);
  glStencilOp(GL_KEEP, GL_KEEP, GL_INCR);
  SetUniforms(call, call.uniformOffset + 1, call.image);
  CheckError("stroke fill 0");
  drawStrips();
  SetUniforms(call, call.uniformOffset, call.image);
  StencilFunc(GL_EQUAL, 0, 0xff);
  glStencilOp(GL_KEEP, GL_KEEP, GL_KEEP);
  drawStrips();
  glColorMask(0, 0, 0, 0);
  StencilFunc(GL_ALWAYS, 0, 0xff);
  glStencilOp(GL_ZERO, GL_ZERO, GL_ZERO);
  CheckError("stroke fill 1");
  drawStrips();
  glColorMask(1, 1, 1, 1);
  glDisable(GL_STENCIL_TEST);
}

void GLBackend::DrawTriangles(const Call& call)
{
  SetUniforms(call, call.uniformOffset, call.image);
  CheckError("triangles fill");
  glDrawArrays(GL_TRIANGLES, call.triangleOffset, call.triangleCount);
}

void GLBackend::SaveBlend()
{
  mSavedBlend.enabled = glIsEnabled(GL_BLEND) != 0;
  glGetIntegerv(GL_BLEND_SRC_RGB, &mSavedBlend.factors[0]);
  glGetIntegerv(GL_BLEND_DST_RGB, &mSavedBlend.factors[1]);
  glGetIntegerv(GL_BLEND_SRC_ALPHA, &mSavedBlend.factors[2]);
  glGetIntegerv(GL_BLEND_DST_ALPHA, &mSavedBlend.factors[3]);
}

void GLBackend::RestoreBlend() const
{
  const GLint* f = mSavedBlend.factors;
  glBlendFuncSeparate(static_cast<GLenum>(f[0]), static_cast<GLenum>(f[1]), static_cast<GLenum>(f[2]),
                      static_cast<GLenum>(f[3]));
  if (mSavedBlend.enabled)
    glEnable(GL_BLEND);
  else
    glDisable(GL_BLEND);
}

void GLBackend::Flush()
{
  if (mCallCount > 0)
  {
    SaveBlend();
    mCurrentProgram = -1;
    mProgramsReady = 0;
    mProgramUniformsValid = 0;
    glEnable(GL_CULL_FACE);
    glCullFace(GL_BACK);
    glFrontFace(GL_CCW);
    glEnable(GL_BLEND);
    glDisable(GL_DEPTH_TEST);
    glDisable(GL_SCISSOR_TEST);
    glColorMask(1, 1, 1, 1);
    glStencilMask(0xffffffff);
    glStencilOp(GL_KEEP, GL_KEEP, GL_KEEP);
    glStencilFunc(GL_ALWAYS, 0, 0xffffffff);
    glActiveTexture(GL_TEXTURE0);
    glBindTexture(GL_TEXTURE_2D, 0);
    mCache = StateCache();
    mCache.stencilMask = 0xffffffff;
    mCache.stencilFunc = GL_ALWAYS;
    mCache.stencilFuncMask = 0xffffffff;
    std::fill(mCache.blend, mCache.blend + 4, GL_INVALID_ENUM);

    glBindBuffer(GL_ARRAY_BUFFER, mVertexBuffer);
    glBufferData(GL_ARRAY_BUFFER, static_cast<GLsizeiptr>(mVertexCount) * sizeof(VectorVertex), mVertices.data(),
                 GL_STREAM_DRAW);
    glEnableVertexAttribArray(0);
    glEnableVertexAttribArray(1);
    glVertexAttribPointer(0, 2, GL_FLOAT, 0, sizeof(VectorVertex), reinterpret_cast<const void*>(0));
    glVertexAttribPointer(1, 2, GL_FLOAT, 0, sizeof(VectorVertex), reinterpret_cast<const void*>(2 * sizeof(float)));

    for (int i = 0; i < mCallCount; ++i)
    {
      const Call& call = mCalls[static_cast<size_t>(i)];
      BlendFuncSeparate(call);
      Scissor(call);
      switch (call.type)
      {
      case kFill: DrawFill(call); break;
      case kConvexFill: DrawConvexFill(call); break;
      case kStroke: DrawStroke(call); break;
      case kTriangles: DrawTriangles(call); break;
      default: break;
      }
    }

    glDisableVertexAttribArray(0);
    glDisableVertexAttribArray(1);
    glDisable(GL_CULL_FACE);
    glDisable(GL_SCISSOR_TEST);
    glBindBuffer(GL_ARRAY_BUFFER, 0);
    glUseProgram(0);
    BindTexture(0);
    RestoreBlend();
  }
  Cancel();
}

} // namespace pfw::gui
