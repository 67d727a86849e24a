#pragma once

// Windows names some of its calls like ours through macros; take them first, then undo
// the two that would rename members here.
#include "framework/core/WindowsServices.h"
#if defined(_WIN32)
#undef DrawText
#undef LoadBitmap
#endif

#include "APIBitmap.h"
#include "IBitmapRef.h"
#include "IBlendMode.h"
#include "IColourSource.h"
#include "IControl.h"
#include "IInputEvents.h"
#include "ILayer.h"
#include "IPopupMenu.h"
#include "IRectF.h"
#include "IStrokeStyle.h"
#include "ISvgRef.h"
#include "ITextStyle.h"
#include "ITransform2D.h"
#include "PlatformFont.h"

#include "framework/core/ByteBuffer.h"
#include "framework/core/IEditorGraphics.h"
#include "framework/core/GrowString.h"
#include "framework/core/PointerList.h"

#include <deque>
#include <functional>
#include <memory>
#include <unordered_map>
#include <vector>

namespace pfw {
class IGuiEditorDelegate;
}

namespace pfw::gui {

class ICornerResizerControl;
class ITextEntryControl;

// The drawing and user-interface host of one editor window: it owns the controls, tracks
// what needs repainting, runs the draw pass, dispatches input, scales, loads shared
// resources and runs prompts. The renderer supplies the drawing operations and the
// platform layer the window; everything runs on the user-interface thread.
class IGui : public IEditorGraphics
{
public:
  using ControlFunc = std::function<void(IControl&)>;
  enum ResizerMode { kResizerScale = 0, kResizerSize = 1 };
  enum LocationKind { kNotFound = 0, kFileOnDisk = 1, kModuleResource = 2 };

  IGui(IGuiEditorDelegate& delegate, int width, int height, int fps, float scale = 1.f);
  ~IGui() override;
  IGui(const IGui&) = delete;
  IGui& operator=(const IGui&) = delete;

  // ---- Frame hooks (renderer) ----
  virtual void BeginFrame() {}
  virtual void OnViewInitialized(void* /*context*/) {}
  virtual void OnViewDestroyed() {}
  virtual void EndFrame() {}

