#pragma once

// Counts heap allocations made on the calling thread. An executable that links
// AllocationCounter.cpp routes every allocation through the counter, so tests can prove
// that audio-thread work never allocates.
namespace allocation_counter {

void Start();
int Stop(); // the allocations since Start on this thread

template <typename Work>
int AllocationsDuring(Work work)
{
  Start();
  work();
  return Stop();
}

} // namespace allocation_counter
