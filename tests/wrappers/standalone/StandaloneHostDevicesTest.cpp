// Device probing and the choice of devices: names without their prefix, stored devices,
// the defaults standing in for devices that are gone, no default at all, failures to open
// or start, and channel counts the devices really offer.

#include "HostTestSupport.h"

using audio::FakeAudioDevice;
using audio::FakeAudioSystem;

namespace {

std::vector<FakeAudioDevice> Devices()
{
  std::vector<FakeAudioDevice> devices(5);
  devices[0].name = "Speakers: Realtek HD";
  devices[0].outputChannels = 2;
  devices[1].name = "Mic: USB Mic";
  devices[1].inputChannels = 1;
  devices[2].name = "Primary Sound Driver";
  devices[2].outputChannels = 2;
  devices[2].isDefaultOutput = true;
  devices[3].name = "Interface \xC3\x9C" "ber: 8x8: Main";
  devices[3].inputChannels = 8;
  devices[3].outputChannels = 8;
  devices[4].name = "Primary Sound Capture Driver";
  devices[4].inputChannels = 2;
  devices[4].isDefaultInput = true;
  return devices;
}

} // namespace

TEST_F(HostTest, ProbingListsDevicesByDirectionAndShowsNamesWithoutTheirPrefix)
{
  FakeAudioSystem::Get().SetDevices(Devices());
  ASSERT_TRUE(MakeHost());
  host->CreateAudioDriver();
  host->ProbeAudioDevices();
  RtAudio* audio = host->GetAudioDriver();
  ASSERT_TRUE(audio);
  std::vector<std::string> inputs, outputs;
  for (unsigned int id : host->InputDeviceIds())
    inputs.push_back(host->GetAudioDeviceName(id));
  for (unsigned int id : host->OutputDeviceIds())
    outputs.push_back(host->GetAudioDeviceName(id));
  // Everything up to the first colon goes; the blank after it stays.
  EXPECT_EQ((std::vector<std::string>{" USB Mic", " 8x8: Main", "Primary Sound Capture Driver"}), inputs);
  EXPECT_EQ((std::vector<std::string>{" Realtek HD", "Primary Sound Driver", " 8x8: Main"}), outputs);
  ASSERT_TRUE(host->DefaultInputId());
  ASSERT_TRUE(host->DefaultOutputId());
  EXPECT_EQ("Primary Sound Capture Driver", host->GetAudioDeviceName(*host->DefaultInputId()));
  EXPECT_EQ("Primary Sound Driver", host->GetAudioDeviceName(*host->DefaultOutputId()));

  EXPECT_EQ(host->InputDeviceIds()[1], host->FindAudioDeviceId(" 8x8: Main"));
  EXPECT_FALSE(host->FindAudioDeviceId("Interface \xC3\x9C" "ber: 8x8: Main")); // the full name is not the display name
  EXPECT_FALSE(host->FindAudioDeviceId("USB Mic"));
  EXPECT_FALSE(host->FindAudioDeviceId("Default Device"));

  // A new audio object starts from its own devices: no stale default survives.
  std::vector<FakeAudioDevice> noDefaults = Devices();
  noDefaults[2].isDefaultOutput = false;
  noDefaults[4].isDefaultInput = false;
  FakeAudioSystem::Get().SetDevices(noDefaults);
  host->CreateAudioDriver();
  host->ProbeAudioDevices();
  EXPECT_FALSE(host->DefaultInputId());
  EXPECT_FALSE(host->DefaultOutputId());
}

