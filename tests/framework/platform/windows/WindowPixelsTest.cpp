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

TEST_F(EditorWindowTest, TheWindowShowsWhatItsControlsDraw)
{
  auto* window = new ReadBackGui(delegate, 300, 200, 30);
  gui.reset(window);
  ASSERT_TRUE(gui->OpenWindow(host.Handle()));
  const IArgbColour background(255, 30, 30, 40), red(255, 220, 40, 40), green(255, 40, 200, 90);
  Add(IRectF(0, 0, 300, 200))->colour = background;
  Add(IRectF(30, 50, 130, 150))->colour = red;
  CountingControl* rounded = Add(IRectF(170, 50, 270, 150));
  rounded->colour = green;
  rounded->cornerRadius = 20.f;
  Tick();

  ASSERT_EQ(window->width, 300);
  ASSERT_EQ(window->height, 200);
  const std::string png = std::string(TARNWICK_TEST_OUTPUT_DIR) + "/editor-window.png";
  stbi_flip_vertically_on_write(1);
  EXPECT_TRUE(stbi_write_png(png.c_str(), window->width, window->height, 4, window->pixels.data(), window->width * 4));

  EXPECT_EQ(window->At(5, 5), background);
  EXPECT_EQ(window->At(80, 100), red);
  EXPECT_EQ(window->At(220, 100), green);
  EXPECT_EQ(window->At(172, 52), background) << "the rounded corner";
}
