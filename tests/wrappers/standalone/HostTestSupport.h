#pragma once

#include "TestPluginAPP.h"

#include "tests/support/FakeAudioSystem.h"
#include "tests/support/FakeMidiSystem.h"
#include "wrappers/standalone/StandaloneHost.h"

#include <gtest/gtest.h>

#include <mutex>
#include <string>
#include <vector>

std::string WideToUtf8(const std::wstring& text);
std::wstring Utf8ToWide(const std::string& text);
// A new empty folder under the temporary folder, its name holding non-ASCII characters.
std::string MakeTempFolder();
void RemoveFolder(const std::string& folder);
bool FolderExists(const std::string& folder);
bool FileExists(const std::string& path);
// The text of an ini file as the system wrote it (UTF-16 with its mark, or bytes).
std::string ReadIniText(const std::string& path);
std::string IniString(const std::string& path, const char* section, const char* key);
void WriteBytes(const std::string& path, const std::string& bytes);
// A PNG file's pixels as RGBA rows and the channel count the file itself holds; width 0
// when it cannot be read.
struct PngPicture
{
  int width = 0, height = 0, fileChannels = 0;
  std::vector<unsigned char> rgba;
  const unsigned char* At(int x, int y) const { return &rgba[(static_cast<size_t>(y) * width + x) * 4]; }
};
PngPicture ReadPng(const std::string& path);
// The fake system's only device, "Duplex": stereo out, the default of both directions.
void UseDuplexDevice(unsigned int inputChannels = 2);

// A host on the test plug-in, with the fake audio and MIDI back ends standing in for the
// system's, its settings under a temporary folder and its messages recorded.
class HostTest : public ::testing::Test
{
protected:
  void SetUp() override;
  void TearDown() override;

  StandaloneHost* MakeHost(const TestPluginAPP::Options& options = TestPluginAPP::Options());
  // Messages and audio errors recorded, settings under the test's folder, and the fake
  // back ends unless useFakes is off.
  StandaloneHost::Services TestServices();
  TestPluginAPP& Plugin() { return *static_cast<TestPluginAPP*>(host->GetPlugin()); }
  std::string SettingsPath() const { return folder + "\\Tarnwick\\settings.ini"; }
  std::vector<std::string> AudioErrors();

  struct Message
  {
    std::string text, caption;
    UINT type;
  };

  std::string folder;
  StandaloneHost* host = nullptr;
  std::vector<Message> messages;
  std::mutex errorsLock;
  std::vector<std::string> audioErrors;
  bool useFakes = true;
};
