// The settings record and settings.ini: the first start, round trips of every key, files
// that are missing keys, empty, cut short or garbage, and names beyond ASCII.

#include "HostTestSupport.h"

#include "wrappers/standalone/StandaloneSettings.h"

#include <cstring>

namespace {

const char* const kKeyOrder[] = {"[audio]", "driver=", "indev=", "outdev=", "in1=", "in2=", "out1=", "out2=",
                                 "buffer=", "sr=", "[midi]", "indev=", "outdev=", "inchan=", "outchan="};

void ExpectKeysInOrder(const std::string& text)
{
  size_t at = 0;
  for (const char* key : kKeyOrder)
  {
    const size_t found = text.find(key, at);
    ASSERT_NE(std::string::npos, found) << key << " missing or out of order in\n" << text;
    at = found + std::strlen(key);
  }
}

StandaloneSettings Unusual()
{
  StandaloneSettings s;
  s.audioInputDevice.Set(" Mikrofon (USB Audio CODEC) \xE2\x80\x93 Gr\xC3\xBC\xC3\x9F" "e \xE6\x97\xA5\xE6\x9C\xAC");
  s.audioOutputDevice.Set("Keystation \xF0\x9F\x8E\xB9 Lautsprecher (Realtek\xC2\xAE Audio) \xCE\xA9");
  s.midiOutputPort.Set("\"Synth\" = out; [x] ");
  s.midiInputPort.Set("'Keys'");
  s.driverType = 1;
  s.sampleRate = 96000;
  s.bufferSize = 256;
  s.midiInputChannel = 16;
  s.midiOutputChannel = 3;
  s.inputChannel1 = 3;
  s.inputChannel2 = 4;
  s.outputChannel1 = 5;
  s.outputChannel2 = 6;
  return s;
}

} // namespace

TEST(StandaloneSettings, ComparisonsCoverEveryFieldOfTheirGroup)
{
  const StandaloneSettings base;
  using Change = void (*)(StandaloneSettings&);
  struct Case
  {
    Change change;
    bool audio;
  };
  const Case cases[] = {
    {[](StandaloneSettings& s) { s.audioInputDevice.Set("x"); }, true},
    {[](StandaloneSettings& s) { s.audioOutputDevice.Set("x"); }, true},
    {[](StandaloneSettings& s) { s.driverType = 1; }, true},
    {[](StandaloneSettings& s) { s.sampleRate = 48000; }, true},
    {[](StandaloneSettings& s) { s.bufferSize = 1024; }, true},
    {[](StandaloneSettings& s) { s.inputChannel1 = 2; }, true},
    {[](StandaloneSettings& s) { s.inputChannel2 = 1; }, true},
    {[](StandaloneSettings& s) { s.outputChannel1 = 2; }, true},
    {[](StandaloneSettings& s) { s.outputChannel2 = 1; }, true},
    {[](StandaloneSettings& s) { s.midiInputPort.Set("x"); }, false},
    {[](StandaloneSettings& s) { s.midiOutputPort.Set("x"); }, false},
    {[](StandaloneSettings& s) { s.midiInputChannel = 1; }, false},
    {[](StandaloneSettings& s) { s.midiOutputChannel = 1; }, false},
  };
  for (size_t i = 0; i < sizeof(cases) / sizeof(cases[0]); ++i)
  {
    SCOPED_TRACE(i);
    StandaloneSettings changed;
    cases[i].change(changed);
    EXPECT_FALSE(changed.Equals(base));
    EXPECT_EQ(!cases[i].audio, changed.SameAudioSettings(base));
    EXPECT_EQ(cases[i].audio, changed.SameMidiSettings(base));
    StandaloneSettings copy;
    copy.CopyFrom(changed);
    EXPECT_TRUE(copy.Equals(changed));
  }
  // Names compare as bytes: case and a trailing blank count.
  StandaloneSettings upper;
  upper.audioInputDevice.Set("DEFAULT DEVICE");
  EXPECT_FALSE(upper.SameAudioSettings(base));
  upper.audioInputDevice.Set("Default Device ");
  EXPECT_FALSE(upper.SameAudioSettings(base));
}

