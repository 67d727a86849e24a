#pragma once

#include "product/core/DisplaySnapshot.h"

#include <atomic>
#include <cstdint>

// Everything one publication copies; the waveform rings are read oldest first from
// waveformStart.
struct SnapshotSource
{
  const float* inputSpectrum = nullptr;
  const float* outputSpectrum = nullptr;
  const float* inputWaveformRing = nullptr;
  const float* outputWaveformRing = nullptr;
  int waveformStart = 0;
  const float* meters = nullptr; // kPublishedMeterCount values
  double sampleRate = 48000.0;
  bool auxConnected = false;
  bool auxInUse = false;
  bool signalPresent = false;
};

// The engine's published measurements: one writer (the audio thread) and any number of
// readers, synchronised only by a 64-bit sequence counter that is odd while the writer
// is inside. Every field is a relaxed atomic so that a reader racing the writer reads
// defined values; the counter's acquire and release operations order the fields against
// it, so a copy that saw the same even counter before and after cannot be torn.
class SnapshotExchange
{
public:
  static constexpr int kReadAttempts = 3;

  SnapshotExchange();

  void Publish(const SnapshotSource& source);

  // Each tries up to kReadAttempts times and returns false when no consistent copy
  // could be taken (the destination is then left as it was).
  bool TryReadLevel(LevelSnapshot& out) const;
  bool TryReadDisplay(DisplaySnapshot& out) const;

  // All zeros or the default record when no consistent copy could be taken.
  LevelSnapshot ReadLevel() const;
  DisplaySnapshot ReadDisplay() const;

  uint64_t Sequence() const { return mSequence.load(std::memory_order_acquire); }
  // Whether a display record was read since the last call (the writer's side).
  bool TakeDisplayRead() { return mDisplayRead.exchange(false, std::memory_order_relaxed); }

private:
  template <typename Copy>
  bool ReadConsistent(Copy copy) const;

  // Odd while the writer is inside. Mutable: readers close a copy with a read-modify-write
  // that leaves the value unchanged.
  mutable std::atomic<uint64_t> mSequence{0};
  // Set by every display read, so the writer knows whether anyone looks at the display.
  mutable std::atomic<bool> mDisplayRead{false};
  std::atomic<float> mInputSpectrum[kDisplayPoints];
  std::atomic<float> mOutputSpectrum[kDisplayPoints];
  std::atomic<float> mInputWaveform[kDisplayPoints];
  std::atomic<float> mOutputWaveform[kDisplayPoints];
  std::atomic<float> mMeters[kPublishedMeterCount];
  std::atomic<double> mSampleRate{48000.0};
  std::atomic<bool> mAuxConnected{false};
  std::atomic<bool> mAuxInUse{false};
  std::atomic<bool> mSignalPresent{false};
};
