#include "product/core/DelayLine.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

TEST(DelayLine, ReadsIntegerAndFractionalDelays)
{
  DelayLine line;
  line.Resize(8);
  for (int i = 1; i <= 5; ++i)
    line.Push(i); // newest is 5
  EXPECT_EQ(line.Read(0.0), 5.0);
  EXPECT_EQ(line.Read(1.0), 4.0);
  EXPECT_EQ(line.Read(4.0), 1.0);
  EXPECT_DOUBLE_EQ(line.Read(0.5), 4.5);
  EXPECT_DOUBLE_EQ(line.Read(2.25), 2.75);
}

TEST(DelayLine, UnfilledPartReadsSilence)
{
  DelayLine line;
  line.Resize(8);
  EXPECT_EQ(line.Read(0.0), 0.0);
  line.Push(2.0);
  line.Push(4.0);
  EXPECT_EQ(line.Read(2.0), 0.0);
  // Between the oldest sample and the unfilled part the oldest fades toward silence.
  EXPECT_DOUBLE_EQ(line.Read(1.5), 1.0);
  EXPECT_DOUBLE_EQ(line.Read(0.5), 3.0);
}

TEST(DelayLine, WrapsAndClampsTheDelay)
{
  DelayLine line;
  line.Resize(4);
  for (int i = 1; i <= 11; ++i)
    line.Push(i);
  EXPECT_EQ(line.FillCount(), 4);
  EXPECT_EQ(line.Read(0.0), 11.0);
  EXPECT_EQ(line.Read(2.0), 9.0);
  EXPECT_EQ(line.Read(100.0), 9.0); // clamped to length - 2
  EXPECT_EQ(line.Read(-5.0), 11.0);
  EXPECT_DOUBLE_EQ(line.Read(1.5), 9.5);
}

TEST(DelayLine, NonFiniteDelayReadsSilence)
{
  DelayLine line;
  line.Resize(16);
  for (int i = 0; i < 16; ++i)
    line.Push(1.0);
  EXPECT_EQ(line.Read(std::numeric_limits<double>::quiet_NaN()), 0.0);
  EXPECT_EQ(line.Read(std::numeric_limits<double>::infinity()), 0.0);
}

TEST(DelayLine, ClearEmptiesAndUnsizedLineIsSilent)
{
  DelayLine line;
  line.Push(1.0);
  EXPECT_EQ(line.Read(0.0), 0.0);
  line.Resize(64);
  for (int i = 0; i < 100; ++i)
    line.Push(0.5);
  line.Clear();
  EXPECT_EQ(line.FillCount(), 0);
  EXPECT_EQ(line.Read(0.0), 0.0);
  line.Push(0.25);
  EXPECT_EQ(line.Read(0.0), 0.25);
}
