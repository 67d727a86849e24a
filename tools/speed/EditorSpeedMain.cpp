// Times the editor's frames in a real editor window (the platform's window over the
// renderer, Mesa's software GL under Wine) while a guitar-like signal runs through the
// plug-in: one full redraw, one frame with only the signal display dirty (the least every
// frame of a playing editor draws) and one of a single pixel (what any frame costs), at
// draw scales 1 and 1.5: wall ms with the GL work finished, CPU ms of all threads, and the
// GL calls of each kind of frame. Writes the editor at rest and playing, at each scale and
// for a few rig settings, as PNGs beside the program. A development aid run with
// tools/editor-speed; not a test.
#include "GLCallCount.h"
#include "ProcessCpuTime.h"
#include "bench/EngineScenario.h"
#include "tests/framework/graphics/renderer/TestGuiVG.h"

#include "framework/graphics/renderer/GLFramebuffer.h"
#include "framework/graphics/renderer/GLFunctions.h"
#include "framework/platform/windows/IGuiWin.h"
#include "product/core/Tarnwick.h"
#include "product/editor/EditorLayout.h"
#include "product/editor/SignalDisplay.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

using namespace pfw::gui;

namespace {

using Clock = std::chrono::steady_clock;

// The plug-in playing a plucked A2 in 512-frame blocks.
class Player
{
public:
  explicit Player(Tarnwick& plugin)
    : mPlugin(plugin)
    , mSignal(engine_scenario::GuitarLike(48000, 48000.0))
    , mOut(2, std::vector<float>(kBlock))
  {
  }

  // About one frame's worth of audio (three blocks, 32 ms).
  void PlayFrame(bool silent = false)
  {
    for (int b = 0; b < 3; ++b)
    {
      float* block = (silent ? mSilence.data() : mSignal.data() + mPosition);
      float* inputs[2] = {block, block};
      float* outputs[2] = {mOut[0].data(), mOut[1].data()};
      mPlugin.ProcessHostBlock(inputs, 2, outputs, kBlock);
      mPosition = (mPosition + kBlock) % (static_cast<int>(mSignal.size()) - kBlock);
    }
  }

private:
  static constexpr int kBlock = 512;
  Tarnwick& mPlugin;
  std::vector<float> mSignal;
  std::vector<float> mSilence = std::vector<float>(kBlock, 0.f);
  std::vector<std::vector<float>> mOut;
  int mPosition = 0;
};

// The editor's last frame, read from the framebuffer every frame is drawn into (the
// window itself may reach beyond the virtual screen at the larger scale).
PixelImage ReadFrame(IGuiWin& gui)
{
  using namespace pfw::gl;
  PixelImage image;
  image.width = static_cast<int>(gui.Width() * gui.GetTotalScale());
  image.height = static_cast<int>(gui.Height() * gui.GetTotalScale());
  std::vector<unsigned char> bottomUp(static_cast<size_t>(image.width) * image.height * 4);
  gui.ActivateGLContext();
  glBindFramebuffer(GL_FRAMEBUFFER, gui.MainFramebuffer()->framebuffer);
  glPixelStorei(GL_PACK_ALIGNMENT, 1);
  glReadPixels(0, 0, image.width, image.height, GL_RGBA, GL_UNSIGNED_BYTE, bottomUp.data());
  glBindFramebuffer(GL_FRAMEBUFFER, gui.DefaultFramebuffer());
  gui.DeactivateGLContext();
  image.rgba.resize(bottomUp.size());
  const size_t row = static_cast<size_t>(image.width) * 4;
  for (int y = 0; y < image.height; ++y)
    std::copy_n(&bottomUp[(image.height - 1 - y) * row], row, &image.rgba[y * row]);
  return image;
}

// Draws the areas with the GL work finished; returns the milliseconds it took.
double DrawAreas(IGuiWin& gui, IRectFList& areas)
{
  gui.ActivateGLContext();
  const Clock::time_point start = Clock::now();
  gui.Draw(areas);
  pfw::gl::glFinish();
  const double ms = std::chrono::duration<double, std::milli>(Clock::now() - start).count();
  gui.DeactivateGLContext();
  return ms;
}

double FullFrame(IGuiWin& gui)
{
  gui.SetAllControlsDirty();
  IRectFList areas;
  gui.IsDirty(areas);
  gui.SetAllControlsClean();
  return DrawAreas(gui, areas);
}

// One pixel beside the preset box: what any frame costs.
double OnePixelFrame(IGuiWin& gui)
{
  IRectFList pixel;
  pixel.Add(IRectF(1160.f, 10.f, 1161.f, 11.f));
  return DrawAreas(gui, pixel);
}

// Only the display: its poll (the snapshot copy) and its area.
double DisplayFrame(IGuiWin& gui, IControl& display)
{
  const Clock::time_point start = Clock::now();
  display.IsDirty();
  const double pollMs = std::chrono::duration<double, std::milli>(Clock::now() - start).count();
  IRectFList areas;
  areas.Add(display.GetRECT().Inflated(0.75f));
  return pollMs + DrawAreas(gui, areas);
}

// Wall milliseconds of each frame of a kind and the CPU milliseconds of all threads per
// frame, summed over the frames alone (not the audio played between them).
struct Figure
{
  std::vector<double> ms;
  double cpuMs = 0.0;
};

template <typename Frame>
Figure Measure(int frames, const Frame& frame)
{
  Figure figure;
  for (int i = 0; i < frames; ++i)
  {
    const double cpuStart = ProcessCpuSeconds();
    figure.ms.push_back(frame());
    figure.cpuMs += (ProcessCpuSeconds() - cpuStart) * 1000.0 / frames;
  }
  return figure;
}

void Report(const char* what, Figure figure)
{
  std::sort(figure.ms.begin(), figure.ms.end());
  std::printf("  %-34s median %6.2f ms, worst %6.2f ms, %6.2f ms of CPU\n", what, figure.ms[figure.ms.size() / 2],
              figure.ms.back(), figure.cpuMs);
}

LRESULT CALLBACK ParentProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
  return DefWindowProcW(window, message, wParam, lParam);
}

