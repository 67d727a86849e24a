#pragma once

#include "IControl.h"

namespace pfw::gui {

// The triangle in the bottom-right corner that resizes or rescales the editor by drag.
class ICornerResizerControl : public IControl
{
public:
  ICornerResizerControl(const IRectF& bounds, float size, const IArgbColour& colour,
                        const IArgbColour& mouseOverColour, const IArgbColour& dragColour);

  void OnInit() override;
  void OnMouseDown(float x, float y, const IPointerMods& mods) override;
  void OnMouseDblClick(float x, float y, const IPointerMods& mods) override;
  void OnMouseOver(float x, float y, const IPointerMods& mods) override;
  void OnMouseOut() override;
  void OnRescale() override;
  void Draw(IGui& g) override;

  float GetInitialWidth() const { return mInitialWidth; }
  float GetInitialHeight() const { return mInitialHeight; }

private:
  float mSize;
  bool mCursorChanged = false;
  int mPreviousCursor = 0;
  float mInitialWidth = 0.f;
  float mInitialHeight = 0.f;
  IArgbColour mColour;
  IArgbColour mMouseOverColour;
  IArgbColour mDragColour;
};

} // namespace pfw::gui
