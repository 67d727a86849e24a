// Times full redraws of a page like the editor's (1180 x 800: about 300 paths with
// gradients and strokes, 200 text runs, 2 layers) through the vector renderer on the GL
// context of a real window, at screen scales 1 and 1.5: ms per frame (median and worst,
// with the GL work finished) and the GL calls per frame. A development aid run under
// Wine with tools/renderer-speed; not a test.
#include "GLCallCount.h"
#include "ProcessCpuTime.h"
#include "tests/framework/graphics/FakeDelegate.h"
#include "tests/framework/graphics/renderer/TestGuiVG.h"

#include "framework/graphics/renderer/GLFunctions.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <vector>

using namespace pfw::gui;

namespace {

using Clock = std::chrono::steady_clock;

IArgbColour Grey(int v, int a = 255)
{
  return IArgbColour(a, v, v, v);
}

// One knob: a shaded body, a value arc over a track, a pointer, a label and a value.
void Knob(IGui& g, float cx, float cy, float value, const ITextStyle& label, const ITextStyle& readout, int index)
{
  IColourSource body(IColourSource::kRadial);
  body.AddStop(Grey(120), 0.f);
  body.AddStop(Grey(40), 1.f);
  body.transform.Scale(1.0 / 22.0, 1.0 / 22.0).Translate(-(cx - 6.0), -(cy - 6.0));
  g.PathClear();
  g.PathCircle(cx, cy, 20.f);
  g.PathFill(body, IFillRule(), nullptr);
  g.DrawArc(Grey(70), cx, cy, 25.f, -135.f, 135.f, nullptr, 3.f);
  g.DrawArc(IArgbColour(255, 230, 140, 40), cx, cy, 25.f, -135.f, -135.f + 270.f * value, nullptr, 3.f);
  const float a = (-135.f + 270.f * value) / 180.f * 3.14159265f;
  g.DrawLine(Grey(240), cx, cy, cx + 16.f * std::sin(a), cy - 16.f * std::cos(a), nullptr, 2.f);
  char text[32];
  std::snprintf(text, sizeof(text), "Knob %d", index);
  g.DrawText(label, text, IRectF(cx - 40.f, cy + 28.f, cx + 40.f, cy + 42.f));
  std::snprintf(text, sizeof(text), "%.1f dB", value * 24.f - 12.f);
  g.DrawText(readout, text, IRectF(cx - 40.f, cy + 42.f, cx + 40.f, cy + 56.f));
}

void Panel(IGui& g, const IRectF& r)
{
  const IColourSource shade = IColourSource::CreateLinearGradient(
    r.L, r.T, r.L, r.B, {IColourStop{Grey(58), 0.f}, IColourStop{Grey(36), 1.f}});
  g.PathClear();
  g.PathRoundRect(r, 6.f);
  g.PathFill(shade, IFillRule(), nullptr);
  g.DrawRoundRect(Grey(90), r, 6.f, nullptr, 1.f);
}

// The page: a backdrop, twelve panels, 48 knobs, a strip of switches, a spectrum,
// help text and two layers (a drawn pedal with a drop shadow, and a meter block).
void EditorLikePage(IGui& g)
{
  ITextStyle label;
  label.SetFontId("Roboto");
  label.size = 12.f;
  label.colour = Grey(220);
  ITextStyle readout = label;
  readout.size = 11.f;
  readout.colour = IArgbColour(255, 230, 140, 40);
  ITextStyle heading = label;
  heading.size = 16.f;
  heading.hAlign = ITextStyle::kAlignNear;

  const IColourSource backdrop = IColourSource::CreateLinearGradient(
    0.f, 0.f, 0.f, 800.f, {IColourStop{Grey(30), 0.f}, IColourStop{Grey(18), 1.f}});
  g.PathClear();
  g.PathRect(IRectF(0.f, 0.f, 1180.f, 800.f));
  g.PathFill(backdrop, IFillRule(), nullptr);

  // Six tabs.
  for (int i = 0; i < 6; ++i)
  {
    const IRectF tab(20.f + i * 120.f, 10.f, 130.f + i * 120.f, 40.f);
    g.FillRoundRect(i == 1 ? IArgbColour(255, 230, 140, 40) : Grey(50), tab, 4.f);
    g.DrawText(label, i == 1 ? "AMPLIFIER" : "VIEW", tab);
  }
  // Twelve panels of four knobs each (12 x (2 + 4 x 5) paths, 12 x (1 + 4 x 2) texts).
  int index = 0;
  for (int p = 0; p < 12; ++p)
  {
    const float x = 20.f + (p % 4) * 285.f;
    const float y = 60.f + (p / 4) * 150.f;
    Panel(g, IRectF(x, y, x + 270.f, y + 140.f));
    g.DrawText(heading, "Section", IRectF(x + 10.f, y + 4.f, x + 200.f, y + 24.f));
    g.DrawText(readout, "ON", IRectF(x + 200.f, y + 6.f, x + 230.f, y + 20.f));
    g.DrawText(readout, "A/B", IRectF(x + 232.f, y + 6.f, x + 262.f, y + 20.f));
    for (int k = 0; k < 4; ++k, ++index)
      Knob(g, x + 40.f + k * 63.f, y + 60.f, static_cast<float>((index * 37) % 100) / 100.f, label, readout, index);
  }
  // A strip of 16 stage switches with names.
  for (int i = 0; i < 16; ++i)
  {
    const IRectF r(20.f + i * 71.f, 520.f, 85.f + i * 71.f, 545.f);
    g.FillRoundRect(i % 3 ? Grey(60) : IArgbColour(255, 80, 160, 90), r, 3.f);
    g.DrawRoundRect(Grey(100), r, 3.f);
    g.DrawText(label, "STAGE", r);
  }
  // A spectrum: two filled curves and a grid with labels.
  const IRectF display(20.f, 560.f, 760.f, 780.f);
  g.FillRect(Grey(12), display);
  g.DrawGrid(Grey(45), display, 46.f, 22.f);
  for (int c = 0; c < 2; ++c)
  {
    std::vector<float> ys(256);
    for (int i = 0; i < 256; ++i)
      ys[static_cast<size_t>(i)] = 0.5f + 0.4f * std::sin(i * 0.07f + c) * std::exp(-i / 300.f);
    const IArgbColour fill(90, c ? 80 : 230, c ? 160 : 140, c ? 230 : 40);
    g.DrawData(IArgbColour(255, c ? 80 : 230, c ? 160 : 140, c ? 230 : 40), display, ys.data(), 256, nullptr,
               nullptr, 1.5f, &fill);
  }
  for (int i = 0; i < 16; ++i)
    g.DrawText(readout, "1k", IRectF(20.f + i * 46.f, 765.f, 60.f + i * 46.f, 780.f));
  // Help text.
  ITextStyle help = label;
  help.hAlign = ITextStyle::kAlignNear;
  help.vAlign = ITextStyle::kAlignNear;
  g.DrawMultiLineText(help,
                      "Drive sets how hard the preamp is pushed. Higher settings add gain and compression; lower "
                      "settings keep the attack clean. The tone stack follows the drive stage.",
                      IRectF(780.f, 560.f, 1160.f, 640.f));
  for (int i = 0; i < 24; ++i)
  {
    const float x = 780.f + (i / 12) * 190.f;
    const float y = 645.f + (i % 12) * 12.5f;
    g.DrawText(readout, "Status line text", IRectF(x, y, x + 185.f, y + 12.f));
  }

  // Layer 1: a pedal drawn into a layer and shadowed.
  g.StartLayer(nullptr, IRectF(900.f, 520.f, 1060.f, 545.f));
  g.FillRoundRect(IArgbColour(255, 170, 40, 40), IRectF(905.f, 522.f, 1055.f, 543.f), 4.f);
  g.DrawText(label, "PEDAL", IRectF(905.f, 522.f, 1055.f, 543.f));
  std::unique_ptr<ILayer> pedal = g.EndLayer();
  IShadow shadow;
  shadow.blurSize = 3.f;
  shadow.xOffset = 3.f;
  shadow.yOffset = 3.f;
  g.ApplyLayerDropShadow(*pedal, shadow);
  g.DrawBitmap(IBitmapRef(pedal->bitmap.get(), "", 1, false), pedal->rect, 0, 0);
  // Layer 2: a block of meters.
  g.StartLayer(nullptr, IRectF(1070.f, 520.f, 1160.f, 550.f));
  for (int m = 0; m < 12; ++m)
    g.FillRect(IArgbColour(255, 80, 200 - m * 10, 90), IRectF(1072.f + m * 7.f, 522.f, 1077.f + m * 7.f, 548.f));
  std::unique_ptr<ILayer> meters = g.EndLayer();
  g.DrawBitmap(IBitmapRef(meters->bitmap.get(), "", 1, false), meters->rect, 0, 0);
}

void TimeScale(pfw::IGuiEditorDelegate& delegate, float screenScale, int frames, const void* font, int fontSize)
{
  TestGuiVG gui(delegate, 1180, 800);
  if (!gui.Open(screenScale))
  {
    std::printf("scale %.1f: %s\n", screenScale, gui.Error().c_str());
    return;
  }
  if (!gui.LoadFontFromData("Roboto", font, fontSize))
    std::printf("scale %.1f: the font did not load, text is not drawn\n", screenScale);
  for (int i = 0; i < 10; ++i)
    gui.DrawFrame(EditorLikePage);
  pfw::gl::glFinish();

  // Whole frames, the GL work finished; and the part until the frame's end returns.
  std::vector<double> ms, submitted;
  const double cpuStart = ProcessCpuSeconds();
  for (int i = 0; i < frames; ++i)
  {
    const Clock::time_point start = Clock::now();
    gui.DrawFrame(EditorLikePage);
    const Clock::time_point ended = Clock::now();
    pfw::gl::glFinish();
    ms.push_back(std::chrono::duration<double, std::milli>(Clock::now() - start).count());
    submitted.push_back(std::chrono::duration<double, std::milli>(ended - start).count());
  }
  const double cpuEnd = ProcessCpuSeconds();
  const double cpuPerFrame = cpuStart >= 0.0 && cpuEnd >= 0.0 ? (cpuEnd - cpuStart) * 1000.0 / frames : -1.0;
  std::sort(submitted.begin(), submitted.end());
  // One more frame with every GL call counted (the window's context reloads the plain
  // entry points, so the counters go on after the timing).
  CountGLCalls();
  const long before = gGLCalls;
  gui.DrawFrame(EditorLikePage);
  const long calls = gGLCalls - before;
  std::sort(ms.begin(), ms.end());
  const double mean = [&] {
    double sum = 0.0;
    for (double v : ms)
      sum += v;
    return sum / static_cast<double>(ms.size());
  }();
  std::printf("scale %.1f (%d x %d pixels): median %.2f ms, mean %.2f ms, worst %.2f ms per full redraw "
              "(%.2f ms until the frame's end returns); %ld GL calls per frame; %.1f ms of CPU per frame, all threads\n",
              screenScale, gui.PixelWidth(), gui.PixelHeight(), ms[ms.size() / 2], mean, ms.back(),
              submitted[submitted.size() / 2], calls, cpuPerFrame);
  gui.ReadMain().WritePng("renderer-speed-page-" + std::to_string(static_cast<int>(screenScale * 10)));
}

} // namespace

int main(int argc, char** argv)
{
  const int frames = argc > 1 ? std::max(1, std::atoi(argv[1])) : 100;
  HRSRC resource = FindResourceW(nullptr, L"ROBOTO_REGULAR", L"TTF");
  HGLOBAL loaded = resource ? LoadResource(nullptr, resource) : nullptr;
  const void* font = loaded ? LockResource(loaded) : nullptr;
  const int fontSize = resource ? static_cast<int>(SizeofResource(nullptr, resource)) : 0;
  FakeDelegate delegate;
  for (float scale : {1.f, 1.5f})
    TimeScale(delegate, scale, frames, font, fontSize);
  return 0;
}
