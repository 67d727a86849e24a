#include "deps/svg/SvgColour.h"
#include "deps/svg/SvgNumber.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

using namespace svg;

namespace {

// Scans one number from the text; returns how many characters were used (-1 on failure).
int Scan(const std::string& text, double& value)
{
  const char* p = text.c_str();
  if (!ScanNumber(p, text.c_str() + text.size(), value))
    return -1;
  return static_cast<int>(p - text.c_str());
}

} // namespace

TEST(SvgNumber, ScansEveryFormOfNumber)
{
  double v = 0;
  EXPECT_EQ(2, Scan("42", v));
  EXPECT_EQ(42.0, v);
  EXPECT_EQ(4, Scan("-1.5", v));
  EXPECT_EQ(-1.5, v);
  EXPECT_EQ(2, Scan(".5", v));
  EXPECT_EQ(0.5, v);
  EXPECT_EQ(3, Scan("+.5", v));
  EXPECT_EQ(0.5, v);
  EXPECT_EQ(3, Scan("1e3", v));
  EXPECT_EQ(1000.0, v);
  EXPECT_EQ(6, Scan("2.5E-2", v));
  EXPECT_EQ(0.025, v);
  EXPECT_EQ(2, Scan("5.", v));
  EXPECT_EQ(5.0, v);
  EXPECT_EQ(3, Scan("1.5.5", v)); // the second '.' starts the next number
  EXPECT_EQ(1.5, v);
  EXPECT_EQ(1, Scan("2em", v)); // not an exponent
  EXPECT_EQ(2.0, v);
  EXPECT_EQ(1, Scan("3e", v));
  EXPECT_EQ(3.0, v);
  EXPECT_EQ(1, Scan("7-8", v));
  EXPECT_EQ(7.0, v);
  EXPECT_EQ(static_cast<float>(0.1), static_cast<float>((Scan("0.1", v), v)));
  EXPECT_EQ(24, Scan("123456789012345678901234", v)); // digits beyond precision only scale
  EXPECT_NEAR(1.2345678901234568e23, v, 1e9);
  EXPECT_EQ(6, Scan("1e-500", v));
  EXPECT_EQ(0.0, v);
}

TEST(SvgNumber, RefusesNonNumbersAndOverflow)
{
  double v = 123.0;
  for (const char* text : {"", "-", "+", ".", "e5", "abc", "NaN", "nan", "inf", "Infinity", "1e400", "-1e999", "1e99999999999"})
  {
    v = 123.0;
    EXPECT_EQ(-1, Scan(text, v)) << text;
    EXPECT_EQ(123.0, v) << text;
  }
}

TEST(SvgNumber, ParsesLengthsAndLists)
{
  Length length;
  ASSERT_TRUE(ParseLength(" 12.5mm ", length));
  EXPECT_EQ(12.5, length.value);
  EXPECT_EQ(LengthUnit::Mm, length.unit);
  const std::pair<const char*, LengthUnit> units[] = {{"1", LengthUnit::None}, {"1px", LengthUnit::Px}, {"1pt", LengthUnit::Pt},
                                                      {"1pc", LengthUnit::Pc}, {"1cm", LengthUnit::Cm}, {"1in", LengthUnit::In},
                                                      {"1%", LengthUnit::Percent}, {"1em", LengthUnit::Em}, {"1ex", LengthUnit::Ex}};
  for (const auto& entry : units)
  {
    ASSERT_TRUE(ParseLength(entry.first, length)) << entry.first;
    EXPECT_EQ(entry.second, length.unit) << entry.first;
  }
  EXPECT_FALSE(ParseLength("1 px", length));
  EXPECT_FALSE(ParseLength("1furlong", length));
  EXPECT_FALSE(ParseLength("px", length));

  std::vector<double> values;
  ASSERT_TRUE(ParseNumberList(" 0,0 100 , 50.5 -2", values));
  EXPECT_EQ((std::vector<double>{0, 0, 100, 50.5, -2}), values);
  EXPECT_FALSE(ParseNumberList("0 0 x 1", values));
}

TEST(SvgColour, ReadsHexFunctionalAndNamedColours)
{
  Colour c;
  ASSERT_TRUE(ParseColour("#abc", c));
  EXPECT_EQ((Colour{0xAA, 0xBB, 0xCC, 255}), c);
  ASSERT_TRUE(ParseColour(" #12Ab3f ", c));
  EXPECT_EQ((Colour{0x12, 0xAB, 0x3F, 255}), c);
  ASSERT_TRUE(ParseColour("#11223380", c));
  EXPECT_EQ((Colour{0x11, 0x22, 0x33, 0x80}), c);
  ASSERT_TRUE(ParseColour("rgb(10, 20,30)", c));
  EXPECT_EQ((Colour{10, 20, 30, 255}), c);
  ASSERT_TRUE(ParseColour("RGB(100%, 50%, 0%)", c));
  EXPECT_EQ((Colour{255, 128, 0, 255}), c);
  ASSERT_TRUE(ParseColour("rgb(300, -5, 12.4)", c)); // clamped and rounded
  EXPECT_EQ((Colour{255, 0, 12, 255}), c);
  ASSERT_TRUE(ParseColour("rgba(1, 2, 3, 0.5)", c));
  EXPECT_EQ((Colour{1, 2, 3, 128}), c);
  ASSERT_TRUE(ParseColour("Orange", c));
  EXPECT_EQ((Colour{255, 165, 0, 255}), c);
  ASSERT_TRUE(ParseColour("grey", c));
  EXPECT_EQ((Colour{128, 128, 128, 255}), c);
  ASSERT_TRUE(ParseColour("transparent", c));
  EXPECT_EQ(0, c.a);
}

TEST(SvgColour, RefusesWhatIsNoColourAndKeepsTheOldValue)
{
  Colour c{1, 2, 3, 4};
  for (const char* text : {"", "#", "#12", "#12345", "#1234567", "#123456789", "#ggg", "rgb(1,2)", "rgb(1,2,3",
                           "rgb(1,2,3) x", "rgb(a,b,c)", "notacolour", "url(#x)"})
  {
    EXPECT_FALSE(ParseColour(text, c)) << text;
    EXPECT_EQ((Colour{1, 2, 3, 4}), c) << text;
  }
}
