#include "wrappers/standalone/program/WindowCapture.h"

#include "framework/graphics/renderer/GLFramebuffer.h"
#include "framework/graphics/renderer/GLFunctions.h"
#include "framework/platform/windows/IGuiWin.h"
#include "framework/platform/windows/MemoryBitmap.h"
#include "wrappers/standalone/program/CapturedImage.h"

#include <cstring>
#include <utility>

namespace {

// The client area through the system: printed with full content, else copied from the
// window's device context.
bool CaptureClientArea(HWND window, int width, int height, CapturedImage& image)
{
  HDC windowDC = GetDC(window);
  if (!windowDC)
    return false;
  bool captured = false;
  {
    pfw::gui::MemoryBitmap copy(windowDC, width, height);
    captured = copy.Valid() && (PrintWindow(window, copy.DC(), PW_CLIENTONLY | PW_RENDERFULLCONTENT) ||
                                BitBlt(copy.DC(), 0, 0, width, height, windowDC, 0, 0, SRCCOPY));
    if (captured)
    {
      image.Resize(width, height);
      std::memcpy(image.rgba.data(), copy.Bits(), image.rgba.size());
      for (size_t i = 0; i < image.rgba.size(); i += 4)
      {
        std::swap(image.rgba[i], image.rgba[i + 2]);
        image.rgba[i + 3] = 255;
      }
    }
  }
  ReleaseDC(window, windowDC);
  return captured;
}

// The editor's last frame from its main framebuffer, which has the window's pixel size.
bool ReadEditorFrame(pfw::gui::IGuiWin& editor, int width, int height, CapturedImage& frame)
{
  using namespace pfw::gl;
  const pfw::gui::VectorFramebuffer* main = editor.MainFramebuffer();
  if (!main || width <= 0 || height <= 0)
    return false;
  frame.Resize(width, height);
  std::vector<uint8_t> bottomUp(frame.rgba.size());
  editor.ActivateGLContext();
  // Errors left by earlier drawing are not this read's.
  for (int stale = 0; stale < 16 && glGetError() != GL_NO_ERROR; ++stale)
  {
  }
  GLint previous = 0;
  glGetIntegerv(GL_FRAMEBUFFER_BINDING, &previous);
  glBindFramebuffer(GL_FRAMEBUFFER, main->framebuffer);
  glPixelStorei(GL_PACK_ALIGNMENT, 1);
  glReadPixels(0, 0, width, height, GL_RGBA, GL_UNSIGNED_BYTE, bottomUp.data());
  const bool read = glGetError() == GL_NO_ERROR;
  glBindFramebuffer(GL_FRAMEBUFFER, static_cast<GLuint>(previous));
  editor.DeactivateGLContext();
  const size_t row = static_cast<size_t>(width) * 4;
  for (int y = 0; y < height; ++y)
    std::memcpy(&frame.rgba[y * row], &bottomUp[(height - 1 - y) * row], row);
  for (size_t i = 3; i < frame.rgba.size(); i += 4)
    frame.rgba[i] = 255;
  return read;
}

} // namespace

bool CaptureWindowToPng(HWND window, const char* path, pfw::gui::IGuiWin* editor)
{
  RECT client;
  if (!window || !path || !GetClientRect(window, &client))
    return false;
  const int width = client.right - client.left, height = client.bottom - client.top;
  if (width <= 0 || height <= 0)
    return false;

  HWND editorWindow = editor ? static_cast<HWND>(editor->GetWindow()) : nullptr;
  // What is captured is the editor's current frame, not one still to come.
  if (editorWindow)
    RedrawWindow(editorWindow, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);

  CapturedImage image;
  if (!CaptureClientArea(window, width, height, image))
    return false;

  RECT area;
  if (editorWindow && GetClientRect(editorWindow, &area))
  {
    MapWindowPoints(editorWindow, window, reinterpret_cast<POINT*>(&area), 2);
    CapturedImage frame;
    if (image.IsUniform(area.left, area.top, area.right, area.bottom) &&
        ReadEditorFrame(*editor, area.right - area.left, area.bottom - area.top, frame))
      image.Paste(frame, area.left, area.top);
  }
  // A flat image shows nothing of the window.
  if (image.IsUniform())
    return false;
  return image.WritePng(path);
}
