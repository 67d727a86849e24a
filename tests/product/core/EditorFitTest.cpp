#include "product/core/EditorFit.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>

TEST(EditorFit, TheWholeEditorFitsTheWindow)
{
  auto fit = FitEditorToWindow(2000, 1000, 1.0f);
  ASSERT_TRUE(fit);
  EXPECT_FLOAT_EQ(fit->scale, 1.25f);
  EXPECT_FALSE(fit->needsPlatformResize);

  fit = FitEditorToWindow(1180, 800, 1.0f);
  ASSERT_TRUE(fit);
  EXPECT_FLOAT_EQ(fit->scale, 1.0f);
  EXPECT_FALSE(fit->needsPlatformResize);

  // The platform scale counts window pixels per drawn pixel.
  fit = FitEditorToWindow(2950, 2000, 2.5f);
  ASSERT_TRUE(fit);
  EXPECT_FLOAT_EQ(fit->scale, 1.0f);

  // Where the proportions' size fits back to itself, their scale stands, not a rounder one
  // of the same size.
  fit = FitEditorToWindow(2007, 1361, 2.0f);
  ASSERT_TRUE(fit);
  EXPECT_EQ(fit->scale, 2007 / (2.0f * 1180.0f));
}

TEST(EditorFit, ScaleIsLimitedAndTheWindowBroughtBack)
{
  auto fit = FitEditorToWindow(500, 300, 1.0f);
  ASSERT_TRUE(fit);
  EXPECT_FLOAT_EQ(fit->scale, 0.85f);
  EXPECT_TRUE(fit->needsPlatformResize);

  fit = FitEditorToWindow(4000, 4000, 1.0f);
  ASSERT_TRUE(fit);
  EXPECT_FLOAT_EQ(fit->scale, 1.5f);
  EXPECT_TRUE(fit->needsPlatformResize);

  // Exactly at the limit is no clamp.
  fit = FitEditorToWindow(1770, 1200, 1.0f);
  ASSERT_TRUE(fit);
  EXPECT_FLOAT_EQ(fit->scale, 1.5f);
  EXPECT_FALSE(fit->needsPlatformResize);
}

TEST(EditorFit, NothingForEmptyWindowsOrUnusableScales)
{
  EXPECT_FALSE(FitEditorToWindow(0, 800, 1.0f));
  EXPECT_FALSE(FitEditorToWindow(1180, -3, 1.0f));
  EXPECT_FALSE(FitEditorToWindow(1180, 800, 0.0f));
  EXPECT_FALSE(FitEditorToWindow(1180, 800, -1.0f));
  EXPECT_FALSE(FitEditorToWindow(1180, 800, std::nanf("")));
  EXPECT_FALSE(FitEditorToWindow(1180, 800, INFINITY));
}

bool operator==(const EditorWindowSize& a, const EditorWindowSize& b)
{
  return a.width == b.width && a.height == b.height;
}

namespace {

// The window's proportions alone: the editor's height or width fills the window, whichever
// keeps the whole editor inside, within the scale limits.
float ProportionalScale(int width, int height, float platformScale)
{
  const float scale = std::min(height / (platformScale * 800.0f), width / (platformScale * 1180.0f));
  return std::clamp(scale, kMinEditorScale, kMaxEditorScale);
}

EditorWindowSize ProportionalSize(int width, int height, float platformScale)
{
  return EditorSizeAtScale(ProportionalScale(width, height, platformScale), platformScale);
}

// Whether a window at most a few pixels larger has this size as its proportional size.
bool SlightlyLargerWindowHasProportionalSize(const EditorWindowSize& size, float platformScale)
{
  for (int width = size.width; width <= size.width + 4; ++width)
    for (int height = size.height; height <= size.height + 4; ++height)
      if ((width != size.width || height != size.height) && ProportionalSize(width, height, platformScale) == size)
        return true;
  return false;
}

} // namespace

// Against the proportions alone, in windows from below the smallest editor to beyond the
// largest: the editor is never smaller than they give; its own size fits back to itself,
// or a host that hands it back would watch it shrink a pixel at a time; and where the
// proportional size already fits back to itself its scale is kept, except in a window that
// is itself the proportional size of a slightly larger one (keeping the scale there would
// leave that larger window a smaller editor or one that does not fit back).
TEST(EditorFit, NeverSmallerThanTheProportionsAndTheEditorsOwnSizeFitsBack)
{
  for (const float platformScale : {1.0f, 1.25f, 1.5f, 2.0f, 2.5f})
    for (int width = static_cast<int>(800 * platformScale); width < 1900 * platformScale; width += 3)
      for (int height = static_cast<int>(560 * platformScale); height < 1300 * platformScale; height += 2)
      {
        const auto fit = FitEditorToWindow(width, height, platformScale);
        ASSERT_TRUE(fit);
        const EditorWindowSize size = EditorSizeAtScale(fit->scale, platformScale);
        const EditorWindowSize proportional = ProportionalSize(width, height, platformScale);
        const std::string where = std::to_string(width) + "x" + std::to_string(height) + " at " +
                                  std::to_string(platformScale);
        ASSERT_GE(size.width, proportional.width) << where;
        ASSERT_GE(size.height, proportional.height) << where;
        const auto again = FitEditorToWindow(size.width, size.height, platformScale);
        ASSERT_TRUE(again);
        ASSERT_EQ(EditorSizeAtScale(again->scale, platformScale), size) << where;
        ASSERT_FALSE(again->needsPlatformResize) << where;
        const float proportionalScale = ProportionalScale(width, height, platformScale);
        if (ProportionalSize(proportional.width, proportional.height, platformScale) == proportional &&
            fit->scale != proportionalScale)
        {
          ASSERT_TRUE(size.width == width && size.height == height) << where;
          ASSERT_TRUE(SlightlyLargerWindowHasProportionalSize(size, platformScale)) << where;
        }
      }
}

TEST(EditorFit, AWindowOneUnitShortOfTheProportionsIsFilled)
{
  const struct
  {
    int width, height;
    float platformScale;
    int fittedWidth, fittedHeight;
  } cases[] = {
    {1303, 884, 1.0f, 1303, 884}, // the scale from the width alone gave 1303 x 883
    {1303, 883, 1.0f, 1303, 883}, // and that one fitted again gave 1302 x 883
    {1999, 1354, 1.5f, 1999, 1354},
    {1289, 875, 1.25f, 1288, 873}, // the scale from whole units of the width gave 1288 x 872
    {1772, 1202, 1.5f, 1771, 1201}, // 1771 x 1200 and 1771 x 1201 fit back to 1770 x 1200 by the proportions
  };
  for (const auto& c : cases)
  {
    const auto fit = FitEditorToWindow(c.width, c.height, c.platformScale);
    ASSERT_TRUE(fit);
    const EditorWindowSize size = EditorSizeAtScale(fit->scale, c.platformScale);
    EXPECT_EQ(size.width, c.fittedWidth) << c.width << "x" << c.height;
    EXPECT_EQ(size.height, c.fittedHeight) << c.width << "x" << c.height;
  }
}
