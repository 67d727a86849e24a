#include "TestControls.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace pfw::gui;

using Log = std::vector<std::string>;

namespace {
// Only the path operations, fills and strokes of a recording.
Log PathOps(const Log& log)
{
  Log out;
  for (const std::string& entry : log)
    if (entry.rfind("matrix", 0) != 0 && entry.rfind("clip", 0) != 0)
      out.push_back(entry);
  return out;
}
} // namespace

struct Drawing : ::testing::Test
{
  FakeDelegate delegate;
  RecordingGui g{delegate};
  const IArgbColour red{255, 255, 0, 0};
};

TEST_F(Drawing, RectanglesAndTriangles)
{
  g.DrawRect(red, IRectF(1, 2, 3, 4), nullptr, 2.f);
  EXPECT_EQ((Log{"clear", "move 1 2", "line 3 2", "line 3 4", "line 1 4", "close", "stroke 2 255,255,0,0 w1 dashes0"}),
            PathOps(g.Take()));
  g.FillTriangle(red, 0, 0, 10, 0, 5, 5);
  EXPECT_EQ((Log{"clear", "move 0 0", "line 10 0", "line 5 5", "close", "fill rule0 keep0 255,255,0,0 w1"}),
            PathOps(g.Take()));
  g.DrawPoint(red, 7, 8);
  EXPECT_EQ((Log{"clear", "move 7 8", "line 8 8", "line 8 9", "line 7 9", "close", "fill rule0 keep0 255,255,0,0 w1"}),
            PathOps(g.Take()));
}

TEST_F(Drawing, LinesArcsAndCircles)
{
  const IBlendMode half(IBlendMode::kSourceOver, 0.5f);
  g.DrawLine(red, 0, 0, 5, 5, &half, 3.f);
  EXPECT_EQ((Log{"clear", "move 0 0", "line 5 5", "stroke 3 255,255,0,0 w0.5 dashes0"}), PathOps(g.Take()));
  g.DrawArc(red, 10, 10, 5, 0, 90);
  EXPECT_EQ((Log{"clear", "arc 10 10 5 0 90", "stroke 1 255,255,0,0 w1 dashes0"}), PathOps(g.Take()));
  g.FillArc(red, 10, 10, 5, 0, 90);
  EXPECT_EQ((Log{"clear", "move 10 10", "arc 10 10 5 0 90", "close", "fill rule0 keep0 255,255,0,0 w1"}),
            PathOps(g.Take()));
  g.FillCircle(red, 10, 10, 5);
  EXPECT_EQ((Log{"clear", "move 10 5", "arc 10 10 5 0 360", "close", "fill rule0 keep0 255,255,0,0 w1"}),
            PathOps(g.Take()));
}

TEST_F(Drawing, RoundRectangles)
{
  g.FillRoundRectEach(red, IRectF(0, 0, 100, 50), 1, 2, 3, 4);
  EXPECT_EQ((Log{"clear", "move 0 1", "arc 1 1 1 270 360", "arc 98 2 2 0 90", "arc 96 46 4 90 180",
                 "arc 3 47 3 180 270", "close", "fill rule0 keep0 255,255,0,0 w1"}),
            PathOps(g.Take()));
  g.DrawRoundRect(red, IRectF(0, 0, 10, 10), 0.f);
  EXPECT_EQ((Log{"clear", "move 0 0", "line 10 0", "line 10 10", "line 0 10", "close", "stroke 1 255,255,0,0 w1 dashes0"}),
            PathOps(g.Take()));
}

