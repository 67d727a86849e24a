#pragma once

#include "FrameOnScreen.h"

#include <windows.h>

namespace pfw::gui {

// The display driver's vertical-blank calls (found by name in gdi32; the records are our
// own declarations of the driver interface's). Results are NTSTATUS values, 0 = success.
using D3dkmtHandle = UINT;
struct D3dkmtOpenAdapterFromHdc
{
  HDC dc;
  D3dkmtHandle adapter;
  LUID adapterLuid;
  UINT videoPresentSourceId;
};
struct D3dkmtCloseAdapter
{
  D3dkmtHandle adapter;
};
struct D3dkmtWaitForVerticalBlankEvent
{
  D3dkmtHandle adapter;
  D3dkmtHandle device;
  UINT videoPresentSourceId;
};
struct VBlankFunctions
{
  LONG(APIENTRY* openAdapterFromHdc)(D3dkmtOpenAdapterFromHdc*) = nullptr;
  LONG(APIENTRY* closeAdapter)(const D3dkmtCloseAdapter*) = nullptr;
  LONG(APIENTRY* waitForVerticalBlankEvent)(const D3dkmtWaitForVerticalBlankEvent*) = nullptr;

  bool Complete() const { return openAdapterFromHdc && closeAdapter && waitForVerticalBlankEvent; }
};

// The Windows calls whose results depend on the machine the editor runs on (its system
// version, display driver, monitor, digitiser and clock), as pointers that default to the
// real calls. Tests put fakes in their place to reach every branch on any machine.
struct WinMachine
{
  // Windows 8 or later: the vertical-blank wait is worth a thread.
  bool (*isWindows8OrLater)();
  // The process runs under Wine, not Windows.
  bool (*isWine)();
  // Whether the screen shows GL drawing in a child window of the window (GLChildProbe.h).
  FrameOnScreen (*probeGLChildWindow)(HWND window, const wchar_t* windowClass, HINSTANCE module,
                                      const PIXELFORMATDESCRIPTOR& format);
  // The window's DPI; 0 when the system has no per-window DPI.
  UINT (*getDpiForWindow)(HWND window);
  int (*getSystemMetrics)(int index);
  BOOL (*registerTouchWindow)(HWND window, ULONG flags);
  BOOL (*getTouchInputInfo)(HTOUCHINPUT input, UINT count, TOUCHINPUT* inputs, int size);
  BOOL (*closeTouchInputHandle)(HTOUCHINPUT input);
  // The extra information of the message being handled (pen and touch sign theirs).
  LPARAM (*getMessageExtraInfo)();
  // The vertical-blank calls; members stay null for those the system lacks.
  VBlankFunctions (*findVBlankFunctions)();
  // A steady clock in milliseconds, and a pause.
  double (*nowMs)();
  void (*sleepMs)(DWORD milliseconds);
};

// The process's machine: the real calls unless a test replaced some.
WinMachine& Machine();
// The real calls.
const WinMachine& RealMachine();

} // namespace pfw::gui
