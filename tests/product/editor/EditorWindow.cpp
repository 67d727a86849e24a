#include "EditorWindow.h"

#include "framework/graphics/renderer/GLFramebuffer.h"
#include "framework/graphics/renderer/GLFunctions.h"
#include "framework/platform/windows/IGuiWin.h"

#define STB_IMAGE_WRITE_STATIC
#define STB_IMAGE_WRITE_IMPLEMENTATION
#include <stb_image_write.h>

#include <cmath>
#include <cstring>

using namespace pfw::gl;

namespace {
const wchar_t* kParentClass = L"TarnwickEditorTestParent";

LRESULT CALLBACK ParentProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
  return DefWindowProcW(window, message, wParam, lParam);
}
} // namespace

void EditorWindow::Image::At(float x, float y, float s, int rgb[3]) const
{
  const int px = static_cast<int>(std::floor(x * s));
  const int py = static_cast<int>(std::floor(y * s));
  const bool inside = px >= 0 && py >= 0 && px < width && py < height;
  const unsigned char* p = inside ? &rgba[(static_cast<size_t>(py) * width + px) * 4] : nullptr;
  for (int c = 0; c < 3; ++c)
    rgb[c] = p ? p[c] : -1;
}

std::string EditorWindow::Image::WritePng(const std::string& name) const
{
  CreateDirectoryA(TARNWICK_EDITOR_PICTURES_DIR, nullptr);
  const std::string path = std::string(TARNWICK_EDITOR_PICTURES_DIR) + "/" + name + ".png";
  stbi_write_png(path.c_str(), width, height, 4, rgba.data(), width * 4);
  return path;
}

EditorWindow::EditorWindow()
  : mPlugin(tarnwick_test::MakePlugin())
{
}

EditorWindow::~EditorWindow()
{
  if (mPlugin)
    mPlugin->CloseWindow();
  if (mParent)
    DestroyWindow(mParent);
}

bool EditorWindow::Open()
{
  WNDCLASSW windowClass = {};
  windowClass.lpfnWndProc = ParentProc;
  windowClass.hInstance = GetModuleHandleW(nullptr);
  windowClass.lpszClassName = kParentClass;
  RegisterClassW(&windowClass);
  mParent = CreateWindowExW(0, kParentClass, L"TARN WICK", WS_POPUP | WS_VISIBLE, 0, 0, 1180, 800, nullptr, nullptr,
                            windowClass.hInstance, nullptr);
  if (!mParent)
  {
    mError = "no parent window";
    return false;
  }
  mChild = static_cast<HWND>(mPlugin->OpenWindow(mParent));
  mGui = dynamic_cast<pfw::gui::IGuiWin*>(mPlugin->GetUI());
  if (!mChild || !mGui || !mGui->MainFramebuffer())
  {
    mError = "the editor did not open with a GL context";
    return false;
  }
  return true;
}

void EditorWindow::Click(float x, float y)
{
  const float s = mGui->GetDrawScale() * mGui->GetScreenScale();
  const LPARAM at = MAKELPARAM(static_cast<int>(x * s), static_cast<int>(y * s));
  SendMessageW(mChild, WM_MOUSEMOVE, 0, at);
  SendMessageW(mChild, WM_LBUTTONDOWN, MK_LBUTTON, at);
  SendMessageW(mChild, WM_LBUTTONUP, 0, at);
}

void EditorWindow::Frame()
{
  pfw::gui::IRectFList dirty;
  mGui->IsDirty(dirty);
  mGui->SetAllControlsClean();
  InvalidateRect(mChild, nullptr, FALSE);
  UpdateWindow(mChild);
}

EditorWindow::Image EditorWindow::Capture()
{
  Image image;
  const pfw::gui::VectorFramebuffer* main = mGui->MainFramebuffer();
  const float s = mGui->GetDrawScale() * mGui->GetScreenScale();
  image.width = static_cast<int>(std::lround(mGui->Width() * s));
  image.height = static_cast<int>(std::lround(mGui->Height() * s));
  image.rgba.assign(static_cast<size_t>(image.width) * image.height * 4, 0);
  if (!main)
    return image;
  std::vector<unsigned char> bottomUp(image.rgba.size());
  mGui->ActivateGLContext();
  GLint previous = 0;
  glGetIntegerv(GL_FRAMEBUFFER_BINDING, &previous);
  glBindFramebuffer(GL_FRAMEBUFFER, main->framebuffer);
  glPixelStorei(GL_PACK_ALIGNMENT, 1);
  glReadPixels(0, 0, image.width, image.height, GL_RGBA, GL_UNSIGNED_BYTE, bottomUp.data());
  glBindFramebuffer(GL_FRAMEBUFFER, static_cast<GLuint>(previous));
  mGui->DeactivateGLContext();
  const size_t row = static_cast<size_t>(image.width) * 4;
  for (int y = 0; y < image.height; ++y)
    std::memcpy(&image.rgba[y * row], &bottomUp[(image.height - 1 - y) * row], row);
  return image;
}
