// MIDI ports by name and the way incoming MIDI reaches the plug-in; the plug-in side of
// the standalone wrapper (rings, MIDI output, editor size).

#include "HostTestSupport.h"

#include "framework/core/Timer.h"

using audio::FakeAudioSystem;
using midi::FakeMidiSystem;

namespace {

class NoTimer : public pfw::Timer
{
public:
  void Stop() override {}
};

unsigned long Packed(uint8_t status, uint8_t data1, uint8_t data2)
{
  return status | (static_cast<unsigned long>(data1) << 8) | (static_cast<unsigned long>(data2) << 16);
}

std::vector<unsigned char> SysEx(size_t size)
{
  std::vector<unsigned char> bytes(size, 0x11);
  bytes.front() = 0xF0;
  bytes.back() = 0xF7;
  for (size_t i = 1; i + 1 < size; ++i)
    bytes[i] = static_cast<unsigned char>(i & 0x7F);
  return bytes;
}

} // namespace

class HostMidiTest : public HostTest
{
protected:
  void StartWith(const char* storedInput, const char* storedOutput)
  {
    FakeMidiSystem::Get().SetPorts({"Keys", "Pads", "Keys"}, {"Synth"});
    CreateDirectoryW(Utf8ToWide(folder + "\\Tarnwick").c_str(), nullptr);
    WriteBytes(SettingsPath(), std::string("[midi]\r\nindev=") + storedInput + "\r\noutdev=" + storedOutput + "\r\n");
    ASSERT_TRUE(MakeHost());
    ASSERT_TRUE(host->Init());
  }

  // One block through the wrapper, as the audio callback would run it.
  void RunBlock()
  {
    std::vector<double> in(2 * 512, 0.0), out(2 * 512, 0.0);
    double* inputs[2] = {in.data(), in.data() + 512};
    double* outputs[2] = {out.data(), out.data() + 512};
    host->GetPlugin()->ProcessHostBuffers(inputs, 2, outputs, 2, 512);
  }
};

TEST_F(HostMidiTest, PortsAreListedByNameAndTheStoredOnesOpened)
{
  StartWith("Pads", "Synth");
  EXPECT_EQ((std::vector<std::string>{"off", "Keys", "Pads", "Keys (2)"}), host->MidiInputNames());
  EXPECT_EQ((std::vector<std::string>{"off", "Synth"}), host->MidiOutputNames());
  EXPECT_EQ(1, FakeMidiSystem::Get().OpenInputPort());
  EXPECT_EQ(0, FakeMidiSystem::Get().OpenOutputPort());
  EXPECT_EQ(0, host->FindMidiPortIndex(false, "off"));
  EXPECT_EQ(3, host->FindMidiPortIndex(false, "Keys (2)"));
  EXPECT_EQ(-1, host->FindMidiPortIndex(false, "keys"));
  EXPECT_EQ(1, host->FindMidiPortIndex(true, "Synth"));

  ASSERT_TRUE(host->SelectMidiPort(false, "off"));
  EXPECT_EQ(-1, FakeMidiSystem::Get().OpenInputPort());
  ASSERT_TRUE(host->SelectMidiPort(false, "Keys (2)"));
  EXPECT_EQ(2, FakeMidiSystem::Get().OpenInputPort());
  EXPECT_EQ("Pads", IniString(SettingsPath(), "midi", "indev")); // selecting does not store
}

TEST_F(HostMidiTest, AStoredPortThatIsGoneIsResetToOffInTheFile)
{
  StartWith("Old Keyboard", "no output");
  EXPECT_STREQ("off", host->EditedSettings().midiInputPort.Get());
  EXPECT_STREQ("off", host->EditedSettings().midiOutputPort.Get());
  EXPECT_EQ("off", IniString(SettingsPath(), "midi", "indev"));
  EXPECT_EQ("off", IniString(SettingsPath(), "midi", "outdev"));
  EXPECT_EQ(-1, FakeMidiSystem::Get().OpenInputPort());
  EXPECT_EQ(-1, FakeMidiSystem::Get().OpenOutputPort());
}

TEST_F(HostMidiTest, WithNoPortsEverythingStillOpensAndRuns)
{
  UseDuplexDevice();
  FakeAudioSystem::Get().SetStepped(true);
  ASSERT_TRUE(MakeHost());
  ASSERT_TRUE(host->Init());
  EXPECT_EQ((std::vector<std::string>{"off"}), host->MidiInputNames());
  EXPECT_EQ((std::vector<std::string>{"off"}), host->MidiOutputNames());
  EXPECT_TRUE(host->SelectMidiPort(false, "off"));
  EXPECT_TRUE(host->SelectMidiPort(true, "Anything"));
  EXPECT_STREQ("off", host->EditedSettings().midiOutputPort.Get());
  ASSERT_TRUE(host->TryStartAudio());
  EXPECT_TRUE(FakeAudioSystem::Get().RunBlocks(3));
}

