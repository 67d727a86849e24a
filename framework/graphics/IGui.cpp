#include "IGui.h"

#include "GraphicsCaches.h"
#include "ICornerResizerControl.h"
#include "ITextEntryControl.h"

#include "framework/core/EditorPixels.h"
#include "framework/core/IGuiEditorDelegate.h"

#include <algorithm>
#include <chrono>
#include <cmath>

namespace pfw::gui {

namespace {
constexpr float kDirtyInflation = 0.75f;
}

IGui::IGui(IGuiEditorDelegate& delegate, int width, int height, int fps, float scale)
  : mWidth(width)
  , mHeight(height)
  , mFPS(fps)
  , mDrawScale(scale)
  , mDelegate(&delegate)
{
  ScopedCriticalSection bitmapLock(BitmapCache().Lock());
  BitmapCache().Retain();
  ScopedCriticalSection svgLock(SvgCache().Lock());
  SvgCache().Retain();
}

IGui::~IGui()
{
  // Nothing may reach the platform now; the delegate hears only the ends of open edits.
  mCursorHidden = false;
  mDestroying = true;
  RemoveAllControls();
  {
    ScopedCriticalSection bitmapLock(BitmapCache().Lock());
    BitmapCache().Release();
    ScopedCriticalSection svgLock(SvgCache().Lock());
    SvgCache().Release();
  }
  for (ILayer* layer : mLayers)
    delete layer;
  mLayers.clear();
}

int IGui::BitmapCacheSize()
{
  ScopedCriticalSection lock(BitmapCache().Lock());
  return BitmapCache().Size();
}

int IGui::SvgCacheSize()
{
  ScopedCriticalSection lock(SvgCache().Lock());
  return SvgCache().Size();
}

int IGui::CacheInstances()
{
  ScopedCriticalSection lock(BitmapCache().Lock());
  return BitmapCache().Instances();
}

double IGui::GetClockMs() const
{
  using namespace std::chrono;
  return duration<double, std::milli>(steady_clock::now().time_since_epoch()).count();
}

int IGui::SetMouseCursor(int kind)
{
  const int previous = mCursorKind;
  mCursorKind = kind;
  return previous;
}

IControl* IGui::AttachControl(IControl* control, int tag, const char* group)
{
  if (!control)
    return nullptr;
  if (tag >= 0 && !mTagMap.emplace(tag, control).second)
    return nullptr;
  control->SetDelegate(mDelegate);
  control->SetGraphics(this);
  control->OnInit();
  control->OnResize();
  control->OnRescale();
  control->SetGroup(group);
  if (!mControls.Add(control))
  {
    if (tag >= 0)
      mTagMap.erase(tag);
    return nullptr;
  }
  control->OnAttached();
  return control;
}

IControl* IGui::GetControlWithTag(int tag) const
{
  const auto found = mTagMap.find(tag);
  return found == mTagMap.end() ? nullptr : found->second;
}

void IGui::AttachCornerResizer(int mode, bool layoutOnResize, const IArgbColour& colour,
                               const IArgbColour& mouseOverColour, const IArgbColour& dragColour, float size)
{
  if (mCornerResizer)
    return;
  const IRectF bounds(mWidth - size + 1.f, mHeight - size + 1.f, mWidth - 1.f, mHeight - 1.f);
  mCornerResizer = std::make_unique<ICornerResizerControl>(bounds, size, colour, mouseOverColour, dragColour);
  mCornerResizerMode = mode;
  mLayoutOnResize = layoutOnResize;
  mCornerResizer->SetDelegate(mDelegate);
  mCornerResizer->SetGraphics(this);
  mCornerResizer->OnInit();
  mCornerResizer->OnResize();
  mCornerResizer->OnRescale();
}

void IGui::AttachTextEntryControl()
{
  if (mTextEntry)
    return;
  mTextEntry = std::make_unique<ITextEntryControl>();
  mTextEntry->SetDelegate(mDelegate);
  mTextEntry->SetGraphics(this);
  mTextEntry->OnInit();
  mTextEntry->OnResize();
  mTextEntry->OnRescale();
}

void IGui::RemoveAllControls()
{
  ReleaseMouseCapture();
  mMouseOver = nullptr;
  mMouseOverIdx = -1;
  // No prompt may come back to a control that is gone.
  const bool hadTextEntry = mInTextEntry != nullptr;
  mInTextEntry = nullptr;
  mTextEntryValIdx = -1;
  mInPopupMenu = nullptr;
  mPopupValIdx = -1;
  mIsContextMenu = false;
  // An edit still open belongs to a popup that has not come back; it will not now.
  std::vector<int> pending;
  for (const auto& entry : mOpenEdits)
    pending.insert(pending.end(), entry.second.begin(), entry.second.end());
  mOpenEdits.clear();
  if (DelegateTakesCalls())
    for (int paramIdx : pending)
      mDelegate->EndParamEditFromUI(paramIdx);
  if (hadTextEntry && !mDestroying)
    ForceEndUserEdit();
  mTextEntry.reset();
  mCornerResizer.reset();
  mTagMap.clear();
  mControls.Clear();
}

void IGui::UncoveredParts(const IControl& control, const IRectF& area, IRectFList& parts) const
{
  parts.Clear();
  parts.Add(area);
  const float scale = GetTotalScale();
  // Only top-level controls: a child may be clipped by its parent.
  for (int i = GetControlIdx(&control) + 1; i > 0 && i < NControls(); ++i)
  {
    const IControl& above = *GetControl(i);
    if (!above.IsHidden() && !above.GetParent())
      parts.Cut(above.OpaqueArea().PixelsInside(scale));
  }
  parts.Optimize();
}

void IGui::ForAllControlsFunc(const ControlFunc& func)
{
  ForStandardControlsFunc(func);
  if (mCornerResizer)
    func(*mCornerResizer);
  if (mTextEntry)
    func(*mTextEntry);
}

void IGui::ForStandardControlsFunc(const ControlFunc& func)
{
  for (int i = 0; i < mControls.GetSize(); ++i)
    func(*mControls.Get(i));
}

void IGui::SetAllControlsDirty()
{
  ForAllControlsFunc([](IControl& c) { c.SetDirty(false, -1); });
}

void IGui::SetAllControlsClean()
{
  ForAllControlsFunc([](IControl& c) { c.SetClean(); });
}

void IGui::UpdatePeerControls(IControl* caller, int valIdx)
{
  if (!caller || valIdx < 0 || valIdx >= caller->NVals())
    return;
  const int paramIdx = caller->GetParamIdx(valIdx);
  if (paramIdx < 0)
    return;
  const double value = caller->GetValue(valIdx);
  ForStandardControlsFunc([&](IControl& c) {
    if (&c == caller)
      return;
    for (int v = 0; v < c.NVals(); ++v)
      if (c.GetParamIdx(v) == paramIdx)
        c.SetValueFromDelegate(value, v);
  });
}

IRectF IGui::MoveInside(IRectF r, const IRectF& parent)
{
  const float w = r.W();
  const float h = r.H();
  if (r.L < parent.L)
  {
    r.L = parent.L;
    r.R = std::min(parent.L + w, parent.R - 1.f);
  }
  if (r.T < parent.T)
  {
    r.T = parent.T;
    r.B = std::min(parent.T + h, parent.B - 1.f);
  }
  if (r.R >= parent.R)
  {
    r.L = std::max(parent.L, parent.R - 1.f - w);
    r.R = parent.R - 1.f;
  }
  if (r.B >= parent.B)
  {
    r.T = std::max(parent.T, parent.B - 1.f - h);
    r.B = parent.B - 1.f;
  }
  return r;
}

bool IGui::IsDirty(IRectFList& rects)
{
  ForAllControlsFunc([](IControl& c) { c.Animate(); });
  bool dirty = false;
  ForAllControlsFunc([&](IControl& c) {
    if (!c.IsDirty())
      return;
    dirty = true;
    // A control with nothing to show (the idle text entry) marks no area; a line of no
    // width still paints inside its inflated rectangle, so it marks that.
    if (c.GetRECT().Empty())
      return;
    IRectF r = c.GetRECT().Inflated(kDirtyInflation);
    if (r.HasNoArea())
      return;
    for (IControl* parent = c.GetParent(); parent; parent = parent->GetParent())
      r = MoveInside(r, parent->GetRECT().Inflated(kDirtyInflation));
    rects.Add(r);
  });
  return dirty;
}

void IGui::Draw(IRectFList& rects)
{
  if (rects.Size() == 0)
    return;
  const float scale = GetTotalScale();
  rects.PixelAlign(scale);
  rects.Optimize();
  mFrameBounds = rects.Bounds();
  BeginFrame();
  for (int i = 0; i < rects.Size(); ++i)
  {
    const IRectF area = rects.Get(i);
    ForAllControlsFunc([&](IControl& c) { DrawControl(c, area, scale); });
  }
  EndFrame();
}

void IGui::DrawControl(IControl& control, const IRectF& area, float scale)
{
  if (control.IsHidden() && mControls.Get(0) != &control)
    return;
  IRectF clip = control.GetRECT().Inflated(kDirtyInflation).PixelAligned(scale).Intersect(area);
  if (clip.HasNoArea())
    return;
  for (IControl* parent = control.GetParent(); parent; parent = parent->GetParent())
  {
    const IRectF parentRect = parent->GetRECT().Inflated(kDirtyInflation).PixelAligned(scale);
    if (!IRectF::Intersects(parentRect, clip))
      return;
    clip = MoveInside(clip, parentRect);
  }
  // The back end gets the identity too: the clip is given in user-interface units, and
  // a control may have left its own transform behind.
  PathTransformReset(true);
  PathClear();
  SetClipRegion(clip);
  mClipRECT = clip;
  control.Draw(*this);
  OnControlDrawn(clip);
}

void IGui::Resize(int width, int height, float scale, bool needsPlatformResize)
{
  mDelegate->ConstrainEditorResize(width, height);
  scale = std::min(std::max(scale, mMinScale), mMaxScale);
  if (width == mWidth && height == mHeight && scale == mDrawScale)
    return;
  ReleaseMouseCapture();
  mWidth = width;
  mHeight = height;
  mDrawScale = scale;
  if (mCornerResizer)
    mCornerResizer->OnRescale();
  const float platformScale = GetPlatformWindowScale();
  const int w = EditorPixelExtent(width, mDrawScale, platformScale);
  const int h = EditorPixelExtent(height, mDrawScale, platformScale);
  PlatformResize(mDelegate->EditorResizeFromUI(w, h, needsPlatformResize));
  ForAllControlsFunc([](IControl& c) { c.OnResize(); });
  SetAllControlsDirty();
  OnResizeOrRescale();
  if (mLayoutOnResize)
    mDelegate->LayoutUI(this);
  OnResizeFinished();
}

void IGui::SetScreenScale(float scale)
{
  mScreenScale = scale;
  const float platformScale = GetPlatformWindowScale();
  const int w = EditorPixelExtent(mWidth, mDrawScale, platformScale);
  const int h = EditorPixelExtent(mHeight, mDrawScale, platformScale);
  PlatformResize(mDelegate->EditorResizeFromUI(w, h, true));
  ForAllControlsFunc([](IControl& c) {
    c.OnRescale();
    c.SetDirty(false, -1);
  });
  OnResizeOrRescale();
}

void IGui::SetParameterValueFromDelegate(int paramIdx, double normalizedValue)
{
  ForStandardControlsFunc([&](IControl& c) {
    for (int v = 0; v < c.NVals(); ++v)
      if (c.GetParamIdx(v) == paramIdx)
        c.SetValueFromDelegate(normalizedValue, v);
  });
}

void IGui::SetControlValueFromDelegate(int controlTag, double normalizedValue)
{
  if (IControl* control = GetControlWithTag(controlTag))
    control->SetValueFromDelegate(normalizedValue, 0);
}

void IGui::SendControlMsgFromDelegate(int controlTag, int messageTag, int dataSize, const void* data)
{
  if (IControl* control = GetControlWithTag(controlTag))
    control->OnMsgFromDelegate(messageTag, dataSize, data);
}

void IGui::SendMidiMsgFromDelegate(const IMidiEvent& event)
{
  ForStandardControlsFunc([&](IControl& c) {
    if (c.GetWantsMidi())
      c.OnMidi(event);
  });
}

void IGui::SetScaleConstraints(float lo, float hi)
{
  mMinScale = std::min(lo, hi);
  mMaxScale = std::max(lo, hi);
}

void IGui::EnableTooltips(bool enable)
{
  mEnableTooltips = enable;
  if (enable)
    mEnableMouseOver = true;
}

} // namespace pfw::gui
