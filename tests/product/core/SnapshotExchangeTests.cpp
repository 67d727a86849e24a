#include "product/core/SnapshotExchange.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstdint>
#include <memory>
#include <thread>

namespace
{
// A publication whose every field carries the same generation number.
struct Generation
{
  void Set(float g)
  {
    for (int i = 0; i < kDisplayPoints; ++i)
      spectrum[i] = ring[i] = g;
    for (float& m : meters)
      m = g;
    source.inputSpectrum = source.outputSpectrum = spectrum;
    source.inputWaveformRing = source.outputWaveformRing = ring;
    source.waveformStart = static_cast<int>(g) % kDisplayPoints;
    source.meters = meters;
    source.sampleRate = g;
    source.auxConnected = source.auxInUse = source.signalPresent = true;
  }

  float spectrum[kDisplayPoints];
  float ring[kDisplayPoints];
  float meters[kPublishedMeterCount];
  SnapshotSource source;
};

bool IsConsistent(const DisplaySnapshot& s)
{
  const float g = static_cast<float>(s.sampleRate);
  for (int i = 0; i < kDisplayPoints; ++i)
    if (s.inputSpectrum[i] != g || s.outputSpectrum[i] != g || s.inputWaveform[i] != g || s.outputWaveform[i] != g)
      return false;
  for (float m : s.meters)
    if (m != g)
      return false;
  return s.auxConnected && s.auxInUse && s.signalPresent;
}
} // namespace

TEST(SnapshotExchange, DefaultRecordBeforeAnyPublication)
{
  auto exchange = std::make_unique<SnapshotExchange>();
  const DisplaySnapshot shot = exchange->ReadDisplay();
  EXPECT_EQ(shot.inputSpectrum[0], -120.0f);
  EXPECT_EQ(shot.outputSpectrum[255], -120.0f);
  EXPECT_EQ(shot.Meter(kMeterGateDetectorDb), -120.0f);
  EXPECT_EQ(shot.Meter(kMeterInputRmsDb), -120.0f);
  EXPECT_EQ(shot.Meter(kMeterOutputRmsDb), -120.0f);
  EXPECT_EQ(shot.Meter(kMeterCorrelation), 0.0f);
  EXPECT_EQ(shot.sampleRate, 48000.0);
  EXPECT_FALSE(shot.signalPresent);
  const LevelSnapshot levels = exchange->ReadLevel();
  EXPECT_EQ(levels.inputPeak, 0.0f);
  EXPECT_FALSE(levels.auxConnected);
}

TEST(SnapshotExchange, RoundTripKeepsEveryFieldInItsPlace)
{
  auto exchange = std::make_unique<SnapshotExchange>();
  float inSpec[kDisplayPoints], outSpec[kDisplayPoints], inRing[kDisplayPoints], outRing[kDisplayPoints];
  for (int i = 0; i < kDisplayPoints; ++i)
  {
    inSpec[i] = -100.0f + i * 0.1f;
    outSpec[i] = -50.0f - i * 0.1f;
    inRing[i] = static_cast<float>(i);
    outRing[i] = -static_cast<float>(i);
  }
  float meters[kPublishedMeterCount];
  for (int i = 0; i < kPublishedMeterCount; ++i)
    meters[i] = 100.0f + i;
  SnapshotSource source{inSpec, outSpec, inRing, outRing, 200, meters, 96000.0, true, false, true};
  exchange->Publish(source);
  EXPECT_EQ(exchange->Sequence(), 2u);

  const DisplaySnapshot shot = exchange->ReadDisplay();
  for (int i = 0; i < kDisplayPoints; ++i)
  {
    ASSERT_EQ(shot.inputSpectrum[i], inSpec[i]);
    ASSERT_EQ(shot.outputSpectrum[i], outSpec[i]);
    // Oldest first: the ring is read from the write index on.
    ASSERT_EQ(shot.inputWaveform[i], inRing[(200 + i) % kDisplayPoints]);
    ASSERT_EQ(shot.outputWaveform[i], outRing[(200 + i) % kDisplayPoints]);
  }
  for (int m = kMeterGateGainDb; m <= kMeterCorrelation; ++m)
    EXPECT_EQ(shot.Meter(static_cast<PublishedMeter>(m)), meters[m]);
  EXPECT_EQ(shot.sampleRate, 96000.0);
  EXPECT_TRUE(shot.auxConnected);
  EXPECT_FALSE(shot.auxInUse);
  EXPECT_TRUE(shot.signalPresent);

  const LevelSnapshot levels = exchange->ReadLevel();
  EXPECT_EQ(levels.inputPeak, 100.0f);
  EXPECT_EQ(levels.wetPeak, 101.0f);
  EXPECT_EQ(levels.outputPeak, 102.0f);
  EXPECT_EQ(levels.outputLeftPeak, 103.0f);
  EXPECT_EQ(levels.outputRightPeak, 104.0f);
  EXPECT_TRUE(levels.auxConnected);
  EXPECT_FALSE(levels.auxInUse);
}

TEST(SnapshotExchange, ReaderOnAnotherThreadNeverAcceptsATornCopy)
{
  auto exchange = std::make_unique<SnapshotExchange>();
  std::atomic<bool> done{false};
  std::atomic<long> accepted{0}, refused{0}, torn{0};

  std::thread reader([&] {
    DisplaySnapshot shot;
    LevelSnapshot levels;
    while (!done.load(std::memory_order_acquire))
    {
      if (exchange->TryReadDisplay(shot))
      {
        accepted.fetch_add(1);
        // Either the initial record or one whole generation.
        if (shot.sampleRate != 48000.0 && !IsConsistent(shot))
          torn.fetch_add(1);
      }
      else
        refused.fetch_add(1);
      if (exchange->TryReadLevel(levels) &&
          !(levels.inputPeak == levels.wetPeak && levels.wetPeak == levels.outputRightPeak))
        torn.fetch_add(1);
    }
  });

  // The writer publishes in bursts the reader races, and after each burst waits until the
  // reader has taken a copy: the reader gets quiet moments however the threads are
  // scheduled, so the count of accepted copies depends on no timing. The wait is bounded
  // so that a reader that never succeeds fails the test instead of hanging it.
  constexpr uint64_t kPublications = 20000;
  constexpr uint64_t kBurst = 100;
  auto generation = std::make_unique<Generation>();
  const auto giveUp = std::chrono::steady_clock::now() + std::chrono::seconds(120);
  bool readerStuck = false;
  uint64_t published = 0;
  for (int g = 1; published < kPublications && !readerStuck; ++g)
  {
    generation->Set(static_cast<float>(g % 1000000 + 100000)); // exact in float, never 48000
    exchange->Publish(generation->source);
    ++published;
    if (published % kBurst != 0)
      continue;
    const long acceptedBefore = accepted.load();
    while (accepted.load() == acceptedBefore && !readerStuck)
    {
      std::this_thread::yield();
      readerStuck = std::chrono::steady_clock::now() > giveUp;
    }
  }
  done.store(true, std::memory_order_release);
  reader.join();

  EXPECT_FALSE(readerStuck) << "the reader took no copy while the writer was still";
  EXPECT_EQ(torn.load(), 0);
  EXPECT_GE(accepted.load(), static_cast<long>(kPublications / kBurst));
  EXPECT_EQ(exchange->Sequence(), 2 * published);
  EXPECT_TRUE(IsConsistent(exchange->ReadDisplay()));
}
