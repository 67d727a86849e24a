#pragma once

#include "TestGuiVG.h"

#include "tests/framework/graphics/FakeDelegate.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

// What a probed pixel must hold.
enum class Coverage
{
  kExact,   // exactly the expected colour
  kEmpty,   // nothing drawn (alpha 0)
  kPartial, // an anti-aliased edge: some alpha, not all
  kNear,    // the expected colour within a tolerance of 3
};

// A pixel at user-interface coordinates (x, y); the pixel under the point is read.
struct Probe
{
  float x = 0.f;
  float y = 0.f;
  Coverage coverage = Coverage::kExact;
  PixelImage::Pixel expected{};
};

inline Probe At(float x, float y, Coverage coverage, PixelImage::Pixel expected = {})
{
  return Probe{x, y, coverage, expected};
}

inline std::string Describe(const PixelImage::Pixel& p)
{
  return "(" + std::to_string(p.r) + "," + std::to_string(p.g) + "," + std::to_string(p.b) + "," +
         std::to_string(p.a) + ")";
}

// Checks every probe against the image drawn at total scale s.
inline void ExpectProbes(const PixelImage& image, float s, const std::vector<Probe>& probes, const std::string& what)
{
  for (const Probe& probe : probes)
  {
    const int px = static_cast<int>(std::floor(probe.x * s));
    const int py = static_cast<int>(std::floor(probe.y * s));
    const PixelImage::Pixel p = image.At(px, py);
    const std::string where = what + " at (" + std::to_string(probe.x) + ", " + std::to_string(probe.y) + ") " +
                              Describe(p);
    switch (probe.coverage)
    {
    case Coverage::kExact:
      EXPECT_TRUE(p.r == probe.expected.r && p.g == probe.expected.g && p.b == probe.expected.b &&
                  p.a == probe.expected.a)
        << where << " expected " << Describe(probe.expected);
      break;
    case Coverage::kNear:
      EXPECT_TRUE(std::abs(p.r - probe.expected.r) <= 3 && std::abs(p.g - probe.expected.g) <= 3 &&
                  std::abs(p.b - probe.expected.b) <= 3 && std::abs(p.a - probe.expected.a) <= 3)
        << where << " expected about " << Describe(probe.expected);
      break;
    case Coverage::kEmpty: EXPECT_EQ(p.a, 0) << where << " expected empty"; break;
    case Coverage::kPartial: EXPECT_TRUE(p.a > 20 && p.a < 235) << where << " expected an anti-aliased edge"; break;
    }
  }
}

// Pixels of the rectangle (user-interface units, at total scale s) that are not exactly
// the colour.
inline int CountOtherThan(const PixelImage& image, float s, float l, float t, float r, float b,
                          const PixelImage::Pixel& colour)
{
  int count = 0;
  for (int y = static_cast<int>(std::ceil(t * s)); y < static_cast<int>(b * s); ++y)
    for (int x = static_cast<int>(std::ceil(l * s)); x < static_cast<int>(r * s); ++x)
    {
      const PixelImage::Pixel p = image.At(x, y);
      count += (p.r != colour.r || p.g != colour.g || p.b != colour.b || p.a != colour.a) ? 1 : 0;
    }
  return count;
}

// A fixture with an open window of 200 x 120 units at scale 1.
class RendererTest : public ::testing::Test
{
protected:
  void OpenAt(float drawScale, float screenScale, int width = 200, int height = 120)
  {
    gui.reset();
    gui = std::make_unique<TestGuiVG>(delegate, width, height, drawScale);
    ASSERT_TRUE(gui->Open(screenScale)) << gui->Error();
  }
  FakeDelegate delegate;
  std::unique_ptr<TestGuiVG> gui;
};
