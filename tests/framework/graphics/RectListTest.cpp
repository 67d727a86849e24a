#include "framework/graphics/IRectF.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <set>
#include <vector>

using pfw::gui::IRectF;
using pfw::gui::IRectFList;

namespace {
std::vector<IRectF> ToVector(const IRectFList& list)
{
  std::vector<IRectF> out;
  for (int i = 0; i < list.Size(); ++i)
    out.push_back(list.Get(i));
  return out;
}

bool Covered(const std::vector<IRectF>& rects, double x, double y)
{
  for (const IRectF& r : rects)
    if (r.L <= x && x < r.R && r.T <= y && y < r.B)
      return true;
  return false;
}

// Compares the covered areas exactly: every cell of the grid made by all edges is either
// inside both sets or outside both.
::testing::AssertionResult SameUnion(const std::vector<IRectF>& a, const std::vector<IRectF>& b)
{
  std::set<double> xs, ys;
  for (const auto* set : {&a, &b})
    for (const IRectF& r : *set)
    {
      xs.insert(r.L);
      xs.insert(r.R);
      ys.insert(r.T);
      ys.insert(r.B);
    }
  const std::vector<double> vx(xs.begin(), xs.end()), vy(ys.begin(), ys.end());
  for (size_t i = 0; i + 1 < vx.size(); ++i)
    for (size_t j = 0; j + 1 < vy.size(); ++j)
    {
      const double x = 0.5 * (vx[i] + vx[i + 1]);
      const double y = 0.5 * (vy[j] + vy[j + 1]);
      if (Covered(a, x, y) != Covered(b, x, y))
        return ::testing::AssertionFailure() << "cell at " << x << "," << y << " differs";
    }
  return ::testing::AssertionSuccess();
}

bool Disjoint(const std::vector<IRectF>& rects)
{
  for (size_t i = 0; i < rects.size(); ++i)
    for (size_t j = i + 1; j < rects.size(); ++j)
    {
      const IRectF& a = rects[i];
      const IRectF& b = rects[j];
      if (a.L < b.R && b.L < a.R && a.T < b.B && b.T < a.B)
        return false;
    }
  return true;
}
} // namespace

TEST(RectF, EmptyContainsAndIntersects)
{
  EXPECT_TRUE(IRectF().Empty());
  EXPECT_FALSE(IRectF(0, 0, 0, 1).Empty());
  const IRectF r(0, 0, 10, 10);
  EXPECT_TRUE(r.Contains(0, 0));
  EXPECT_FALSE(r.Contains(10, 5));
  EXPECT_FALSE(IRectF().Contains(0, 0));
  EXPECT_TRUE(IRectF::Intersects(r, IRectF(10, 0, 20, 10))); // touching counts by the rule
  EXPECT_FALSE(IRectF::Intersects(r, IRectF()));
  EXPECT_EQ(IRectF(5, 5, 10, 10), r.Intersect(IRectF(5, 5, 15, 15)));
  EXPECT_EQ(IRectF(), r.Intersect(IRectF(20, 20, 30, 30)));
  EXPECT_EQ(r, IRectF().Union(r));
  EXPECT_EQ(IRectF(0, 0, 15, 15), r.Union(IRectF(5, 5, 15, 15)));
}

TEST(RectF, PixelAlignmentFloorsAndCeils)
{
  EXPECT_EQ(IRectF(9, 9, 21, 21), IRectF(9.25f, 9.25f, 20.75f, 20.75f).PixelAligned(1.f));
  EXPECT_EQ(IRectF(9.f, 9.f, 21.f, 21.f), IRectF(9.25f, 9.25f, 20.75f, 20.75f).PixelAligned(2.f));
}

TEST(RectList, ContainedRectangleIsDropped)
{
  IRectFList list;
  list.Add(IRectF(10, 10, 20, 20));
  list.Add(IRectF(0, 0, 50, 50));
  list.Optimize();
  ASSERT_EQ(1, list.Size());
  EXPECT_EQ(IRectF(0, 0, 50, 50), list.Get(0));
}

TEST(RectList, TouchingBandsMerge)
{
  IRectFList list;
  list.Add(IRectF(0, 0, 10, 10));
  list.Add(IRectF(0, 10, 10, 30));
  list.Optimize();
  ASSERT_EQ(1, list.Size());
  EXPECT_EQ(IRectF(0, 0, 10, 30), list.Get(0));
}

TEST(RectList, CrossingRectangleKeepsEveryPiece)
{
  // A bar across the middle of a tall rectangle must not cost the part below it.
  IRectFList list;
  list.Add(IRectF(0, 0, 10, 30));
  list.Add(IRectF(-5, 10, 15, 20));
  const std::vector<IRectF> before = ToVector(list);
  list.Optimize();
  EXPECT_TRUE(SameUnion(before, ToVector(list)));
  EXPECT_TRUE(Disjoint(ToVector(list)));
  EXPECT_TRUE(Covered(ToVector(list), 5, 25));
}

TEST(RectList, ZeroAreaRectanglesAreDropped)
{
  IRectFList list;
  list.Add(IRectF(5, 5, 5, 9));
  list.Add(IRectF());
  list.Add(IRectF(0, 0, 4, 4));
  list.Optimize();
  ASSERT_EQ(1, list.Size());
  EXPECT_EQ(IRectF(0, 0, 4, 4), list.Get(0));
}

// Property: after pixel alignment at the product's scales, the reduction terminates,
// keeps the union exactly and leaves no overlaps.
class RectListProperty : public ::testing::TestWithParam<float>
{
};

TEST_P(RectListProperty, UnionIsKeptAndReductionEnds)
{
  const float scale = GetParam();
  std::mt19937 random(1234);
  std::uniform_real_distribution<float> position(0.f, 300.f);
  std::uniform_real_distribution<float> size(0.5f, 120.f);
  std::uniform_int_distribution<int> count(1, 24);
  for (int round = 0; round < 400; ++round)
  {
    IRectFList list;
    const int n = count(random);
    for (int i = 0; i < n; ++i)
    {
      const float l = position(random);
      const float t = position(random);
      list.Add(IRectF(l, t, l + size(random), t + size(random)).Inflated(0.75f));
    }
    list.PixelAlign(scale);
    const std::vector<IRectF> before = ToVector(list);
    list.Optimize();
    const std::vector<IRectF> after = ToVector(list);
    ASSERT_TRUE(SameUnion(before, after)) << "round " << round;
    ASSERT_TRUE(Disjoint(after)) << "round " << round;
    ASSERT_LE(after.size(), static_cast<size_t>(4 * n * n + 4)) << "round " << round;
    for (const IRectF& r : after)
      ASSERT_GT(r.Area(), 0.f);
  }
}

INSTANTIATE_TEST_SUITE_P(Scales, RectListProperty, ::testing::Values(0.85f, 1.f, 1.25f, 1.5f));
