#include "IGui.h"

#include "ICornerResizerControl.h"
#include "ITextEntryControl.h"

#include "framework/core/IGuiEditorDelegate.h"
#include "framework/core/IParam.h"
#include "framework/core/Trace.h"

#include <algorithm>

namespace pfw::gui {

IControl* IGui::GetMouseControl(float x, float y, bool capture, bool mouseOver, int64_t touchId)
{
  const auto captured = mCapturedMap.find(touchId);
  if (captured != mCapturedMap.end())
    return captured->second;

  IControl* control = nullptr;
  int index = -1;
  if (mTextEntry && mInTextEntry && mTextEntry->IsEditing())
    control = mTextEntry.get();
  else if (mCornerResizer && mCornerResizer->GetRECT().Contains(x, y))
    control = mCornerResizer.get();
  else if (!mouseOver || mEnableMouseOver)
  {
    const int lowest = mouseOver ? 1 : 0;
    for (int i = mControls.GetSize() - 1; i >= lowest; --i)
    {
      IControl* candidate = mControls.Get(i);
      if (candidate->IsHidden() || candidate->GetIgnoreMouse() || candidate->IsDisabled())
        continue;
      if (candidate->IsHit(x, y))
      {
        control = candidate;
        index = i;
        break;
      }
    }
  }

  if (capture && control)
    mCapturedMap[touchId] = control;
  if (mouseOver)
    mMouseOverIdx = index;
  return control;
}

bool IGui::IsCaptured(const IControl* control) const
{
  for (const auto& entry : mCapturedMap)
    if (entry.second == control)
      return true;
  return false;
}

void IGui::BeginControlEdits(IControl& control)
{
  std::vector<int>& open = mOpenEdits[&control];
  for (int v = 0; v < control.NVals(); ++v)
  {
    const int paramIdx = control.GetParamIdx(v);
    // A parameter already in an edit (another touch, another slot) is not begun twice.
    if (paramIdx < 0 || ParamEditIsOpen(paramIdx))
      continue;
    mDelegate->BeginParamEditFromUI(paramIdx);
    open.push_back(paramIdx);
  }
}

void IGui::EndControlEdits(IControl& control)
{
  const auto found = mOpenEdits.find(&control);
  if (found == mOpenEdits.end())
    return;
  const std::vector<int> open = std::move(found->second);
  mOpenEdits.erase(found);
  // Also while this editor is deleted: every edit the host was told of must end.
  if (!DelegateTakesCalls())
    return;
  for (int paramIdx : open)
    mDelegate->EndParamEditFromUI(paramIdx);
}

bool IGui::DelegateTakesCalls() const
{
  return !mDelegate->IsBeingDestroyed();
}

bool IGui::ParamEditIsOpen(int paramIdx) const
{
  for (const auto& entry : mOpenEdits)
    if (std::find(entry.second.begin(), entry.second.end(), paramIdx) != entry.second.end())
      return true;
  return false;
}

void IGui::ReleaseCapturesWithoutCancel()
{
  mCapturedMap.clear();
  if (mCursorHidden)
    HideMouseCursor(false, true);
}

void IGui::ReleaseMouseCapture()
{
  // Copy first: a control's cancel handler may call back into IGui.
  std::vector<IControl*> captured;
  for (const auto& entry : mCapturedMap)
    if (std::find(captured.begin(), captured.end(), entry.second) == captured.end())
      captured.push_back(entry.second);
  ReleaseCapturesWithoutCancel();
  for (IControl* control : captured)
  {
    if (mOpenEdits.find(control) == mOpenEdits.end())
      continue;
    if (!mDestroying)
      control->OnMouseCancelled(mMouseDownX, mMouseDownY, IPointerMods());
    EndControlEdits(*control);
  }
}

void IGui::OnMouseDown(const std::vector<IPointerEvent>& points)
{
  if (points.size() == 1)
  {
    mMouseDownX = points[0].x;
    mMouseDownY = points[0].y;
  }
  for (const IPointerEvent& point : points)
  {
    IControl* control = GetMouseControl(point.x, point.y, true, false, point.mods.touchId);
    if (!control)
      continue;
    const int valIdx = std::max(0, control->GetValIdxForPos(point.x, point.y));
    const int paramIdx = valIdx < control->NVals() ? control->GetParamIdx(valIdx) : -1;
    if (point.mods.right && paramIdx >= 0)
    {
      ReleaseMouseCapture();
      PopupHostContextMenu(control, paramIdx, point.x, point.y);
      return;
    }
    BeginControlEdits(*control);
    control->OnMouseDown(point.x, point.y, point.mods);
  }
}

void IGui::OnMouseUp(const std::vector<IPointerEvent>& points)
{
  for (const IPointerEvent& point : points)
  {
    const auto captured = mCapturedMap.find(point.mods.touchId);
    if (captured == mCapturedMap.end())
      continue;
    IControl* control = captured->second;
    control->OnMouseUp(point.x, point.y, point.mods);
    // The handler may have released the captures or removed controls.
    const auto still = mCapturedMap.find(point.mods.touchId);
    if (still != mCapturedMap.end() && still->second == control)
    {
      EndControlEdits(*control);
      mCapturedMap.erase(still);
      // Values the host sent while the control was held were not shown; show them now.
      if (!IsCaptured(control))
        for (int v = 0; v < control->NVals(); ++v)
          if (const IParam* param = control->GetParam(v))
            control->SetValueFromDelegate(param->GetNormalized(), v);
    }
  }

  if (mResizingInProcess)
  {
    mResizingInProcess = false;
    if (mCornerResizerMode != kResizerScale)
    {
      if (mCornerResizer)
        mCornerResizer->SetDirty(false, -1);
    }
    else
    {
      ForAllControlsFunc([](IControl& c) {
        c.OnRescale();
        c.SetDirty(false, -1);
      });
    }
  }

  if (points.size() == 1 && points[0].mods.touchId == 0)
    OnMouseOver(points[0].x, points[0].y, points[0].mods);
}

void IGui::OnMouseDrag(const std::vector<IPointerEvent>& points)
{
  if (mResizingInProcess && points.size() == 1)
  {
    const IPointerEvent& point = points[0];
    if (mCornerResizerMode != kResizerScale)
      Resize(static_cast<int>(point.x), static_cast<int>(point.y), mDrawScale, true);
    else if (mMouseDownX > 0.f && mMouseDownY > 0.f)
      Resize(mWidth, mHeight,
             std::min(mDrawScale * point.y / mMouseDownY, mDrawScale * point.x / mMouseDownX), true);
    return;
  }
  if (mCapturedMap.empty())
    return;
  for (const IPointerEvent& point : points)
  {
    const auto captured = mCapturedMap.find(point.mods.touchId);
    if (captured == mCapturedMap.end())
      continue;
    IControl* control = captured->second;
    if (mInTextEntry && control != mTextEntry.get())
      continue;
    if (point.dX != 0.f || point.dY != 0.f)
      control->OnMouseDrag(point.x, point.y, point.dX, point.dY, point.mods);
  }
}

bool IGui::OnMouseDblClick(float x, float y, const IPointerMods& mods)
{
  IControl* control = GetMouseControl(x, y, true, false, 0);
  if (!control)
    return false;
  control->OnMouseDblClick(x, y, mods);
  ReleaseMouseCapture();
  return true;
}

bool IGui::OnMouseOver(float x, float y, const IPointerMods& mods)
{
  IControl* control = GetMouseControl(x, y, false, true, 0);
  if (control != mMouseOver)
  {
    if (mMouseOver)
      mMouseOver->OnMouseOut();
    mMouseOver = control;
  }
  if (control)
    control->OnMouseOver(x, y, mods);
  return control != nullptr;
}

void IGui::OnMouseOut()
{
  mCursorKind = SetMouseCursor(kCursorArrow);
  ForAllControlsFunc([](IControl& c) { c.OnMouseOut(); });
  mMouseOver = nullptr;
  mMouseOverIdx = -1;
}

bool IGui::OnMouseWheel(float x, float y, const IPointerMods& mods, float delta)
{
  IControl* control = GetMouseControl(x, y, false, false, 0);
  if (!control)
    return false;
  control->OnMouseWheel(x, y, mods, delta);
  return true;
}

bool IGui::OnKeyDown(float x, float y, const IKeyEvent& key)
{
  Trace(__func__, __LINE__, "x:%0.2f, y:%0.2f, key:%s", x, y, key.utf8);
  IControl* control = GetMouseControl(x, y, false, false, 0);
  if (control && control != mControls.Get(0))
    return control->OnKeyDown(x, y, key);
  return false;
}

bool IGui::OnKeyUp(float x, float y, const IKeyEvent& key)
{
  Trace(__func__, __LINE__, "x:%0.2f, y:%0.2f, key:%s", x, y, key.utf8);
  IControl* control = GetMouseControl(x, y, false, false, 0);
  if (control && control != mControls.Get(0))
    return control->OnKeyUp(x, y, key);
  return false;
}

void IGui::OnDrop(const char* path, float x, float y)
{
  if (IControl* control = GetMouseControl(x, y, false, false, 0))
    control->OnDrop(path);
}

void IGui::OnDropMultiple(const std::vector<const char*>& paths, float x, float y)
{
  if (IControl* control = GetMouseControl(x, y, false, false, 0))
    control->OnDropMultiple(paths);
}

} // namespace pfw::gui
