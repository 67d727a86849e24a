#pragma once

#include "ByteBuffer.h"

#include <atomic>
#include <climits>
#include <cstdint>
#include <cstring>
#include <type_traits>

namespace pfw {

// A single-producer, single-consumer ring of fixed-size entries without locks. One slot
// always stays empty, so a ring of N slots holds N - 1 entries; a push onto a full ring is
// dropped. Each index is written by one side only. The owner stores with release and the
// other side loads with acquire, so an entry is complete before its index is seen; on
// x86-64 both are plain moves, no locked instruction.
template <typename T>
class IRingQueue
{
  static_assert(std::is_trivially_copyable_v<T>, "entries are copied bytewise");

public:
  explicit IRingQueue(int nSlots)
    : mStorage(4096)
  {
    const int64_t bytes = static_cast<int64_t>(nSlots > 0 ? nSlots : 0) * static_cast<int64_t>(sizeof(T));
    if (bytes > 0 && bytes <= INT_MAX)
    {
      mStorage.Resize(static_cast<int>(bytes), false);
      if (mStorage.Size() == bytes)
        mNSlots = static_cast<uint64_t>(nSlots);
    }
  }
  IRingQueue(const IRingQueue&) = delete;
  IRingQueue& operator=(const IRingQueue&) = delete;

  // Producer only. False when the ring is full and the entry was dropped.
  bool Push(const T& entry)
  {
    const uint64_t write = mWrite.load(std::memory_order_relaxed);
    if (mNSlots < 2)
      return false;
    const uint64_t next = Following(write);
    if (next == mRead.load(std::memory_order_acquire))
      return false;
    std::memcpy(static_cast<void*>(Slots() + write), &entry, sizeof(T));
    mWrite.store(next, std::memory_order_release);
    return true;
  }

  // Consumer only. False, leaving the entry untouched, when the ring is empty.
  bool Pop(T& entry)
  {
    const uint64_t read = mRead.load(std::memory_order_relaxed);
    if (read == mWrite.load(std::memory_order_acquire))
      return false;
    std::memcpy(static_cast<void*>(&entry), Slots() + read, sizeof(T));
    mRead.store(Following(read), std::memory_order_release);
    return true;
  }

  // Exact on either side's own thread; a snapshot elsewhere.
  int ElementsAvailable() const
  {
    const uint64_t write = mWrite.load(std::memory_order_acquire);
    const uint64_t read = mRead.load(std::memory_order_acquire);
    return static_cast<int>(write >= read ? write - read : write + mNSlots - read);
  }
  bool Empty() const { return ElementsAvailable() == 0; }
  int Capacity() const { return mNSlots > 0 ? static_cast<int>(mNSlots - 1) : 0; }

private:
  // (index + 1) mod N without a division.
  uint64_t Following(uint64_t index) const { return index + 1 == mNSlots ? 0 : index + 1; }
  T* Slots() const { return static_cast<T*>(mStorage.Data()); }

  ByteBuffer mStorage;
  uint64_t mNSlots = 0;
  alignas(64) std::atomic<uint64_t> mWrite{0};
  alignas(64) std::atomic<uint64_t> mRead{0};
};

} // namespace pfw