TEST_F(HostMidiTest, MidiObjectsThatCannotBeMadeLeaveNoPortsAndSelectionFails)
{
  FakeMidiSystem::Get().SetPorts({"Keys"}, {"Synth"});
  FakeMidiSystem::Get().FailCreate(true, false);
  ASSERT_TRUE(MakeHost());
  host->Init();
  EXPECT_FALSE(host->GetMidiInput());
  EXPECT_FALSE(host->GetMidiOutput());
  EXPECT_TRUE(host->MidiInputNames().empty());
  EXPECT_FALSE(host->SelectMidiPort(false, "Keys"));

  FakeMidiSystem::Get().FailCreate(false, true);
  ASSERT_TRUE(MakeHost());
  host->Init();
  EXPECT_TRUE(host->GetMidiInput());
  EXPECT_FALSE(host->GetMidiOutput());
  EXPECT_TRUE(host->MidiInputNames().empty());
  EXPECT_FALSE(host->SelectMidiPort(true, "Synth"));
  EXPECT_TRUE(host->SelectMidiPort(false, "Keys"));
}

TEST_F(HostMidiTest, MessagesReachTheProcessorAndTheEditorClassifiedByTheirStatusByte)
{
  StartWith("Keys", "off");
  FakeMidiSystem& midi = FakeMidiSystem::Get();
  ASSERT_TRUE(midi.ReceiveShort(Packed(0x90, 60, 100)));
  ASSERT_TRUE(midi.ReceiveShort(Packed(0xC3, 5, 0)));    // program change: two bytes
  ASSERT_TRUE(midi.ReceiveShort(Packed(0xF8, 0, 0)));    // clock: dropped by the port
  ASSERT_TRUE(midi.ReceiveShort(Packed(0xFE, 0, 0)));    // active sensing: passes
  ASSERT_TRUE(midi.ReceiveSysEx(SysEx(6)));
  ASSERT_TRUE(midi.ReceiveSysEx({0xF0, 0x7D, 0xF7}));   // three bytes, still system exclusive
  ASSERT_TRUE(midi.ReceiveSysEx(SysEx(600)));           // too long for an entry: dropped
  ASSERT_TRUE(midi.ReceiveSysEx(SysEx(512)));           // exactly fits
  TestPluginAPP& plugin = Plugin();
  EXPECT_TRUE(plugin.midi.empty()); // nothing before the next block
  RunBlock();

  ASSERT_EQ(3u, plugin.midi.size());
  EXPECT_EQ(0, plugin.midi[0].offset);
  EXPECT_EQ(0x90, plugin.midi[0].status);
  EXPECT_EQ(60, plugin.midi[0].data1);
  EXPECT_EQ(100, plugin.midi[0].data2);
  EXPECT_EQ(0xC3, plugin.midi[1].status);
  EXPECT_EQ(5, plugin.midi[1].data1);
  EXPECT_EQ(0, plugin.midi[1].data2);
  EXPECT_EQ(0xFE, plugin.midi[2].status);
  ASSERT_EQ(3u, plugin.sysEx.size());
  EXPECT_EQ(SysEx(6), plugin.sysEx[0]);
  EXPECT_EQ((std::vector<uint8_t>{0xF0, 0x7D, 0xF7}), plugin.sysEx[1]);
  EXPECT_EQ(SysEx(512), plugin.sysEx[2]);

  // The editor's idle work sees device MIDI too.
  NoTimer timer;
  host->GetPlugin()->OnTimer(timer);
  ASSERT_EQ(3u, plugin.midiAtEditor.size());
  EXPECT_EQ(0x90, plugin.midiAtEditor[0].status);
  EXPECT_EQ((std::vector<int>{6, 3, 512}), plugin.sysExSizesAtEditor);
}

TEST_F(HostMidiTest, ThirtyTwoEventsWaitForTheNextBlockInOrderAndMoreAreDropped)
{
  StartWith("Keys", "off");
  for (int i = 0; i < 40; ++i)
    ASSERT_TRUE(FakeMidiSystem::Get().ReceiveShort(Packed(0xB0, static_cast<uint8_t>(i), 1)));
  for (int i = 0; i < 6; ++i)
    ASSERT_TRUE(FakeMidiSystem::Get().ReceiveSysEx(SysEx(10 + i)));
  RunBlock();
  ASSERT_EQ(32u, Plugin().midi.size());
  for (int i = 0; i < 32; ++i)
    EXPECT_EQ(i, Plugin().midi[static_cast<size_t>(i)].data1);
  ASSERT_EQ(4u, Plugin().sysEx.size());
  EXPECT_EQ(13u, Plugin().sysEx[3].size());
  // The rings are free again.
  ASSERT_TRUE(FakeMidiSystem::Get().ReceiveShort(Packed(0x80, 60, 0)));
  RunBlock();
  ASSERT_EQ(33u, Plugin().midi.size());
  EXPECT_EQ(0x80, Plugin().midi.back().status);
}

