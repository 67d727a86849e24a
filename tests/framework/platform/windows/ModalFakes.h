#pragma once

#include "framework/platform/windows/ModalCalls.h"

#include <functional>

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
