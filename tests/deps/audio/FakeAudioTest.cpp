#include "tests/support/FakeAudioSystem.h"
#include "deps/audio/RtAudio.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <atomic>
#include <cmath>
#include <string>
#include <vector>

using audio::FakeAudioDevice;
using audio::FakeAudioSystem;

namespace {

struct Errors
{
  std::vector<RtAudioErrorType> types;
  RtAudioErrorCallback Callback()
  {
    return [this](RtAudioErrorType type, const std::string&) { types.push_back(type); };
  }
};

FakeAudioDevice Device(const char* name, unsigned int in, unsigned int out, bool defaultIn = false,
                       bool defaultOut = false, std::vector<unsigned int> rates = {44100, 48000})
{
  FakeAudioDevice device;
  device.name = name;
  device.inputChannels = in;
  device.outputChannels = out;
  device.isDefaultInput = defaultIn;
  device.isDefaultOutput = defaultOut;
  device.sampleRates = rates;
  return device;
}

struct Capture
{
  std::atomic<int> calls{0};
  std::atomic<DWORD> thread{0};
  std::vector<double> firstInput; // the first callback's input buffer, as doubles
  unsigned int frames = 0;
  unsigned int inputValues = 0;
  int result = 0;
  std::function<void(void* out, unsigned int n)> fill;
};

int Record(void* out, void* in, unsigned int n, double, RtAudioStreamStatus, void* user)
{
  Capture* capture = static_cast<Capture*>(user);
  capture->thread = GetCurrentThreadId();
  capture->frames = n;
  if (capture->calls == 0 && in)
    capture->firstInput.assign(static_cast<double*>(in), static_cast<double*>(in) + capture->inputValues);
  if (capture->fill)
    capture->fill(out, n);
  ++capture->calls;
  return capture->result;
}

class FakeAudioTest : public ::testing::Test
{
protected:
  void SetUp() override { FakeAudioSystem::Get().Reset(); }
  void TearDown() override { FakeAudioSystem::Get().Reset(); }
};

unsigned int IdOf(RtAudio& rt, const std::string& name)
{
  for (unsigned int id : rt.getDeviceIds())
    if (rt.getDeviceInfo(id).name == name)
      return id;
  return 0;
}

} // namespace

TEST_F(FakeAudioTest, JoinsDirectionsByNameAndKeepsNamesUniqueAndIdsStable)
{
  FakeAudioSystem::Get().SetDevices({Device("Desk", 2, 0, true), Device("Desk", 0, 2, false, true),
                                     Device("Desk", 0, 2), Device("Line", 1, 0, false, false, {44100})});
  RtAudio rt(audio::MakeFakeBackend);
  std::vector<unsigned int> ids = rt.getDeviceIds();
  ASSERT_EQ(3u, ids.size());
  RtAudio::DeviceInfo desk = rt.getDeviceInfo(ids[0]);
  EXPECT_EQ("Desk", desk.name);
  EXPECT_EQ(2u, desk.inputChannels);
  EXPECT_EQ(2u, desk.outputChannels);
  EXPECT_EQ(2u, desk.duplexChannels);
  EXPECT_TRUE(desk.isDefaultInput);
  EXPECT_TRUE(desk.isDefaultOutput);
  EXPECT_EQ("Desk (2)", rt.getDeviceInfo(ids[1]).name);
  EXPECT_EQ(0u, rt.getDeviceInfo(ids[1]).inputChannels);
  EXPECT_EQ("Line", rt.getDeviceInfo(ids[2]).name);
  EXPECT_EQ(ids[0], rt.getDefaultInputDevice());
  EXPECT_EQ(ids[0], rt.getDefaultOutputDevice());

  // A device that goes away takes its id along; the others keep theirs.
  FakeAudioSystem::Get().SetDevices({Device("Line", 1, 0, false, false, {44100}), Device("Desk", 2, 0, true),
                                     Device("Desk", 0, 2, false, true)});
  std::vector<unsigned int> again = rt.getDeviceIds();
  ASSERT_EQ(2u, again.size());
  EXPECT_EQ(ids[2], again[0]);
  EXPECT_EQ(ids[0], again[1]);
}

