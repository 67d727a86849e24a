#include "SvgTestSupport.h"

using svg::Colour;
using svg::PaintKind;

namespace {

// Where an image point lands in the paint's gradient space.
svg::Point InGradient(const svg::Paint& paint, float x, float y)
{
  return Transformed(paint.gradient.transform, x, y);
}

const char* kTwoStops = "<stop offset='0' stop-color='red'/><stop offset='1' stop-color='blue' stop-opacity='0.5'/>";

svg::Shape ShapeWith(const std::string& defs, const std::string& shape)
{
  return OnlyShape("<defs>" + defs + "</defs>" + shape);
}

} // namespace

TEST(Gradient, LinearInBoundingBoxUnitsByDefault)
{
  const svg::Shape shape = ShapeWith(std::string("<linearGradient id='g'>") + kTwoStops + "</linearGradient>",
                                     "<rect x='10' y='20' width='40' height='20' fill='url(#g)'/>");
  ASSERT_EQ(PaintKind::LinearGradient, shape.fill.kind);
  ExpectPoints({InGradient(shape.fill, 10, 20), InGradient(shape.fill, 50, 20), InGradient(shape.fill, 30, 30)},
               {{0, 0}, {0, 1}, {-0.5f, 0.5f}});
  ASSERT_EQ(2u, shape.fill.gradient.stops.size());
  EXPECT_EQ((Colour{255, 0, 0, 255}), shape.fill.gradient.stops[0].colour);
  EXPECT_EQ(0.f, shape.fill.gradient.stops[0].offset);
  EXPECT_EQ((Colour{0, 0, 255, 128}), shape.fill.gradient.stops[1].colour);
  EXPECT_EQ(1.f, shape.fill.gradient.stops[1].offset);
  EXPECT_EQ(svg::Spread::Pad, shape.fill.gradient.spread);
}

TEST(Gradient, LinearInUserSpaceFollowsTheElementsTransform)
{
  const std::string defs = std::string("<linearGradient id='g' gradientUnits='userSpaceOnUse' x1='0' y1='0' x2='0' y2='100'>")
                           + kTwoStops + "</linearGradient>";
  const svg::Shape plain = ShapeWith(defs, "<rect width='10' height='100' fill='url(#g)'/>");
  ExpectPoints({InGradient(plain.fill, 0, 50), InGradient(plain.fill, 0, 100)}, {{0, 0.5f}, {0, 1}});
  const svg::Shape moved = ShapeWith(defs, "<g transform='translate(10 0) scale(1 2)'><rect width='10' height='50' fill='url(#g)'/></g>");
  ExpectPoints({InGradient(moved.fill, 10, 0), InGradient(moved.fill, 10, 100)}, {{0, 0}, {0, 0.5f}});
  // Percentages in user space are of the viewport.
  const svg::Shape percent = ShapeWith("<linearGradient id='p' gradientUnits='userSpaceOnUse' x1='0' x2='50%'>"
                                       + std::string(kTwoStops) + "</linearGradient>",
                                       "<rect width='10' height='10' fill='url(#p)'/>");
  ExpectPoints({InGradient(percent.fill, 50, 0)}, {{0, 1}});
}

TEST(Gradient, GradientTransformAppliesInsideTheGradientUnits)
{
  const svg::Shape shape = ShapeWith("<linearGradient id='g' gradientUnits='userSpaceOnUse' x2='10' y2='0'"
                                     " gradientTransform='translate(5) scale(2)'>" + std::string(kTwoStops) + "</linearGradient>",
                                     "<rect width='10' height='10' fill='url(#g)'/>");
  ExpectPoints({InGradient(shape.fill, 5, 0), InGradient(shape.fill, 25, 0)}, {{0, 0}, {0, 1}});
}

TEST(Gradient, RadialInUserSpaceAndInBoundingBox)
{
  const svg::Shape user = ShapeWith("<radialGradient id='r' gradientUnits='userSpaceOnUse' cx='50' cy='50' r='10' fx='55'"
                                    " spreadMethod='reflect'>" + std::string(kTwoStops) + "</radialGradient>",
                                    "<circle cx='50' cy='50' r='10' stroke='url(#r)'/>");
  ASSERT_EQ(PaintKind::RadialGradient, user.stroke.kind);
  ExpectPoints({InGradient(user.stroke, 50, 50), InGradient(user.stroke, 60, 50), InGradient(user.stroke, 50, 40)},
               {{0, 0}, {1, 0}, {0, -1}});
  EXPECT_FLOAT_EQ(0.5f, user.stroke.gradient.fx);
  EXPECT_FLOAT_EQ(0.f, user.stroke.gradient.fy);
  EXPECT_EQ(svg::Spread::Reflect, user.stroke.gradient.spread);

  const svg::Shape box = ShapeWith("<radialGradient id='r' spreadMethod='repeat'>" + std::string(kTwoStops) + "</radialGradient>",
                                   "<rect width='40' height='20' fill='url(#r)'/>");
  ASSERT_EQ(PaintKind::RadialGradient, box.fill.kind);
  ExpectPoints({InGradient(box.fill, 20, 10), InGradient(box.fill, 40, 10), InGradient(box.fill, 20, 20)},
               {{0, 0}, {1, 0}, {0, 1}});
  EXPECT_EQ(0.f, box.fill.gradient.fx);
  EXPECT_EQ(svg::Spread::Repeat, box.fill.gradient.spread);
}

