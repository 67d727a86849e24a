#include "deps/unicode/WideUtf8.h"

#include <windows.h>

namespace unicode {

bool FromUtf8(const char* text, std::wstring& wide)
{
  wide.clear();
  if (!text || !*text)
    return true;
  const int units = MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, text, -1, nullptr, 0);
  if (units <= 0)
    return false;
  wide.resize(static_cast<size_t>(units));
  MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, text, -1, &wide[0], units);
  wide.resize(static_cast<size_t>(units - 1));
  return true;
}

std::wstring Utf8ToWide(const char* text)
{
  std::wstring wide;
  FromUtf8(text, wide);
  return wide;
}

std::string WideToUtf8(const wchar_t* text)
{
  if (!text || !*text)
    return std::string();
  const int bytes = WideCharToMultiByte(CP_UTF8, 0, text, -1, nullptr, 0, nullptr, nullptr);
  if (bytes <= 0)
    return std::string();
  std::string utf8(static_cast<size_t>(bytes), '\0');
  WideCharToMultiByte(CP_UTF8, 0, text, -1, &utf8[0], bytes, nullptr, nullptr);
  utf8.resize(static_cast<size_t>(bytes - 1));
  return utf8;
}

} // namespace unicode