TEST_F(FakeAudioTest, UnknownDeviceGivesAnEmptyRecordAndAnError)
{
  Errors errors;
  RtAudio rt(audio::MakeFakeBackend, errors.Callback());
  EXPECT_TRUE(rt.getDeviceIds().empty());
  EXPECT_EQ(0u, rt.getDefaultOutputDevice());
  RtAudio::DeviceInfo info = rt.getDeviceInfo(7);
  EXPECT_EQ(0u, info.ID);
  EXPECT_TRUE(info.name.empty());
  ASSERT_EQ(1u, errors.types.size());
  EXPECT_EQ(RTAUDIO_INVALID_DEVICE, errors.types[0]);
}

TEST_F(FakeAudioTest, DuplexRatesAreThoseBothDirectionsTake)
{
  FakeAudioSystem::Get().SetDevices({Device("Card", 2, 0, false, false, {44100, 48000}),
                                     Device("Card", 0, 2, false, false, {48000, 96000})});
  RtAudio rt(audio::MakeFakeBackend);
  const RtAudio::DeviceInfo info = rt.getDeviceInfo(rt.getDeviceIds().at(0));
  EXPECT_EQ(std::vector<unsigned int>({48000}), info.sampleRates);
}

TEST_F(FakeAudioTest, RefusedParametersLeaveNoStream)
{
  FakeAudioSystem::Get().SetDevices({Device("In", 2, 0), Device("Out", 0, 2)});
  Errors errors;
  RtAudio rt(audio::MakeFakeBackend, errors.Callback());
  const unsigned int in = IdOf(rt, "In"), out = IdOf(rt, "Out");
  Capture capture;
  unsigned int frames = 512;
  RtAudio::StreamParameters output, input;
  output.deviceId = out;
  output.nChannels = 2;
  input.deviceId = in;
  input.nChannels = 4; // more than the device has
  EXPECT_EQ(RTAUDIO_INVALID_PARAMETER, rt.openStream(&output, &input, RTAUDIO_FLOAT64, 48000, &frames, Record, &capture));
  input.nChannels = 2;
  input.firstChannel = 1;
  EXPECT_EQ(RTAUDIO_INVALID_PARAMETER, rt.openStream(&output, &input, RTAUDIO_FLOAT64, 48000, &frames, Record, &capture));
  input.firstChannel = 0;
  EXPECT_EQ(RTAUDIO_INVALID_PARAMETER, rt.openStream(&output, &input, RTAUDIO_FLOAT64, 12345, &frames, Record, &capture));
  EXPECT_EQ(RTAUDIO_INVALID_PARAMETER, rt.openStream(&output, &input, 0x4, 48000, &frames, Record, &capture));
  EXPECT_EQ(RTAUDIO_INVALID_PARAMETER, rt.openStream(&input, nullptr, RTAUDIO_FLOAT64, 48000, &frames, Record, &capture));
  output.deviceId = 999;
  EXPECT_EQ(RTAUDIO_INVALID_DEVICE, rt.openStream(&output, nullptr, RTAUDIO_FLOAT64, 48000, &frames, Record, &capture));
  EXPECT_EQ(RTAUDIO_INVALID_USE, rt.openStream(nullptr, nullptr, RTAUDIO_FLOAT64, 48000, &frames, Record, &capture));
  EXPECT_FALSE(rt.isStreamOpen());
  EXPECT_EQ(7u, errors.types.size());
  EXPECT_EQ(RTAUDIO_INVALID_USE, rt.startStream());
  EXPECT_EQ(RTAUDIO_WARNING, rt.closeStream());
}

