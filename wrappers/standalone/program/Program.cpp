#include "wrappers/standalone/program/Program.h"

#include "wrappers/standalone/program/MainDialog.h"
#include "wrappers/standalone/program/ResourceIds.h"
#include "wrappers/standalone/program/SingleInstance.h"

#include <commctrl.h>

#include <exception>
#include <string>

namespace {

constexpr const wchar_t* kMutexName = L"Tarnwick";

// Per-monitor awareness (version 2), where the system offers it; looked up once.
void BecomePerMonitorDpiAware()
{
  using SetContext = BOOL(WINAPI*)(HANDLE context);
  static const SetContext setContext = [] {
    HMODULE user32 = GetModuleHandleW(L"user32.dll");
    return user32 ? reinterpret_cast<SetContext>(
                      reinterpret_cast<void*>(GetProcAddress(user32, "SetProcessDpiAwarenessContext")))
                  : nullptr;
  }();
  if (setContext)
    setContext(reinterpret_cast<HANDLE>(static_cast<INT_PTR>(-4)));
}

// The dialog a message belongs to: up the parents, the first top-level dialog, else the
// outermost child dialog passed on the way.
HWND DialogOfWindow(HWND window)
{
  HWND childDialog = nullptr;
  for (HWND current = window; current; current = GetParent(current))
  {
    char className[16] = {};
    GetClassNameA(current, className, sizeof(className));
    if (lstrcmpA(className, "#32770") != 0)
      continue;
    if (!(GetWindowLongPtrA(current, GWL_STYLE) & WS_CHILD))
      return current;
    childDialog = current;
  }
  return childDialog;
}

int RunMessageLoop()
{
  Program& program = Program::Get();
  MSG message;
  for (;;)
  {
    const BOOL got = GetMessageA(&message, nullptr, 0, 0);
    if (got == 0)
      break;
    if (got == -1)
    {
      Sleep(10);
      continue;
    }
    if (message.hwnd)
    {
      if (program.mainWindow && (TranslateAcceleratorA(program.mainWindow, program.accelerators, &message) ||
                                 IsDialogMessageA(program.mainWindow, &message)))
        continue;
      HWND dialog = DialogOfWindow(message.hwnd);
      if (dialog && IsDialogMessageA(dialog, &message))
        continue;
      TranslateMessage(&message);
    }
    DispatchMessageA(&message);
  }
  const int code = static_cast<int>(message.wParam);
  if (program.mainWindow)
    DestroyWindow(program.mainWindow);
  return program.exitCode != kExitOk ? program.exitCode : code;
}

int Run(HINSTANCE instance, const ProgramOptions& options, const ProgramServices& services)
{
  Program& program = Program::Get();
  InitCommonControls();
  program.wheelMessage = RegisterWindowMessageA("MSWHEEL_ROLLMSG");

  StandaloneHost* host = StandaloneHost::Create(services.makePlugin, services.host);
  if (!host)
    return kExitFailure;
  host->SetNoIO(options.noIO);
  host->SetScreenshotPath(options.screenshotPath.c_str());
  host->Init();
  host->TryStartAudio();

  program.accelerators = LoadAcceleratorsA(instance, MAKEINTRESOURCEA(IDR_ACCELERATORS));
  BecomePerMonitorDpiAware();
  if (!CreateDialogParamA(instance, MAKEINTRESOURCEA(IDD_MAIN), GetDesktopWindow(), MainDlgProc, 0) ||
      !program.mainWindow)
  {
    StandaloneHost::Destroy();
    return kExitFailure;
  }
  return RunMessageLoop();
}

} // namespace

Program& Program::Get()
{
  static Program program;
  return program;
}

int Program::ShowMessage(HWND owner, const char* text, const char* caption, UINT type) const
{
  return services && services->host.showMessage ? services->host.showMessage(owner, text, caption, type) : 0;
}

void Program::Fail(int code)
{
  if (exitCode == kExitOk)
    exitCode = code;
  PostQuitMessage(code);
}

int AppMain(HINSTANCE instance, const ProgramOptions& options, const ProgramServices& services)
{
  Program& program = Program::Get();
  program = Program();
  program.instance = instance;
  program.services = &services;
  int code = kExitFailure;
  SingleInstance single(kMutexName);
  if (!single.IsFirst())
  {
    BringRunningInstanceForward(L"TARN WICK");
    code = kExitOk;
    // A screenshot was asked for and none is taken: the running instance is the cause.
    if (options.ScreenshotMode())
    {
      const std::string text =
        std::string("Failed to save screenshot: another ") + kProgramName + " is already running";
      program.ShowMessage(nullptr, text.c_str(), "Error", MB_OK);
      code = kExitScreenshotFailed;
    }
  }
  else
  {
    try
    {
      code = Run(instance, options, services);
    }
    catch (...)
    {
      code = kExitFailure;
    }
    // Whatever ended the program, the devices are let go of before the mutex.
    try
    {
      if (program.mainWindow)
        DestroyWindow(program.mainWindow);
      StandaloneHost::Destroy();
    }
    catch (...)
    {
      code = kExitFailure;
    }
  }
  program.services = nullptr;
  return code;
}
