#pragma once

#include "framework/core/IMidiEvent.h"

namespace pfw {

// The MIDI messages the processor sends during a block, waiting to go to the host: kept
// sorted by sample offset, messages of equal offset in the order they were sent. Only the
// audio thread touches it, except SetupProcessing, which the host never overlaps with it.
class MidiOutQueue
{
public:
  static constexpr int kInitialEntries = 512;
  static constexpr int kPageBytes = 4096;

  MidiOutQueue();
  ~MidiOutQueue();
  MidiOutQueue(const MidiOutQueue&) = delete;
  MidiOutQueue& operator=(const MidiOutQueue&) = delete;

  // Inserts in offset order; a message that finds no memory is dropped.
  void Add(const IMidiEvent& event);
  // Sizes the array for a block of blockSize frames, keeping what is pending.
  void Resize(int blockSize);
  // Drops the sent front part, moving the pending entries to the start.
  void Compact();
  // After a block: the sent part goes, and what is still pending moves back in time.
  void Advance(int nFrames);

  int Pending() const { return mCount - mFront; }
  const IMidiEvent& PendingAt(int index) const { return mEvents[mFront + index]; }
  // Marks the first count pending messages as sent.
  void MarkSent(int count) { mFront += count < 0 ? 0 : count > Pending() ? Pending() : count; }
  int Capacity() const { return mCapacity; }
  int GrowStep() const { return mGrowStep; }

private:
  bool Reallocate(int capacity);

  IMidiEvent* mEvents = nullptr;
  int mCapacity = 0;
  int mGrowStep = kInitialEntries;
  int mFront = 0;
  int mCount = 0;
};

} // namespace pfw
