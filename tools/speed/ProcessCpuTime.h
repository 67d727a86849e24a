#pragma once

#include <windows.h>

// CPU seconds the whole process has used, every thread counted (the GL driver's too); -1
// when unknown. Beside wall time, a figure that a loaded machine hardly changes.
inline double ProcessCpuSeconds()
{
  FILETIME created, exited, kernel, user;
  if (!GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user))
    return -1.0;
  auto seconds = [](const FILETIME& t) {
    return static_cast<double>(static_cast<unsigned long long>(t.dwHighDateTime) << 32 | t.dwLowDateTime) * 1e-7;
  };
  return seconds(kernel) + seconds(user);
}
