#include "EditorWindowFixture.h"

#include "framework/graphics/renderer/GLFunctions.h"
#include "framework/platform/windows/FrameOnScreen.h"

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
FrameOnScreen gProbeResult = FrameOnScreen::kUndecided;

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

// However the frames reach the screen (SwapBuffers in the editor window, or a copy from a
// hidden window), the context draws the same frame, and the path settles as the machine
// and the probe of a GL child window say.
TEST_F(EditorWindowTest, EachFramePathDrawsTheFrame)
{
  using Path = IGuiWin::FramePath;
  const struct
  {
    bool wine;
    FrameOnScreen probe;
    Path opened, settled;
  } cases[] = {
    {false, FrameOnScreen::kMissing, Path::kSwapBuffers, Path::kSwapBuffers},
    {true, FrameOnScreen::kMissing, Path::kCopyUntilProbed, Path::kCopyThroughGdi},
    {true, FrameOnScreen::kShown, Path::kCopyUntilProbed, Path::kSwapBuffers},
    {true, FrameOnScreen::kUndecided, Path::kCopyUntilProbed, Path::kCopyUntilProbed},
  };
  for (const auto& c : cases)
  {
    SCOPED_TRACE(static_cast<int>(c.probe) + (c.wine ? 10 : 0));
    Machine().isWine = c.wine ? [] { return true; } : [] { return false; };
    gProbeResult = c.probe;
    Machine().probeGLChildWindow = [](HWND, const wchar_t*, HINSTANCE, const PIXELFORMATDESCRIPTOR&) {
      return gProbeResult;
    };
    auto* window = new ReadBackGui(delegate, 300, 200, 30);
    gui.reset(window);
    ASSERT_TRUE(gui->OpenWindow(host.Handle()));
    EXPECT_EQ(gui->GetFramePath(), c.opened);
    const IArgbColour background(255, 30, 30, 40), red(255, 220, 40, 40);
    Add(IRectF(0, 0, 300, 200))->colour = background;
    Add(IRectF(30, 50, 130, 150))->colour = red;
    // The first frame settles the path; the next is drawn on it.
    Tick();
    EXPECT_EQ(gui->GetFramePath(), c.settled);
    window->pixels.clear();
    RedrawWindow(static_cast<HWND>(gui->GetWindow()), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    ASSERT_FALSE(window->pixels.empty());
    EXPECT_EQ(window->At(5, 5), background);
    EXPECT_EQ(window->At(80, 100), red);
    gui.reset();
  }
}

// What the editor draws reaches the screen, read back through the desktop's device context
// as any screen capture sees it (under Wine: the display's own pixels).
TEST_F(EditorWindowTest, TheScreenShowsTheEditorsFrame)
{
  SetWindowPos(host.Handle(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  ASSERT_TRUE(Open());
  const IArgbColour background(255, 30, 30, 40), red(255, 220, 40, 40), green(255, 40, 200, 90);
  Add(IRectF(0, 0, 300, 200))->colour = background;
  Add(IRectF(30, 50, 130, 150))->colour = red;
  Add(IRectF(170, 50, 270, 150))->colour = green;
  EXPECT_TRUE(PumpUntil([&] {
    Tick();
    return gui->GetFramePath() != IGuiWin::FramePath::kCopyUntilProbed;
  })) << "the probe of a GL child window never saw the window";

  RECT area;
  GetClientRect(editor, &area);
  MapWindowPoints(editor, HWND_DESKTOP, reinterpret_cast<POINT*>(&area), 2);
  std::vector<uint8_t> screen;
  const auto at = [&](int x, int y) {
    const uint8_t* p = &screen[(static_cast<size_t>(y) * (area.right - area.left) + x) * 4];
    return IArgbColour(255, p[2], p[1], p[0]);
  };
  // The system may show a window's drawing a little later.
  const bool shown = PumpUntil([&] {
    Tick();
    return ReadScreen(area, screen) && at(5, 5) == background && at(80, 100) == red && at(220, 100) == green;
  });
  ASSERT_FALSE(screen.empty());
  EXPECT_TRUE(shown) << "the screen shows " << at(5, 5).R << "," << at(5, 5).G << "," << at(5, 5).B << " at (5, 5)";
}
