// The host on real DirectSound devices under Wine, against PulseAudio's null sink: what
// the sink plays comes back through its monitor, which is the default capture device.

#include "HostTestSupport.h"

#include "tests/support/ReturnedTone.h"
#include "tests/support/ThreadEnded.h"
#include "wrappers/standalone/StandaloneTarnwick.h"

#include <algorithm>
#include <cmath>
#include <numeric>

class RealDevicesTest : public HostTest
{
protected:
  RealDevicesTest() { useFakes = false; }

  void StoreDevices(const char* input, const char* output, int rate, int buffer)
  {
    CreateDirectoryW(Utf8ToWide(folder + "\\Tarnwick").c_str(), nullptr);
    WriteBytes(SettingsPath(), std::string("[audio]\r\nindev=") + input + "\r\noutdev=" + output +
                                 "\r\nsr=" + std::to_string(rate) + "\r\nbuffer=" + std::to_string(buffer) + "\r\n");
  }
};

TEST_F(RealDevicesTest, TheProductPlaysThroughTheDefaultDevicesAndClosingStopsEverything)
{
  SetNextPluginOptions(TestPluginAPP::Options());
  host = StandaloneHost::Create(MakeStandaloneTarnwick, TestServices());
  ASSERT_TRUE(host);
  ASSERT_TRUE(host->Init());
  ASSERT_FALSE(host->InputDeviceIds().empty()) << "no DirectSound devices: is the PulseAudio null sink running?";
  ASSERT_TRUE(host->TryStartAudio());
  EXPECT_TRUE(messages.empty());
  // The first start stored the system's default devices by name.
  const std::string input = IniString(SettingsPath(), "audio", "indev");
  const std::string output = IniString(SettingsPath(), "audio", "outdev");
  EXPECT_EQ(host->GetAudioDeviceName(*host->DefaultInputId()), input);
  EXPECT_EQ(host->GetAudioDeviceName(*host->DefaultOutputId()), output);
  std::printf("default devices: in \"%s\", out \"%s\"; stream %d in / %d out, %u frames at %.0f Hz\n", input.c_str(),
              output.c_str(), host->StreamInputChannels(), host->StreamOutputChannels(), host->GetBufferFrames(),
              host->GetSampleRate());
  EXPECT_EQ(2, host->StreamOutputChannels());
  EXPECT_GE(host->StreamInputChannels(), 1);

  const ULONGLONG started = GetTickCount64();
  while (host->SamplesProcessed() < 44100 && GetTickCount64() - started < 30000)
    Sleep(10);
  const double seconds = (GetTickCount64() - started) / 1000.0;
  const double rate = host->SamplesProcessed() / seconds;
  std::printf("product chain on DirectSound: %.0f frames per second processed in 512-frame blocks\n", rate);
  EXPECT_GE(host->SamplesProcessed(), 44100u);
  // Paced by the device: never much faster than it plays (slower depends on the load).
  EXPECT_LT(rate, 44100 * 1.5);

  StandaloneHost::Destroy();
  host = nullptr;
  EXPECT_FALSE(StandaloneHost::Get());
}

