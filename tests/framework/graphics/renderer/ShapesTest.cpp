#include "PixelProbes.h"

#include "framework/graphics/renderer/GLFunctions.h"

#include <cmath>

using namespace pfw::gui;

namespace {
const IArgbColour kInk(255, 200, 40, 20);
const PixelImage::Pixel kInkPixel{200, 40, 20, 255};

struct ShapeCase
{
  const char* name;
  TestGuiVG::DrawFunc draw;
  std::vector<Probe> probes;
};

Probe Ink(float x, float y)
{
  return At(x, y, Coverage::kExact, kInkPixel);
}

Probe Empty(float x, float y)
{
  return At(x, y, Coverage::kEmpty);
}

// A five-pointed star around (100, 60): tips at radius 40, notches at radius 15.
void StarPath(IGui& g)
{
  for (int i = 0; i < 10; ++i)
  {
    const float a = i * 36.f / 180.f * 3.14159265f;
    const float r = (i % 2 == 0) ? 40.f : 15.f;
    const float x = 100.f + r * std::sin(a);
    const float y = 60.f - r * std::cos(a);
    if (i == 0)
      g.PathMoveTo(x, y);
    else
      g.PathLineTo(x, y);
  }
  g.PathClose();
}

// The point at radius r in the direction of degrees clockwise from twelve o'clock.
Probe Polar(float cx, float cy, float r, float degrees, Coverage coverage)
{
  const float a = degrees / 180.f * 3.14159265f;
  return At(cx + r * std::sin(a), cy - r * std::cos(a), coverage, kInkPixel);
}

void StrokedLine(IGui& g, int cap)
{
  IStrokeStyle style;
  style.cap = cap;
  g.PathClear();
  g.PathMoveTo(40.f, 60.f);
  g.PathLineTo(120.f, 60.f);
  g.PathStroke(IColourSource::FromColour(kInk), 10.f, style, nullptr);
}

std::vector<ShapeCase> Cases()
{
  std::vector<ShapeCase> cases;
  cases.push_back({"rectangle",
                   [](IGui& g) { g.FillRect(kInk, IRectF(20.5f, 10.f, 80.f, 50.f)); },
                   {Ink(21.5f, 10.5f), Ink(50.f, 30.f), Ink(79.5f, 49.5f), At(20.5f, 30.f, Coverage::kPartial),
                    Empty(19.5f, 30.f), Empty(80.5f, 30.f), Empty(50.f, 9.5f), Empty(50.f, 50.5f)}});
  std::vector<Probe> star = {Ink(100.f, 60.f)};
  for (int i = 0; i < 5; ++i)
  {
    star.push_back(Polar(100.f, 60.f, 32.f, i * 72.f, Coverage::kExact));  // tips
    star.push_back(Polar(100.f, 60.f, 26.f, i * 72.f + 36.f, Coverage::kEmpty)); // notches
  }
  cases.push_back({"concave star", [](IGui& g) {
                     g.PathClear();
                     StarPath(g);
                     g.PathFill(IColourSource::FromColour(kInk), IFillRule(), nullptr);
                   },
                   star});
  cases.push_back({"hole by winding",
                   [](IGui& g) {
                     g.PathClear();
                     g.PathRect(IRectF(10.f, 10.f, 110.f, 110.f));
                     g.PathRect(IRectF(40.f, 40.f, 80.f, 80.f));
                     g.PathSetWinding(true);
                     g.PathFill(IColourSource::FromColour(kInk), IFillRule(IFillRule::kPreserveWinding, false),
                                nullptr);
                   },
                   {Ink(20.f, 20.f), Ink(60.f, 30.f), Ink(100.f, 100.f), Empty(60.f, 60.f), Empty(45.f, 75.f),
                    Ink(39.5f, 60.f), Empty(40.5f, 60.f)}});
  cases.push_back({"even-odd hole",
                   [](IGui& g) {
                     g.PathClear();
                     g.PathRect(IRectF(10.f, 10.f, 110.f, 110.f));
                     g.PathRect(IRectF(40.f, 40.f, 80.f, 80.f));
                     g.PathFill(IColourSource::FromColour(kInk), IFillRule(IFillRule::kEvenOdd, false), nullptr);
                   },
                   {Ink(20.f, 20.f), Empty(60.f, 60.f)}});
  cases.push_back({"circle",
                   [](IGui& g) { g.FillCircle(kInk, 60.f, 60.f, 30.f); },
                   {Ink(60.f, 60.f), Polar(60.f, 60.f, 28.f, 0.f, Coverage::kExact),
                    Polar(60.f, 60.f, 28.f, 90.f, Coverage::kExact), Polar(60.f, 60.f, 28.f, 225.f, Coverage::kExact),
                    Polar(60.f, 60.f, 32.f, 0.f, Coverage::kEmpty), Polar(60.f, 60.f, 32.f, 135.f, Coverage::kEmpty),
                    Empty(60.f + 24.f, 60.f + 24.f)}});
  cases.push_back({"quarter arc from twelve to three o'clock",
                   [](IGui& g) { g.DrawArc(kInk, 60.f, 60.f, 40.f, 0.f, 90.f, nullptr, 6.f); },
                   {Polar(60.f, 60.f, 40.f, 45.f, Coverage::kExact), Polar(60.f, 60.f, 40.f, 5.f, Coverage::kExact),
                    Polar(60.f, 60.f, 40.f, 85.f, Coverage::kExact), Polar(60.f, 60.f, 40.f, 180.f, Coverage::kEmpty),
                    Polar(60.f, 60.f, 40.f, 270.f, Coverage::kEmpty), Polar(60.f, 60.f, 30.f, 45.f, Coverage::kEmpty)}});
  cases.push_back({"pie of three quarters",
                   [](IGui& g) { g.FillArc(kInk, 60.f, 60.f, 40.f, 90.f, 360.f); },
                   {Polar(60.f, 60.f, 30.f, 135.f, Coverage::kExact), Polar(60.f, 60.f, 30.f, 225.f, Coverage::kExact),
                    Polar(60.f, 60.f, 30.f, 315.f, Coverage::kExact), Polar(60.f, 60.f, 30.f, 45.f, Coverage::kEmpty)}});
  cases.push_back({"round caps", [](IGui& g) { StrokedLine(g, IStrokeStyle::kCapRound); },
                   {Ink(80.f, 60.f), Ink(37.5f, 60.f), Ink(37.5f, 58.f), Empty(33.5f, 60.f), Empty(36.f, 64.5f),
                    Ink(122.5f, 61.f)}});
  cases.push_back({"butt caps", [](IGui& g) { StrokedLine(g, IStrokeStyle::kCapButt); },
                   {Ink(80.f, 60.f), Ink(41.5f, 60.f), Empty(38.5f, 60.f), Empty(121.5f, 60.f), Empty(36.f, 64.5f)}});
  cases.push_back({"square caps", [](IGui& g) { StrokedLine(g, IStrokeStyle::kCapSquare); },
                   {Ink(36.5f, 63.5f), Ink(123.5f, 56.5f), Empty(33.5f, 60.f)}});
  cases.push_back({"zero-sweep arc draws nothing, the next shape still draws",
                   [](IGui& g) {
                     g.DrawArc(kInk, 60.f, 60.f, 40.f, 45.f, 45.f, nullptr, 6.f);
                     g.PathClear();
                     g.PathMoveTo(60.f, 60.f);
                     g.PathArc(60.f, 60.f, 40.f, 120.f, 120.f);
                     g.PathClose();
                     g.PathFill(IColourSource::FromColour(kInk), IFillRule(), nullptr);
                     g.FillRect(kInk, IRectF(150.f, 10.f, 190.f, 30.f));
                   },
                   {Polar(60.f, 60.f, 40.f, 45.f, Coverage::kEmpty), Ink(170.f, 20.f)}});
  return cases;
}
} // namespace

