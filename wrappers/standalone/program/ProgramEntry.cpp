// The entry of TARN WICK.exe.

#include "framework/platform/windows/WinMachine.h"
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
  ProgramServices services;
  services.makePlugin = MakeStandaloneTarnwick;
  services.host = StandaloneHost::DefaultServices();
  services.editorBackdrop = StandaloneTarnwickBackdrop();
  if (options.ScreenshotMode())
    services.host.showMessage = PrintMessage;
  const int code = AppMain(instance, options, services);
  // Under Wine the process counts as ended before the host system's own exit handlers
  // run, and the GL driver's handler waits there for its disk-cache thread, which runs at
  // the lowest priority: on a busy machine that wait outlasts Wine's half second of grace
  // and the process is killed after it has done all its work. Everything of ours (editor,
  // host, devices, plug-in) has ended in order by now, so under Wine the process ends
  // without those handlers.
  if (pfw::gui::Machine().isWine())
  {
    std::fflush(nullptr);
    TerminateProcess(GetCurrentProcess(), static_cast<UINT>(code));
  }
  return code;
}