TEST_F(RealDevicesTest, SamplesPlayedOnTheDefaultDevicesComeBackThroughTheMonitorAndBlocksKeepTime)
{
  const int rate = 48000;
  StoreDevices("Default Device", "Default Device", rate, 512);
  TestPluginAPP::Options options;
  options.recordFrames = static_cast<size_t>(rate) * 4;
  ASSERT_TRUE(MakeHost(options));
  ASSERT_TRUE(host->Init());
  TestPluginAPP& plugin = Plugin();
  plugin.toneFromBlock = 40; // after about 0.4 s of silence
  ASSERT_TRUE(host->TryStartAudio());
  EXPECT_TRUE(messages.empty());
  // The system's default devices: the null sink and, for capture, its monitor.
  EXPECT_EQ(host->GetAudioDeviceName(*host->DefaultInputId()), IniString(SettingsPath(), "audio", "indev"));
  for (int waited = 0; waited < 60000 && plugin.recordedFrames < plugin.recorded.size(); waited += 10)
    Sleep(10);
  ASSERT_EQ(plugin.recorded.size(), plugin.recordedFrames.load());
  const DWORD audioThread = plugin.audioThread;
  EXPECT_NE(GetCurrentThreadId(), audioThread);
  EXPECT_EQ(0, plugin.wrongBlockSizes.load());

  // Block timing on the callback thread.
  LARGE_INTEGER frequency;
  QueryPerformanceFrequency(&frequency);
  const size_t taken = std::min<size_t>(plugin.blockTimesTaken, plugin.blockTimes.size());
  ASSERT_GT(taken, 200u);
  std::vector<double> gaps;
  for (size_t i = 101; i < taken; ++i) // after the start-up
    gaps.push_back(1000.0 * (plugin.blockTimes[i] - plugin.blockTimes[i - 1]) / frequency.QuadPart);
  const double mean = std::accumulate(gaps.begin(), gaps.end(), 0.0) / gaps.size();
  std::sort(gaps.begin(), gaps.end());
  std::printf("block period: mean %.2f ms (512 frames = %.2f ms), median %.2f, 99th percentile %.2f, max %.2f ms\n",
              mean, 512000.0 / rate, gaps[gaps.size() / 2], gaps[gaps.size() * 99 / 100], gaps.back());
  // Blocks come no faster than the device plays them (a loaded machine may make them
  // later, so no bound on that side).
  EXPECT_GT(mean, 512000.0 / rate * 0.7);

  // The tone comes back at the amplitude played, after the loop's delay.
  const std::vector<double>& recorded = plugin.recorded;
  const size_t toneStart = 40 * 512;
  double before = 0.0;
  for (size_t i = 0; i < toneStart; ++i)
    before = std::max(before, std::fabs(recorded[i]));
  EXPECT_LT(before, 0.01) << "the monitor carried sound before any was played";
  size_t arrival = recorded.size();
  for (size_t i = toneStart; i < recorded.size(); ++i)
    if (std::fabs(recorded[i]) > 0.1)
    {
      arrival = i;
      break;
    }
  ASSERT_LT(arrival, recorded.size()) << "the tone never came back";
  std::printf("loop through the null sink and its monitor: %.1f ms (%zu frames)\n",
              (arrival - toneStart) * 1000.0 / rate, arrival - toneStart);
  const Stretch back = CleanestStretch(recorded, arrival, rate);
  std::printf("tone back: %.3f (played 0.5), at 1700 Hz: %.5f\n", back.tone, back.elsewhere);
  EXPECT_NEAR(0.5, back.tone, 0.05);
  EXPECT_LT(back.elsewhere, 0.01);

  // Closing fades out, stops the callback thread and nothing runs afterwards.
  const int blocks = plugin.blocks;
  const ULONGLONG stopStarted = GetTickCount64();
  StandaloneHost::Destroy();
  host = nullptr;
  std::printf("tear-down with fade-out took %llu ms\n", GetTickCount64() - stopStarted);
  EXPECT_TRUE(ThreadEnded(audioThread));
  EXPECT_GT(blocks, 0);
}

TEST_F(RealDevicesTest, AnOddDeviceBufferStillGivesBlocksOf512AndTheLoopStillCloses)
{
  const int rate = 44100;
  StoreDevices("Monitor of Null Output", "Null Output", rate, 96);
  TestPluginAPP::Options options;
  options.recordFrames = static_cast<size_t>(rate) * 3;
  ASSERT_TRUE(MakeHost(options));
  ASSERT_TRUE(host->Init());
  Plugin().toneFromBlock = 20;
  ASSERT_TRUE(host->TryStartAudio());
  EXPECT_EQ(96u, host->GetBufferFrames());
  for (int waited = 0; waited < 60000 && Plugin().recordedFrames < Plugin().recorded.size(); waited += 10)
    Sleep(10);
  ASSERT_EQ(Plugin().recorded.size(), Plugin().recordedFrames.load());
  EXPECT_EQ(0, Plugin().wrongBlockSizes.load());
  const std::vector<double>& recorded = Plugin().recorded;
  double before = 0.0;
  for (size_t i = 0; i < 20 * 512; ++i)
    before = std::max(before, std::fabs(recorded[i]));
  EXPECT_LT(before, 0.01) << "the monitor carried sound before any was played";
  size_t arrival = recorded.size();
  for (size_t i = 20 * 512; i < recorded.size(); ++i)
    if (std::fabs(recorded[i]) > 0.1)
    {
      arrival = i;
      break;
    }
  ASSERT_LT(arrival, recorded.size()) << "the tone never came back";
  std::printf("loop with 96-frame device buffers: %.1f ms\n", (arrival - 20 * 512) * 1000.0 / rate);
  // Buffered between the device and the blocks, the tone still comes back whole.
  const Stretch back = CleanestStretch(recorded, arrival, rate);
  std::printf("tone back: %.3f (played 0.5), at 1700 Hz: %.5f\n", back.tone, back.elsewhere);
  EXPECT_NEAR(0.5, back.tone, 0.05);
  EXPECT_LT(back.elsewhere, 0.01);
  const DWORD audioThread = Plugin().audioThread;
  StandaloneHost::Destroy();
  host = nullptr;
  EXPECT_TRUE(ThreadEnded(audioThread));
}
