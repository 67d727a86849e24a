#include "deps/vst3/helpers/StringConvert.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

using namespace Steinberg;

TEST(StringConvert, WidensBytesOneUnitEachAndCutsToTheField)
{
  char16 wide[8];
  widenText(wide, 8, "Caf\xE9");
  EXPECT_EQ(std::u16string(wide), u"Caf\u00E9");
  EXPECT_EQ(wide[7], 0);
  widenText(wide, 8, "0123456789");
  EXPECT_EQ(std::u16string(wide), u"0123456"); // 7 units and the NUL
  widenText(wide, 8, nullptr);
  EXPECT_EQ(std::u16string(wide), u"");
  char16 big[128];
  widenText(big, 128, std::string(300, 'x').c_str());
  EXPECT_EQ(strlen16(big), 127);
}

TEST(StringConvert, NarrowsByKeepingTheLowByte)
{
  char narrow[6];
  narrowText(narrow, 6, u"Ab\u00E9\u0141xyz");
  EXPECT_EQ(std::string(narrow), "Ab\xE9\x41x");
  EXPECT_EQ(narrow[5], 0);
}

TEST(StringConvert, BoundedCopiesZeroFill)
{
  char field[6];
  std::memset(field, 'Z', sizeof(field));
  copyText8(field, 6, "ab");
  EXPECT_EQ(std::string(field, 6), std::string("ab\0\0\0\0", 6));
  copyText8(field, 6, "abcdefgh");
  EXPECT_EQ(std::string(field), "abcde");
  char16 units[4];
  copyText16(units, 4, u"wxyz");
  EXPECT_EQ(std::u16string(units), u"wxy");
  EXPECT_EQ(strlen16(nullptr), 0);
}

TEST(StringConvert, Utf16ToUtf8HandlesSurrogatesAndNeverSplitsACharacter)
{
  char text[16];
  EXPECT_EQ(utf16ToUtf8(text, 16, u"a\u00E9\u20AC\U0001F3B8"), 1 + 2 + 3 + 4);
  EXPECT_EQ(std::string(text), "a\xC3\xA9\xE2\x82\xAC\xF0\x9F\x8E\xB8");
  const char16 lone[] = {u'x', 0xD800, u'y', 0xDC00, 0};
  utf16ToUtf8(text, 16, lone);
  EXPECT_EQ(std::string(text), "x\xEF\xBF\xBDy\xEF\xBF\xBD");
  EXPECT_EQ(utf16ToUtf8(text, 4, u"a\u20AC"), 1); // the euro sign needs 3 more bytes than fit
  EXPECT_EQ(std::string(text), "a");
  EXPECT_EQ(utf16ToUtf8(text, 16, u"abcdef", 3), 3); // a length given by the host
  EXPECT_EQ(std::string(text), "abc");
  const char16 pairAtTheEnd[] = {u'a', 0xD83C, 0xDFB8, 0};
  utf16ToUtf8(text, 16, pairAtTheEnd, 2); // the pair is cut by the length
  EXPECT_EQ(std::string(text), "a\xEF\xBF\xBD");
}

TEST(StringConvert, Utf16ToAnsiConvertsPlainText)
{
  char text[32];
  EXPECT_EQ(utf16ToAnsi(text, 32, u"-12.5 dB"), 8);
  EXPECT_EQ(std::string(text), "-12.5 dB");
  EXPECT_EQ(utf16ToAnsi(text, 4, u"too long"), -1);
  EXPECT_EQ(std::string(text), "");
  EXPECT_EQ(utf16ToAnsi(text, 32, nullptr), 0);
}
