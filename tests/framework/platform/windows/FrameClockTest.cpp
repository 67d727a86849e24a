#include "EditorWindowFixture.h"

#include "framework/platform/windows/VBlankThread.h"

#include <atomic>
#include <chrono>
#include <cstdio>

using namespace pfw::gui;

namespace {

constexpr UINT kTick = IGuiWin::kDisplayTickMessage;

// A display driver and clock under the test's control: time moves only when the thread
// sleeps or waits (a 60 Hz vertical blank), and the window takes every tick at once.
struct Script
{
  VBlankThread* thread = nullptr;
  double now = 0.0, opensFailUntil = 0.0;
  int failingWait = -1, stopAfterPasses = 0, passes = 0, waits = 0, closes = 0;
  std::vector<double> openTimes;

  LONG EndPass()
  {
    thread->TickReceived();
    if (++passes == stopAfterPasses)
      thread->RequestStop();
    return 0;
  }
} * gScript = nullptr;

double ScriptedNow() { return gScript->now; }
void ScriptedSleep(DWORD ms)
{
  gScript->now += ms;
  if (ms == VBlankThread::kFallbackPeriodMs)
    gScript->EndPass();
}
LONG APIENTRY ScriptedOpen(D3dkmtOpenAdapterFromHdc* open)
{
  gScript->openTimes.push_back(gScript->now);
  open->adapter = 7;
  return gScript->now < gScript->opensFailUntil ? 1 : gScript->EndPass();
}
LONG APIENTRY ScriptedClose(const D3dkmtCloseAdapter* close)
{
  EXPECT_EQ(close->adapter, 7u);
  return ++gScript->closes, 0;
}
LONG APIENTRY ScriptedWait(const D3dkmtWaitForVerticalBlankEvent* wait)
{
  gScript->now += 16.7;
  return ++gScript->waits == gScript->failingWait || wait->adapter != 7 ? 1 : gScript->EndPass();
}

// Vertical blanks that come only when the test allows one (or all, to let the thread end).
HANDLE gAllowOne = CreateEventW(nullptr, FALSE, FALSE, nullptr);
HANDLE gAllowAll = CreateEventW(nullptr, TRUE, FALSE, nullptr);
LONG WaitForPermission()
{
  const HANDLE events[] = {gAllowOne, gAllowAll};
  WaitForMultipleObjects(2, events, FALSE, INFINITE);
  return 0;
}
LONG APIENTRY GatedOpen(D3dkmtOpenAdapterFromHdc*) { return WaitForPermission(); }
LONG APIENTRY GatedWait(const D3dkmtWaitForVerticalBlankEvent*) { return WaitForPermission(); }
LONG APIENTRY AcceptClose(const D3dkmtCloseAdapter*) { return 0; }

std::atomic<int> gInstantWaits{0};
LONG APIENTRY InstantOpen(D3dkmtOpenAdapterFromHdc*) { return 0; }
LONG APIENTRY InstantWait(const D3dkmtWaitForVerticalBlankEvent*) { return ++gInstantWaits, 0; }

bool TickQueued(HWND window)
{
  MSG message;
  return PeekMessageW(&message, window, kTick, kTick, PM_NOREMOVE) != FALSE;
}

// Waits for the clock's thread to queue a tick without dispatching anything: a pump
// could take the very tick it waits for.
bool WaitForQueuedTick(HWND window)
{
  const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(20);
  while (!TickQueued(window))
  {
    if (std::chrono::steady_clock::now() > end)
      return false;
    Sleep(1);
  }
  return true;
}

} // namespace

TEST(FrameTimer, IntervalFollowsTheFrameRate)
{
  const std::pair<int, unsigned> cases[] = {{30, 33}, {60, 15}, {50, 20}, {49, 20}, {51, 15}, {0, 15}};
  for (const auto& c : cases)
    EXPECT_EQ(FrameTimerInterval(c.first), c.second) << c.first << " fps";
}

class VBlankLoop : public ::testing::Test
{
protected:
  void Run(const VBlankFunctions& functions)
  {
    static VBlankFunctions found;
    found = functions;
    Machine().findVBlankFunctions = [] { return found; };
    Machine().nowMs = ScriptedNow;
    Machine().sleepMs = ScriptedSleep;
    script.thread = &thread;
    gScript = &script;
    thread.Run();
  }

  MachineOverride machine;
  HostWindow target;
  VBlankThread thread{target.Handle(), kTick};
  Script script;
};

