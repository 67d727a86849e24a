#include "tests/support/FakeAudioSystem.h"

#include "deps/audio/AudioBackend.h"

#include <chrono>
#include <thread>

namespace audio {

namespace {
const size_t kMaxRecordedFrames = size_t(1) << 20;
}

FakeAudioSystem& FakeAudioSystem::Get()
{
  static FakeAudioSystem system;
  return system;
}

void FakeAudioSystem::Reset()
{
  std::lock_guard<std::mutex> lock(mLock);
  mDevices.clear();
  mFailOpen = mFailStart = mDisconnected = mStepped = false;
  mReleased = mBlocksRun = 0;
  mInput = nullptr;
  mOutput.clear();
  mLastOpened = FakeStreamRecord();
  mChanged.notify_all();
}

void FakeAudioSystem::SetDevices(const std::vector<FakeAudioDevice>& devices)
{
  std::lock_guard<std::mutex> lock(mLock);
  mDevices = devices;
}

void FakeAudioSystem::FailOpen(bool fail)
{
  std::lock_guard<std::mutex> lock(mLock);
  mFailOpen = fail;
}

void FakeAudioSystem::FailStart(bool fail)
{
  std::lock_guard<std::mutex> lock(mLock);
  mFailStart = fail;
}

void FakeAudioSystem::Disconnect()
{
  std::lock_guard<std::mutex> lock(mLock);
  mDisconnected = true;
  mChanged.notify_all();
}

void FakeAudioSystem::SetStepped(bool stepped)
{
  std::lock_guard<std::mutex> lock(mLock);
  mStepped = stepped;
  mReleased = mBlocksRun;
  mChanged.notify_all();
}

bool FakeAudioSystem::RunBlocks(unsigned int count, unsigned int timeoutMs)
{
  std::unique_lock<std::mutex> lock(mLock);
  const unsigned long long target = mBlocksRun + count;
  mReleased = target;
  mChanged.notify_all();
  if (mChanged.wait_for(lock, std::chrono::milliseconds(timeoutMs), [&] { return mBlocksRun >= target; }))
    return true;
  mReleased = mBlocksRun;
  return false;
}

void FakeAudioSystem::SetInput(std::function<float(unsigned int, unsigned long long)> input)
{
  std::lock_guard<std::mutex> lock(mLock);
  mInput = std::move(input);
}

std::vector<float> FakeAudioSystem::Output(unsigned int channel) const
{
  std::lock_guard<std::mutex> lock(mLock);
  return channel < mOutput.size() ? mOutput[channel] : std::vector<float>();
}

FakeStreamRecord FakeAudioSystem::LastOpened() const
{
  std::lock_guard<std::mutex> lock(mLock);
  return mLastOpened;
}

unsigned long long FakeAudioSystem::BlocksRun() const
{
  std::lock_guard<std::mutex> lock(mLock);
  return mBlocksRun;
}

bool FakeAudioSystem::Running() const
{
  std::lock_guard<std::mutex> lock(mLock);
  return mRunning;
}

class FakeStream : public BackendStream
{
public:
  FakeStream(FakeAudioSystem& system, const StreamRequest& request)
    : mSystem(system)
    , mRequest(request)
  {
    mRequest.input = mRequest.output = nullptr; // the endpoints do not outlive Open
  }
  ~FakeStream() override { Stop(); }

  bool Start(std::string& error) override
  {
    std::lock_guard<std::mutex> lock(mSystem.mLock);
    if (mSystem.mFailStart)
    {
      error = "the fake device refused to start";
      return false;
    }
    mSystem.mRunning = true;
    mSystem.mDisconnected = false;
    mNextBlock = std::chrono::steady_clock::now();
    return true;
  }

  WaitResult WaitForBlock(const std::atomic<bool>& quit, RtAudioStreamStatus&, std::string& error) override
  {
    std::unique_lock<std::mutex> lock(mSystem.mLock);
    CompleteBlock();
    for (;;)
    {
      if (quit)
        return WaitResult::Quit;
      if (mSystem.mDisconnected)
      {
        error = "the fake device went away";
        return WaitResult::Failed;
      }
      if (mSystem.mStepped ? mSystem.mReleased > mSystem.mBlocksRun
                           : std::chrono::steady_clock::now() >= mNextBlock)
        break;
      mSystem.mChanged.wait_for(lock, std::chrono::milliseconds(1));
    }
    mNextBlock += std::chrono::microseconds(1000000ull * mRequest.frames / mRequest.sampleRate);
    mPending = true;
    return WaitResult::Ready;
  }