TEST_F(RendererTest, ShapesLandWhereTheirGeometrySays)
{
  OpenAt(1.f, 1.f);
  for (const ShapeCase& shape : Cases())
  {
    SCOPED_TRACE(shape.name);
    gui->DrawFrame(shape.draw);
    const PixelImage image = gui->ReadMain();
    image.WritePng(std::string("shape-") + shape.name);
    ExpectProbes(image, 1.f, shape.probes, shape.name);
  }
  // The end of the frame copied it all into the window, upright (colour; the window may
  // have no alpha).
  const PixelImage main = gui->ReadMain();
  const PixelImage window = gui->ReadWindow();
  int differing = 0;
  for (size_t i = 0; i < main.rgba.size(); ++i)
    differing += (i % 4 != 3 && main.rgba[i] != window.rgba[i]) ? 1 : 0;
  EXPECT_EQ(differing, 0) << "the window differs from the main framebuffer";

  // The rectangle's interior, every pixel.
  gui->DrawFrame([](IGui& g) { g.FillRect(kInk, IRectF(20.5f, 10.f, 80.f, 50.f)); });
  EXPECT_EQ(CountOtherThan(gui->ReadMain(), 1.f, 21.f, 10.f, 80.f, 50.f, kInkPixel), 0);
  // A zero-sweep arc leaves every pixel empty.
  gui->DrawFrame([](IGui& g) { g.DrawArc(kInk, 60.f, 60.f, 40.f, 45.f, 45.f, nullptr, 6.f); });
  EXPECT_EQ(CountOtherThan(gui->ReadMain(), 1.f, 0.f, 0.f, 200.f, 120.f, PixelImage::Pixel{0, 0, 0, 0}), 0);
}

