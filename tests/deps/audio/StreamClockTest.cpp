#include "deps/audio/StreamClock.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>

using audio::StreamClock;

TEST(StreamClock, QueuedOutputCountsBeyondTheWriteCursorAcrossTheWrap)
{
  const StreamClock clock(100, 300, 150, 1000, 1000);
  RtAudioStreamStatus status = 0;
  unsigned int ours = 400;
  EXPECT_EQ(250u, clock.Queued(100, 150, ours, status));
  ours = 100; // written past the end of the ring
  EXPECT_EQ(150u, clock.Queued(900, 950, ours, status));
  EXPECT_EQ(100u, ours);
  EXPECT_EQ(0u, status);
}

TEST(StreamClock, OutputThatRanDryMovesToTheWriteCursor)
{
  const StreamClock clock(100, 300, 150, 1000, 1000);
  RtAudioStreamStatus status = 0;
  unsigned int ours = 120; // between the play and the write cursor
  EXPECT_EQ(0u, clock.Queued(100, 150, ours, status));
  EXPECT_EQ(150u, ours);
  EXPECT_EQ(RTAUDIO_OUTPUT_UNDERFLOW, status);

  status = 0;
  ours = 450; // the play cursor went past us: we look almost a whole ring ahead
  EXPECT_EQ(0u, clock.Queued(500, 550, ours, status));
  EXPECT_EQ(550u, ours);
  EXPECT_EQ(RTAUDIO_OUTPUT_UNDERFLOW, status);
}

TEST(StreamClock, CaptureBacklogBeyondTheTargetIsDropped)
{
  const StreamClock clock(100, 300, 150, 1000, 1000);
  RtAudioStreamStatus status = 0;
  unsigned int ours = 900;
  EXPECT_EQ(150u, clock.Available(50, ours, status));
  EXPECT_EQ(0u, status);
  ours = 0;
  EXPECT_EQ(500u, clock.Available(500, ours, status)); // exactly the limit stays
  EXPECT_EQ(0u, status);
  EXPECT_EQ(100u, clock.Available(601, ours, status));
  EXPECT_EQ(501u, ours);
  EXPECT_EQ(RTAUDIO_INPUT_OVERFLOW, status);
}

TEST(StreamClock, BlocksAreDueByTheOutputAndWaitForInputUnlessUrgent)
{
  const StreamClock clock(100, 300, 150, 1000, 1000);
  EXPECT_TRUE(clock.Due(true, false, 299, 0));
  EXPECT_FALSE(clock.Due(true, false, 300, 0));
  EXPECT_FALSE(clock.Due(true, true, 200, 99));  // input not yet there, output not urgent
  EXPECT_TRUE(clock.Due(true, true, 200, 100));
  EXPECT_TRUE(clock.Due(true, true, 149, 0));    // output about to run dry
  EXPECT_FALSE(clock.Due(true, true, 300, 900)); // enough queued, whatever waits
  EXPECT_TRUE(clock.Due(false, true, 0, 100));   // input only: the capture clock paces
  EXPECT_FALSE(clock.Due(false, true, 0, 99));
}

// Two devices whose clocks differ by a tenth of a percent, each way, for three simulated
// minutes: the output never runs dry, latency stays bounded, and the few corrections are
// what the drift calls for.
TEST(StreamClock, DriftingClocksStayBoundedForMinutes)
{
  const unsigned int rate = 48000, frames = 512, target = 2048, urgent = 720;
  const unsigned int renderRing = 2 * target + 2 * frames + rate / 10, captureRing = 2 * target + 2 * frames;
  for (double drift : {0.001, -0.001})
  {
    SCOPED_TRACE(drift);
    const StreamClock clock(frames, target, urgent, renderRing, captureRing);
    double played = 0.0, captured = 0.0;
    unsigned int writePosition = target, readPosition = 0;
    unsigned long long delivered = 0, padded = 0;
    int underflows = 0, overflows = 0;
    unsigned int mostQueued = 0, mostAvailable = 0;
    for (int ms = 0; ms < 180000; ++ms)
    {
      played += rate / 1000.0;
      captured += rate * (1.0 + drift) / 1000.0;
      // Both devices move in periods of 10 ms, as DirectSound's mixer does.
      const unsigned long long playCursor = static_cast<unsigned long long>(played) / 480 * 480;
      const unsigned long long readCursor = static_cast<unsigned long long>(captured) / 480 * 480;
      const unsigned int play = static_cast<unsigned int>(playCursor % renderRing);
      const unsigned int write = static_cast<unsigned int>((playCursor + 480) % renderRing);
      const unsigned int read = static_cast<unsigned int>(readCursor % captureRing);
      for (;;)
      {
        RtAudioStreamStatus status = 0;
        const unsigned int queued = clock.Queued(play, write, writePosition, status);
        const unsigned int available = clock.Available(read, readPosition, status);
        underflows += (status & RTAUDIO_OUTPUT_UNDERFLOW) != 0;
        overflows += (status & RTAUDIO_INPUT_OVERFLOW) != 0;
        mostQueued = std::max(mostQueued, queued);
        mostAvailable = std::max(mostAvailable, available);
        if (!clock.Due(true, true, queued, available))
          break;
        const unsigned int taken = std::min(available, frames);
        padded += frames - taken;
        readPosition = (readPosition + taken) % captureRing;
        writePosition = (writePosition + frames) % renderRing;
        ++delivered;
      }
    }
    const double seconds = delivered * static_cast<double>(frames) / rate;
    std::printf("drift %g: %.3f s delivered, queued up to %u, input waiting up to %u, %d overflows, %llu padded\n", drift, seconds, mostQueued, mostAvailable, overflows, padded);
    EXPECT_NEAR(180.0, seconds, 0.1);
    EXPECT_EQ(0, underflows);
    EXPECT_LE(mostQueued, target + frames);
    EXPECT_LE(mostAvailable, target + 2 * frames);
    // Three minutes at 0.1 % is 8640 frames of drift: a handful of corrections, no more.
    const double driftFrames = std::fabs(drift) * rate * 180;
    if (drift > 0)
    {
      EXPECT_GE(overflows, 1);
      EXPECT_LE(overflows, static_cast<int>(driftFrames / frames) + 2);
      EXPECT_LE(padded, 2u * frames);
    }
    else
    {
      EXPECT_EQ(0, overflows);
      EXPECT_GE(padded, static_cast<unsigned long long>(driftFrames * 0.5));
      EXPECT_LE(padded, static_cast<unsigned long long>(driftFrames * 1.5 + 2 * frames));
    }
  }
}
