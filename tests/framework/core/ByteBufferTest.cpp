#include "framework/core/ByteBuffer.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstring>

using pfw::ByteBuffer;

TEST(ByteBufferGrowth, SmallGranularityGrowsByHalfOrGranularity)
{
  ByteBuffer buffer(128);
  EXPECT_EQ(buffer.Resize(0, false), nullptr);
  ASSERT_NE(buffer.Resize(10, false), nullptr);
  EXPECT_EQ(buffer.Allocated(), 138);
  EXPECT_EQ(buffer.Size(), 10);
  ASSERT_NE(buffer.Resize(300, false), nullptr);
  EXPECT_EQ(buffer.Allocated(), 450);
  // Within the allocation nothing is reallocated.
  buffer.Resize(449, false);
  EXPECT_EQ(buffer.Allocated(), 450);
}

TEST(ByteBufferGrowth, PageGranularityFillsWholePagesWithHeapOverhead)
{
  ByteBuffer buffer(4096);
  buffer.Resize(10, false);
  EXPECT_EQ(buffer.Allocated(), 4000);
  EXPECT_EQ((buffer.Allocated() + 96) % 4096, 0);

  const int64_t hundredMegabytes = 100 * 1024 * 1024;
  const int64_t expected = (hundredMegabytes + 96 + 4194304) / 4096 * 4096 - 96;
  EXPECT_EQ(ByteBuffer::AllocationFor(hundredMegabytes, 4096), expected);
  // Half of 100 MB would be 50 MB of slack: it is capped at 4 MB.
  EXPECT_LT(expected - hundredMegabytes, 4194304 + 4096);

  // A middle size: extra is half the size rounded down to a page.
  EXPECT_EQ(ByteBuffer::AllocationFor(100000, 4096), (100000 + 96 + 49152) / 4096 * 4096 - 96);
}

TEST(ByteBufferGrowth, RealHundredMegabyteBufferKeepsItsContents)
{
  ByteBuffer buffer(4096);
  auto* bytes = static_cast<unsigned char*>(buffer.Resize(1000, false));
  ASSERT_NE(bytes, nullptr);
  std::memset(bytes, 0x5a, 1000);
  const int size = 100 * 1024 * 1024;
  bytes = static_cast<unsigned char*>(buffer.Resize(size, false));
  ASSERT_EQ(buffer.Size(), size);
  EXPECT_EQ(buffer.Allocated(), ByteBuffer::AllocationFor(size, 4096));
  EXPECT_EQ(bytes[0], 0x5a);
  EXPECT_EQ(bytes[999], 0x5a);
}

TEST(ByteBufferShrink, ReleasesOnlyBelowHalfTheAllocationAndOnlyWhenAllowed)
{
  // The rule cannot reserve exactly 8096 with granularity 128; 8097 has the same
  // threshold: min(8097 / 2, 8097 - 4 * 128) = 4048.
  ByteBuffer buffer(128);
  buffer.Resize(5398, false);
  ASSERT_EQ(buffer.Allocated(), 8097);
  buffer.Resize(4048, true);
  EXPECT_EQ(buffer.Allocated(), 8097) << "at the threshold memory is kept";
  buffer.Resize(4047, true);
  EXPECT_EQ(buffer.Allocated(), 4047 + 2023);

  ByteBuffer kept(128);
  kept.Resize(5398, false);
  kept.Resize(1, false);
  EXPECT_EQ(kept.Allocated(), 8097) << "without the flag memory is never released";
  EXPECT_EQ(kept.Size(), 1);
}

TEST(ByteBufferShrink, SmallAllocationsUseFourGranulesBelowTheTop)
{
  // allocation 600, granularity 128: min(300, 88) = 88.
  ByteBuffer buffer(128);
  buffer.Resize(400, false);
  ASSERT_EQ(buffer.Allocated(), 600);
  buffer.Resize(88, true);
  EXPECT_EQ(buffer.Allocated(), 600);
  buffer.Resize(87, true);
  EXPECT_EQ(buffer.Allocated(), 87 + 128);
}

TEST(ByteBufferShrink, ResizeToZeroFreesOnlyWithShrink)
{
  ByteBuffer buffer(128);
  buffer.Resize(100, false);
  EXPECT_EQ(buffer.Resize(0, false), nullptr);
  EXPECT_EQ(buffer.Data(), nullptr) << "size 0 hands out null even with memory reserved";
  EXPECT_GT(buffer.Allocated(), 0);
  buffer.Resize(100, false);
  EXPECT_EQ(buffer.Resize(0, true), nullptr);
  EXPECT_EQ(buffer.Allocated(), 0);
  EXPECT_EQ(buffer.Size(), 0);
}

TEST(ByteBufferEdges, NegativeSizeIsZero)
{
  ByteBuffer buffer(128);
  buffer.Resize(50, false);
  EXPECT_EQ(buffer.Resize(-5, true), nullptr);
  EXPECT_EQ(buffer.Size(), 0);
}

TEST(ByteBufferEdges, ContentsSurviveGrowthAndShrink)
{
  ByteBuffer buffer(16);
  auto* bytes = static_cast<unsigned char*>(buffer.Resize(64, false));
  for (int i = 0; i < 64; ++i)
    bytes[i] = static_cast<unsigned char>(i);
  bytes = static_cast<unsigned char*>(buffer.Resize(100000, false));
  bytes = static_cast<unsigned char*>(buffer.Resize(10, true));
  ASSERT_EQ(buffer.Size(), 10);
  for (int i = 0; i < 10; ++i)
    EXPECT_EQ(bytes[i], i);
}

TEST(ByteBufferEdges, AllocationBeyondIntMaxIsRefusedAndLeavesTheBufferAlone)
{
  // Near INT_MAX the 32-bit growth rule would wrap to a negative allocation.
  EXPECT_GT(ByteBuffer::AllocationFor(INT_MAX - 10, 128), static_cast<int64_t>(INT_MAX));
  ByteBuffer buffer(128);
  auto* bytes = static_cast<unsigned char*>(buffer.Resize(20, false));
  bytes[0] = 42;
  const int allocated = buffer.Allocated();
  void* result = buffer.Resize(INT_MAX - 10, false);
  EXPECT_EQ(result, bytes) << "failure hands back the old data";
  EXPECT_EQ(buffer.Size(), 20);
  EXPECT_EQ(buffer.Allocated(), allocated);
  EXPECT_EQ(static_cast<unsigned char*>(buffer.Data())[0], 42);
}
