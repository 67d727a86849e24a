#include "framework/platform/windows/Clipboard.h"

#include "framework/platform/windows/DropFilesBlock.h"
#include "framework/platform/windows/Utf8.h"

#include <cstring>
#include <string>

namespace pfw {

namespace {
// Another program may hold the clipboard for a moment (clipboard managers do).
bool OpenClipboardPatiently(HWND owner)
{
  for (int attempt = 0; attempt < 20; ++attempt)
  {
    if (OpenClipboard(owner))
      return true;
    Sleep(5);
  }
  return false;
}

// Puts data on the opened clipboard, which then owns it; frees it when it does not.
bool Hand(UINT format, HGLOBAL data)
{
  if (!data)
    return false;
  if (SetClipboardData(format, data))
    return true;
  GlobalFree(data);
  return false;
}

HGLOBAL CopyToGlobal(const std::wstring& text)
{
  const size_t bytes = (text.size() + 1) * sizeof(wchar_t);
  HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, bytes);
  void* target = block ? GlobalLock(block) : nullptr;
  if (!target)
  {
    if (block)
      GlobalFree(block);
    return nullptr;
  }
  std::memcpy(target, text.c_str(), bytes);
  GlobalUnlock(block);
  return block;
}
} // namespace

bool GetClipboardText(GrowString& text)
{
  text.Set("");
  if (!IsClipboardFormatAvailable(CF_UNICODETEXT) || !OpenClipboardPatiently(nullptr))
    return false;
  bool read = false;
  HANDLE data = GetClipboardData(CF_UNICODETEXT);
  const wchar_t* wide = data ? static_cast<const wchar_t*>(GlobalLock(data)) : nullptr;
  if (wide)
  {
    // The block need not end with a terminator: read no further than its size.
    const size_t units = GlobalSize(data) / sizeof(wchar_t);
    const std::wstring copy(wide, wcsnlen(wide, units));
    read = WideToUtf8(copy.c_str(), text);
    GlobalUnlock(data);
  }
  CloseClipboard();
  if (!read)
    text.Set("");
  return read;
}

bool SetClipboardText(HWND owner, const char* text)
{
  std::wstring wide;
  if (!FromUtf8(text, wide) || !OpenClipboardPatiently(owner))
    return false;
  EmptyClipboard();
  const bool done = wide.empty() || Hand(CF_UNICODETEXT, CopyToGlobal(wide));
  CloseClipboard();
  return done;
}

bool SetClipboardFilePath(HWND owner, const char* path)
{
  HGLOBAL block = MakeDropFilesBlock(path, true);
  if (!block)
    return false;
  if (!OpenClipboardPatiently(owner))
  {
    GlobalFree(block);
    return false;
  }
  EmptyClipboard();
  const bool done = Hand(CF_HDROP, block);
  CloseClipboard();
  return done;
}

} // namespace pfw
