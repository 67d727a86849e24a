#include "framework/platform/windows/Utf8.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

using namespace pfw;

TEST(Utf8, ClassifiesAsciiWellFormedAndMalformedText)
{
  EXPECT_EQ(0, ClassifyUtf8(nullptr));
  EXPECT_EQ(0, ClassifyUtf8(""));
  EXPECT_EQ(0, ClassifyUtf8("C:\\Users\\Jo\\settings.ini"));
  EXPECT_EQ(1, ClassifyUtf8("Ger\xC3\xA4t"));                   // two-byte
  EXPECT_EQ(1, ClassifyUtf8("\xE6\xB8\xAC\xE8\xA9\xA6"));       // three-byte
  EXPECT_EQ(1, ClassifyUtf8("\xF0\x9F\x8E\xB8 guitar"));        // four-byte
  EXPECT_EQ(-1, ClassifyUtf8("Ger\xE4t"));                      // Latin-1, not UTF-8
  EXPECT_EQ(-1, ClassifyUtf8("\xC0\x80"));                      // overlong two-byte
  EXPECT_EQ(-1, ClassifyUtf8("\xC1\xBF"));
  EXPECT_EQ(-1, ClassifyUtf8("\xE0\x80\x80"));                  // overlong three-byte
  EXPECT_EQ(-1, ClassifyUtf8("\xF0\x80\x80\x80"));              // overlong four-byte
  EXPECT_EQ(-1, ClassifyUtf8("\xE6\xB8"));                      // cut short by the end
  EXPECT_EQ(-1, ClassifyUtf8("\xA9 lone continuation"));
  EXPECT_EQ(-1, ClassifyUtf8("\xF8\x88\x80\x80\x80"));          // five-byte lead
}

TEST(Utf8, ConvertsBothWaysAndReportsFailure)
{
  const std::wstring wide = Utf8ToWide("Ger\xC3\xA4t \xE6\xB8\xAC \xF0\x9F\x8E\xB8");
  EXPECT_EQ(std::wstring(L"Ger\u00E4t \u6E2C \U0001F3B8"), wide);
  EXPECT_EQ("Ger\xC3\xA4t \xE6\xB8\xAC \xF0\x9F\x8E\xB8", WideToUtf8(wide.c_str()));

  std::wstring out = L"old";
  EXPECT_FALSE(FromUtf8("Ger\xE4t", out));
  EXPECT_TRUE(Utf8ToWide("Ger\xE4t").empty());
  EXPECT_TRUE(FromUtf8("", out));
  EXPECT_TRUE(out.empty());

  GrowString utf8;
  EXPECT_TRUE(WideToUtf8(L"\u00FC", utf8));
  EXPECT_STREQ("\xC3\xBC", utf8.Get());
  EXPECT_TRUE(WideToUtf8(L"", utf8));
  EXPECT_EQ(0, utf8.GetLength());
}

TEST(Utf8, TolerantConversionReadsMostlyUtf8AsUtf8AndTheRestAsAnsi)
{
  // Well-formed with one stray byte: UTF-8, the stray byte through the ANSI code page.
  const std::wstring mixed = TolerantUtf8ToWide("\xC3\xA4\xC3\xB6\xC3\xBC \xE4");
  ASSERT_EQ(5u, mixed.size());
  EXPECT_EQ(L'\u00E4', mixed[0]);
  EXPECT_EQ(L'\u00FC', mixed[2]);
  // Mostly malformed: ANSI throughout, one character per byte.
  const std::wstring ansi = TolerantUtf8ToWide("Gr\xFC\xDF \xE4 \xC3\xA4");
  EXPECT_EQ(9u, ansi.size());
  EXPECT_EQ(L"plain", TolerantUtf8ToWide("plain"));
}

TEST(Utf8, LongPathsGetTheLongFormAndOthersStayAsTheyAre)
{
  std::wstring drive = L"C:/music/";
  drive.append(300 - drive.size(), L'a');
  std::wstring expected = L"\\\\?\\C:\\music\\" + std::wstring(300 - 9, L'a');
  ApplyLongPathRule(drive);
  EXPECT_EQ(expected, drive);

  std::wstring unc = L"\\\\server\\share/";
  unc.append(300 - unc.size(), L'b');
  ApplyLongPathRule(unc);
  EXPECT_EQ(L"\\\\?\\UNC\\server\\share\\" + std::wstring(300 - 15, L'b'), unc);

  // Already long: prefixing it again would make it name nothing.
  std::wstring already = expected;
  ApplyLongPathRule(already);
  EXPECT_EQ(expected, already);

  std::wstring relative(300, L'c');
  relative[10] = L'/';
  const std::wstring relativeBefore = relative;
  ApplyLongPathRule(relative);
  EXPECT_EQ(relativeBefore, relative);

  std::wstring shortPath = L"C:/short/path";
  ApplyLongPathRule(shortPath);
  EXPECT_EQ(L"C:/short/path", shortPath);
  std::wstring just255 = L"C:/" + std::wstring(252, L'd');
  ApplyLongPathRule(just255);
  EXPECT_EQ(255u, just255.size());
}

TEST(Utf8, CopiesCutBeforeACharacterThatDoesNotFitAndZeroTheRest)
{
  char buffer[8];
  std::memset(buffer, 'x', sizeof(buffer));
  // "aé測" is 1 + 2 + 3 bytes; with room for 5, the 3-byte character does not fit.
  EXPECT_EQ(3u, CopyUtf8("a\xC3\xA9\xE6\xB8\xAC", buffer, 6));
  EXPECT_STREQ("a\xC3\xA9", buffer);
  EXPECT_EQ(0, buffer[5]);
  EXPECT_EQ('x', buffer[6]);
  EXPECT_EQ(6u, CopyUtf8("a\xC3\xA9\xE6\xB8\xAC", buffer, 8));
  EXPECT_EQ(0, buffer[7]);
  EXPECT_EQ(0u, CopyUtf8("\xE6\xB8\xAC", buffer, 3));
  EXPECT_EQ(0, buffer[0]);
  EXPECT_EQ(0u, CopyUtf8("abc", buffer, 0));
}
