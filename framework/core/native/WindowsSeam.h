#pragma once

// Native stand-in for the Windows services of the portable core, so that the same
// sources build with the host compiler. Only what the core calls is here.
#include <pthread.h>

// A Windows critical section may be entered again by the thread that holds it.
struct CRITICAL_SECTION
{
  pthread_mutex_t mutex;
};

inline void InitializeCriticalSection(CRITICAL_SECTION* section)
{
  pthread_mutexattr_t attributes;
  pthread_mutexattr_init(&attributes);
  pthread_mutexattr_settype(&attributes, PTHREAD_MUTEX_RECURSIVE);
  pthread_mutex_init(&section->mutex, &attributes);
  pthread_mutexattr_destroy(&attributes);
}

inline void DeleteCriticalSection(CRITICAL_SECTION* section) { pthread_mutex_destroy(&section->mutex); }
inline void EnterCriticalSection(CRITICAL_SECTION* section) { pthread_mutex_lock(&section->mutex); }
inline void LeaveCriticalSection(CRITICAL_SECTION* section) { pthread_mutex_unlock(&section->mutex); }

// Timers without a window. The stand-in drives each timer from its own thread, so its
// procedure runs there rather than on a message loop; KillTimer waits for a running call
// to end unless it is made on a timer's own thread.
#include <cstdint>

typedef void* HWND;
typedef unsigned int UINT;
typedef uintptr_t UINT_PTR;
typedef uint32_t DWORD;
typedef int BOOL;
#define CALLBACK
#define WM_TIMER 0x0113
typedef void (*TIMERPROC)(HWND, UINT, UINT_PTR, DWORD);

UINT_PTR SetTimer(HWND window, UINT_PTR id, UINT elapseMs, TIMERPROC procedure);
BOOL KillTimer(HWND window, UINT_PTR id);
