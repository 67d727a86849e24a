#include "HostTestSupport.h"

#include "deps/unicode/WideUtf8.h"
#include "framework/platform/windows/Utf8Shims.h"

#include <windows.h>

#include <atomic>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <sstream>

#define STB_IMAGE_STATIC
#define STB_IMAGE_IMPLEMENTATION
#include <stb_image.h>

std::string WideToUtf8(const std::wstring& text)
{
  return unicode::WideToUtf8(text.c_str());
}

std::wstring Utf8ToWide(const std::string& text)
{
  return unicode::Utf8ToWide(text.c_str());
}

std::string MakeTempFolder()
{
  static std::atomic<int> counter{0};
  wchar_t temp[MAX_PATH] = {};
  GetTempPathW(MAX_PATH, temp);
  std::wstring path = temp;
  path += L"tarnwick-standalone-" + std::to_wstring(GetCurrentProcessId()) + L"-" + std::to_wstring(++counter) +
          L"-Gr\u00FC\u00DFe-\u65E5\u672C";
  CreateDirectoryW(path.c_str(), nullptr);
  return WideToUtf8(path);
}

static void RemoveWide(const std::wstring& folder)
{
  WIN32_FIND_DATAW found;
  HANDLE search = FindFirstFileW((folder + L"\\*").c_str(), &found);
  if (search != INVALID_HANDLE_VALUE)
  {
    do
    {
      const std::wstring name = found.cFileName;
      if (name == L"." || name == L"..")
        continue;
      const std::wstring path = folder + L"\\" + name;
      if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
        RemoveWide(path);
      else
        DeleteFileW(path.c_str());
    } while (FindNextFileW(search, &found));
    FindClose(search);
  }
  RemoveDirectoryW(folder.c_str());
}

void RemoveFolder(const std::string& folder)
{
  if (!folder.empty())
    RemoveWide(Utf8ToWide(folder));
}

bool FolderExists(const std::string& folder)
{
  const DWORD attributes = GetFileAttributesW(Utf8ToWide(folder).c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

PngPicture ReadPng(const std::string& path)
{
  PngPicture picture;
  FILE* file = _wfopen(Utf8ToWide(path).c_str(), L"rb");
  if (!file)
    return picture;
  unsigned char* pixels = stbi_load_from_file(file, &picture.width, &picture.height, &picture.fileChannels, 4);
  fclose(file);
  if (!pixels)
    return PngPicture();
  picture.rgba.assign(pixels, pixels + static_cast<size_t>(picture.width) * picture.height * 4);
  stbi_image_free(pixels);
  return picture;
}

bool FileExists(const std::string& path)
{
  const DWORD attributes = GetFileAttributesW(Utf8ToWide(path).c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

std::string ReadIniText(const std::string& path)
{
  HANDLE file = CreateFileW(Utf8ToWide(path).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                            OPEN_EXISTING, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE)
    return std::string();
  std::string bytes;
  char buffer[4096];
  DWORD got = 0;
  while (ReadFile(file, buffer, sizeof(buffer), &got, nullptr) && got > 0)
    bytes.append(buffer, got);
  CloseHandle(file);
  if (bytes.size() >= 2 && static_cast<unsigned char>(bytes[0]) == 0xFF && static_cast<unsigned char>(bytes[1]) == 0xFE)
  {
    std::wstring wide((bytes.size() - 2) / 2, L'\0');
    std::memcpy(&wide[0], bytes.data() + 2, wide.size() * 2);
    return WideToUtf8(wide);
  }
  return bytes;
}

std::string IniString(const std::string& path, const char* section, const char* key)
{
  char buffer[2048] = {};
  pfw::GetPrivateProfileStringUTF8(section, key, "<missing>", buffer, sizeof(buffer), path.c_str());
  return buffer;
}

void WriteBytes(const std::string& path, const std::string& bytes)
{
  HANDLE file = CreateFileW(Utf8ToWide(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  ASSERT_NE(INVALID_HANDLE_VALUE, file);
  DWORD written = 0;
  WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
  CloseHandle(file);
}

void UseDuplexDevice(unsigned int inputChannels)
{
  audio::FakeAudioDevice device;
  device.name = "Duplex";
  device.inputChannels = inputChannels;
  device.outputChannels = 2;
  device.isDefaultInput = device.isDefaultOutput = true;
  audio::FakeAudioSystem::Get().SetDevices({device});
}

void HostTest::SetUp()
{
  audio::FakeAudioSystem::Get().Reset();
  midi::FakeMidiSystem::Get().Reset();
  folder = MakeTempFolder();
}

void HostTest::TearDown()
{
  StandaloneHost::Destroy();
  host = nullptr;
  audio::FakeAudioSystem::Get().Reset();
  midi::FakeMidiSystem::Get().Reset();
  RemoveFolder(folder);
}

StandaloneHost* HostTest::MakeHost(const TestPluginAPP::Options& options)
{
  SetNextPluginOptions(options);
  host = StandaloneHost::Create(MakeTestPlugin, TestServices());
  return host;
}

StandaloneHost::Services HostTest::TestServices()
{
  StandaloneHost::Services services;
  services.showMessage = [this](HWND, const char* text, const char* caption, UINT type) {
    messages.push_back({text, caption, type});
    return IDOK;
  };
  const std::string base = folder;
  services.localAppDataFolder = [base](pfw::GrowString& path) { return path.Set(base.c_str()); };
  services.reportAudioError = [this](const std::string& text) {
    std::lock_guard<std::mutex> lock(errorsLock);
    audioErrors.push_back(text);
  };
  if (useFakes)
  {
    services.makeAudioBackend = audio::MakeFakeBackend;
    services.makeMidiBackend = midi::MakeFakeBackend;
  }
  return services;
}

std::vector<std::string> HostTest::AudioErrors()
{
  std::lock_guard<std::mutex> lock(errorsLock);
  return audioErrors;
}
