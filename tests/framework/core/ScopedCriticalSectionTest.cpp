#include "framework/core/ScopedCriticalSection.h"

#include <gtest/gtest.h>

#include <thread>
#include <vector>

using pfw::ScopedCriticalSection;

TEST(ScopedCriticalSection, SerialisesThreadsAndAllowsReentry)
{
  CRITICAL_SECTION* section = new CRITICAL_SECTION;
  InitializeCriticalSection(section);
  long counter = 0;
  std::vector<std::thread> threads;
  for (int t = 0; t < 4; ++t)
    threads.emplace_back([&] {
      for (int i = 0; i < 20000; ++i)
      {
        ScopedCriticalSection outer(section);
        ScopedCriticalSection inner(section); // a critical section may be re-entered
        const long seen = counter;
        counter = seen + 1;
      }
    });
  for (auto& thread : threads)
    thread.join();
  EXPECT_EQ(counter, 80000);
  pfw::DeleteProcessLock(section);
  EXPECT_EQ(section, nullptr);
}