  // ---- Drawing primitives ----
  virtual void DrawSVG(const ISvgRef& svg, const IRectF& bounds, const IBlendMode* blend = nullptr,
                       const IArgbColour* strokeColour = nullptr, const IArgbColour* fillColour = nullptr);
  virtual void DrawRotatedSVG(const ISvgRef& svg, float cx, float cy, float width, float height, double angle,
                              const IBlendMode* blend = nullptr);
  virtual void DrawBitmap(const IBitmapRef& bitmap, const IRectF& dest, int srcX, int srcY,
                          const IBlendMode* blend = nullptr) = 0;
  virtual void DrawFittedBitmap(const IBitmapRef& bitmap, const IRectF& bounds, const IBlendMode* blend = nullptr);
  virtual void DrawRotatedBitmap(const IBitmapRef& bitmap, float cx, float cy, double angle,
                                 const IBlendMode* blend = nullptr);
  virtual void DrawPoint(const IArgbColour& colour, float x, float y, const IBlendMode* blend = nullptr);
  virtual void DrawLine(const IArgbColour& colour, float x1, float y1, float x2, float y2,
                        const IBlendMode* blend = nullptr, float thickness = 1.f);
  virtual void DrawDottedLine(const IArgbColour& colour, float x1, float y1, float x2, float y2,
                              const IBlendMode* blend = nullptr, float thickness = 1.f, float dashLength = 2.f);
  virtual void DrawTriangle(const IArgbColour& colour, float x1, float y1, float x2, float y2, float x3, float y3,
                            const IBlendMode* blend = nullptr, float thickness = 1.f);
  virtual void DrawRect(const IArgbColour& colour, const IRectF& bounds, const IBlendMode* blend = nullptr,
                        float thickness = 1.f);
  virtual void DrawRoundRectEach(const IArgbColour& colour, const IRectF& bounds, float tl, float tr, float bl,
                                 float br, const IBlendMode* blend = nullptr, float thickness = 1.f);
  virtual void DrawRoundRect(const IArgbColour& colour, const IRectF& bounds, float radius,
                             const IBlendMode* blend = nullptr, float thickness = 1.f);
  virtual void DrawArc(const IArgbColour& colour, float cx, float cy, float r, float a1, float a2,
                       const IBlendMode* blend = nullptr, float thickness = 1.f);
  virtual void DrawCircle(const IArgbColour& colour, float cx, float cy, float r, const IBlendMode* blend = nullptr,
                          float thickness = 1.f);
  virtual void DrawEllipse(const IArgbColour& colour, float cx, float cy, float r1, float r2, float angle = 0.f,
                           const IBlendMode* blend = nullptr, float thickness = 1.f);
  virtual void DrawEllipseInRect(const IArgbColour& colour, const IRectF& bounds, const IBlendMode* blend = nullptr,
                                 float thickness = 1.f);
  virtual void DrawConvexPolygon(const IArgbColour& colour, const float* xs, const float* ys, int n,
                                 const IBlendMode* blend = nullptr, float thickness = 1.f);
  virtual void DrawDottedRect(const IArgbColour& colour, const IRectF& bounds, const IBlendMode* blend = nullptr,
                              float thickness = 1.f, float dashLength = 2.f);
  virtual void FillTriangle(const IArgbColour& colour, float x1, float y1, float x2, float y2, float x3, float y3,
                            const IBlendMode* blend = nullptr);
  virtual void FillRect(const IArgbColour& colour, const IRectF& bounds, const IBlendMode* blend = nullptr);
  virtual void FillRoundRectEach(const IArgbColour& colour, const IRectF& bounds, float tl, float tr, float bl,
                                 float br, const IBlendMode* blend = nullptr);
  virtual void FillRoundRect(const IArgbColour& colour, const IRectF& bounds, float radius,
                             const IBlendMode* blend = nullptr);
  virtual void FillCircle(const IArgbColour& colour, float cx, float cy, float r, const IBlendMode* blend = nullptr);
  virtual void FillEllipse(const IArgbColour& colour, float cx, float cy, float r1, float r2, float angle = 0.f,
                           const IBlendMode* blend = nullptr);
  virtual void FillEllipseInRect(const IArgbColour& colour, const IRectF& bounds, const IBlendMode* blend = nullptr);
  virtual void FillArc(const IArgbColour& colour, float cx, float cy, float r, float a1, float a2,
                       const IBlendMode* blend = nullptr);
  virtual void FillConvexPolygon(const IArgbColour& colour, const float* xs, const float* ys, int n,
                                 const IBlendMode* blend = nullptr);
  virtual float MeasureText(const ITextStyle& style, const char* text, IRectF& bounds) const;
  virtual void DrawMultiLineText(const ITextStyle& style, const char* text, const IRectF& bounds,
                                 const IBlendMode* blend = nullptr);
  virtual IArgbColour GetDefaultColor() const = 0;
  virtual void* GetDrawContext() = 0;
  virtual const char* GetDrawingAPIStr() = 0;
  virtual IBitmapRef ScaleBitmap(const IBitmapRef& bitmap, const char* name, int targetScale);
  virtual void RetainBitmap(const IBitmapRef& bitmap, const char* name);
  virtual void ReleaseBitmap(const IBitmapRef& bitmap);
  virtual bool BitmapExtSupported(const char* extension) = 0;
  virtual void DrawFastDropShadow(const IRectF& inner, const IRectF& outer, float drop = 5.f, float roundness = 0.f,
                                  float blur = 10.f, const IBlendMode* blend = nullptr) = 0;
  virtual void DrawGrid(const IArgbColour& colour, const IRectF& bounds, float xStep, float yStep,
                        const IBlendMode* blend = nullptr, float thickness = 1.f);
  virtual void DrawData(const IArgbColour& colour, const IRectF& bounds, const float* ys, int n,
                        const float* xs = nullptr, const IBlendMode* blend = nullptr, float thickness = 1.f,
                        const IArgbColour* fillColour = nullptr);
  virtual bool LoadFontFromData(const char* fontId, const void* data, int size);
  virtual bool LoadFont(const char* fontId, const char* fileNameOrResourceName);
  virtual void ApplyLayerDropShadow(ILayer& layer, const IShadow& shadow);
  // Reads the layer's pixels (4 bytes each) into data; leaves it smaller when it cannot.
  virtual void GetLayerBitmapData(ILayer& layer, ByteBuffer& data) = 0;
  virtual void ApplyShadowMask(ILayer& layer, ByteBuffer& mask, const IShadow& shadow) = 0;
  virtual void UpdateLayer() = 0;

