#include "deps/svg/PathBuilder.h"
#include "deps/svg/PathData.h"

#include "SvgTestSupport.h"

#include <cmath>

using svg::PathBuilder;
using svg::SubPath;

namespace {

const float k = 0.5522847498f; // control distance of a quarter circle, per unit radius

struct Parsed
{
  bool complete = false;
  std::vector<SubPath> subPaths;
};

Parsed Parse(const std::string& data)
{
  PathBuilder builder;
  Parsed parsed;
  parsed.complete = svg::ParsePathData(data, builder);
  parsed.subPaths = builder.TakeSubPaths();
  return parsed;
}

std::vector<svg::Point> Points(const SubPath& path)
{
  std::vector<svg::Point> points;
  for (const auto& p : path.points)
    points.push_back({static_cast<float>(p.x), static_cast<float>(p.y)});
  return points;
}

// The single subpath of the data, checked to have been read completely.
std::vector<svg::Point> Single(const std::string& data, bool* closed = nullptr)
{
  const Parsed parsed = Parse(data);
  EXPECT_TRUE(parsed.complete) << data;
  EXPECT_EQ(1u, parsed.subPaths.size()) << data;
  if (parsed.subPaths.empty())
    return {};
  if (closed)
    *closed = parsed.subPaths[0].closed;
  return Points(parsed.subPaths[0]);
}

} // namespace

TEST(PathData, LinesInAbsoluteAndRelativeFormAgree)
{
  const auto expected = Polyline({{10, 20}, {40, 20}, {70, 20}, {70, 50}, {10, 20}});
  bool closed = false;
  ExpectPoints(Single("M10 20 L40 20 H70 V50 Z", &closed), expected);
  EXPECT_TRUE(closed);
  ExpectPoints(Single("m10,20 l30,0 h30 v30 z", &closed), expected);
  EXPECT_TRUE(closed);
  ExpectPoints(Single("M10 20L40 20H70V50Z"), expected);
}

TEST(PathData, CoordinatesAfterAMoveRepeatAsLines)
{
  ExpectPoints(Single("M0 0 10 0 10 10"), Polyline({{0, 0}, {10, 0}, {10, 10}}));
  ExpectPoints(Single("m5 5 10 0 0 10"), Polyline({{5, 5}, {15, 5}, {15, 15}}));
  ExpectPoints(Single("M0 0 L1 1 2 0 3 1"), Polyline({{0, 0}, {1, 1}, {2, 0}, {3, 1}}));
  ExpectPoints(Single("M0 0 h1 2 v3"), Polyline({{0, 0}, {1, 0}, {3, 0}, {3, 3}}));
  ExpectPoints(Single("M-1-2L.5.5"), Polyline({{-1, -2}, {0.5f, 0.5f}}));
}

TEST(PathData, CubicsAndSmoothCubicsReflectTheLastControlPoint)
{
  const std::vector<svg::Point> expected{{0, 0}, {10, 0}, {20, 10}, {20, 20}, {20, 30}, {30, 40}, {40, 40}};
  ExpectPoints(Single("M0 0 C10 0 20 10 20 20 S30 40 40 40"), expected);
  ExpectPoints(Single("m0 0 c10 0 20 10 20 20 s10 20 20 20"), expected);
  // Without a cubic before it, the first control point is the current point.
  ExpectPoints(Single("M0 0 L5 0 S10 10 20 0"), {{0, 0}, LineSegment({0, 0}, {5, 0})[0], LineSegment({0, 0}, {5, 0})[1], {5, 0}, {5, 0}, {10, 10}, {20, 0}});
  // Repeated cubic arguments are further cubics.
  ExpectPoints(Single("M0 0 C1 1 2 2 3 3 4 4 5 5 6 6"), {{0, 0}, {1, 1}, {2, 2}, {3, 3}, {4, 4}, {5, 5}, {6, 6}});
}

TEST(PathData, QuadraticsBecomeCubicsAndSmoothOnesReflect)
{
  const std::vector<svg::Point> expected{{0, 0},         {20.f / 3, 40.f / 3}, {40.f / 3, 40.f / 3}, {20, 0},
                                         {80.f / 3, -40.f / 3}, {100.f / 3, -40.f / 3}, {40, 0}};
  ExpectPoints(Single("M0 0 Q10 20 20 0 T40 0"), expected);
  ExpectPoints(Single("m0 0 q10 20 20 0 t20 0"), expected);
  // T after something other than a quadratic uses the current point as its control: a line.
  ExpectPoints(Single("M0 0 T30 0"), {{0, 0}, {0, 0}, {10, 0}, {30, 0}});
}

TEST(PathData, ArcsBecomeQuarterTurnCubics)
{
  // A half circle of radius 10 about (10, 0), drawn with the sweep flag through (10, -10).
  const std::vector<svg::Point> upper{{0, 0},        {0, -10 * k},  {10 - 10 * k, -10}, {10, -10},
                                      {10 + 10 * k, -10}, {20, -10 * k}, {20, 0}};
  ExpectPoints(Single("M0 0 A10 10 0 0 1 20 0"), upper);
  ExpectPoints(Single("m0 0 a10 10 0 0 1 20 0"), upper);
  // Radii too small to reach grow until they do.
  ExpectPoints(Single("M0 0 A5 5 0 0 1 20 0"), upper);
  // Without the sweep flag the other half, through (10, 10).
  const auto lower = Single("M0 0 A10 10 0 0 0 20 0");
  ASSERT_EQ(7u, lower.size());
  EXPECT_NEAR(10.f, lower[3].x, 1e-4f);
  EXPECT_NEAR(10.f, lower[3].y, 1e-4f);

  // The large arc from (10, 0) to (0, 10) turns three quarters about (10, 10).
  const auto large = Single("M10 0 A10 10 0 1 1 0 10");
  ASSERT_EQ(10u, large.size());
  ExpectPoints({large[3], large[6], large[9]}, {{20, 10}, {10, 20}, {0, 10}});
  // Flags may be written without separators.
  const auto compact = Single("M10 0a10 10 0 1110-10");
  ASSERT_EQ(10u, compact.size());
  ExpectPoints({compact.back()}, {{20, -10}});
}

