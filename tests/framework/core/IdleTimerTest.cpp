#include "RecordingPlugin.h"

#include "framework/core/Timer.h"
#include "framework/core/WindowsServices.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <functional>
#include <thread>

namespace {

// Runs the user-interface side until the condition holds: on Windows the message loop that
// delivers the timer; natively the stand-in timers run on their own threads.
bool PumpUntil(const std::function<bool()>& done, std::chrono::milliseconds timeout = std::chrono::seconds(20))
{
  const auto end = std::chrono::steady_clock::now() + timeout;
  while (!done())
  {
    if (std::chrono::steady_clock::now() > end)
      return false;
#if defined(_WIN32)
    MSG message;
    while (PeekMessage(&message, nullptr, 0, 0, PM_REMOVE))
      DispatchMessage(&message);
#endif
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  return true;
}

} // namespace

TEST(Timer, FiresPeriodicallyAndStops)
{
  std::atomic<int> ticks{0};
  pfw::Timer* timer = pfw::Timer::Create([&](pfw::Timer&) { ticks.fetch_add(1); }, 20);
  const auto start = std::chrono::steady_clock::now();
  ASSERT_TRUE(PumpUntil([&] { return ticks.load() >= 5; }));
  EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(80)) << "five 20 ms periods";
  timer->Stop();
  const int stopped = ticks.load();
  PumpUntil([] { return false; }, std::chrono::milliseconds(100));
  EXPECT_EQ(ticks.load(), stopped);
  delete timer;
}

TEST(Timer, ATimerMayDeleteItselfInItsCallback)
{
  std::atomic<int> ticks{0};
  std::atomic<bool> deleted{false};
  pfw::Timer::Create(
    [&](pfw::Timer& self) {
      ticks.fetch_add(1);
      delete &self;
      deleted.store(true);
    },
    10);
  ASSERT_TRUE(PumpUntil([&] { return deleted.load(); }));
  PumpUntil([] { return false; }, std::chrono::milliseconds(80));
  EXPECT_EQ(ticks.load(), 1);
}

TEST(Timer, ACallbackMayDeleteAnotherTimerThatIsDueMeanwhile)
{
  // The other timer falls due while this callback runs: deleting it must neither wait for
  // it forever nor let it fire afterwards.
  std::atomic<int> otherTicks{0};
  pfw::Timer* other = pfw::Timer::Create([&](pfw::Timer&) { otherTicks.fetch_add(1); }, 1);
  ASSERT_TRUE(PumpUntil([&] { return otherTicks.load() >= 1; }));
  std::atomic<bool> deleted{false};
  pfw::Timer::Create(
    [&](pfw::Timer& self) {
      std::this_thread::sleep_for(std::chrono::milliseconds(30));
      delete other;
      delete &self;
      deleted.store(true);
    },
    5);
  ASSERT_TRUE(PumpUntil([&] { return deleted.load(); }));
  const int ticks = otherTicks.load();
  PumpUntil([] { return false; }, std::chrono::milliseconds(50));
  EXPECT_EQ(otherTicks.load(), ticks);
}

TEST(IdleTimer, OfSixHundredQueuedChangesTheFirst512ReachTheEditor)
{
  RecordingPlugin plugin;
  plugin.GetParam(0)->InitDouble("Level", 0, 0, 1000, 1);
  for (int i = 0; i < 600; ++i)
    plugin.SendParameterValueFromAPI(0, i, false);
  plugin.CreateTimer();
  ASSERT_TRUE(PumpUntil([&] { return plugin.idles.load() >= 2; }));
  plugin.DeleteTimer();
  ASSERT_EQ(plugin.toEditor.size(), 512u);
  for (int i = 0; i < 512; ++i)
    ASSERT_EQ(plugin.toEditor[static_cast<size_t>(i)].second, i);
}

TEST(IdleTimer, DrainsWhatTheAudioSideProducesMeanwhile)
{
  constexpr int kChanges = 20000;
  constexpr int kMidi = 2000;
  RecordingPlugin plugin;
  plugin.GetParam(1)->InitDouble("Level", 0, 0, kChanges, 1);
  plugin.CreateTimer();
  std::thread audio([&] {
    pfw::IMidiEvent event;
    for (int i = 0; i < kChanges; ++i)
    {
      while (!plugin.mParamChangeFromProcessor.Push(pfw::IParamChange{1, static_cast<double>(i)}))
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
      if (i % (kChanges / kMidi) == 0)
      {
        event.data1 = static_cast<uint8_t>(i / (kChanges / kMidi) % 128);
        while (!plugin.mMidiMsgsFromProcessor.Push(event))
          std::this_thread::sleep_for(std::chrono::milliseconds(1));
      }
    }
  });
  const bool allArrived = PumpUntil([&] { return plugin.delivered.load() >= kChanges; }, std::chrono::seconds(60));
  audio.join();
  PumpUntil([&] { return plugin.mMidiMsgsFromProcessor.Empty(); });
  plugin.DeleteTimer();
  ASSERT_TRUE(allArrived);
  ASSERT_EQ(plugin.toEditor.size(), static_cast<size_t>(kChanges));
  for (int i = 0; i < kChanges; ++i)
    ASSERT_EQ(plugin.toEditor[static_cast<size_t>(i)].second, i) << "in order";
  ASSERT_EQ(plugin.midiToEditor.size(), static_cast<size_t>(kMidi));
  for (int i = 0; i < kMidi; ++i)
    ASSERT_EQ(plugin.midiToEditor[static_cast<size_t>(i)], i % 128);
}