  // ---- Path operations (renderer); angles in degrees, 0 at twelve o'clock, clockwise ----
  virtual void PathClear() = 0;
  virtual void PathClose() = 0;
  virtual void PathArc(float cx, float cy, float r, float a1, float a2, int winding = 0) = 0;
  virtual void PathMoveTo(float x, float y) = 0;
  virtual void PathLineTo(float x, float y) = 0;
  virtual void PathSetWinding(bool clockwise) = 0;
  virtual void PathCubicTo(float c1x, float c1y, float c2x, float c2y, float x, float y) = 0;
  virtual void PathQuadTo(float cx, float cy, float x, float y) = 0;
  virtual void PathStroke(const IColourSource& source, float thickness, const IStrokeStyle& style,
                          const IBlendMode* blend) = 0;
  virtual void PathFill(const IColourSource& source, const IFillRule& rule, const IBlendMode* blend) = 0;
  virtual void PathTransformSetMatrix(const ITransform2D& transform) = 0;
  virtual void OnControlDrawn(const IRectF& /*clip*/) {}
  virtual void SetClipRegion(const IRectF& clip) = 0;

  // ---- Platform ----
  void GetMouseLocation(float& x, float& y) const override = 0;
  virtual void HideMouseCursor(bool hide = true, bool lock = true) = 0;
  virtual void MoveMouseCursor(float x, float y) = 0;
  // Returns the kind that was set before.
  virtual int SetMouseCursor(int kind);
  virtual void ForceEndUserEdit() = 0;
  void* OpenWindow(void* parent) override = 0;
  void CloseWindow() override = 0;
  virtual void* GetWindow() = 0;
  virtual bool WindowIsOpen() { return GetWindow() != nullptr; }
  virtual bool GetTextFromClipboard(GrowString& text) = 0;
  virtual bool SetTextInClipboard(const char* text) = 0;
  virtual bool SetFilePathInClipboard(const char* /*path*/) { return false; }
  virtual bool InitiateExternalFileDragDrop(const char* /*path*/, const IRectF& /*iconBounds*/) { return false; }
  virtual void OnPopupMenuOpening(IPopupMenu& /*menu*/) {}
  // The message box and the dialogs hand their result to a completion as well as returning
  // it. The prompt takes the completion over: it calls it at most once and lets it go
  // before returning, so nothing it holds outlives the prompt.
  using MessageBoxCompletion = std::function<void(int result)>;
  using FileCompletion = std::function<void(const GrowString& fileName, const GrowString& path)>;
  using ColourCompletion = std::function<void(const IArgbColour& colour)>;
  virtual int ShowMessageBox(const char* text, const char* caption, int type,
                             MessageBoxCompletion completion = nullptr) = 0;
  virtual bool PromptForFile(GrowString& fileName, GrowString& path, bool save, const char* extensions,
                             FileCompletion completion = nullptr) = 0;
  virtual bool PromptForDirectory(GrowString& path, FileCompletion completion = nullptr) = 0;
  virtual bool PromptForColor(IArgbColour& colour, const char* prompt, ColourCompletion completion = nullptr) = 0;
  virtual bool OpenURL(const char* url) = 0;
  virtual const char* GetPlatformAPIStr() { return ""; }
  virtual bool RevealPathInExplorer(const char* /*path*/) { return false; }
  virtual void SetWinModuleHandle(void* /*module*/) {}
  virtual void* GetWinModuleHandle() { return nullptr; }
  virtual std::unique_ptr<PlatformFont> LoadPlatformFontByName(const char* fontId, const char* family, int style) = 0;
  virtual std::unique_ptr<PlatformFont> LoadPlatformFontFromMemory(const char* fontId, const void* data, int size) = 0;
  virtual std::unique_ptr<PlatformFont> LoadPlatformFontFromFileOrResource(const char* fontId,
                                                                           const char* fileNameOrResourceName) = 0;
  virtual void CachePlatformFont(const char* fontId, const PlatformFont& font) = 0;
  virtual const char* GetResourceBundleName() { return ""; }
  virtual void ActivateGLContext() {}
  virtual void DeactivateGLContext() {}
  virtual void CreatePlatformTextEntry(int paramIdx, const ITextStyle& style, const IRectF& bounds, int length,
                                       const char* text) = 0;
  // Shows the menu natively; returns the menu or submenu whose chosen index was set, or
  // null. A platform that completes later sets isAsync and calls FinishPopupMenu.
  virtual IPopupMenu* CreatePlatformPopupMenu(IPopupMenu& menu, const IRectF& bounds, bool& isAsync) = 0;
  virtual bool IsTouchDevice() { return false; }
  float GetPlatformWindowScale() const override { return 1.f; }
  virtual void PlatformResize(bool /*parentHasResized*/) {}
  virtual void OnResizeOrRescale() {}
  virtual void OnResizeFinished() {}

