#include "PixelProbes.h"

using namespace pfw::gui;

namespace {
const IArgbColour kRed(255, 220, 30, 30);
const IArgbColour kBlue(255, 30, 30, 220);
const PixelImage::Pixel kRedPixel{220, 30, 30, 255};
const PixelImage::Pixel kBluePixel{30, 30, 220, 255};
const IRectF kLayerRect(20.f, 20.f, 120.f, 100.f);

// An upside-down L: a bar along the top and a leg down the left, inside kLayerRect.
void Asymmetric(IGui& g)
{
  g.FillRect(kRed, IRectF(30.f, 30.f, 70.f, 40.f));
  g.FillRect(kBlue, IRectF(30.f, 40.f, 40.f, 90.f));
}

void DrawLayer(IGui& g, const ILayer& layer)
{
  g.DrawBitmap(IBitmapRef(layer.bitmap.get(), "", 1, false), layer.rect, 0, 0);
}

struct Scales
{
  float draw;
  float screen;
};
const Scales kScales[] = {{1.f, 1.f}, {1.5f, 1.f}, {1.f, 1.5f}};

std::string Name(const char* what, const Scales& s)
{
  return std::string(what) + "-" + std::to_string(static_cast<int>(s.draw * 10)) + "-" +
         std::to_string(static_cast<int>(s.screen * 10));
}
} // namespace

TEST_F(RendererTest, LayersKeepShapesUprightAndInPlace)
{
  for (const Scales& s : kScales)
  {
    SCOPED_TRACE(Name("layer", s));
    OpenAt(s.draw, s.screen);
    gui->DrawFrame(Asymmetric);
    const PixelImage direct = gui->ReadMain();
    gui->DrawFrame([](IGui& g) {
      g.StartLayer(nullptr, kLayerRect);
      Asymmetric(g);
      std::unique_ptr<ILayer> layer = g.EndLayer();
      ASSERT_TRUE(layer && layer->bitmap);
      DrawLayer(g, *layer);
    });
    const PixelImage layered = gui->ReadMain();
    layered.WritePng(Name("layer", s));
    const float ts = s.draw * s.screen;
    ExpectProbes(layered, ts,
                 {At(50.f, 35.f, Coverage::kExact, kRedPixel), At(35.f, 60.f, Coverage::kExact, kBluePixel),
                  At(35.f, 85.f, Coverage::kExact, kBluePixel), At(60.f, 60.f, Coverage::kEmpty),
                  At(35.f, 95.f, Coverage::kEmpty), At(80.f, 35.f, Coverage::kEmpty)},
                 Name("layer", s));
    int differing = 0;
    for (size_t i = 0; i < direct.rgba.size(); ++i)
      differing += std::abs(direct.rgba[i] - layered.rgba[i]) > 2 ? 1 : 0;
    EXPECT_EQ(differing, 0) << "the layer differs from drawing straight into the frame";
  }
}

TEST_F(RendererTest, DropShadowFallsBehindAtItsOffsetNotMirroredAndMayStandAlone)
{
  for (const Scales& s : kScales)
    for (const bool foreground : {true, false})
    {
      const std::string name = Name(foreground ? "shadow" : "shadow-alone", s);
      SCOPED_TRACE(name);
      OpenAt(s.draw, s.screen);
      gui->DrawFrame([foreground](IGui& g) {
        g.StartLayer(nullptr, kLayerRect);
        Asymmetric(g);
        std::unique_ptr<ILayer> layer = g.EndLayer();
        ASSERT_TRUE(layer && layer->bitmap);
        IShadow shadow;
        shadow.blurSize = 1.f;
        shadow.xOffset = 6.f;
        shadow.yOffset = 8.f;
        shadow.drawForeground = foreground;
        g.ApplyLayerDropShadow(*layer, shadow);
        DrawLayer(g, *layer);
      });
      const PixelImage image = gui->ReadMain();
      image.WritePng(name);
      const float ts = s.draw * s.screen;
      // The shape stays in front, or is gone without its foreground.
      std::vector<Probe> probes = {
        foreground ? At(50.f, 35.f, Coverage::kExact, kRedPixel) : At(50.f, 35.f, Coverage::kEmpty),
        foreground ? At(35.f, 60.f, Coverage::kExact, kBluePixel) : At(33.f, 60.f, Coverage::kEmpty),
        At(60.f, 60.f, Coverage::kEmpty),
        At(65.f, 93.f, Coverage::kEmpty), // where a mirrored bar's shadow would fall
        At(43.f, 27.f, Coverage::kEmpty)};
      ExpectProbes(image, ts, probes, name);
      // The bar's shadow to the right of and below it, the leg's below it: dark and opaque-ish.
      for (const Probe& p : {At(73.f, 45.f, Coverage::kEmpty), At(43.f, 94.f, Coverage::kEmpty)})
      {
        const PixelImage::Pixel px = image.At(static_cast<int>(p.x * ts), static_cast<int>(p.y * ts));
        EXPECT_GT(px.a, 150) << p.x << "," << p.y << " " << Describe(px);
        EXPECT_LT(px.r + px.g + px.b, 30) << p.x << "," << p.y << " " << Describe(px);
      }
    }
}

TEST_F(RendererTest, LayerFramebuffersAreFreedAfterTheFrameAndEverythingWithTheView)
{
  for (const Scales& s : kScales)
  {
    SCOPED_TRACE(Name("deletion", s));
    OpenAt(s.draw, s.screen);
    const GLObjectCount before = GLObjectCount::Take();
    GLObjectCount during;
    gui->DrawFrame([&during](IGui& g) {
      for (int i = 0; i < 3; ++i)
      {
        g.StartLayer(nullptr, kLayerRect);
        Asymmetric(g);
        std::unique_ptr<ILayer> layer = g.EndLayer();
        IShadow shadow;
        shadow.blurSize = 2.f;
        g.ApplyLayerDropShadow(*layer, shadow);
        DrawLayer(g, *layer);
      }
      during = GLObjectCount::Take();
    });
    const GLObjectCount after = GLObjectCount::Take();
    // Three layers and three shadow layers wait for the frame's end, with their textures.
    EXPECT_EQ(during.framebuffers, before.framebuffers + 6);
    EXPECT_EQ(during.renderbuffers, before.renderbuffers + 6);
    EXPECT_GE(during.textures, before.textures + 6);
    EXPECT_TRUE(after == before) << "textures " << after.textures << "/" << before.textures << ", framebuffers "
                                 << after.framebuffers << "/" << before.framebuffers << ", renderbuffers "
                                 << after.renderbuffers << "/" << before.renderbuffers;

    // Outside a frame a layer's framebuffer goes at once, with the window's context made
    // current for it (here none is).
    {
      gui->ActivateGLContext();
      std::unique_ptr<APIBitmap> bitmap = gui->CreateAPIBitmap(64, 64, 1.f, 1.f);
      EXPECT_EQ(GLObjectCount::Take().framebuffers, before.framebuffers + 1);
      wglMakeCurrent(nullptr, nullptr);
    }
    gui->ActivateGLContext();
    EXPECT_TRUE(GLObjectCount::Take() == before);

    // Closing the view frees every GL object the renderer made.
    gui->ActivateGLContext();
    gui->OnViewDestroyed();
    const GLObjectCount closed = GLObjectCount::Take();
    EXPECT_EQ(closed.textures, 0);
    EXPECT_EQ(closed.framebuffers, 0);
    EXPECT_EQ(closed.renderbuffers, 0);
  }
}
