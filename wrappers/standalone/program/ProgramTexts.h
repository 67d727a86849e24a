#pragma once

#include <ctime>
#include <string>

// Texts the standalone program builds for the user.

// The about box: the maker's ownership line with the build's year, then "Built on " and
// the build date as month abbreviation, day and year. buildDate is written as the
// compiler's __DATE__ ("Mmm dd yyyy", the day padded with a blank). At most 55 characters.
std::string AboutText(const char* maker, const char* buildDate);

// Where the screenshot command saves: the temporary folder (ending in a separator), the
// product's name, "_screenshot_" and the local time as "%Y%m%d_%H%M%S", ".png".
std::string ScreenshotFilePath(const char* temporaryFolder, const char* productName, const struct tm& localTime);
