#include "IGuiWin.h"

#include "TouchInput.h"
#include "Utf8.h"
#include "WinMachine.h"

#include <commctrl.h>
#include <shellapi.h>
#include <windowsx.h>

#include <cmath>
#include <string>
#include <vector>

namespace pfw::gui {

namespace {

// Mouse messages that a pen or a touch made carry this in their extra information.
constexpr LPARAM kPenSignatureMask = static_cast<LPARAM>(0xFFFFFF00);
constexpr LPARAM kPenSignature = static_cast<LPARAM>(0xFF515700);
// ToUnicode leaves the keyboard's dead-key state alone (Windows 10 1607 and later).
constexpr UINT kKeepKeyboardState = 0x4;

bool IsMouseMessage(UINT message)
{
  return (message >= WM_MOUSEMOVE && message <= WM_MBUTTONDBLCLK) || message == WM_MOUSEHOVER ||
         message == WM_MOUSELEAVE;
}

// The key flag of the button that a button-down or double-click message is about.
WPARAM ButtonOf(UINT message)
{
  switch (message)
  {
  case WM_LBUTTONDOWN:
  case WM_LBUTTONDBLCLK: return MK_LBUTTON;
  case WM_RBUTTONDOWN:
  case WM_RBUTTONDBLCLK: return MK_RBUTTON;
  default: return MK_MBUTTON;
  }
}

bool IsButtonUp(UINT message)
{
  return message == WM_LBUTTONUP || message == WM_RBUTTONUP || message == WM_MBUTTONUP;
}

// Releases still end their press (capture and edit) when a press opened the text box.
bool IsUserInput(UINT message)
{
  return ((message >= WM_MOUSEFIRST && message <= WM_MOUSELAST) && !IsButtonUp(message)) ||
         (message >= WM_KEYFIRST && message <= WM_KEYLAST);
}

// One key's character as UTF-8 ("" for none); false when the key gives no single
// character (a dead key, or two characters).
bool KeyCharacter(WPARAM virtualKey, LPARAM lParam, char (&utf8)[5])
{
  BYTE state[256] = {};
  GetKeyboardState(state);
  wchar_t typed[4] = {};
  const int count = ToUnicode(static_cast<UINT>(virtualKey), (lParam >> 16) & 0xFF, state, typed, 3, kKeepKeyboardState);
  if (count < 0 || count > 2)
    return false;
  if (count == 2 && !(IS_HIGH_SURROGATE(typed[0]) && IS_LOW_SURROGATE(typed[1])))
    return false;
  typed[count] = L'\0';
  const std::string text = WideToUtf8(typed);
  for (size_t i = 0; i < sizeof(utf8) - 1 && i < text.size(); ++i)
    utf8[i] = text[i];
  return true;
}

// A key handed to the root window may come back from it; it is not handed on again.
thread_local bool gForwardingKey = false;

} // namespace

LRESULT CALLBACK IGuiWin::WndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
  if (message == WM_CREATE)
  {
    auto* self = static_cast<IGuiWin*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
    // The hidden window the GL context draws in, and the probe window, belong to no editor.
    if (!self)
      return 0;
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    self->mWindow = window;
    self->StartFrameClock(window);
    SetFocus(window);
    DragAcceptFiles(window, TRUE);
    return 0;
  }
  auto* self = reinterpret_cast<IGuiWin*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  if (!self || self->mWindow != window)
    return DefWindowProcW(window, message, wParam, lParam);
  return self->OnMessage(window, message, wParam, lParam);
}

