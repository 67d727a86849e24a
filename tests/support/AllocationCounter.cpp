#include "tests/support/AllocationCounter.h"

#include <cstdlib>
#include <new>

namespace {

thread_local bool tCounting = false;
thread_local int tAllocations = 0;

void* Allocate(std::size_t size)
{
  if (tCounting)
    ++tAllocations;
  if (void* memory = std::malloc(size > 0 ? size : 1))
    return memory;
  throw std::bad_alloc();
}

} // namespace

namespace allocation_counter {

void Start()
{
  tAllocations = 0;
  tCounting = true;
}

int Stop()
{
  tCounting = false;
  return tAllocations;
}

} // namespace allocation_counter

void* operator new(std::size_t size) { return Allocate(size); }
void* operator new[](std::size_t size) { return Allocate(size); }
void operator delete(void* memory) noexcept { std::free(memory); }
void operator delete[](void* memory) noexcept { std::free(memory); }
void operator delete(void* memory, std::size_t) noexcept { std::free(memory); }
void operator delete[](void* memory, std::size_t) noexcept { std::free(memory); }
