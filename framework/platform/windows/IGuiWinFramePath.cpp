#include "IGuiWin.h"

#include "SwapBehaviour.h"
#include "WinMachine.h"

#include "framework/graphics/renderer/GLFunctions.h"

namespace pfw::gui {

namespace {

// Rows of blue, green, red and alpha bytes: a 32-bit DIB's own order (OpenGL 1.2).
constexpr gl::GLenum kBgra = 0x80E1;

} // namespace

bool IGuiWin::CreateFrameWindow(const RECT& area)
{
  mFrameWindow = CreateWindowExW(0, kWindowClassName, L"Plugin frame", WS_POPUP, 0, 0, area.right - area.left,
                                 area.bottom - area.top, HWND_MESSAGE, nullptr, mModule, nullptr);
  if (!mFrameWindow)
    return false;
  // The class has its own device context, as the editor window's.
  mDeviceContext = GetDC(mFrameWindow);
  ReleaseDC(mFrameWindow, mDeviceContext);
  return true;
}

void IGuiWin::FollowEditorWindowSize()
{
  RECT editor, hidden;
  GetClientRect(mWindow, &editor);
  GetClientRect(mFrameWindow, &hidden);
  if (editor.right == hidden.right && editor.bottom == hidden.bottom)
    return;
  SetWindowPos(mFrameWindow, nullptr, 0, 0, editor.right, editor.bottom, SWP_NOZORDER | SWP_NOMOVE | SWP_NOACTIVATE);
  // The frame being drawn may still go to the buffer of the old size (see ShowFrame); the
  // next tick draws everything again.
  mResized = true;
}

void IGuiWin::ShowFrame(HDC paintDC, const RECT& paintArea)
{
  if (mFramePath == FramePath::kSwapBuffers)
  {
    SwapBuffers(mDeviceContext);
    return;
  }
  RECT client, area;
  GetClientRect(mWindow, &client);
  if (!IntersectRect(&area, &paintArea, &client))
    return;
  const int width = area.right - area.left, height = area.bottom - area.top;
  mFrameRows.resize(static_cast<size_t>(width) * height * 4);
  // The hidden window's back buffer holds the frame as the editor window's would: its rows
  // counted from the bottom, as a DIB of positive height stores them.
  gl::glBindFramebuffer(gl::GL_FRAMEBUFFER, 0);
  gl::glPixelStorei(gl::GL_PACK_ALIGNMENT, 4);
  gl::glReadPixels(area.left, client.bottom - area.bottom, width, height, kBgra, gl::GL_UNSIGNED_BYTE,
                   mFrameRows.data());
  BITMAPINFO info = {};
  info.bmiHeader.biSize = sizeof(info.bmiHeader);
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  SetDIBitsToDevice(paintDC, area.left, area.top, width, height, 0, 0, 0, height, mFrameRows.data(), &info,
                    DIB_RGB_COLORS);
  // Wine gives a GL window's buffer a new size only at a swap; a hidden window's swap shows
  // nothing.
  SwapBuffers(mDeviceContext);
}

void IGuiWin::ProbeFramePath()
{
  // The context must not be current on the hidden window when it goes.
  if (mFramePath != FramePath::kCopyUntilProbed || !mSavedGLContexts.empty())
    return;
  switch (Machine().probeGLChildWindow(mWindow, kWindowClassName, mModule, PixelFormatRequest()))
  {
  case FrameOnScreen::kUndecided: return;
  case FrameOnScreen::kMissing: mFramePath = FramePath::kCopyThroughGdi; return;
  case FrameOnScreen::kShown: break;
  }
  // GL in a child window shows here: the context draws in the editor window from now on.
  HDC editorDC = GetDC(mWindow);
  ReleaseDC(mWindow, editorDC);
  PIXELFORMATDESCRIPTOR format = {};
  const int pixelFormat = GetPixelFormat(mDeviceContext);
  if (!pixelFormat || !DescribePixelFormat(mDeviceContext, pixelFormat, sizeof(format), &format) ||
      !SetPixelFormat(editorDC, pixelFormat, &format))
  {
    mFramePath = FramePath::kCopyThroughGdi;
    return;
  }
  mDeviceContext = editorDC;
  DestroyWindow(mFrameWindow);
  mFrameWindow = nullptr;
  mFrameRows.clear();
  mFramePath = FramePath::kSwapBuffers;
  // The editor window's buffers may keep their pixels otherwise than the hidden window's,
  // and hold no frame yet.
  ActivateGLContext();
  gl::glBindFramebuffer(gl::GL_FRAMEBUFFER, 0);
  SetSwapKeepsBackBuffer(SwapKeepsBackBuffer(mDeviceContext));
  DeactivateGLContext();
  SetAllControlsDirty();
}

} // namespace pfw::gui