TEST_F(VBlankLoop, RetriesTheAdapterAfterASecondAndReopensItAfterAFailedWait)
{
  script.opensFailUntil = 500.0;
  script.failingWait = 3;
  script.stopAfterPasses = 100;
  Run({ScriptedOpen, ScriptedClose, ScriptedWait});

  ASSERT_EQ(script.openTimes.size(), 3u);
  EXPECT_EQ(script.openTimes[0], 0.0);
  EXPECT_GE(script.openTimes[1], VBlankThread::kAdapterRetryMs);
  EXPECT_LT(script.openTimes[1], VBlankThread::kAdapterRetryMs + 2 * VBlankThread::kFallbackPeriodMs);
  EXPECT_GT(script.openTimes[2], script.openTimes[1]);
  // Closed after the failed wait, and at the end.
  EXPECT_EQ(script.closes, 2);
  EXPECT_FALSE(thread.AdapterOpen());
  EXPECT_EQ(thread.Frame(), 100u);
}

TEST(VBlankThreadRun, AWaitThatReturnsAtOnceNeitherSpinsNorFloodsTheWindow)
{
  MachineOverride machine;
  Machine().findVBlankFunctions = [] { return VBlankFunctions{InstantOpen, AcceptClose, InstantWait}; };
  HostWindow target;
  gInstantWaits = 0;
  const auto start = std::chrono::steady_clock::now();
  auto thread = VBlankThread::Start(target.Handle(), kTick);
  ASSERT_TRUE(thread);
  // A few hundred milliseconds of passes, however late a loaded machine runs the thread.
  Sleep(300);
  for (int i = 0; i < 2000 && gInstantWaits.load() < 5; ++i)
    Sleep(10);
  thread->Stop();
  const double elapsedMs = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();

  int queued = 0;
  MSG message;
  while (PeekMessageW(&message, target.Handle(), kTick, kTick, PM_REMOVE))
    ++queued;
  EXPECT_EQ(queued, 1);
  EXPECT_GT(gInstantWaits.load(), 0);
  EXPECT_LE(gInstantWaits.load(), elapsedMs / VBlankThread::kMinimumPeriodMs + 2);
}

class VBlankEditor : public EditorWindowTest
{
protected:
  void SetUp() override
  {
    ResetEvent(gAllowAll);
    Machine().isWindows8OrLater = [] { return true; };
    Machine().findVBlankFunctions = [] { return VBlankFunctions{GatedOpen, AcceptClose, GatedWait}; };
  }
  void TearDown() override
  {
    SetEvent(gAllowAll);
    EditorWindowTest::TearDown();
  }
  static void AllowOneVBlank() { SetEvent(gAllowOne); }
};

TEST_F(VBlankEditor, StaleTicksAndTicksQueuedDuringAPaintDrawNothing)
{
  ASSERT_TRUE(Open());
  ASSERT_TRUE(gui->FramesFromVBlank());
  CountingControl* control = Add(IRectF(10, 10, 60, 40));
  UpdateWindow(editor);
  PumpQueued();
  const int before = control->draws;

  PostMessageW(editor, kTick, 12345, 0);
  PumpQueued();
  EXPECT_EQ(control->draws, before) << "a tick that is not the latest";

  AllowOneVBlank();
  ASSERT_TRUE(PumpUntil([&] { return control->draws == before + 1; }));

  // A paint long enough for the next vertical blank to queue a tick.
  control->onDraw = [&] {
    AllowOneVBlank();
    WaitForQueuedTick(editor);
  };
  control->SetDirty(false);
  AllowOneVBlank();
  ASSERT_TRUE(PumpUntil([&] { return control->draws == before + 2; }));
  ASSERT_TRUE(TickQueued(editor));
  control->onDraw = nullptr;
  control->SetDirty(false);
  PumpQueued();
  EXPECT_EQ(control->draws, before + 2) << "the tick queued during the paint";

  AllowOneVBlank();
  EXPECT_TRUE(PumpUntil([&] { return control->draws == before + 3; }));
}

// Not a timing test: it reports the rates it saw and asks only that frames came.
TEST_F(EditorWindowTest, FrameClockTickRateOfBothPaths)
{
  for (const bool vblank : {true, false})
  {
    Machine().isWindows8OrLater = vblank ? +[] { return true; } : +[] { return false; };
    ASSERT_TRUE(Open());
    ASSERT_EQ(gui->FramesFromVBlank(), vblank);
    CountingControl* control = Add(IRectF(0, 0, 20, 20));
    control->animate = true;
    PumpUntil([&] { return control->draws > 0; });
    const int first = control->draws;
    const auto start = std::chrono::steady_clock::now();
    const auto elapsed = [&] { return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count(); };
    // A second at least, and longer should a loaded machine give no frame in it.
    EXPECT_TRUE(PumpUntil([&] { return elapsed() >= 1.0 && control->draws > first; }));
    const double seconds = elapsed();
    const double rate = (control->draws - first) / seconds;
    std::printf("frame clock (%s): %.1f ticks per second\n", vblank ? "vertical-blank thread" : "window timer", rate);
    RecordProperty(vblank ? "vblank_ticks_per_second" : "timer_ticks_per_second", std::to_string(rate));
    gui.reset();
  }
}
