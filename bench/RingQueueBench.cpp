#include "framework/core/IParamChange.h"
#include "framework/core/IRingQueue.h"
#include "framework/core/ISysExMessage.h"

#include <benchmark/benchmark.h>

#include <atomic>
#include <thread>

// One push and one pop on the same thread: the cost the audio side pays per entry.
static void BM_RingPushPop(benchmark::State& state)
{
  pfw::IRingQueue<pfw::IParamChange> ring(513);
  pfw::IParamChange change{3, 0.5};
  for (auto _ : state)
  {
    ring.Push(change);
    ring.Pop(change);
    benchmark::DoNotOptimize(change);
  }
}
BENCHMARK(BM_RingPushPop);

// Entries per second from a producer thread to a consumer thread through the parameter ring.
static void BM_RingAcrossThreads(benchmark::State& state)
{
  constexpr int kEntries = 1 << 20;
  for (auto _ : state)
  {
    pfw::IRingQueue<pfw::IParamChange> ring(513);
    std::thread producer([&] {
      for (int i = 0; i < kEntries; ++i)
        while (!ring.Push(pfw::IParamChange{i, 0.0}))
          std::this_thread::yield();
    });
    pfw::IParamChange change;
    for (int received = 0; received < kEntries;)
      if (ring.Pop(change))
        ++received;
    producer.join();
  }
  state.SetItemsProcessed(state.iterations() * kEntries);
}
BENCHMARK(BM_RingAcrossThreads)->Unit(benchmark::kMillisecond)->UseRealTime();

// A full SysEx entry (520 bytes) through its ring.
static void BM_SysExPushPop(benchmark::State& state)
{
  pfw::IRingQueue<pfw::SysExQueueEntry> ring(5);
  pfw::SysExQueueEntry entry;
  entry.size = 512;
  for (auto _ : state)
  {
    ring.Push(entry);
    ring.Pop(entry);
    benchmark::DoNotOptimize(entry);
  }
}
BENCHMARK(BM_SysExPushPop);
