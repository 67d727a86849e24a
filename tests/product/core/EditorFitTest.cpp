#include "product/core/EditorFit.h"

#include <gtest/gtest.h>

#include <cmath>

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

// Whole units and then whole pixels cost a pixel on one side when the scale comes from the
// window's proportions; the editor's own window must fit back to the same scale and size,
// or a host that hands it back would watch it shrink a pixel at a time.
TEST(EditorFit, TheEditorsOwnSizeFitsBackToTheSameScale)
{
  for (const float platformScale : {1.0f, 1.25f, 1.5f, 2.0f, 2.5f})
    for (int width = static_cast<int>(900 * platformScale); width < 1900 * platformScale; width += 7)
      for (int height = static_cast<int>(600 * platformScale); height < 1300 * platformScale; height += 11)
      {
        const auto fit = FitEditorToWindow(width, height, platformScale);
        ASSERT_TRUE(fit);
        const EditorWindowSize size = EditorSizeAtScale(fit->scale, platformScale);
        const auto again = FitEditorToWindow(size.width, size.height, platformScale);
        ASSERT_TRUE(again);
        ASSERT_EQ(again->scale, fit->scale) << width << "x" << height << " at " << platformScale;
        ASSERT_FALSE(again->needsPlatformResize) << width << "x" << height << " at " << platformScale;
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