TEST_F(HostTest, FirstStartOpensTheDefaultDevicesAndStoresTheirNamesInOnePass)
{
  FakeAudioSystem::Get().SetDevices(Devices());
  FakeAudioSystem::Get().SetStepped(true);
  ASSERT_TRUE(MakeHost());
  ASSERT_TRUE(host->Init());
  EXPECT_EQ(1, Plugin().activations.load());
  EXPECT_EQ(0x010203, host->GetPlugin()->GetHostVersion());
  EXPECT_TRUE(host->TryStartAudio());
  EXPECT_TRUE(messages.empty());
  EXPECT_EQ("Primary Sound Capture Driver", IniString(SettingsPath(), "audio", "indev"));
  EXPECT_EQ("Primary Sound Driver", IniString(SettingsPath(), "audio", "outdev"));
  const audio::FakeStreamRecord opened = FakeAudioSystem::Get().LastOpened();
  EXPECT_EQ("Primary Sound Capture Driver", opened.inputDevice);
  EXPECT_EQ("Primary Sound Driver", opened.outputDevice);
  EXPECT_EQ(44100u, opened.sampleRate);
  EXPECT_EQ(512u, opened.frames);
  EXPECT_TRUE(host->GetAudioDriver()->isStreamRunning());
  EXPECT_TRUE(host->ActiveSettings().Equals(host->EditedSettings()));
  EXPECT_EQ(44100.0, Plugin().sampleRateAtReset);
}

TEST_F(HostTest, StoredDevicesAreOpenedAndAGoneDeviceIsReplacedByTheDefaultOfItsDirection)
{
  FakeAudioSystem::Get().SetDevices(Devices());
  FakeAudioSystem::Get().SetStepped(true);
  CreateDirectoryW(Utf8ToWide(folder + "\\Tarnwick").c_str(), nullptr);
  WriteBytes(SettingsPath(), "[audio]\r\nindev=\" 8x8: Main\"\r\noutdev=\" Realtek HD\"\r\nsr=48000\r\nbuffer=1024\r\n");
  ASSERT_TRUE(MakeHost());
  host->Init();
  ASSERT_TRUE(host->TryStartAudio());
  audio::FakeStreamRecord opened = FakeAudioSystem::Get().LastOpened();
  EXPECT_EQ("Interface \xC3\x9C" "ber: 8x8: Main", opened.inputDevice);
  EXPECT_EQ("Speakers: Realtek HD", opened.outputDevice);
  EXPECT_EQ(48000u, opened.sampleRate);
  EXPECT_EQ(1024u, opened.frames);
  // The plug-in's main input has two channels: two of the interface's eight are opened.
  EXPECT_EQ(2u, opened.inputChannels);
  EXPECT_EQ(2u, opened.outputChannels);

  // The output device is unplugged: the next start takes the default output, keeps the
  // input, and the file says so at once.
  std::vector<FakeAudioDevice> devices = Devices();
  devices.erase(devices.begin());
  FakeAudioSystem::Get().SetDevices(devices);
  ASSERT_TRUE(MakeHost());
  host->Init();
  ASSERT_TRUE(host->TryStartAudio());
  opened = FakeAudioSystem::Get().LastOpened();
  EXPECT_EQ("Interface \xC3\x9C" "ber: 8x8: Main", opened.inputDevice);
  EXPECT_EQ("Primary Sound Driver", opened.outputDevice);
  EXPECT_EQ(" 8x8: Main", IniString(SettingsPath(), "audio", "indev"));
  EXPECT_EQ("Primary Sound Driver", IniString(SettingsPath(), "audio", "outdev"));
  EXPECT_TRUE(messages.empty());
}

TEST_F(HostTest, AMissingIndevKeyMeansBuiltInInputWhichTheDefaultReplaces)
{
  FakeAudioSystem::Get().SetDevices(Devices());
  FakeAudioSystem::Get().SetStepped(true);
  CreateDirectoryW(Utf8ToWide(folder + "\\Tarnwick").c_str(), nullptr);
  WriteBytes(SettingsPath(), "[audio]\r\noutdev=Primary Sound Driver\r\n");
  ASSERT_TRUE(MakeHost());
  host->Init();
  EXPECT_STREQ("Built-in Input", host->EditedSettings().audioInputDevice.Get());
  ASSERT_TRUE(host->TryStartAudio());
  EXPECT_EQ("Primary Sound Capture Driver", IniString(SettingsPath(), "audio", "indev"));
}