TEST(Gradient, StopsAreClampedOrderedAndCarryEveryOpacity)
{
  const svg::Shape shape = ShapeWith("<linearGradient id='g'>"
                                     "<stop offset='-1' stop-color='#000'/>"
                                     "<stop offset='50%' style='stop-color:#fff;stop-opacity:0.5'/>"
                                     "<stop offset='0.3' stop-color='red'/>"
                                     "<stop offset='2' stop-color='rgb(0,0,255)' stop-opacity='0'/>"
                                     "<stop stop-color='nonsense'/>"
                                     "<rect width='1' height='1'/>"
                                     "</linearGradient>",
                                     "<rect width='10' height='10' fill='url(#g)' fill-opacity='0.5'/>");
  ASSERT_EQ(5u, shape.fill.gradient.stops.size());
  const auto& stops = shape.fill.gradient.stops;
  EXPECT_EQ(0.f, stops[0].offset);
  EXPECT_EQ(0.5f, stops[1].offset);
  EXPECT_EQ(0.5f, stops[2].offset); // never before the previous stop
  EXPECT_EQ(1.f, stops[3].offset);
  EXPECT_EQ(1.f, stops[4].offset);
  EXPECT_EQ((Colour{0, 0, 0, 128}), stops[0].colour);
  EXPECT_EQ((Colour{255, 255, 255, 64}), stops[1].colour);
  EXPECT_EQ((Colour{0, 0, 255, 0}), stops[3].colour);
  EXPECT_EQ((Colour{0, 0, 0, 128}), stops[4].colour); // an invalid colour stays black
}

TEST(Gradient, HrefSuppliesMissingStopsAndAttributes)
{
  const svg::Shape shape = ShapeWith("<linearGradient id='base' x2='0' y2='1'>" + std::string(kTwoStops) + "</linearGradient>"
                                     "<linearGradient id='derived' xlink:href='#base' spreadMethod='reflect'/>",
                                     "<rect width='10' height='20' fill='url(#derived)'/>");
  ASSERT_EQ(PaintKind::LinearGradient, shape.fill.kind);
  EXPECT_EQ(2u, shape.fill.gradient.stops.size());
  EXPECT_EQ(svg::Spread::Reflect, shape.fill.gradient.spread);
  ExpectPoints({InGradient(shape.fill, 0, 20)}, {{0, 1}}); // vertical, from the base
  // The gradient may be defined after its use.
  const auto later = ParseBody("<rect width='1' height='1' fill=\"url('#late')\"/>"
                               "<linearGradient id='late'>" + std::string(kTwoStops) + "</linearGradient>");
  EXPECT_EQ(PaintKind::LinearGradient, later->shapes[0].fill.kind);
}

TEST(Gradient, DegenerateGradientsBecomeSolidOrNone)
{
  auto fillOf = [](const std::string& defs, const std::string& shape = "<rect width='10' height='10' fill='url(#g)'/>") {
    return ShapeWith(defs, shape).fill;
  };
  // One stop: that colour.
  svg::Paint p = fillOf("<linearGradient id='g'><stop offset='0.3' stop-color='lime'/></linearGradient>");
  EXPECT_EQ(PaintKind::Colour, p.kind);
  EXPECT_EQ((Colour{0, 255, 0, 255}), p.colour);
  // No stops: nothing.
  EXPECT_EQ(PaintKind::None, fillOf("<linearGradient id='g'/>").kind);
  // No length, no radius, a singular transform: the last stop's colour.
  for (const std::string defs : {"<linearGradient id='g' x1='0.5' x2='0.5'>", "<radialGradient id='g' r='0'>",
                                  "<linearGradient id='g' gradientTransform='scale(0)'>"})
  {
    const std::string closing = defs.find("radial") != std::string::npos ? "</radialGradient>" : "</linearGradient>";
    p = fillOf(defs + kTwoStops + closing);
    EXPECT_EQ(PaintKind::Colour, p.kind) << defs;
    EXPECT_EQ((Colour{0, 0, 255, 128}), p.colour) << defs;
  }
  // A box without area has no gradient space.
  EXPECT_EQ(PaintKind::None, fillOf("<linearGradient id='g'>" + std::string(kTwoStops) + "</linearGradient>",
                                    "<line x2='10' fill='url(#g)'/>").kind);
  // A reference cycle ends.
  EXPECT_EQ(PaintKind::None, fillOf("<linearGradient id='g' href='#h'/><linearGradient id='h' href='#g'/>").kind);
}

TEST(Gradient, MissingReferencesUseTheFallback)
{
  const auto image = ParseBody("<rect id='notagradient' width='1' height='1' fill='url(#nope) #00f'/>"
                               "<rect width='1' height='1' fill='url(#nope)'/>"
                               "<rect width='1' height='1' fill='url(#notagradient) none'/>"
                               "<rect width='1' height='1' color='red' fill='url(#nope) currentColor'/>"
                               "<rect width='1' height='1' fill='url(nope)'/>");
  ASSERT_EQ(5u, image->shapes.size());
  EXPECT_EQ((Colour{0, 0, 255, 255}), image->shapes[0].fill.colour);
  EXPECT_EQ(PaintKind::None, image->shapes[1].fill.kind);
  EXPECT_EQ(PaintKind::None, image->shapes[2].fill.kind);
  EXPECT_EQ((Colour{255, 0, 0, 255}), image->shapes[3].fill.colour);
  EXPECT_EQ((Colour{0, 0, 0, 255}), image->shapes[4].fill.colour); // not a valid paint: the default stays
}