TEST_F(HostTest, FirstStartMakesTheFolderAndAFileWithTheRecordDefaults)
{
  ASSERT_TRUE(MakeHost());
  EXPECT_FALSE(FolderExists(folder + "\\Tarnwick"));
  EXPECT_TRUE(host->ReadSettings());
  EXPECT_EQ(SettingsPath(), host->GetSettingsPath());
  ASSERT_TRUE(FileExists(SettingsPath()));
  const std::string path = SettingsPath();
  EXPECT_EQ("0", IniString(path, "audio", "driver"));
  EXPECT_EQ("Default Device", IniString(path, "audio", "indev"));
  EXPECT_EQ("Default Device", IniString(path, "audio", "outdev"));
  EXPECT_EQ("1", IniString(path, "audio", "in1"));
  EXPECT_EQ("2", IniString(path, "audio", "in2"));
  EXPECT_EQ("1", IniString(path, "audio", "out1"));
  EXPECT_EQ("2", IniString(path, "audio", "out2"));
  EXPECT_EQ("512", IniString(path, "audio", "buffer"));
  EXPECT_EQ("44100", IniString(path, "audio", "sr"));
  EXPECT_EQ("off", IniString(path, "midi", "indev"));
  EXPECT_EQ("off", IniString(path, "midi", "outdev"));
  EXPECT_EQ("0", IniString(path, "midi", "inchan"));
  EXPECT_EQ("0", IniString(path, "midi", "outchan"));
  ExpectKeysInOrder(ReadIniText(path));
}

TEST_F(HostTest, EveryKeyAndNamesBeyondAsciiSurviveARoundTrip)
{
  ASSERT_TRUE(MakeHost());
  host->ReadSettings();
  host->EditedSettings().CopyFrom(Unusual());
  ASSERT_TRUE(host->WriteSettings());
  ExpectKeysInOrder(ReadIniText(SettingsPath()));

  ASSERT_TRUE(MakeHost());
  host->ReadSettings();
  const StandaloneSettings expected = Unusual();
  const StandaloneSettings& read = host->EditedSettings();
  EXPECT_STREQ(expected.audioInputDevice.Get(), read.audioInputDevice.Get());
  EXPECT_STREQ(expected.audioOutputDevice.Get(), read.audioOutputDevice.Get());
  EXPECT_STREQ(expected.midiInputPort.Get(), read.midiInputPort.Get());
  EXPECT_STREQ(expected.midiOutputPort.Get(), read.midiOutputPort.Get());
  EXPECT_TRUE(read.Equals(expected));
}

TEST_F(HostTest, LongDeviceNamesAreKeptWhole)
{
  std::string name;
  for (int i = 0; i < 60; ++i)
    name += "\xC3\xA9"; // 120 bytes of UTF-8
  name += " Interface";
  ASSERT_TRUE(MakeHost());
  host->ReadSettings();
  host->EditedSettings().audioInputDevice.Set(name.c_str());
  host->WriteSettings();
  ASSERT_TRUE(MakeHost());
  host->ReadSettings();
  EXPECT_EQ(name, host->EditedSettings().audioInputDevice.Get());
}

TEST_F(HostTest, MissingKeysReadAsTheirReadingDefaultsAndTheFileIsCompletedAgain)
{
  CreateDirectoryW(Utf8ToWide(folder + "\\Tarnwick").c_str(), nullptr);
  WriteBytes(SettingsPath(), "[audio]\r\nsr=48000\r\nbuffer=1024\r\n[midi]\r\ninchan=5\r\n");
  ASSERT_TRUE(MakeHost());
  host->ReadSettings();
  const StandaloneSettings& s = host->EditedSettings();
  EXPECT_STREQ("Built-in Input", s.audioInputDevice.Get());
  EXPECT_STREQ("Built-in Output", s.audioOutputDevice.Get());
  EXPECT_STREQ("no input", s.midiInputPort.Get());
  EXPECT_STREQ("no output", s.midiOutputPort.Get());
  EXPECT_EQ(48000, s.sampleRate);
  EXPECT_EQ(1024, s.bufferSize);
  EXPECT_EQ(5, s.midiInputChannel);
  EXPECT_EQ(0, s.midiOutputChannel);
  EXPECT_EQ(1, s.inputChannel1);
  EXPECT_EQ(2, s.outputChannel2);
  // Keys already in the file keep their places; the missing ones are added.
  EXPECT_EQ("Built-in Output", IniString(SettingsPath(), "audio", "outdev"));
  EXPECT_EQ("1024", IniString(SettingsPath(), "audio", "buffer"));
}

