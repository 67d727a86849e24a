// The entry of TARN WICK.exe.

#include "wrappers/standalone/StandaloneTarnwick.h"
#include "wrappers/standalone/program/Program.h"

#include <windows.h>

#include <cstdio>

namespace {

// An unattended run (screenshot mode) must not wait for anyone: its messages go to the
// standard error stream instead of message boxes, and questions are answered no.
int PrintMessage(HWND, const char* text, const char* caption, UINT type)
{
  std::fprintf(stderr, "%s: %s\n", caption ? caption : "", text ? text : "");
  std::fflush(stderr);
  return (type & MB_TYPEMASK) == MB_YESNO ? IDNO : IDOK;
}

} // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int)
{
  const ProgramOptions options = ParseProgramOptions(GetCommandLineW());
  if (options.screenshotWithoutPath)
  {
    std::fputs(kProgramUsage, stderr);
    std::fflush(stderr);
    return kExitScreenshotFailed;
  }
  ProgramServices services;
  services.makePlugin = MakeStandaloneTarnwick;
  services.host = StandaloneHost::DefaultServices();
  if (options.ScreenshotMode())
    services.host.showMessage = PrintMessage;
  return AppMain(instance, options, services);
}