  // ---- Resources ----
  virtual IBitmapRef LoadBitmapFromData(const char* name, const void* data, int size, int frames = 1,
                                        bool horizontal = false, int targetScale = 0);
  virtual IBitmapRef LoadBitmap(const char* name, int frames = 1, bool horizontal = false, int targetScale = 0);
  virtual ISvgRef LoadSVGFromData(const char* name, const void* data, int size, const char* units = "px",
                                  float dpi = 96.f);
  virtual ISvgRef LoadSVG(const char* name, const char* units = "px", float dpi = 96.f);
  // The bytes of a file or module resource; false (data empty) when there are none.
  virtual bool LoadResource(const char* name, const char* type, ByteBuffer& data);
  // Back-end bitmaps; the caller owns what these return.
  virtual std::unique_ptr<APIBitmap> LoadAPIBitmapFromData(const char* name, const void* data, int size,
                                                           int scale) = 0;
  virtual std::unique_ptr<APIBitmap> LoadAPIBitmap(const char* location, int scale, int locationKind,
                                                   const char* extension) = 0;
  virtual std::unique_ptr<APIBitmap> CreateAPIBitmap(int width, int height, float scale, float drawScale,
                                                     bool cacheable = false) = 0;
  virtual bool LoadAPIFont(const char* fontId, const PlatformFont& font) = 0;
  virtual int AlphaChannelIndex() const = 0;
  virtual bool IsLayerDataFlipped() const = 0;
  virtual float DoMeasureText(const ITextStyle& style, const char* text, IRectF& bounds) const = 0;
  virtual void DoDrawText(const ITextStyle& style, const char* text, const IRectF& bounds,
                          const IBlendMode* blend) = 0;
  virtual float GetTotalScale() const { return mDrawScale * mScreenScale; }

  // Where a resource is: kFileOnDisk (location = path), kModuleResource (location = the
  // resource name) or kNotFound. The platform layer may widen the search.
  virtual int LocateResource(const char* name, const char* type, GrowString& location);
  // The bytes of a module resource found by LocateResource.
  virtual bool LoadModuleResource(const char* name, const char* type, ByteBuffer& data);
  // The clock of animations and caret blinking, in milliseconds.
  virtual double GetClockMs() const;

