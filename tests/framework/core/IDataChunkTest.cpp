#include "framework/core/IDataChunk.h"

#include <gtest/gtest.h>

#include <climits>
#include <cmath>

using pfw::IDataChunk;

TEST(IDataChunk, ValuesRoundTripLittleEndian)
{
  IDataChunk chunk;
  EXPECT_EQ(chunk.Put(int32_t{0x01020304}), 4);
  EXPECT_EQ(chunk.Put(1.5f), 8);
  EXPECT_EQ(chunk.Put(-2.25), 16);
  EXPECT_EQ(chunk.PutBytes("QTTW", 4), 20);
  const uint8_t* bytes = chunk.GetData();
  EXPECT_EQ(bytes[0], 0x04);
  EXPECT_EQ(bytes[3], 0x01);
  EXPECT_EQ(bytes[16], 'Q');

  int32_t i = 0;
  float f = 0;
  double d = 0;
  char tag[4] = {};
  int position = chunk.Get(i, 0);
  position = chunk.Get(f, position);
  position = chunk.Get(d, position);
  position = chunk.GetBytes(tag, 4, position);
  EXPECT_EQ(position, 20);
  EXPECT_EQ(i, 0x01020304);
  EXPECT_EQ(f, 1.5f);
  EXPECT_EQ(d, -2.25);
  EXPECT_EQ(std::string(tag, 4), "QTTW");
}

TEST(IDataChunk, ShortAndBadPositionsReadNothing)
{
  IDataChunk chunk;
  for (int k = 0; k < 10; ++k)
    chunk.Put(static_cast<int8_t>(k));
  int32_t value = 77;
  EXPECT_EQ(chunk.Get(value, 7), -1) << "3 bytes left for a 4-byte int";
  EXPECT_EQ(value, 77);
  EXPECT_EQ(chunk.Get(value, 6), 10);
  value = 77;
  EXPECT_EQ(chunk.Get(value, -1), -1) << "a negative position is never read";
  EXPECT_EQ(chunk.Get(value, INT_MAX), -1);
  EXPECT_EQ(chunk.GetBytes(&value, INT_MAX, 4), -1);
  EXPECT_EQ(value, 77);
  EXPECT_EQ(chunk.GetBytes(&value, 0, 10), 10);
}

TEST(IDataChunk, PutChunkAppendsAnotherAndItself)
{
  IDataChunk a, b;
  a.Put(int32_t{1});
  b.Put(int32_t{2});
  EXPECT_EQ(a.PutChunk(b), 8);
  EXPECT_EQ(a.PutChunk(a), 16);
  int32_t values[4] = {};
  EXPECT_EQ(a.GetBytes(values, 16, 0), 16);
  EXPECT_EQ(values[0], 1);
  EXPECT_EQ(values[1], 2);
  EXPECT_EQ(values[2], 1);
  EXPECT_EQ(values[3], 2);
}

TEST(IDataChunk, NonFiniteValuesAreStoredAsTheyAre)
{
  IDataChunk chunk;
  chunk.Put(std::nan(""));
  chunk.Put(INFINITY);
  double d = 0;
  float f = 0;
  EXPECT_EQ(chunk.Get(f, chunk.Get(d, 0)), 12);
  EXPECT_TRUE(std::isnan(d));
  EXPECT_TRUE(std::isinf(f));
}

TEST(IDataChunk, BytesFromInsideTheChunkSurviveItsGrowth)
{
  IDataChunk chunk;
  for (int32_t k = 0; k < 1023; ++k)
    chunk.Put(k); // 4092 bytes: the next append has to move the storage
  EXPECT_EQ(chunk.PutBytes(chunk.GetData() + 8, 8), 4100);
  int32_t a = 0, b = 0;
  EXPECT_EQ(chunk.Get(b, chunk.Get(a, 4092)), 4100);
  EXPECT_EQ(a, 2);
  EXPECT_EQ(b, 3);
  EXPECT_EQ(chunk.PutBytes(chunk.GetData() + 4096, 8), 4100) << "bytes beyond the end are refused";
}
