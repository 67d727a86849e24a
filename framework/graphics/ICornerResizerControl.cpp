#include "ICornerResizerControl.h"

#include "IGui.h"

namespace pfw::gui {

ICornerResizerControl::ICornerResizerControl(const IRectF& bounds, float size, const IArgbColour& colour,
                                             const IArgbColour& mouseOverColour, const IArgbColour& dragColour)
  : IControl(bounds, -1)
  , mSize(size)
  , mColour(colour)
  , mMouseOverColour(mouseOverColour)
  , mDragColour(dragColour)
{
}

void ICornerResizerControl::OnInit()
{
  // The size a double-click returns to: the editor's size when the resizer joined it.
  if (mGraphics)
  {
    mInitialWidth = static_cast<float>(mGraphics->Width());
    mInitialHeight = static_cast<float>(mGraphics->Height());
  }
}

void ICornerResizerControl::OnRescale()
{
  if (!mGraphics)
    return;
  const float w = static_cast<float>(mGraphics->Width());
  const float h = static_cast<float>(mGraphics->Height());
  const float s = mGraphics->GetDrawScale();
  SetTargetAndDrawRECTs(IRectF(w - mSize / s, h - mSize / s, w, h));
  mMouseIsOver = false;
  OnResize();
}

void ICornerResizerControl::Draw(IGui& g)
{
  const IArgbColour& colour = g.IsResizing() ? mDragColour : (mMouseIsOver ? mMouseOverColour : mColour);
  g.FillTriangle(colour, mRECT.L, mRECT.B, mRECT.R, mRECT.T, mRECT.R, mRECT.B);
}

void ICornerResizerControl::OnMouseDown(float /*x*/, float /*y*/, const IPointerMods& /*mods*/)
{
  if (mGraphics)
    mGraphics->StartResizeGesture();
}

void ICornerResizerControl::OnMouseDblClick(float /*x*/, float /*y*/, const IPointerMods& /*mods*/)
{
  if (mGraphics)
    mGraphics->Resize(static_cast<int>(mInitialWidth), static_cast<int>(mInitialHeight), 1.f, true);
}

void ICornerResizerControl::OnMouseOver(float x, float y, const IPointerMods& mods)
{
  if (!mCursorChanged && mGraphics)
  {
    mPreviousCursor = mGraphics->SetMouseCursor(kCursorSizeNWSE);
    mCursorChanged = true;
  }
  IControl::OnMouseOver(x, y, mods);
}

void ICornerResizerControl::OnMouseOut()
{
  if (mCursorChanged && mGraphics)
    mGraphics->SetMouseCursor(mPreviousCursor);
  mCursorChanged = false;
  IControl::OnMouseOut();
}

} // namespace pfw::gui
