// The program run inside the test process: start-up, the Preferences dialog driven by
// messages, devices that are gone or missing, exceptions, a knob dragged by the display's
// pointer, and the real devices through PulseAudio's null sink.

#include "ProgramTestSupport.h"

#include "framework/core/IParam.h"
#include "tests/support/DisplayPointer.h"
#include "tests/support/MessagePump.h"
#include "tests/support/ThreadEnded.h"
#include "wrappers/standalone/program/ResourceIds.h"

#include <tlhelp32.h>

#include <algorithm>
#include <cmath>
#include <set>
#include <string>
#include <stdexcept>

namespace {

audio::FakeAudioDevice Device(const char* name, std::vector<unsigned int> rates, bool isDefault)
{
  audio::FakeAudioDevice device;
  device.name = name;
  device.inputChannels = 2;
  device.outputChannels = 2;
  device.isDefaultInput = device.isDefaultOutput = isDefault;
  device.sampleRates = std::move(rates);
  return device;
}

void UseDeskAndInterface()
{
  audio::FakeAudioSystem::Get().SetDevices(
    {Device("Desk", {44100, 48000}, true), Device("Interface", {48000, 96000}, false)});
}

std::set<DWORD> ThreadsOfThisProcess()
{
  std::set<DWORD> threads;
  HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0);
  THREADENTRY32 entry = {};
  entry.dwSize = sizeof(entry);
  for (BOOL more = Thread32First(snapshot, &entry); more; more = Thread32Next(snapshot, &entry))
    if (entry.th32OwnerProcessID == GetCurrentProcessId())
      threads.insert(entry.th32ThreadID);
  CloseHandle(snapshot);
  return threads;
}

// The file of the module a thread started in.
std::string StartModule(DWORD thread)
{
  using QueryThread = LONG(WINAPI*)(HANDLE thread, int what, void* data, ULONG size, ULONG* written);
  const auto query = reinterpret_cast<QueryThread>(
    reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "NtQueryInformationThread")));
  HANDLE handle = OpenThread(THREAD_QUERY_INFORMATION, FALSE, thread);
  void* start = nullptr;
  const int kStartAddress = 9;
  if (handle && query)
    query(handle, kStartAddress, &start, sizeof(start), nullptr);
  if (handle)
    CloseHandle(handle);
  HMODULE module = nullptr;
  char name[MAX_PATH] = {};
  if (GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                         static_cast<const char*>(start), &module))
    GetModuleFileNameA(module, name, MAX_PATH);
  return name;
}

class AboutThrowsPlugin : public TestPluginAPP
{
public:
  using TestPluginAPP::TestPluginAPP;
  bool ShowAboutBox() override { throw std::runtime_error("about"); }
};

} // namespace

TEST_F(ProgramTest, WithoutAnyAudioDeviceTheUserIsToldAndTheWindowOpensWithoutItsDebuggingMenu)
{
  int menus = -1;
  const int code = RunProgram(ProgramOptions(), [&](HWND main) { menus = GetMenuItemCount(GetMenu(main)); });
  EXPECT_EQ(kExitOk, code);
  EXPECT_TRUE(mainWindowShown);
  EXPECT_EQ(2, menus); // "&File" and "&Help"
  ASSERT_EQ(1u, messages.size());
  EXPECT_EQ("Please check the audio settings", messages[0].text);
  EXPECT_EQ("Error", messages[0].caption);
  EXPECT_FALSE(StandaloneHost::Get());
}

TEST_F(ProgramTest, CtrlShiftSSavesAScreenshotThoughTheDebuggingMenuIsGoneAndCtrlEDoesNothing)
{
  const auto press = [](std::initializer_list<BYTE> keys) {
    for (BYTE key : keys)
      keybd_event(key, 0, 0, 0);
    for (auto key = std::rbegin(keys); key != std::rend(keys); ++key)
      keybd_event(*key, 0, KEYEVENTF_KEYUP, 0);
  };
  RunProgram(ProgramOptions(), [&](HWND main) {
    SetForegroundWindow(main);
    press({VK_CONTROL, 'E'});
    press({VK_CONTROL, VK_SHIFT, 'S'});
    for (int waited = 0; waited < 6000 && messages.size() < 2; ++waited)
      Sleep(10);
  });
  // The message about the missing devices, then the question about the saved picture.
  ASSERT_EQ(2u, messages.size());
  const std::string saved = messages[1].text;
  EXPECT_EQ("Screenshot Saved", messages[1].caption);
  const std::string path = SavedScreenshotPath(saved);
  EXPECT_NE(std::string::npos, path.find("TARN WICK_screenshot_")) << path;
  EXPECT_TRUE(FileExists(path)) << path;
  DeleteFileW(Utf8ToWide(path).c_str());
}

