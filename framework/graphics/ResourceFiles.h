#pragma once

#include "framework/core/ByteBuffer.h"
#include "framework/core/GrowString.h"

namespace pfw::gui {

// Resource lookup that needs no window: files by UTF-8 path and, on Windows, resources
// of a module (null: the program). The platform layer may search further. On disk any
// existing path is found, a folder too; reading it then fails like any unreadable file.
int LocateResourceDefault(const char* name, const char* type, GrowString& location, void* module);
// The whole file; false (data emptied) when it cannot be read completely.
bool ReadFileBytes(const char* path, ByteBuffer& data);
bool LoadModuleResourceBytes(const char* name, const char* type, ByteBuffer& data, void* module);
// The bytes of a module resource in place (read-only, valid while the module is loaded);
// null (size 0) when there is no such resource of more than 7 bytes.
const void* LockModuleResource(const char* name, const char* type, int& size, void* module);

} // namespace pfw::gui