TEST_F(HostMidiTest, EditorMidiReachesTheProcessorButNotTheEditorAgain)
{
  StartWith("off", "off");
  host->GetPlugin()->QueueMidiMsgFromUI(pfw::IMidiEvent{0, 0xB0, 7, 64});
  RunBlock();
  ASSERT_EQ(1u, Plugin().midi.size());
  EXPECT_EQ(7, Plugin().midi[0].data1);
  NoTimer timer;
  host->GetPlugin()->OnTimer(timer);
  EXPECT_TRUE(Plugin().midiAtEditor.empty());
}

TEST_F(HostMidiTest, MidiOutputNeedsAPortObjectAndAPlugInThatSendsMidi)
{
  FakeMidiSystem::Get().SetPorts({}, {"Synth"});
  CreateDirectoryW(Utf8ToWide(folder + "\\Tarnwick").c_str(), nullptr);
  WriteBytes(SettingsPath(), "[midi]\r\noutdev=Synth\r\n");
  TestPluginAPP::Options options;
  options.midiOut = true;
  ASSERT_TRUE(MakeHost(options));
  host->Init();
  pfw::IPluginAPP& plugin = *host->GetPlugin();
  EXPECT_TRUE(plugin.SendMidiMsg(pfw::IMidiEvent{0, 0xB0, 1, 2}));
  const uint8_t bytes[] = {0xF0, 0x01, 0x02, 0xF7};
  EXPECT_TRUE(plugin.SendSysEx(pfw::ISysExMessage{0, 4, bytes}));
  plugin.SendSysexMsgFromUI(pfw::ISysExMessage{0, 4, bytes});
  EXPECT_FALSE(plugin.SendSysEx(pfw::ISysExMessage{0, 0, bytes}));
  EXPECT_FALSE(plugin.SendSysEx(pfw::ISysExMessage{0, 3, nullptr}));
  const std::vector<std::vector<unsigned char>> sent = FakeMidiSystem::Get().Sent();
  ASSERT_EQ(3u, sent.size());
  EXPECT_EQ((std::vector<unsigned char>{0xB0, 1, 2}), sent[0]);
  EXPECT_EQ((std::vector<unsigned char>{0xF0, 0x01, 0x02, 0xF7}), sent[1]);
  EXPECT_EQ(sent[1], sent[2]);

  // With the output port switched off there is nothing to send through.
  ASSERT_TRUE(host->SelectMidiPort(true, "off"));
  EXPECT_FALSE(plugin.SendMidiMsg(pfw::IMidiEvent{0, 0xB0, 1, 2}));
  EXPECT_FALSE(plugin.SendSysEx(pfw::ISysExMessage{0, 4, bytes}));
  EXPECT_EQ(3u, FakeMidiSystem::Get().Sent().size());

  // A plug-in that declares no MIDI output sends nothing.
  ASSERT_TRUE(MakeHost());
  host->Init();
  EXPECT_FALSE(host->GetPlugin()->SendMidiMsg(pfw::IMidiEvent{0, 0xB0, 1, 2}));
  EXPECT_FALSE(host->GetPlugin()->SendSysEx(pfw::ISysExMessage{0, 4, bytes}));
  EXPECT_EQ(3u, FakeMidiSystem::Get().Sent().size());
}

TEST_F(HostTest, TheWrapperConnectsItsChannelsSizesItsBlocksAndKeepsTheEditorSize)
{
  ASSERT_TRUE(MakeHost());
  pfw::IPluginAPP& plugin = *host->GetPlugin();
  EXPECT_EQ(pfw::kAPIAPP, plugin.GetAPI());
  EXPECT_EQ(512, plugin.GetBlockSize());
  EXPECT_EQ(host, plugin.GetHost());
  EXPECT_TRUE(plugin.IsChannelConnected(pfw::kInput, 1));
  EXPECT_TRUE(plugin.IsChannelConnected(pfw::kOutput, 1));
  EXPECT_FALSE(plugin.ResizeHostView(640, 480));
  EXPECT_EQ(640, plugin.GetEditorWidth());
  EXPECT_EQ(480, plugin.GetEditorHeight());

  // An instrument hears nothing from the device's inputs.
  TestPluginAPP::Options instrument;
  instrument.plugType = 1;
  ASSERT_TRUE(MakeHost(instrument));
  std::vector<double> in(1024, 0.5), out(1024, 1.0);
  double* inputs[2] = {in.data(), in.data() + 512};
  double* outputs[2] = {out.data(), out.data() + 512};
  host->GetPlugin()->ProcessHostBuffers(inputs, 2, outputs, 2, 512);
  EXPECT_EQ(0, Plugin().connectedInputs.load());
  EXPECT_EQ(2, Plugin().connectedOutputs.load());
  EXPECT_EQ(0.0, out[100]);
}