HWND MakeParentWindow()
{
  WNDCLASSW windowClass = {};
  windowClass.lpfnWndProc = ParentProc;
  windowClass.hInstance = GetModuleHandleW(nullptr);
  windowClass.lpszClassName = L"TarnwickEditorSpeed";
  RegisterClassW(&windowClass);
  return CreateWindowExW(0, windowClass.lpszClassName, L"Editor speed", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 1900,
                         1300, nullptr, nullptr, windowClass.hInstance, nullptr);
}

// As a host sets a value: the parameter, then the editor's controls of it.
void SetParam(Tarnwick& plugin, int index, double value)
{
  const double normalized = plugin.GetParam(index)->ToNormalized(value);
  plugin.SetParameterValue(index, normalized);
  plugin.SendParameterValueFromDelegate(index, normalized, true);
}

// The rig in a few settings of its own, at rest.
void WriteRigPictures(Tarnwick& plugin, IGuiWin& gui)
{
  struct Setting
  {
    const char* name;
    std::vector<std::pair<int, double>> values;
  };
  const Setting settings[] = {
    {"rig-two-speakers-hot-pedal", {{kParamCabType, 2}, {kParamPedalType, 8}, {kParamMicPosition, 100}, {kParamMicDistance, 1}}},
    {"rig-four-speakers-blue-pedal", {{kParamCabType, 5}, {kParamPedalType, 13}, {kParamMicPosition, 0}, {kParamMicDistance, 100}}},
    {"rig-direct-cabinet-off", {{kParamCabType, 9}, {kParamCabEnabled, 0}, {kParamPedalEnabled, 0}}},
  };
  for (const Setting& setting : settings)
  {
    for (const auto& [index, value] : setting.values)
      SetParam(plugin, index, value);
    FullFrame(gui);
    std::printf("wrote %s\n", ReadFrame(gui).WritePng(setting.name).c_str());
  }
}

} // namespace