TEST_F(ProgramTest, PreferencesChangeTheDevicesRateAndMidiPortReopenTheStreamAndOkStoresThem)
{
  UseDeskAndInterface();
  midi::FakeMidiSystem::Get().SetPorts({"Keys"}, {"Synth"});
  std::vector<std::string> inputs, firstInputChannel, secondInputChannel, rates, midiInputs;
  audio::FakeStreamRecord afterOk, afterCancel;
  int midiPortAfterOk = -1;
  const int code = RunProgram(ProgramOptions(), [&](HWND main) {
    PostMessageA(main, WM_COMMAND, IDM_PREFERENCES, 0);
    HWND preferences = WaitForOwnWindow(kDialogClass, "Preferences");
    ASSERT_TRUE(preferences);
    inputs = ComboTexts(preferences, IDC_AUDIO_INPUT);
    firstInputChannel = ComboTexts(preferences, IDC_INPUT_CHANNEL_1);
    secondInputChannel = ComboTexts(preferences, IDC_INPUT_CHANNEL_2);
    ChooseInCombo(preferences, IDC_AUDIO_OUTPUT, "Interface");
    // Only what both devices offer.
    rates = ComboTexts(preferences, IDC_SAMPLE_RATE);
    ChooseInCombo(preferences, IDC_SAMPLE_RATE, "48000");
    midiInputs = ComboTexts(preferences, IDC_MIDI_INPUT);
    ChooseInCombo(preferences, IDC_MIDI_INPUT, "Keys");
    ChooseInCombo(preferences, IDC_MIDI_INPUT_CHANNEL, "3");
    SendMessageA(preferences, WM_COMMAND, IDOK, 0);
    afterOk = audio::FakeAudioSystem::Get().LastOpened();
    midiPortAfterOk = midi::FakeMidiSystem::Get().OpenInputPort();

    // A change that is cancelled goes back to what was stored.
    PostMessageA(main, WM_COMMAND, IDM_PREFERENCES, 0);
    for (int waited = 0; waited < 6000 && IsWindow(preferences); ++waited)
      Sleep(10);
    preferences = WaitForOwnWindow(kDialogClass, "Preferences");
    ASSERT_TRUE(preferences);
    ChooseInCombo(preferences, IDC_AUDIO_OUTPUT, "Desk");
    SendMessageA(preferences, WM_COMMAND, IDC_APPLY, 0);
    SendMessageA(preferences, WM_COMMAND, IDCANCEL, 0);
    afterCancel = audio::FakeAudioSystem::Get().LastOpened();
  });
  EXPECT_EQ(kExitOk, code);
  EXPECT_EQ((std::vector<std::string>{"Desk", "Interface"}), inputs);
  // A stereo device: the left channel offers 1, the right 1 and 2.
  EXPECT_EQ(std::vector<std::string>{"1"}, firstInputChannel);
  EXPECT_EQ((std::vector<std::string>{"1", "2"}), secondInputChannel);
  EXPECT_EQ(std::vector<std::string>{"48000"}, rates);
  EXPECT_EQ("Interface", afterOk.outputDevice);
  EXPECT_EQ(48000u, afterOk.sampleRate);
  EXPECT_EQ("Interface", afterCancel.outputDevice);
  EXPECT_EQ("Interface", IniString(SettingsPath(), "audio", "outdev"));
  EXPECT_EQ("48000", IniString(SettingsPath(), "audio", "sr"));
  EXPECT_EQ((std::vector<std::string>{"off", "Keys"}), midiInputs);
  EXPECT_EQ(0, midiPortAfterOk);
  EXPECT_EQ("Keys", IniString(SettingsPath(), "midi", "indev"));
  EXPECT_EQ("3", IniString(SettingsPath(), "midi", "inchan"));
  EXPECT_TRUE(messages.empty());
}

