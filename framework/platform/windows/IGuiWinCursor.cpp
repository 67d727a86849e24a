#include "IGuiWin.h"

#include "WinMachine.h"

#include <cmath>

namespace pfw::gui {

namespace {

// The system cursor of each ICursorKind.
constexpr WORD kSystemCursors[] = {
  32512, // arrow
  32513, // I-beam
  32514, // wait
  32515, // cross
  32516, // up arrow
  32642, // size NW-SE
  32643, // size NE-SW
  32644, // size W-E
  32645, // size N-S
  32646, // size all
  32648, // no
  32649, // hand
  32650, // app starting
  32651, // help
};

} // namespace

int IGuiWin::SetMouseCursor(int kind)
{
  constexpr int kKinds = static_cast<int>(sizeof(kSystemCursors) / sizeof(kSystemCursors[0]));
  const int index = kind >= 0 && kind < kKinds ? kind : kCursorArrow;
  SetCursor(LoadCursorW(nullptr, MAKEINTRESOURCEW(kSystemCursors[index])));
  return IGui::SetMouseCursor(kind);
}

void IGuiWin::HideMouseCursor(bool hide, bool lock)
{
  if (hide == mCursorHidden)
    return;
  if (hide)
  {
    mHiddenCursorX = mMouseX;
    mHiddenCursorY = mMouseY;
    ShowCursor(FALSE);
    mCursorHidden = true;
    // A pen cannot be held in place.
    mCursorLock = lock && !mPenInput;
    if (mCursorLock)
      ConfineCursorUnderWine();
    return;
  }
  if (mCursorLock)
    MoveMouseCursor(mHiddenCursorX, mHiddenCursorY);
  if (mCursorConfined)
    ClipCursor(&mClipBeforeConfining);
  mCursorConfined = false;
  ShowCursor(TRUE);
  mCursorHidden = false;
  mCursorLock = false;
}

void IGuiWin::ConfineCursorUnderWine()
{
  // Wine's X11 driver moves an unclipped cursor inside a pointer grab of its own, whose end
  // also ends the X server's grab for the held button: pinned so, the cursor let go outside
  // the window gives its release to no window. Clipped, it keeps the grab.
  if (!mWindow || !Machine().isWine() || !GetClipCursor(&mClipBeforeConfining))
    return;
  RECT area;
  GetClientRect(mWindow, &area);
  MapWindowPoints(mWindow, HWND_DESKTOP, reinterpret_cast<POINT*>(&area), 2);
  mCursorConfined = ClipCursor(&area) != FALSE;
}

void IGuiWin::MoveMouseCursor(float x, float y)
{
  if (mPenInput || !mWindow)
    return;
  const float s = PixelScale();
  POINT point = {std::lround(x * s), std::lround(y * s)};
  ClientToScreen(mWindow, &point);
  if (!SetCursorPos(point.x, point.y))
    return;
  GetCursorPos(&point);
  ScreenToClient(mWindow, &point);
  mMouseX = mHiddenCursorX = static_cast<float>(point.x) / s;
  mMouseY = mHiddenCursorY = static_cast<float>(point.y) / s;
}

void IGuiWin::GetMouseLocation(float& x, float& y) const
{
  POINT point = {};
  GetCursorPos(&point);
  ScreenToClient(mWindow, &point);
  const float s = GetTotalScale();
  x = static_cast<float>(point.x) / s;
  y = static_cast<float>(point.y) / s;
}

} // namespace pfw::gui
