#include "wrappers/vst3/MidiOutQueue.h"

#include <cstdlib>
#include <cstring>

namespace pfw {

namespace {
constexpr int kEntriesPerPage = MidiOutQueue::kPageBytes / static_cast<int>(sizeof(IMidiEvent));

int RoundUpToPages(int entries)
{
  if (entries <= 0)
    return 0;
  return (entries + kEntriesPerPage - 1) / kEntriesPerPage * kEntriesPerPage;
}
} // namespace

MidiOutQueue::MidiOutQueue()
{
  Reallocate(kInitialEntries);
}

MidiOutQueue::~MidiOutQueue()
{
  std::free(mEvents);
}

bool MidiOutQueue::Reallocate(int capacity)
{
  void* grown = std::realloc(mEvents, sizeof(IMidiEvent) * static_cast<size_t>(capacity));
  if (!grown)
    return false;
  mEvents = static_cast<IMidiEvent*>(grown);
  mCapacity = capacity;
  return true;
}

void MidiOutQueue::Compact()
{
  if (mFront == 0)
    return;
  const int pending = mCount - mFront;
  if (pending > 0)
    std::memmove(mEvents, mEvents + mFront, sizeof(IMidiEvent) * static_cast<size_t>(pending));
  mCount = pending;
  mFront = 0;
}

void MidiOutQueue::Add(const IMidiEvent& event)
{
  if (mCount >= mCapacity)
  {
    if (mFront > 0)
      Compact();
    else if (mGrowStep <= 0 || !Reallocate(mCapacity + mGrowStep - mCapacity % mGrowStep))
      return;
  }
  int at = mCount;
  if (mCount > mFront && event.offset < mEvents[mCount - 1].offset)
  {
    while (at > mFront && mEvents[at - 1].offset > event.offset)
      --at;
    std::memmove(mEvents + at + 1, mEvents + at, sizeof(IMidiEvent) * static_cast<size_t>(mCount - at));
  }
  mEvents[at] = event;
  ++mCount;
}

void MidiOutQueue::Resize(int blockSize)
{
  Compact();
  int entries = RoundUpToPages(blockSize);
  const int pending = RoundUpToPages(mCount);
  if (entries < pending)
    entries = pending;
  if (entries <= 0)
    entries = kEntriesPerPage;
  mGrowStep = entries;
  if (entries != mCapacity)
    Reallocate(entries);
}

void MidiOutQueue::Advance(int nFrames)
{
  Compact();
  for (int i = 0; i < mCount; ++i)
    mEvents[i].offset -= nFrames;
}

} // namespace pfw
