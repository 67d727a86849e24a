#include "tools/render/RenderFiles.h"

#include <cerrno>
#include <cstring>

#ifdef _WIN32
#include "deps/unicode/WideUtf8.h"

#include <windows.h>

#include <fcntl.h>
#include <io.h>
#include <shellapi.h>
#else
#include <csignal>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace {

// Where a file lies: its volume and its number on that volume.
struct FileIdentity
{
  uint64_t volume = 0;
  uint64_t index = 0;
};

#ifdef _WIN32

bool IdentifyFile(const std::string& path, FileIdentity& identity)
{
  const HANDLE file = CreateFileW(unicode::Utf8ToWide(path.c_str()).c_str(), 0,
                                  FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                                  FILE_FLAG_BACKUP_SEMANTICS, nullptr);
  if (file == INVALID_HANDLE_VALUE)
    return false;
  BY_HANDLE_FILE_INFORMATION info;
  const bool known = GetFileInformationByHandle(file, &info) != 0;
  CloseHandle(file);
  if (!known)
    return false;
  identity.volume = info.dwVolumeSerialNumber;
  identity.index = (static_cast<uint64_t>(info.nFileIndexHigh) << 32) | info.nFileIndexLow;
  return true;
}

FILE* OpenForReading(const std::string& path)
{
  return _wfopen(unicode::Utf8ToWide(path.c_str()).c_str(), L"rb");
}

// A new file, never one that exists: null, and `taken` set, when the name is taken.
FILE* CreateNewFile(const std::string& path, bool& taken)
{
  const HANDLE file = CreateFileW(unicode::Utf8ToWide(path.c_str()).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                  FILE_ATTRIBUTE_NORMAL, nullptr);
  taken = file == INVALID_HANDLE_VALUE && GetLastError() == ERROR_FILE_EXISTS;
  if (file == INVALID_HANDLE_VALUE)
    return nullptr;
  const int descriptor = _open_osfhandle(reinterpret_cast<intptr_t>(file), _O_BINARY | _O_WRONLY);
  if (descriptor < 0)
  {
    CloseHandle(file);
    return nullptr;
  }
  FILE* stream = _fdopen(descriptor, "wb");
  if (!stream)
    _close(descriptor);
  return stream;
}

bool SeekFile(FILE* file, int64_t offset, int origin)
{
  return _fseeki64(file, offset, origin) == 0;
}

int64_t TellFile(FILE* file)
{
  return _ftelli64(file);
}

bool SyncFile(FILE* file)
{
  return _commit(_fileno(file)) == 0;
}

bool RenameOver(const std::string& from, const std::string& to)
{
  return MoveFileExW(unicode::Utf8ToWide(from.c_str()).c_str(), unicode::Utf8ToWide(to.c_str()).c_str(),
                     MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
}

void RemoveFile(const std::string& path)
{
  DeleteFileW(unicode::Utf8ToWide(path.c_str()).c_str());
}

// Why the last file operation failed, in the system's words: the C runtime's errno
// loses the reason of most Windows failures (a full disk reads "Invalid argument").
std::string FailureReason()
{
  const DWORD code = GetLastError();
  wchar_t* text = nullptr;
  if (code == 0 || FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM |
                                    FORMAT_MESSAGE_IGNORE_INSERTS,
                                  nullptr, code, 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr) == 0)
    return std::string();
  std::string reason = unicode::WideToUtf8(text);
  LocalFree(text);
  while (!reason.empty() && (reason.back() == '\n' || reason.back() == '\r' || reason.back() == '.'))
    reason.pop_back();
  return reason;
}

void ClearFailureReason()
{
  SetLastError(0);
}

#else

bool IdentifyFile(const std::string& path, FileIdentity& identity)
{
  struct stat info;
  if (stat(path.c_str(), &info) != 0)
    return false;
  identity.volume = static_cast<uint64_t>(info.st_dev);
  identity.index = static_cast<uint64_t>(info.st_ino);
  return true;
}

FILE* OpenForReading(const std::string& path)
{
  return std::fopen(path.c_str(), "rb");
}

FILE* CreateNewFile(const std::string& path, bool& taken)
{
  const int descriptor = open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL, 0666);
  taken = descriptor < 0 && errno == EEXIST;
  if (descriptor < 0)
    return nullptr;
  FILE* stream = fdopen(descriptor, "wb");
  if (!stream)
    close(descriptor);
  return stream;
}

bool SeekFile(FILE* file, int64_t offset, int origin)
{
  return fseeko(file, static_cast<off_t>(offset), origin) == 0;
}

int64_t TellFile(FILE* file)
{
  return static_cast<int64_t>(ftello(file));
}

