#include "deps/audio/RtAudio.h"

#include "deps/audio/AudioBackend.h"
#include "deps/audio/SampleFormat.h"

#include <windows.h>

#include <algorithm>
#include <cstdio>

namespace {

const unsigned int kDefaultFrames = 512;
const unsigned int kMinFrames = 16;
const unsigned int kMaxFrames = 16384;

std::vector<unsigned int> CommonRates(const std::vector<unsigned int>& a, const std::vector<unsigned int>& b)
{
  std::vector<unsigned int> common;
  for (unsigned int rate : a)
    if (std::find(b.begin(), b.end(), rate) != b.end())
      common.push_back(rate);
  return common;
}

bool Contains(const std::vector<unsigned int>& list, unsigned int value)
{
  return std::find(list.begin(), list.end(), value) != list.end();
}

} // namespace

// DirectSound is the only system interface there is to name.
RtAudio::RtAudio(Api, RtAudioErrorCallback&& errorCallback)
  : RtAudio(audio::MakeDirectSoundBackend, std::move(errorCallback))
{
}

RtAudio::RtAudio(audio::BackendFactory makeBackend, RtAudioErrorCallback&& errorCallback)
  : mApi(makeBackend == audio::MakeDirectSoundBackend ? WINDOWS_DS : CUSTOM)
  , mErrorCallback(std::move(errorCallback))
  , mBackend(makeBackend())
{
}

RtAudio::~RtAudio()
{
  if (isStreamOpen())
    closeStream();
}

RtAudioErrorType RtAudio::Fail(RtAudioErrorType type, const std::string& message)
{
  {
    std::lock_guard<std::mutex> lock(mErrorLock);
    mErrorText = message;
  }
  if (mErrorCallback)
  {
    try
    {
      mErrorCallback(type, message);
    }
    catch (...)
    {
      // The caller's handler must not take the stream thread down with it.
    }
  }
  else
    std::fprintf(stderr, "RtAudio: %s\n", message.c_str());
  return type;
}

const std::string RtAudio::getErrorText() const
{
  std::lock_guard<std::mutex> lock(mErrorLock);
  return mErrorText;
}

void RtAudio::Refresh()
{
  mEndpoints = mBackend->ListEndpoints();
  mDevices.clear();
  // A capture and a render endpoint of the same name are one device, so that a name
  // chosen for either direction finds the device that has it.
  for (int e = 0; e < static_cast<int>(mEndpoints.size()); ++e)
  {
    const audio::Endpoint& endpoint = mEndpoints[e];
    Device* joined = nullptr;
    for (Device& device : mDevices)
    {
      const int slot = endpoint.isInput ? device.inputEndpoint : device.outputEndpoint;
      if (slot < 0 && device.name == endpoint.name)
      {
        joined = &device;
        break;
      }
    }
    if (!joined)
    {
      mDevices.push_back(Device());
      joined = &mDevices.back();
      joined->name = endpoint.name;
    }
    (endpoint.isInput ? joined->inputEndpoint : joined->outputEndpoint) = e;
  }
  // Names are what users store, so each must be unique: later namesakes get " (2)", " (3)".
  std::vector<std::string> used;
  for (Device& device : mDevices)
  {
    std::string unique = device.name;
    for (int n = 2; std::find(used.begin(), used.end(), unique) != used.end(); ++n)
      unique = device.name + " (" + std::to_string(n) + ")";
    device.name = unique;
    used.push_back(unique);
  }
  for (Device& device : mDevices)
  {
    std::string key = device.name;
    key += '\n';
    if (device.inputEndpoint >= 0)
      key += mEndpoints[device.inputEndpoint].key;
    key += '\n';
    if (device.outputEndpoint >= 0)
      key += mEndpoints[device.outputEndpoint].key;
    auto known = std::find_if(mIdsByKey.begin(), mIdsByKey.end(),
                              [&](const std::pair<std::string, unsigned int>& entry) { return entry.first == key; });
    if (known != mIdsByKey.end())
      device.id = known->second;
    else
    {
      device.id = mNextId++;
      mIdsByKey.emplace_back(key, device.id);
    }
  }
}

const RtAudio::Device* RtAudio::FindDevice(unsigned int deviceId) const
{
  for (const Device& device : mDevices)
    if (device.id == deviceId)
      return &device;
  return nullptr;
}

