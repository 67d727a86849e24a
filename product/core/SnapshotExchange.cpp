#include "product/core/SnapshotExchange.h"

namespace
{
constexpr std::memory_order kRelaxed = std::memory_order_relaxed;
constexpr int kWriterWaitReads = 20000;
}

SnapshotExchange::SnapshotExchange()
{
  const DisplaySnapshot initial;
  for (int i = 0; i < kDisplayPoints; ++i)
  {
    mInputSpectrum[i].store(initial.inputSpectrum[i], kRelaxed);
    mOutputSpectrum[i].store(initial.outputSpectrum[i], kRelaxed);
    mInputWaveform[i].store(0.0f, kRelaxed);
    mOutputWaveform[i].store(0.0f, kRelaxed);
  }
  for (int i = 0; i < kPublishedMeterCount; ++i)
    mMeters[i].store(0.0f, kRelaxed);
  for (int i = 0; i < kDisplayMeterCount; ++i)
    mMeters[kDisplayMeterFirst + i].store(initial.meters[i], kRelaxed);
}

void SnapshotExchange::Publish(const SnapshotSource& source)
{
  // Acquire keeps the field stores below from becoming visible before the odd counter.
  mSequence.fetch_add(1, std::memory_order_acquire);

  for (int i = 0; i < kDisplayPoints; ++i)
  {
    mInputSpectrum[i].store(source.inputSpectrum[i], kRelaxed);
    mOutputSpectrum[i].store(source.outputSpectrum[i], kRelaxed);
  }
  for (int i = 0, ring = source.waveformStart; i < kDisplayPoints; ++i, ring = (ring + 1) % kDisplayPoints)
  {
    mInputWaveform[i].store(source.inputWaveformRing[ring], kRelaxed);
    mOutputWaveform[i].store(source.outputWaveformRing[ring], kRelaxed);
  }
  for (int i = 0; i < kPublishedMeterCount; ++i)
    mMeters[i].store(source.meters[i], kRelaxed);
  mSampleRate.store(source.sampleRate, kRelaxed);
  mAuxConnected.store(source.auxConnected, kRelaxed);
  mAuxInUse.store(source.auxInUse, kRelaxed);
  mSignalPresent.store(source.signalPresent, kRelaxed);

  mSequence.fetch_add(1, std::memory_order_release);
}

template <typename Copy>
bool SnapshotExchange::ReadConsistent(Copy copy) const
{
  for (int attempt = 0; attempt < kReadAttempts; ++attempt)
  {
    // A publication takes about a microsecond. A reader that arrives during one waits
    // for it to end instead of spending its attempts at once, which would hand the
    // editor an empty record for a frame; the wait is bounded by a count of reads, so a
    // writer stalled inside costs the reader only microseconds.
    uint64_t before = mSequence.load(std::memory_order_acquire);
    for (int wait = 0; (before & 1u) && wait < kWriterWaitReads; ++wait)
      before = mSequence.load(std::memory_order_acquire);
    if (before & 1u)
      continue;
    copy();
    // A release read-modify-write instead of a plain load: the field loads above cannot
    // drift past it, and it always reads the newest counter, so a copy that overlapped a
    // publication sees the writer's odd increment here.
    if (mSequence.fetch_add(0, std::memory_order_release) == before)
      return true;
  }
  return false;
}

bool SnapshotExchange::TryReadLevel(LevelSnapshot& out) const
{
  LevelSnapshot local;
  const bool consistent = ReadConsistent([&] {
    local.inputPeak = mMeters[kMeterInputPeak].load(kRelaxed);
    local.wetPeak = mMeters[kMeterWetPeak].load(kRelaxed);
    local.outputPeak = mMeters[kMeterOutputPeak].load(kRelaxed);
    local.outputLeftPeak = mMeters[kMeterOutputLeftPeak].load(kRelaxed);
    local.outputRightPeak = mMeters[kMeterOutputRightPeak].load(kRelaxed);
    local.auxConnected = mAuxConnected.load(kRelaxed);
    local.auxInUse = mAuxInUse.load(kRelaxed);
  });
  if (consistent)
    out = local;
  return consistent;
}

bool SnapshotExchange::TryReadDisplay(DisplaySnapshot& out) const
{
  mDisplayRead.store(true, kRelaxed);
  // A failed pass must leave the caller's record untouched, hence the local copy.
  DisplaySnapshot local;
  const bool consistent = ReadConsistent([&] {
    for (int i = 0; i < kDisplayPoints; ++i)
    {
      local.inputSpectrum[i] = mInputSpectrum[i].load(kRelaxed);
      local.outputSpectrum[i] = mOutputSpectrum[i].load(kRelaxed);
      local.inputWaveform[i] = mInputWaveform[i].load(kRelaxed);
      local.outputWaveform[i] = mOutputWaveform[i].load(kRelaxed);
    }
    for (int i = 0; i < kDisplayMeterCount; ++i)
      local.meters[i] = mMeters[kDisplayMeterFirst + i].load(kRelaxed);
    local.sampleRate = mSampleRate.load(kRelaxed);
    local.auxConnected = mAuxConnected.load(kRelaxed);
    local.auxInUse = mAuxInUse.load(kRelaxed);
    local.signalPresent = mSignalPresent.load(kRelaxed);
  });
  if (consistent)
    out = local;
  return consistent;
}

LevelSnapshot SnapshotExchange::ReadLevel() const
{
  LevelSnapshot snapshot;
  TryReadLevel(snapshot); // left all zeros on failure
  return snapshot;
}

DisplaySnapshot SnapshotExchange::ReadDisplay() const
{
  DisplaySnapshot snapshot;
  TryReadDisplay(snapshot); // left at the default record on failure
  return snapshot;
}
