#pragma once

// Windows and C-runtime calls that take and give UTF-8, choosing the wide call when the
// text needs it. Text that is not UTF-8 reaches the narrow ("A") call unchanged. A UTF-8
// name beyond ASCII that the wide call cannot use is not tried again through the narrow
// one, which would read its bytes as other characters and so name another file.

#include <windows.h>

#include <cstdio>
#include <ctime>
#include <sys/stat.h>

namespace pfw {

BOOL CreateDirectoryUTF8(const char* path, LPSECURITY_ATTRIBUTES security);
HMODULE LoadLibraryUTF8(const char* path);
FILE* fopenUTF8(const char* path, const char* mode);
int statUTF8(const char* path, struct _stat64* status);

// Profile (ini) files always go through the wide calls, whatever the file name, so UTF-8
// values survive any ANSI code page; a file that does not exist yet (or is empty) is
// started as UTF-16 (with its byte-order mark), and one in the ANSI code page is carried
// over into UTF-16 before text beyond ASCII is written, so that the system keeps every
// character. String results are cut before a character that does not fit, the rest of
// the buffer zeroed.
UINT GetPrivateProfileIntUTF8(const char* section, const char* key, int defaultValue, const char* file);
DWORD GetPrivateProfileStringUTF8(const char* section, const char* key, const char* defaultValue, char* buffer,
                                  DWORD size, const char* file);
BOOL WritePrivateProfileStringUTF8(const char* section, const char* key, const char* value, const char* file);

int MessageBoxUTF8(HWND owner, const char* text, const char* caption, UINT type);

// The folder of a CSIDL into path (size bytes); true when something was written.
bool SHGetSpecialFolderPathUTF8(HWND owner, char* path, size_t size, int csidl, BOOL create);

// Like strftime: the byte length of the result, or 0 (and an empty result) when nothing
// was produced or it does not fit.
size_t strftimeUTF8(char* buffer, size_t size, const char* format, const struct tm* time);

// Makes a combo box exchange UTF-8 text through the narrow messages.
void SubclassWindowUTF8(HWND combo);

} // namespace pfw