LRESULT IGuiWin::OnMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
  // While the native text box has the focus, the editor takes no input; a click on it
  // cancels the entry. Frames and paints go on.
  if (mTextEntryWindow && mTextEntryState == kTextEntryFocused && IsUserInput(message))
  {
    if (message == WM_LBUTTONDOWN || message == WM_RBUTTONDOWN)
    {
      mTextEntryState = kTextEntryCancel;
      return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
  }
  if (IsMouseMessage(message))
  {
    mPenInput = (Machine().getMessageExtraInfo() & kPenSignatureMask) == kPenSignature;
    if (mPenInput)
      mCursorLock = false;
  }

  switch (message)
  {
  case WM_SETFOCUS:
  case WM_KILLFOCUS:
  case WM_ERASEBKGND: return 0;
  case WM_PAINT: Paint(); return 0;
  case WM_SIZE:
    if (mFrameWindow)
      FollowEditorWindowSize();
    break;
  case WM_CLOSE: CloseWindow(); return 0;
  case WM_SETCURSOR:
    if (reinterpret_cast<HWND>(wParam) != window || LOWORD(lParam) != HTCLIENT)
      break;
    SetMouseCursor(GetCursorKind());
    return TRUE;
  case WM_GETDLGCODE: return DLGC_WANTALLKEYS;
  case WM_KEYDOWN:
  case WM_KEYUP: return OnKey(window, message, wParam, lParam);
  case WM_TIMER:
    if (wParam == kFrameTimerId)
      OnDisplayTick(0);
    return 0;
  case kDisplayTickMessage: OnDisplayTick(static_cast<unsigned>(wParam)); return 0;
  case WM_CTLCOLOREDIT: return OnTextEntryColours(reinterpret_cast<HDC>(wParam));
  case WM_MOUSEMOVE: OnMouseMove(wParam, lParam); return 0;
  case WM_LBUTTONDOWN:
  case WM_RBUTTONDOWN:
  case WM_MBUTTONDOWN: OnButtonDown(ButtonOf(message), wParam, lParam); return 0;
  case WM_LBUTTONUP:
  case WM_RBUTTONUP:
  case WM_MBUTTONUP: OnButtonUp(wParam, lParam); return 0;
  case WM_LBUTTONDBLCLK:
  case WM_RBUTTONDBLCLK: OnButtonDoubleClick(ButtonOf(message), wParam, lParam); return 0;
  case WM_CAPTURECHANGED:
    // A dialog, another window or the host took the mouse: the drag ends here.
    if (reinterpret_cast<HWND>(lParam) != window)
      EndDragWithoutRelease();
    return 0;
  case WM_MOUSEWHEEL: OnWheel(wParam, lParam); return 0;
  case WM_DROPFILES: OnDropFiles(reinterpret_cast<HDROP>(wParam)); return 0;
  case WM_TOUCH: OnTouch(wParam, lParam); return 0;
  case WM_MOUSEHOVER: OnHover(wParam); return 0;
  case WM_MOUSELEAVE: OnMouseLeave(); return 0;
  default: break;
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

IPointerEvent IGuiWin::GetMouseInfo(LPARAM lParam, WPARAM wParam)
{
  const float s = PixelScale();
  IPointerEvent event;
  event.x = static_cast<float>(GET_X_LPARAM(lParam)) / s;
  event.y = static_cast<float>(GET_Y_LPARAM(lParam)) / s;
  mMouseX = event.x;
  mMouseY = event.y;
  event.mods.left = (wParam & MK_LBUTTON) != 0;
  event.mods.right = (wParam & MK_RBUTTON) != 0;
  event.mods.shift = (wParam & MK_SHIFT) != 0;
  event.mods.control = (wParam & MK_CONTROL) != 0;
  event.mods.alt = GetKeyState(VK_MENU) < 0;
  return event;
}

void IGuiWin::Paint()
{
  HRGN region = CreateRectRgn(0, 0, 0, 0);
  const int kind = GetUpdateRgn(mWindow, region, FALSE);
  if (kind == SIMPLEREGION || kind == COMPLEXREGION)
  {
    const float s = PixelScale();
    IRectFList areas;
    const auto add = [&](const RECT& r) {
      areas.Add(IRectF(std::floor(r.left / s), std::floor(r.top / s), std::ceil(r.right / s), std::ceil(r.bottom / s)));
    };
    union
    {
      RGNDATA data;
      char bytes[1024];
    } regionData;
    if (kind == COMPLEXREGION && GetRegionData(region, sizeof(regionData), &regionData.data))
    {
      const RECT* rects = reinterpret_cast<const RECT*>(regionData.data.Buffer);
      for (DWORD i = 0; i < regionData.data.rdh.nCount; ++i)
        add(rects[i]);
    }
    else
    {
      RECT box;
      GetRgnBox(region, &box);
      add(box);
    }
    PAINTSTRUCT paint;
    BeginPaint(mWindow, &paint);
    // Without a renderer (no GL context, or no GL 2) there is nothing to draw with.
    if (GetDrawContext())
    {
      ActivateGLContext();
      Draw(areas);
      ShowFrame(paint.hdc, paint.rcPaint);
      DeactivateGLContext();
    }
    EndPaint(mWindow, &paint);
  }
  ValidateRect(mWindow, nullptr);
  DeleteObject(region);
  // The probe's window leaves an area to paint again behind it.
  if (kind == SIMPLEREGION || kind == COMPLEXREGION)
    ProbeFramePath();
}

LRESULT IGuiWin::OnKey(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
  POINT mouse;
  GetCursorPos(&mouse);
  ScreenToClient(window, &mouse);
  IKeyEvent key;
  key.vk = static_cast<int>(wParam);
  // Only a key-down asks for its character: asking on key-up would disturb dead keys.
  if (message == WM_KEYUP || KeyCharacter(wParam, lParam, key.utf8))
  {
    key.shift = GetKeyState(VK_SHIFT) < 0;
    key.control = GetKeyState(VK_CONTROL) < 0;
    key.alt = GetKeyState(VK_MENU) < 0;
    const float s = PixelScale();
    const float x = static_cast<float>(mouse.x) / s;
    const float y = static_cast<float>(mouse.y) / s;
    if (message == WM_KEYDOWN ? OnKeyDown(x, y, key) : OnKeyUp(x, y, key))
      return 0;
  }
  // The host, or the program's main window, gets the keys the editor does not use.
  HWND root = GetAncestor(window, GA_ROOT);
  if (!gForwardingKey && root && root != window)
  {
    gForwardingKey = true;
    SendMessageW(root, message, wParam, lParam);
    gForwardingKey = false;
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

void IGuiWin::OnMouseMove(WPARAM wParam, LPARAM lParam)
{
  if (mPenInput)
    return;
  // The drag's button is up and its release went elsewhere: the drag ends before the move.
  if (mDragButton && !(wParam & mDragButton))
    EndDragWithoutRelease();
  if (!(wParam & (MK_LBUTTON | MK_RBUTTON)))
  {
    const IPointerEvent event = GetMouseInfo(lParam, wParam);
    if (!OnMouseOver(event.x, event.y, event.mods))
    {
      // Over no control: the tip of the control left behind goes as well.
      if (TooltipsEnabled() && GetMouseOverIdx() != mTooltipControlIdx)
        TooltipToMouseOverControl(wParam, lParam);
      return;
    }
    TRACKMOUSEEVENT track = {sizeof(track), TME_LEAVE, mWindow, HOVER_DEFAULT};
    static_assert(sizeof(track) == 24, "TRACKMOUSEEVENT is 24 bytes");
    if (TooltipsEnabled())
    {
      if (GetMouseOverIdx() != mTooltipControlIdx)
        TooltipToMouseOverControl(wParam, lParam);
      // Asked for again with every move until the control's tip has shown: a request
      // without it may drop a hover still pending.
      if (mTooltipControlIdx >= 0 && !mTooltipShown)
        track.dwFlags |= TME_HOVER;
    }
    TrackMouseEvent(&track);
    return;
  }
  if (GetCapture() != mWindow)
    return;
  // The native text box is open: dragging would change what it edits.
  if (GetControlInTextEntry() && !GetTextEntryControl())
    return;
  const float previousX = mMouseX;
  const float previousY = mMouseY;
  IPointerEvent event = GetMouseInfo(lParam, wParam);
  event.dX = event.x - previousX;
  event.dY = event.y - previousY;
  if (event.dX == 0.f && event.dY == 0.f)
    return;
  OnMouseDrag({event});
  if (mCursorLock)
  {
    // Pins the hidden cursor where it was hidden.
    const float hiddenX = mHiddenCursorX;
    const float hiddenY = mHiddenCursorY;
    MoveMouseCursor(hiddenX, hiddenY);
    mHiddenCursorX = hiddenX;
    mHiddenCursorY = hiddenY;
  }
}

void IGuiWin::OnButtonDown(WPARAM button, WPARAM wParam, LPARAM lParam)
{
  if (mPenInput)
    return;
  ClearShownTooltip();
  // A hover asked for before the press would come while the button is held.
  TRACKMOUSEEVENT cancelHover = {sizeof(cancelHover), TME_CANCEL | TME_HOVER, mWindow, HOVER_DEFAULT};
  TrackMouseEvent(&cancelHover);
  if (mTextEntryWindow)
  {
    mTextEntryState = kTextEntryCommit;
    return;
  }
  SetFocus(mWindow);
  SetCapture(mWindow);
  mDragButton = button;
  OnMouseDown({GetMouseInfo(lParam, wParam)});
}

void IGuiWin::OnButtonUp(WPARAM wParam, LPARAM lParam)
{
  // The release ends the drag itself, not the capture change that ReleaseCapture sends.
  mDragButton = 0;
  ReleaseCapture();
  OnMouseUp({GetMouseInfo(lParam, wParam)});
}

void IGuiWin::OnButtonDoubleClick(WPARAM button, WPARAM wParam, LPARAM lParam)
{
  if (mPenInput)
    return;
  const IPointerEvent event = GetMouseInfo(lParam, wParam);
  if (!OnMouseDblClick(event.x, event.y, event.mods))
    return;
  SetCapture(mWindow);
  mDragButton = button;
}

void IGuiWin::EndDragWithoutRelease()
{
  if (!mDragButton)
    return;
  mDragButton = 0;
  if (GetCapture() == mWindow)
    ReleaseCapture();
  IPointerEvent event;
  event.x = mMouseX;
  event.y = mMouseY;
  OnMouseUp({event});
}

void IGuiWin::OnWheel(WPARAM wParam, LPARAM lParam)
{
  if (mTextEntryWindow)
  {
    mTextEntryState = kTextEntryCancel;
    return;
  }
  // The wheel's position is on the screen.
  POINT point = {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
  ScreenToClient(mWindow, &point);
  const IPointerEvent event = GetMouseInfo(MAKELPARAM(point.x, point.y), GET_KEYSTATE_WPARAM(wParam));
  // High-resolution wheels send a notch in parts; a turn the other way starts afresh.
  const int delta = GET_WHEEL_DELTA_WPARAM(wParam);
  if ((delta < 0) != (mWheelRemainder < 0))
    mWheelRemainder = 0;
  mWheelRemainder += delta;
  const int notches = mWheelRemainder / WHEEL_DELTA;
  mWheelRemainder -= notches * WHEEL_DELTA;
  if (notches != 0)
    OnMouseWheel(event.x, event.y, event.mods, static_cast<float>(notches));
}

void IGuiWin::OnDropFiles(HDROP drop)
{
  const UINT count = DragQueryFileW(drop, 0xFFFFFFFF, nullptr, 0);
  std::vector<std::string> paths;
  for (UINT i = 0; i < count; ++i)
  {
    std::wstring path(DragQueryFileW(drop, i, nullptr, 0) + 1, L'\0');
    path.resize(DragQueryFileW(drop, i, &path[0], static_cast<UINT>(path.size())));
    paths.push_back(WideToUtf8(path.c_str()));
  }
  POINT point = {};
  DragQueryPoint(drop, &point);
  DragFinish(drop);

  const float s = PixelScale();
  const float x = static_cast<float>(point.x) / s;
  const float y = static_cast<float>(point.y) / s;
  if (paths.size() == 1)
    OnDrop(paths[0].c_str(), x, y);
  else if (paths.size() > 1)
  {
    std::vector<const char*> list;
    for (const std::string& path : paths)
      list.push_back(path.c_str());
    OnDropMultiple(list, x, y);
  }
}

void IGuiWin::OnTouch(WPARAM wParam, LPARAM lParam)
{
  const UINT count = LOWORD(wParam);
  HTOUCHINPUT input = reinterpret_cast<HTOUCHINPUT>(lParam);
  if (count == 0)
    return;
  std::vector<TOUCHINPUT> inputs(count);
  static_assert(sizeof(TOUCHINPUT) == 48, "TOUCHINPUT is 48 bytes");
  if (Machine().getTouchInputInfo(input, count, inputs.data(), sizeof(TOUCHINPUT)))
  {
    POINT origin = {0, 0};
    ClientToScreen(mWindow, &origin);
    const TouchEvents events = SortTouchInputs(inputs.data(), inputs.size(), origin, PixelScale(), mTouches);
    if (!events.down.empty())
      OnMouseDown(events.down);
    if (!events.up.empty())
      OnMouseUp(events.up);
    if (!events.moved.empty())
      OnMouseDrag(events.moved);
  }
  Machine().closeTouchInputHandle(input);
}

void IGuiWin::OnHover(WPARAM keys)
{
  // Resting during a press or a drag: a tip would cover what is being dragged. The
  // message's keys may not show the button, the window's capture does.
  if ((keys & (MK_LBUTTON | MK_RBUTTON | MK_MBUTTON)) || GetCapture() == mWindow)
    return;
  if (mTooltipControlIdx < 0 || mTooltipControlIdx >= NControls())
    return;
  SetTooltip(GetControl(mTooltipControlIdx)->GetTooltip());
  mTooltipShown = true;
}

void IGuiWin::OnMouseLeave()
{
  ClearShownTooltip();
  // Coming back over the same control shows its tooltip again.
  mTooltipControlIdx = -1;
  OnMouseOut();
}

void IGuiWin::ClearShownTooltip()
{
  if (!mTooltipShown)
    return;
  SetTooltip(nullptr);
  mTooltipShown = false;
}

void IGuiWin::TooltipToMouseOverControl(WPARAM wParam, LPARAM lParam)
{
  mTooltipControlIdx = GetMouseOverIdx();
  if (!mTooltipShown)
    return;
  ClearShownTooltip();
  // The tooltip control took this move with the old tip still up; given it again, it
  // starts over, so the new control's tip shows without waiting for another move.
  MSG move = {mWindow, WM_MOUSEMOVE, wParam, lParam, static_cast<DWORD>(GetMessageTime()),
              {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)}};
  ClientToScreen(mWindow, &move.pt);
  SendMessageW(mTooltipWindow, TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(&move));
}

LRESULT IGuiWin::OnTextEntryColours(HDC dc)
{
  if (!mTextEntryWindow)
    return 0;
  const IArgbColour& background = mTextEntryStyle.entryBackground;
  const IArgbColour& text = mTextEntryStyle.entryText;
  SetBkColor(dc, RGB(background.R, background.G, background.B));
  SetDCBrushColor(dc, RGB(background.R, background.G, background.B));
  SetTextColor(dc, RGB(text.R, text.G, text.B));
  SetBkMode(dc, OPAQUE);
  return reinterpret_cast<LRESULT>(GetStockObject(DC_BRUSH));
}

} // namespace pfw::gui
