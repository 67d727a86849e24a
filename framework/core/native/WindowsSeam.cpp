#include "WindowsSeam.h"

#include <chrono>
#include <condition_variable>
#include <map>
#include <memory>
#include <mutex>
#include <thread>

namespace {

struct SeamTimer
{
  std::mutex mutex;
  std::condition_variable wake;
  bool stopped = false;
  std::thread thread;
};

// Set on every timer's own thread. Stopping a timer from any timer thread must not wait for
// the stopped one: its thread may itself be waiting for a lock the caller holds.
thread_local bool tOnTimerThread = false;

std::mutex& TimersMutex()
{
  static std::mutex mutex;
  return mutex;
}

std::map<UINT_PTR, std::shared_ptr<SeamTimer>>& Timers()
{
  static std::map<UINT_PTR, std::shared_ptr<SeamTimer>> timers;
  return timers;
}

} // namespace

UINT_PTR SetTimer(HWND, UINT_PTR, UINT elapseMs, TIMERPROC procedure)
{
  if (!procedure)
    return 0;
  static UINT_PTR lastId = 0;
  auto timer = std::make_shared<SeamTimer>();
  std::lock_guard<std::mutex> lock(TimersMutex());
  const UINT_PTR id = ++lastId;
  const auto period = std::chrono::milliseconds(elapseMs > 0 ? elapseMs : 1);
  // The thread holds its own reference, so a timer killed from inside its procedure lives
  // until the thread has left it.
  timer->thread = std::thread([timer, id, period, procedure] {
    tOnTimerThread = true;
    const auto start = std::chrono::steady_clock::now();
    auto due = start + period;
    std::unique_lock<std::mutex> wait(timer->mutex);
    while (!timer->stopped)
    {
      if (timer->wake.wait_until(wait, due, [&] { return timer->stopped; }))
        break;
      wait.unlock();
      procedure(nullptr, WM_TIMER, id,
                static_cast<DWORD>(std::chrono::duration_cast<std::chrono::milliseconds>(
                                     std::chrono::steady_clock::now() - start)
                                     .count()));
      wait.lock();
      due += period;
    }
  });
  Timers()[id] = timer;
  return id;
}

BOOL KillTimer(HWND, UINT_PTR id)
{
  std::shared_ptr<SeamTimer> timer;
  {
    std::lock_guard<std::mutex> lock(TimersMutex());
    auto found = Timers().find(id);
    if (found == Timers().end())
      return 0;
    timer = found->second;
    Timers().erase(found);
  }
  {
    std::lock_guard<std::mutex> lock(timer->mutex);
    timer->stopped = true;
  }
  timer->wake.notify_all();
  if (tOnTimerThread)
    timer->thread.detach();
  else
    timer->thread.join();
  return 1;
}
