#pragma once

#include "IControl.h"

namespace pfw::gui {

// The drag and wheel behaviour of rotary and linear knobs.
class IKnobControlBase : public IControl
{
public:
  enum Direction { kVertical = 0, kHorizontal = 1 };

  IKnobControlBase(const IRectF& bounds, int paramIdx = -1, int direction = kVertical, double gearing = 4.0);

  void OnMouseDown(float x, float y, const IPointerMods& mods) override;
  void OnMouseUp(float x, float y, const IPointerMods& mods) override;
  // A drag taken away ends as a release does.
  void OnMouseCancelled(float x, float y, const IPointerMods& mods) override { OnMouseUp(x, y, mods); }
  void OnMouseDrag(float x, float y, float dX, float dY, const IPointerMods& mods) override;
  void OnMouseWheel(float x, float y, const IPointerMods& mods, float delta) override;
  // The rectangle whose height (vertical) or width (horizontal) one sweep at gearing 1 covers.
  virtual IRectF GetKnobDragBounds() { return mTargetRECT; }

  void SetGearing(double gearing) { mGearing = gearing; }
  double GetGearing() const { return mGearing; }
  void SetHideCursorOnDrag(bool hide) { mHideCursorOnDrag = hide; }
  bool IsDragging() const { return mDragging; }
  double GetAccumulatedValue() const { return mAccumulated; }

protected:
  bool mHideCursorOnDrag = false;
  int mDirection;
  double mGearing;
  bool mDragging = false;
  double mAccumulated = 0.0;
};

} // namespace pfw::gui