  void ReadInput(float* interleaved) override
  {
    std::lock_guard<std::mutex> lock(mSystem.mLock);
    const unsigned int channels = mRequest.inputChannels;
    for (unsigned int frame = 0; frame < mRequest.frames; ++frame)
      for (unsigned int c = 0; c < channels; ++c)
        interleaved[frame * channels + c] = mSystem.mInput ? mSystem.mInput(c, mFrame + frame) : 0.0f;
  }

  void WriteOutput(const float* interleaved) override
  {
    std::lock_guard<std::mutex> lock(mSystem.mLock);
    const unsigned int channels = mRequest.outputChannels;
    mSystem.mOutput.resize(channels);
    for (unsigned int c = 0; c < channels; ++c)
    {
      std::vector<float>& recorded = mSystem.mOutput[c];
      for (unsigned int frame = 0; frame < mRequest.frames && recorded.size() < kMaxRecordedFrames; ++frame)
        recorded.push_back(interleaved[frame * channels + c]);
    }
  }

  void Drain() override { Stop(); }

  void Stop() override
  {
    std::lock_guard<std::mutex> lock(mSystem.mLock);
    CompleteBlock();
    mSystem.mRunning = false;
  }

private:
  void CompleteBlock()
  {
    if (!mPending)
      return;
    mPending = false;
    mFrame += mRequest.frames;
    ++mSystem.mBlocksRun;
    mSystem.mChanged.notify_all();
  }

  FakeAudioSystem& mSystem;
  StreamRequest mRequest;
  std::chrono::steady_clock::time_point mNextBlock;
  unsigned long long mFrame = 0;
  bool mPending = false;
};

class FakeBackend : public Backend
{
  // A device's name and how many namesakes with that direction come before it, so keys
  // survive other devices coming and going.
  static std::string KeyOf(const std::vector<FakeAudioDevice>& devices, size_t index, bool input)
  {
    int earlier = 0;
    for (size_t i = 0; i < index; ++i)
      if (devices[i].name == devices[index].name && (input ? devices[i].inputChannels : devices[i].outputChannels))
        ++earlier;
    return devices[index].name + "#" + std::to_string(earlier);
  }

public:
  std::vector<Endpoint> ListEndpoints() override
  {
    FakeAudioSystem& system = FakeAudioSystem::Get();
    std::lock_guard<std::mutex> lock(system.mLock);
    std::vector<Endpoint> endpoints;
    for (size_t index = 0; index < system.mDevices.size(); ++index)
      for (bool input : {false, true})
        if (input ? system.mDevices[index].inputChannels : system.mDevices[index].outputChannels)
        {
          const FakeAudioDevice& device = system.mDevices[index];
          Endpoint endpoint;
          endpoint.isInput = input;
          endpoint.name = device.name;
          endpoint.key = KeyOf(system.mDevices, index, input);
          endpoint.isDefault = input ? device.isDefaultInput : device.isDefaultOutput;
          endpoints.push_back(endpoint);
        }
    return endpoints;
  }

  bool Describe(const Endpoint& endpoint, EndpointCaps& caps) override
  {
    FakeAudioSystem& system = FakeAudioSystem::Get();
    std::lock_guard<std::mutex> lock(system.mLock);
    for (size_t index = 0; index < system.mDevices.size(); ++index)
      if ((endpoint.isInput ? system.mDevices[index].inputChannels : system.mDevices[index].outputChannels) &&
          KeyOf(system.mDevices, index, endpoint.isInput) == endpoint.key)
      {
        const FakeAudioDevice& device = system.mDevices[index];
        caps.channels = endpoint.isInput ? device.inputChannels : device.outputChannels;
        caps.sampleRates = device.sampleRates;
        caps.preferredSampleRate = device.sampleRates.empty() ? 0 : device.sampleRates.front();
        return caps.channels > 0;
      }
    return false;
  }

  std::unique_ptr<BackendStream> Open(const StreamRequest& request, std::string& error) override
  {
    FakeAudioSystem& system = FakeAudioSystem::Get();
    std::lock_guard<std::mutex> lock(system.mLock);
    if (system.mFailOpen)
    {
      error = "the fake device refused to open";
      return nullptr;
    }
    FakeStreamRecord& record = system.mLastOpened;
    record.inputDevice = request.input ? request.input->name : std::string();
    record.outputDevice = request.output ? request.output->name : std::string();
    record.inputChannels = request.inputChannels;
    record.outputChannels = request.outputChannels;
    record.sampleRate = request.sampleRate;
    record.frames = request.frames;
    system.mOutput.clear();
    system.mBlocksRun = system.mReleased = 0;
    return std::unique_ptr<BackendStream>(new FakeStream(system, request));
  }
};

std::unique_ptr<Backend> MakeFakeBackend()
{
  return std::unique_ptr<Backend>(new FakeBackend());
}

} // namespace audio
