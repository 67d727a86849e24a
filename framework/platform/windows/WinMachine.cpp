#include "WinMachine.h"

#include "GLChildProbe.h"

namespace pfw::gui {

namespace {

bool IsWindows8OrLater()
{
  OSVERSIONINFOEXW version = {};
  version.dwOSVersionInfoSize = sizeof(version);
  version.dwMajorVersion = 6;
  version.dwMinorVersion = 2;
  version.wServicePackMajor = 0;
  DWORDLONG mask = 0;
  mask = VerSetConditionMask(mask, VER_MAJORVERSION, VER_GREATER_EQUAL);
  mask = VerSetConditionMask(mask, VER_MINORVERSION, VER_GREATER_EQUAL);
  mask = VerSetConditionMask(mask, VER_SERVICEPACKMAJOR, VER_GREATER_EQUAL);
  return VerifyVersionInfoW(&version, VER_MAJORVERSION | VER_MINORVERSION | VER_SERVICEPACKMAJOR, mask) != FALSE;
}

template <typename Function>
Function Lookup(const wchar_t* module, const char* name)
{
  HMODULE handle = GetModuleHandleW(module);
  return handle ? reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(handle, name))) : nullptr;
}

// Wine's ntdll names its version; Windows' has no such export.
bool IsWine()
{
  return Lookup<void (*)()>(L"ntdll.dll", "wine_get_version") != nullptr;
}

// Windows before 10 (1607) has no per-window DPI; looked up once.
UINT DpiForWindow(HWND window)
{
  using Function = UINT(WINAPI*)(HWND);
  static const Function getDpiForWindow = Lookup<Function>(L"user32.dll", "GetDpiForWindow");
  return getDpiForWindow ? getDpiForWindow(window) : 0;
}

// gdi32 is linked, so its handle stays valid for the process's life.
VBlankFunctions FindVBlankFunctions()
{
  VBlankFunctions functions;
  functions.openAdapterFromHdc =
    Lookup<decltype(functions.openAdapterFromHdc)>(L"gdi32.dll", "D3DKMTOpenAdapterFromHdc");
  functions.closeAdapter = Lookup<decltype(functions.closeAdapter)>(L"gdi32.dll", "D3DKMTCloseAdapter");
  functions.waitForVerticalBlankEvent =
    Lookup<decltype(functions.waitForVerticalBlankEvent)>(L"gdi32.dll", "D3DKMTWaitForVerticalBlankEvent");
  return functions;
}

double NowMs()
{
  static const double ticksPerMs = [] {
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    return static_cast<double>(frequency.QuadPart) / 1000.0;
  }();
  LARGE_INTEGER now;
  QueryPerformanceCounter(&now);
  return static_cast<double>(now.QuadPart) / ticksPerMs;
}

} // namespace

const WinMachine& RealMachine()
{
  static const WinMachine real = {IsWindows8OrLater,   IsWine,           ProbeGLChildWindow,    DpiForWindow,
                                  GetSystemMetrics,    RegisterTouchWindow, GetTouchInputInfo, CloseTouchInputHandle,
                                  GetMessageExtraInfo, FindVBlankFunctions, NowMs,             Sleep};
  return real;
}

WinMachine& Machine()
{
  static WinMachine machine = RealMachine();
  return machine;
}

} // namespace pfw::gui
