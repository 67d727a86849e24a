#include "wrappers/standalone/program/ProgramOptions.h"
#include "wrappers/standalone/program/ProgramTexts.h"

#include <gtest/gtest.h>

TEST(ProgramOptionsTest, CommandLinesGiveTheirOptions)
{
  struct Case
  {
    const wchar_t* line;
    bool noIO;
    const char* screenshot;
  };
  const Case cases[] = {
    {L"", false, ""},
    {L"\"C:\\Program Files\\TARN WICK.exe\"", false, ""},
    {L"tw.exe --no-io", true, ""},
    {L"tw.exe --screenshot shot.png", true, "shot.png"},
    // Quoted paths keep their blanks and characters beyond ASCII.
    {L"tw.exe --screenshot \"C:\\Jo Smith\\Gr\u00FC\u00DFe.png\" --no-io", true, "C:\\Jo Smith\\Gr\xC3\xBC\xC3\x9F" "e.png"},
    // Unknown arguments are ignored; "--screenshot" last or with an empty path asks for no
    // screenshot, and audio stays on unless "--no-io" is given.
    {L"tw.exe --verbose --screenshot", false, ""},
    {L"tw.exe --screenshot \"\"", false, ""},
    {L"tw.exe --screenshot \"\" --no-io", true, ""},
  };
  for (const Case& c : cases)
  {
    const ProgramOptions options = ParseProgramOptions(c.line);
    EXPECT_EQ(c.noIO, options.noIO) << testing::PrintToString(std::wstring(c.line));
    EXPECT_EQ(c.screenshot, options.screenshotPath) << testing::PrintToString(std::wstring(c.line));
  }
}

TEST(ProgramTextsTest, AboutTextAndScreenshotNames)
{
  const std::string about = AboutText("QUILLTONE", "Dec  9 2026");
  EXPECT_EQ("\xC2\xA9 2026 QUILLTONE\nBuilt on Dec 9 2026", about);
  struct tm time = {};
  time.tm_year = 2026 - 1900;
  time.tm_mon = 0;
  time.tm_mday = 5;
  time.tm_hour = 7;
  time.tm_min = 8;
  time.tm_sec = 9;
  EXPECT_EQ("C:\\Temp\\TARN WICK_screenshot_20260105_070809.png", ScreenshotFilePath("C:\\Temp\\", "TARN WICK", time));
}