TEST_F(Drawing, EllipsesUseAScaledUnitCircle)
{
  g.FillEllipse(red, 50, 40, 20, 10, 0);
  const Log log = g.Take();
  // Translate, rotate and the explicit upload each send the matrix; then the scale.
  EXPECT_EQ((Log{"clear", "matrix 1 0 0 1 50 40", "matrix 1 0 0 1 50 40", "matrix 1 0 0 1 50 40",
                 "matrix 20 0 0 10 50 40", "move 0 -1", "arc 0 0 1 0 360", "close",
                 "matrix 1 0 0 1 0 0", "fill rule0 keep0 255,255,0,0 w1"}),
            log);
  EXPECT_EQ(0, g.TransformStackDepth());
  g.DrawEllipse(red, 50, 40, 0, 10);
  EXPECT_EQ((Log{"clear", "stroke 1 255,255,0,0 w1 dashes0"}), g.Take());
  EXPECT_EQ(0, g.TransformStackDepth());
  g.FillEllipseInRect(red, IRectF(0, 0, 40, 20));
  EXPECT_TRUE(g.Logged("matrix 20 0 0 10 20 10"));
}

TEST_F(Drawing, PolygonsGridAndData)
{
  const float xs[] = {0, 10, 10};
  const float ys[] = {0, 0, 10};
  g.FillConvexPolygon(red, xs, ys, 3);
  EXPECT_EQ((Log{"clear", "move 0 0", "line 10 0", "line 10 10", "close", "fill rule0 keep0 255,255,0,0 w1"}),
            PathOps(g.Take()));
  g.DrawGrid(red, IRectF(0, 0, 30, 30), 10, 1);
  EXPECT_EQ((Log{"clear", "move 10 0", "line 10 30", "move 20 0", "line 20 30", "stroke 1 255,255,0,0 w1 dashes0"}),
            PathOps(g.Take()));
  g.DrawGrid(red, IRectF(0, 0, 30, 30), 1, 0.5f);
  EXPECT_EQ((Log{"clear", "stroke 1 255,255,0,0 w1 dashes0"}), PathOps(g.Take()));
  const float data[] = {0.f, 0.5f, 1.f};
  const IArgbColour blue(255, 0, 0, 255);
  g.DrawData(red, IRectF(0, 0, 100, 10), data, 3, nullptr, nullptr, 1.f, &blue);
  EXPECT_EQ((Log{"clear", "move 0 10", "line 50 5", "line 100 0", "fill rule0 keep1 255,0,0,255 w1",
                 "stroke 1 255,255,0,0 w1 dashes0"}),
            PathOps(g.Take()));
  g.DrawData(red, IRectF(0, 0, 100, 10), data, 1);
  EXPECT_EQ((Log{"clear", "move 0 10", "stroke 1 255,255,0,0 w1 dashes0"}), PathOps(g.Take()));
  g.DrawData(red, IRectF(0, 0, 100, 10), data, 0);
  EXPECT_TRUE(g.Take().empty());
}

TEST_F(Drawing, TransformsComposeAndRestore)
{
  g.PathTransformRestore();
  EXPECT_TRUE(g.Take().empty());
  g.PathTransformSave();
  g.PathTransformTranslate(10, 20);
  g.PathTransformScale(2, 3);
  const ITransform2D& t = g.GetTransform();
  double x = 1, y = 1;
  t.TransformPoint(x, y);
  EXPECT_DOUBLE_EQ(12.0, x);
  EXPECT_DOUBLE_EQ(23.0, y);
  g.PathTransformRotate(90);
  x = 1;
  y = 0;
  g.GetTransform().TransformPoint(x, y);
  EXPECT_NEAR(10.0, x, 1e-6);
  EXPECT_NEAR(23.0, y, 1e-6);
  g.PathTransformRestore();
  EXPECT_TRUE(g.GetTransform().IsIdentity());
  g.PathTransformSave();
  g.PathTransformReset(true);
  EXPECT_EQ(0, g.TransformStackDepth());
}

