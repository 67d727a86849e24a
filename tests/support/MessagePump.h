#pragma once

#include <windows.h>

#include <chrono>
#include <functional>

// Dispatches this thread's messages until done() holds or the seconds pass (far more than
// a loaded machine needs); true when it held.
inline bool PumpUntil(const std::function<bool()>& done, double seconds = 20.0)
{
  const auto end = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
  while (!done())
  {
    if (std::chrono::steady_clock::now() > end)
      return false;
    MSG message;
    if (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE))
    {
      TranslateMessage(&message);
      DispatchMessageW(&message);
    }
    else
      MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
  }
  return true;
}

// Dispatches what is queued now.
inline void PumpQueued()
{
  MSG message;
  while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE))
  {
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
}
