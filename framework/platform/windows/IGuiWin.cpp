#include "IGuiWin.h"

#include "PlatformFontCaches.h"
#include "SwapBehaviour.h"
#include "Utf8.h"
#include "VBlankThread.h"
#include "WinMachine.h"

#include "framework/core/EditorPixels.h"
#include "framework/core/IGuiEditorDelegate.h"
#include "framework/graphics/renderer/GLFunctions.h"

#include <commctrl.h>

#include <algorithm>
#include <cmath>
#include <mutex>

namespace pfw::gui {

const wchar_t IGuiWin::kWindowClassName[] = L"PluginWndClass";

namespace {

constexpr int kMaxTooltipWidth = 250;

// The window class lives while any editor window is open, in any instance.
struct WindowClassUse
{
  std::mutex lock;
  int openWindows = 0;
  HINSTANCE module = nullptr;
};

WindowClassUse& WindowClass()
{
  static WindowClassUse use;
  return use;
}

bool RetainWindowClass(HINSTANCE module)
{
  WindowClassUse& use = WindowClass();
  std::lock_guard<std::mutex> guard(use.lock);
  if (use.openWindows == 0)
  {
    WNDCLASSW windowClass = {};
    windowClass.style = CS_OWNDC | CS_DBLCLKS;
    windowClass.lpfnWndProc = IGuiWin::WndProc;
    windowClass.hInstance = module;
    windowClass.lpszClassName = IGuiWin::kWindowClassName;
    if (!RegisterClassW(&windowClass))
      return false;
    use.module = module;
  }
  ++use.openWindows;
  return true;
}

void ReleaseWindowClass()
{
  WindowClassUse& use = WindowClass();
  std::lock_guard<std::mutex> guard(use.lock);
  if (use.openWindows > 0 && --use.openWindows == 0)
    UnregisterClassW(IGuiWin::kWindowClassName, use.module);
}

// The module this code lives in: the plug-in's DLL or the program.
HINSTANCE ThisModule()
{
  HMODULE module = nullptr;
  GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                     reinterpret_cast<LPCWSTR>(&ThisModule), &module);
  return module;
}

bool IsChildWindow(HWND window)
{
  return (GetWindowLongW(window, GWL_STYLE) & WS_CHILD) && !(GetWindowLongW(window, GWL_EXSTYLE) & WS_EX_MDICHILD);
}

void GrowWindow(HWND window, int dw, int dh)
{
  RECT r;
  GetWindowRect(window, &r);
  SetWindowPos(window, nullptr, 0, 0, r.right - r.left + dw, r.bottom - r.top + dh,
               SWP_NOZORDER | SWP_NOMOVE | SWP_NOACTIVATE);
}

} // namespace

float GetWindowDpiScale(HWND window)
{
  const UINT dpi = Machine().getDpiForWindow(window);
  return dpi ? static_cast<float>(dpi) / USER_DEFAULT_SCREEN_DPI : 1.f;
}

unsigned FrameTimerInterval(int fps)
{
  const unsigned interval = fps > 0 ? static_cast<unsigned>(1000 / fps) : 0;
  return interval < 20 ? 15 : interval;
}

IGuiWin::IGuiWin(IGuiEditorDelegate& delegate, int width, int height, int fps, float scale)
  : IGuiVG(delegate, width, height, fps, scale)
  , mModule(ThisModule())
  , mVSyncAvailable(Machine().isWindows8OrLater())
{
  RetainPlatformFontCaches();
}

IGuiWin::~IGuiWin()
{
  CloseWindow();
  ReleasePlatformFontCaches();
}

int IGuiWin::OpenWindowCount()
{
  WindowClassUse& use = WindowClass();
  std::lock_guard<std::mutex> guard(use.lock);
  return use.openWindows;
}