  // ---- Controls ----
  IControl* AttachControl(IControl* control, int tag = -1, const char* group = "");
  IControl* GetControlWithTag(int tag) const;
  IControl* GetControl(int index) const { return mControls.Get(index); }
  int NControls() const override { return mControls.GetSize(); }
  int GetControlIdx(const IControl* control) const { return mControls.Find(control); }
  void AttachCornerResizer(int mode = kResizerScale, bool layoutOnResize = false,
                           const IArgbColour& colour = IArgbColour(255, 0, 0, 0),
                           const IArgbColour& mouseOverColour = IArgbColour(255, 255, 255, 255),
                           const IArgbColour& dragColour = IArgbColour(255, 255, 255, 255), float size = 20.f);
  void AttachTextEntryControl();
  ICornerResizerControl* GetCornerResizer() const { return mCornerResizer.get(); }
  ITextEntryControl* GetTextEntryControl() const { return mTextEntry.get(); }
  void RemoveAllControls();
  void ForAllControlsFunc(const ControlFunc& func);
  void ForStandardControlsFunc(const ControlFunc& func);
  // The parts of area (on whole device pixels) that no control drawn after this one
  // covers with its opaque area: a control under large opaque ones draws only there.
  void UncoveredParts(const IControl& control, const IRectF& area, IRectFList& parts) const;
  void SetAllControlsDirty();
  void SetAllControlsClean();
  void UpdatePeerControls(IControl* caller, int valIdx);

  // ---- From the delegate ----
  void SetParameterValueFromDelegate(int paramIdx, double normalizedValue) override;
  void SetControlValueFromDelegate(int controlTag, double normalizedValue) override;
  void SendControlMsgFromDelegate(int controlTag, int messageTag, int dataSize, const void* data) override;
  void SendMidiMsgFromDelegate(const IMidiEvent& event) override;

  // ---- Frame protocol ----
  bool IsDirty(IRectFList& rects);
  void Draw(IRectFList& rects);

  // ---- Size and scale ----
  void Resize(int width, int height, float scale, bool needsPlatformResize) override;
  void SetScreenScale(float scale) override;
  void SetScaleConstraints(float lo, float hi);
  int Width() const override { return mWidth; }
  int Height() const override { return mHeight; }
  int FPS() const { return mFPS; }
  float GetDrawScale() const override { return mDrawScale; }
  float GetScreenScale() const { return mScreenScale; }
  float GetMinScale() const { return mMinScale; }
  float GetMaxScale() const { return mMaxScale; }
  IRectF GetBounds() const { return IRectF(0.f, 0.f, static_cast<float>(mWidth), static_cast<float>(mHeight)); }
  void EnableTooltips(bool enable);
  bool TooltipsEnabled() const { return mEnableTooltips; }
  void EnableMouseOver(bool enable) { mEnableMouseOver = enable; }
  bool MouseOverEnabled() const { return mEnableMouseOver; }
  int GetMouseOverIdx() const { return mMouseOverIdx; }
  IControl* GetMouseOverControl() const { return mMouseOver; }
  bool IsResizing() const { return mResizingInProcess; }
  void StartResizeGesture() { mResizingInProcess = true; }
  int GetCornerResizerMode() const { return mCornerResizerMode; }
  IGuiEditorDelegate* GetDelegate() const { return mDelegate; }
  bool CursorHidden() const { return mCursorHidden; }
  int GetCursorKind() const { return mCursorKind; }