TEST_F(HostTest, EmptyTruncatedAndGarbageFilesGiveTheReadingDefaults)
{
  std::string garbage;
  for (int i = 0; i < 3000; ++i)
    garbage += static_cast<char>((i * 7919 + 13) & 0xFF);
  const std::string files[] = {
    "",
    "[audio]\r\nindev=Line In\r\nsr=4", // cut in the middle of a value
    "[aud",
    garbage,
    "[audio]\r\nsr=-5\r\nbuffer=999999999\r\ndriver=7\r\nin1=0\r\n[midi]\r\ninchan=99\r\noutchan=-1\r\n",
  };
  for (const std::string& bytes : files)
  {
    SCOPED_TRACE(bytes.substr(0, 40));
    RemoveFolder(folder + "\\Tarnwick");
    CreateDirectoryW(Utf8ToWide(folder + "\\Tarnwick").c_str(), nullptr);
    WriteBytes(SettingsPath(), bytes);
    ASSERT_TRUE(MakeHost());
    host->ReadSettings();
    const StandaloneSettings& s = host->EditedSettings();
    EXPECT_EQ(0, s.driverType);
    EXPECT_GE(s.sampleRate, 8000);
    EXPECT_LE(s.sampleRate, 768000);
    EXPECT_GE(s.bufferSize, 16);
    EXPECT_LE(s.bufferSize, 16384);
    EXPECT_GE(s.inputChannel1, 1);
    EXPECT_LE(s.midiInputChannel, 16);
    EXPECT_LE(s.midiOutputChannel, 16);
    EXPECT_GE(s.midiOutputChannel, 0);
    EXPECT_STREQ("Built-in Output", s.audioOutputDevice.Get());
    if (bytes.empty() || bytes == garbage)
    {
      EXPECT_STREQ("Built-in Input", s.audioInputDevice.Get());
      EXPECT_EQ(44100, s.sampleRate);
      EXPECT_EQ(512, s.bufferSize);
    }
    // Whatever was there, a complete file is back.
    EXPECT_NE("<missing>", IniString(SettingsPath(), "midi", "outchan"));
    EXPECT_EQ(std::to_string(s.sampleRate), IniString(SettingsPath(), "audio", "sr"));
  }
}

TEST_F(HostTest, NoFolderToBeHadMeansNoFileButDefaults)
{
  SetNextPluginOptions(TestPluginAPP::Options());
  StandaloneHost::Services services = TestServices();
  services.localAppDataFolder = [](pfw::GrowString&) { return false; };
  host = StandaloneHost::Create(MakeTestPlugin, services);
  ASSERT_TRUE(host);
  EXPECT_FALSE(host->ReadSettings());
  EXPECT_STREQ("Default Device", host->EditedSettings().audioInputDevice.Get());
  EXPECT_STREQ("", host->GetSettingsPath());
}

TEST(StandaloneHostServices, TheSettingsFolderIsTheUsersLocalApplicationDataFolder)
{
  pfw::GrowString folder;
  ASSERT_TRUE(StandaloneHost::DefaultServices().localAppDataFolder(folder));
  const std::string path = folder.Get();
  ASSERT_FALSE(path.empty());
  EXPECT_NE('\\', path.back());
  EXPECT_TRUE(FolderExists(path)) << path;
}
