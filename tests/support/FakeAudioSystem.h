#pragma once

// The fake audio back end that tests use in place of DirectSound: its devices, failures,
// pacing, input and recorded output are set here. RtAudio(MakeFakeBackend) uses it, and
// so does a standalone host whose services name it. The stream still runs its callback on
// the layer's own thread.

#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

namespace audio {

class Backend;

// An audio::BackendFactory.
std::unique_ptr<Backend> MakeFakeBackend();

struct FakeAudioDevice
{
  std::string name;
  unsigned int inputChannels = 0;
  unsigned int outputChannels = 0;
  bool isDefaultInput = false;
  bool isDefaultOutput = false;
  std::vector<unsigned int> sampleRates = {44100, 48000};
};

struct FakeStreamRecord
{
  std::string inputDevice, outputDevice; // empty: that direction is not open
  unsigned int inputChannels = 0, outputChannels = 0;
  unsigned int sampleRate = 0, frames = 0;
};

class FakeAudioSystem
{
public:
  static FakeAudioSystem& Get();

  // No devices, real-time pacing, no failures, silence in.
  void Reset();
  void SetDevices(const std::vector<FakeAudioDevice>& devices);
  void FailOpen(bool fail);
  void FailStart(bool fail);
  // The running stream's device goes away: its thread reports an error and ends.
  void Disconnect();

  // Stepped: blocks run only when RunBlocks releases them. Free (the default): one block
  // every frames / rate seconds.
  void SetStepped(bool stepped);
  // Releases count blocks and waits until their callbacks returned; false on timeout,
  // when the blocks not yet begun are withdrawn (a later stream does not run them). The
  // default timeout is one only a stream that stopped calling back reaches.
  bool RunBlocks(unsigned int count, unsigned int timeoutMs = 60000);

  // Input sample of a device channel at a frame counted from the stream's start.
  void SetInput(std::function<float(unsigned int channel, unsigned long long frame)> input);
  // What the stream played on one device channel since it opened (at most 2^20 frames).
  std::vector<float> Output(unsigned int channel) const;
  FakeStreamRecord LastOpened() const;
  unsigned long long BlocksRun() const;
  bool Running() const;

private:
  friend class FakeStream;
  friend class FakeBackend;
  FakeAudioSystem() = default;

  mutable std::mutex mLock;
  std::condition_variable mChanged;
  std::vector<FakeAudioDevice> mDevices;
  bool mFailOpen = false;
  bool mFailStart = false;
  bool mDisconnected = false;
  bool mStepped = false;
  unsigned long long mReleased = 0;
  unsigned long long mBlocksRun = 0;
  bool mRunning = false;
  std::function<float(unsigned int, unsigned long long)> mInput;
  std::vector<std::vector<float>> mOutput;
  FakeStreamRecord mLastOpened;
};

} // namespace audio