  // ---- Input ----
  void OnMouseDown(const std::vector<IPointerEvent>& points);
  void OnMouseUp(const std::vector<IPointerEvent>& points);
  void OnMouseDrag(const std::vector<IPointerEvent>& points);
  bool OnMouseDblClick(float x, float y, const IPointerMods& mods);
  bool OnMouseOver(float x, float y, const IPointerMods& mods);
  void OnMouseOut();
  bool OnMouseWheel(float x, float y, const IPointerMods& mods, float delta);
  bool OnKeyDown(float x, float y, const IKeyEvent& key) override;
  bool OnKeyUp(float x, float y, const IKeyEvent& key) override;
  void OnDrop(const char* path, float x, float y);
  void OnDropMultiple(const std::vector<const char*>& paths, float x, float y);
  // Empties the capture map; a press still open ends with OnMouseCancelled and its
  // parameter edits are ended.
  void ReleaseMouseCapture();
  IControl* GetMouseControl(float x, float y, bool capture, bool mouseOver = false, int64_t touchId = 0);
  bool IsCaptured(const IControl* control) const;
  bool ControlIsCaptured() const { return !mCapturedMap.empty(); }

  // ---- Parameter edit brackets ----
  // A press on the control begins: an edit for each linked slot, remembered with the
  // press (also when there is none), so that a press taken away can be cancelled.
  void BeginControlEdits(IControl& control);
  // Ends the edits the control began (none when it began none).
  void EndControlEdits(IControl& control);
  bool ParamEditIsOpen(int paramIdx) const;

  // ---- Prompts ----
  IPopupMenu* CreatePopupMenu(IControl& control, IPopupMenu& menu, const IRectF& bounds, int valIdx = -1,
                              bool isContext = false);
  IPopupMenu* CreatePopupMenuDefault(IControl& control, IPopupMenu& menu, const IRectF& bounds, int valIdx)
  {
    return CreatePopupMenu(control, menu, bounds, valIdx, false);
  }
  // Completes a popup: called by CreatePopupMenu, or by the platform for a menu that
  // completed asynchronously, with the menu holding the choice (null when none).
  void FinishPopupMenu(IPopupMenu* chosen);
  virtual void PopupHostContextMenu(IControl* control, int paramIdx, float x, float y);
  void PromptUserInput(IControl& control, const IRectF& bounds, int valIdx);
  void CreateTextEntry(IControl& control, const ITextStyle& style, const IRectF& bounds, const char* text,
                       int valIdx);
  void SetControlValueAfterTextEdit(const char* text);
  // The text entry was abandoned: the edited control is forgotten.
  void ClearInTextEntryControl();
  IControl* GetControlInTextEntry() const { return mInTextEntry; }
  int GetTextEntryValIdx() const { return mTextEntryValIdx; }
  IControl* GetPopupControl() const { return mInPopupMenu; }
  IPopupMenu& GetPromptMenu() { return mPromptPopupMenu; }

  // ---- Path building, transforms, clip, layers, text ----
  void PathRect(const IRectF& r);
  void PathRoundRect(const IRectF& r, float tl, float tr, float bl, float br);
  void PathRoundRect(const IRectF& r, float radius) { PathRoundRect(r, radius, radius, radius, radius); }
  void PathCircle(float cx, float cy, float r);
  void PathEllipse(float cx, float cy, float r1, float r2, float angle = 0.f);
  void PathEllipse(const IRectF& r) { PathEllipse(r.MW(), r.MH(), r.W() / 2.f, r.H() / 2.f); }
  void PathConvexPolygon(const float* xs, const float* ys, int n);
  void PathTransformSave();
  void PathTransformRestore();
  void PathTransformReset(bool clearStack = false);
  void PathTransformTranslate(float x, float y);
  void PathTransformScale(float sx, float sy);
  void PathTransformScale(float s) { PathTransformScale(s, s); }
  void PathTransformRotate(float degrees);
  const ITransform2D& GetTransform() const { return mTransform; }
  int TransformStackDepth() const { return static_cast<int>(mTransformStack.size()); }
  void PathClipRegion(const IRectF& r = IRectF());
  const IRectF& GetClipRect() const { return mClipRECT; }
  void StartLayer(IControl* control, const IRectF& r, bool cacheable = false);
  void PushLayer(ILayer* layer);
  ILayer* PopLayer();
  std::unique_ptr<ILayer> EndLayer();
  int LayerDepth() const { return static_cast<int>(mLayers.size()); }
  ILayer* TopLayer() const { return mLayers.empty() ? nullptr : mLayers.back(); }
  // Blurs one line of alpha values with a symmetric kernel (taps from the centre out);
  // missing taps at the ends add nothing, so edges fade.
  static void BlurAlphaLine(const unsigned char* in, unsigned char* out, int stride, int length, const int* taps,
                            int nTaps, int totalWeight);
  void DrawText(const ITextStyle& style, const char* text, const IRectF& bounds, const IBlendMode* blend = nullptr);
  void ComputeTextOffsets(const ITextStyle& style, const IRectF& bounds, IRectF& textRect, float& dx,
                          float& dy) const;
  void PlaceTextRect(const ITextStyle& style, const IRectF& bounds, IRectF& textRect) const;
  void RenderSVG(const svg::Image& image, const IArgbColour* strokeColour, const IArgbColour* fillColour,
                 const IBlendMode* blend = nullptr);
  static IColourSource SvgPaintToColourSource(const svg::Paint& paint, float opacity);

