#include "IControl.h"

#include "IColourSet.h"
#include "IGui.h"
#include "IPopupMenu.h"

#include "framework/core/IGuiEditorDelegate.h"
#include "framework/core/IParam.h"

#include <algorithm>
#include <chrono>
#include <cmath>

namespace pfw::gui {

IControl::IControl(const IRectF& bounds, int paramIdx, ActionFunc action)
  : mRECT(bounds)
  , mTargetRECT(bounds)
  , mActionFunc(std::move(action))
{
  mTextStyle.colour = IColourSet::Default(IColourSet::kShadow);
  mTextStyle.entryBackground = IColourSet::Default(IColourSet::kForeground);
  mTextStyle.entryText = IColourSet::Default(IColourSet::kShadow);
  mVals.push_back({paramIdx, 0.0});
}

IControl::~IControl() = default;

double IControl::NowMs() const
{
  if (mGraphics)
    return mGraphics->GetClockMs();
  using namespace std::chrono;
  return duration<double, std::milli>(steady_clock::now().time_since_epoch()).count();
}

void IControl::OnMouseDown(float x, float y, const IPointerMods& mods)
{
  if (!mods.right)
    return;
  const int valIdx = GetValIdxForPos(x, y);
  if (valIdx < 0 || GetParamIdx(valIdx) < 0 || mValuePromptDisabled)
    return;
  const IParam* param = GetParam(valIdx);
  IRectF area = mRECT;
  if (!param || param->NDisplayTexts() == 0)
    area = IRectF(mRECT.MW() - 20.f, mRECT.MH() - 8.f, mRECT.MW() + 20.f, mRECT.MH() + 8.f);
  if (mGraphics)
    mGraphics->PromptUserInput(*this, area, valIdx);
  SetDirty(false);
}

void IControl::OnMouseDblClick(float x, float y, const IPointerMods& /*mods*/)
{
  SetValueToDefault(GetValIdxForPos(x, y));
}

void IControl::OnMouseOver(float /*x*/, float /*y*/, const IPointerMods& /*mods*/)
{
  const bool wasOver = mMouseIsOver;
  mMouseIsOver = true;
  if (!wasOver)
    SetDirty(false);
}

void IControl::OnMouseOut()
{
  const bool wasOver = mMouseIsOver;
  mMouseIsOver = false;
  if (wasOver)
    SetDirty(false);
}

void IControl::OnDropMultiple(const std::vector<const char*>& paths)
{
  if (!paths.empty())
    OnDrop(paths.front());
}

bool IControl::OnGesture(const IGestureInfo& info)
{
  const auto found = mGestureFuncs.find(info.type);
  if (found == mGestureFuncs.end())
    return false;
  mLastGesture = info.type;
  const GestureFunc handler = found->second;
  handler(this, info);
  return true;
}

void IControl::OnPopupMenuSelection(IPopupMenu* menu, int valIdx)
{
  if (!menu || valIdx < 0 || valIdx >= NVals())
    return;
  const int chosen = menu->GetChosenItemIdx();
  if (chosen < 0 || GetParamIdx(valIdx) < 0 || mValuePromptDisabled)
    return;
  const IParam* param = GetParam(0);
  if (!param)
    return;
  // The items were made from the display texts in order, so item i means the value of
  // display text i; without display texts the items count up from the minimum.
  const IParamDisplayText* text = param->GetDisplayTextAtIdx(chosen);
  const double value = text ? text->value : param->GetMin() + chosen;
  SetValueFromUserInput(param->ToNormalized(value), valIdx);
}

void IControl::DrawHighlightMarker(IGui& g)
{
  if (mShowHighlight)
    g.FillCircle(mHighlightColour, mTargetRECT.R - 5.f, mTargetRECT.T + 5.f, 2.f);
}

void IControl::SetParamIdx(int paramIdx, int valIdx)
{
  if (valIdx < 0 || valIdx >= NVals())
    return;
  Slot(valIdx).paramIdx = paramIdx;
  SetDirty(false);
}

int IControl::GetValIdxForPos(float /*x*/, float /*y*/) const
{
  return NVals() == 1 ? 0 : -1;
}

int IControl::GetParamIdx(int valIdx) const
{
  valIdx = SlotIndex(valIdx);
  return valIdx >= 0 && valIdx < NVals() ? mVals[static_cast<size_t>(valIdx)].paramIdx : -1;
}

double IControl::GetValue(int valIdx) const
{
  valIdx = SlotIndex(valIdx);
  return valIdx >= 0 && valIdx < NVals() ? mVals[static_cast<size_t>(valIdx)].value : 0.0;
}

const IParam* IControl::GetParam(int valIdx) const
{
  const int paramIdx = GetParamIdx(valIdx);
  if (paramIdx < 0 || !mDelegate || paramIdx >= mDelegate->NParams())
    return nullptr;
  return mDelegate->GetParam(paramIdx);
}

bool IControl::LinkedToParam(int paramIdx) const
{
  for (const IControlValue& slot : mVals)
    if (slot.paramIdx == paramIdx)
      return true;
  return false;
}

void IControl::SetValueFromDelegate(double value, int valIdx)
{
  valIdx = SlotIndex(valIdx);
  if (valIdx < 0 || valIdx >= NVals())
    return;
  if (mGraphics && mGraphics->IsCaptured(this))
    return;
  const double held = Slot(valIdx).value;
  if (value != held || std::isnan(value) || std::isnan(held))
  {
    SetValue(value, valIdx);
    SetDirty(false, -1);
  }
}

void IControl::SetValueFromUserInput(double value, int valIdx)
{
  valIdx = SlotIndex(valIdx);
  // A value that cannot be stored is no edit at all: nothing reaches the host.
  if (valIdx < 0 || valIdx >= NVals() || value == Slot(valIdx).value || !std::isfinite(value))
    return;
  SetValue(value, valIdx);
  SetDirty(true, valIdx);
}

void IControl::SetValueToDefault(int valIdx)
{
  valIdx = SlotIndex(valIdx);
  for (int v = 0; v < NVals(); ++v)
  {
    if (valIdx >= 0 && v != valIdx)
      continue;
    if (const IParam* param = GetParam(v))
      SetValue(param->GetDefault(true), v);
  }
  SetDirty(true, valIdx);
}

void IControl::SetValue(double value, int valIdx)
{
  valIdx = SlotIndex(valIdx);
  if (valIdx < 0 || valIdx >= NVals() || !std::isfinite(value))
    return;
  Slot(valIdx).value = value;
}

void IControl::SetPosition(float x, float y)
{
  x = std::max(x, 0.f);
  y = std::max(y, 0.f);
  const float dx = x - mRECT.L;
  const float dy = y - mRECT.T;
  mRECT = mRECT.Offset(dx, dy);
  OnResize();
  mTargetRECT = mTargetRECT.Offset(dx, dy);
  mMouseIsOver = false;
}

void IControl::SetSize(float w, float h)
{
  w = std::max(w, 0.f);
  h = std::max(h, 0.f);
  mRECT = IRectF(mRECT.L, mRECT.T, mRECT.L + w, mRECT.T + h);
  mTargetRECT = mRECT;
  mMouseIsOver = false;
  OnResize();
}

void IControl::Hide(bool hide)
{
  mHide = hide;
  SetDirty(false);
}

void IControl::SetDisabled(bool disabled)
{
  mDisabled = disabled;
  mBlend.weight = disabled ? 0.25f : 1.f;
  SetDirty(false);
}

bool IControl::IsHit(float x, float y) const
{
  return mTargetRECT.Contains(x, y);
}

void IControl::SetDirty(bool push, int valIdx)
{
  valIdx = SlotIndex(valIdx);
  for (int v = 0; v < NVals(); ++v)
    if (valIdx < 0 || v == valIdx)
      SetValue(std::clamp(Slot(v).value, 0.0, 1.0), v);
  mDirty = true;
  if (!push)
    return;

  for (int v = 0; v < NVals(); ++v)
  {
    if (valIdx >= 0 && v != valIdx)
      continue;
    const int paramIdx = Slot(v).paramIdx;
    if (paramIdx < 0 || !mDelegate)
      continue;
    // A value that no press has framed is framed here, so that every change reaches a
    // host inside a begin/end pair.
    const bool framed = mGraphics && mGraphics->ParamEditIsOpen(paramIdx);
    if (!framed)
      mDelegate->BeginParamEditFromUI(paramIdx);
    mDelegate->SendParameterValueFromUI(paramIdx, Slot(v).value);
    if (!framed)
      mDelegate->EndParamEditFromUI(paramIdx);
    if (mGraphics)
      mGraphics->UpdatePeerControls(this, v);
  }
  if (mActionFunc)
  {
    const ActionFunc action = mActionFunc;
    action(this);
  }
}

bool IControl::IsDirty()
{
  return mAnimationFunc ? true : mDirty;
}

bool IControl::WantsGestures() const
{
  return !mGestureFuncs.empty() && !mAnimationFunc;
}

void IControl::SnapToMouse(float x, float y, int direction, const IRectF& bounds, int valIdx, double minClip,
                           double maxClip)
{
  x = std::clamp(x, bounds.L, bounds.R);
  y = std::clamp(y, bounds.T, bounds.B);
  double fraction = direction != 0 ? (x - bounds.L) / static_cast<double>(bounds.W())
                                   : 1.0 - (y - bounds.T) / static_cast<double>(bounds.H());
  if (!std::isfinite(fraction))
    return;
  fraction = std::round(fraction * 1000.0) / 1000.0;
  fraction = std::clamp(fraction, minClip, maxClip);
  valIdx = SlotIndex(valIdx);
  for (int v = 0; v < NVals(); ++v)
    if (valIdx < 0 || v == valIdx)
      SetValue(fraction, v);
  SetDirty(true, valIdx);
}

void IControl::OnEndAnimation()
{
  mAnimationFunc = nullptr;
  SetDirty(false);
  if (mAnimationEndFunc)
  {
    const ActionFunc endFunc = mAnimationEndFunc;
    endFunc(this);
  }
}

void IControl::StartAnimation(double durationMs)
{
  mAnimationStartMs = NowMs();
  mAnimationDurationMs = durationMs;
}

double IControl::GetAnimationProgress() const
{
  if (!mAnimationFunc || !(mAnimationDurationMs > 0.0))
    return mAnimationFunc ? 1.0 : 0.0;
  return (NowMs() - mAnimationStartMs) / mAnimationDurationMs;
}

void IControl::Animate()
{
  if (!mAnimationFunc)
    return;
  const AnimationFunc func = mAnimationFunc;
  func(this);
}

} // namespace pfw::gui
