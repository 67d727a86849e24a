// The audio callback: 512-frame blocks out of any device buffer size, the fade at every
// start and at the stop, silence after the stop, a stop that does not wait forever, and a
// plug-in fault that costs one block.

#include "HostTestSupport.h"

#include "wrappers/standalone/BlockLoop.h"
#include "wrappers/standalone/StandaloneTarnwick.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <thread>

using audio::FakeAudioSystem;
using midi::FakeMidiSystem;

namespace {

// Values a float holds exactly, different on every frame of a block and on each channel.
float InputAt(unsigned int channel, unsigned long long frame)
{
  return static_cast<float>(channel + 1) * 0.125f + static_cast<float>(frame % 997) / 1024.0f;
}

void UseDuplexDeviceWithInput()
{
  UseDuplexDevice();
  FakeAudioSystem::Get().SetInput(InputAt);
}

} // namespace

class HostStreamTest : public HostTest
{
protected:
  void Start(int bufferFrames, const TestPluginAPP::Options& options = TestPluginAPP::Options())
  {
    UseDuplexDeviceWithInput();
    FakeAudioSystem::Get().SetStepped(true);
    ASSERT_TRUE(MakeHost(options));
    host->Init();
    host->EditedSettings().bufferSize = bufferFrames;
    ASSERT_TRUE(host->TryStartAudio());
  }

  // Stops the host while the device keeps calling back; returns the callbacks it took.
  int StopWhileRunning()
  {
    std::atomic<bool> stopped{false};
    std::thread stopper([&] {
      host->StopAudio();
      stopped = true;
    });
    int callbacks = 0;
    while (!stopped)
      callbacks += FakeAudioSystem::Get().RunBlocks(1, 50) ? 1 : 0;
    stopper.join();
    return callbacks;
  }
};

TEST_F(HostStreamTest, EveryDeviceBufferSizeBecomesBlocksOf512WithTheInputIntact)
{
  struct Case
  {
    unsigned int frames;
    unsigned int delay; // frames between a device input and its output
  };
  for (const Case c : {Case{512, 0}, Case{1024, 0}, Case{2048, 0}, Case{4096, 0}, Case{32, 512}, Case{96, 512},
                       Case{256, 512}, Case{700, 512}, Case{1000, 512}, Case{1536, 0}})
  {
    SCOPED_TRACE(c.frames);
    Start(static_cast<int>(c.frames));
    EXPECT_EQ(c.frames, host->GetBufferFrames());
    const unsigned int callbacks = (8 * 512 + c.frames - 1) / c.frames + 1;
    ASSERT_TRUE(FakeAudioSystem::Get().RunBlocks(callbacks));
    const unsigned int total = callbacks * c.frames;
    EXPECT_EQ(total / 512, static_cast<unsigned int>(Plugin().blocks.load()));
    EXPECT_EQ(total / 512 * 512, host->SamplesProcessed());
    EXPECT_EQ(0, Plugin().wrongBlockSizes.load());
    EXPECT_EQ(1u, host->CallbackCount());
    for (unsigned int channel = 0; channel < 2; ++channel)
    {
      const std::vector<float> out = FakeAudioSystem::Get().Output(channel);
      ASSERT_EQ(total, out.size());
      int wrong = 0;
      for (unsigned int i = c.frames; i < total; ++i) // after the faded first callback
      {
        const float expected = i < c.delay ? 0.0f : InputAt(channel, i - c.delay);
        // Frames the first callback faded reach the output later when buffered.
        if (i - c.delay < c.frames && i >= c.delay)
          continue;
        wrong += std::fabs(out[i] - expected) > 1e-6f;
      }
      EXPECT_EQ(0, wrong) << "channel " << channel;
      for (unsigned int i = 0; i < std::min(c.delay, total); ++i)
        ASSERT_EQ(0.0f, out[i]) << "frame " << i << " was played before any block ran";
    }
    StandaloneHost::Destroy();
    FakeAudioSystem::Get().Reset();
  }
}

TEST_F(HostStreamTest, TheFirstCallbackFadesInOnInputAndOutput)
{
  Start(512);
  ASSERT_TRUE(FakeAudioSystem::Get().RunBlocks(2));
  const std::vector<float> out = FakeAudioSystem::Get().Output(0);
  ASSERT_EQ(1024u, out.size());
  EXPECT_EQ(0.0f, out[0]);
  for (unsigned int i = 0; i < 512; ++i)
  {
    const double gain = i / 512.0;
    ASSERT_NEAR(InputAt(0, i) * gain * gain, out[i], 1e-6) << i;
  }
  EXPECT_NEAR(InputAt(0, 512), out[512], 1e-6);
}

