#include "SwapBehaviour.h"

#include "framework/graphics/renderer/GLFunctions.h"

namespace pfw::gui {

using namespace gl;

namespace {

// Clears the back buffer to a grey of the given byte value and swaps it to the window.
void SwapGrey(HDC dc, int value)
{
  const GLfloat grey = static_cast<GLfloat>(value) / 255.f;
  glClearColor(grey, grey, grey, 1.f);
  glClear(GL_COLOR_BUFFER_BIT);
  SwapBuffers(dc);
}

} // namespace

bool SwapKeepsBackBuffer(HDC dc)
{
  PIXELFORMATDESCRIPTOR format = {};
  const int index = GetPixelFormat(dc);
  if (!index || !DescribePixelFormat(dc, index, sizeof(format), &format))
    return false;
  if (format.dwFlags & PFD_SWAP_COPY)
    return true;
  if (format.dwFlags & PFD_SWAP_EXCHANGE)
    return false;
  // Near-black greys: the window shows nothing worth seeing before its first frame.
  constexpr int kFirst = 0;
  constexpr int kSecond = 8;
  SwapGrey(dc, kFirst);
  SwapGrey(dc, kSecond);
  unsigned char pixel[4] = {};
  glPixelStorei(GL_PACK_ALIGNMENT, 1);
  glReadPixels(0, 0, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, pixel);
  const bool kept = pixel[0] == kSecond && pixel[1] == kSecond && pixel[2] == kSecond;
  glClearColor(0.f, 0.f, 0.f, 0.f);
  glClear(GL_COLOR_BUFFER_BIT);
  return kept;
}

} // namespace pfw::gui