TEST_F(ProgramTest, StoredDevicesThatAreGoneGiveWayToTheDefaultsWhichPlayUntilClosingFadesThemOut)
{
  UseDeskAndInterface();
  audio::FakeAudioSystem& system = audio::FakeAudioSystem::Get();
  system.SetInput([](unsigned int, unsigned long long frame) { return 0.3f * std::sin(0.0314f * frame); });
  CreateDirectoryW(Utf8ToWide(folder + "\\Tarnwick").c_str(), nullptr);
  WriteBytes(SettingsPath(), "[audio]\r\nindev=Gone In\r\noutdev=Gone Out\r\n");
  audio::FakeStreamRecord opened;
  EXPECT_EQ(kExitOk, RunProgram(ProgramOptions(), [&](HWND) {
              opened = system.LastOpened();
              for (int waited = 0; waited < 6000 && system.BlocksRun() < 20; ++waited)
                Sleep(10);
            }));
  EXPECT_EQ("Desk", opened.inputDevice);
  EXPECT_EQ("Desk", opened.outputDevice);
  EXPECT_EQ("Desk", IniString(SettingsPath(), "audio", "indev"));
  EXPECT_EQ("Desk", IniString(SettingsPath(), "audio", "outdev"));
  EXPECT_TRUE(messages.empty());

  // The last callback with sound (512 frames) fades out to nothing; only silence follows.
  const std::vector<float> out = system.Output(0);
  size_t last = out.size();
  while (last > 0 && out[last - 1] == 0.0f)
    --last;
  const size_t fade = (last + 511) / 512 * 512 - 512;
  ASSERT_GE(fade, 512u * 10);
  const auto peak = [&](size_t from, size_t to) {
    float p = 0.0f;
    for (size_t i = from; i < to; ++i)
      p = std::max(p, std::fabs(out[i]));
    return p;
  };
  const float playing = peak(fade - 512, fade);
  EXPECT_GT(playing, 0.01f);
  EXPECT_LT(peak(fade + 460, fade + 512), 0.15f * playing);
  EXPECT_GT(peak(fade, fade + 52), 0.7f * playing);
}

TEST_F(ProgramTest, AnExceptionInStartUpOrInAWindowProcedureEndsTheProgramWithCodeOne)
{
  const StandaloneHost::PluginFactory throwing = [](StandaloneHost&) -> pfw::IPluginAPP* {
    throw std::runtime_error("plug-in");
  };
  EXPECT_EQ(kExitFailure, RunProgram(ProgramOptions(), [](HWND) {}, throwing));
  EXPECT_FALSE(mainWindowShown);

  const StandaloneHost::PluginFactory aboutThrows = [](StandaloneHost& host) -> pfw::IPluginAPP* {
    return new AboutThrowsPlugin(host, TestPluginAPP::Options());
  };
  EXPECT_EQ(kExitFailure,
            RunProgram(ProgramOptions(), [](HWND main) { PostMessageA(main, WM_COMMAND, IDM_ABOUT, 0); }, aboutThrows));
  EXPECT_TRUE(mainWindowShown);
  EXPECT_FALSE(StandaloneHost::Get());
}

// GAIN dragged by the display's pointer past each edge of the program's window and let go
// out there keeps the value the drag gave it while the pointer comes back over the editor
// with no button held, to rest on the knob and show its tip.
TEST_F(ProgramTest, AKnobLetGoOutsideTheWindowStaysWhereTheDragLeftIt)
{
  RunProgram(ProgramOptions(), [&](HWND main) {
    HWND editor = FindWindowExA(main, nullptr, "PluginWndClass", nullptr);
    SetWindowPos(main, HWND_TOP, 300, 100, 0, 0, SWP_NOSIZE);
    RECT window;
    GetWindowRect(main, &window);
    POINT gain = {110, 642};
    ClientToScreen(editor, &gain);
    const pfw::IParam& param = *StandaloneHost::Get()->GetPlugin()->GetParam(24);
    // Down, up, then across the knob: its value at each release.
    for (const auto& [edge, value] : {std::pair{3, 0.0}, {1, 1.0}, {0, 1.0}, {2, 1.0}})
    {
      SCOPED_TRACE(edge);
      ASSERT_TRUE(PlayDragPastEdge(gain, window, edge));
      EXPECT_TRUE(PumpUntil([] { return !TooltipShown(); }, 30.0));
      EXPECT_TRUE(PumpUntil(TooltipShown, 30.0));
      EXPECT_EQ(param.GetNormalized(), value);
    }
  });
}

TEST_F(ProgramTest, OnTheNullSinkTheProgramPlaysTheDefaultDevicesAndClosingLeavesNoThreadBehind)
{
  useFakes = false;
  const std::set<DWORD> before = ThreadsOfThisProcess();
  uint32_t processed = 0;
  const int code = RunProgram(ProgramOptions(), [&](HWND) {
    for (int waited = 0; waited < 6000 && StandaloneHost::Get()->SamplesProcessed() < 44100; ++waited)
      Sleep(10);
    processed = StandaloneHost::Get()->SamplesProcessed();
  });
  EXPECT_EQ(kExitOk, code);
  EXPECT_GE(processed, 44100u);
  EXPECT_TRUE(messages.empty());
  EXPECT_NE("Default Device", IniString(SettingsPath(), "audio", "outdev"));
  EXPECT_NE("Default Device", IniString(SettingsPath(), "audio", "indev"));
  // The system's audio driver keeps its own thread for the process, stream or not.
  for (DWORD thread : ThreadsOfThisProcess())
  {
    const std::string module = StartModule(thread);
    if (!before.count(thread) && module.find(".drv") == std::string::npos)
    {
      EXPECT_TRUE(ThreadEnded(thread)) << "a thread that started in " << module << " is still there";
    }
  }
}