bool RtAudio::CapsOf(int endpoint, audio::EndpointCaps& caps)
{
  if (endpoint < 0)
    return false;
  const audio::Endpoint& e = mEndpoints[endpoint];
  const std::string key = (e.isInput ? "in\n" : "out\n") + e.key;
  for (auto& entry : mCapsByKey)
    if (entry.first == key)
    {
      caps = *entry.second;
      return true;
    }
  std::unique_ptr<audio::EndpointCaps> probed(new audio::EndpointCaps());
  if (!mBackend->Describe(e, *probed))
    return false;
  caps = *probed;
  mCapsByKey.emplace_back(key, std::move(probed));
  return true;
}

std::vector<unsigned int> RtAudio::getDeviceIds()
{
  Refresh();
  std::vector<unsigned int> ids;
  for (const Device& device : mDevices)
    ids.push_back(device.id);
  return ids;
}

unsigned int RtAudio::getDeviceCount()
{
  return static_cast<unsigned int>(getDeviceIds().size());
}

RtAudio::DeviceInfo RtAudio::getDeviceInfo(unsigned int deviceId)
{
  DeviceInfo info;
  if (mDevices.empty())
    Refresh();
  const Device* device = FindDevice(deviceId);
  if (!device)
  {
    Fail(RTAUDIO_INVALID_DEVICE, "getDeviceInfo: no device with id " + std::to_string(deviceId));
    return info;
  }
  audio::EndpointCaps in, out;
  const bool hasIn = CapsOf(device->inputEndpoint, in);
  const bool hasOut = CapsOf(device->outputEndpoint, out);
  info.ID = device->id;
  info.name = device->name;
  info.inputChannels = hasIn ? in.channels : 0;
  info.outputChannels = hasOut ? out.channels : 0;
  info.duplexChannels = hasIn && hasOut ? std::min(in.channels, out.channels) : 0;
  info.isDefaultInput = device->inputEndpoint >= 0 && mEndpoints[device->inputEndpoint].isDefault;
  info.isDefaultOutput = device->outputEndpoint >= 0 && mEndpoints[device->outputEndpoint].isDefault;
  if (hasIn && hasOut)
  {
    // Listed rates work in either direction, so a duplex stream on this device opens.
    info.sampleRates = CommonRates(in.sampleRates, out.sampleRates);
    info.preferredSampleRate = Contains(info.sampleRates, out.preferredSampleRate) ? out.preferredSampleRate
                                                                                    : in.preferredSampleRate;
  }
  else
  {
    info.sampleRates = hasIn ? in.sampleRates : out.sampleRates;
    info.preferredSampleRate = hasIn ? in.preferredSampleRate : out.preferredSampleRate;
  }
  info.nativeFormats = RTAUDIO_SINT16 | RTAUDIO_FLOAT32;
  return info;
}

unsigned int RtAudio::getDefaultOutputDevice()
{
  for (unsigned int id : getDeviceIds())
    if (const Device* device = FindDevice(id))
      if (device->outputEndpoint >= 0 && mEndpoints[device->outputEndpoint].isDefault)
        return id;
  return 0;
}

unsigned int RtAudio::getDefaultInputDevice()
{
  for (unsigned int id : getDeviceIds())
    if (const Device* device = FindDevice(id))
      if (device->inputEndpoint >= 0 && mEndpoints[device->inputEndpoint].isDefault)
        return id;
  return 0;
}

bool RtAudio::CheckDirection(const StreamParameters& parameters, bool input, unsigned int sampleRate,
                             int& endpoint, RtAudioErrorType& error)
{
  const char* direction = input ? "input" : "output";
  const Device* device = FindDevice(parameters.deviceId);
  if (!device)
  {
    error = Fail(RTAUDIO_INVALID_DEVICE, std::string("openStream: no ") + direction + " device with id " +
                                           std::to_string(parameters.deviceId));
    return false;
  }
  endpoint = input ? device->inputEndpoint : device->outputEndpoint;
  audio::EndpointCaps caps;
  if (endpoint < 0)
  {
    error = Fail(RTAUDIO_INVALID_PARAMETER, "openStream: device \"" + device->name + "\" has no " + direction);
    return false;
  }
  if (!CapsOf(endpoint, caps))
  {
    error = Fail(RTAUDIO_DRIVER_ERROR, "openStream: device \"" + device->name + "\" cannot be queried");
    return false;
  }
  if (parameters.nChannels < 1 || parameters.firstChannel >= caps.channels ||
      parameters.nChannels > caps.channels - parameters.firstChannel)
  {
    error = Fail(RTAUDIO_INVALID_PARAMETER, "openStream: device \"" + device->name + "\" offers " +
                                              std::to_string(caps.channels) + " " + direction + " channels, not " +
                                              std::to_string(parameters.nChannels) + " from channel " +
                                              std::to_string(parameters.firstChannel));
    return false;
  }
  if (!Contains(caps.sampleRates, sampleRate))
  {
    error = Fail(RTAUDIO_INVALID_PARAMETER, "openStream: device \"" + device->name + "\" does not support " +
                                              std::to_string(sampleRate) + " Hz for " + direction);
    return false;
  }
  return true;
}