void* IGuiWin::OpenWindow(void* parent)
{
  HWND parentWindow = static_cast<HWND>(parent);
  // The window opens at the monitor's whole scale; the first tick takes up the rest.
  const int s = std::max(1, static_cast<int>(GetWindowDpiScale(parentWindow)));
  RECT area = {0, 0, static_cast<int>(Width() * GetDrawScale()) * s, static_cast<int>(Height() * GetDrawScale()) * s};
  if (mWindow)
  {
    // Opening again re-opens at the same place.
    GetWindowRect(mWindow, &area);
    MapWindowPoints(HWND_DESKTOP, GetParent(mWindow), reinterpret_cast<POINT*>(&area), 2);
    CloseWindow();
  }
  mParentWindow = parentWindow;

  if (!RetainWindowClass(mModule))
    return nullptr;
  HWND window = CreateWindowExW(0, kWindowClassName, L"Plugin", WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN,
                                area.left, area.top, area.right - area.left, area.bottom - area.top, parentWindow,
                                nullptr, mModule, this);
  if (!window)
  {
    // Creation may have failed after WM_CREATE started the frame clock.
    if (mWindow)
      StopFrameClock();
    mWindow = nullptr;
    ReleaseWindowClass();
    return nullptr;
  }
  mWindow = window;
  mFramePath = FramePath::kSwapBuffers;
  if (Machine().isWine() && CreateFrameWindow(area))
    mFramePath = FramePath::kCopyUntilProbed;
  else
  {
    // The class has its own device context, so this handle stays valid with the window.
    mDeviceContext = GetDC(window);
    ReleaseDC(window, mDeviceContext);
  }

  if (CreateGLContext())
  {
    ActivateGLContext();
    if (gl::LoadFunctions())
    {
      OnViewInitialized();
      SetSwapKeepsBackBuffer(SwapKeepsBackBuffer(mDeviceContext));
    }
  }
  mMonitorScale = static_cast<float>(s);
  SetScreenScale(mMonitorScale);
  GetDelegate()->LayoutUI(this);
  if (IsTouchDevice())
    Machine().registerTouchWindow(window, 0);
  SetAllControlsDirty();
  if (TooltipsEnabled())
    CreateTooltips();
  if (mGLContext)
    DeactivateGLContext();
  return window;
}

PIXELFORMATDESCRIPTOR IGuiWin::PixelFormatRequest()
{
  PIXELFORMATDESCRIPTOR format = {};
  static_assert(sizeof(format) == 40, "PIXELFORMATDESCRIPTOR is 40 bytes");
  format.nSize = sizeof(format);
  format.nVersion = 1;
  format.dwFlags = PFD_DRAW_TO_WINDOW | PFD_SUPPORT_OPENGL | PFD_DOUBLEBUFFER;
  format.iPixelType = PFD_TYPE_RGBA;
  format.cColorBits = 32;
  format.cDepthBits = 24;
  format.cStencilBits = 8;
  format.iLayerType = PFD_MAIN_PLANE;
  return format;
}

bool IGuiWin::CreateGLContext()
{
  PIXELFORMATDESCRIPTOR format = PixelFormatRequest();
  const int chosen = ChoosePixelFormat(mDeviceContext, &format);
  if (!chosen || !SetPixelFormat(mDeviceContext, chosen, &format))
    return false;
  mGLContext = wglCreateContext(mDeviceContext);
  return mGLContext != nullptr;
}