TEST_F(FakeAudioTest, NonInterleavedDoublesReachTheCallbackOnItsOwnThreadBlockByBlock)
{
  FakeAudioSystem& fake = FakeAudioSystem::Get();
  fake.SetDevices({Device("Duplex", 2, 2, true, true)});
  fake.SetStepped(true);
  fake.SetInput([](unsigned int channel, unsigned long long frame) { return channel * 0.5f + frame * 1e-4f; });
  RtAudio rt(audio::MakeFakeBackend);
  const unsigned int id = rt.getDefaultOutputDevice();
  Capture capture;
  capture.inputValues = 2 * 256;
  capture.fill = [](void* out, unsigned int n) {
    double* samples = static_cast<double*>(out);
    for (unsigned int i = 0; i < n; ++i)
    {
      samples[i] = 0.25;          // channel 0
      samples[n + i] = -1e-3 * i; // channel 1
    }
  };
  RtAudio::StreamParameters output, input;
  output.deviceId = input.deviceId = id;
  output.nChannels = input.nChannels = 2;
  RtAudio::StreamOptions options;
  options.flags = RTAUDIO_NONINTERLEAVED;
  unsigned int frames = 256;
  ASSERT_EQ(RTAUDIO_NO_ERROR, rt.openStream(&output, &input, RTAUDIO_FLOAT64, 44100, &frames, Record, &capture, &options));
  EXPECT_EQ(256u, frames);
  ASSERT_EQ(RTAUDIO_NO_ERROR, rt.startStream());
  EXPECT_TRUE(rt.isStreamRunning());
  ASSERT_TRUE(fake.RunBlocks(3));
  EXPECT_EQ(3, capture.calls.load());
  EXPECT_NE(GetCurrentThreadId(), capture.thread.load());
  EXPECT_EQ(256u, capture.frames);
  ASSERT_EQ(512u, capture.firstInput.size());
  EXPECT_FLOAT_EQ(0.0f, capture.firstInput[0]);
  EXPECT_FLOAT_EQ(10 * 1e-4f, capture.firstInput[10]);
  EXPECT_FLOAT_EQ(0.5f + 10 * 1e-4f, capture.firstInput[256 + 10]);
  EXPECT_NEAR(3 * 256 / 44100.0, rt.getStreamTime(), 1e-9);

  const std::vector<float> left = fake.Output(0), right = fake.Output(1);
  ASSERT_EQ(3u * 256, left.size());
  EXPECT_FLOAT_EQ(0.25f, left[700]);
  EXPECT_FLOAT_EQ(-0.1f, right[100]);
  EXPECT_EQ(RTAUDIO_NO_ERROR, rt.abortStream());
  EXPECT_FALSE(fake.Running());
  EXPECT_EQ(RTAUDIO_NO_ERROR, rt.closeStream());
  EXPECT_FALSE(rt.isStreamOpen());
}

TEST_F(FakeAudioTest, InterleavedFloatsFromAFirstChannelAndBadSamplesMadeSafe)
{
  FakeAudioSystem& fake = FakeAudioSystem::Get();
  fake.SetDevices({Device("Out", 0, 2, false, true)});
  fake.SetStepped(true);
  RtAudio rt(audio::MakeFakeBackend);
  Capture capture;
  capture.fill = [](void* out, unsigned int n) {
    float* samples = static_cast<float*>(out);
    for (unsigned int i = 0; i < n; ++i)
      samples[i] = i == 0 ? NAN : i == 1 ? INFINITY : 0.5f;
  };
  RtAudio::StreamParameters output;
  output.deviceId = rt.getDefaultOutputDevice();
  output.nChannels = 1;
  output.firstChannel = 1;
  unsigned int frames = 0; // the layer chooses
  ASSERT_EQ(RTAUDIO_NO_ERROR, rt.openStream(&output, nullptr, RTAUDIO_FLOAT32, 48000, &frames, Record, &capture));
  EXPECT_EQ(512u, frames);
  EXPECT_EQ(2u, fake.LastOpened().outputChannels);
  ASSERT_EQ(RTAUDIO_NO_ERROR, rt.startStream());
  ASSERT_TRUE(fake.RunBlocks(1));
  rt.closeStream();
  const std::vector<float> first = fake.Output(0), second = fake.Output(1);
  ASSERT_EQ(512u, second.size());
  EXPECT_EQ(0.0f, second[0]);
  EXPECT_EQ(0.0f, second[1]);
  EXPECT_EQ(0.5f, second[2]);
  for (float sample : first)
    ASSERT_EQ(0.0f, sample);
}

