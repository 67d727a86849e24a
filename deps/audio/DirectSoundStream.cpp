#include "deps/audio/DirectSoundStream.h"

#include <mmsystem.h>

#include <algorithm>
#include <cstdio>
#include <cstring>

namespace audio {

namespace {

// A device whose cursor stands still this long while we wait has gone away.
const ULONGLONG kStallMilliseconds = 5000;
// The least latency we aim for, whatever the block size: below this DirectSound's own
// mixing period makes the output run dry.
const unsigned int kMinimumLatencyMs = 40;
// Queued output below this is served at once, with silence for input that is late:
// a little more than the period in which DirectSound takes samples from the buffer.
const unsigned int kUrgentMs = 15;
// Room in the render ring for what the device has taken but not yet played.
const unsigned int kCommittedRoomMs = 100;

std::string HResultText(const char* what, HRESULT result)
{
  char text[96];
  std::snprintf(text, sizeof(text), "%s failed (0x%08lx)", what, static_cast<unsigned long>(result));
  return text;
}

// Runs a call on a render buffer, and once more after restoring the buffer when another
// application had taken the device over and the buffer was lost.
template <typename Call> HRESULT WithRestore(IDirectSoundBuffer* buffer, Call call)
{
  HRESULT result = call();
  if (result == DSERR_BUFFERLOST && SUCCEEDED(buffer->Restore()))
    result = call();
  return result;
}

template <typename T> void Release(T*& object)
{
  if (object)
    object->Release();
  object = nullptr;
}

} // namespace

DirectSoundStream::~DirectSoundStream()
{
  Stop();
  Release(mRenderBuffer);
  Release(mRender);
  Release(mCaptureBuffer);
  Release(mCapture);
}

std::unique_ptr<DirectSoundStream> DirectSoundStream::Open(const StreamRequest& request, const GUID* inputDevice,
                                                           const GUID* outputDevice, std::string& error)
{
  std::unique_ptr<DirectSoundStream> stream(new DirectSoundStream());
  stream->mFrames = request.frames;
  stream->mRate = request.sampleRate;
  stream->mInChannels = request.input ? request.inputChannels : 0;
  stream->mOutChannels = request.output ? request.outputChannels : 0;
  const unsigned int buffers = std::max(request.numberOfBuffers, 2u);
  const unsigned int minimumFrames = request.sampleRate * kMinimumLatencyMs / 1000;
  const unsigned int blocks = std::max(buffers, (minimumFrames + request.frames - 1) / request.frames);
  stream->mTargetFrames = blocks * request.frames;
  stream->mUrgentFrames =
    std::min<DWORD>(stream->mTargetFrames - request.frames, std::max(request.frames, request.sampleRate * kUrgentMs / 1000));
  if (request.output && !stream->OpenRender(outputDevice, error))
    return nullptr;
  if (request.input && !stream->OpenCapture(inputDevice, error))
    return nullptr;
  stream->mClock.reset(new StreamClock(request.frames, stream->mTargetFrames, stream->mUrgentFrames,
                                       stream->RenderRingFrames(), stream->CaptureRingFrames()));
  return stream;
}

bool DirectSoundStream::OpenRender(const GUID* device, std::string& error)
{
  HRESULT result = DirectSoundCreate8(device, &mRender, nullptr);
  if (FAILED(result))
  {
    error = HResultText("DirectSoundCreate8", result);
    return false;
  }
  // The cooperative level wants a window; we have none of our own, and with global focus
  // the buffer plays whichever window is in front.
  result = mRender->SetCooperativeLevel(GetDesktopWindow(), DSSCL_PRIORITY);
  if (FAILED(result))
  {
    error = HResultText("SetCooperativeLevel", result);
    return false;
  }
  for (DeviceSampleType type : {DeviceSampleType::Float32, DeviceSampleType::Int16})
  {
    WAVEFORMATEXTENSIBLE format;
    MakeWaveFormat(type, mOutChannels, mRate, format);
    mRenderFrameBytes = format.Format.nBlockAlign;
    mRenderBytes = (2 * mTargetFrames + 2 * mFrames + mRate * kCommittedRoomMs / 1000) * mRenderFrameBytes;
    DSBUFFERDESC description;
    std::memset(&description, 0, sizeof(description));
    description.dwSize = sizeof(description);
    description.dwFlags = DSBCAPS_GLOBALFOCUS | DSBCAPS_GETCURRENTPOSITION2;
    description.dwBufferBytes = mRenderBytes;
    description.lpwfxFormat = &format.Format;
    result = mRender->CreateSoundBuffer(&description, &mRenderBuffer, nullptr);
    if (SUCCEEDED(result))
    {
      mRenderType = type;
      return true;
    }
  }
  error = HResultText("CreateSoundBuffer", result);
  return false;
}

bool DirectSoundStream::OpenCapture(const GUID* device, std::string& error)
{
  HRESULT result = DirectSoundCaptureCreate8(device, &mCapture, nullptr);
  if (FAILED(result))
  {
    error = HResultText("DirectSoundCaptureCreate8", result);
    return false;
  }
  for (DeviceSampleType type : {DeviceSampleType::Float32, DeviceSampleType::Int16})
  {
    WAVEFORMATEXTENSIBLE format;
    MakeWaveFormat(type, mInChannels, mRate, format);
    mCaptureFrameBytes = format.Format.nBlockAlign;
    mCaptureBytes = (2 * mTargetFrames + 2 * mFrames) * mCaptureFrameBytes;
    DSCBUFFERDESC description;
    std::memset(&description, 0, sizeof(description));
    description.dwSize = sizeof(description);
    description.dwBufferBytes = mCaptureBytes;
    description.lpwfxFormat = &format.Format;
    result = mCapture->CreateCaptureBuffer(&description, &mCaptureBuffer, nullptr);
    if (SUCCEEDED(result))
    {
      mCaptureType = type;
      return true;
    }
  }
  error = HResultText("CreateCaptureBuffer", result);
  return false;
}

bool DirectSoundStream::Start(std::string& error)
{
  if (mRunning)
    return true;
  if (mRenderBuffer)
  {
    mRenderBuffer->Stop();
    RenderSpan span;
    const HRESULT result = LockRender(0, mRenderBytes, DSBLOCK_ENTIREBUFFER, span);
    if (FAILED(result))
    {
      error = HResultText("Lock", result);
      return false;
    }
    std::memset(span.part1, 0, span.bytes1);
    mRenderBuffer->Unlock(span.part1, span.bytes1, span.part2, span.bytes2);
    mRenderBuffer->SetCurrentPosition(0);
    // The target's worth of silence plays first, while the first blocks are made.
    mWritePosition = mTargetFrames;
  }
  if (mCaptureBuffer)
  {
    const HRESULT result = mCaptureBuffer->Start(DSCBSTART_LOOPING);
    if (FAILED(result))
    {
      error = HResultText("capture Start", result);
      return false;
    }
    DWORD capture = 0, read = 0;
    mCaptureBuffer->GetCurrentPosition(&capture, &read);
    mReadPosition = read / mCaptureFrameBytes;
  }
  if (mRenderBuffer)
  {
    const HRESULT result = mRenderBuffer->Play(0, 0, DSBPLAY_LOOPING);
    if (FAILED(result))
    {
      if (mCaptureBuffer)
        mCaptureBuffer->Stop();
      error = HResultText("Play", result);
      return false;
    }
  }
  // The stream is paced by polling the cursors; with the system's default timer period
  // (about 16 ms on Windows) a poll could come too late for small blocks.
  timeBeginPeriod(1);
  mRunning = true;
  return true;
}

bool DirectSoundStream::RenderQueued(DWORD& queuedFrames, RtAudioStreamStatus& status)
{
  DWORD play = 0, write = 0;
  if (FAILED(WithRestore(mRenderBuffer, [&] { return mRenderBuffer->GetCurrentPosition(&play, &write); })))
    return false;
  queuedFrames = mClock->Queued(play / mRenderFrameBytes, write / mRenderFrameBytes, mWritePosition, status);
  return true;
}

bool DirectSoundStream::CaptureAvailable(DWORD& availableFrames, RtAudioStreamStatus& status)
{
  DWORD capture = 0, read = 0;
  if (FAILED(mCaptureBuffer->GetCurrentPosition(&capture, &read)))
    return false;
  availableFrames = mClock->Available(read / mCaptureFrameBytes, mReadPosition, status);
  return true;
}

WaitResult DirectSoundStream::WaitForBlock(const std::atomic<bool>& quit, RtAudioStreamStatus& status,
                                           std::string& error)
{
  ULONGLONG lastProgress = GetTickCount64();
  DWORD lastQueued = 0, lastAvailable = 0;
  while (!quit)
  {
    DWORD queued = 0, available = 0;
    if (mRenderBuffer && !RenderQueued(queued, status))
    {
      error = "the output device stopped answering";
      return WaitResult::Failed;
    }
    if (mCaptureBuffer && !CaptureAvailable(available, status))
    {
      error = "the input device stopped answering";
      return WaitResult::Failed;
    }
    if (mClock->Due(mRenderBuffer != nullptr, mCaptureBuffer != nullptr, queued, available))
    {
      mAvailableFrames = available;
      return WaitResult::Ready;
    }
    const ULONGLONG now = GetTickCount64();
    if (queued != lastQueued || available != lastAvailable)
    {
      lastProgress = now;
      lastQueued = queued;
      lastAvailable = available;
    }
    else if (now - lastProgress > kStallMilliseconds)
    {
      error = "the device stopped moving";
      return WaitResult::Failed;
    }
    Sleep(1);
  }
  return WaitResult::Quit;
}

void DirectSoundStream::ReadInput(float* interleaved)
{
  const DWORD frames = std::min<DWORD>(mAvailableFrames, mFrames);
  float* target = interleaved;
  if (frames > 0)
  {
    void* part1 = nullptr;
    void* part2 = nullptr;
    DWORD bytes1 = 0, bytes2 = 0;
    if (SUCCEEDED(mCaptureBuffer->Lock(mReadPosition * mCaptureFrameBytes, frames * mCaptureFrameBytes, &part1, &bytes1, &part2, &bytes2, 0)))
    {
      const unsigned int sampleBytes = DeviceBytesPerSample(mCaptureType);
      DeviceToFloat(mCaptureType, part1, target, bytes1 / sampleBytes);
      target += bytes1 / sampleBytes;
      if (part2)
      {
        DeviceToFloat(mCaptureType, part2, target, bytes2 / sampleBytes);
        target += bytes2 / sampleBytes;
      }
      mCaptureBuffer->Unlock(part1, bytes1, part2, bytes2);
    }
    mReadPosition = (mReadPosition + frames) % CaptureRingFrames();
  }
  // Late input: the missing frames are silence.
  std::fill(target, interleaved + static_cast<size_t>(mFrames) * mInChannels, 0.0f);
}

HRESULT DirectSoundStream::LockRender(DWORD offset, DWORD bytes, DWORD flags, RenderSpan& span)
{
  return WithRestore(mRenderBuffer, [&] {
    return mRenderBuffer->Lock(offset, bytes, &span.part1, &span.bytes1, &span.part2, &span.bytes2, flags);
  });
}

void DirectSoundStream::WriteOutput(const float* interleaved)
{
  RenderSpan span;
  if (SUCCEEDED(LockRender(mWritePosition * mRenderFrameBytes, mFrames * mRenderFrameBytes, 0, span)))
  {
    const unsigned int sampleBytes = DeviceBytesPerSample(mRenderType);
    FloatToDevice(mRenderType, interleaved, span.part1, span.bytes1 / sampleBytes);
    if (span.part2)
      FloatToDevice(mRenderType, interleaved + span.bytes1 / sampleBytes, span.part2, span.bytes2 / sampleBytes);
    mRenderBuffer->Unlock(span.part1, span.bytes1, span.part2, span.bytes2);
  }
  mWritePosition = (mWritePosition + mFrames) % RenderRingFrames();
}

void DirectSoundStream::Drain()
{
  DWORD play = 0, write = 0;
  if (mRunning && mRenderBuffer && SUCCEEDED(mRenderBuffer->GetCurrentPosition(&play, &write)))
  {
    // The ring loops: silence after our last block, so nothing old plays while we wait.
    const unsigned int pending = StreamClock::Distance(play / mRenderFrameBytes, mWritePosition, RenderRingFrames());
    const DWORD silenceBytes = (RenderRingFrames() - pending - 1) * mRenderFrameBytes;
    RenderSpan span;
    if (SUCCEEDED(LockRender(mWritePosition * mRenderFrameBytes, silenceBytes, 0, span)))
    {
      std::memset(span.part1, 0, span.bytes1);
      if (span.part2)
        std::memset(span.part2, 0, span.bytes2);
      mRenderBuffer->Unlock(span.part1, span.bytes1, span.part2, span.bytes2);
    }
    Sleep(pending * 1000 / mRate + 10);
  }
  Stop();
}

void DirectSoundStream::Stop()
{
  if (!mRunning.exchange(false))
    return;
  timeEndPeriod(1);
  if (mRenderBuffer)
    mRenderBuffer->Stop();
  if (mCaptureBuffer)
    mCaptureBuffer->Stop();
}

} // namespace audio