TEST_F(HostTest, WithoutADefaultDeviceTheUserIsAskedToCheckTheSettingsAndNoStreamOpens)
{
  std::vector<FakeAudioDevice> devices = Devices();
  devices[4].isDefaultInput = false;
  FakeAudioSystem::Get().SetDevices(devices);
  ASSERT_TRUE(MakeHost());
  host->Init();
  HWND window = reinterpret_cast<HWND>(0x1234);
  host->SetMainWindow(window);
  EXPECT_FALSE(host->TryStartAudio());
  ASSERT_EQ(1u, messages.size());
  EXPECT_EQ("Please check the audio settings", messages[0].text);
  EXPECT_EQ("Error", messages[0].caption);
  EXPECT_EQ(static_cast<UINT>(MB_OK), messages[0].type);
  EXPECT_FALSE(host->GetAudioDriver()->isStreamOpen());
  // The output was replaced and saved all the same; the input name stays for the user to fix.
  EXPECT_EQ("Primary Sound Driver", IniString(SettingsPath(), "audio", "outdev"));
  EXPECT_EQ("Default Device", IniString(SettingsPath(), "audio", "indev"));

  // No devices at all: the same message, and nothing else goes wrong.
  FakeAudioSystem::Get().SetDevices({});
  ASSERT_TRUE(MakeHost());
  host->Init();
  EXPECT_TRUE(host->InputDeviceIds().empty());
  EXPECT_FALSE(host->TryStartAudio());
  EXPECT_EQ(2u, messages.size());
}

TEST_F(HostTest, FailingToOpenOrStartIsReportedAndKeepsTheActiveSettings)
{
  FakeAudioSystem::Get().SetDevices(Devices());
  FakeAudioSystem::Get().SetStepped(true);
  ASSERT_TRUE(MakeHost());
  host->Init();
  const StandaloneSettings before = host->ActiveSettings();

  FakeAudioSystem::Get().FailOpen(true);
  EXPECT_FALSE(host->TryStartAudio());
  EXPECT_FALSE(host->GetAudioDriver()->isStreamOpen());
  EXPECT_TRUE(host->ActiveSettings().Equals(before));
  ASSERT_FALSE(AudioErrors().empty());
  EXPECT_NE(std::string::npos, AudioErrors().back().find("openStream"));

  FakeAudioSystem::Get().FailOpen(false);
  FakeAudioSystem::Get().FailStart(true);
  EXPECT_FALSE(host->TryStartAudio());
  EXPECT_TRUE(host->GetAudioDriver()->isStreamOpen()); // opened, not started
  EXPECT_FALSE(host->GetAudioDriver()->isStreamRunning());
  EXPECT_TRUE(host->ActiveSettings().Equals(before));
  EXPECT_NE(std::string::npos, AudioErrors().back().find("startStream"));

  // A sample rate the device does not have fails the same way.
  FakeAudioSystem::Get().FailStart(false);
  host->EditedSettings().sampleRate = 22050;
  EXPECT_FALSE(host->TryStartAudio());
  host->EditedSettings().sampleRate = 48000;
  EXPECT_TRUE(host->TryStartAudio());
  EXPECT_EQ(48000, host->ActiveSettings().sampleRate);
  EXPECT_TRUE(messages.empty());
}

TEST_F(HostTest, ARateThePluginCannotRunFallsBackToTheNearestSharedRateAndIsSaved)
{
  std::vector<FakeAudioDevice> devices = Devices();
  devices[2].sampleRates = {8000, 11025, 44100, 48000, 96000, 384000};
  devices[4].sampleRates = {8000, 11025, 44100, 48000, 384000};
  FakeAudioSystem::Get().SetDevices(devices);
  FakeAudioSystem::Get().SetStepped(true);
  ASSERT_TRUE(MakeHost());
  host->Init();
  // Requested, then opened: the rates the plug-in runs that both devices list are 44100
  // and 48000 (96000 is the output's only, 384000 beyond the plug-in).
  const int cases[][2] = {{8000, 44100}, {11025, 44100}, {384000, 48000}, {768000, 48000}, {44100, 44100}};
  for (const auto& c : cases)
  {
    host->EditedSettings().sampleRate = c[0];
    EXPECT_TRUE(host->TryStartAudio()) << c[0];
    EXPECT_EQ(static_cast<unsigned int>(c[1]), FakeAudioSystem::Get().LastOpened().sampleRate) << c[0];
    EXPECT_EQ(c[1], host->ActiveSettings().sampleRate) << c[0];
    if (c[0] != c[1]) // a fallback is saved
    {
      EXPECT_EQ(std::to_string(c[1]), IniString(SettingsPath(), "audio", "sr")) << c[0];
    }
  }
  // Devices that share no rate the plug-in runs: the nearest rate it runs is tried, and
  // refused by the devices, rather than a stream opened at the wrong speed.
  devices[2].sampleRates = {8000, 11025};
  devices[4].sampleRates = {8000, 11025};
  FakeAudioSystem::Get().SetDevices(devices);
  host->CreateAudioDriver();
  host->ProbeAudioDevices();
  host->EditedSettings().sampleRate = 11025;
  EXPECT_FALSE(host->TryStartAudio());
  EXPECT_FALSE(host->GetAudioDriver()->isStreamOpen());
  EXPECT_EQ("22050", IniString(SettingsPath(), "audio", "sr"));
  EXPECT_TRUE(messages.empty());
}