TEST_F(FakeAudioTest, IntegerFormatsClipAndScale)
{
  FakeAudioSystem& fake = FakeAudioSystem::Get();
  fake.SetDevices({Device("Duplex", 1, 1, true, true)});
  fake.SetStepped(true);
  fake.SetInput([](unsigned int, unsigned long long frame) { return frame == 0 ? -1.0f : 0.5f; });
  RtAudio rt(audio::MakeFakeBackend);
  struct Seen
  {
    int16_t in0 = 0, in1 = 0;
  } seen;
  RtAudio::StreamParameters output, input;
  output.deviceId = input.deviceId = rt.getDefaultInputDevice();
  output.nChannels = input.nChannels = 1;
  unsigned int frames = 64;
  auto callback = [](void* out, void* in, unsigned int n, double, RtAudioStreamStatus, void* user) {
    Seen* s = static_cast<Seen*>(user);
    s->in0 = static_cast<int16_t*>(in)[0];
    s->in1 = static_cast<int16_t*>(in)[1];
    for (unsigned int i = 0; i < n; ++i)
      static_cast<int16_t*>(out)[i] = i == 0 ? -32768 : 16384;
    return 0;
  };
  ASSERT_EQ(RTAUDIO_NO_ERROR, rt.openStream(&output, &input, RTAUDIO_SINT16, 48000, &frames, callback, &seen));
  ASSERT_EQ(RTAUDIO_NO_ERROR, rt.startStream());
  ASSERT_TRUE(fake.RunBlocks(1));
  rt.closeStream();
  EXPECT_EQ(-32767, seen.in0);
  EXPECT_EQ(16384, seen.in1);
  const std::vector<float> out = fake.Output(0);
  ASSERT_FALSE(out.empty());
  EXPECT_FLOAT_EQ(-1.0f, out[0]);
  EXPECT_FLOAT_EQ(0.5f, out[1]);
}

TEST_F(FakeAudioTest, CallbackAskingToStopEndsTheStream)
{
  FakeAudioSystem& fake = FakeAudioSystem::Get();
  fake.SetDevices({Device("Out", 0, 2, false, true)});
  fake.SetStepped(true);
  RtAudio rt(audio::MakeFakeBackend);
  Capture capture;
  capture.result = 1;
  RtAudio::StreamParameters output;
  output.deviceId = rt.getDefaultOutputDevice();
  output.nChannels = 2;
  unsigned int frames = 128;
  ASSERT_EQ(RTAUDIO_NO_ERROR, rt.openStream(&output, nullptr, RTAUDIO_FLOAT64, 48000, &frames, Record, &capture));
  ASSERT_EQ(RTAUDIO_NO_ERROR, rt.startStream());
  ASSERT_TRUE(fake.RunBlocks(1));
  for (int i = 0; i < 5000 && rt.isStreamRunning(); ++i)
    Sleep(2);
  EXPECT_FALSE(rt.isStreamRunning());
  EXPECT_TRUE(rt.isStreamOpen());
  EXPECT_FALSE(fake.RunBlocks(1, 100));
  EXPECT_EQ(1, capture.calls.load());
  // It starts again from where it stopped, running only the blocks released after the
  // start (the release above that timed out was withdrawn).
  capture.result = 0;
  ASSERT_EQ(RTAUDIO_NO_ERROR, rt.startStream());
  Sleep(50);
  EXPECT_EQ(1, capture.calls.load());
  ASSERT_TRUE(fake.RunBlocks(2));
  EXPECT_EQ(3, capture.calls.load());
  EXPECT_EQ(RTAUDIO_NO_ERROR, rt.stopStream());
  EXPECT_EQ(RTAUDIO_WARNING, rt.stopStream());
}

