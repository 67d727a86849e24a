#include "RendererTestSupport.h"

#include "framework/graphics/renderer/VectorContextData.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#define STB_IMAGE_WRITE_STATIC
#define STB_IMAGE_WRITE_IMPLEMENTATION
#include <stb_image_write.h>

namespace pfw::gui::test {

namespace {
constexpr float kPi = 3.14159265f;

struct ContextTest : ::testing::Test
{
  void SetUp() override
  {
    context = VG::CreateContext(backend.Params());
    ASSERT_NE(context, nullptr);
    VG::BeginFrame(context, 200.f, 200.f, 1.f);
  }
  void TearDown() override { VG::DeleteContext(context); }

  const RecordingBackend::Call& LastCall() const { return backend.calls.back(); }
  int CountCommands(int code) const
  {
    int count = 0;
    const float* c = context->commands.Get();
    for (int i = 0; i < context->commands.GetSize(); ++i)
    {
      const int op = int(c[i]);
      count += op == code;
      i += op == kVGCommandBezierTo ? 6 : op == kVGCommandWinding ? 1 : op == kVGCommandClose ? 0 : 2;
    }
    return count;
  }

  RecordingBackend backend;
  VectorContext* context = nullptr;
};

bool AllFinite(const std::vector<VectorVertex>& vertices)
{
  for (const VectorVertex& v : vertices)
    if (!std::isfinite(v.x) || !std::isfinite(v.y) || !std::isfinite(v.u) || !std::isfinite(v.v))
      return false;
  return true;
}

float SignedArea(const std::vector<VectorVertex>& v)
{
  float area = 0.f;
  for (size_t i = 2; i < v.size(); ++i)
    area += (v[i].x - v[0].x) * (v[i - 1].y - v[0].y) - (v[i - 1].x - v[0].x) * (v[i].y - v[0].y);
  return area * 0.5f;
}

float DistanceToSegment(float px, float py, const VectorPoint& a, const VectorPoint& b)
{
  const float dx = b.x - a.x, dy = b.y - a.y;
  const float length2 = dx * dx + dy * dy;
  const float t = length2 > 0.f ? std::fmax(0.f, std::fmin(1.f, ((px - a.x) * dx + (py - a.y) * dy) / length2)) : 0.f;
  return std::hypot(a.x + t * dx - px, a.y + t * dy - py);
}
} // namespace

TEST_F(ContextTest, ArcsBecomeUpToFiveBeziersAndAZeroSweepIsOnlyItsEndPoint)
{
  struct Case
  {
    float a0, a1;
    int direction, beziers;
  } cases[] = {
    {0.f, 2.f * kPi, kVGArcClockwise, 4},  {0.f, 0.1f, kVGArcClockwise, 1},
    {0.f, -0.1f, kVGArcClockwise, 4},      {0.f, kPi, kVGArcCounterClockwise, 2},
    {0.f, 20.f, kVGArcCounterClockwise, 4}, {1.f, 1.f, kVGArcClockwise, 0},
    {1.f, 1.f, kVGArcCounterClockwise, 0},
  };
  for (const Case& c : cases)
  {
    VG::BeginPath(context);
    VG::Arc(context, 50.f, 50.f, 10.f, c.a0, c.a1, c.direction);
    EXPECT_EQ(CountCommands(kVGCommandBezierTo), c.beziers) << c.a0 << " " << c.a1 << " " << c.direction;
    EXPECT_EQ(CountCommands(kVGCommandMoveTo), 1);
    for (int i = 0; i < context->commands.GetSize(); ++i)
      ASSERT_TRUE(std::isfinite(context->commands.Get()[i]));
    if (c.beziers == 0)
    {
      // Filled and stroked, it draws nothing and hands over no NaN.
      VG::Fill(context);
      VG::Stroke(context);
      for (const auto& call : backend.calls)
        EXPECT_TRUE(RecordingBackend::Vertices(call).empty());
    }
  }
}

TEST_F(ContextTest, DegenerateInputEndsAndLeavesNoNonFiniteVertex)
{
  const float nan = std::numeric_limits<float>::quiet_NaN();
  const float inf = std::numeric_limits<float>::infinity();
  VG::BeginFrame(context, 100.f, 100.f, 0.f); // a zero ratio falls back to 1
  EXPECT_FLOAT_EQ(context->fringeWidth, 1.f);
  VG::Arc(context, 0.f, 0.f, 5.f, nan, 1.f, kVGArcClockwise);
  VG::Arc(context, 0.f, 0.f, 5.f, 0.f, inf, kVGArcClockwise);
  VG::Rect(context, nan, 0.f, 10.f, 10.f);
  VG::BezierTo(context, 1.f, 1.f, 2.f, 2.f, 3.f, 3.f); // no current point
  const float truncated[] = {kVGCommandBezierTo, 1.f, 2.f};
  VG::AppendCommands(context, truncated, 3);
  const float unknown[] = {7.f, 1.f, 2.f};
  VG::AppendCommands(context, unknown, 3);
  VG::Rect(context, 5.f, 5.f, 0.f, 0.f);
  VG::MoveTo(context, 1e30f, -1e30f);
  VG::BezierTo(context, -1e30f, 1e30f, 1e30f, 1e30f, -1e30f, -1e30f);
  VG::StrokeWidth(context, nan);
  VG::LineCap(context, kVGCapRound);
  VG::LineJoin(context, kVGJoinRound);
  VG::Fill(context);
  VG::Stroke(context);
  VG::StrokeWidth(context, 3.f);
  VG::Stroke(context);
  ASSERT_EQ(backend.calls.size(), 3u);
  EXPECT_TRUE(AllFinite(RecordingBackend::Vertices(backend.calls[0])));
}

TEST_F(ContextTest, FlatteningKeepsCurvesWithinTheToleranceAndOrientsByWinding)
{
  // A cubic flattened at ratio 2: every sample of the true curve lies near the polyline.
  VG::BeginFrame(context, 200.f, 200.f, 2.f);
  VG::MoveTo(context, 10.f, 10.f);
  VG::BezierTo(context, 150.f, 0.f, -50.f, 190.f, 180.f, 120.f);
  VG::Stroke(context);
  const VectorPath& path = *context->cache.paths.Get(0);
  const VectorPoint* points = context->cache.points.Get() + path.first;
  ASSERT_GT(path.count, 20);
  float worst = 0.f;
  for (int s = 0; s <= 1000; ++s)
  {
    const float t = s / 1000.f, u = 1.f - t;
    const float x = u * u * u * 10.f + 3 * u * u * t * 150.f + 3 * u * t * t * -50.f + t * t * t * 180.f;
    const float y = u * u * u * 10.f + 3 * u * u * t * 0.f + 3 * u * t * t * 190.f + t * t * t * 120.f;
    float nearest = 1e9f;
    for (int i = 0; i + 1 < path.count; ++i)
      nearest = std::fmin(nearest, DistanceToSegment(x, y, points[i], points[i + 1]));
    worst = std::fmax(worst, nearest);
  }
  EXPECT_LT(worst, 0.25f);

  // A closed path repeating its first point loses the repeat; winding 2 reverses a
  // rectangle's points (shape anti-aliasing off: the fill fan is the points themselves).
  VG::ShapeAntiAlias(context, false);
  struct Case
  {
    int winding;
    bool positiveArea;
  } cases[] = {{kVGWindingSolid, true}, {kVGWindingHole, false}};
  for (const Case& c : cases)
  {
    VG::BeginPath(context);
    VG::Rect(context, 0.f, 0.f, 10.f, 20.f);
    VG::PathWinding(context, c.winding);
    VG::Fill(context);
    EXPECT_EQ(SignedArea(LastCall().paths[0].fill) > 0.f, c.positiveArea);
  }
  VG::BeginPath(context);
  VG::MoveTo(context, 0.f, 0.f);
  VG::LineTo(context, 10.f, 0.f);
  VG::LineTo(context, 10.f, 10.f);
  VG::LineTo(context, 0.f, 0.002f);
  VG::Fill(context);
  EXPECT_EQ(LastCall().paths[0].fill.size(), 3u);
  EXPECT_EQ(LastCall().paths[0].closed, 1);
}

TEST_F(ContextTest, FillsGetAHalfPixelFringeAroundTheEdgeAndConcaveShapesStayConcave)
{
  VG::Rect(context, 0.f, 0.f, 10.f, 10.f);
  VG::Fill(context);
  const RecordingBackend::PathRecord& rect = LastCall().paths[0];
  EXPECT_EQ(rect.convex, 1);
  ASSERT_EQ(rect.fill.size(), 4u);
  for (const VectorVertex& v : rect.fill)
  {
    EXPECT_NEAR(std::fmin(v.x, 10.f - v.x), 0.5f, 1e-5f); // inset by half the fringe
    EXPECT_NEAR(std::fmin(v.y, 10.f - v.y), 0.5f, 1e-5f);
  }
  ASSERT_EQ(rect.stroke.size(), 10u); // two per corner, closed by repeating the first two
  for (size_t i = 0; i < rect.stroke.size(); ++i)
  {
    const VectorVertex& v = rect.stroke[i];
    const bool outer = i % 2 == 1;
    EXPECT_FLOAT_EQ(v.u, outer ? 1.f : 0.5f);
    EXPECT_NEAR(std::fmin(v.x, 10.f - v.x), outer ? -0.5f : 0.5f, 1e-5f);
  }

  // A five-pointed star: concave, its fringe spans both sides of the edge.
  VG::BeginPath(context);
  for (int i = 0; i < 10; ++i)
  {
    const float r = i % 2 ? 20.f : 50.f, a = i * kPi / 5.f;
    i == 0 ? VG::MoveTo(context, 100.f + r * std::sin(a), 100.f - r * std::cos(a))
           : VG::LineTo(context, 100.f + r * std::sin(a), 100.f - r * std::cos(a));
  }
  VG::ClosePath(context);
  VG::Fill(context);
  const RecordingBackend::PathRecord& star = LastCall().paths[0];
  EXPECT_EQ(star.convex, 0);
  EXPECT_EQ(star.fill.size(), 10u);
  for (size_t i = 0; i < star.stroke.size(); ++i)
    EXPECT_TRUE(star.stroke[i].u == 0.f || star.stroke[i].u == 1.f || star.stroke[i].u == 0.5f);
  EXPECT_EQ(context->counters.drawCalls, 4);
}

TEST_F(ContextTest, StrokeWidthIsScaledClampedAndThinStrokesFade)
{
  struct Case
  {
    float width, scale, drawnWidth, alpha;
  } cases[] = {{0.5f, 1.f, 1.f, 0.25f}, {4.f, 1.f, 4.f, 1.f}, {1000.f, 1.f, 200.f, 1.f}, {2.f, 2.f, 4.f, 1.f},
               {0.25f, 2.f, 1.f, 0.25f}, {0.f, 1.f, 1.f, 0.f}};
  for (const Case& c : cases)
  {
    VG::Save(context);
    VG::Scale(context, c.scale, c.scale);
    VG::StrokeWidth(context, c.width);
    VG::BeginPath(context);
    VG::MoveTo(context, 0.f, 0.f);
    VG::LineTo(context, 10.f, 0.f);
    VG::Stroke(context);
    VG::Restore(context);
    EXPECT_FLOAT_EQ(LastCall().strokeWidth, c.drawnWidth) << c.width;
    EXPECT_FLOAT_EQ(LastCall().paint.innerColour.a, c.alpha) << c.width;
  }
}

TEST_F(ContextTest, CapsAndJoinsReachAsFarAsTheirGeometry)
{
  // A 4-wide horizontal line from 0 to 10: butt caps end at the points, square and round
  // ones half the width beyond (round ones as far as their few divisions reach); the
  // fringe adds half a pixel.
  struct CapCase
  {
    int cap;
    float minX, maxX, tolerance;
  } caps[] = {{kVGCapButt, -0.5f, 10.5f, 1e-4f}, {kVGCapSquare, -2.5f, 12.5f, 1e-4f}, {kVGCapRound, -2.3f, 12.3f, 0.2f}};
  VG::StrokeWidth(context, 4.f);
  for (const CapCase& c : caps)
  {
    VG::LineCap(context, c.cap);
    VG::BeginPath(context);
    VG::MoveTo(context, 0.f, 0.f);
    VG::LineTo(context, 10.f, 0.f);
    VG::Stroke(context);
    float minX = 1e9f, maxX = -1e9f, maxY = 0.f;
    for (const VectorVertex& v : RecordingBackend::Vertices(LastCall()))
    {
      minX = std::fmin(minX, v.x);
      maxX = std::fmax(maxX, v.x);
      maxY = std::fmax(maxY, std::fabs(v.y));
    }
    EXPECT_NEAR(minX, c.minX, c.tolerance) << c.cap;
    EXPECT_NEAR(maxX, c.maxX, c.tolerance) << c.cap;
    EXPECT_NEAR(maxY, 2.5f, 1e-4f) << c.cap;
  }
  // A right-angle corner, 20 wide (10.5 either side with the fringe), measured outwards
  // along the corner's diagonal: a miter reaches sqrt 2 times the half width, a bevel half
  // of that, a round join lies between them; a miter limit of 1 bevels.
  struct JoinCase
  {
    int join;
    float miterLimit, minReach, maxReach;
  } joins[] = {{kVGJoinMiter, 10.f, 14.84f, 14.86f}, {kVGJoinBevel, 10.f, 7.42f, 7.43f},
               {kVGJoinRound, 10.f, 7.5f, 10.5f}, {kVGJoinMiter, 1.f, 7.42f, 7.43f}};
  VG::LineCap(context, kVGCapButt);
  VG::StrokeWidth(context, 20.f);
  for (const JoinCase& c : joins)
  {
    VG::LineJoin(context, c.join);
    VG::MiterLimit(context, c.miterLimit);
    VG::BeginPath(context);
    VG::MoveTo(context, 0.f, 0.f);
    VG::LineTo(context, 100.f, 0.f);
    VG::LineTo(context, 100.f, 100.f);
    VG::Stroke(context);
    float reach = 0.f;
    for (const VectorVertex& v : RecordingBackend::Vertices(LastCall()))
      if (v.x > 50.f && v.y < 50.f)
        reach = std::fmax(reach, ((v.x - 100.f) - v.y) / std::sqrt(2.f));
    EXPECT_GE(reach, c.minReach) << c.join << " " << c.miterLimit;
    EXPECT_LE(reach, c.maxReach) << c.join << " " << c.miterLimit;
  }
}

TEST_F(ContextTest, StateStackKeepsThirtyTwoStatesAndTheLastOneAlways)
{
  for (int i = 1; i <= 40; ++i)
  {
    VG::Save(context);
    VG::StrokeWidth(context, float(i));
  }
  EXPECT_EQ(context->stateCount, 32);
  EXPECT_FLOAT_EQ(VG::State(context).strokeWidth, 40.f); // saves past 32 changed nothing
  VG::Restore(context);
  EXPECT_FLOAT_EQ(VG::State(context).strokeWidth, 30.f);
  for (int i = 0; i < 40; ++i)
    VG::Restore(context);
  EXPECT_EQ(context->stateCount, 1);
  EXPECT_FLOAT_EQ(VG::State(context).strokeWidth, 1.f);
}

TEST(VectorTransform, InverseScaleAndFontScale)
{
  float t[6] = {2.f, 1.f, -1.f, 3.f, 5.f, -7.f}, inverse[6], product[6];
  ASSERT_EQ(VG::TransformInverse(inverse, t), 1);
  std::copy(t, t + 6, product);
  VG::TransformMultiply(product, inverse);
  const float identity[6] = {1.f, 0.f, 0.f, 1.f, 0.f, 0.f};
  for (int i = 0; i < 6; ++i)
    EXPECT_NEAR(product[i], identity[i], 1e-5f);
  const float singular[6] = {1.f, 2.f, 2.f, 4.f, 3.f, 3.f};
  EXPECT_EQ(VG::TransformInverse(inverse, singular), 0);
  for (int i = 0; i < 6; ++i)
    EXPECT_EQ(inverse[i], identity[i]);

  struct Case
  {
    float scale, rotation, fontScale;
  } cases[] = {{1.f, 0.f, 1.f}, {1.234f, 0.f, 1.23f}, {1.236f, 0.7f, 1.24f}, {10.f, 0.f, 4.f}, {0.001f, 0.f, 0.f}};
  for (const Case& c : cases)
  {
    float r[6];
    VG::TransformRotate(r, c.rotation);
    VG::TransformScale(t, c.scale, c.scale);
    VG::TransformMultiply(t, r);
    EXPECT_NEAR(VG::FontScale(t), c.fontScale, 1e-5f) << c.scale;
  }
}

TEST_F(ContextTest, PaintsAndScissorFollowTheStateTransform)
{
  VG::Translate(context, 10.f, 0.f);
  VG::Scale(context, 2.f, 2.f);
  const VectorColour black{0.f, 0.f, 0.f, 1.f}, white{1.f, 1.f, 1.f, 1.f};
  VG::FillPaint(context, VG::LinearGradient(0.f, 0.f, 0.f, 10.f, black, white));
  VG::Scissor(context, 10.f, 20.f, 30.f, 40.f);
  VG::GlobalAlpha(context, 0.5f);
  VG::BlendFuncSeparate(context, kBlendOne, kBlendZero, kBlendOne, kBlendZero);
  VG::Rect(context, 0.f, 0.f, 5.f, 5.f);
  VG::Fill(context);
  const RecordingBackend::Call& call = LastCall();
  // Gradient start (0, 0) maps through the state: (10, 0); its direction is scaled by 2.
  float x, y;
  VG::TransformPoint(&x, &y, call.paint.transform, 0.f, 1e5f);
  EXPECT_NEAR(x, 10.f, 1e-2f);
  EXPECT_NEAR(y, 0.f, 1e-2f);
  EXPECT_FLOAT_EQ(call.paint.transform[3], 2.f);
  EXPECT_FLOAT_EQ(call.paint.feather, 10.f);
  EXPECT_FLOAT_EQ(call.paint.innerColour.a, 0.5f);
  EXPECT_FLOAT_EQ(call.scissor.extent[0], 15.f);
  EXPECT_FLOAT_EQ(call.scissor.transform[4], 10.f + 2.f * 25.f);
  EXPECT_FLOAT_EQ(call.scissor.transform[5], 2.f * 40.f);
  EXPECT_EQ(call.composite.dstRGB, kBlendZero);
  // Path points are transformed as they are appended.
  EXPECT_NEAR(call.paths[0].fill[0].x, 10.f + 0.5f, 1e-4f);
}

TEST_F(ContextTest, ImagesDecodeToRGBATexturesAndBadBytesGiveNone)
{
  const unsigned char pixels[] = {255, 0, 0, 255, 0, 255, 0, 128, 0, 0, 255, 255, 10, 20, 30, 0};
  int length = 0;
  unsigned char* png = stbi_write_png_to_mem(pixels, 8, 2, 2, 4, &length);
  ASSERT_NE(png, nullptr);
  const int image = VG::CreateImageMem(context, kImageRepeatX, png, length);
  STBIW_FREE(png);
  ASSERT_NE(image, 0);
  const RecordingBackend::Texture& texture = backend.textures[image];
  EXPECT_EQ(texture.type, kTextureRGBA);
  EXPECT_EQ(texture.flags, kImageRepeatX);
  EXPECT_EQ(texture.pixels, std::vector<unsigned char>(pixels, pixels + 16));
  int w = 0, h = 0;
  EXPECT_TRUE(VG::ImageSize(context, image, &w, &h));
  EXPECT_EQ(w * 10 + h, 22);
  VG::DeleteImage(context, image);
  EXPECT_FALSE(VG::ImageSize(context, image, &w, &h));

  const unsigned char garbage[] = {0x89, 'P', 'N', 'G', 1, 2, 3};
  EXPECT_EQ(VG::CreateImageMem(context, 0, garbage, sizeof garbage), 0);
  EXPECT_EQ(VG::CreateImageFile(context, "no such file.png", 0), 0);
}

TEST(VectorContextLife, ABackEndThatFailsMakesNoContext)
{
  RecordingBackend backend;
  backend.failCreate = true;
  EXPECT_EQ(VG::CreateContext(backend.Params()), nullptr);
  EXPECT_TRUE(backend.textures.empty());
}

} // namespace pfw::gui::test
