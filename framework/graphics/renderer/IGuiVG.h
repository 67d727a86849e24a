#pragma once

#include "framework/graphics/IGui.h"
#include "framework/graphics/StaticCache.h"

#include <deque>

namespace pfw::gui {

class GLBackend;
struct VectorContext;
struct VectorFramebuffer;

// The drawing half of an editor window: every drawing, bitmap, font and layer operation
// of IGui over the vector context and its OpenGL 2 back end. A frame is drawn into the
// main framebuffer (the window's pixel size) and copied into the window's own
// framebuffer at its end, so what was drawn before stays for partial redraws. The
// platform layer derives from it and supplies the window and the GL context.
//
// The platform's part, with this window's GL context current on the calling thread:
// after making the context, pfw::gl::LoadFunctions() and then OnViewInitialized(); before
// deleting it, OnViewDestroyed(). Around every IGui::Draw, OnResizeOrRescale and bitmap
// load the platform keeps the context current (ActivateGLContext / DeactivateGLContext).
class IGuiVG : public IGui
{
public:
  // An image of the vector context, or the framebuffer behind a layer.
  class Bitmap : public APIBitmap
  {
  public:
    // An image the vector context owns (deleted with the bitmap unless shared).
    Bitmap(VectorContext* context, int imageId, float scale, float drawScale, bool shared);
    // A layer's framebuffer, released through its owner (deferred while it draws a frame).
    Bitmap(IGuiVG& owner, VectorFramebuffer* framebuffer, int width, int height, float scale, float drawScale);
    ~Bitmap() override;
    VectorFramebuffer* GetFramebuffer() const { return mFramebuffer; }

  private:
    IGuiVG* mOwner = nullptr;
    VectorContext* mContext = nullptr;
    VectorFramebuffer* mFramebuffer = nullptr;
    bool mShared = false;
  };

  IGuiVG(IGuiEditorDelegate& delegate, int width, int height, int fps, float scale = 1.f);
  ~IGuiVG() override;

  // ---- Frame hooks ----
  void BeginFrame() override;
  // Creates the vector context with the GL context current; null context on failure.
  void OnViewInitialized(void* unused = nullptr) override;
  // Removes the controls, then frees bitmaps, framebuffers and the vector context.
  void OnViewDestroyed() override;
  void EndFrame() override;

  // ---- Drawing ----
  void DrawBitmap(const IBitmapRef& bitmap, const IRectF& dest, int srcX, int srcY,
                  const IBlendMode* blend = nullptr) override;
  void DrawDottedLine(const IArgbColour& colour, float x1, float y1, float x2, float y2,
                      const IBlendMode* blend = nullptr, float thickness = 1.f, float dashLength = 2.f) override;
  void DrawDottedRect(const IArgbColour& colour, const IRectF& bounds, const IBlendMode* blend = nullptr,
                      float thickness = 1.f, float dashLength = 2.f) override;
  void DrawMultiLineText(const ITextStyle& style, const char* text, const IRectF& bounds,
                         const IBlendMode* blend = nullptr) override;
  IArgbColour GetDefaultColor() const override;
  void* GetDrawContext() override;
  const char* GetDrawingAPIStr() override;
  void RetainBitmap(const IBitmapRef& bitmap, const char* name) override;
  void ReleaseBitmap(const IBitmapRef& bitmap) override;
  bool BitmapExtSupported(const char* extension) override;
  void DrawFastDropShadow(const IRectF& inner, const IRectF& outer, float drop = 5.f, float roundness = 0.f,
                          float blur = 10.f, const IBlendMode* blend = nullptr) override;
  void GetLayerBitmapData(ILayer& layer, ByteBuffer& data) override;
  void ApplyShadowMask(ILayer& layer, ByteBuffer& mask, const IShadow& shadow) override;
  void UpdateLayer() override;

