// Real DirectSound streams under Wine against PulseAudio's null sink. What the null sink
// plays comes back through its monitor, so a duplex stream hears its own output.

#include "deps/audio/RtAudio.h"
#include "tests/support/ReturnedTone.h"
#include "tests/support/ThreadEnded.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <atomic>
#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

namespace {

const double kPi = 3.14159265358979323846;

struct Session
{
  unsigned int frames = 0, inChannels = 0, outChannels = 0, rate = 0;
  std::atomic<int> calls{0};
  std::atomic<DWORD> thread{0};
  std::atomic<int> wrongFrames{0};
  std::atomic<int> wrongTime{0};
  std::atomic<int> overflows{0}, underflows{0};
  int result = 0;
  // Loop test: a tone from block toneBlock on, and the first input channel recorded.
  int toneBlock = -1;
  double toneHz = 1000.0;
  std::vector<double> recorded;
  std::atomic<size_t> recordedFrames{0};
};

int Callback(void* out, void* in, unsigned int n, double streamTime, RtAudioStreamStatus status, void* user)
{
  Session* s = static_cast<Session*>(user);
  const int call = s->calls;
  s->thread = GetCurrentThreadId();
  if (n != s->frames)
    ++s->wrongFrames;
  if (std::fabs(streamTime - static_cast<double>(call) * n / s->rate) > 1e-6)
    ++s->wrongTime;
  if (status & RTAUDIO_INPUT_OVERFLOW)
    ++s->overflows;
  if (status & RTAUDIO_OUTPUT_UNDERFLOW)
    ++s->underflows;
  double* output = static_cast<double*>(out);
  for (unsigned int c = 0; c < s->outChannels; ++c)
    for (unsigned int i = 0; i < n; ++i)
    {
      double value = 0.0;
      if (s->toneBlock >= 0 && call >= s->toneBlock)
        value = 0.5 * std::sin(2.0 * kPi * s->toneHz * (static_cast<double>(call - s->toneBlock) * n + i) / s->rate);
      output[c * n + i] = value;
    }
  if (in && !s->recorded.empty())
  {
    const double* input = static_cast<const double*>(in); // channel 0 comes first
    size_t at = s->recordedFrames;
    for (unsigned int i = 0; i < n && at < s->recorded.size(); ++i)
      s->recorded[at++] = input[i];
    s->recordedFrames = at;
  }
  ++s->calls;
  return s->result;
}

unsigned int IdOf(RtAudio& rt, const std::string& name)
{
  for (unsigned int id : rt.getDeviceIds())
    if (rt.getDeviceInfo(id).name == name)
      return id;
  return 0;
}

RtAudioErrorType Open(RtAudio& rt, Session& s, unsigned int outputId, unsigned int inputId, unsigned int rate,
                      unsigned int frames)
{
  RtAudio::StreamParameters output, input;
  output.deviceId = outputId;
  output.nChannels = s.outChannels = 2;
  input.deviceId = inputId;
  input.nChannels = s.inChannels = std::min(2u, rt.getDeviceInfo(inputId).inputChannels);
  RtAudio::StreamOptions options;
  options.flags = RTAUDIO_NONINTERLEAVED;
  s.rate = rate;
  s.frames = frames;
  const RtAudioErrorType result =
    rt.openStream(&output, &input, RTAUDIO_FLOAT64, rate, &s.frames, Callback, &s, &options);
  return result;
}

bool WaitForCalls(Session& s, int count, int timeoutMs = 30000)
{
  for (int waited = 0; waited < timeoutMs && s.calls < count; waited += 5)
    Sleep(5);
  return s.calls >= count;
}

} // namespace

