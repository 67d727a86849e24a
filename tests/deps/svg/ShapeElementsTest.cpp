#include "SvgTestSupport.h"

using svg::PaintKind;

namespace {

const float k = 0.5522847498f;

} // namespace

TEST(ShapeElements, RectIsAClosedFourSidedPath)
{
  const svg::Shape shape = OnlyShape("<rect x='10' y='20' width='30' height='40'/>");
  ASSERT_EQ(1u, shape.paths.size());
  EXPECT_TRUE(shape.paths[0].closed);
  ExpectPoints(shape.paths[0].points, Polyline({{10, 20}, {40, 20}, {40, 60}, {10, 60}, {10, 20}}));
  EXPECT_EQ(10.f, shape.bounds.left);
  EXPECT_EQ(20.f, shape.bounds.top);
  EXPECT_EQ(40.f, shape.bounds.right);
  EXPECT_EQ(60.f, shape.bounds.bottom);
  // Default paint: black fill, no stroke, width 1, butt caps, miter joins, limit 4, nonzero.
  EXPECT_EQ(PaintKind::Colour, shape.fill.kind);
  EXPECT_EQ((svg::Colour{0, 0, 0, 255}), shape.fill.colour);
  EXPECT_EQ(PaintKind::None, shape.stroke.kind);
  EXPECT_EQ(1.f, shape.strokeWidth);
  EXPECT_EQ(svg::LineCap::Butt, shape.lineCap);
  EXPECT_EQ(svg::LineJoin::Miter, shape.lineJoin);
  EXPECT_EQ(4.f, shape.miterLimit);
  EXPECT_EQ(svg::FillRule::NonZero, shape.fillRule);
  EXPECT_EQ(1.f, shape.opacity);
  EXPECT_TRUE(shape.visible);
}

TEST(ShapeElements, RoundedRectHasQuarterEllipseCorners)
{
  const std::vector<svg::Point> expected{
    {5, 0},  {15, 0}, {25, 0}, {35, 0}, {35 + 5 * k, 0}, {40, 5 - 5 * k}, {40, 5},
    {40, 25.f / 3}, {40, 35.f / 3}, {40, 15}, {40, 15 + 5 * k}, {35 + 5 * k, 20}, {35, 20},
    {25, 20}, {15, 20}, {5, 20}, {5 - 5 * k, 20}, {0, 15 + 5 * k}, {0, 15},
    {0, 35.f / 3}, {0, 25.f / 3}, {0, 5}, {0, 5 - 5 * k}, {5 - 5 * k, 0}, {5, 0}};
  ExpectPoints(OnlyShape("<rect width='40' height='20' rx='5'/>").paths[0].points, expected);
  ExpectPoints(OnlyShape("<rect width='40' height='20' ry='5'/>").paths[0].points, expected);
  ExpectPoints(OnlyShape("<rect width='40' height='20' rx='5' ry='5'/>").paths[0].points, expected);
  // Radii are clamped to half the size; a lone rx also sets ry before clamping.
  const svg::Shape pill = OnlyShape("<rect width='40' height='20' rx='30'/>");
  ExpectPoints({pill.paths[0].points[0], pill.paths[0].points[6]}, {{20, 0}, {40, 10}});
  // A negative radius counts as absent.
  EXPECT_EQ(13u, OnlyShape("<rect width='40' height='20' rx='-3'/>").paths[0].points.size());
}

TEST(ShapeElements, RectWithoutAreaDrawsNothing)
{
  for (const char* body : {"<rect width='0' height='10'/>", "<rect width='10' height='-1'/>", "<rect width='10'/>",
                           "<rect width='abc' height='10'/>"})
  {
    const auto image = ParseBody(body);
    ASSERT_TRUE(image) << body;
    EXPECT_TRUE(image->shapes.empty()) << body;
  }
}

TEST(ShapeElements, CircleAndEllipseAreFourQuarterCubicsClockwiseFromTheRight)
{
  const std::vector<svg::Point> circle{
    {60, 50},          {60, 50 + 10 * k}, {50 + 10 * k, 60}, {50, 60}, {50 - 10 * k, 60}, {40, 50 + 10 * k}, {40, 50},
    {40, 50 - 10 * k}, {50 - 10 * k, 40}, {50, 40},          {50 + 10 * k, 40}, {60, 50 - 10 * k}, {60, 50}};
  const svg::Shape shape = OnlyShape("<circle cx='50' cy='50' r='10'/>");
  ExpectPoints(shape.paths[0].points, circle);
  EXPECT_TRUE(shape.paths[0].closed);
  EXPECT_NEAR(40.f, shape.bounds.left, 1e-4f);
  EXPECT_NEAR(60.f, shape.bounds.bottom, 1e-4f);
  ExpectPoints(OnlyShape("<ellipse cx='50' cy='50' rx='10' ry='10'/>").paths[0].points, circle);

  const svg::Shape ellipse = OnlyShape("<ellipse cx='0' cy='0' rx='20' ry='10'/>");
  ExpectPoints({ellipse.paths[0].points[1], ellipse.paths[0].points[2], ellipse.paths[0].points[3]},
               {{20, 10 * k}, {20 * k, 10}, {0, 10}});
  EXPECT_NEAR(-20.f, ellipse.bounds.left, 1e-4f);
  EXPECT_NEAR(-10.f, ellipse.bounds.top, 1e-4f);

  for (const char* body : {"<circle r='0'/>", "<circle cx='5'/>", "<ellipse rx='5'/>", "<ellipse rx='5' ry='-1'/>"})
    EXPECT_TRUE(ParseBody(body)->shapes.empty()) << body;
}