RtAudioErrorType RtAudio::openStream(StreamParameters* outputParameters, StreamParameters* inputParameters,
                                     RtAudioFormat format, unsigned int sampleRate, unsigned int* bufferFrames,
                                     RtAudioCallback callback, void* userData, StreamOptions* options)
{
  if (isStreamOpen())
    return Fail(RTAUDIO_INVALID_USE, "openStream: a stream is already open");
  if (!outputParameters && !inputParameters)
    return Fail(RTAUDIO_INVALID_USE, "openStream: neither input nor output parameters");
  if (!audio::IsSupportedFormat(format))
    return Fail(RTAUDIO_INVALID_PARAMETER, "openStream: unsupported sample format");
  if (!callback || !bufferFrames || sampleRate == 0)
    return Fail(RTAUDIO_INVALID_PARAMETER, "openStream: missing callback, buffer size or sample rate");
  if (mDevices.empty())
    Refresh();

  int inputEndpoint = -1, outputEndpoint = -1;
  RtAudioErrorType error = RTAUDIO_NO_ERROR;
  if (outputParameters && !CheckDirection(*outputParameters, false, sampleRate, outputEndpoint, error))
    return error;
  if (inputParameters && !CheckDirection(*inputParameters, true, sampleRate, inputEndpoint, error))
    return error;

  unsigned int frames = *bufferFrames == 0 ? kDefaultFrames : *bufferFrames;
  frames = std::min(std::max(frames, kMinFrames), kMaxFrames);
  *bufferFrames = frames;

  mUserOut = outputParameters ? outputParameters->nChannels : 0;
  mFirstOut = outputParameters ? outputParameters->firstChannel : 0;
  mDeviceOut = outputParameters ? mFirstOut + mUserOut : 0;
  mUserIn = inputParameters ? inputParameters->nChannels : 0;
  mFirstIn = inputParameters ? inputParameters->firstChannel : 0;
  mDeviceIn = inputParameters ? mFirstIn + mUserIn : 0;

  audio::StreamRequest request;
  request.input = inputEndpoint >= 0 ? &mEndpoints[inputEndpoint] : nullptr;
  request.output = outputEndpoint >= 0 ? &mEndpoints[outputEndpoint] : nullptr;
  request.inputChannels = mDeviceIn;
  request.outputChannels = mDeviceOut;
  request.sampleRate = sampleRate;
  request.frames = frames;
  request.numberOfBuffers = options ? options->numberOfBuffers : 0;
  std::string message;
  std::unique_ptr<audio::BackendStream> stream = mBackend->Open(request, message);
  if (!stream)
    return Fail(RTAUDIO_SYSTEM_ERROR, "openStream: " + message);

  try
  {
    const unsigned int bytes = audio::BytesPerSample(format);
    mDeviceInput.assign(static_cast<size_t>(mDeviceIn) * frames, 0.0f);
    mDeviceOutput.assign(static_cast<size_t>(mDeviceOut) * frames, 0.0f);
    mUserInput.assign(static_cast<size_t>(mUserIn) * frames * bytes, 0);
    mUserOutput.assign(static_cast<size_t>(mUserOut) * frames * bytes, 0);
  }
  catch (...)
  {
    return Fail(RTAUDIO_MEMORY_ERROR, "openStream: out of memory");
  }
  mStream = std::move(stream);
  mCallback = callback;
  mUserData = userData;
  mFormat = format;
  mNonInterleaved = options && (options->flags & RTAUDIO_NONINTERLEAVED);
  mSampleRate = sampleRate;
  mFrames = frames;
  mFramesDone = 0;
  mState = kStopped;
  return RTAUDIO_NO_ERROR;
}

void RtAudio::FinishThread()
{
  if (mThread.joinable())
    mThread.join();
}

RtAudioErrorType RtAudio::startStream()
{
  if (!isStreamOpen())
    return Fail(RTAUDIO_INVALID_USE, "startStream: no stream is open");
  if (isStreamRunning())
    return Fail(RTAUDIO_WARNING, "startStream: the stream is already running");
  FinishThread();
  std::string message;
  if (!mStream->Start(message))
    return Fail(RTAUDIO_SYSTEM_ERROR, "startStream: " + message);
  mQuit = false;
  mState = kRunning;
  try
  {
    mThread = std::thread(&RtAudio::RunStream, this);
  }
  catch (...)
  {
    mStream->Stop();
    mState = kStopped;
    return Fail(RTAUDIO_THREAD_ERROR, "startStream: the stream thread could not be started");
  }
  return RTAUDIO_NO_ERROR;
}