TEST(DirectSoundStream, RunsOnItsOwnThreadAtTheRequestedBlockSizeAndRateAndStopsCleanly)
{
  struct Case
  {
    unsigned int rate, frames;
  };
  for (const Case c : {Case{48000, 512}, Case{44100, 256}})
  {
    SCOPED_TRACE(std::to_string(c.rate) + " Hz, " + std::to_string(c.frames) + " frames");
    RtAudio rt(RtAudio::WINDOWS_DS);
    Session s;
    ASSERT_EQ(RTAUDIO_NO_ERROR, Open(rt, s, rt.getDefaultOutputDevice(), rt.getDefaultInputDevice(), c.rate, c.frames));
    EXPECT_EQ(c.frames, s.frames);
    EXPECT_TRUE(rt.isStreamOpen());
    EXPECT_FALSE(rt.isStreamRunning());
    EXPECT_EQ(c.rate, rt.getStreamSampleRate());

    const ULONGLONG started = GetTickCount64();
    ASSERT_EQ(RTAUDIO_NO_ERROR, rt.startStream());
    EXPECT_TRUE(rt.isStreamRunning());
    const int wanted = static_cast<int>(c.rate / c.frames); // about one second
    ASSERT_TRUE(WaitForCalls(s, wanted));
    const double seconds = (GetTickCount64() - started) / 1000.0;
    const double measuredRate = s.calls * static_cast<double>(c.frames) / seconds;
    std::printf("DirectSound %u Hz / %u frames: %.0f frames per second delivered, %d underflows, %d overflows\n",
                c.rate, c.frames, measuredRate, s.underflows.load(), s.overflows.load());
    // The device clock paces the callback: blocks never come much faster than it plays
    // them. (How much slower they may come depends on the machine's load, so that is
    // left to the wait above.)
    EXPECT_LT(measuredRate, c.rate * 1.5);
    EXPECT_NE(GetCurrentThreadId(), s.thread.load());
    EXPECT_EQ(0, s.wrongFrames.load());
    EXPECT_EQ(0, s.wrongTime.load());

    ASSERT_EQ(RTAUDIO_NO_ERROR, rt.stopStream());
    EXPECT_FALSE(rt.isStreamRunning());
    EXPECT_TRUE(ThreadEnded(s.thread));
    int calls = s.calls;
    Sleep(100);
    EXPECT_EQ(calls, s.calls.load());

    // Started again, it runs again; aborted, it stops at once.
    ASSERT_EQ(RTAUDIO_NO_ERROR, rt.startStream());
    ASSERT_TRUE(WaitForCalls(s, calls + 5));
    ASSERT_EQ(RTAUDIO_NO_ERROR, rt.abortStream());
    EXPECT_TRUE(ThreadEnded(s.thread));
    calls = s.calls;
    Sleep(100);
    EXPECT_EQ(calls, s.calls.load());
    ASSERT_EQ(RTAUDIO_NO_ERROR, rt.closeStream());
    EXPECT_FALSE(rt.isStreamOpen());
  }
}

TEST(DirectSoundStream, SamplesTravelThroughTheNullSinkAndBackThroughItsMonitor)
{
  RtAudio rt(RtAudio::WINDOWS_DS);
  const unsigned int sink = IdOf(rt, "Null Output"), monitor = IdOf(rt, "Monitor of Null Output");
  ASSERT_NE(0u, sink);
  ASSERT_NE(0u, monitor);
  Session s;
  const unsigned int rate = 48000;
  s.recorded.assign(rate * 5, 0.0);
  s.toneBlock = 40; // after about 0.4 s of silence
  ASSERT_EQ(RTAUDIO_NO_ERROR, Open(rt, s, sink, monitor, rate, 512));
  ASSERT_EQ(RTAUDIO_NO_ERROR, rt.startStream());
  for (int waited = 0; waited < 60000 && s.recordedFrames < s.recorded.size(); waited += 10)
    Sleep(10);
  ASSERT_EQ(RTAUDIO_NO_ERROR, rt.closeStream());
  ASSERT_EQ(s.recorded.size(), s.recordedFrames.load());

  const size_t toneStart = static_cast<size_t>(s.toneBlock) * 512;
  double before = 0.0;
  for (size_t i = 0; i < toneStart; ++i)
    before = std::max(before, std::fabs(s.recorded[i]));
  EXPECT_LT(before, 0.01) << "the monitor carried sound before we played any";
  size_t arrival = s.recorded.size();
  for (size_t i = toneStart; i < s.recorded.size(); ++i)
    if (std::fabs(s.recorded[i]) > 0.1)
    {
      arrival = i;
      break;
    }
  ASSERT_LT(arrival, s.recorded.size()) << "the tone never came back";
  std::printf("round trip through the null sink: %.1f ms (%d underflows, %d overflows)\n",
              (arrival - toneStart) * 1000.0 / rate, s.underflows.load(), s.overflows.load());
  const Stretch back = CleanestStretch(s.recorded, arrival, rate);
  std::printf("tone amplitude back: %.3f (played 0.5), at 1700 Hz: %.5f\n", back.tone, back.elsewhere);
  EXPECT_NEAR(0.5, back.tone, 0.05);
  EXPECT_LT(back.elsewhere, 0.01);
}

