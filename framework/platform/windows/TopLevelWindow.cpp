#include "framework/platform/windows/TopLevelWindow.h"

#include "framework/platform/windows/Utf8.h"

#include <cstring>

namespace pfw {

namespace {
struct ClassSearch
{
  DWORD process;
  const char* className;
  HWND found;
};

bool ClassNameOf(HWND window, GrowString& name)
{
  wchar_t wide[128] = {};
  return GetClassNameW(window, wide, 128) > 0 && WideToUtf8(wide, name);
}

BOOL CALLBACK MatchProcessWindow(HWND window, LPARAM param)
{
  ClassSearch& search = *reinterpret_cast<ClassSearch*>(param);
  DWORD process = 0;
  GetWindowThreadProcessId(window, &process);
  GrowString name;
  if (process == search.process && ClassNameOf(window, name) && std::strcmp(name.Get(), search.className) == 0)
  {
    search.found = window;
    return FALSE;
  }
  return TRUE;
}
} // namespace

HWND FindTopLevelWindow(HWND parent, GrowString& className)
{
  if (parent)
  {
    HWND top = parent;
    while (HWND above = GetParent(top))
      top = above;
    if (!ClassNameOf(top, className))
      className.Set("");
    return top;
  }
  if (className.GetLength() == 0)
    return nullptr;
  ClassSearch search{GetCurrentProcessId(), className.Get(), nullptr};
  EnumWindows(MatchProcessWindow, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

} // namespace pfw