TEST_F(RendererTest, ClipsCutOnWholePixelsAndSoftlyBetweenThem)
{
  const PixelImage::Pixel nothing{0, 0, 0, 0};
  for (float scale : {1.f, 1.5f})
  {
    SCOPED_TRACE(scale);
    OpenAt(1.f, scale);
    // On whole pixels (the GL scissor test): every pixel inside is ink, every one outside
    // untouched, on all four sides.
    gui->DrawFrame([](IGui& g) {
      g.PathClipRegion(IRectF(40.f, 20.f, 120.f, 80.f));
      g.FillRect(kInk, IRectF(0.f, 0.f, 200.f, 120.f));
    });
    PixelImage image = gui->ReadMain();
    EXPECT_EQ(CountOtherThan(image, scale, 40.f, 20.f, 120.f, 80.f, kInkPixel), 0);
    EXPECT_EQ(CountOtherThan(image, scale, 0.f, 0.f, 200.f, 20.f, nothing), 0);
    EXPECT_EQ(CountOtherThan(image, scale, 0.f, 80.f, 200.f, 120.f, nothing), 0);
    EXPECT_EQ(CountOtherThan(image, scale, 0.f, 20.f, 40.f, 80.f, nothing), 0);
    EXPECT_EQ(CountOtherThan(image, scale, 120.f, 20.f, 200.f, 80.f, nothing), 0);
    // Between pixels (the shader's mask): the edge pixel is partly covered.
    gui->DrawFrame([](IGui& g) {
      g.PathClipRegion(IRectF(40.5f, 20.f, 120.f, 80.f));
      g.FillRect(kInk, IRectF(0.f, 0.f, 200.f, 120.f));
    });
    image = gui->ReadMain();
    ExpectProbes(image, scale, {Empty(39.5f, 50.f), At(40.1f, 50.f, Coverage::kPartial), Ink(41.5f, 50.f)},
                 "half-pixel clip");
  }
}

TEST_F(RendererTest, AFillColoursOnlyWhereTheClipMeetsTheControl)
{
  struct Case
  {
    const char* name;
    IRectF clip;
    int coloured;
  };
  const Case cases[] = {
    {"no clip: the control's whole area", IRectF(), 200 * 120},
    {"a clip partly outside", IRectF(150.f, 100.f, 300.f, 300.f), 50 * 20},
    {"a clip beside the control", IRectF(300.f, 300.f, 400.f, 400.f), 0},
    {"a clip touching its edge", IRectF(200.f, 0.f, 260.f, 120.f), 0},
  };
  const PixelImage::Pixel nothing{0, 0, 0, 0};
  OpenAt(1.f, 1.f);
  for (const Case& c : cases)
  {
    SCOPED_TRACE(c.name);
    gui->DrawFrame([&c](IGui& g) {
      g.PathClipRegion(c.clip);
      g.FillRect(kInk, IRectF(0.f, 0.f, 200.f, 120.f));
    });
    EXPECT_EQ(CountOtherThan(gui->ReadMain(), 1.f, 0.f, 0.f, 200.f, 120.f, nothing), c.coloured);
  }
}

