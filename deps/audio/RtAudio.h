#pragma once

// Our own audio device layer: device enumeration and a duplex stream whose callback runs
// on the layer's own thread. The real back end is DirectSound; another one (a test's) can
// be handed to the constructor as a factory. Failures come back as error codes plus a message to the
// error callback; nothing here throws.

#include <atomic>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

typedef unsigned long RtAudioFormat;
static const RtAudioFormat RTAUDIO_SINT16 = 0x2;
static const RtAudioFormat RTAUDIO_SINT32 = 0x8;
static const RtAudioFormat RTAUDIO_FLOAT32 = 0x10;
static const RtAudioFormat RTAUDIO_FLOAT64 = 0x20;

typedef unsigned int RtAudioStreamFlags;
static const RtAudioStreamFlags RTAUDIO_NONINTERLEAVED = 0x1;

typedef unsigned int RtAudioStreamStatus;
static const RtAudioStreamStatus RTAUDIO_INPUT_OVERFLOW = 0x1;   // input frames were dropped
static const RtAudioStreamStatus RTAUDIO_OUTPUT_UNDERFLOW = 0x2; // output ran dry before this block

// Returns 0 to go on, 1 to stop once the written output has played, 2 to stop at once.
typedef int (*RtAudioCallback)(void* outputBuffer, void* inputBuffer, unsigned int nFrames,
                               double streamTime, RtAudioStreamStatus status, void* userData);

enum RtAudioErrorType
{
  RTAUDIO_NO_ERROR = 0,
  RTAUDIO_WARNING,
  RTAUDIO_UNKNOWN_ERROR,
  RTAUDIO_NO_DEVICES_FOUND,
  RTAUDIO_INVALID_DEVICE,
  RTAUDIO_DEVICE_DISCONNECT,
  RTAUDIO_MEMORY_ERROR,
  RTAUDIO_INVALID_PARAMETER,
  RTAUDIO_INVALID_USE,
  RTAUDIO_DRIVER_ERROR,
  RTAUDIO_SYSTEM_ERROR,
  RTAUDIO_THREAD_ERROR
};

typedef std::function<void(RtAudioErrorType type, const std::string& message)> RtAudioErrorCallback;

namespace audio {
class Backend;
class BackendStream;
struct Endpoint;
struct EndpointCaps;

using BackendFactory = std::unique_ptr<Backend> (*)();
std::unique_ptr<Backend> MakeDirectSoundBackend();
} // namespace audio

class RtAudio
{
public:
  enum Api
  {
    UNSPECIFIED,
    WINDOWS_DS, // DirectSound
    CUSTOM      // a back end from another factory
  };

  struct DeviceInfo
  {
    unsigned int ID = 0;
    std::string name;
    unsigned int outputChannels = 0;
    unsigned int inputChannels = 0;
    unsigned int duplexChannels = 0;
    bool isDefaultOutput = false;
    bool isDefaultInput = false;
    std::vector<unsigned int> sampleRates;
    unsigned int currentSampleRate = 0;
    unsigned int preferredSampleRate = 0;
    RtAudioFormat nativeFormats = 0;
  };

  struct StreamParameters
  {
    unsigned int deviceId = 0;
    unsigned int nChannels = 0;
    unsigned int firstChannel = 0;
  };

  struct StreamOptions
  {
    RtAudioStreamFlags flags = 0;
    unsigned int numberOfBuffers = 0; // 0 chooses the layer's default latency
    std::string streamName;
    int priority = 0;
  };

  explicit RtAudio(Api api = UNSPECIFIED, RtAudioErrorCallback&& errorCallback = nullptr);
  explicit RtAudio(audio::BackendFactory makeBackend, RtAudioErrorCallback&& errorCallback = nullptr);
  ~RtAudio();
  RtAudio(const RtAudio&) = delete;
  RtAudio& operator=(const RtAudio&) = delete;

  Api getCurrentApi() const { return mApi; }

  // Ids stay the same for a device as long as this object lives; they are not indices.
  std::vector<unsigned int> getDeviceIds();
  unsigned int getDeviceCount();
  // A record with ID 0 and an empty name when the id is unknown.
  DeviceInfo getDeviceInfo(unsigned int deviceId);
  unsigned int getDefaultOutputDevice(); // 0 when there is none
  unsigned int getDefaultInputDevice();

  // Either parameter block may be null (not both). *bufferFrames may change.
  RtAudioErrorType openStream(StreamParameters* outputParameters, StreamParameters* inputParameters,
                              RtAudioFormat format, unsigned int sampleRate, unsigned int* bufferFrames,
                              RtAudioCallback callback, void* userData = nullptr,
                              StreamOptions* options = nullptr);
  RtAudioErrorType closeStream();
  RtAudioErrorType startStream();
  RtAudioErrorType stopStream();  // plays what was written, then stops
  RtAudioErrorType abortStream(); // stops at once

  bool isStreamOpen() const { return mState.load() != kClosed; }
  bool isStreamRunning() const { return mState.load() == kRunning; }
  double getStreamTime() const;
  unsigned int getStreamSampleRate() const { return isStreamOpen() ? mSampleRate : 0; }
  const std::string getErrorText() const;

private:
  enum State { kClosed, kStopped, kRunning };

  struct Device
  {
    unsigned int id = 0;
    std::string name;
    int inputEndpoint = -1;  // index into mEndpoints
    int outputEndpoint = -1;
  };

  void Refresh();
  const Device* FindDevice(unsigned int deviceId) const;
  bool CapsOf(int endpoint, audio::EndpointCaps& caps);
  RtAudioErrorType Fail(RtAudioErrorType type, const std::string& message);
  bool CheckDirection(const StreamParameters& parameters, bool input, unsigned int sampleRate,
                      int& endpoint, RtAudioErrorType& error);
  void RunStream();
  void FinishThread();
  void ConvertInput();
  void ConvertOutput();

  Api mApi;
  RtAudioErrorCallback mErrorCallback;
  std::unique_ptr<audio::Backend> mBackend;
  mutable std::mutex mErrorLock;
  std::string mErrorText;

  std::vector<audio::Endpoint> mEndpoints;
  // Probed on demand and kept, so that a device in use by the stream is not probed again.
  std::vector<std::pair<std::string, std::unique_ptr<audio::EndpointCaps>>> mCapsByKey;
  std::vector<Device> mDevices;
  std::vector<std::pair<std::string, unsigned int>> mIdsByKey;
  unsigned int mNextId = 1;

  std::atomic<int> mState{kClosed};
  std::unique_ptr<audio::BackendStream> mStream;
  std::thread mThread;
  std::atomic<bool> mQuit{false};
  std::atomic<unsigned long long> mFramesDone{0};
  RtAudioCallback mCallback = nullptr;
  void* mUserData = nullptr;
  RtAudioFormat mFormat = RTAUDIO_FLOAT64;
  bool mNonInterleaved = false;
  unsigned int mSampleRate = 0;
  unsigned int mFrames = 0;
  unsigned int mUserIn = 0, mUserOut = 0;       // channels the callback sees
  unsigned int mFirstIn = 0, mFirstOut = 0;     // first device channel used
  unsigned int mDeviceIn = 0, mDeviceOut = 0;   // channels exchanged with the device
  std::vector<float> mDeviceInput, mDeviceOutput; // interleaved
  std::vector<unsigned char> mUserInput, mUserOutput;
};
