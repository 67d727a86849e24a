// The outgoing MIDI queue: order by offset, sizing by the block, and moving on in time.

#include "wrappers/vst3/MidiOutQueue.h"

#include <gtest/gtest.h>

using pfw::IMidiEvent;
using pfw::MidiOutQueue;

namespace {
IMidiEvent At(int offset, uint8_t data1)
{
  IMidiEvent event;
  event.offset = offset;
  event.status = 0xB0;
  event.data1 = data1;
  return event;
}

std::vector<std::pair<int, int>> Pending(const MidiOutQueue& queue)
{
  std::vector<std::pair<int, int>> pending;
  for (int i = 0; i < queue.Pending(); ++i)
    pending.push_back({queue.PendingAt(i).offset, queue.PendingAt(i).data1});
  return pending;
}
} // namespace

TEST(MidiOutQueue, KeepsOffsetOrderAndTheOrderOfEqualOffsets)
{
  MidiOutQueue queue;
  queue.Add(At(10, 1));
  queue.Add(At(5, 2));
  queue.Add(At(5, 3));
  queue.Add(At(7, 4));
  queue.Add(At(10, 5));
  queue.Add(At(0, 6));
  EXPECT_EQ(Pending(queue), (std::vector<std::pair<int, int>>{{0, 6}, {5, 2}, {5, 3}, {7, 4}, {10, 1}, {10, 5}}));
}

TEST(MidiOutQueue, SizedInWholePagesForTheBlock)
{
  MidiOutQueue queue;
  EXPECT_EQ(queue.Capacity(), 512);
  queue.Resize(1000);
  EXPECT_EQ(queue.Capacity(), 1024);
  EXPECT_EQ(queue.GrowStep(), 1024);
  queue.Resize(512);
  EXPECT_EQ(queue.Capacity(), 512);
  // Pending messages are never lost to a smaller size.
  for (int i = 0; i < 700; ++i)
    queue.Add(At(i, static_cast<uint8_t>(i & 0x7F)));
  EXPECT_EQ(queue.Capacity(), 1024); // grew by one step
  queue.Resize(64);
  EXPECT_EQ(queue.Capacity(), 1024);
  ASSERT_EQ(queue.Pending(), 700);
  EXPECT_EQ(queue.PendingAt(699).offset, 699);
}

TEST(MidiOutQueue, SentMessagesGoAndTheRestMoveBackInTime)
{
  MidiOutQueue queue;
  queue.Add(At(3, 1));
  queue.Add(At(600, 2));
  queue.Advance(512); // nothing sent: both wait
  EXPECT_EQ(Pending(queue), (std::vector<std::pair<int, int>>{{-509, 1}, {88, 2}}));
  queue.MarkSent(1); // the first went out
  queue.Advance(512);
  EXPECT_EQ(Pending(queue), (std::vector<std::pair<int, int>>{{-424, 2}}));
  queue.MarkSent(5); // more than are pending: all of them
  queue.Advance(512);
  EXPECT_EQ(queue.Pending(), 0);
  queue.Add(At(1, 9));
  EXPECT_EQ(Pending(queue), (std::vector<std::pair<int, int>>{{1, 9}}));
}