TEST_F(FakeAudioTest, FailuresAreReportedAndAStreamThatDidNotStartStaysOpen)
{
  FakeAudioSystem& fake = FakeAudioSystem::Get();
  fake.SetDevices({Device("Out", 0, 2, false, true)});
  Errors errors;
  RtAudio rt(audio::MakeFakeBackend, errors.Callback());
  Capture capture;
  RtAudio::StreamParameters output;
  output.deviceId = rt.getDefaultOutputDevice();
  output.nChannels = 2;
  unsigned int frames = 512;
  fake.FailOpen(true);
  EXPECT_EQ(RTAUDIO_SYSTEM_ERROR, rt.openStream(&output, nullptr, RTAUDIO_FLOAT64, 48000, &frames, Record, &capture));
  EXPECT_FALSE(rt.isStreamOpen());
  fake.FailOpen(false);
  fake.FailStart(true);
  ASSERT_EQ(RTAUDIO_NO_ERROR, rt.openStream(&output, nullptr, RTAUDIO_FLOAT64, 48000, &frames, Record, &capture));
  EXPECT_EQ(RTAUDIO_SYSTEM_ERROR, rt.startStream());
  EXPECT_TRUE(rt.isStreamOpen());
  EXPECT_FALSE(rt.isStreamRunning());
  EXPECT_EQ(2u, errors.types.size());

  // A device that goes away mid-stream ends the stream with an error, not a hang.
  fake.FailStart(false);
  ASSERT_EQ(RTAUDIO_NO_ERROR, rt.startStream());
  fake.Disconnect();
  for (int i = 0; i < 5000 && rt.isStreamRunning(); ++i)
    Sleep(2);
  EXPECT_FALSE(rt.isStreamRunning());
  ASSERT_EQ(3u, errors.types.size());
  EXPECT_EQ(RTAUDIO_DEVICE_DISCONNECT, errors.types[2]);
  EXPECT_EQ(RTAUDIO_NO_ERROR, rt.closeStream());
}

TEST_F(FakeAudioTest, TheBackEndIsTheFactorysAndOtherwiseDirectSound)
{
  FakeAudioSystem::Get().SetDevices({Device("Stand-in", 0, 2, false, true)});
  RtAudio injected(audio::MakeFakeBackend);
  EXPECT_EQ(RtAudio::CUSTOM, injected.getCurrentApi());
  EXPECT_EQ("Stand-in", injected.getDeviceInfo(injected.getDefaultOutputDevice()).name);
  RtAudio real(RtAudio::WINDOWS_DS);
  EXPECT_EQ(RtAudio::WINDOWS_DS, real.getCurrentApi());
}

TEST_F(FakeAudioTest, FreeRunningStreamKeepsTimeAndDestructorStopsIt)
{
  FakeAudioSystem& fake = FakeAudioSystem::Get();
  fake.SetDevices({Device("Out", 0, 2, false, true)});
  Capture capture;
  {
    RtAudio rt(audio::MakeFakeBackend);
    RtAudio::StreamParameters output;
    output.deviceId = rt.getDefaultOutputDevice();
    output.nChannels = 2;
    unsigned int frames = 480; // 10 ms at 48 kHz
    ASSERT_EQ(RTAUDIO_NO_ERROR, rt.openStream(&output, nullptr, RTAUDIO_FLOAT64, 48000, &frames, Record, &capture));
    ASSERT_EQ(RTAUDIO_NO_ERROR, rt.startStream());
    for (int i = 0; i < 5000 && capture.calls < 5; ++i)
      Sleep(2);
    EXPECT_GE(capture.calls.load(), 5);
  }
  EXPECT_FALSE(fake.Running());
  const int calls = capture.calls;
  Sleep(50);
  EXPECT_EQ(calls, capture.calls.load());
}
