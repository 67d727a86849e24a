#include "Timer.h"

#include "PointerList.h"
#include "ScopedCriticalSection.h"
#include "WindowsServices.h"

namespace pfw {

namespace {

class Timer_impl;

// Every running timer, so that the system timer procedure can find its object by id.
struct TimerRegistry
{
  TimerRegistry()
  {
    lock = new CRITICAL_SECTION;
    InitializeCriticalSection(lock);
  }

  CRITICAL_SECTION* lock;
  PointerList<Timer_impl> timers;
};

// Never destroyed: a timer stopped from a timer thread has its thread finish on its own, and
// that thread may still be leaving the procedure, holding the lock, while the process exits.
TimerRegistry& Registry()
{
  static TimerRegistry* registry = new TimerRegistry;
  return *registry;
}

class Timer_impl final : public Timer
{
public:
  Timer_impl(Callback callback, uint32_t periodMs)
    : mCallback(std::move(callback))
  {
    mID = SetTimer(nullptr, 0, periodMs, TimerProc);
    if (!mID)
      return;
    ScopedCriticalSection lock(Registry().lock);
    if (!Registry().timers.Add(this))
    {
      KillTimer(nullptr, mID);
      mID = 0;
    }
  }

  ~Timer_impl() override { Stop(); }

  void Stop() override
  {
    if (!mID)
      return;
    KillTimer(nullptr, mID);
    ScopedCriticalSection lock(Registry().lock);
    Registry().timers.Delete(Registry().timers.Find(this));
    mID = 0;
  }

private:
  static void CALLBACK TimerProc(HWND, UINT, UINT_PTR id, DWORD)
  {
    // The lock is held while the callback runs, so no other thread can delete the timer
    // under it. The callback is called through a copy: it may stop or delete its own timer.
    ScopedCriticalSection lock(Registry().lock);
    PointerList<Timer_impl>& timers = Registry().timers;
    for (int i = 0; i < timers.GetSize(); ++i)
    {
      Timer_impl* timer = timers.Get(i);
      if (timer->mID != id)
        continue;
      Callback callback = timer->mCallback;
      if (callback)
        callback(*timer);
      return;
    }
  }

  Callback mCallback;
  UINT_PTR mID = 0;
};

} // namespace

Timer* Timer::Create(Callback callback, uint32_t periodMs)
{
  return new Timer_impl(std::move(callback), periodMs);
}

} // namespace pfw
