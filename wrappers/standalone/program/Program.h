#pragma once

#include "wrappers/standalone/StandaloneHost.h"
#include "wrappers/standalone/program/ProgramOptions.h"

#include <windows.h>

// The program's name: the main window's caption, the message boxes' and the screenshots'.
constexpr const char* kProgramName = "TARN WICK";

// What the program is built from: its plug-in and the host's services (message boxes,
// folders, device back ends). Tests give their own.
struct ProgramServices
{
  StandaloneHost::PluginFactory makePlugin = nullptr;
  StandaloneHost::Services host;
  // The main window's own background. It shows beside and below the editor while the
  // editor catches up with a larger window, so it is the editor's dark backdrop colour.
  COLORREF editorBackdrop = RGB(0, 0, 0);
};

// Exit codes.
enum ProgramExit : int
{
  kExitOk = 0,
  kExitFailure = 1,           // start-up failed or an exception ended the program
  kExitScreenshotFailed = 2,  // screenshot mode saved no picture
};

// Program-wide state, on the user-interface thread.
struct Program
{
  HINSTANCE instance = nullptr;
  HWND mainWindow = nullptr;
  UINT wheelMessage = 0;
  HACCEL accelerators = nullptr;
  const ProgramServices* services = nullptr;
  int exitCode = kExitOk;

  static Program& Get();
  // A message box through the services (the seam that tests observe); the button pressed.
  int ShowMessage(HWND owner, const char* text, const char* caption, UINT type) const;
  // Ends the message loop with the code; the first failure's code is kept.
  void Fail(int code);
};

// The program: single instance, host and devices, the main window with the editor, and the
// message loop until the main window is gone. Returns the exit code.
int AppMain(HINSTANCE instance, const ProgramOptions& options, const ProgramServices& services);

// Runs a window or dialog procedure's work, turning an exception into the end of the
// program (exit code 1) instead of letting it unwind through the system.
template <typename Work>
INT_PTR GuardedProcedure(Work&& work)
{
  try
  {
    return work();
  }
  catch (...)
  {
    Program::Get().Fail(kExitFailure);
    return FALSE;
  }
}