TEST(DirectSoundStream, ErrorPathsReportAndLeaveNoStream)
{
  std::vector<std::pair<RtAudioErrorType, std::string>> errors;
  RtAudio rt(RtAudio::WINDOWS_DS, [&](RtAudioErrorType type, const std::string& text) { errors.emplace_back(type, text); });
  Session s;
  const unsigned int output = rt.getDefaultOutputDevice(), input = rt.getDefaultInputDevice();
  EXPECT_EQ(RTAUDIO_INVALID_DEVICE, Open(rt, s, 99999, input, 48000, 512));
  EXPECT_EQ(RTAUDIO_INVALID_PARAMETER, Open(rt, s, output, input, 12345, 512));
  EXPECT_FALSE(rt.isStreamOpen());
  const unsigned int monitor = IdOf(rt, "Monitor of Null Output");
  RtAudio::StreamParameters tooMany;
  tooMany.deviceId = monitor;
  tooMany.nChannels = 4;
  unsigned int frames = 512;
  EXPECT_EQ(RTAUDIO_INVALID_PARAMETER,
            rt.openStream(nullptr, &tooMany, RTAUDIO_FLOAT64, 48000, &frames, Callback, &s, nullptr));
  tooMany.nChannels = 2;
  EXPECT_EQ(RTAUDIO_INVALID_PARAMETER, // a capture-only device has no output
            rt.openStream(&tooMany, nullptr, RTAUDIO_FLOAT64, 48000, &frames, Callback, &s, nullptr));
  EXPECT_FALSE(rt.isStreamOpen());
  ASSERT_EQ(4u, errors.size());
  for (const auto& error : errors)
    EXPECT_FALSE(error.second.empty());
  EXPECT_EQ(0, s.calls.load());
}

TEST(DirectSoundStream, CallbackStopsItAndTheDestructorClosesARunningStream)
{
  Session s;
  {
    RtAudio rt(RtAudio::WINDOWS_DS);
    s.result = 2;
    ASSERT_EQ(RTAUDIO_NO_ERROR, Open(rt, s, rt.getDefaultOutputDevice(), rt.getDefaultInputDevice(), 48000, 512));
    ASSERT_EQ(RTAUDIO_NO_ERROR, rt.startStream());
    ASSERT_TRUE(WaitForCalls(s, 1));
    for (int i = 0; i < 5000 && rt.isStreamRunning(); ++i)
      Sleep(2);
    EXPECT_FALSE(rt.isStreamRunning());
    EXPECT_EQ(1, s.calls.load());

    s.result = 0;
    ASSERT_EQ(RTAUDIO_NO_ERROR, rt.startStream());
    ASSERT_TRUE(WaitForCalls(s, 5));
  }
  EXPECT_TRUE(ThreadEnded(s.thread));
  const int calls = s.calls;
  Sleep(100);
  EXPECT_EQ(calls, s.calls.load());
}
