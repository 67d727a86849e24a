#pragma once

#include "framework/platform/windows/ModalCalls.h"

#include <atomic>
#include <functional>
#include <string>
#include <thread>

// Puts fakes in place of the modal calls for one test and the real calls back after it.
struct ModalFakes
{
  ModalFakes() { pfw::Modal() = pfw::RealModalCalls(); }
  ~ModalFakes() { pfw::Modal() = pfw::RealModalCalls(); }
  ModalFakes(const ModalFakes&) = delete;
  ModalFakes& operator=(const ModalFakes&) = delete;
};

// A hidden top-level window to own clipboards, menus and dialogs in tests.
struct TestOwnerWindow
{
  TestOwnerWindow()
    : window(CreateWindowExW(0, L"STATIC", L"Tarnwick test owner", WS_OVERLAPPEDWINDOW, 0, 0, 200, 100, nullptr,
                             nullptr, GetModuleHandleW(nullptr), nullptr))
  {
  }
  ~TestOwnerWindow() { DestroyWindow(window); }
  TestOwnerWindow(const TestOwnerWindow&) = delete;
  TestOwnerWindow& operator=(const TestOwnerWindow&) = delete;
  HWND window;
};

// On its own thread, waits for a dialog box of this process to show, lets the test look
// at it and then clicks one of its buttons; a modal call in a test never waits for a
// user. Found() tells whether it saw one.
class DialogCloser
{
public:
  DialogCloser(WORD button, std::function<void(HWND)> look = nullptr)
    : mThread([this, button, look] { Run(button, look); })
  {
  }
  ~DialogCloser() { Join(); }
  DialogCloser(const DialogCloser&) = delete;
  DialogCloser& operator=(const DialogCloser&) = delete;

  void Join()
  {
    if (mThread.joinable())
      mThread.join();
  }
  bool Found() const { return mFound; }

private:
  static BOOL CALLBACK MatchDialog(HWND window, LPARAM param)
  {
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    wchar_t name[16] = {};
    GetClassNameW(window, name, 16);
    if (process == GetCurrentProcessId() && IsWindowVisible(window) && std::wstring(name) == L"#32770")
    {
      *reinterpret_cast<HWND*>(param) = window;
      return FALSE;
    }
    return TRUE;
  }

  void Run(WORD button, const std::function<void(HWND)>& look)
  {
    // Long enough for a loaded machine to open any dialog.
    for (int waited = 0; waited < 3000; ++waited)
    {
      HWND dialog = nullptr;
      EnumWindows(MatchDialog, reinterpret_cast<LPARAM>(&dialog));
      if (dialog)
      {
        mFound = true;
        Sleep(200); // let it finish its initialisation
        if (look)
          look(dialog);
        PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED), 0);
        return;
      }
      Sleep(20);
    }
  }

  std::atomic<bool> mFound{false};
  std::thread mThread;
};