TEST_F(RendererTest, ADottedLineDrawsEveryOtherDashAndNothingWhenOneDashOrLessFits)
{
  struct Case
  {
    float dash;
    int coloured; // pixels of a 40-unit line, 4 thick
  };
  const Case cases[] = {
    {10.f, 2 * 10 * 4}, {20.f, 20 * 4}, {27.f, 0}, {40.f, 0}, {100.f, 0},
    // A dash of no length draws the line plain.
    {0.f, 40 * 4}, {-5.f, 40 * 4}, {std::nanf(""), 40 * 4},
  };
  const PixelImage::Pixel nothing{0, 0, 0, 0};
  OpenAt(1.f, 1.f);
  for (const Case& c : cases)
  {
    SCOPED_TRACE(c.dash);
    gui->DrawFrame([&c](IGui& g) { g.DrawDottedLine(kInk, 20.f, 60.f, 60.f, 60.f, nullptr, 4.f, c.dash); });
    EXPECT_EQ(CountOtherThan(gui->ReadMain(), 1.f, 0.f, 0.f, 200.f, 120.f, nothing), c.coloured);
  }
}

TEST_F(RendererTest, AContextWithoutTheEntryPointsLeavesTheOpenWindowDrawing)
{
  OpenAt(1.f, 1.f);
  const HDC dc = wglGetCurrentDC();
  const HGLRC context = wglGetCurrentContext();
  // No context at all: like a software renderer's, it offers none of the later entry points.
  wglMakeCurrent(nullptr, nullptr);
  EXPECT_FALSE(pfw::gl::LoadFunctions());
  wglMakeCurrent(dc, context);
  ASSERT_NE(nullptr, pfw::gl::glActiveTexture);
  gui->DrawFrame([](IGui& g) { g.FillRect(kInk, IRectF(20.f, 10.f, 80.f, 50.f)); });
  EXPECT_EQ(CountOtherThan(gui->ReadMain(), 1.f, 20.f, 10.f, 80.f, 50.f, kInkPixel), 0);
}

TEST_F(RendererTest, TheWindowTakesWhatAFrameChanged)
{
  struct Case
  {
    const char* name;
    bool swapKeepsBackBuffer;
    bool rescaled;
    bool onlyTheArea;
  };
  const Case cases[] = {
    {"a window that keeps its pixels takes the changed area alone", true, false, true},
    {"a window that may lose them takes the whole frame", false, false, false},
    {"a rescaled window takes the whole frame", true, true, false},
  };
  const PixelImage::Pixel marker{10, 200, 30, 255};
  const IRectF area(40.f, 20.f, 120.f, 80.f);
  for (const Case& c : cases)
  {
    SCOPED_TRACE(c.name);
    OpenAt(1.f, 1.f);
    gui->SetSwapKeepsBackBuffer(c.swapKeepsBackBuffer);
    gui->DrawFrame([](IGui& g) { g.FillRect(IArgbColour(255, 90, 90, 90), IRectF(0.f, 0.f, 200.f, 120.f)); });
    if (c.rescaled)
      gui->SetScreenScale(1.f);
    gui->PaintWindow(marker.r, marker.g, marker.b);
    gui->DrawArea(area, [](IGui& g) { g.FillRect(kInk, IRectF(0.f, 0.f, 200.f, 120.f)); });
    const PixelImage window = gui->ReadWindow();
    EXPECT_EQ(CountOtherThan(window, 1.f, area.L, area.T, area.R, area.B, kInkPixel), 0);
    const int outside = 200 * 120 - static_cast<int>(area.W() * area.H());
    const int markerLeft = 200 * 120 - CountOtherThan(window, 1.f, 0.f, 0.f, 200.f, 120.f, marker);
    EXPECT_EQ(markerLeft, c.onlyTheArea ? outside : 0);
  }
}