TEST_F(Drawing, TextSkipsEmptyStringsAndPlacesRotatedText)
{
  ITextStyle style;
  g.DrawText(style, "", IRectF(0, 0, 10, 10));
  EXPECT_TRUE(g.Take().empty());
  IRectF bounds;
  EXPECT_EQ(0.f, g.MeasureText(style, "", bounds));
  EXPECT_EQ(21.f, g.MeasureText(style, "abc", bounds));
  g.DrawText(style, "hi", IRectF(0, 0, 10, 10));
  EXPECT_EQ((Log{"text hi 0 0 10 10"}), g.Take());
  g.DrawMultiLineText(style, "a b", IRectF(0, 0, 10, 10));
  EXPECT_EQ((Log{"text Unsupported 0 0 10 10"}), g.Take());

  // An unrotated style leaves the offsets as they were.
  float dx = 5.f, dy = 6.f;
  IRectF text(0, 0, 20, 10);
  g.ComputeTextOffsets(style, IRectF(0, 0, 100, 100), text, dx, dy);
  EXPECT_EQ(5.f, dx);
  style.angle = 90.f;
  style.hAlign = ITextStyle::kAlignNear;
  style.vAlign = ITextStyle::kAlignNear;
  g.PlaceTextRect(style, IRectF(100, 100, 200, 200), text);
  EXPECT_NEAR(100.f, text.L, 1e-4);
  EXPECT_NEAR(100.f, text.T, 1e-4);
  EXPECT_NEAR(10.f, text.W(), 1e-4);
  EXPECT_NEAR(20.f, text.H(), 1e-4);
}

TEST_F(Drawing, ClipRegionMeetsTheDrawingArea)
{
  GuiFixture f;
  struct ClipControl : IControl
  {
    ClipControl()
      : IControl(IRectF(10, 10, 50, 50))
    {
    }
    void Draw(IGui& g) override
    {
      g.PathClipRegion(IRectF(0, 0, 30, 30));
      g.PathClipRegion(IRectF(100, 100, 120, 120));
      g.PathClipRegion();
    }
  };
  f.gui->AttachControl(new ClipControl());
  IRectFList rects;
  f.gui->IsDirty(rects);
  f.gui->Draw(rects);
  EXPECT_TRUE(f.gui->Logged("clip 9 9 30 30"));
  EXPECT_TRUE(f.gui->Logged("clip 0 0 0 0"));
  EXPECT_EQ(2, f.gui->CountPrefix("clip 9 9 51 51"));
}

TEST_F(Drawing, LayersRetargetAndComeBack)
{
  g.SetScreenScale(1.5f);
  g.Take();
  g.PathTransformSave();
  g.PathTransformTranslate(5, 5);
  g.StartLayer(nullptr, IRectF(0.2f, 0.2f, 10.1f, 20.f));
  ASSERT_EQ(1, g.LayerDepth());
  // Drawing into the layer starts untransformed; the caller's saved transforms stay.
  EXPECT_TRUE(g.GetTransform().IsIdentity());
  EXPECT_EQ(1, g.TransformStackDepth());
  // Aligned on the 1.5 grid: left 0, right 10.6667; pixels ceil(ceil(10.667) x 1.5) = 17.
  EXPECT_TRUE(g.Logged("createbitmap 17 30"));
  EXPECT_TRUE(g.Logged("updatelayer 1"));
  std::unique_ptr<ILayer> layer = g.EndLayer();
  ASSERT_TRUE(layer);
  EXPECT_EQ(0, g.LayerDepth());
  EXPECT_TRUE(g.Logged("updatelayer 0"));
  EXPECT_EQ(nullptr, g.PopLayer());
  EXPECT_NEAR(10.6667f, layer->rect.R, 1e-3);
}

TEST_F(Drawing, DropShadowBlursOnlyAlpha)
{
  g.StartLayer(nullptr, IRectF(0, 0, 8, 8));
  std::unique_ptr<ILayer> layer = g.EndLayer();
  auto* bitmap = static_cast<FakeBitmap*>(layer->bitmap.get());
  // One opaque pixel in the middle, colour bytes set to catch any change to them.
  for (size_t i = 0; i < bitmap->pixels.size(); i += 4)
    bitmap->pixels[i] = 77;
  bitmap->pixels[(3 * 8 + 3) * 4 + 3] = 255;

  IShadow none;
  none.blurSize = 0.f;
  g.ApplyLayerDropShadow(*layer, none);
  ASSERT_EQ(bitmap->pixels.size(), g.lastMask.size());
  EXPECT_EQ(bitmap->pixels, g.lastMask);

  IShadow soft;
  soft.blurSize = 2.f;
  g.ApplyLayerDropShadow(*layer, soft);
  const auto alphaAt = [&](int x, int y) { return g.lastMask[static_cast<size_t>((y * 8 + x) * 4 + 3)]; };
  EXPECT_LT(alphaAt(3, 3), 255);
  EXPECT_GT(alphaAt(4, 3), 0);
  EXPECT_EQ(alphaAt(2, 3), alphaAt(4, 3));
  EXPECT_EQ(alphaAt(3, 2), alphaAt(3, 4));
  EXPECT_EQ(77, g.lastMask[0]);
}

