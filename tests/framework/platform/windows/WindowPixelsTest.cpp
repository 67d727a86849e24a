#include "EditorWindowFixture.h"

#include "framework/graphics/renderer/GLFunctions.h"

#define STB_IMAGE_WRITE_STATIC
#define STB_IMAGE_WRITE_IMPLEMENTATION
#include <stb_image_write.h>

using namespace pfw::gui;

namespace {

// An editor window that keeps what each frame left in the window's back buffer (rows
// bottom-up, RGBA).
class ReadBackGui : public IGuiWin
{
public:
  using IGuiWin::IGuiWin;
  void EndFrame() override
  {
    IGuiWin::EndFrame();
    pfw::gl::GLint viewport[4] = {};
    pfw::gl::glGetIntegerv(pfw::gl::GL_VIEWPORT, viewport);
    width = viewport[2];
    height = viewport[3];
    pixels.assign(static_cast<size_t>(width) * height * 4, 0);
    pfw::gl::glReadPixels(0, 0, width, height, pfw::gl::GL_RGBA, pfw::gl::GL_UNSIGNED_BYTE, pixels.data());
  }
  IArgbColour At(int x, int y) const
  {
    const unsigned char* p = &pixels[(static_cast<size_t>(height - 1 - y) * width + x) * 4];
    return IArgbColour(p[3], p[0], p[1], p[2]);
  }

  int width = 0;
  int height = 0;
  std::vector<unsigned char> pixels;
};

} // namespace

UINT gMonitorDpi = 96;

// At 96 DPI, and after the monitor turned to 144 DPI (one tick takes up the new scale,
// the next draws at it).
TEST_F(EditorWindowTest, TheWindowShowsWhatItsControlsDrawAtEitherMonitorScale)
{
  Machine().getDpiForWindow = [](HWND) { return gMonitorDpi; };
  gMonitorDpi = 96;
  // Room for the window at either scale: Wine's GL shows what the host shows of it.
  SetWindowPos(host.Handle(), nullptr, 0, 0, 600, 500, SWP_NOZORDER | SWP_NOMOVE | SWP_NOACTIVATE);
  auto* window = new ReadBackGui(delegate, 300, 200, 30);
  gui.reset(window);
  ASSERT_TRUE(gui->OpenWindow(host.Handle()));
  const IArgbColour background(255, 30, 30, 40), red(255, 220, 40, 40), green(255, 40, 200, 90);
  Add(IRectF(0, 0, 300, 200))->colour = background;
  Add(IRectF(30, 50, 130, 150))->colour = red;
  CountingControl* rounded = Add(IRectF(170, 50, 270, 150));
  rounded->colour = green;
  rounded->cornerRadius = 20.f;

  for (const float s : {1.f, 1.5f})
  {
    gMonitorDpi = static_cast<UINT>(96 * s);
    Tick();
    Tick();
    ASSERT_EQ(window->width, static_cast<int>(300 * s));
    ASSERT_EQ(window->height, static_cast<int>(200 * s));
    const std::string png = std::string(TARNWICK_TEST_OUTPUT_DIR) + "/editor-window-" + std::to_string(window->width) + ".png";
    stbi_flip_vertically_on_write(1);
    EXPECT_TRUE(stbi_write_png(png.c_str(), window->width, window->height, 4, window->pixels.data(), window->width * 4));
    const auto at = [&](float x, float y) { return window->At(static_cast<int>(x * s), static_cast<int>(y * s)); };
    EXPECT_EQ(at(5, 5), background);
    EXPECT_EQ(at(80, 100), red);
    EXPECT_EQ(at(220, 100), green);
    EXPECT_EQ(at(172, 52), background) << "the rounded corner";
  }
}
