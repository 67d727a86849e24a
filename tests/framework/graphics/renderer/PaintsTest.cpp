#include "PixelProbes.h"

#include <cmath>

using namespace pfw::gui;

namespace {
PixelImage::Pixel Mix(const PixelImage::Pixel& a, const PixelImage::Pixel& b, float t)
{
  t = std::min(std::max(t, 0.f), 1.f);
  auto lerp = [t](int x, int y) { return static_cast<int>(std::lround(x + (y - x) * t)); };
  return PixelImage::Pixel{lerp(a.r, b.r), lerp(a.g, b.g), lerp(a.b, b.b), lerp(a.a, b.a)};
}

// The user-interface position of the centre of the pixel under (x, y) at scale s.
float Centre(float v, float s)
{
  return (std::floor(v * s) + 0.5f) / s;
}

void GradientsAt(TestGuiVG& gui, float s)
{
  const PixelImage::Pixel red{255, 0, 0, 255}, blue{0, 0, 255, 255}, green{0, 200, 0, 255}, dark{0, 0, 60, 255};
  // Linear: red at x = 20, blue at x = 180.
  gui.DrawFrame([](IGui& g) {
    IColourSource linear = IColourSource::CreateLinearGradient(
      20.f, 0.f, 180.f, 0.f, {IColourStop{IArgbColour(255, 255, 0, 0), 0.f}, IColourStop{IArgbColour(255, 0, 0, 255), 1.f}});
    g.PathClear();
    g.PathRect(IRectF(10.f, 10.f, 190.f, 50.f));
    g.PathFill(linear, IFillRule(), nullptr);
  });
  PixelImage image = gui.ReadMain();
  image.WritePng("paint-linear-" + std::to_string(static_cast<int>(s * 10)));
  std::vector<Probe> probes;
  for (float x : {12.f, 21.f, 60.f, 100.f, 140.f, 179.f, 188.f})
    probes.push_back(At(x, 30.f, Coverage::kNear, Mix(red, blue, (Centre(x, s) - 20.f) / 160.f)));
  ExpectProbes(image, s, probes, "linear gradient at scale " + std::to_string(s));

  // Radial: green at the centre (100, 60), dark at radius 40 and beyond.
  gui.DrawFrame([](IGui& g) {
    IColourSource radial(IColourSource::kRadial);
    radial.AddStop(IArgbColour(255, 0, 200, 0), 0.f);
    radial.AddStop(IArgbColour(255, 0, 0, 60), 1.f);
    radial.transform.Scale(1.0 / 40.0, 1.0 / 40.0).Translate(-100.0, -60.0);
    g.PathClear();
    g.PathRect(IRectF(40.f, 0.f, 160.f, 120.f));
    g.PathFill(radial, IFillRule(), nullptr);
  });
  image = gui.ReadMain();
  image.WritePng("paint-radial-" + std::to_string(static_cast<int>(s * 10)));
  probes.clear();
  for (float x : {100.f, 110.f, 120.f, 130.f, 150.f})
  {
    const float d = std::hypot(Centre(x, s) - 100.f, Centre(60.f, s) - 60.f);
    probes.push_back(At(x, 60.f, Coverage::kNear, Mix(green, dark, d / 40.f)));
  }
  const float dy = std::hypot(Centre(100.f, s) - 100.f, Centre(85.f, s) - 60.f);
  probes.push_back(At(100.f, 85.f, Coverage::kNear, Mix(green, dark, dy / 40.f)));
  ExpectProbes(image, s, probes, "radial gradient at scale " + std::to_string(s));
}

struct BlendCase
{
  int mode;
  const char* name;
  PixelImage::Pixel overBlue;  // half-transparent red drawn over opaque blue
  PixelImage::Pixel overEmpty; // the same over nothing
};

const BlendCase kBlends[] = {
  {IBlendMode::kSourceOver, "source-over", {128, 0, 127, 255}, {128, 0, 0, 128}},
  {IBlendMode::kSourceIn, "source-in", {128, 0, 0, 128}, {0, 0, 0, 0}},
  {IBlendMode::kSourceOut, "source-out", {0, 0, 0, 0}, {128, 0, 0, 128}},
  {IBlendMode::kSourceAtop, "source-atop", {128, 0, 127, 255}, {0, 0, 0, 0}},
  {IBlendMode::kDestinationOver, "destination-over", {0, 0, 255, 255}, {128, 0, 0, 128}},
  {IBlendMode::kDestinationIn, "destination-in", {0, 0, 128, 128}, {0, 0, 0, 0}},
  {IBlendMode::kDestinationOut, "destination-out", {0, 0, 127, 127}, {0, 0, 0, 0}},
  {IBlendMode::kDestinationAtop, "destination-atop", {0, 0, 128, 128}, {128, 0, 0, 128}},
  {IBlendMode::kAdditive, "additive", {64, 0, 255, 255}, {64, 0, 0, 64}},
  {IBlendMode::kXor, "xor", {0, 0, 127, 127}, {128, 0, 0, 128}},
};

// An 8 x 8 PNG: red, green, blue and white quadrants (top-left, top-right, bottom-left,
// bottom-right).
std::vector<unsigned char> QuadrantPng()
{
  PixelImage image;
  image.width = image.height = 8;
  image.rgba.resize(8 * 8 * 4);
  static const unsigned char kColours[4][3] = {{255, 0, 0}, {0, 255, 0}, {0, 0, 255}, {255, 255, 255}};
  for (int y = 0; y < 8; ++y)
    for (int x = 0; x < 8; ++x)
    {
      unsigned char* p = &image.rgba[static_cast<size_t>(y * 8 + x) * 4];
      const int quadrant = (y >= 4 ? 2 : 0) + (x >= 4 ? 1 : 0);
      p[0] = kColours[quadrant][0];
      p[1] = kColours[quadrant][1];
      p[2] = kColours[quadrant][2];
      p[3] = 255;
    }
  return image.EncodePng();
}
} // namespace

