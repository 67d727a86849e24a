// The host's audio and MIDI callbacks run on threads where nothing may allocate. This
// executable counts every allocation made while they run.
#include "HostTestSupport.h"
#include "tests/support/AllocationCounter.h"

#include "wrappers/standalone/IPluginAPP.h"
#include "wrappers/standalone/StandaloneTarnwick.h"

#include <cmath>
#include <vector>

using allocation_counter::AllocationsDuring;

using audio::FakeAudioSystem;

TEST(AudioCallbackAllocation, TheCounterSeesAllocations)
{
  // So that a zero below means something.
  EXPECT_GE(AllocationsDuring([] { std::vector<float> grows(100); (void)grows; }), 1);
}

TEST_F(HostTest, TheAudioAndMidiCallbacksNeverAllocate)
{
  UseDuplexDevice();
  // Stepped and never released: the stream's own thread waits, and this thread plays it.
  FakeAudioSystem::Get().SetStepped(true);
  midi::FakeMidiSystem::Get().SetPorts({"Keys"}, {});
  CreateDirectoryW(Utf8ToWide(folder + "\\Tarnwick").c_str(), nullptr);
  WriteBytes(SettingsPath(), "[midi]\r\nindev=Keys\r\n");

  host = StandaloneHost::Create(MakeStandaloneTarnwick, TestServices());
  ASSERT_TRUE(host);
  ASSERT_TRUE(host->Init());
  host->EditedSettings().bufferSize = 512;
  ASSERT_TRUE(host->TryStartAudio());
  ASSERT_EQ(2, host->StreamInputChannels());

  // Device buffers taken in place and buffered ones, the first one faded in.
  std::vector<double> input(2 * 1024), output(2 * 1024);
  std::vector<unsigned char> note = {0x90, 60, 100};
  std::vector<unsigned char> sysEx = {0xF0, 0x7D, 1, 2, 3, 0xF7};
  for (unsigned int frames : {512u, 1024u, 96u, 700u, 512u})
  {
    SCOPED_TRACE(frames);
    for (unsigned int i = 0; i < frames; ++i)
      input[i] = input[frames + i] = 0.3 * std::sin(0.05 * i);
    EXPECT_EQ(0, AllocationsDuring([&] {
                StandaloneHost::MidiCallback(0.0, &note, host);
                StandaloneHost::MidiCallback(0.0, &sysEx, host);
              }));
    EXPECT_EQ(0, AllocationsDuring([&] {
                StandaloneHost::AudioCallback(output.data(), input.data(), frames, 0.0, 0, host);
              }));
  }
  EXPECT_GT(host->SamplesProcessed(), 0u);
  EXPECT_EQ(1u, host->CallbackCount());
}