TEST_F(HostStreamTest, StopFadesTheLastCallbackOutAndThenPlaysSilenceUntilTheStreamCloses)
{
  Start(512);
  ASSERT_TRUE(FakeAudioSystem::Get().RunBlocks(4));
  const int callbacks = StopWhileRunning();
  EXPECT_GE(callbacks, 1);
  EXPECT_FALSE(host->GetAudioDriver()->isStreamOpen());
  EXPECT_FALSE(FakeAudioSystem::Get().Running());
  const std::vector<float> out = FakeAudioSystem::Get().Output(1);
  ASSERT_GE(out.size(), 5u * 512);
  // Callbacks before the request play the input; the one that saw it fades out; any
  // that came after are silent.
  size_t faded = 512; // after the faded-in first callback
  while (faded + 512 <= out.size() && std::fabs(out[faded + 300] - InputAt(1, faded + 300)) < 1e-6f)
    faded += 512;
  ASSERT_GE(faded, 4u * 512);
  ASSERT_LT(faded, out.size());
  for (unsigned int i = 0; i < 512; ++i)
  {
    const double gain = (511 - i) / 512.0;
    ASSERT_NEAR(InputAt(1, faded + i) * gain * gain, out[faded + i], 1e-6) << i;
  }
  EXPECT_EQ(0.0f, out[faded + 511]);
  for (size_t i = faded + 512; i < out.size(); ++i)
    ASSERT_EQ(0.0f, out[i]);
  EXPECT_EQ(static_cast<int>(faded / 512) + 1, Plugin().blocks.load());
}

TEST_F(HostStreamTest, EveryRestartFadesInAgainAndStartsItsCountsAfresh)
{
  Start(1024);
  ASSERT_TRUE(FakeAudioSystem::Get().RunBlocks(3));
  StopWhileRunning();
  const int resets = Plugin().resets;
  ASSERT_TRUE(host->TryStartAudio());
  EXPECT_EQ(resets + 1, Plugin().resets.load());
  EXPECT_EQ(0u, host->CallbackCount());
  EXPECT_EQ(0u, host->SamplesProcessed());
  ASSERT_TRUE(FakeAudioSystem::Get().RunBlocks(1));
  const std::vector<float> out = FakeAudioSystem::Get().Output(0); // restarts with the new stream
  ASSERT_EQ(1024u, out.size());
  EXPECT_EQ(0.0f, out[0]);
  EXPECT_NEAR(InputAt(0, 10) * (10 / 1024.0) * (10 / 1024.0), out[10], 1e-6);
  EXPECT_EQ(1024u, host->SamplesProcessed());
}

TEST_F(HostStreamTest, ReopeningARunningStreamFadesItOutFirst)
{
  Start(512);
  ASSERT_TRUE(FakeAudioSystem::Get().RunBlocks(2));
  std::atomic<bool> reopened{false};
  std::thread reopen([&] {
    host->EditedSettings().sampleRate = 48000;
    reopened = host->TryStartAudio();
  });
  for (int i = 0; i < 3000 && FakeAudioSystem::Get().LastOpened().sampleRate != 48000; ++i)
    FakeAudioSystem::Get().RunBlocks(1, 20);
  reopen.join();
  EXPECT_TRUE(reopened);
  EXPECT_EQ(48000.0, host->GetSampleRate());
  EXPECT_EQ(48000.0, Plugin().sampleRateAtReset);
}

TEST_F(HostStreamTest, StopDoesNotWaitForeverForACallbackThatNeverComes)
{
  Start(512);
  ASSERT_TRUE(FakeAudioSystem::Get().RunBlocks(1));
  const auto started = std::chrono::steady_clock::now();
  host->StopAudio(); // no further block is released
  const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
  std::printf("stop without callbacks returned after %.2f s\n", seconds);
  EXPECT_LT(seconds, 60.0); // it gives up after a few buffers; a minute means it waited for the callback
  EXPECT_FALSE(host->GetAudioDriver()->isStreamOpen());
}

TEST_F(HostStreamTest, ADeviceThatGoesAwayIsReportedAndTheHostStillStopsAndRestarts)
{
  Start(512);
  ASSERT_TRUE(FakeAudioSystem::Get().RunBlocks(2));
  FakeAudioSystem::Get().Disconnect();
  for (int i = 0; i < 12000 && host->GetAudioDriver()->isStreamRunning(); ++i)
    Sleep(5);
  EXPECT_FALSE(host->GetAudioDriver()->isStreamRunning());
  std::vector<std::string> errors = AudioErrors();
  ASSERT_FALSE(errors.empty());
  EXPECT_NE(std::string::npos, errors.back().find("went away"));
  host->StopAudio();
  EXPECT_FALSE(host->GetAudioDriver()->isStreamOpen());
  ASSERT_TRUE(host->TryStartAudio());
  EXPECT_TRUE(FakeAudioSystem::Get().RunBlocks(2));
}

