#include "ResourceFiles.h"

#include "framework/core/WindowsServices.h"

#if defined(_WIN32)
#include "deps/unicode/WideUtf8.h"

#include <shlwapi.h>
#endif

#include <cstdio>
#include <cstring>
#include <string>

namespace pfw::gui {

namespace {
#if defined(_WIN32)
std::wstring Upper(std::wstring text)
{
  for (wchar_t& c : text)
    if (c >= L'a' && c <= L'z')
      c = static_cast<wchar_t>(c - L'a' + L'A');
  return text;
}

std::wstring Lower(std::wstring text)
{
  for (wchar_t& c : text)
    if (c >= L'A' && c <= L'Z')
      c = static_cast<wchar_t>(c - L'A' + L'a');
  return text;
}

struct ResourceSearch
{
  std::wstring wanted;
  std::wstring found;
};

BOOL CALLBACK MatchResourceName(HMODULE, LPCWSTR, LPWSTR name, LONG_PTR param)
{
  if (IS_INTRESOURCE(name))
    return TRUE;
  ResourceSearch* search = reinterpret_cast<ResourceSearch*>(param);
  std::wstring stored(name);
  std::wstring bare = stored;
  if (bare.size() >= 2 && bare.front() == L'"' && bare.back() == L'"')
    bare = bare.substr(1, bare.size() - 2);
  if (Lower(bare) == search->wanted)
  {
    search->found = stored;
    return FALSE;
  }
  return TRUE;
}

FILE* OpenRead(const char* path)
{
  const std::wstring wide = unicode::Utf8ToWide(path);
  return wide.empty() ? std::fopen(path, "rb") : _wfopen(wide.c_str(), L"rb");
}

// Any existing path, a folder included: reading is what tells a file from the rest.
bool PathExists(const char* path)
{
  const std::wstring wide = unicode::Utf8ToWide(path);
  return !wide.empty() && PathFileExistsW(wide.c_str());
}
#else
FILE* OpenRead(const char* path)
{
  return std::fopen(path, "rb");
}

bool PathExists(const char* path)
{
  if (FILE* file = OpenRead(path))
  {
    std::fclose(file);
    return true;
  }
  return false;
}
#endif
} // namespace

int LocateResourceDefault(const char* name, const char* type, GrowString& location, void* module)
{
  if (!name || !*name)
    return 0;
#if defined(_WIN32)
  ResourceSearch search;
  search.wanted = Lower(unicode::Utf8ToWide(name));
  const std::wstring wideType = Upper(unicode::Utf8ToWide(type ? type : ""));
  if (!search.wanted.empty() && !wideType.empty())
  {
    EnumResourceNamesW(static_cast<HMODULE>(module), wideType.c_str(), MatchResourceName,
                       reinterpret_cast<LONG_PTR>(&search));
    if (!search.found.empty())
    {
      location.Set(unicode::WideToUtf8(search.found.c_str()).c_str());
      return 2;
    }
  }
#else
  (void)type;
  (void)module;
#endif
  if (PathExists(name))
  {
    location.Set(name);
    return 1;
  }
  return 0;
}

bool ReadFileBytes(const char* path, ByteBuffer& data)
{
  data.Resize(0, true);
  FILE* file = OpenRead(path);
  if (!file)
    return false;
  bool ok = false;
  if (std::fseek(file, 0, SEEK_END) == 0)
  {
    const long size = std::ftell(file);
    if (size > 0 && size < 0x7fffffff && std::fseek(file, 0, SEEK_SET) == 0)
    {
      data.Resize(static_cast<int>(size), true);
      ok = data.Size() == size && std::fread(data.Data(), 1, static_cast<size_t>(size), file) == static_cast<size_t>(size);
    }
  }
  std::fclose(file);
  if (!ok)
    data.Resize(0, true);
  return ok;
}

bool LoadModuleResourceBytes(const char* name, const char* type, ByteBuffer& data, void* module)
{
  data.Resize(0, true);
  int size = 0;
  const void* bytes = LockModuleResource(name, type, size, module);
  if (!bytes)
    return false;
  data.Resize(size, true);
  if (data.Size() != size)
    return false;
  std::memcpy(data.Data(), bytes, static_cast<size_t>(size));
  return true;
}

const void* LockModuleResource(const char* name, const char* type, int& size, void* module)
{
  size = 0;
#if defined(_WIN32)
  const std::wstring wideName = unicode::Utf8ToWide(name);
  const std::wstring wideType = Upper(unicode::Utf8ToWide(type ? type : ""));
  HMODULE handle = static_cast<HMODULE>(module);
  HRSRC resource = FindResourceW(handle, wideName.c_str(), wideType.c_str());
  if (!resource)
    return nullptr;
  const DWORD length = SizeofResource(handle, resource);
  HGLOBAL loaded = length > 7 && length < 0x7fffffff ? ::LoadResource(handle, resource) : nullptr;
  const void* bytes = loaded ? LockResource(loaded) : nullptr;
  if (bytes)
    size = static_cast<int>(length);
  return bytes;
#else
  (void)name;
  (void)type;
  (void)module;
  return nullptr;
#endif
}

} // namespace pfw::gui
