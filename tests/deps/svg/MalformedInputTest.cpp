#include "SvgTestSupport.h"

#include <cmath>
#include <cstdint>
#include <cstring>

namespace {

bool AllFinite(const svg::Image& image)
{
  for (const svg::Shape& shape : image.shapes)
  {
    for (const svg::Path& path : shape.paths)
    {
      for (const svg::Point& p : path.points)
      {
        if (!std::isfinite(p.x) || !std::isfinite(p.y))
          return false;
      }
    }
    if (!std::isfinite(shape.strokeWidth) || !std::isfinite(shape.opacity))
      return false;
  }
  return std::isfinite(image.width) && std::isfinite(image.height);
}

} // namespace

TEST(MalformedInput, EveryTruncationOfTheLogoFailsCleanly)
{
  const std::string logo = TestLogoSvg();
  const size_t end = logo.rfind("</svg>") + 6;
  for (size_t n = 0; n < end; ++n)
    EXPECT_FALSE(svg::ParseImage(logo.data(), n)) << "length " << n;
  EXPECT_TRUE(svg::ParseImage(logo.data(), end));
  EXPECT_TRUE(svg::ParseImage(logo.data(), logo.size()));
}

TEST(MalformedInput, TextThatIsNoSvgIsALoadFailure)
{
  const char* texts[] = {"", "   \n", "GIF89a\x01\x02", "{\"json\": true}", "<svg width='10' height='10'>",
                         "<svg width='10' height='10'><rect></svg>", "<?xml version='1.0'?>",
                         "<svg width='10' height='10'></svg><svg/>"};
  for (const char* text : texts)
    EXPECT_FALSE(ParseText(text)) << text;
  const std::string binary("\x00\xFF<\x00svg>\x00", 9);
  EXPECT_FALSE(svg::ParseImage(binary.data(), binary.size()));
}

TEST(MalformedInput, GarbageAndNonFiniteNumbersAreSkipped)
{
  const auto image = ParseBody("<rect x='NaN' y='inf' width='10' height='10'/>"
                               "<circle cx='1e999' cy='5' r='--3'/>"
                               "<path d='M 0 0 L NaN NaN L 5 5'/>"
                               "<path d='M 0 0 L 10 0 L 1e39 0'/>"
                               "<rect width='1e30' height='1e30' transform='scale(1e30)'/>"
                               "<polygon points='0,0 1e999,0 5,5'/>"
                               "<line x2='10' stroke='red' stroke-width='1e999' stroke-dasharray='1e999 1'/>"
                               "<rect width='10' height='10' opacity='NaN' fill-opacity='-inf' transform='rotate(NaN)'/>"
                               "<path d='M0 0 A1e308 1e308 0 1 1 1e-300 0 A1e-300 1e-300 1e308 0 0 5 5 a 1 1 0 0 0 1e38 1e38'/>");
  ASSERT_TRUE(image);
  EXPECT_TRUE(AllFinite(*image));
  // The first rect keeps its valid size at the origin; coordinates beyond float range drop the shape.
  ASSERT_GE(image->shapes.size(), 2u);
  ExpectPoints({image->shapes[0].paths[0].points[0]}, {{0, 0}});
  for (const svg::Shape& shape : image->shapes)
    EXPECT_GT(shape.paths.size(), 0u);
}

TEST(MalformedInput, HugeSizesAreAFailureNotAnInfiniteImage)
{
  EXPECT_FALSE(ParseText("<svg width='1e39' height='10'/>"));
  EXPECT_FALSE(ParseText("<svg width='1e300' height='1e300'/>"));
  EXPECT_FALSE(ParseText("<svg width='1e999' height='10'/>")); // not a number at all
  const auto big = ParseText("<svg width='1e30' height='1e30'/>");
  ASSERT_TRUE(big);
  EXPECT_FLOAT_EQ(1e30f, big->width);
}

TEST(MalformedInput, DeepNestingFailsOrDrawsButNeverOverflowsTheStack)
{
  std::string deep = "<svg width='10' height='10'>";
  for (int i = 0; i < 100000; ++i)
    deep += "<g>";
  EXPECT_FALSE(ParseText(deep));
  for (int i = 0; i < 100000; ++i)
    deep += "</g>";
  deep += "</svg>";
  EXPECT_FALSE(ParseText(deep));

  std::string allowed = "<svg width='10' height='10'>";
  for (int i = 0; i < 200; ++i)
    allowed += "<g transform='translate(0.5)'>";
  allowed += "<rect width='1' height='1'/>";
  for (int i = 0; i < 200; ++i)
    allowed += "</g>";
  allowed += "</svg>";
  const auto image = ParseText(allowed);
  ASSERT_TRUE(image);
  ASSERT_EQ(1u, image->shapes.size());
  EXPECT_NEAR(100.f, image->shapes[0].paths[0].points[0].x, 1e-3f);
}

