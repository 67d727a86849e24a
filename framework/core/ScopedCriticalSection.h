#pragma once

#include "WindowsServices.h"

namespace pfw {

// Enters a critical section for the length of a scope; with no section it does nothing.
class ScopedCriticalSection
{
public:
  explicit ScopedCriticalSection(CRITICAL_SECTION* section)
    : mSection(section)
  {
    if (mSection)
      EnterCriticalSection(mSection);
  }
  ~ScopedCriticalSection()
  {
    if (mSection)
      LeaveCriticalSection(mSection);
  }
  ScopedCriticalSection(const ScopedCriticalSection&) = delete;
  ScopedCriticalSection& operator=(const ScopedCriticalSection&) = delete;

private:
  CRITICAL_SECTION* mSection;
};

// A process-wide lock created on first use (see the users' accessors) is torn down here.
inline void DeleteProcessLock(CRITICAL_SECTION*& section)
{
  if (section)
  {
    DeleteCriticalSection(section);
    delete section;
    section = nullptr;
  }
}

} // namespace pfw
