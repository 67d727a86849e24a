#pragma once

#include "WinMachine.h"

#include <windows.h>

#include <atomic>
#include <cstdint>
#include <memory>

namespace pfw::gui {

// The frame clock of an editor window on Windows 8 and later: a thread that waits for the
// display's vertical blank and then posts one tick (the window's display-tick message with
// the frame number as wParam). Without the driver's wait it ticks every 16 ms. It posts
// no tick while the previous one has not been received, so a busy window never gathers a
// queue of them, and it never ticks faster than every few milliseconds, even when the
// wait returns at once. The thread shares this object, so it stays valid for the thread
// even if the window gives up waiting for it to end.
class VBlankThread
{
public:
  static constexpr DWORD kFallbackPeriodMs = 16;
  static constexpr double kMinimumPeriodMs = 4.0;
  static constexpr double kAdapterRetryMs = 1000.0;
  static constexpr DWORD kStopTimeoutMs = 10000;

  VBlankThread(HWND target, UINT message);
  ~VBlankThread();
  VBlankThread(const VBlankThread&) = delete;
  VBlankThread& operator=(const VBlankThread&) = delete;

  // A running thread posting to the window; null when no thread could be made.
  static std::shared_ptr<VBlankThread> Start(HWND target, UINT message);
  // Asks the thread to end after its current pass.
  void RequestStop() { mStop.store(true, std::memory_order_release); }
  // Asks and waits for the end (at most kStopTimeoutMs), then lets the thread go.
  void Stop();

  // The number of the last tick posted.
  uint32_t Frame() const { return mFrame.load(std::memory_order_acquire); }
  // The window has taken the tick in flight out of its queue; the next vertical blank
  // may post again.
  void TickReceived() { mTickInFlight.store(false, std::memory_order_release); }

  // The thread's body: one tick per pass until asked to stop.
  void Run();
  bool AdapterOpen() const { return mAdapterOpen; }

private:
  // Waits for the next vertical blank, or opens the adapter to wait on next time.
  void WaitForVBlank(const VBlankFunctions& functions);
  void CloseAdapter(const VBlankFunctions& functions);
  void KeepMinimumPeriod();
  void PostTick();

  const HWND mTarget;
  const UINT mMessage;
  std::atomic<bool> mStop{false};
  std::atomic<uint32_t> mFrame{0};
  std::atomic<bool> mTickInFlight{false};
  HANDLE mThread = nullptr;

  // Used by the thread alone.
  bool mAdapterOpen = false;
  D3dkmtWaitForVerticalBlankEvent mWait = {};
  bool mOpenFailed = false;
  double mOpenFailureMs = 0.0;
  bool mPassEnded = false;
  double mPassEndMs = 0.0;
};

} // namespace pfw::gui
