#include "SvgTestSupport.h"

#include <cstring>

using svg::Colour;
using svg::PaintKind;

namespace {

svg::Point InGradient(const svg::Paint& paint, float x, float y)
{
  return Transformed(paint.gradient.transform, x, y);
}

} // namespace

TEST(Logo, ParsesIntoItsFourShapes)
{
  const auto image = svg::ParseImage(TestLogoSvg(), std::strlen(TestLogoSvg()), "px", 72.f);
  ASSERT_TRUE(image);
  EXPECT_EQ(200.f, image->width);
  EXPECT_EQ(40.f, image->height);
  ASSERT_EQ(4u, image->shapes.size());

  // The plate: a rounded rectangle over the whole image, shaded top to bottom.
  const svg::Shape& plate = image->shapes[0];
  EXPECT_EQ("plate", plate.id);
  ASSERT_EQ(1u, plate.paths.size());
  EXPECT_EQ(25u, plate.paths[0].points.size());
  ExpectPoints({plate.paths[0].points[0]}, {{6, 0}});
  EXPECT_NEAR(200.f, plate.bounds.right, 1e-4f);
  EXPECT_NEAR(40.f, plate.bounds.bottom, 1e-4f);
  ASSERT_EQ(PaintKind::LinearGradient, plate.fill.kind);
  ExpectPoints({InGradient(plate.fill, 0, 0), InGradient(plate.fill, 0, 40), InGradient(plate.fill, 100, 20)},
               {{0, 0}, {0, 1}, {0.5f, 0.5f}});
  ASSERT_EQ(2u, plate.fill.gradient.stops.size());
  EXPECT_EQ((Colour{42, 39, 37, 255}), plate.fill.gradient.stops[0].colour);
  EXPECT_EQ((Colour{19, 23, 27, 255}), plate.fill.gradient.stops[1].colour);
  EXPECT_EQ(PaintKind::None, plate.stroke.kind);

  // The ring: an outer circle and a hole, filled even-odd with a radial glow.
  const svg::Shape& ring = image->shapes[1];
  EXPECT_EQ("ring", ring.id);
  EXPECT_EQ(svg::FillRule::EvenOdd, ring.fillRule);
  ASSERT_EQ(2u, ring.paths.size());
  EXPECT_TRUE(ring.paths[0].closed);
  EXPECT_TRUE(ring.paths[1].closed);
  EXPECT_NEAR(4.f, ring.paths[0].bounds.left, 1e-3f);
  EXPECT_NEAR(36.f, ring.paths[0].bounds.bottom, 1e-3f);
  EXPECT_NEAR(12.f, ring.paths[1].bounds.left, 1e-3f);
  EXPECT_NEAR(28.f, ring.paths[1].bounds.right, 1e-3f);
  ASSERT_EQ(PaintKind::RadialGradient, ring.fill.kind);
  ExpectPoints({InGradient(ring.fill, 20, 20), InGradient(ring.fill, 36, 20)}, {{0, 0}, {1, 0}});
  ASSERT_EQ(2u, ring.fill.gradient.stops.size());
  EXPECT_EQ(0.25f, ring.fill.gradient.stops[0].offset);
  EXPECT_EQ((Colour{255, 176, 32, 255}), ring.fill.gradient.stops[0].colour);
  EXPECT_EQ((Colour{0xC0, 0x50, 0, 128}), ring.fill.gradient.stops[1].colour);

  // The letter: a polygon styled by class, moved by its group.
  const svg::Shape& letter = image->shapes[2];
  EXPECT_EQ("letter-t", letter.id);
  EXPECT_EQ((Colour{0xF2, 0xE6, 0xD0, 255}), letter.fill.colour);
  EXPECT_EQ(PaintKind::None, letter.stroke.kind);
  ASSERT_EQ(1u, letter.paths.size());
  EXPECT_TRUE(letter.paths[0].closed);
  EXPECT_EQ(25u, letter.paths[0].points.size());
  ExpectPoints({letter.paths[0].points[0], letter.paths[0].points[3], letter.paths[0].points[15]},
               {{48, 8}, {68, 8}, {56, 32}});

  // The underline: a dashed, half-transparent stroke.
  const svg::Shape& underline = image->shapes[3];
  EXPECT_EQ("underline", underline.id);
  EXPECT_EQ((Colour{0xF2, 0xE6, 0xD0, 255}), underline.stroke.colour);
  EXPECT_FLOAT_EQ(1.f, underline.strokeWidth);
  EXPECT_EQ((std::vector<float>{8, 4}), underline.dashes);
  EXPECT_FLOAT_EQ(0.5f, underline.opacity);
  ExpectPoints(underline.paths[0].points, Polyline({{48, 34}, {192, 34}}));
}

TEST(Logo, PhysicalOutputUnitsScaleTheWholeLogo)
{
  const auto image = svg::ParseImage(TestLogoSvg(), std::strlen(TestLogoSvg()), "in", 100.f);
  ASSERT_TRUE(image);
  EXPECT_FLOAT_EQ(2.f, image->width);
  EXPECT_FLOAT_EQ(0.4f, image->height);
  EXPECT_FLOAT_EQ(0.01f, image->shapes[3].strokeWidth);
}
