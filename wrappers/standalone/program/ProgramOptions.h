#pragma once

#include <string>

// What the command line asks of the standalone program.
struct ProgramOptions
{
  bool noIO = false;          // "--no-io": no audio and no MIDI
  std::string screenshotPath; // "--screenshot PATH" (UTF-8): open, save the window as PNG, quit

  // Screenshot mode runs unattended, without audio and MIDI.
  bool ScreenshotMode() const { return !screenshotPath.empty(); }
};

// The options in a whole command line (the program's name first, as GetCommandLineW gives
// it), split as the system splits command lines, so that quoted paths keep their blanks
// and any character. "--screenshot" as the last argument takes no path, and an empty path
// is none: the program then runs as usual.
ProgramOptions ParseProgramOptions(const wchar_t* commandLine);
