#include "Rasteriser.h"
#include "TestControls.h"

#include <gtest/gtest.h>

#include <fstream>

using namespace pfw::gui;

namespace {
std::string LogoText()
{
  std::ifstream in(std::string(TARNWICK_GRAPHICS_TEST_DATA) + "/logo.svg", std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}
} // namespace

struct SvgRender : ::testing::Test
{
  FakeDelegate delegate;
  RecordingGui g{delegate};
  ISvgRef logo;
  void SetUp() override
  {
    const std::string text = LogoText();
    logo = g.LoadSVGFromData("logo.svg", text.data(), static_cast<int>(text.size()));
    ASSERT_TRUE(logo.IsValid());
  }
};

TEST_F(SvgRender, LogoWithHolesGradientAndOpacityToPixels)
{
  // Twice as wide as tall at twice the size: scaled by 2 either way.
  g.DrawSVG(logo, IRectF(0, 0, 80, 40));
  Rasteriser image(80, 40);
  image.Render(g.paints);

  // Left "O" (even-odd): a green ring around an empty counter.
  EXPECT_EQ(255, image.Alpha255(8, 20));
  EXPECT_FLOAT_EQ(1.f, image.At(8, 20).g);
  EXPECT_EQ(0, image.Alpha255(20, 20));
  EXPECT_EQ(0, image.Alpha255(2, 2));

  // Right "O" (non-zero with an opposite inner outline): gradient at half opacity.
  const Rasteriser::Pixel& left = image.At(47, 20);
  EXPECT_GT(left.r, 0.8f);
  // Offset (23.75 - 22) / 16 of the way from stop alpha 1 to 0.5, times the opacity 0.5.
  EXPECT_NEAR(0.5 * 255 * (1.0 - 0.5 * 1.75 / 16), image.Alpha255(47, 20), 2);
  EXPECT_EQ(0, image.Alpha255(60, 20));
  const Rasteriser::Pixel& right = image.At(75, 20);
  EXPECT_GT(right.b, 0.8f);
  EXPECT_NEAR(64, image.Alpha255(75, 20), 4);
}

TEST_F(SvgRender, FittingUsesTheSmallerRatio)
{
  g.DrawSVG(logo, IRectF(0, 0, 200, 40));
  // 40 / 20 = 2 against 200 / 40 = 5: scaled by 2.
  EXPECT_TRUE(g.Logged("matrix 2 0 0 2 0 0"));
}

TEST_F(SvgRender, ForcedColoursReplaceThePaints)
{
  const IArgbColour white(255, 255, 255, 255);
  g.DrawSVG(logo, IRectF(0, 0, 40, 20), nullptr, nullptr, &white);
  ASSERT_EQ(2u, g.paints.size());
  for (const PaintCall& call : g.paints)
  {
    EXPECT_EQ(IFillRule::kPreserveWinding, call.rule);
    EXPECT_EQ(white, call.source.stops[0].colour);
  }
  EXPECT_EQ(2, g.CountPrefix("winding solid"));
  EXPECT_EQ(2, g.CountPrefix("winding hole"));
}

TEST_F(SvgRender, NullOrSizelessDocumentDrawsNothing)
{
  g.DrawSVG(ISvgRef(), IRectF(0, 0, 10, 10));
  g.DrawRotatedSVG(ISvgRef(), 5, 5, 10, 10, 45);
  EXPECT_TRUE(g.paints.empty());
}

TEST_F(SvgRender, DrawPassClipsTheLogoToItsControl)
{
  struct LogoControl : IControl
  {
    LogoControl(const IRectF& r, ISvgRef svg_)
      : IControl(r), svg(svg_)
    {
    }
    void Draw(IGui& gui) override { gui.DrawSVG(svg, IRectF(0, 0, 80, 40)); }
    ISvgRef svg;
  };
  FakeDelegate d;
  RecordingGui gui(d, 80, 40);
  gui.AttachControl(new LogoControl(IRectF(0, 0, 10, 40), logo));
  IRectFList rects;
  gui.IsDirty(rects);
  gui.Draw(rects);
  Rasteriser image(80, 40);
  image.Render(gui.paints);
  EXPECT_EQ(255, image.Alpha255(8, 20));
  EXPECT_EQ(0, image.Alpha255(14, 8)); // ring, but outside the control's clip
}

TEST(SvgPaint, ConversionKeepsOpacitiesAndSpread)
{
  svg::Paint paint;
  paint.kind = svg::PaintKind::Colour;
  paint.colour = {10, 20, 30, 128};
  IColourSource s = IGui::SvgPaintToColourSource(paint, 0.5f);
  EXPECT_EQ(IArgbColour(64, 10, 20, 30), s.stops[0].colour);
  paint.kind = svg::PaintKind::RadialGradient;
  paint.gradient.spread = svg::Spread::Repeat;
  paint.gradient.stops = {{{255, 0, 0, 255}, 0.f}, {{0, 0, 255, 100}, 1.f}};
  s = IGui::SvgPaintToColourSource(paint, 1.f);
  EXPECT_EQ(IColourSource::kRadial, s.kind);
  EXPECT_EQ(3, s.extend);
  EXPECT_EQ(2, s.nStops);
  EXPECT_EQ(100, s.stops[1].colour.A);
  paint.kind = svg::PaintKind::None;
  s = IGui::SvgPaintToColourSource(paint, 2.f);
  EXPECT_EQ(IArgbColour(255, 0, 0, 0), s.stops[0].colour);
}