TEST_F(HostStreamTest, TearDownStopsTheStreamAndNoCallbackFollows)
{
  UseDuplexDeviceWithInput();
  ASSERT_TRUE(MakeHost()); // paced in real time
  host->Init();
  ASSERT_TRUE(host->TryStartAudio());
  for (int i = 0; i < 12000 && host->SamplesProcessed() < 4 * 512; ++i)
    Sleep(5);
  EXPECT_GE(host->SamplesProcessed(), 4u * 512);
  EXPECT_NE(GetCurrentThreadId(), Plugin().audioThread.load());
  StandaloneHost::Destroy();
  host = nullptr;
  EXPECT_FALSE(FakeAudioSystem::Get().Running());
  const unsigned long long blocks = FakeAudioSystem::Get().BlocksRun();
  Sleep(50);
  EXPECT_EQ(blocks, FakeAudioSystem::Get().BlocksRun());
}

TEST_F(HostStreamTest, APlugInThatThrowsCostsTheCallbackItThrewInAndTheStreamPlaysOn)
{
  using Fault = TestPluginAPP::Fault;
  struct Case
  {
    const char* where;
    Fault fault;
    unsigned int frames;
    unsigned int delay; // frames between a device input and its output
    std::vector<uint8_t> midiStatuses; // of the two notes sent, those that reach the plug-in
    std::vector<uint8_t> sysExIds;     // of the two SysEx messages sent, likewise
  };
  const Case cases[] = {{"block", Fault::kBlock, 512, 0, {0x90, 0x80}, {1, 2}},
                        {"buffered block", Fault::kBlock, 700, 512, {0x90, 0x80}, {1, 2}},
                        {"MIDI message", Fault::kMidi, 512, 0, {0x80}, {1, 2}},
                        {"SysEx message", Fault::kSysEx, 512, 0, {0x90, 0x80}, {2}}};
  CreateDirectoryW(Utf8ToWide(folder + "\\Tarnwick").c_str(), nullptr);
  WriteBytes(SettingsPath(), "[midi]\r\nindev=Keys\r\n");
  for (const Case& c : cases)
  {
    SCOPED_TRACE(c.where);
    FakeMidiSystem::Get().SetPorts({"Keys"}, {});
    TestPluginAPP::Options recording;
    recording.recordFrames = 16 * 512;
    Start(static_cast<int>(c.frames), recording);
    FakeAudioSystem& audio = FakeAudioSystem::Get();
    ASSERT_TRUE(audio.RunBlocks(2));
    Plugin().throwAt = c.fault;
    ASSERT_TRUE(FakeMidiSystem::Get().ReceiveShort(0x90 | (60 << 8) | (100 << 16)));
    ASSERT_TRUE(FakeMidiSystem::Get().ReceiveShort(0x80 | (60 << 8)));
    ASSERT_TRUE(FakeMidiSystem::Get().ReceiveSysEx({0xF0, 1, 0xF7}));
    ASSERT_TRUE(FakeMidiSystem::Get().ReceiveSysEx({0xF0, 2, 0xF7}));
    const size_t failed = audio.Output(0).size();
    ASSERT_TRUE(audio.RunBlocks(1));
    // The sound comes back faded in; the third callback after plays as before.
    ASSERT_TRUE(audio.RunBlocks(3));
    EXPECT_TRUE(audio.Running());
    EXPECT_TRUE(AudioErrors().empty());
    for (unsigned int channel = 0; channel < 2; ++channel)
    {
      const std::vector<float> out = audio.Output(channel);
      ASSERT_EQ(failed + 4 * c.frames, out.size());
      for (size_t i = failed; i < failed + c.frames; ++i)
        ASSERT_EQ(0.0f, out[i]) << "channel " << channel << ", frame " << i;
      for (size_t i = failed + 3 * c.frames; i < out.size(); ++i)
        ASSERT_NEAR(InputAt(channel, i - c.delay), out[i], 1e-6) << "channel " << channel << ", frame " << i;
    }
    // The block that threw is dropped, never processed again.
    const std::vector<double>& seen = Plugin().recorded;
    for (size_t block = 1; block < Plugin().recordedFrames / 512; ++block)
      EXPECT_FALSE(std::equal(seen.begin() + (block - 1) * 512, seen.begin() + block * 512, seen.begin() + block * 512))
        << "block " << block << " was processed twice";
    std::vector<uint8_t> statuses, ids;
    for (const pfw::IMidiEvent& event : Plugin().midi)
      statuses.push_back(event.status);
    for (const std::vector<uint8_t>& message : Plugin().sysEx)
      ids.push_back(message[1]);
    EXPECT_EQ(c.midiStatuses, statuses);
    EXPECT_EQ(c.sysExIds, ids);
    StandaloneHost::Destroy();
    FakeAudioSystem::Get().Reset();
    FakeMidiSystem::Get().Reset();
  }
}

