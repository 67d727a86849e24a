#pragma once

#include <windows.h>

#include <string>

// The display's own pointer, driven through the X server as a player's mouse is: Wine gets
// its events within the grab the X server keeps for a held button, where SendInput passes
// the X server by. xdotool plays them, started under Wine as a Unix program.

// Starts a press of the left button at `press` (screen pixels), a drag straight out to 30
// pixels past one edge of the window (0 left, 1 top, 2 right, 3 bottom), the release there,
// and moves back without a button a third beyond the press and on to rest on it, a step
// every 50 ms. A Unix program gives no handle to wait on; false when it did not start.
inline bool PlayDragPastEdge(POINT press, const RECT& window, int edge)
{
  const LONG outside[] = {window.left - 30, window.top - 30, window.right + 30, window.bottom + 30};
  POINT out = press;
  (edge % 2 ? out.y : out.x) = outside[edge];
  const POINT beyond = {press.x + (press.x - out.x) / 3, press.y + (press.y - out.y) / 3};
  std::wstring command = L"/usr/bin/xdotool";
  const auto move = [&](POINT from, POINT to, int steps) {
    for (int step = 1; step <= steps; ++step)
      command += L" mousemove " + std::to_wstring(from.x + (to.x - from.x) * step / steps) + L" " +
                 std::to_wstring(from.y + (to.y - from.y) * step / steps) + L" sleep 0.05";
  };
  move(press, press, 1);
  command += L" mousedown 1 sleep 0.2";
  move(press, out, 8);
  command += L" mouseup 1 sleep 0.2";
  move(out, beyond, 8);
  move(beyond, press, 8);
  STARTUPINFOW startup = {};
  startup.cb = sizeof(startup);
  PROCESS_INFORMATION started = {};
  return CreateProcessW(nullptr, &command[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &started);
}

// Whether a tooltip of this process is on the screen.
inline bool TooltipShown()
{
  for (HWND tip = nullptr; (tip = FindWindowExW(nullptr, tip, L"tooltips_class32", nullptr)) != nullptr;)
  {
    DWORD process = 0;
    GetWindowThreadProcessId(tip, &process);
    if (process == GetCurrentProcessId() && IsWindowVisible(tip))
      return true;
  }
  return false;
}
