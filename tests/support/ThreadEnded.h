#pragma once

#include <windows.h>

// True once the thread has ended, waiting for it at most ten seconds.
bool ThreadEnded(DWORD id);