TEST_F(RendererTest, GradientsAtKnownPointsAtScalesOneAndOneAndAHalf)
{
  for (float s : {1.f, 1.5f})
  {
    OpenAt(s, 1.f);
    GradientsAt(*gui, s);
  }
}

TEST_F(RendererTest, EveryBlendModeOnAKnownDestinationThenSourceOverAgain)
{
  OpenAt(1.f, 1.f);
  for (const BlendCase& blend : kBlends)
  {
    SCOPED_TRACE(blend.name);
    gui->DrawFrame([&blend](IGui& g) {
      g.FillRect(IArgbColour(255, 0, 0, 255), IRectF(10.f, 10.f, 100.f, 110.f));
      const IBlendMode mode(blend.mode, 1.f);
      g.FillRect(IArgbColour(128, 255, 0, 0), IRectF(50.f, 20.f, 150.f, 60.f), &mode);
      // Drawn without a blend: must be source-over whatever came before.
      g.FillRect(IArgbColour(128, 0, 255, 0), IRectF(20.f, 80.f, 40.f, 100.f));
    });
    const PixelImage image = gui->ReadMain();
    image.WritePng(std::string("blend-") + blend.name);
    ExpectProbes(image, 1.f,
                 {At(75.f, 40.f, Coverage::kNear, blend.overBlue), At(125.f, 40.f, Coverage::kNear, blend.overEmpty),
                  At(30.f, 90.f, Coverage::kNear, PixelImage::Pixel{0, 128, 127, 255}),
                  At(30.f, 40.f, Coverage::kExact, PixelImage::Pixel{0, 0, 255, 255})},
                 blend.name);
  }
}

TEST_F(RendererTest, PngDrawnUprightAndStretchedWithTheRightColourPerQuadrant)
{
  OpenAt(1.f, 1.f);
  const std::vector<unsigned char> png = QuadrantPng();
  const IBitmapRef bitmap = gui->LoadBitmapFromData("quadrants.png", png.data(), static_cast<int>(png.size()));
  ASSERT_TRUE(bitmap.IsValid());
  EXPECT_EQ(bitmap.width, 8);
  EXPECT_EQ(bitmap.height, 8);
  gui->DrawFrame([&bitmap](IGui& g) {
    g.DrawBitmap(bitmap, IRectF(10.f, 10.f, 18.f, 18.f), 0, 0);
    g.DrawFittedBitmap(bitmap, IRectF(40.f, 10.f, 200.f, 110.f));
  });
  const PixelImage image = gui->ReadMain();
  image.WritePng("paint-png");
  const PixelImage::Pixel red{255, 0, 0, 255}, green{0, 255, 0, 255}, blue{0, 0, 255, 255}, white{255, 255, 255, 255};
  ExpectProbes(image, 1.f,
               {At(12.f, 12.f, Coverage::kExact, red), At(16.f, 12.f, Coverage::kExact, green),
                At(12.f, 16.f, Coverage::kExact, blue), At(16.f, 16.f, Coverage::kExact, white),
                At(20.f, 12.f, Coverage::kEmpty), At(80.f, 35.f, Coverage::kExact, red),
                At(160.f, 35.f, Coverage::kExact, green), At(80.f, 85.f, Coverage::kExact, blue),
                At(160.f, 85.f, Coverage::kExact, white), At(45.f, 15.f, Coverage::kExact, red),
                At(195.f, 105.f, Coverage::kExact, white)},
               "quadrants");
  // Half the weight halves the alpha.
  const IBlendMode half(IBlendMode::kSourceOver, 0.5f);
  gui->DrawFrame([&bitmap, &half](IGui& g) { g.DrawBitmap(bitmap, IRectF(10.f, 10.f, 18.f, 18.f), 0, 0, &half); });
  ExpectProbes(gui->ReadMain(), 1.f, {At(12.f, 12.f, Coverage::kNear, PixelImage::Pixel{128, 0, 0, 128})}, "half");
}