void IGuiWin::CreateTooltips()
{
  INITCOMMONCONTROLSEX controls = {sizeof(controls), ICC_TAB_CLASSES};
  InitCommonControlsEx(&controls);
  mTooltipWindow = CreateWindowExW(0, TOOLTIPS_CLASSW, nullptr,
                                   WS_POPUP | WS_CLIPSIBLINGS | WS_CLIPCHILDREN | TTS_ALWAYSTIP | TTS_NOPREFIX,
                                   CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, mWindow, nullptr,
                                   mModule, nullptr);
  if (!mTooltipWindow)
  {
    EnableTooltips(false);
    return;
  }
  SetWindowPos(mTooltipWindow, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOACTIVATE | SWP_NOMOVE | SWP_NOSIZE);
  TOOLINFOW tool = {};
  tool.cbSize = TTTOOLINFOW_V2_SIZE;
  tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
  tool.hwnd = mWindow;
  tool.uId = reinterpret_cast<UINT_PTR>(mWindow);
  tool.lpszText = const_cast<wchar_t*>(L"");
  SendMessageW(mTooltipWindow, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
  SendMessageW(mTooltipWindow, TTM_SETMAXTIPWIDTH, 0, kMaxTooltipWidth);
}

void IGuiWin::SetTooltip(const char* text)
{
  if (!mTooltipWindow)
    return;
  std::wstring wide = Utf8ToWide(text ? text : "");
  TOOLINFOW tool = {};
  tool.cbSize = TTTOOLINFOW_V2_SIZE;
  tool.hwnd = mWindow;
  tool.uId = reinterpret_cast<UINT_PTR>(mWindow);
  tool.lpszText = &wide[0];
  SendMessageW(mTooltipWindow, TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&tool));
  // A tip on the screen stays there when its text is emptied.
  if (wide.empty())
    SendMessageW(mTooltipWindow, TTM_POP, 0, 0);
}

void IGuiWin::StartFrameClock(HWND window)
{
  if (mVSyncAvailable)
    mVBlank = VBlankThread::Start(window, kDisplayTickMessage);
  // Without the thread (before Windows 8, or when it could not start) the timer drives.
  if (!mVBlank)
    mTimerRunning = SetTimer(window, kFrameTimerId, FrameTimerInterval(FPS()), nullptr) != 0;
}

void IGuiWin::StopFrameClock()
{
  if (mVBlank)
  {
    mVBlank->Stop();
    mVBlank.reset();
    mSkipUntilFrame = 0;
  }
  if (mTimerRunning)
  {
    KillTimer(mWindow, kFrameTimerId);
    mTimerRunning = false;
  }
}

void IGuiWin::CloseWindow()
{
  if (!mWindow)
    return;
  StopFrameClock();
  if (mTextEntryWindow)
    DestroyTextEntry();
  mTextEntryState = kTextEntryIdle;

  // The renderer lets go of its GL objects (and the controls of their bitmaps) while the
  // context is current; bitmaps must not outlive the context they live in.
  if (mGLContext)
    ActivateGLContext();
  OnViewDestroyed();
  if (mGLContext)
  {
    DeactivateGLContext();
    if (wglGetCurrentContext() == mGLContext)
      wglMakeCurrent(nullptr, nullptr);
    wglDeleteContext(mGLContext);
    mGLContext = nullptr;
  }
  mSavedGLContexts.clear();

  if (mTooltipWindow)
  {
    DestroyWindow(mTooltipWindow);
    mTooltipWindow = nullptr;
  }
  mTooltipShown = false;
  mTooltipControlIdx = -1;
  mTouches.clear();
  mCursorLock = false;
  mDragButton = 0;

  HWND window = mWindow;
  mWindow = nullptr;
  mDeviceContext = nullptr;
  if (mFrameWindow)
    DestroyWindow(mFrameWindow);
  mFrameWindow = nullptr;
  mFrameRows.clear();
  DestroyWindow(window);
  ReleaseWindowClass();
}

void IGuiWin::ActivateGLContext()
{
  mSavedGLContexts.emplace_back(wglGetCurrentDC(), wglGetCurrentContext());
  wglMakeCurrent(mDeviceContext, mGLContext);
}

void IGuiWin::DeactivateGLContext()
{
  if (mSavedGLContexts.empty())
    return;
  const std::pair<HDC, HGLRC> previous = mSavedGLContexts.back();
  mSavedGLContexts.pop_back();
  wglMakeCurrent(previous.first, previous.second);
}

