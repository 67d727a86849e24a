#pragma once

#include <windows.h>

namespace pfw {

// A movable global block holding one file in the shell's dropped-files layout (a 20-byte
// DROPFILES header, the UTF-16 path, its terminator and the list's), as dragging a file
// out and putting it on the clipboard hand it over. Null for an empty path, one that is
// not UTF-8, or when memory fails.
HGLOBAL MakeDropFilesBlock(const char* path, bool nonClientPoint);

} // namespace pfw
