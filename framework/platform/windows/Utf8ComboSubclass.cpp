// Combo boxes that speak UTF-8 through the narrow messages. Our procedure sits in front
// of the combo's own as a narrow one, so narrow callers' bytes reach it unchanged; text
// that is UTF-8 then goes on to the combo's own wide procedure as UTF-16, and text read
// back comes out as UTF-8.

#include "framework/platform/windows/Utf8Shims.h"

#include "framework/platform/windows/Utf8.h"

#include <cstring>
#include <vector>

namespace pfw {

namespace {

const char* const kOldProc = "UTF8OldProc";
const char* const kOldProcWide = "UTF8OldProcW";
// A list-box text query marked with this flag in its item index asks for UTF-8.
const WPARAM kUtf8Flag = 0x8000;

WNDPROC OldProc(HWND window)
{
  return reinterpret_cast<WNDPROC>(GetPropA(window, kOldProc));
}

WNDPROC OldProcWide(HWND window)
{
  return reinterpret_cast<WNDPROC>(GetPropA(window, kOldProcWide));
}

void Restore(HWND window)
{
  if (WNDPROC old = OldProc(window))
    SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(old));
  RemovePropA(window, kOldProc);
  RemovePropA(window, kOldProcWide);
}

// The item's text from the wide procedure; false when there is no such item.
bool ItemText(HWND combo, WNDPROC wide, UINT lengthMessage, UINT textMessage, WPARAM item, std::wstring& text)
{
  const LRESULT length = CallWindowProcW(wide, combo, lengthMessage, item, 0);
  if (length < 0)
    return false;
  std::vector<wchar_t> units(static_cast<size_t>(length) + 1, L'\0');
  if (CallWindowProcW(wide, combo, textMessage, item, reinterpret_cast<LPARAM>(units.data())) < 0)
    return false;
  text.assign(units.data());
  return true;
}

LRESULT CALLBACK ComboProc(HWND combo, UINT message, WPARAM wParam, LPARAM lParam)
{
  const WNDPROC old = OldProc(combo);
  const WNDPROC wide = OldProcWide(combo);
  if (!old || !wide)
    return DefWindowProcA(combo, message, wParam, lParam);
  switch (message)
  {
  case WM_NCDESTROY:
    Restore(combo);
    return CallWindowProcA(old, combo, message, wParam, lParam);
  case CB_ADDSTRING:
  case CB_INSERTSTRING:
  case CB_FINDSTRING:
  case CB_FINDSTRINGEXACT:
  case LB_ADDSTRING:
  case LB_INSERTSTRING:
  {
    const char* text = reinterpret_cast<const char*>(lParam);
    std::wstring converted;
    if (ClassifyUtf8(text) == 1 && FromUtf8(text, converted))
      return CallWindowProcW(wide, combo, message, wParam, reinterpret_cast<LPARAM>(converted.c_str()));
    break;
  }
  case CB_GETLBTEXTLEN:
  case LB_GETTEXTLEN:
  {
    if (message == LB_GETTEXTLEN && !(wParam & kUtf8Flag))
      break;
    const WPARAM item = wParam & ~kUtf8Flag;
    const LRESULT length = CallWindowProcW(wide, combo, message, message == LB_GETTEXTLEN ? item : wParam, 0);
    return length < 0 ? length : length * 4 + 32;
  }
  case CB_GETLBTEXT:
  case LB_GETTEXT:
  {
    if (message == LB_GETTEXT && !(wParam & kUtf8Flag))
      break;
    const WPARAM item = message == LB_GETTEXT ? wParam & ~kUtf8Flag : wParam;
    char* buffer = reinterpret_cast<char*>(lParam);
    std::wstring text;
    const UINT lengthMessage = message == CB_GETLBTEXT ? CB_GETLBTEXTLEN : LB_GETTEXTLEN;
    if (!buffer || !ItemText(combo, wide, lengthMessage, message, item, text))
      return message == CB_GETLBTEXT ? CB_ERR : LB_ERR;
    // The caller sized its buffer by the length query above: wide length x 4 + 32.
    const std::string utf8 = WideToUtf8(text.c_str());
    std::memcpy(buffer, utf8.c_str(), utf8.size() + 1);
    return static_cast<LRESULT>(utf8.size());
  }
  default:
    break;
  }
  return CallWindowProcA(old, combo, message, wParam, lParam);
}

// Whether the text being set is the narrow rendering of the item: each UTF-8 character
// against one byte, where "?" stands for any character beyond ASCII.
bool SameAsNarrowed(const char* item, const char* text)
{
  const unsigned char* a = reinterpret_cast<const unsigned char*>(item);
  const unsigned char* b = reinterpret_cast<const unsigned char*>(text);
  while (*a && *b)
  {
    if (*a < 0x80)
    {
      if (*a != *b)
        return false;
      ++a;
    }
    else
    {
      if (*b != '?' && *b < 0x80)
        return false;
      ++a;
      while ((*a & 0xC0) == 0x80)
        ++a;
    }
    ++b;
  }
  return *a == *b;
}

LRESULT CALLBACK EditProc(HWND edit, UINT message, WPARAM wParam, LPARAM lParam)
{
  const WNDPROC old = OldProc(edit);
  const WNDPROC wide = OldProcWide(edit);
  if (!old || !wide)
    return DefWindowProcA(edit, message, wParam, lParam);
  if (message == WM_NCDESTROY)
  {
    Restore(edit);
    return CallWindowProcA(old, edit, message, wParam, lParam);
  }
  const char* text = reinterpret_cast<const char*>(lParam);
  if (message == WM_SETTEXT && text && *text)
  {
    // The combo narrows its selected item to set it here, losing what ANSI cannot hold;
    // when that is what arrives, the item's own text goes in instead.
    HWND combo = GetParent(edit);
    const LRESULT selected = SendMessageA(combo, CB_GETCURSEL, 0, 0);
    if (selected >= 0)
    {
      const LRESULT length = SendMessageA(combo, CB_GETLBTEXTLEN, static_cast<WPARAM>(selected), 0);
      if (length > 0)
      {
        std::vector<char> item(static_cast<size_t>(length) + 1, '\0');
        SendMessageA(combo, CB_GETLBTEXT, static_cast<WPARAM>(selected), reinterpret_cast<LPARAM>(item.data()));
        std::wstring converted;
        if (ClassifyUtf8(item.data()) == 1 && SameAsNarrowed(item.data(), text) && FromUtf8(item.data(), converted))
          return CallWindowProcW(wide, edit, message, wParam, reinterpret_cast<LPARAM>(converted.c_str()));
      }
    }
  }
  return CallWindowProcA(old, edit, message, wParam, lParam);
}

void Subclass(HWND window, WNDPROC procedure)
{
  if (!window || GetPropA(window, kOldProc))
    return;
  SetPropA(window, kOldProcWide, reinterpret_cast<HANDLE>(GetWindowLongPtrW(window, GWLP_WNDPROC)));
  const LONG_PTR previous = SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(procedure));
  SetPropA(window, kOldProc, reinterpret_cast<HANDLE>(previous));
}

} // namespace

void SubclassWindowUTF8(HWND combo)
{
  Subclass(combo, ComboProc);
  Subclass(FindWindowExA(combo, nullptr, "Edit", nullptr), EditProc);
}

} // namespace pfw
