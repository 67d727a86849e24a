#include "framework/core/IRingQueue.h"
#include "framework/core/IMidiEvent.h"
#include "framework/core/IParamChange.h"
#include "framework/core/ISysExMessage.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstdint>
#include <thread>
#include <vector>

using pfw::IRingQueue;

namespace {

// An entry whose fields must agree: a torn copy shows up as a mismatch.
struct Stamped
{
  uint64_t sequence;
  uint64_t inverted;
  double value;
};

Stamped Stamp(uint64_t sequence)
{
  return Stamped{sequence, ~sequence, static_cast<double>(sequence) * 0.5};
}

bool Intact(const Stamped& entry)
{
  return entry.inverted == ~entry.sequence && entry.value == static_cast<double>(entry.sequence) * 0.5;
}

} // namespace

// Producer and consumer run flat out: the producer retries a full ring, so every entry
// must arrive, whole and in order.
TEST(RingQueueConcurrency, EveryEntryArrivesInOrderAndWhole)
{
  constexpr uint64_t kCount = 400000;
  IRingQueue<Stamped> ring(513);
  std::thread producer([&] {
    for (uint64_t i = 0; i < kCount; ++i)
      while (!ring.Push(Stamp(i)))
        std::this_thread::yield();
  });
  uint64_t expected = 0;
  uint64_t torn = 0, outOfOrder = 0;
  Stamped entry{};
  while (expected < kCount)
  {
    if (!ring.Pop(entry))
    {
      std::this_thread::yield();
      continue;
    }
    torn += Intact(entry) ? 0 : 1;
    outOfOrder += entry.sequence == expected ? 0 : 1;
    expected = entry.sequence + 1;
  }
  producer.join();
  EXPECT_EQ(torn, 0u);
  EXPECT_EQ(outOfOrder, 0u);
  EXPECT_TRUE(ring.Empty());
}

// A producer that never waits, as the audio thread: entries pushed onto a full ring are
// dropped, and exactly the accepted ones reach the consumer, in order.
TEST(RingQueueConcurrency, FullRingDropsAndKeepsWhatItAccepted)
{
  constexpr uint64_t kCount = 300000;
  constexpr uint64_t kOverlap = 1000; // entries the consumer takes while the producer runs
  IRingQueue<Stamped> ring(33);
  std::vector<uint64_t> accepted;
  accepted.reserve(kCount);
  std::atomic<bool> done{false};
  std::atomic<uint64_t> receivedCount{0};
  std::atomic<bool> dropped{false};
  uint64_t attempts = 0;
  std::thread producer([&] {
    // A busy machine may hold the consumer back: keep producing until both have overlapped.
    for (uint64_t i = 0; i < kCount || receivedCount.load() < kOverlap; ++i, ++attempts)
    {
      if (ring.Push(Stamp(i)))
        accepted.push_back(i);
      else
        dropped.store(true);
    }
    done.store(true);
  });
  // The consumer starts only once the ring has overflowed, so a drop happens however fast
  // the consumer would otherwise keep up.
  while (!dropped.load())
    std::this_thread::yield();
  std::vector<uint64_t> received;
  received.reserve(kCount);
  uint64_t torn = 0;
  Stamped entry{};
  for (int spin = 0;; ++spin)
  {
    const bool finished = done.load();
    while (ring.Pop(entry))
    {
      torn += Intact(entry) ? 0 : 1;
      received.push_back(entry.sequence);
      receivedCount.store(received.size());
    }
    if (finished)
      break;
    if (spin % 16 == 0)
      std::this_thread::yield(); // a slower consumer makes the ring fill
  }
  producer.join();
  EXPECT_EQ(torn, 0u);
  EXPECT_EQ(received, accepted);
  EXPECT_LT(accepted.size(), attempts) << "a slow consumer must have made the producer drop";
  EXPECT_GE(accepted.size(), kOverlap);
}

TEST(RingQueueConcurrency, SysExEntriesCrossWhole)
{
  constexpr int kCount = 100000;
  IRingQueue<pfw::SysExQueueEntry> ring(5);
  std::thread producer([&] {
    pfw::SysExQueueEntry entry;
    for (int i = 0; i < kCount; ++i)
    {
      entry.offset = i;
      entry.size = i % 513;
      for (int b = 0; b < pfw::SysExQueueEntry::kMaxSize; ++b)
        entry.data[b] = static_cast<uint8_t>(i + b);
      while (!ring.Push(entry))
        std::this_thread::yield();
    }
  });
  int bad = 0;
  pfw::SysExQueueEntry entry;
  for (int expected = 0; expected < kCount;)
  {
    if (!ring.Pop(entry))
    {
      std::this_thread::yield();
      continue;
    }
    bool whole = entry.offset == expected && entry.size == expected % 513;
    for (int b = 0; whole && b < pfw::SysExQueueEntry::kMaxSize; ++b)
      whole = entry.data[b] == static_cast<uint8_t>(expected + b);
    bad += whole ? 0 : 1;
    ++expected;
  }
  producer.join();
  EXPECT_EQ(bad, 0);
}
