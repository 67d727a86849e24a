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