TEST(MalformedInput, UsesNestingDeepTreesStayWithinTheDepthLimit)
{
  // Eight levels, each a use of the next inside 200 groups: 1600 levels if nothing stopped it.
  std::string text = "<svg width='10' height='10'><defs>";
  for (int level = 0; level < 8; ++level)
  {
    text += "<g id='d" + std::to_string(level) + "'>";
    for (int i = 0; i < 199; ++i)
      text += "<g>";
    text += level < 7 ? "<use href='#d" + std::to_string(level + 1) + "'/>" : std::string("<rect width='1' height='1'/>");
    for (int i = 0; i < 200; ++i)
      text += "</g>";
  }
  text += "</defs><rect id='after' width='2' height='2'/><use href='#d0'/></svg>";
  const auto image = ParseText(text);
  ASSERT_TRUE(image);
  ASSERT_EQ(1u, image->shapes.size()); // the innermost rect lies beyond the limit
  EXPECT_EQ("after", image->shapes[0].id);
}

TEST(MalformedInput, MultiplyingUseChainsAreBounded)
{
  // Each level draws the one below it ten times: 10^7 shapes if nothing stopped it.
  std::string text = "<svg width='10' height='10'><defs><g id='l0'><rect width='1' height='1'/></g>";
  for (int level = 1; level <= 7; ++level)
  {
    text += "<g id='l" + std::to_string(level) + "'>";
    for (int i = 0; i < 10; ++i)
      text += "<use href='#l" + std::to_string(level - 1) + "'/>";
    text += "</g>";
  }
  text += "</defs><use href='#l7'/></svg>";
  // Not through ParseText: spending the reader's whole budget, this text would slow the
  // fuzzing that starts from the tests' inputs to a run a second.
  const auto image = svg::ParseImage(text.data(), text.size());
  ASSERT_TRUE(image);
  size_t points = 0;
  for (const svg::Shape& shape : image->shapes)
    points += shape.paths[0].points.size();
  EXPECT_LE(points, size_t(1) << 20);
  EXPECT_GT(image->shapes.size(), 1000u);
}

TEST(MalformedInput, UsesOfOutlinesWithoutPointsAreBoundedToo)
{
  // Path data of lone moves draws nothing, so only the amount of text read can stop it.
  std::string moves;
  for (int i = 0; i < 2000; ++i)
    moves += "M1 1";
  std::string text = "<svg width='10' height='10'><defs><path id='l0' d='" + moves + "'/>";
  for (int level = 1; level <= 6; ++level)
  {
    text += "<g id='l" + std::to_string(level) + "'>";
    for (int i = 0; i < 10; ++i)
      text += "<use href='#l" + std::to_string(level - 1) + "'/>";
    text += "</g>";
  }
  text += "</defs><use href='#l6'/><rect id='late' width='1' height='1'/></svg>";
  // Not through ParseText: spending the reader's whole budget, this text would slow the
  // fuzzing that starts from the tests' inputs to a run a second.
  const auto image = svg::ParseImage(text.data(), text.size());
  ASSERT_TRUE(image);
  EXPECT_TRUE(image->shapes.empty()); // the budget ran out before the rect
}

TEST(MalformedInput, RandomDamageToTheLogoNeverCrashes)
{
  const std::string logo = TestLogoSvg();
  uint32_t state = 12345u;
  auto next = [&state]() {
    state = state * 1664525u + 1013904223u;
    return state >> 8;
  };
  const char noise[] = "<>/=\"' &;#0123456789.-eE,MmLlCcAaZz()%!?[]";
  size_t parsed = 0;
  for (int round = 0; round < 3000; ++round)
  {
    std::string text = logo;
    const int edits = 1 + static_cast<int>(next() % 8);
    for (int e = 0; e < edits && !text.empty(); ++e)
    {
      const size_t at = next() % text.size();
      switch (next() % 4)
      {
        case 0: text[at] = noise[next() % (sizeof(noise) - 1)]; break;
        case 1: text.erase(at, 1 + next() % 16); break;
        case 2: text.insert(at, 1, noise[next() % (sizeof(noise) - 1)]); break;
        default: text.insert(at, text.substr(next() % text.size(), next() % 64)); break;
      }
    }
    const auto image = svg::ParseImage(text.data(), text.size());
    if (image)
    {
      ++parsed;
      EXPECT_TRUE(AllFinite(*image));
      EXPECT_GT(image->width, 0.f);
      EXPECT_GT(image->height, 0.f);
    }
  }
  EXPECT_GT(parsed, 0u); // damage inside attribute values still parses
}