void IGuiWin::PlatformResize(bool parentHasResized)
{
  if (!mWindow)
    return;
  RECT current;
  GetWindowRect(mWindow, &current);
  const int targetWidth = EditorPixelExtent(Width(), GetDrawScale(), GetScreenScale());
  const int targetHeight = EditorPixelExtent(Height(), GetDrawScale(), GetScreenScale());
  const int dw = targetWidth - (current.right - current.left);
  const int dh = targetHeight - (current.bottom - current.top);

  HWND parent = IsChildWindow(mWindow) ? GetParent(mWindow) : nullptr;
  HWND grandparent = parent && IsChildWindow(parent) ? GetParent(parent) : nullptr;
  if (dw == 0 && dh == 0)
    return;
  GrowWindow(mWindow, dw, dh);
  mResized = true;
  if (parentHasResized)
    return;
  if (parent)
    GrowWindow(parent, dw, dh);
  if (grandparent)
    GrowWindow(grandparent, dw, dh);
}

bool IGuiWin::IsTouchDevice()
{
  const int digitizer = Machine().getSystemMetrics(SM_DIGITIZER);
  return (digitizer & NID_READY) && (digitizer & (NID_INTEGRATED_TOUCH | NID_EXTERNAL_TOUCH));
}

void IGuiWin::OnDisplayTick(unsigned frame)
{
  if (mVBlank)
  {
    // Only the newest tick draws, and none of those that came during a long paint.
    const uint32_t current = mVBlank->Frame();
    const bool skipped = mSkipUntilFrame != 0 && current < mSkipUntilFrame;
    if (!skipped)
      mSkipUntilFrame = 0;
    mVBlank->TickReceived();
    if (skipped || frame != current)
      return;
  }
  if (FinishTextEntry())
    return;

  const bool resizedBefore = mResized;
  mResized = false;
  if (!GetCapture())
  {
    const float monitorScale = GetWindowDpiScale(mWindow);
    if (monitorScale != mMonitorScale)
    {
      mMonitorScale = monitorScale;
      SetScreenScale(monitorScale);
    }
  }
  if (resizedBefore)
    SetAllControlsDirty();

  IRectFList dirty;
  if (!IsDirty(dirty))
    return;
  SetAllControlsClean();
  const float s = PixelScale();
  const auto toPixels = [s](const IRectF& r) {
    return RECT{static_cast<LONG>(std::floor(r.L * s)), static_cast<LONG>(std::floor(r.T * s)),
                static_cast<LONG>(std::ceil(r.R * s)), static_cast<LONG>(std::ceil(r.B * s))};
  };
  for (int i = 0; i < dirty.Size(); ++i)
  {
    const RECT r = toPixels(dirty.Get(i));
    InvalidateRect(mWindow, &r, FALSE);
  }
  if (mTextEntryWindow)
  {
    // The native text box draws itself; the frame must not paint over it.
    const RECT r = toPixels(mTextEntryBounds);
    ValidateRect(mWindow, &r);
    UpdateWindow(mWindow);
    mTextEntryState = kTextEntryPainted;
    return;
  }
  UpdateWindow(mWindow);
  if (mVBlank && mVBlank->Frame() != frame)
    mSkipUntilFrame = mVBlank->Frame() + 1;
}

bool IGuiWin::FinishTextEntry()
{
  if (!mTextEntryWindow || mTextEntryState == kTextEntryIdle)
    return false;
  if (mTextEntryState == kTextEntryCommit)
  {
    std::wstring text(static_cast<size_t>(GetWindowTextLengthW(mTextEntryWindow)) + 1, L'\0');
    text.resize(static_cast<size_t>(GetWindowTextW(mTextEntryWindow, &text[0], static_cast<int>(text.size()))));
    SetControlValueAfterTextEdit(WideToUtf8(text.c_str()).c_str());
    DestroyTextEntry();
  }
  else if (mTextEntryState == kTextEntryCancel)
  {
    DestroyTextEntry();
    ClearInTextEntryControl();
  }
  mTextEntryState = kTextEntryIdle;
  return true;
}

} // namespace pfw::gui
