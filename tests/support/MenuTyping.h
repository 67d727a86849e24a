#pragma once

#include <windows.h>

#include <initializer_list>
#include <vector>

// Types keys into the popup menu this thread is about to show, once the menu is up. The
// keys go to this thread's own queue, where the menu's loop reads them whichever window
// of the shared display has the focus. A menu still open a minute later is closed, so
// a test never waits for a user.
class MenuTyping
{
public:
  explicit MenuTyping(std::initializer_list<WORD> keys)
  {
    Keys().assign(keys);
    mTyping = SetTimer(nullptr, 0, 50, TypeOnceShown);
    mClosing = SetTimer(nullptr, 0, 60000, Close);
  }
  ~MenuTyping()
  {
    KillTimer(nullptr, mTyping);
    KillTimer(nullptr, mClosing);
  }
  MenuTyping(const MenuTyping&) = delete;
  MenuTyping& operator=(const MenuTyping&) = delete;

private:
  static std::vector<WORD>& Keys()
  {
    static thread_local std::vector<WORD> keys;
    return keys;
  }
  static BOOL CALLBACK IsShownMenu(HWND window, LPARAM found)
  {
    wchar_t name[8] = {};
    GetClassNameW(window, name, 8);
    *reinterpret_cast<bool*>(found) = IsWindowVisible(window) && lstrcmpW(name, L"#32768") == 0;
    return !*reinterpret_cast<bool*>(found);
  }
  static void CALLBACK TypeOnceShown(HWND, UINT, UINT_PTR, DWORD)
  {
    bool shown = false;
    EnumThreadWindows(GetCurrentThreadId(), IsShownMenu, reinterpret_cast<LPARAM>(&shown));
    if (!shown)
      return;
    for (WORD key : Keys())
    {
      const LPARAM scan = static_cast<LPARAM>(MapVirtualKeyW(key, MAPVK_VK_TO_VSC)) << 16;
      PostThreadMessageW(GetCurrentThreadId(), WM_KEYDOWN, key, scan | 1);
      PostThreadMessageW(GetCurrentThreadId(), WM_KEYUP, key, scan | 0xC0000001);
    }
    Keys().clear();
  }
  static void CALLBACK Close(HWND, UINT, UINT_PTR, DWORD) { EndMenu(); }

  UINT_PTR mTyping = 0;
  UINT_PTR mClosing = 0;
};
