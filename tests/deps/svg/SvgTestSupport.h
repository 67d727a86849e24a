#pragma once

#include "deps/svg/SvgImage.h"
#include "deps/svg/SvgParser.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <memory>
#include <string>
#include <vector>

// The text of data/test_logo.svg, compiled in.
const char* TestLogoSvg();

// With TARNWICK_FUZZ_CORPUS naming a folder, every text the tests parse is saved there too:
// the SVG reader's fuzzing starts from all of them (tools/fuzz).
inline void SaveForFuzzCorpus(const std::string& text)
{
  const char* folder = std::getenv("TARNWICK_FUZZ_CORPUS");
  if (!folder || !*folder)
    return;
  char name[32];
  std::snprintf(name, sizeof name, "/%016llx.svg",
                static_cast<unsigned long long>(std::hash<std::string>{}(text)));
  std::ofstream(folder + std::string(name), std::ios::binary) << text;
}

inline std::unique_ptr<svg::Image> ParseText(const std::string& text, const char* units = "px", float dpi = 96.f)
{
  SaveForFuzzCorpus(text);
  return svg::ParseImage(text.data(), text.size(), units, dpi);
}

// A 100 x 100 document around the given content.
inline std::unique_ptr<svg::Image> ParseBody(const std::string& body)
{
  return ParseText("<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"100\" height=\"100\">" + body + "</svg>");
}

// The one shape a body is expected to produce.
inline svg::Shape OnlyShape(const std::string& body)
{
  const auto image = ParseBody(body);
  EXPECT_TRUE(image);
  if (!image)
    return {};
  EXPECT_EQ(1u, image->shapes.size());
  return image->shapes.empty() ? svg::Shape{} : image->shapes[0];
}

inline void ExpectPoints(const std::vector<svg::Point>& actual, const std::vector<svg::Point>& expected,
                         float tolerance = 1e-4f)
{
  ASSERT_EQ(expected.size(), actual.size());
  for (size_t i = 0; i < expected.size(); ++i)
  {
    EXPECT_NEAR(expected[i].x, actual[i].x, tolerance) << "point " << i;
    EXPECT_NEAR(expected[i].y, actual[i].y, tolerance) << "point " << i;
  }
}

// The cubic points of a straight segment from a to b, after the start point.
inline std::vector<svg::Point> LineSegment(svg::Point a, svg::Point b)
{
  return {{a.x + (b.x - a.x) / 3.f, a.y + (b.y - a.y) / 3.f},
          {a.x + (b.x - a.x) * 2.f / 3.f, a.y + (b.y - a.y) * 2.f / 3.f},
          b};
}

// The start point followed by straight segments through the given corners.
inline std::vector<svg::Point> Polyline(const std::vector<svg::Point>& corners)
{
  std::vector<svg::Point> points{corners.front()};
  for (size_t i = 1; i < corners.size(); ++i)
  {
    const auto segment = LineSegment(corners[i - 1], corners[i]);
    points.insert(points.end(), segment.begin(), segment.end());
  }
  return points;
}

inline svg::Point Transformed(const float m[6], float x, float y)
{
  return {m[0] * x + m[2] * y + m[4], m[1] * x + m[3] * y + m[5]};
}
