#include "framework/core/GrowString.h"

#include <gtest/gtest.h>

#include <string>

using pfw::GrowString;

TEST(GrowStringSet, EmptyAndNullTextsReadAsEmpty)
{
  GrowString unused;
  EXPECT_STREQ(unused.Get(), "");
  EXPECT_EQ(unused.GetLength(), 0);

  GrowString text("abc");
  EXPECT_TRUE(text.Set(nullptr));
  EXPECT_STREQ(text.Get(), "");
  EXPECT_TRUE(text.Set(""));
  EXPECT_STREQ(text.Get(), "");
}

TEST(GrowStringSet, MaxLengthCutsAndZeroMeansAll)
{
  GrowString text;
  text.Set("Tarnwick", 4);
  EXPECT_STREQ(text.Get(), "Tarn");
  text.Set("Tarnwick", 0);
  EXPECT_STREQ(text.Get(), "Tarnwick");
  text.Set("Tarnwick", -3);
  EXPECT_STREQ(text.Get(), "Tarnwick");
}

TEST(GrowStringSet, SourceInsideTheStringCopiesCorrectly)
{
  GrowString text("hello world");
  text.Set(text.Get());
  EXPECT_STREQ(text.Get(), "hello world");
  text.Set(text.Get() + 6);
  EXPECT_STREQ(text.Get(), "world");
  text.Set(text.Get() + 1, 3);
  EXPECT_STREQ(text.Get(), "orl");

  // A source inside a string whose storage has to grow for the copy.
  std::string longText(200, 'x');
  GrowString grown(longText.c_str());
  grown.Set(grown.Get() + 100);
  EXPECT_EQ(std::string(grown.Get()), std::string(100, 'x'));
}

TEST(GrowStringAssign, CopiesAndShrinks)
{
  GrowString big(std::string(5000, 'a').c_str());
  GrowString small("b");
  big = small;
  EXPECT_STREQ(big.Get(), "b");
  GrowString copy(big);
  EXPECT_STREQ(copy.Get(), "b");
  GrowString empty;
  copy = empty;
  EXPECT_STREQ(copy.Get(), "");
}

TEST(GrowStringFormat, FormatsWithinTheMaximum)
{
  GrowString text;
  EXPECT_TRUE(text.SetFormatted(64, "idx:%i src:%s", 12, "Host"));
  EXPECT_STREQ(text.Get(), "idx:12 src:Host");
  EXPECT_TRUE(text.AppendFormatted(64, " %.2f", 1.5));
  EXPECT_STREQ(text.Get(), "idx:12 src:Host 1.50");

  text.SetFormatted(5, "%s", "abcdefgh");
  EXPECT_STREQ(text.Get(), "abcde");
  EXPECT_EQ(text.GetLength(), 5);
  text.AppendFormatted(2, "%d", 12345);
  EXPECT_STREQ(text.Get(), "abcde12");

  text.SetFormatted(0, "%s-%.1fx", "logo", 1.0);
  EXPECT_STREQ(text.Get(), "logo-1.0x");
  text.SetFormatted(16, "%s", "");
  EXPECT_STREQ(text.Get(), "");
}

TEST(GrowStringInsert, InsertsAtStartMiddleAndEnd)
{
  GrowString text("world");
  EXPECT_TRUE(text.Insert(0, "hello ", 6));
  EXPECT_STREQ(text.Get(), "hello world");
  EXPECT_TRUE(text.Insert(5, ",", 1));
  EXPECT_STREQ(text.Get(), "hello, world");
  EXPECT_TRUE(text.Insert(text.GetLength(), "!", 1));
  EXPECT_STREQ(text.Get(), "hello, world!");

  GrowString unused;
  EXPECT_TRUE(unused.Insert(0, "abc", 3));
  EXPECT_STREQ(unused.Get(), "abc");
  EXPECT_TRUE(unused.Append("def"));
  EXPECT_STREQ(unused.Get(), "abcdef");
}

TEST(GrowStringInsert, RefusesBadPositionsAndCounts)
{
  GrowString text("abc");
  EXPECT_FALSE(text.Insert(-1, "x", 1));
  EXPECT_FALSE(text.Insert(4, "x", 1)) << "past the end would write beyond the text";
  EXPECT_FALSE(text.Insert(1, "x", -1));
  EXPECT_STREQ(text.Get(), "abc");
  EXPECT_EQ(text.GetLength(), 3);
}

TEST(GrowStringInsert, SourceInsideTheMovedTail)
{
  GrowString text("abcdef");
  // "def" lies in the part that shifts up.
  EXPECT_TRUE(text.Insert(1, text.Get() + 3, 3));
  EXPECT_STREQ(text.Get(), "adefbcdef");

  // Force the storage to move while the source points into it.
  std::string longText(127, 'y');
  longText += "Z";
  GrowString grown(longText.c_str());
  EXPECT_TRUE(grown.Insert(0, grown.Get() + 120, 8));
  EXPECT_EQ(std::string(grown.Get()), std::string("yyyyyyyZ") + longText);
}

TEST(GrowStringFormat, ArgumentsMayBeTheStringsOwnText)
{
  GrowString text("abc");
  EXPECT_TRUE(text.SetFormatted(0, "[%s]", text.Get()));
  EXPECT_STREQ(text.Get(), "[abc]");
  EXPECT_TRUE(text.AppendFormatted(0, "+%s", text.Get()));
  EXPECT_STREQ(text.Get(), "[abc]+[abc]");
  text.SetFormatted(4, "xy%s", text.Get());
  EXPECT_STREQ(text.Get(), "xy[a");

  // Long enough that the storage moves while the argument still points into it.
  const std::string q(300, 'q');
  GrowString grown(q.c_str());
  EXPECT_TRUE(grown.SetFormatted(0, "%s|%s", grown.Get(), grown.Get()));
  EXPECT_EQ(std::string(grown.Get()), q + "|" + q);
  EXPECT_TRUE(grown.AppendFormatted(700, "%s", grown.Get()));
  EXPECT_EQ(grown.GetLength(), 601 + 601) << "a maximum longer than the text cuts nothing";
  EXPECT_EQ(std::string(grown.Get()).substr(601), q + "|" + q);
  EXPECT_TRUE(grown.SetFormatted(300, "<%s", grown.Get()));
  EXPECT_EQ(std::string(grown.Get()), "<" + q.substr(1)) << "a long text is cut to the maximum";
}
