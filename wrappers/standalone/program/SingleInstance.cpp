#include "wrappers/standalone/program/SingleInstance.h"

SingleInstance::SingleInstance(const wchar_t* name)
{
  mMutex = CreateMutexW(nullptr, FALSE, name);
  mFirst = mMutex && GetLastError() != ERROR_ALREADY_EXISTS;
}

SingleInstance::~SingleInstance()
{
  if (mMutex)
    CloseHandle(mMutex);
}

void BringRunningInstanceForward(const wchar_t* caption)
{
  if (HWND window = FindWindowW(nullptr, caption))
    SetForegroundWindow(window);
}
