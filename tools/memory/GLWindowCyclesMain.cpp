// The smallest program that opens and closes an OpenGL window the way the editor does,
// printing the process's private bytes after each cycle: it tells growth that belongs to
// the system's OpenGL from growth of our own. Usage:
//   tarnwick_gl_window_cycles MODE [CYCLES] [FRAMES]
// MODE: plain  - a child window without OpenGL (the control)
//       child  - a child window with a pixel format, a context and frames swapped in it
//       hidden - a hidden message-only window with a pixel format and a context, each
//                frame read back and copied into the child window through GDI
// Each cycle opens the window, shows FRAMES frames (default 10) and closes it again.

#include <windows.h>
#include <psapi.h>

#include <GL/gl.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace {

constexpr int kWidth = 1180;
constexpr int kHeight = 800;
constexpr wchar_t kHostClass[] = L"GLCyclesHost";
constexpr wchar_t kWindowClass[] = L"GLCyclesWindow";
constexpr GLenum kBgra = 0x80E1;

size_t PrivateBytes()
{
  PROCESS_MEMORY_COUNTERS_EX counters{};
  counters.cb = sizeof(counters);
  GetProcessMemoryInfo(GetCurrentProcess(), reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&counters), sizeof(counters));
  // Wine leaves PrivateUsage at 0 and counts the private pages as the page-file usage, as
  // Windows does too.
  return counters.PrivateUsage ? counters.PrivateUsage : counters.PagefileUsage;
}

void Pump()
{
  MSG message;
  while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE))
  {
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
}

bool SetFormat(HDC dc)
{
  PIXELFORMATDESCRIPTOR format = {};
  format.nSize = sizeof(format);
  format.nVersion = 1;
  format.dwFlags = PFD_DRAW_TO_WINDOW | PFD_SUPPORT_OPENGL | PFD_DOUBLEBUFFER;
  format.iPixelType = PFD_TYPE_RGBA;
  format.cColorBits = 32;
  format.cDepthBits = 24;
  format.cStencilBits = 8;
  format.iLayerType = PFD_MAIN_PLANE;
  const int chosen = ChoosePixelFormat(dc, &format);
  return chosen && SetPixelFormat(dc, chosen, &format);
}

// One cycle: the window opens, shows its frames and closes; false when a step failed.
bool Cycle(HWND host, const char* mode, int frames)
{
  WNDCLASSW windowClass = {};
  windowClass.style = CS_OWNDC | CS_DBLCLKS;
  windowClass.lpfnWndProc = DefWindowProcW;
  windowClass.hInstance = GetModuleHandleW(nullptr);
  windowClass.lpszClassName = kWindowClass;
  if (!RegisterClassW(&windowClass))
    return false;
  HWND window = CreateWindowExW(0, kWindowClass, L"Plugin", WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN,
                                0, 0, kWidth, kHeight, host, nullptr, windowClass.hInstance, nullptr);
  const bool hidden = std::strcmp(mode, "hidden") == 0;
  const bool gl = hidden || std::strcmp(mode, "child") == 0;
  HWND frameWindow = hidden ? CreateWindowExW(0, kWindowClass, L"Plugin frame", WS_POPUP, 0, 0, kWidth, kHeight,
                                              HWND_MESSAGE, nullptr, windowClass.hInstance, nullptr)
                            : nullptr;
  HDC dc = GetDC(hidden ? frameWindow : window);
  ReleaseDC(hidden ? frameWindow : window, dc); // an own device context stays valid
  HGLRC context = gl && SetFormat(dc) ? wglCreateContext(dc) : nullptr;
  if (gl && (!context || !wglMakeCurrent(dc, context)))
    return false;
  std::vector<unsigned char> rows(static_cast<size_t>(kWidth) * kHeight * 4);
  for (int frame = 0; frame < frames; ++frame)
  {
    if (context)
    {
      glClearColor(0.1f, 0.2f, 0.3f + 0.05f * (frame % 10), 1.f);
      glClear(GL_COLOR_BUFFER_BIT);
    }
    if (hidden)
    {
      glReadPixels(0, 0, kWidth, kHeight, kBgra, GL_UNSIGNED_BYTE, rows.data());
      BITMAPINFO info = {};
      info.bmiHeader.biSize = sizeof(info.bmiHeader);
      info.bmiHeader.biWidth = kWidth;
      info.bmiHeader.biHeight = kHeight;
      info.bmiHeader.biPlanes = 1;
      info.bmiHeader.biBitCount = 32;
      info.bmiHeader.biCompression = BI_RGB;
      HDC windowDC = GetDC(window);
      SetDIBitsToDevice(windowDC, 0, 0, kWidth, kHeight, 0, 0, 0, kHeight, rows.data(), &info, DIB_RGB_COLORS);
      ReleaseDC(window, windowDC);
    }
    if (context)
      SwapBuffers(dc);
    Pump();
    Sleep(5);
  }
  if (context)
  {
    wglMakeCurrent(nullptr, nullptr);
    wglDeleteContext(context);
  }
  if (frameWindow)
    DestroyWindow(frameWindow);
  DestroyWindow(window);
  UnregisterClassW(kWindowClass, windowClass.hInstance);
  Pump();
  return true;
}

} // namespace

int main(int argc, char** argv)
{
  const char* mode = argc > 1 ? argv[1] : "";
  const int cycles = argc > 2 ? std::atoi(argv[2]) : 50;
  const int frames = argc > 3 ? std::atoi(argv[3]) : 10;
  if (std::strcmp(mode, "plain") && std::strcmp(mode, "child") && std::strcmp(mode, "hidden"))
  {
    std::fprintf(stderr, "usage: tarnwick_gl_window_cycles plain|child|hidden [CYCLES] [FRAMES]\n");
    return 2;
  }
  WNDCLASSW hostClass = {};
  hostClass.lpfnWndProc = DefWindowProcW;
  hostClass.hInstance = GetModuleHandleW(nullptr);
  hostClass.lpszClassName = kHostClass;
  RegisterClassW(&hostClass);
  HWND host = CreateWindowExW(0, kHostClass, L"Host", WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN, 0, 0, kWidth, kHeight,
                              nullptr, nullptr, hostClass.hInstance, nullptr);
  const size_t first = PrivateBytes();
  size_t fifth = 0;
  for (int cycle = 1; cycle <= cycles; ++cycle)
  {
    if (!Cycle(host, mode, frames))
    {
      std::fprintf(stderr, "cycle %d: the window or its context could not be made\n", cycle);
      return 1;
    }
    const size_t now = PrivateBytes();
    if (cycle == 5)
      fifth = now;
    std::printf("cycle %d private %.3f MB\n", cycle, now / 1048576.0);
    std::fflush(stdout);
  }
  const size_t last = PrivateBytes();
  std::printf("%s: %d cycles of %d frames, private bytes %.2f MB before, %.2f MB after cycle 5, %.2f MB at the end: "
              "%.0f KB per cycle after the fifth\n",
              mode, cycles, frames, first / 1048576.0, fifth / 1048576.0, last / 1048576.0,
              cycles > 5 ? (double(last) - double(fifth)) / 1024.0 / (cycles - 5) : 0.0);
  DestroyWindow(host);
  return 0;
}
