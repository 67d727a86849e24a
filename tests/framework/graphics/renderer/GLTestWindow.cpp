#include "GLTestWindow.h"

#include "framework/graphics/renderer/GLFunctions.h"

namespace {
const wchar_t* const kClassName = L"TarnwickGLTestWindow";

bool RegisterTestClass()
{
  WNDCLASSEXW wc = {};
  wc.cbSize = sizeof(wc);
  wc.style = CS_OWNDC;
  wc.lpfnWndProc = DefWindowProcW;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.lpszClassName = kClassName;
  return RegisterClassExW(&wc) != 0 || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}
} // namespace

bool GLTestWindow::Fail(const char* step)
{
  mError = std::string(step) + " failed, error " + std::to_string(GetLastError());
  Close();
  return false;
}

bool GLTestWindow::Open(int width, int height)
{
  if (!RegisterTestClass())
    return Fail("RegisterClassExW");
  // The display is shared with tests that type keys and count paints: this window never
  // takes the focus, and it keeps to the screen's lower right corner, away from theirs.
  mWindow = CreateWindowExW(WS_EX_NOACTIVATE, kClassName, L"GL test", WS_POPUP, GetSystemMetrics(SM_CXSCREEN) - width,
                            GetSystemMetrics(SM_CYSCREEN) - height, width, height, nullptr, nullptr,
                            GetModuleHandleW(nullptr), nullptr);
  if (!mWindow)
    return Fail("CreateWindowExW");
  ShowWindow(mWindow, SW_SHOWNOACTIVATE);
  mDC = GetDC(mWindow);
  PIXELFORMATDESCRIPTOR pfd = {};
  pfd.nSize = sizeof(pfd);
  pfd.nVersion = 1;
  pfd.dwFlags = PFD_DRAW_TO_WINDOW | PFD_SUPPORT_OPENGL | PFD_DOUBLEBUFFER;
  pfd.iPixelType = PFD_TYPE_RGBA;
  pfd.cColorBits = 32;
  pfd.cDepthBits = 24;
  pfd.cStencilBits = 8;
  pfd.iLayerType = PFD_MAIN_PLANE;
  const int format = ChoosePixelFormat(mDC, &pfd);
  if (!format || !SetPixelFormat(mDC, format, &pfd))
    return Fail("SetPixelFormat");
  mContext = wglCreateContext(mDC);
  if (!mContext || !wglMakeCurrent(mDC, mContext))
    return Fail("wglCreateContext");
  const char* missing = nullptr;
  if (!pfw::gl::LoadFunctions(&missing))
  {
    mError = std::string("GL function missing: ") + (missing ? missing : "?");
    Close();
    return false;
  }
  return true;
}

void GLTestWindow::MakeCurrent() const
{
  if (mContext)
    wglMakeCurrent(mDC, mContext);
}

void GLTestWindow::Close()
{
  if (mContext)
  {
    wglMakeCurrent(nullptr, nullptr);
    wglDeleteContext(mContext);
  }
  if (mDC)
    ReleaseDC(mWindow, mDC);
  if (mWindow)
    DestroyWindow(mWindow);
  mContext = nullptr;
  mDC = nullptr;
  mWindow = nullptr;
}
