#include "IKnobControlBase.h"

#include "IGui.h"

#include "framework/core/IParam.h"

#include <algorithm>
#include <cmath>

namespace pfw::gui {

IKnobControlBase::IKnobControlBase(const IRectF& bounds, int paramIdx, int direction, double gearing)
  : IControl(bounds, paramIdx)
  , mDirection(direction)
  , mGearing(gearing)
{
}

void IKnobControlBase::OnMouseDown(float x, float y, const IPointerMods& mods)
{
  mDragging = true;
  mAccumulated = GetValue(0);
  if (mHideCursorOnDrag && mGraphics)
    mGraphics->HideMouseCursor(true, true);
  IControl::OnMouseDown(x, y, mods);
}

void IKnobControlBase::OnMouseUp(float /*x*/, float /*y*/, const IPointerMods& /*mods*/)
{
  if (mHideCursorOnDrag && mGraphics)
    mGraphics->HideMouseCursor(false, true);
  mDragging = false;
  SetDirty(false);
}

void IKnobControlBase::OnMouseDrag(float /*x*/, float /*y*/, float dX, float dY, const IPointerMods& mods)
{
  double gearing = mGearing;
  if (mods.shift || mods.control)
    gearing *= 10.0;
  const IRectF r = GetKnobDragBounds();
  const double extent = mDirection == kVertical ? static_cast<double>(r.T) - r.B : static_cast<double>(r.R) - r.L;
  const double delta = mDirection == kVertical ? dY : dX;
  const double step = delta / extent / gearing;
  // A drag area without extent (or a zero gearing) gives no usable movement.
  if (!std::isfinite(step))
    return;
  mAccumulated = std::clamp(mAccumulated + step, 0.0, 1.0);

  double value = mAccumulated;
  const IParam* param = GetParam(0);
  if (param && param->GetStepped() && param->GetStep() > 0.0)
    value = std::clamp(param->ToNormalized(param->Constrain(param->FromNormalized(value))), 0.0, 1.0);
  SetValue(value, 0);
  SetDirty(true, -1);
}

void IKnobControlBase::OnMouseWheel(float /*x*/, float /*y*/, const IPointerMods& mods, float delta)
{
  if (!std::isfinite(delta))
    return;
  const double step = (mods.shift || mods.control) ? 0.001 : 0.01;
  double value = GetValue(0);
  const IParam* param = GetParam(0);
  if (param && param->GetStepped() && param->GetStep() > 0.0)
  {
    if (delta == 0.f)
      return;
    const double current = param->Constrain(param->FromNormalized(value));
    const double moved = current + (delta > 0.f ? param->GetStep() : -param->GetStep());
    value = std::clamp(param->ToNormalized(moved), 0.0, 1.0);
  }
  else
  {
    value += delta * step;
  }
  SetValue(value, 0);
  SetDirty(true, -1);
}

} // namespace pfw::gui
