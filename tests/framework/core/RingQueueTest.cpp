#include "framework/core/IRingQueue.h"
#include "framework/core/ISysExMessage.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

using pfw::IRingQueue;

TEST(IRingQueue, HoldsOneEntryLessThanItsSlots)
{
  IRingQueue<int> ring(5);
  EXPECT_EQ(ring.Capacity(), 4);
  EXPECT_TRUE(ring.Empty());
  for (int i = 0; i < 4; ++i)
    EXPECT_TRUE(ring.Push(i));
  EXPECT_FALSE(ring.Push(99)) << "the fifth entry is dropped";
  EXPECT_EQ(ring.ElementsAvailable(), 4);
  int value = -1;
  for (int i = 0; i < 4; ++i)
  {
    ASSERT_TRUE(ring.Pop(value));
    EXPECT_EQ(value, i);
  }
  value = -1;
  EXPECT_FALSE(ring.Pop(value));
  EXPECT_EQ(value, -1) << "an empty ring leaves the destination alone";
}

TEST(IRingQueue, WrapsItsIndicesAndStaysConsistent)
{
  IRingQueue<int64_t> ring(33);
  int64_t next = 0, expected = 0;
  for (int round = 0; round < 1000; ++round)
  {
    const int pushes = 1 + round % 32;
    for (int i = 0; i < pushes; ++i)
      ASSERT_TRUE(ring.Push(next++));
    EXPECT_EQ(ring.ElementsAvailable(), pushes);
    int64_t value = 0;
    while (ring.Pop(value))
      ASSERT_EQ(value, expected++);
    EXPECT_TRUE(ring.Empty());
  }
  EXPECT_EQ(expected, next);
}

TEST(IRingQueue, SizeCountsAcrossTheWrap)
{
  IRingQueue<int> ring(4);
  int value;
  ring.Push(1), ring.Push(2), ring.Push(3);
  ring.Pop(value), ring.Pop(value);
  ring.Push(4), ring.Push(5); // write index wraps below the read index
  EXPECT_EQ(ring.ElementsAvailable(), 3);
  EXPECT_FALSE(ring.Push(6));
}

TEST(IRingQueue, DegenerateSizesNeverStore)
{
  IRingQueue<int> none(0), one(1), negative(-3);
  EXPECT_FALSE(none.Push(1));
  EXPECT_FALSE(one.Push(1)) << "one slot is always empty";
  EXPECT_FALSE(negative.Push(1));
  int value;
  EXPECT_FALSE(one.Pop(value));
  EXPECT_EQ(none.Capacity(), 0);
}

TEST(IRingQueue, CopiesWholeSysExEntries)
{
  IRingQueue<pfw::SysExQueueEntry> ring(5);
  pfw::SysExQueueEntry entry;
  entry.offset = 7;
  entry.size = 512;
  for (int i = 0; i < 512; ++i)
    entry.data[i] = static_cast<uint8_t>(i * 7);
  ASSERT_TRUE(ring.Push(entry));
  pfw::SysExQueueEntry out;
  ASSERT_TRUE(ring.Pop(out));
  EXPECT_EQ(out.offset, 7);
  EXPECT_EQ(out.size, 512);
  EXPECT_EQ(out.data[511], static_cast<uint8_t>(511 * 7));
  EXPECT_EQ(sizeof(pfw::SysExQueueEntry), 520u);
}
