#pragma once

#include <windows.h>

// The program's single-instance rule: a named mutex that the first instance holds while
// it runs. Creating it and learning that it existed is one step, so two quick starts
// cannot both believe they are first.
class SingleInstance
{
public:
  explicit SingleInstance(const wchar_t* name);
  ~SingleInstance();
  SingleInstance(const SingleInstance&) = delete;
  SingleInstance& operator=(const SingleInstance&) = delete;

  // False when another instance holds the name (or the mutex could not be made).
  bool IsFirst() const { return mFirst; }

private:
  HANDLE mMutex = nullptr;
  bool mFirst = false;
};

// Brings the running instance's main window (found by its caption) to the front.
void BringRunningInstanceForward(const wchar_t* caption);
