#pragma once

// The few Windows services the portable core uses. The Windows build takes them from
// the system; the native build (sanitizers, fuzzing, benchmarks) from a small stand-in.
#if defined(_WIN32)
#include <windows.h>
#else
#include "native/WindowsSeam.h"
#endif