TEST(ApplyFade, RampsEachChannelOverTheBuffer)
{
  std::vector<double> buffer(2 * 4, 1.0);
  ApplyFade(buffer.data(), 2, 4, false);
  EXPECT_EQ((std::vector<double>{0.0, 0.25, 0.5, 0.75, 0.0, 0.25, 0.5, 0.75}), buffer);
  std::fill(buffer.begin(), buffer.end(), 2.0);
  ApplyFade(buffer.data(), 2, 4, true);
  EXPECT_EQ((std::vector<double>{1.5, 1.0, 0.5, 0.0, 1.5, 1.0, 0.5, 0.0}), buffer);
  ApplyFade(nullptr, 2, 4, true); // no buffer, nothing to do
}

TEST_F(HostTest, TheBlockLoopCarriesSamplesAcrossCallbacksOfChangingSizes)
{
  ASSERT_TRUE(MakeHost());
  BlockLoop loop;
  loop.Prepare(1, 2, 300);
  std::vector<double> input, output;
  unsigned long long frame = 0;
  std::vector<double> played;
  for (unsigned int n : {300u, 1u, 511u, 513u, 2u, 1024u, 77u, 300u})
  {
    input.assign(n, 0.0);
    output.assign(2 * n, -1.0);
    for (unsigned int i = 0; i < n; ++i)
      input[i] = static_cast<double>((frame + i) % 1000) / 1024.0;
    loop.Run(Plugin(), input.data(), output.data(), n);
    played.insert(played.end(), output.begin(), output.begin() + n);
    for (unsigned int i = 0; i < n; ++i)
      ASSERT_EQ(0.0, output[n + i]); // the second output copies an unconnected input
    frame += n;
  }
  EXPECT_EQ(frame / 512, static_cast<unsigned long long>(Plugin().blocks.load()));
  EXPECT_EQ(frame % 512, loop.Position());
  for (size_t i = 0; i < played.size(); ++i)
    ASSERT_NEAR(i < 512 ? 0.0 : static_cast<double>((i - 512) % 1000) / 1024.0, played[i], 1e-6) << i;
}

TEST_F(HostTest, TheProductChainRunsInTheHostsBlocksAndSoundsFromAGuitarLikeInput)
{
  UseDuplexDevice(1); // a mono instrument input
  FakeAudioSystem::Get().SetStepped(true);
  FakeAudioSystem::Get().SetInput([](unsigned int, unsigned long long frame) {
    return static_cast<float>(0.3 * std::sin(2.0 * 3.14159265358979323846 * 110.0 * frame / 48000.0));
  });
  host = StandaloneHost::Create(MakeStandaloneTarnwick, TestServices());
  ASSERT_TRUE(host);
  ASSERT_TRUE(host->Init());
  host->EditedSettings().sampleRate = 48000;
  host->EditedSettings().bufferSize = 256;
  ASSERT_TRUE(host->TryStartAudio());
  EXPECT_EQ(48000.0, host->GetPlugin()->GetSampleRate());
  ASSERT_TRUE(FakeAudioSystem::Get().RunBlocks(200));
  EXPECT_EQ(100u * 512, host->SamplesProcessed());
  for (unsigned int channel = 0; channel < 2; ++channel)
  {
    const std::vector<float> out = FakeAudioSystem::Get().Output(channel);
    ASSERT_EQ(200u * 256, out.size());
    double energy = 0.0;
    bool finite = true;
    for (size_t i = out.size() / 2; i < out.size(); ++i)
    {
      finite = finite && std::isfinite(out[i]);
      energy += static_cast<double>(out[i]) * out[i];
    }
    const double rms = std::sqrt(energy / (out.size() / 2));
    std::printf("product output channel %u: rms %.3f\n", channel, rms);
    EXPECT_TRUE(finite);
    EXPECT_GT(rms, 0.01);
    EXPECT_LE(rms, 1.0);
  }
}
