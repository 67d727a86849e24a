#include "GLChildProbe.h"

#include "framework/graphics/renderer/GLFunctions.h"

#include <cstring>
#include <vector>

namespace pfw::gui {

namespace {

constexpr int kProbeSize = 32;

// Presents one frame of a colour in the probe window through a context of its own.
bool PresentColour(HWND probe, const PIXELFORMATDESCRIPTOR& format, const uint8_t (&bgr)[3])
{
  HDC dc = GetDC(probe);
  const int chosen = dc ? ChoosePixelFormat(dc, &format) : 0;
  HGLRC context = chosen && SetPixelFormat(dc, chosen, &format) ? wglCreateContext(dc) : nullptr;
  const HDC previousDC = wglGetCurrentDC();
  const HGLRC previousContext = wglGetCurrentContext();
  const bool presented = context && wglMakeCurrent(dc, context);
  if (presented)
  {
    gl::glClearColor(bgr[2] / 255.f, bgr[1] / 255.f, bgr[0] / 255.f, 1.f);
    gl::glClear(gl::GL_COLOR_BUFFER_BIT);
    SwapBuffers(dc);
    gl::glFinish();
  }
  wglMakeCurrent(previousDC, previousContext);
  if (context)
    wglDeleteContext(context);
  if (dc)
    ReleaseDC(probe, dc);
  return presented;
}

} // namespace

FrameOnScreen ProbeGLChildWindow(HWND window, const wchar_t* windowClass, HINSTANCE module,
                                 const PIXELFORMATDESCRIPTOR& format)
{
  RECT client;
  GetClientRect(window, &client);
  if (client.right < kProbeSize || client.bottom < kProbeSize)
    return FrameOnScreen::kUndecided;
  // Nothing is made while the window's corner cannot be seen.
  POINT middle = {kProbeSize / 2, kProbeSize / 2};
  ClientToScreen(window, &middle);
  if (WindowFromPoint(middle) != window)
    return FrameOnScreen::kUndecided;
  HWND probe = CreateWindowExW(0, windowClass, L"GL probe", WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS, 0, 0, kProbeSize,
                               kProbeSize, window, nullptr, module, nullptr);
  if (!probe)
    return FrameOnScreen::kUndecided;
  RECT area = {0, 0, kProbeSize, kProbeSize};
  MapWindowPoints(probe, HWND_DESKTOP, reinterpret_cast<POINT*>(&area), 2);
  const auto visible = [&](int x, int y) { return WindowFromPoint(POINT{area.left + x, area.top + y}) == probe; };

  FrameOnScreen result = FrameOnScreen::kUndecided;
  std::vector<uint8_t> before, after;
  if (ReadScreen(area, before))
  {
    // Half the range away from what the screen shows in the middle, in every channel.
    const uint8_t* middle = &before[(static_cast<size_t>(kProbeSize / 2) * kProbeSize + kProbeSize / 2) * 4];
    const uint8_t colour[3] = {static_cast<uint8_t>(middle[0] + 128), static_cast<uint8_t>(middle[1] + 128),
                               static_cast<uint8_t>(middle[2] + 128)};
    std::vector<uint8_t> expected(before.size());
    for (size_t i = 0; i < expected.size(); i += 4)
      std::memcpy(&expected[i], colour, 3);
    if (PresentColour(probe, format, colour) && ReadScreen(area, after))
      result = CompareFrameWithScreen(expected.data(), after.data(), kProbeSize, kProbeSize, visible);
  }
  DestroyWindow(probe);
  return result;
}

} // namespace pfw::gui
