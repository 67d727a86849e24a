#include "VBlankThread.h"

#include <cmath>

namespace pfw::gui {

namespace {

DWORD WINAPI VBlankThreadEntry(void* argument)
{
  const std::unique_ptr<std::shared_ptr<VBlankThread>> self(static_cast<std::shared_ptr<VBlankThread>*>(argument));
  SetThreadPriority(GetCurrentThread(), THREAD_PRIORITY_TIME_CRITICAL);
  (*self)->Run();
  return 0;
}

} // namespace

VBlankThread::VBlankThread(HWND target, UINT message)
  : mTarget(target)
  , mMessage(message)
{
}

VBlankThread::~VBlankThread()
{
  if (mThread)
    CloseHandle(mThread);
}

std::shared_ptr<VBlankThread> VBlankThread::Start(HWND target, UINT message)
{
  auto clock = std::make_shared<VBlankThread>(target, message);
  auto* threadShare = new std::shared_ptr<VBlankThread>(clock);
  clock->mThread = CreateThread(nullptr, 0, VBlankThreadEntry, threadShare, 0, nullptr);
  if (!clock->mThread)
  {
    delete threadShare;
    return nullptr;
  }
  return clock;
}

void VBlankThread::Stop()
{
  RequestStop();
  if (!mThread)
    return;
  // A thread that does not end in time keeps its own share of this object.
  WaitForSingleObject(mThread, kStopTimeoutMs);
  CloseHandle(mThread);
  mThread = nullptr;
}

void VBlankThread::Run()
{
  const VBlankFunctions functions = Machine().findVBlankFunctions();
  while (!mStop.load(std::memory_order_acquire))
  {
    if (functions.Complete())
      WaitForVBlank(functions);
    else
      Machine().sleepMs(kFallbackPeriodMs);
    KeepMinimumPeriod();
    PostTick();
  }
  if (mAdapterOpen)
    CloseAdapter(functions);
}

void VBlankThread::WaitForVBlank(const VBlankFunctions& functions)
{
  if (mAdapterOpen)
  {
    if (functions.waitForVerticalBlankEvent(&mWait) != 0)
    {
      CloseAdapter(functions);
      Machine().sleepMs(kFallbackPeriodMs);
    }
    return;
  }
  if (mOpenFailed && Machine().nowMs() - mOpenFailureMs < kAdapterRetryMs)
  {
    Machine().sleepMs(kFallbackPeriodMs);
    return;
  }
  D3dkmtOpenAdapterFromHdc open = {};
  open.dc = GetDC(mTarget);
  const LONG status = open.dc ? functions.openAdapterFromHdc(&open) : -1;
  if (open.dc)
    ReleaseDC(mTarget, open.dc);
  if (status != 0)
  {
    mOpenFailed = true;
    mOpenFailureMs = Machine().nowMs();
    Machine().sleepMs(kFallbackPeriodMs);
    return;
  }
  mWait = {};
  mWait.adapter = open.adapter;
  mWait.videoPresentSourceId = open.videoPresentSourceId;
  mOpenFailed = false;
  mAdapterOpen = true;
}

void VBlankThread::CloseAdapter(const VBlankFunctions& functions)
{
  const D3dkmtCloseAdapter close = {mWait.adapter};
  functions.closeAdapter(&close);
  mAdapterOpen = false;
}

void VBlankThread::KeepMinimumPeriod()
{
  if (mPassEnded)
  {
    const double since = Machine().nowMs() - mPassEndMs;
    if (since < kMinimumPeriodMs)
      Machine().sleepMs(static_cast<DWORD>(std::ceil(kMinimumPeriodMs - since)));
  }
  mPassEnded = true;
  mPassEndMs = Machine().nowMs();
}

void VBlankThread::PostTick()
{
  if (mTickInFlight.exchange(true, std::memory_order_acq_rel))
    return;
  const uint32_t frame = mFrame.fetch_add(1, std::memory_order_acq_rel) + 1;
  if (!PostMessageW(mTarget, mMessage, frame, 0))
    mTickInFlight.store(false, std::memory_order_release);
}

} // namespace pfw::gui
