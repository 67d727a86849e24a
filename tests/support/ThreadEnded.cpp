#include "tests/support/ThreadEnded.h"

bool ThreadEnded(DWORD id)
{
  HANDLE thread = OpenThread(SYNCHRONIZE, FALSE, id);
  if (!thread)
    return true;
  const bool ended = WaitForSingleObject(thread, 10000) == WAIT_OBJECT_0;
  CloseHandle(thread);
  return ended;
}
