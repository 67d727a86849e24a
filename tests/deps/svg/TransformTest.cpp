#include "deps/svg/SvgMatrix.h"

#include "SvgTestSupport.h"

#include <cmath>

using svg::Matrix;

namespace {

void ExpectMatrix(const Matrix& expected, const Matrix& actual)
{
  EXPECT_NEAR(expected.a, actual.a, 1e-9);
  EXPECT_NEAR(expected.b, actual.b, 1e-9);
  EXPECT_NEAR(expected.c, actual.c, 1e-9);
  EXPECT_NEAR(expected.d, actual.d, 1e-9);
  EXPECT_NEAR(expected.e, actual.e, 1e-9);
  EXPECT_NEAR(expected.f, actual.f, 1e-9);
}

Matrix Parsed(const std::string& text)
{
  Matrix m{9, 9, 9, 9, 9, 9};
  EXPECT_TRUE(svg::ParseTransformList(text, m)) << text;
  return m;
}

} // namespace

TEST(Transform, ReadsEveryKind)
{
  ExpectMatrix({1, 2, 3, 4, 5, 6}, Parsed("matrix(1 2 3 4 5 6)"));
  ExpectMatrix({1, 2, 3, 4, 5, 6}, Parsed("matrix(1,2,3,4,5,6)"));
  ExpectMatrix({1, 0, 0, 1, 7, 0}, Parsed("translate(7)"));
  ExpectMatrix({1, 0, 0, 1, 7, -8}, Parsed("translate(7, -8)"));
  ExpectMatrix({3, 0, 0, 3, 0, 0}, Parsed("scale(3)"));
  ExpectMatrix({3, 0, 0, -2, 0, 0}, Parsed("scale(3 -2)"));
  ExpectMatrix({0, 1, -1, 0, 0, 0}, Parsed("rotate(90)"));
  // Rotation about a point keeps that point in place.
  ExpectMatrix({0, 1, -1, 0, 20, 0}, Parsed("rotate(90 10 10)"));
  ExpectMatrix({1, 0, 1, 1, 0, 0}, Parsed("skewX(45)"));
  ExpectMatrix({1, 1, 0, 1, 0, 0}, Parsed("skewY(45)"));
  ExpectMatrix({}, Parsed(""));
  ExpectMatrix({}, Parsed("  "));
}

TEST(Transform, ListsApplyRightToLeft)
{
  // Scaled first, then moved.
  Matrix m = Parsed("translate(10,20) scale(2)");
  double x = 1, y = 1;
  m.Apply(x, y);
  EXPECT_DOUBLE_EQ(12, x);
  EXPECT_DOUBLE_EQ(22, y);
  m = Parsed(" scale(2),translate(10 20) ");
  x = 1, y = 1;
  m.Apply(x, y);
  EXPECT_DOUBLE_EQ(22, x);
  EXPECT_DOUBLE_EQ(42, y);
}

TEST(Transform, MalformedListsAreRefusedWhole)
{
  for (const char* text : {"translate(", "translate(1,2", "matrix(1 2 3)", "rotate(1 2)", "skewX()", "scale(1 2 3)",
                           "spin(3)", "translate(1) x", "translate(a)", "matrix(1 2 3 4 5 6 7)", "(1)", "translate(1e999)"})
  {
    Matrix m{9, 9, 9, 9, 9, 9};
    EXPECT_FALSE(svg::ParseTransformList(text, m)) << text;
    ExpectMatrix({9, 9, 9, 9, 9, 9}, m);
  }
}

TEST(Transform, InverseUndoesTheMatrixAndSingularOnesHaveNone)
{
  const Matrix m = Parsed("translate(5 -3) rotate(30) scale(2 0.5) skewX(10)");
  Matrix inverse;
  ASSERT_TRUE(m.Invert(inverse));
  ExpectMatrix({}, m * inverse);
  ExpectMatrix({}, inverse * m);
  Matrix unchanged{7, 7, 7, 7, 7, 7};
  EXPECT_FALSE(Matrix::Scale(0, 1).Invert(unchanged));
  EXPECT_FALSE((Matrix{1, 2, 2, 4, 0, 0}).Invert(unchanged));
  ExpectMatrix({7, 7, 7, 7, 7, 7}, unchanged);
}

TEST(Transform, ElementAndGroupTransformsAreAppliedToThePoints)
{
  const auto image = ParseBody("<g transform='translate(10 20)'>"
                               "  <g transform='scale(2)'>"
                               "    <rect width='5' height='5' transform='rotate(90)'/>"
                               "  </g>"
                               "  <line x2='10' transform='skewX(45)'/>"
                               "</g>"
                               "<polygon points='0,0 10,0 0,10' transform='matrix(1 0 0 -1 50 50)'/>");
  ASSERT_TRUE(image);
  ASSERT_EQ(3u, image->shapes.size());
  // rect: rotated, then scaled by 2, then moved.
  ExpectPoints(image->shapes[0].paths[0].points,
               Polyline({{10, 20}, {10, 30}, {0, 30}, {0, 20}, {10, 20}}));
  EXPECT_NEAR(0.f, image->shapes[0].bounds.left, 1e-4f);
  EXPECT_NEAR(30.f, image->shapes[0].bounds.bottom, 1e-4f);
  ExpectPoints(image->shapes[1].paths[0].points, Polyline({{10, 20}, {20, 20}}));
  ExpectPoints(image->shapes[2].paths[0].points, Polyline({{50, 50}, {60, 50}, {50, 40}, {50, 50}}));
}

TEST(Transform, StrokeWidthAndDashesScaleWithTheTransform)
{
  const svg::Shape shape = OnlyShape("<g transform='scale(3)'><line x2='1' stroke='red' stroke-width='2'"
                                     " stroke-dasharray='1 2' stroke-dashoffset='1'/></g>");
  EXPECT_FLOAT_EQ(6.f, shape.strokeWidth);
  EXPECT_EQ((std::vector<float>{3, 6}), shape.dashes);
  EXPECT_FLOAT_EQ(3.f, shape.dashOffset);
  // A non-uniform scale uses the geometric mean of its axes.
  EXPECT_FLOAT_EQ(4.f, OnlyShape("<line x2='1' stroke='red' transform='scale(2 8)'/>").strokeWidth);
}

TEST(Transform, AMalformedTransformIsIgnoredAndTheElementStillDrawn)
{
  const svg::Shape shape = OnlyShape("<g transform='translate(5 5)'><rect width='1' height='1' transform='translate(1'/></g>");
  ExpectPoints({shape.paths[0].points[0]}, {{5, 5}});
}

TEST(Transform, ASingularTransformFlattensTheShapeAndDropsItsStroke)
{
  const svg::Shape shape = OnlyShape("<rect width='10' height='10' stroke='red' transform='scale(0 1)'/>");
  EXPECT_EQ(0.f, shape.bounds.left);
  EXPECT_EQ(0.f, shape.bounds.right);
  EXPECT_EQ(svg::PaintKind::None, shape.stroke.kind);
}
