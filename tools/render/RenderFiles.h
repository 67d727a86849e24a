#pragma once

#include "tools/render/WavFile.h"

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

// The render tool's dealings with the file system, on Windows and elsewhere. Paths are
// UTF-8 on both.

// The command line's arguments after the program name.
std::vector<std::string> CommandLineArguments(int argc, char** argv);

// Whether both paths name one existing file, however they spell it (a link, another
// letter case on Windows, a relative path): false when either does not exist.
bool IsSameFile(const std::string& first, const std::string& second);

// A file read from its start.
class FileInput final : public ByteInput
{
public:
  FileInput() = default;
  ~FileInput() override;
  FileInput(const FileInput&) = delete;
  FileInput& operator=(const FileInput&) = delete;

  bool Open(const std::string& path, std::string& error);
  uint64_t Remaining() const override { return mRemaining; }
  bool Read(void* out, size_t count) override;
  bool Skip(uint64_t count) override;

private:
  FILE* mFile = nullptr;
  uint64_t mRemaining = 0;
};

// A file written under a temporary name beside its target and renamed over the target only
// once it is complete and closed: a failed write never leaves a truncated file, nor costs
// the file that was at the target. Until Commit succeeds, the destructor removes the
// temporary file.
class ReplacingFile final : public ByteOutput
{
public:
  explicit ReplacingFile(std::string target) : mTarget(std::move(target)) {}
  ~ReplacingFile() override;
  ReplacingFile(const ReplacingFile&) = delete;
  ReplacingFile& operator=(const ReplacingFile&) = delete;

  bool Open(std::string& error);
  bool Write(const void* data, size_t size, std::string& error) override;
  bool Commit(std::string& error);

private:
  bool Fail(const std::string& what, std::string& error);

  std::string mTarget;
  std::string mTemporary; // empty once renamed or removed
  FILE* mFile = nullptr;
};
