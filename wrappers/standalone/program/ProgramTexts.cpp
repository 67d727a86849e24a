#include "wrappers/standalone/program/ProgramTexts.h"

#include "framework/platform/windows/Utf8Shims.h"

#include <cstdio>

namespace {
constexpr size_t kMaxAboutText = 55;
constexpr size_t kMaxScreenshotPath = 512;
} // namespace

std::string AboutText(const char* maker, const char* buildDate)
{
  char month[4] = {};
  int day = 0, year = 0;
  if (!buildDate || std::sscanf(buildDate, "%3s %d %d", month, &day, &year) != 3)
    return std::string("\xC2\xA9 ") + (maker ? maker : "");
  char text[128];
  std::snprintf(text, sizeof(text), "\xC2\xA9 %d %s\nBuilt on %s %d %d", year, maker ? maker : "", month, day, year);
  std::string about = text;
  // The copyright sign is one character in two bytes.
  if (about.size() - 1 > kMaxAboutText)
    about.resize(kMaxAboutText + 1);
  return about;
}

std::string ScreenshotFilePath(const char* temporaryFolder, const char* productName, const struct tm& localTime)
{
  char stamp[32] = {};
  pfw::strftimeUTF8(stamp, sizeof(stamp), "%Y%m%d_%H%M%S", &localTime);
  char path[kMaxScreenshotPath];
  std::snprintf(path, sizeof(path), "%s%s_screenshot_%s.png", temporaryFolder ? temporaryFolder : "",
                productName ? productName : "", stamp);
  return path;
}