int main(int argc, char** argv)
{
  const int frames = argc > 1 ? std::max(1, std::atoi(argv[1])) : 100;
  TarnwickInstanceInfo info;
  std::unique_ptr<Tarnwick> plugin(MakeTarnwick(info));
  HWND parent = MakeParentWindow();
  if (!plugin || !parent)
  {
    std::printf("the plug-in or the window could not be made\n");
    return 1;
  }
  plugin->SetSampleRate(48000.0);
  plugin->OnActivate(true);
  SetParam(*plugin, kParamPedalEnabled, 1.0);
  plugin->SetMakeGraphicsFunc([&plugin]() -> pfw::IEditorGraphics* {
    auto* gui = new IGuiWin(*plugin, editor::kEditorLayoutWidth, editor::kEditorLayoutHeight, editor::kEditorFps);
    gui->SetWinModuleHandle(GetModuleHandleW(nullptr));
    return gui;
  });
  plugin->SetLayoutFunc([&plugin](pfw::IEditorGraphics* graphics) {
    editor::BuildEditorLayout(plugin->Product(), static_cast<IGui*>(graphics));
  });
  if (!plugin->OpenWindow(parent))
  {
    std::printf("the editor window could not be opened\n");
    return 1;
  }
  auto& gui = *static_cast<IGuiWin*>(plugin->GetGraphics());
  IControl* display = nullptr;
  for (int i = 0; i < gui.NControls(); ++i)
    if (auto* found = dynamic_cast<editor::SignalDisplay*>(gui.GetControl(i)))
      display = found;
  if (!gui.GetDrawContext() || !display)
  {
    std::printf("the editor has no renderer or no signal display\n");
    return 1;
  }

  Player player(*plugin);
  for (const float scale : {1.f, 1.5f})
  {
    gui.ActivateGLContext();
    gui.Resize(editor::kEditorLayoutWidth, editor::kEditorLayoutHeight, scale, true);
    gui.DeactivateGLContext();
    const std::string suffix = scale == 1.f ? "-scale-10" : "-scale-15";
    for (int i = 0; i < 10; ++i)
      player.PlayFrame(true);
    FullFrame(gui);
    std::printf("wrote %s\n", ReadFrame(gui).WritePng("editor-at-rest" + suffix).c_str());

    const Figure full = Measure(frames, [&] {
      player.PlayFrame();
      return FullFrame(gui);
    });
    const Figure onePixel = Measure(frames, [&] { return OnePixelFrame(gui); });
    const Figure displayOnly = Measure(frames, [&] {
      player.PlayFrame();
      return DisplayFrame(gui, *display);
    });
    std::printf("draw scale %.1f (%d x %d pixels), %d frames each, a plucked A2 playing:\n", scale,
                static_cast<int>(gui.Width() * gui.GetTotalScale()), static_cast<int>(gui.Height() * gui.GetTotalScale()),
                frames);
    Report("full redraw", full);
    Report("only the signal display dirty", displayOnly);
    Report("one pixel (the cost of any frame)", onePixel);
    FullFrame(gui);
    std::printf("wrote %s\n", ReadFrame(gui).WritePng("editor-playing" + suffix).c_str());
  }
  // Counted last: the counting entry points cost a little themselves.
  CountGLCalls();
  const long beforeFull = gGLCalls;
  FullFrame(gui);
  const long beforeDisplay = gGLCalls;
  DisplayFrame(gui, *display);
  const long beforePixel = gGLCalls;
  OnePixelFrame(gui);
  std::printf("GL calls per frame: %ld full redraw, %ld only the signal display, %ld one pixel\n",
              beforeDisplay - beforeFull, beforePixel - beforeDisplay, gGLCalls - beforePixel);
  WriteRigPictures(*plugin, gui);
  plugin->CloseWindow();
  DestroyWindow(parent);
  return 0;
}