TEST(PathData, RotatedArcEndsExactlyAndStaysOnItsEllipse)
{
  const auto points = Single("M0 0 A20 10 30 0 1 30 10");
  ASSERT_GE(points.size(), 4u);
  ExpectPoints({points.back()}, {{30, 10}});
  // Every segment end lies on the same ellipse: check that the end points are spread and finite.
  for (const auto& p : points)
  {
    EXPECT_TRUE(std::isfinite(p.x));
    EXPECT_TRUE(std::isfinite(p.y));
  }
}

TEST(PathData, DegenerateArcsAreLinesOrNothing)
{
  ExpectPoints(Single("M0 0 A0 10 0 0 1 30 0"), Polyline({{0, 0}, {30, 0}}));
  ExpectPoints(Single("M0 0 L6 0 A10 10 0 0 1 6 0"), Polyline({{0, 0}, {6, 0}}));
  ExpectPoints(Single("M0 0 A-10 -10 0 0 1 20 0"), Single("M0 0 A10 10 0 0 1 20 0"));
}

TEST(PathData, CloseEndsTheSubpathAndDrawingGoesOnFromItsStart)
{
  const Parsed parsed = Parse("M0 0 L10 0 L10 10 Z L0 10 M20 20 L30 20 z m5 5 l1 0");
  ASSERT_TRUE(parsed.complete);
  ASSERT_EQ(4u, parsed.subPaths.size());
  EXPECT_TRUE(parsed.subPaths[0].closed);
  ExpectPoints(Points(parsed.subPaths[0]), Polyline({{0, 0}, {10, 0}, {10, 10}, {0, 0}}));
  EXPECT_FALSE(parsed.subPaths[1].closed);
  ExpectPoints(Points(parsed.subPaths[1]), Polyline({{0, 0}, {0, 10}}));
  EXPECT_TRUE(parsed.subPaths[2].closed);
  ExpectPoints(Points(parsed.subPaths[3]), Polyline({{25, 25}, {26, 25}}));
  // A path that already ends at its start gets no extra segment when closed.
  ExpectPoints(Single("M0 0 L10 0 L0 0 Z"), Polyline({{0, 0}, {10, 0}, {0, 0}}));
}

TEST(PathData, LoneMovesAddNothing)
{
  EXPECT_EQ(0u, Parse("").subPaths.size());
  EXPECT_EQ(0u, Parse("M10 10").subPaths.size());
  EXPECT_EQ(0u, Parse("M10 10 Z").subPaths.size());
  ExpectPoints(Single("M0 0 M5 5 L6 5"), Polyline({{5, 5}, {6, 5}}));
}

TEST(PathData, ReadingStopsAtTheFirstErrorAndKeepsWhatCameBefore)
{
  struct Case
  {
    const char* data;
    size_t subPaths;
    size_t pointsInFirst;
  };
  const Case cases[] = {
    {"M0 0 L10 0 L20", 1, 4},         // missing coordinate
    {"M0 0 L10 0 L20 x", 1, 4},       // garbage number
    {"M0 0 L10 0 Z 5 5", 1, 7},       // numbers after a close
    {"L10 10 L20 20", 0, 0},          // no move first
    {"10 10", 0, 0},
    {"M0 0 L10 0 X 3 3", 1, 4},       // unknown command
    {"M0 0 L1e999 0", 0, 0},          // overflow
    {"M0 0 L10 0 L NaN 5", 1, 4},
    {"M0 0 a10 10 0 2 1 10 0", 0, 0}, // a flag must be 0 or 1
    {"M0 0 L10 0 C1 2 3", 1, 4},      // short cubic
  };
  for (const Case& c : cases)
  {
    const Parsed parsed = Parse(c.data);
    EXPECT_FALSE(parsed.complete) << c.data;
    ASSERT_EQ(c.subPaths, parsed.subPaths.size()) << c.data;
    if (c.subPaths > 0)
    {
      EXPECT_EQ(c.pointsInFirst, parsed.subPaths[0].points.size()) << c.data;
    }
  }
}

TEST(PathData, CurveBoundsFollowTheCurveNotItsControlPoints)
{
  const Parsed parsed = Parse("M0 0 C0 -40 40 -40 40 0");
  ASSERT_EQ(1u, parsed.subPaths.size());
  const svg::BoundsD bounds = svg::CurveBounds(parsed.subPaths[0].points);
  EXPECT_DOUBLE_EQ(0.0, bounds.left);
  EXPECT_DOUBLE_EQ(40.0, bounds.right);
  EXPECT_DOUBLE_EQ(-30.0, bounds.top); // the curve's peak, not the control points' -40
  EXPECT_DOUBLE_EQ(0.0, bounds.bottom);
}