bool SyncFile(FILE* file)
{
  return fsync(fileno(file)) == 0;
}

bool RenameOver(const std::string& from, const std::string& to)
{
  return std::rename(from.c_str(), to.c_str()) == 0;
}

void RemoveFile(const std::string& path)
{
  std::remove(path.c_str());
}

std::string FailureReason()
{
  return errno ? std::strerror(errno) : std::string();
}

void ClearFailureReason()
{
  errno = 0;
}

#endif

} // namespace

std::vector<std::string> CommandLineArguments(int argc, char** argv)
{
#ifdef _WIN32
  // The C runtime's arguments are in the ANSI code page; the wide ones hold every name.
  (void)argc;
  (void)argv;
  std::vector<std::string> args;
  int count = 0;
  wchar_t** wide = CommandLineToArgvW(GetCommandLineW(), &count);
  for (int i = 1; wide && i < count; ++i)
    args.push_back(unicode::WideToUtf8(wide[i]));
  LocalFree(wide);
  return args;
#else
  return std::vector<std::string>(argv + 1, argv + argc);
#endif
}

bool IsSameFile(const std::string& first, const std::string& second)
{
  FileIdentity a, b;
  return IdentifyFile(first, a) && IdentifyFile(second, b) && a.volume == b.volume && a.index == b.index;
}

FileInput::~FileInput()
{
  if (mFile)
    std::fclose(mFile);
}

bool FileInput::Open(const std::string& path, std::string& error)
{
  ClearFailureReason();
  mFile = OpenForReading(path);
  int64_t size = -1;
  if (mFile && SeekFile(mFile, 0, SEEK_END))
    size = TellFile(mFile);
  if (size < 0 || !SeekFile(mFile, 0, SEEK_SET))
  {
    const std::string reason = FailureReason();
    error = "cannot open " + path + (reason.empty() ? reason : ": " + reason);
    return false;
  }
  mRemaining = static_cast<uint64_t>(size);
  return true;
}

bool FileInput::Read(void* out, size_t count)
{
  if (count > mRemaining || std::fread(out, 1, count, mFile) != count)
    return false;
  mRemaining -= count;
  return true;
}

bool FileInput::Skip(uint64_t count)
{
  if (count > mRemaining || !SeekFile(mFile, static_cast<int64_t>(count), SEEK_CUR))
    return false;
  mRemaining -= count;
  return true;
}

ReplacingFile::~ReplacingFile()
{
  if (mFile)
    std::fclose(mFile);
  if (!mTemporary.empty())
    RemoveFile(mTemporary);
}

bool ReplacingFile::Open(std::string& error)
{
#ifndef _WIN32
  // A file-size limit then fails the write, which is reported and cleaned up, instead of
  // ending the process with the temporary file left behind.
  std::signal(SIGXFSZ, SIG_IGN);
#endif
  // Beside the target, so that the rename stays on one volume; never over a file that exists.
  bool taken = true;
  for (int attempt = 0; attempt < 100 && !mFile && taken; ++attempt)
  {
    mTemporary = mTarget + ".partial" + (attempt > 0 ? std::to_string(attempt) : std::string());
    ClearFailureReason();
    mFile = CreateNewFile(mTemporary, taken);
  }
  if (!mFile)
  {
    const std::string reason = taken ? "no free temporary name" : FailureReason();
    mTemporary.clear();
    error = "cannot create a file beside " + mTarget + (reason.empty() ? reason : ": " + reason);
    return false;
  }
  return true;
}

bool ReplacingFile::Write(const void* data, size_t size, std::string& error)
{
  if (!mFile)
    return Fail("cannot write", error);
  ClearFailureReason();
  if (std::fwrite(data, 1, size, mFile) != size)
    return Fail("cannot write", error);
  return true;
}

bool ReplacingFile::Commit(std::string& error)
{
  if (!mFile)
    return Fail("cannot write", error);
  ClearFailureReason();
  const bool written = std::fflush(mFile) == 0 && SyncFile(mFile);
  const bool closed = std::fclose(mFile) == 0;
  mFile = nullptr;
  if (!written || !closed)
    return Fail("cannot write", error);
  if (!RenameOver(mTemporary, mTarget))
    return Fail("cannot replace", error);
  mTemporary.clear();
  return true;
}

bool ReplacingFile::Fail(const std::string& what, std::string& error)
{
  const std::string reason = FailureReason();
  error = what + " " + mTarget + (reason.empty() ? reason : ": " + reason) + "; it is left as it was";
  if (mFile)
    std::fclose(mFile);
  mFile = nullptr;
  if (!mTemporary.empty())
    RemoveFile(mTemporary);
  mTemporary.clear();
  return false;
}