TEST(ShapeElements, LinePolylineAndPolygon)
{
  const svg::Shape line = OnlyShape("<line x1='0' y1='0' x2='30' y2='60' stroke='red'/>");
  EXPECT_FALSE(line.paths[0].closed);
  ExpectPoints(line.paths[0].points, Polyline({{0, 0}, {30, 60}}));

  const svg::Shape polyline = OnlyShape("<polyline points='0,0 10,0 10,10 5'/>");
  EXPECT_FALSE(polyline.paths[0].closed);
  ExpectPoints(polyline.paths[0].points, Polyline({{0, 0}, {10, 0}, {10, 10}}));

  const svg::Shape polygon = OnlyShape("<polygon points=' 0 0,10 0 , 10 10 '/>");
  EXPECT_TRUE(polygon.paths[0].closed);
  ExpectPoints(polygon.paths[0].points, Polyline({{0, 0}, {10, 0}, {10, 10}, {0, 0}}));

  // Reading points stops at garbage but keeps the pairs before it.
  ExpectPoints(OnlyShape("<polyline points='0,0 10,0 10,x 20,20'/>").paths[0].points, Polyline({{0, 0}, {10, 0}}));
  for (const char* body : {"<polyline points='5,5'/>", "<polygon/>", "<polygon points=''/>", "<path/>", "<path d=''/>"})
    EXPECT_TRUE(ParseBody(body)->shapes.empty()) << body;
}

TEST(ShapeElements, PathElementKeepsEverySubpath)
{
  const svg::Shape shape = OnlyShape("<path id='two' d='M0 0 H10 V10 Z M20 20 H30'/>");
  EXPECT_EQ("two", shape.id);
  ASSERT_EQ(2u, shape.paths.size());
  EXPECT_TRUE(shape.paths[0].closed);
  EXPECT_FALSE(shape.paths[1].closed);
  EXPECT_EQ(0.f, shape.bounds.left);
  EXPECT_EQ(30.f, shape.bounds.right);
  EXPECT_EQ(20.f, shape.paths[1].bounds.top);
  // A path with an error draws what came before it.
  ExpectPoints(OnlyShape("<path d='M0 0 L10 0 L20 oops'/>").paths[0].points, Polyline({{0, 0}, {10, 0}}));
}

TEST(ShapeElements, LengthsTakeUnitsAndPercentages)
{
  // 100 x 100 viewport at 96 dpi.
  const svg::Shape rect = OnlyShape("<rect x='10%' y='1in' width='50%' height='12pt'/>");
  ExpectPoints({rect.paths[0].points[0], rect.paths[0].points[6]}, {{10, 96}, {60, 112}});
  const svg::Shape circle = OnlyShape("<circle cx='2.54cm' cy='25.4mm' r='10%'/>");
  ExpectPoints({circle.paths[0].points[0]}, {{106, 96}});
  const svg::Shape em = OnlyShape("<g font-size='20'><rect width='2em' height='1ex'/></g>");
  ExpectPoints({em.paths[0].points[6]}, {{40, 10}});
  const svg::Shape pc = OnlyShape("<rect width='1pc' height='1px'/>");
  ExpectPoints({pc.paths[0].points[6]}, {{16, 1}});
}

TEST(ShapeElements, UnknownAndNonDrawingElementsAreSkippedWithTheirContent)
{
  const auto image = ParseBody("<text x='5'>hi<tspan><rect width='1' height='1'/></tspan></text>"
                               "<defs><rect id='r' width='2' height='2'/></defs>"
                               "<clipPath><rect width='3' height='3'/></clipPath>"
                               "<foo:bar><rect width='4' height='4'/></foo:bar>"
                               "<title>t</title><desc>d</desc><metadata><x/></metadata>"
                               "<image width='5' height='5'/>"
                               "<rect id='kept' width='6' height='6'/>");
  ASSERT_TRUE(image);
  ASSERT_EQ(1u, image->shapes.size());
  EXPECT_EQ("kept", image->shapes[0].id);
}
