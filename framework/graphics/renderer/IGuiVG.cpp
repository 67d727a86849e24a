#include "IGuiVG.h"

#include "GLBackend.h"
#include "GLFramebuffer.h"
#include "GLFunctions.h"
#include "VectorContext.h"

#include "FontDataCache.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstring>

namespace pfw::gui {

using namespace gl;

namespace {
constexpr GLbitfield kClearAll = GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT | GL_STENCIL_BUFFER_BIT;

// Keeps the window's GL context current for a scope.
class ScopedGLContext
{
public:
  explicit ScopedGLContext(IGui& gui)
    : mGui(gui)
  {
    mGui.ActivateGLContext();
  }
  ~ScopedGLContext() { mGui.DeactivateGLContext(); }
  ScopedGLContext(const ScopedGLContext&) = delete;
  ScopedGLContext& operator=(const ScopedGLContext&) = delete;

private:
  IGui& mGui;
};

// A new target starts transparent, with a clear stencil.
void ClearBoundTarget(int width, int height)
{
  glViewport(0, 0, width, height);
  glClearColor(0.f, 0.f, 0.f, 0.f);
  glClear(kClearAll);
}
} // namespace

// ---- Bitmap ----

IGuiVG::Bitmap::Bitmap(VectorContext* context, int imageId, float scale, float drawScale, bool shared)
  : mContext(context), mShared(shared)
{
  SetImageId(imageId);
  SetScale(scale);
  SetDrawScale(drawScale);
  int width = 0;
  int height = 0;
  if (context && imageId)
    VG::ImageSize(context, imageId, &width, &height);
  SetSize(width, height);
}

IGuiVG::Bitmap::Bitmap(IGuiVG& owner, VectorFramebuffer* framebuffer, int width, int height, float scale,
                       float drawScale)
  : APIBitmap(framebuffer ? framebuffer->image : 0, width, height, scale, drawScale)
  , mOwner(&owner)
  , mFramebuffer(framebuffer)
{
}

IGuiVG::Bitmap::~Bitmap()
{
  if (mShared)
    return;
  if (mFramebuffer)
    mOwner->ReleaseFramebuffer(mFramebuffer);
  else if (mContext && GetImageId())
    VG::DeleteImage(mContext, GetImageId());
}

// ---- Lifecycle ----

IGuiVG::IGuiVG(IGuiEditorDelegate& delegate, int width, int height, int fps, float scale)
  : IGui(delegate, width, height, fps, scale)
{
  InitializeCriticalSection(&mFramebufferLock);
  ScopedCriticalSection lock(FontDataCache().Lock());
  FontDataCache().Retain();
}

IGuiVG::~IGuiVG()
{
  {
    ScopedCriticalSection lock(FontDataCache().Lock());
    FontDataCache().Release();
  }
  // Normally OnViewDestroyed ran; without it, what is left goes now, controls (which may
  // hold layers) first.
  RemoveAllControls();
  DestroyDrawContext();
  DeleteCriticalSection(&mFramebufferLock);
}

void IGuiVG::OnViewInitialized(void*)
{
  if (mContext || !FunctionsLoaded())
    return;
  // The window's own framebuffer, read before any of ours is bound.
  GLint bound = 0;
  glGetIntegerv(GL_FRAMEBUFFER_BINDING, &bound);
  mDefaultFramebuffer = static_cast<GLuint>(bound);
  VectorBackendParams params = GLBackend::MakeParams(GLBackend::kAntiAlias);
  if (!params.user)
    return;
  mContext = VG::CreateContext(params);
  mBackend = mContext ? static_cast<GLBackend*>(params.user) : nullptr;
}

void IGuiVG::OnViewDestroyed()
{
  RemoveAllControls();
  DestroyDrawContext();
}

void IGuiVG::DestroyDrawContext()
{
  // Bitmaps hold images of the context: they go first.
  ClearBitmapCache();
  FreePendingFramebuffers();
  DeleteFramebuffer(mMainFramebuffer);
  mMainFramebuffer = nullptr;
  if (mContext)
    VG::DeleteContext(mContext);
  mContext = nullptr;
  mBackend = nullptr;
  mWindowHoldsFrame = false;
}

void* IGuiVG::GetDrawContext()
{
  return mContext;
}

const char* IGuiVG::GetDrawingAPIStr()
{
  return "VG | GL2";
}

IArgbColour IGuiVG::GetDefaultColor() const
{
  return IArgbColour(255, 0, 0, 0);
}

// ---- Sizes ----

void IGuiVG::FrameSize(int& width, int& height) const
{
  width = static_cast<int>(static_cast<float>(Width()) * GetDrawScale());
  height = static_cast<int>(static_cast<float>(Height()) * GetDrawScale());
}

void IGuiVG::PixelSize(int& width, int& height) const
{
  FrameSize(width, height);
  width = static_cast<int>(static_cast<float>(width) * GetScreenScale());
  height = static_cast<int>(static_cast<float>(height) * GetScreenScale());
}

// ---- Frames and targets ----

void IGuiVG::BindTarget(unsigned framebuffer, int pixelWidth, int pixelHeight)
{
  // Frame units are pixels over the screen scale, exactly, so edges stay on pixels.
  const float ss = GetScreenScale();
  glBindFramebuffer(GL_FRAMEBUFFER, framebuffer);
  glViewport(0, 0, pixelWidth, pixelHeight);
  VG::BeginFrame(mContext, static_cast<float>(pixelWidth) / ss, static_cast<float>(pixelHeight) / ss, ss);
}

void IGuiVG::BindCurrentTarget()
{
  ILayer* layer = TopLayer();
  const Bitmap* bitmap = layer ? dynamic_cast<const Bitmap*>(layer->bitmap.get()) : nullptr;
  if (layer)
  {
    const GLuint framebuffer =
      bitmap && bitmap->GetFramebuffer() ? bitmap->GetFramebuffer()->framebuffer : mDefaultFramebuffer;
    const int w = layer->bitmap ? layer->bitmap->GetWidth() : 0;
    const int h = layer->bitmap ? layer->bitmap->GetHeight() : 0;
    BindTarget(framebuffer, w, h);
    return;
  }
  int w = 0;
  int h = 0;
  PixelSize(w, h);
  BindTarget(mMainFramebuffer ? mMainFramebuffer->framebuffer : mDefaultFramebuffer, w, h);
}

void IGuiVG::BeginFrame()
{
  if (!mContext)
    return;
  mInFrame = true;
  IGui::BeginFrame();
  int w = 0;
  int h = 0;
  PixelSize(w, h);
  // The copy of the main framebuffer overwrites the window: only drawing straight into
  // the window starts from a clear one.
  if (!mMainFramebuffer)
  {
    glBindFramebuffer(GL_FRAMEBUFFER, mDefaultFramebuffer);
    ClearBoundTarget(w, h);
  }
  // The main framebuffer keeps the previous frame: only the dirty areas are redrawn.
  BindCurrentTarget();
}

void IGuiVG::EndFrame()
{
  if (!mContext)
    return;
  VG::EndFrame(mContext);
  if (mMainFramebuffer)
  {
    // The frame goes into the window by a framebuffer copy, pixel for pixel, replacing
    // what is there: a software renderer copies rows instead of shading a textured
    // rectangle. A window still holding the previous frame takes only the pixels this
    // one changed.
    int w = 0;
    int h = 0;
    PixelSize(w, h);
    int changed[4] = {0, 0, w, h};
    if (mSwapKeepsBackBuffer && mWindowHoldsFrame)
      ChangedPixels(changed);
    glBindFramebuffer(GL_READ_FRAMEBUFFER, mMainFramebuffer->framebuffer);
    glBindFramebuffer(GL_DRAW_FRAMEBUFFER, mDefaultFramebuffer);
    if (changed[2] > changed[0] && changed[3] > changed[1])
    {
      // Framebuffer rows run bottom-up.
      const int bottom = h - changed[3];
      const int top = h - changed[1];
      glBlitFramebuffer(changed[0], bottom, changed[2], top, changed[0], bottom, changed[2], top, GL_COLOR_BUFFER_BIT,
                        static_cast<GLenum>(GL_NEAREST));
    }
    glBindFramebuffer(GL_FRAMEBUFFER, mDefaultFramebuffer);
    glViewport(0, 0, w, h);
    mWindowHoldsFrame = true;
  }
  mInFrame = false;
  FreePendingFramebuffers();
}

void IGuiVG::ChangedPixels(int box[4]) const
{
  // The frame's areas are aligned to pixels already; the margin only absorbs rounding.
  const IRectF bounds = FrameBounds();
  const float scale = GetTotalScale();
  const float edges[4] = {std::floor(bounds.L * scale + 0.01f), std::floor(bounds.T * scale + 0.01f),
                          std::ceil(bounds.R * scale - 0.01f), std::ceil(bounds.B * scale - 0.01f)};
  const int limits[4] = {box[2], box[3], box[2], box[3]};
  for (int i = 0; i < 4; ++i)
    box[i] = static_cast<int>(std::clamp(edges[i], 0.f, static_cast<float>(limits[i])));
}

void IGuiVG::SetSwapKeepsBackBuffer(bool keeps)
{
  mSwapKeepsBackBuffer = keeps;
}

void IGuiVG::OnResizeOrRescale()
{
  ScopedGLContext current(*this);
  // The window's buffers are made anew at another size.
  mWindowHoldsFrame = false;
  DeleteFramebuffer(mMainFramebuffer);
  mMainFramebuffer = nullptr;
  if (!mBackend)
    return;
  int w = 0;
  int h = 0;
  PixelSize(w, h);
  mMainFramebuffer = CreateFramebuffer(*mBackend, w, h, 0);
  if (!mMainFramebuffer)
    return;
  GLint previous = 0;
  glGetIntegerv(GL_FRAMEBUFFER_BINDING, &previous);
  glBindFramebuffer(GL_FRAMEBUFFER, mMainFramebuffer->framebuffer);
  ClearBoundTarget(w, h);
  glBindFramebuffer(GL_FRAMEBUFFER, static_cast<GLuint>(previous));
}

// ---- Layers ----

std::unique_ptr<APIBitmap> IGuiVG::CreateAPIBitmap(int width, int height, float scale, float drawScale, bool)
{
  if (!mContext)
    return std::make_unique<Bitmap>(nullptr, 0, scale, drawScale, false);
  if (mInFrame)
    VG::EndFrame(mContext);
  VectorFramebuffer* framebuffer = CreateFramebuffer(*mBackend, width, height, 0);
  if (framebuffer)
  {
    glBindFramebuffer(GL_FRAMEBUFFER, framebuffer->framebuffer);
    ClearBoundTarget(width, height);
  }
  // Without a framebuffer the bitmap is empty (image 0) but still a bitmap: layers need one.
  auto bitmap = std::make_unique<Bitmap>(*this, framebuffer, framebuffer ? width : 0, framebuffer ? height : 0,
                                         scale, drawScale);
  if (mInFrame)
    BindCurrentTarget();
  return bitmap;
}

void IGuiVG::UpdateLayer()
{
  if (!mContext)
    return;
  VG::EndFrame(mContext);
  BindCurrentTarget();
}

void IGuiVG::ReleaseFramebuffer(VectorFramebuffer* framebuffer)
{
  if (!framebuffer)
    return;
  if (mInFrame)
  {
    // Queued drawing may still sample it: delete after the frame's end.
    ScopedCriticalSection lock(&mFramebufferLock);
    mPendingDeletions.push_back(framebuffer);
    return;
  }
  // Outside a frame another context (a host's) may be current: the objects are ours.
  ScopedGLContext current(*this);
  DeleteFramebuffer(framebuffer);
}

void IGuiVG::FreePendingFramebuffers()
{
  ScopedCriticalSection lock(&mFramebufferLock);
  while (!mPendingDeletions.empty())
  {
    DeleteFramebuffer(mPendingDeletions.back());
    mPendingDeletions.pop_back();
  }
}

void IGuiVG::GetLayerBitmapData(ILayer& layer, ByteBuffer& data)
{
  if (!layer.bitmap)
    return;
  const int w = layer.bitmap->GetWidth();
  const int h = layer.bitmap->GetHeight();
  data.Resize(w * h * 4, true);
  if (w <= 0 || h <= 0 || data.Size() < w * h * 4)
    return;
  PushLayer(&layer);
  glPixelStorei(GL_PACK_ALIGNMENT, 4);
  glReadPixels(0, 0, w, h, GL_RGBA, GL_UNSIGNED_BYTE, data.Data());
  PopLayer();
}

void IGuiVG::ApplyShadowMask(ILayer& layer, ByteBuffer& mask, const IShadow& shadow)
{
  if (!layer.bitmap || !mContext)
    return;
  const int w = layer.bitmap->GetWidth();
  const int h = layer.bitmap->GetHeight();
  if (w <= 0 || h <= 0 || mask.Size() < w * h * 4)
    return;
  const IRectF bounds = layer.rect;
  if (!shadow.drawForeground)
  {
    // Only the shadow stays: transparent black drawn "source in" leaves nothing behind (a
    // fill without a blend would be source-over, which changes nothing).
    const IBlendMode clear(IBlendMode::kSourceIn, 1.f);
    PushLayer(&layer);
    PathRect(bounds);
    PathFill(IColourSource::FromColour(IArgbColour(0, 0, 0, 0)), IFillRule(), &clear);
    PopLayer();
  }
  // The mask was read bottom-up, like every framebuffer image.
  const int maskImage = VG::CreateImageRGBA(mContext, w, h, kImageFlipY | kImagePremultiplied,
                                            static_cast<const unsigned char*>(mask.Data()));
  Bitmap maskBitmap(mContext, maskImage, layer.bitmap->GetScale(), layer.bitmap->GetDrawScale(), false);
  std::unique_ptr<APIBitmap> shadowBitmap =
    CreateAPIBitmap(w, h, layer.bitmap->GetScale(), layer.bitmap->GetDrawScale());
  ILayer shadowLayer(std::move(shadowBitmap), bounds, nullptr, IRectF());

  PathTransformSave();
  PushLayer(&layer);
  PushLayer(&shadowLayer);
  DrawBitmap(IBitmapRef(&maskBitmap, "", 1, false), bounds, 0, 0, nullptr);
  // Colour the mask's alpha with the shadow's paint.
  const IBlendMode sourceIn(IBlendMode::kSourceIn, 1.f);
  PathRect(bounds);
  PathTransformTranslate(-shadow.xOffset, -shadow.yOffset);
  PathFill(shadow.pattern, IFillRule(), &sourceIn);
  PopLayer();
  const IBlendMode behind(IBlendMode::kDestinationOver, std::min(std::max(shadow.opacity, 0.f), 1.f));
  DrawBitmap(IBitmapRef(shadowLayer.bitmap.get(), "", 1, false), bounds.Offset(shadow.xOffset, shadow.yOffset), 0,
             0, &behind);
  PopLayer();
  PathTransformRestore();
}

// ---- Bitmaps ----

std::unique_ptr<IGuiVG::Bitmap> IGuiVG::WrapImage(int imageId, float scale, bool shared)
{
  return std::make_unique<Bitmap>(mContext, imageId, scale, 1.f, shared);
}

void IGuiVG::RetainBitmap(const IBitmapRef& bitmap, const char* name)
{
  if (!bitmap.bitmap)
    return;
  ScopedCriticalSection lock(mBitmapCache.Lock());
  mBitmapCache.Add(bitmap.bitmap, name, bitmap.bitmap->GetScale());
}

void IGuiVG::ReleaseBitmap(const IBitmapRef& bitmap)
{
  ScopedGLContext current(*this);
  ScopedCriticalSection lock(mBitmapCache.Lock());
  mBitmapCache.Remove(bitmap.bitmap);
}

void IGuiVG::ClearBitmapCache()
{
  ScopedCriticalSection lock(mBitmapCache.Lock());
  mBitmapCache.Clear();
}

int IGuiVG::CachedBitmapCount()
{
  ScopedCriticalSection lock(mBitmapCache.Lock());
  return mBitmapCache.Size();
}

bool IGuiVG::BitmapExtSupported(const char* extension)
{
  char lower[32] = {};
  for (int i = 0; extension && extension[i] && i < 31; ++i)
    lower[i] = static_cast<char>(std::tolower(static_cast<unsigned char>(extension[i])));
  return std::strstr(lower, "png") || std::strstr(lower, "jpg") || std::strstr(lower, "jpeg");
}

std::unique_ptr<APIBitmap> IGuiVG::LoadAPIBitmap(const char* location, int scale, int locationKind,
                                                 const char* extension)
{
  int image = 0;
  if (mContext && locationKind == kModuleResource)
  {
    ByteBuffer bytes(4096);
    if (LoadModuleResource(location, extension, bytes))
    {
      ScopedGLContext current(*this);
      image = VG::CreateImageMem(mContext, 0, static_cast<const unsigned char*>(bytes.Data()), bytes.Size());
    }
  }
  else if (mContext && locationKind == kFileOnDisk)
  {
    ScopedGLContext current(*this);
    image = VG::CreateImageFile(mContext, location, 0);
  }
  return WrapImage(image, static_cast<float>(scale), false);
}

std::unique_ptr<APIBitmap> IGuiVG::LoadAPIBitmapFromData(const char*, const void* data, int size, int scale)
{
  int image = 0;
  if (mContext && data && size > 0)
  {
    ScopedGLContext current(*this);
    image = VG::CreateImageMem(mContext, 0, static_cast<const unsigned char*>(data), size);
  }
  return WrapImage(image, static_cast<float>(scale), false);
}

IBitmapRef IGuiVG::LoadBitmap(const char* name, int frames, bool horizontal, int targetScale)
{
  if (!name)
    return IBitmapRef();
  if (targetScale == 0)
    targetScale = static_cast<int>(std::ceil(GetScreenScale()));
  ScopedCriticalSection lock(mBitmapCache.Lock());
  if (APIBitmap* cached = mBitmapCache.Find(name, targetScale))
    return IBitmapRef(cached, name, frames, horizontal);
  const char* dot = std::strrchr(name, '.');
  const char* extension = dot ? dot + 1 : "";
  GrowString location;
  int foundScale = 0;
  const int kind = SearchNextScale(name, extension, location, targetScale, foundScale);
  if (kind == kNotFound || !BitmapExtSupported(extension))
    return IBitmapRef();
  if (APIBitmap* cached = mBitmapCache.Find(name, foundScale))
    return IBitmapRef(cached, name, frames, horizontal);
  std::unique_ptr<APIBitmap> bitmap = LoadAPIBitmap(location.Get(), foundScale, kind, extension);
  APIBitmap* kept = bitmap.release();
  mBitmapCache.Add(kept, name, foundScale);
  return IBitmapRef(kept, name, frames, horizontal);
}

IBitmapRef IGuiVG::LoadBitmapFromData(const char* name, const void* data, int size, int frames, bool horizontal,
                                      int)
{
  if (!name || !data || size <= 0)
    return IBitmapRef();
  ScopedCriticalSection lock(mBitmapCache.Lock());
  if (APIBitmap* cached = mBitmapCache.Find(name, 1))
    return IBitmapRef(cached, name, frames, horizontal);
  std::unique_ptr<APIBitmap> bitmap = LoadAPIBitmapFromData(name, data, size, 1);
  APIBitmap* kept = bitmap.release();
  mBitmapCache.Add(kept, name, 1);
  return IBitmapRef(kept, name, frames, horizontal);
}

} // namespace pfw::gui
