#include "framework/platform/windows/ShellOpen.h"

#include "framework/platform/windows/ModalCalls.h"
#include "framework/platform/windows/Utf8.h"

namespace pfw {

namespace {
// ShellExecute reports success with a value above 32.
bool Started(HINSTANCE result)
{
  return reinterpret_cast<INT_PTR>(result) > 32;
}
} // namespace

int ShowMessage(HWND owner, const char* text, const char* caption, UINT type)
{
  return Modal().messageBox(owner, TolerantUtf8ToWide(text).c_str(), TolerantUtf8ToWide(caption).c_str(), type);
}

bool OpenUrl(HWND owner, const char* url, const char* windowTitle, const char* confirmText, const char* errorText)
{
  std::wstring wideUrl;
  if (!FromUtf8(url, wideUrl) || wideUrl.empty())
    return false;
  if (confirmText && ShowMessage(owner, confirmText, windowTitle, MB_YESNO) != IDYES)
    return false;
  // The handler decides what needs a network (a mail program does not), so the link is
  // opened without asking the system whether it is online.
  if (Started(Modal().shellExecute(owner, L"open", wideUrl.c_str(), nullptr, nullptr, SW_SHOWNORMAL)))
    return true;
  if (errorText)
    ShowMessage(owner, errorText, windowTitle, MB_OK);
  return false;
}

std::wstring RevealArguments(const std::wstring& path, bool select)
{
  return (select ? L"/select,\"" : L"\"") + path + L"\"";
}

bool RevealPath(const char* path, bool select)
{
  std::wstring widePath;
  if (!FromUtf8(path, widePath) || widePath.empty())
    return false;
  wchar_t system[MAX_PATH] = {};
  const UINT length = GetSystemDirectoryW(system, MAX_PATH - 1);
  if (length == 0 || length >= MAX_PATH - 1)
    return false;
  const std::wstring directory = std::wstring(system) + L"\\";
  return Started(Modal().shellExecute(nullptr, L"open", L"explorer.exe", RevealArguments(widePath, select).c_str(),
                                      directory.c_str(), SW_SHOWNORMAL));
}

} // namespace pfw