  // ---- Paths ----
  void PathClear() override;
  void PathClose() override;
  void PathArc(float cx, float cy, float r, float a1, float a2, int winding = 0) override;
  void PathMoveTo(float x, float y) override;
  void PathLineTo(float x, float y) override;
  void PathSetWinding(bool clockwise) override;
  void PathCubicTo(float c1x, float c1y, float c2x, float c2y, float x, float y) override;
  void PathQuadTo(float cx, float cy, float x, float y) override;
  void PathStroke(const IColourSource& source, float thickness, const IStrokeStyle& style,
                  const IBlendMode* blend) override;
  void PathFill(const IColourSource& source, const IFillRule& rule, const IBlendMode* blend) override;
  void PathTransformSetMatrix(const ITransform2D& transform) override;
  void SetClipRegion(const IRectF& clip) override;

  // ---- Size, resources, text ----
  // Recreates the main framebuffer at the window's pixel size.
  void OnResizeOrRescale() override;
  IBitmapRef LoadBitmap(const char* name, int frames = 1, bool horizontal = false, int targetScale = 0) override;
  IBitmapRef LoadBitmapFromData(const char* name, const void* data, int size, int frames = 1,
                                bool horizontal = false, int targetScale = 0) override;
  std::unique_ptr<APIBitmap> LoadAPIBitmapFromData(const char* name, const void* data, int size,
                                                   int scale) override;
  std::unique_ptr<APIBitmap> LoadAPIBitmap(const char* location, int scale, int locationKind,
                                           const char* extension) override;
  std::unique_ptr<APIBitmap> CreateAPIBitmap(int width, int height, float scale, float drawScale,
                                             bool cacheable = false) override;
  bool LoadAPIFont(const char* fontId, const PlatformFont& font) override;
  int AlphaChannelIndex() const override { return 3; }
  bool IsLayerDataFlipped() const override { return true; }
  float DoMeasureText(const ITextStyle& style, const char* text, IRectF& bounds) const override;
  void DoDrawText(const ITextStyle& style, const char* text, const IRectF& bounds,
                  const IBlendMode* blend) override;

  // Hands a layer's framebuffer back: deleted at once, or at the end of the frame being
  // drawn (the GL commands that use it are still queued).
  void ReleaseFramebuffer(VectorFramebuffer* framebuffer);
  // The window's own framebuffer object, read when the vector context was made.
  unsigned DefaultFramebuffer() const { return mDefaultFramebuffer; }
  // The framebuffer every frame is drawn into (null before the first resize).
  VectorFramebuffer* MainFramebuffer() const { return mMainFramebuffer; }
  // Bitmaps held by this window's cache.
  int CachedBitmapCount();
  // Whether the window's back buffer still holds its pixels after a swap (the platform
  // knows): then a frame copies into the window only what it changed.
  void SetSwapKeepsBackBuffer(bool keeps);

private:
  struct TextOrigin
  {
    float x = 0.f;
    float y = 0.f;
  };

  void DestroyDrawContext();
  void FreePendingFramebuffers();
  void ClearBitmapCache();
  // Binds a framebuffer with a viewport of its pixel size and starts a vector frame on it.
  void BindTarget(unsigned framebuffer, int pixelWidth, int pixelHeight);
  // The top layer's framebuffer, or the main one when no layer is pushed.
  void BindCurrentTarget();
  void SetCompositeFromBlend(const IBlendMode* blend);
  void SetSourceOver();
  // Font, size and alignment of the style; the measured text box at the aligned origin
  // replaces rect (all zero without a valid font).
  TextOrigin PrepareText(const ITextStyle& style, const char* text, IRectF& rect) const;
  void PixelSize(int& width, int& height) const;
  // Narrows a box of window pixels (left, top, right, bottom; the whole window on entry)
  // to the pixels the frame being drawn changes.
  void ChangedPixels(int box[4]) const;
  void FrameSize(int& width, int& height) const;
  std::unique_ptr<Bitmap> WrapImage(int imageId, float scale, bool shared);

  bool mInFrame = false;
  CRITICAL_SECTION mFramebufferLock;
  std::deque<VectorFramebuffer*> mPendingDeletions;
  StaticCache<APIBitmap> mBitmapCache;
  VectorContext* mContext = nullptr;
  GLBackend* mBackend = nullptr; // owned by the context
  VectorFramebuffer* mMainFramebuffer = nullptr;
  unsigned mDefaultFramebuffer = 0;
  bool mSwapKeepsBackBuffer = false;
  // The window holds the last frame copied into it.
  bool mWindowHoldsFrame = false;
};

} // namespace pfw::gui