TEST_F(HostTest, AMonoCaptureDeviceFeedsOneInputAndTheRestOfTheProcessorHearsSilence)
{
  FakeAudioSystem::Get().SetDevices(Devices());
  FakeAudioSystem::Get().SetStepped(true);
  FakeAudioSystem::Get().SetInput([](unsigned int channel, unsigned long long) { return channel == 0 ? 0.25f : 9.0f; });
  CreateDirectoryW(Utf8ToWide(folder + "\\Tarnwick").c_str(), nullptr);
  WriteBytes(SettingsPath(), "[audio]\r\nindev=\" USB Mic\"\r\noutdev=Primary Sound Driver\r\n");
  TestPluginAPP::Options options;
  options.channelIO = "1-2 2-2 2.2-2"; // a main pair and a side-chain pair: four inputs
  ASSERT_TRUE(MakeHost(options));
  host->Init();
  EXPECT_EQ(4, host->GetPlugin()->NChannels(pfw::kInput));
  ASSERT_TRUE(host->TryStartAudio());
  EXPECT_EQ(1u, FakeAudioSystem::Get().LastOpened().inputChannels);
  EXPECT_EQ(1, host->StreamInputChannels());
  ASSERT_TRUE(FakeAudioSystem::Get().RunBlocks(3));
  EXPECT_EQ(1, Plugin().connectedInputs.load());
  EXPECT_EQ(2, Plugin().connectedOutputs.load());
  const std::vector<float> left = FakeAudioSystem::Get().Output(0);
  const std::vector<float> right = FakeAudioSystem::Get().Output(1);
  ASSERT_EQ(3u * 512, left.size());
  EXPECT_FLOAT_EQ(0.25f, left[1000]);
  EXPECT_FLOAT_EQ(0.0f, right[1000]); // processor input 1 is not connected: silence
}

TEST_F(HostTest, NoIOModeMakesNoDevicesButStillKeepsTheSettingsFile)
{
  FakeAudioSystem::Get().SetDevices(Devices());
  midi::FakeMidiSystem::Get().SetPorts({"Keys"}, {"Synth"});
  CreateDirectoryW(Utf8ToWide(folder + "\\Tarnwick").c_str(), nullptr);
  WriteBytes(SettingsPath(), "[midi]\r\nindev=Keys\r\noutdev=Gone Synth\r\n");
  ASSERT_TRUE(MakeHost());
  host->SetScreenshotPath("shot.png");
  EXPECT_TRUE(host->IsNoIO());
  EXPECT_TRUE(host->Init());
  EXPECT_FALSE(host->GetAudioDriver());
  EXPECT_FALSE(host->GetMidiInput());
  EXPECT_FALSE(host->GetMidiOutput());
  EXPECT_TRUE(host->TryStartAudio());
  EXPECT_FALSE(FakeAudioSystem::Get().Running());
  EXPECT_EQ(-1, midi::FakeMidiSystem::Get().OpenInputPort());
  // Stored ports stay as they were, even one that does not exist.
  EXPECT_EQ("Keys", IniString(SettingsPath(), "midi", "indev"));
  EXPECT_EQ("Gone Synth", IniString(SettingsPath(), "midi", "outdev"));
  EXPECT_FALSE(host->GetPlugin()->SendMidiMsg(pfw::IMidiEvent{0, 0x90, 60, 100}));
}