TEST_F(Drawing, DropShadowKernelWeighsRowsThenColumns)
{
  // Blur size 2 at scale 1: d = 3, taps 255, 155, 35, total weight 635.
  for (const bool flipped : {false, true})
  {
    g.flipped = flipped;
    g.StartLayer(nullptr, IRectF(0, 0, 8, 5));
    std::unique_ptr<ILayer> layer = g.EndLayer();
    auto* bitmap = static_cast<FakeBitmap*>(layer->bitmap.get());
    ASSERT_EQ(8u * 5u * 4u, bitmap->pixels.size());
    bitmap->pixels[(2 * 8 + 3) * 4 + 3] = 255;
    IShadow shadow;
    shadow.blurSize = 2.f;
    g.ApplyLayerDropShadow(*layer, shadow);
    const auto alphaAt = [&](int x, int y) { return static_cast<int>(g.lastMask[static_cast<size_t>((y * 8 + x) * 4 + 3)]); };
    // Row pass: 255 * 255 / 635 = 102, 155 * 255 / 635 = 62; then the column pass.
    EXPECT_EQ(40, alphaAt(3, 2)) << flipped; // 255 * 102 / 635
    EXPECT_EQ(24, alphaAt(4, 2)) << flipped; // 255 * 62 / 635
    EXPECT_EQ(24, alphaAt(3, 1)) << flipped; // 155 * 102 / 635
    EXPECT_EQ(15, alphaAt(4, 3)) << flipped; // 155 * 62 / 635
    EXPECT_EQ(5, alphaAt(3, 0)) << flipped;  // 35 * 102 / 635
    EXPECT_EQ(0, alphaAt(0, 4)) << flipped;
  }
}

TEST_F(Drawing, BlurLineKeepsFlatRunsAndFadesEdges)
{
  const int taps[] = {255, 153, 33};
  const int total = 255 + 2 * (153 + 33);
  const unsigned char in[8] = {200, 200, 200, 200, 200, 200, 200, 200};
  unsigned char out[8] = {};
  IGui::BlurAlphaLine(in, out, 1, 8, taps, 3, total);
  EXPECT_EQ(200, out[3]);
  EXPECT_LT(out[0], 200);
}

TEST_F(Drawing, BitmapsDrawFittedAndRotated)
{
  FakeBitmap bitmap(40, 20, 2.f, 1.f);
  const IBitmapRef ref(&bitmap, "knob.png", 1, false);
  EXPECT_EQ(20, ref.width);
  EXPECT_EQ(10, ref.height);
  g.DrawFittedBitmap(ref, IRectF(10, 10, 50, 30));
  EXPECT_EQ((Log{"matrix 1 0 0 1 10 10", "matrix 2 0 0 2 10 10", "matrix 2 0 0 2 10 10", "bitmap knob.png 0 0 20 10 0 0 w1",
                 "matrix 1 0 0 1 0 0"}),
            g.Take());
  g.DrawRotatedBitmap(ref, 100, 100, 0);
  EXPECT_TRUE(g.Logged("bitmap knob.png -10 -5 10 5 0 0 w1"));
  g.Take();
  g.DrawFittedBitmap(IBitmapRef(), IRectF(0, 0, 10, 10));
  g.DrawRotatedBitmap(IBitmapRef(), 0, 0, 0);
  EXPECT_TRUE(g.Take().empty());
}