RtAudioErrorType RtAudio::stopStream()
{
  if (!isStreamRunning())
  {
    FinishThread();
    return isStreamOpen() ? Fail(RTAUDIO_WARNING, "stopStream: the stream is not running")
                          : Fail(RTAUDIO_INVALID_USE, "stopStream: no stream is open");
  }
  mQuit = true;
  FinishThread();
  mStream->Drain();
  mState = kStopped;
  return RTAUDIO_NO_ERROR;
}

RtAudioErrorType RtAudio::abortStream()
{
  if (!isStreamRunning())
  {
    FinishThread();
    return isStreamOpen() ? Fail(RTAUDIO_WARNING, "abortStream: the stream is not running")
                          : Fail(RTAUDIO_INVALID_USE, "abortStream: no stream is open");
  }
  mQuit = true;
  FinishThread();
  mStream->Stop();
  mState = kStopped;
  return RTAUDIO_NO_ERROR;
}

RtAudioErrorType RtAudio::closeStream()
{
  if (!isStreamOpen())
    return Fail(RTAUDIO_WARNING, "closeStream: no stream is open");
  if (isStreamRunning())
    abortStream();
  FinishThread();
  mStream.reset();
  mDeviceInput.clear();
  mDeviceOutput.clear();
  mUserInput.clear();
  mUserOutput.clear();
  mState = kClosed;
  return RTAUDIO_NO_ERROR;
}

double RtAudio::getStreamTime() const
{
  return isStreamOpen() && mSampleRate ? static_cast<double>(mFramesDone.load()) / mSampleRate : 0.0;
}

void RtAudio::ConvertInput()
{
  for (unsigned int frame = 0; frame < mFrames; ++frame)
    for (unsigned int c = 0; c < mUserIn; ++c)
    {
      const float value = mDeviceInput[static_cast<size_t>(frame) * mDeviceIn + mFirstIn + c];
      const size_t index = mNonInterleaved ? static_cast<size_t>(c) * mFrames + frame
                                           : static_cast<size_t>(frame) * mUserIn + c;
      audio::WriteSample(mFormat, mUserInput.data(), index, value);
    }
}

void RtAudio::ConvertOutput()
{
  std::fill(mDeviceOutput.begin(), mDeviceOutput.end(), 0.0f);
  for (unsigned int frame = 0; frame < mFrames; ++frame)
    for (unsigned int c = 0; c < mUserOut; ++c)
    {
      const size_t index = mNonInterleaved ? static_cast<size_t>(c) * mFrames + frame
                                           : static_cast<size_t>(frame) * mUserOut + c;
      mDeviceOutput[static_cast<size_t>(frame) * mDeviceOut + mFirstOut + c] =
        audio::ReadSample(mFormat, mUserOutput.data(), index);
    }
}

void RtAudio::RunStream()
{
  SetThreadPriority(GetCurrentThread(), THREAD_PRIORITY_HIGHEST);
  for (;;)
  {
    RtAudioStreamStatus status = 0;
    std::string message;
    const audio::WaitResult wait = mStream->WaitForBlock(mQuit, status, message);
    if (wait == audio::WaitResult::Quit)
      return; // the caller of stop or abort finishes the stream
    if (wait == audio::WaitResult::Failed)
    {
      mStream->Stop();
      mState = kStopped;
      Fail(RTAUDIO_DEVICE_DISCONNECT, "stream: " + message);
      return;
    }
    if (mDeviceIn)
    {
      mStream->ReadInput(mDeviceInput.data());
      ConvertInput();
    }
    // A callback that leaves the output alone plays silence, not the previous block.
    std::fill(mUserOutput.begin(), mUserOutput.end(), 0);
    int result = 2;
    try
    {
      result = mCallback(mUserOut ? mUserOutput.data() : nullptr, mUserIn ? mUserInput.data() : nullptr, mFrames,
                         getStreamTime(), status, mUserData);
    }
    catch (...)
    {
      Fail(RTAUDIO_UNKNOWN_ERROR, "stream: the callback threw; the stream stops");
    }
    mFramesDone += mFrames;
    if (mDeviceOut)
    {
      ConvertOutput();
      mStream->WriteOutput(mDeviceOutput.data());
    }
    if (result == 1)
      mStream->Drain();
    if (result != 0)
    {
      mStream->Stop();
      mState = kStopped;
      return;
    }
  }
}
