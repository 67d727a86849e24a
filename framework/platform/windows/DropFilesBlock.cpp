#include "framework/platform/windows/DropFilesBlock.h"

#include "framework/platform/windows/Utf8.h"

#include <shlobj.h>

#include <cstring>
#include <string>

namespace pfw {

static_assert(sizeof(DROPFILES) == 20, "the shell reads a 20-byte header");

HGLOBAL MakeDropFilesBlock(const char* path, bool nonClientPoint)
{
  std::wstring wide;
  if (!FromUtf8(path, wide) || wide.empty())
    return nullptr;
  const size_t pathBytes = (wide.size() + 1) * sizeof(wchar_t);
  HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, sizeof(DROPFILES) + pathBytes + sizeof(wchar_t));
  void* bytes = block ? GlobalLock(block) : nullptr;
  if (!bytes)
  {
    if (block)
      GlobalFree(block);
    return nullptr;
  }
  DROPFILES header = {};
  header.pFiles = sizeof(DROPFILES);
  header.fNC = nonClientPoint;
  header.fWide = TRUE;
  std::memcpy(bytes, &header, sizeof(header));
  std::memcpy(static_cast<char*>(bytes) + sizeof(header), wide.c_str(), pathBytes);
  GlobalUnlock(block);
  return block;
}

} // namespace pfw
