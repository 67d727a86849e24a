#include "framework/platform/windows/Utf8Shims.h"

#include "framework/platform/windows/Utf8.h"

#include <shlobj.h>

#include <cstring>
#include <cwchar>
#include <vector>

namespace pfw {

namespace {

// A path takes the wide call when it holds multi-byte UTF-8 or is too long for the
// narrow one; false leaves it to the narrow call, unchanged.
bool WidePath(const char* path, std::wstring& wide)
{
  if (!path || (ClassifyUtf8(path) != 1 && std::strlen(path) < 256))
    return false;
  if (!FromUtf8(path, wide))
    return false;
  ApplyLongPathRule(wide);
  return true;
}

// A path the narrow call reads as meant: one without multi-byte UTF-8, which the ANSI code
// page would take for other characters (and so for another, existing file).
bool NarrowReadsTheSame(const char* path)
{
  return ClassifyUtf8(path) != 1;
}

// Null stays null (the profile calls give it a meaning of its own).
bool WideOrNull(const char* text, std::wstring& wide, const wchar_t*& pointer)
{
  if (!text)
  {
    pointer = nullptr;
    return true;
  }
  if (!FromUtf8(text, wide))
    return false;
  pointer = wide.c_str();
  return true;
}

// Larger than any profile file of ours; such a file is left as it is.
const LONGLONG kLargestConvertedProfile = 1 << 20;

bool HasByteOrderMark(const std::string& bytes)
{
  return bytes.compare(0, 2, "\xFF\xFE") == 0 || bytes.compare(0, 2, "\xFE\xFF") == 0 ||
         bytes.compare(0, 3, "\xEF\xBB\xBF") == 0;
}

// The system keeps a profile file in the encoding it finds, and one without a byte-order
// mark (a new one too) it writes in the ANSI code page, losing what that cannot hold. A
// new or empty file is started as UTF-16; an existing one without a mark is carried over
// into UTF-16 before text beyond ASCII goes in, read the way the system reads it, so
// nothing already in it changes meaning.
void StartUnicodeProfile(const wchar_t* file, bool beyondAscii)
{
  HANDLE handle =
    CreateFileW(file, GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (handle == INVALID_HANDLE_VALUE)
    return;
  LARGE_INTEGER size;
  std::string bytes;
  bool convert = false;
  if (!GetFileSizeEx(handle, &size))
    size.QuadPart = -1;
  if (size.QuadPart == 0)
    convert = true;
  else if (beyondAscii && size.QuadPart > 0 && size.QuadPart <= kLargestConvertedProfile)
  {
    bytes.resize(static_cast<size_t>(size.QuadPart));
    DWORD read = 0;
    convert = ReadFile(handle, &bytes[0], static_cast<DWORD>(bytes.size()), &read, nullptr) &&
              read == bytes.size() && !HasByteOrderMark(bytes);
  }
  if (convert)
  {
    std::wstring text(1, static_cast<wchar_t>(0xFEFF));
    if (!bytes.empty())
    {
      const int units = MultiByteToWideChar(CP_ACP, 0, bytes.data(), static_cast<int>(bytes.size()), nullptr, 0);
      text.resize(1 + static_cast<size_t>(units > 0 ? units : 0));
      if (units > 0)
        MultiByteToWideChar(CP_ACP, 0, bytes.data(), static_cast<int>(bytes.size()), &text[1], units);
    }
    // Only a whole conversion replaces the file.
    if (text.size() > 1 || bytes.empty())
    {
      SetFilePointer(handle, 0, nullptr, FILE_BEGIN);
      DWORD written = 0;
      const DWORD length = static_cast<DWORD>(text.size() * sizeof(wchar_t));
      if (WriteFile(handle, text.data(), length, &written, nullptr) && written == length)
        SetEndOfFile(handle);
    }
  }
  CloseHandle(handle);
}

} // namespace

BOOL CreateDirectoryUTF8(const char* path, LPSECURITY_ATTRIBUTES security)
{
  std::wstring wide;
  if (WidePath(path, wide))
    return CreateDirectoryW(wide.c_str(), security);
  return CreateDirectoryA(path, security);
}

HMODULE LoadLibraryUTF8(const char* path)
{
  std::wstring wide;
  if (WidePath(path, wide))
  {
    HMODULE module = LoadLibraryW(wide.c_str());
    if (module || !NarrowReadsTheSame(path))
      return module;
  }
  return LoadLibraryA(path);
}

FILE* fopenUTF8(const char* path, const char* mode)
{
  std::wstring wide;
  if (mode && WidePath(path, wide))
  {
    std::wstring wideMode = Utf8ToWide(mode);
    if (wideMode.size() > 31)
      wideMode.resize(31);
    if (FILE* file = _wfopen(wide.c_str(), wideMode.c_str()))
      return file;
    // A failed write, or any failure of a name beyond ASCII, must not fall back to a file
    // of another name.
    if (std::strpbrk(mode, "+aw") || !NarrowReadsTheSame(path))
      return nullptr;
  }
  return std::fopen(path, mode);
}

int statUTF8(const char* path, struct _stat64* status)
{
  std::wstring wide;
  if (WidePath(path, wide))
  {
    const int result = _wstat64(wide.c_str(), status);
    if (result == 0 || !NarrowReadsTheSame(path))
      return result;
  }
  return _stat64(path, status);
}

UINT GetPrivateProfileIntUTF8(const char* section, const char* key, int defaultValue, const char* file)
{
  std::wstring wideSection, wideKey, wideFile;
  if (section && key && file && FromUtf8(section, wideSection) && FromUtf8(key, wideKey) &&
      FromUtf8(file, wideFile))
    return GetPrivateProfileIntW(wideSection.c_str(), wideKey.c_str(), defaultValue, wideFile.c_str());
  return GetPrivateProfileIntA(section, key, defaultValue, file);
}

DWORD GetPrivateProfileStringUTF8(const char* section, const char* key, const char* defaultValue, char* buffer,
                                  DWORD size, const char* file)
{
  if (!buffer || size == 0)
    return 0;
  // Listing sections or keys (a null section or key) gives several strings at once;
  // those stay with the narrow call.
  std::wstring wideSection, wideKey, wideDefault, wideFile;
  if (section && key && file && FromUtf8(section, wideSection) && FromUtf8(key, wideKey) &&
      FromUtf8(defaultValue ? defaultValue : "", wideDefault) && FromUtf8(file, wideFile))
  {
    std::vector<wchar_t> wide(size + 1, L'\0');
    GetPrivateProfileStringW(wideSection.c_str(), wideKey.c_str(), wideDefault.c_str(), wide.data(),
                             static_cast<DWORD>(wide.size()), wideFile.c_str());
    return static_cast<DWORD>(CopyUtf8(WideToUtf8(wide.data()), buffer, size));
  }
  return GetPrivateProfileStringA(section, key, defaultValue, buffer, size, file);
}

BOOL WritePrivateProfileStringUTF8(const char* section, const char* key, const char* value, const char* file)
{
  std::wstring wideSection, wideKey, wideValue, wideFile;
  const wchar_t* keyPointer = nullptr;
  const wchar_t* valuePointer = nullptr;
  if (section && file && FromUtf8(section, wideSection) && WideOrNull(key, wideKey, keyPointer) &&
      WideOrNull(value, wideValue, valuePointer) && FromUtf8(file, wideFile))
  {
    StartUnicodeProfile(wideFile.c_str(), ClassifyUtf8(section) == 1 || ClassifyUtf8(key) == 1 ||
                                            ClassifyUtf8(value) == 1);
    return WritePrivateProfileStringW(wideSection.c_str(), keyPointer, valuePointer, wideFile.c_str());
  }
  return WritePrivateProfileStringA(section, key, value, file);
}

int MessageBoxUTF8(HWND owner, const char* text, const char* caption, UINT type)
{
  if (ClassifyUtf8(text) != 0 || ClassifyUtf8(caption) != 0)
  {
    const std::wstring wideText = TolerantUtf8ToWide(text);
    const std::wstring wideCaption = TolerantUtf8ToWide(caption);
    return MessageBoxW(owner, wideText.c_str(), caption ? wideCaption.c_str() : nullptr, type);
  }
  return MessageBoxA(owner, text, caption, type);
}

bool SHGetSpecialFolderPathUTF8(HWND owner, char* path, size_t size, int csidl, BOOL create)
{
  if (!path || size == 0)
    return false;
  std::vector<wchar_t> wide(4096, L'\0');
  if (SHGetSpecialFolderPathW(owner, wide.data(), csidl, create))
    return CopyUtf8(WideToUtf8(wide.data()), path, size) > 0;
  char narrow[MAX_PATH] = {};
  if (!SHGetSpecialFolderPathA(owner, narrow, csidl, create))
    return false;
  return CopyUtf8(narrow, path, size) > 0;
}

size_t strftimeUTF8(char* buffer, size_t size, const char* format, const struct tm* time)
{
  if (!buffer || size == 0 || !format || !time)
    return 0;
  std::wstring wideFormat;
  if (!FromUtf8(format, wideFormat))
    return std::strftime(buffer, size, format, time);
  buffer[0] = '\0';
  // Only the conversions go through the runtime, one at a time: it may pass the rest of
  // the format through the ANSI code page, losing what that cannot hold.
  std::wstring result;
  std::vector<wchar_t> field(size + 5 > 1024 ? size + 5 : 1024, L'\0');
  for (size_t i = 0; i < wideFormat.size(); ++i)
  {
    if (wideFormat[i] != L'%' || i + 1 >= wideFormat.size())
    {
      result.push_back(wideFormat[i]);
      continue;
    }
    std::wstring conversion = L"%";
    if (wideFormat[i + 1] == L'#' && i + 2 < wideFormat.size())
      conversion.push_back(wideFormat[++i]);
    conversion.push_back(wideFormat[++i]);
    const size_t length = std::wcsftime(field.data(), field.size(), conversion.c_str(), time);
    result.append(field.data(), length);
  }
  if (result.empty())
    return 0;
  const std::string utf8 = WideToUtf8(result.c_str());
  if (utf8.empty() || utf8.size() >= size)
    return 0;
  std::memcpy(buffer, utf8.c_str(), utf8.size() + 1);
  return utf8.size();
}

} // namespace pfw