  // ---- Resource lookup ----
  int SearchNextScale(const char* name, const char* extension, GrowString& location, int targetScale,
                      int& foundScale);
  APIBitmap* FindBitmapAtNearestScale(const char* name, int targetScale, int& foundScale);
  // The scales tried for a target, best first.
  static std::vector<int> ScaleSearchOrder(int targetScale);
  // Process-wide cache sizes and instance counts (for diagnostics and tests).
  static int BitmapCacheSize();
  static int SvgCacheSize();
  static int CacheInstances();

protected:
  void DrawControl(IControl& control, const IRectF& area, float scale);
  // The bounding box of the areas the frame being drawn redraws, pixel-aligned.
  const IRectF& FrameBounds() const { return mFrameBounds; }
  // Moves r inside the parent's inflated pixel rectangle (keeping its size where possible).
  static IRectF MoveInside(IRectF r, const IRectF& parent);
  void ReleaseCapturesWithoutCancel();
  void StrokeColour(const IArgbColour& colour, float thickness, const IBlendMode* blend);
  void FillColour(const IArgbColour& colour, const IBlendMode* blend);
  void ForgetControl(const IControl* control);

private:
  // False while the delegate deletes this editor from its own destructor: nothing may call
  // it back then.
  bool DelegateTakesCalls() const;

  PointerList<IControl> mControls{true};
  std::unordered_map<int, IControl*> mTagMap;
  std::unique_ptr<ICornerResizerControl> mCornerResizer;
  std::unique_ptr<ITextEntryControl> mTextEntry;
  IPopupMenu mPromptPopupMenu;
  int mCursorKind = 0;
  int mWidth;
  int mHeight;
  int mFPS;
  float mScreenScale = 1.f;
  float mDrawScale;
  std::unordered_map<int64_t, IControl*> mCapturedMap;
  IControl* mMouseOver = nullptr;
  IControl* mInTextEntry = nullptr;
  IControl* mInPopupMenu = nullptr;
  bool mIsContextMenu = false;
  int mTextEntryValIdx = -1;
  int mPopupValIdx = -1;
  int mMouseOverIdx = -1;
  float mMouseDownX = -1.f;
  float mMouseDownY = -1.f;
  float mMinScale = 0.5f;
  float mMaxScale = 4.f;
  bool mEnableMouseOver = false;
  bool mEnableTooltips = false;
  bool mResizingInProcess = false;
  bool mLayoutOnResize = false;
  int mCornerResizerMode = kResizerScale;
  IGuiEditorDelegate* mDelegate;
  bool mDestroying = false;
  // Presses still open, per control, with the edits each began; ended by the release
  // (or a cancel).
  std::unordered_map<const IControl*, std::vector<int>> mOpenEdits;

protected:
  bool mCursorHidden = false;

private:
  std::deque<ILayer*> mLayers;
  IRectF mClipRECT;
  IRectF mFrameBounds;
  ITransform2D mTransform;
  std::deque<ITransform2D> mTransformStack;
};

} // namespace pfw::gui
