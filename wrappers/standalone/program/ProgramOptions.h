#pragma once

#include <string>

// What the command line asks of the standalone program.
struct ProgramOptions
{
  bool noIO = false;          // "--no-io": no audio and no MIDI
  std::string screenshotPath; // "--screenshot PATH" (UTF-8): open, save the window as PNG, quit
  // "--screenshot" last or with an empty path: refused, since the caller waits for an end
  // that the normal window would never bring.
  bool screenshotWithoutPath = false;

  // Screenshot mode runs unattended, without audio and MIDI.
  bool ScreenshotMode() const { return !screenshotPath.empty(); }
};

// The options in a whole command line (the program's name first, as GetCommandLineW gives
// it), split as the system splits command lines, so that quoted paths keep their blanks
// and any character.
ProgramOptions ParseProgramOptions(const wchar_t* commandLine);

// What the program prints when it refuses its command line.
constexpr const char* kProgramUsage = "usage: \"TARN WICK.exe\" [--no-io] [--screenshot PATH]\n"
                                      "  --no-io            no audio and no MIDI\n"
                                      "  --screenshot PATH  save the window as a PNG picture at PATH, then end\n";
