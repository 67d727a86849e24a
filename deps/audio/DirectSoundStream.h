#pragma once

// A DirectSound stream: a looping render buffer and a looping capture buffer, each a ring
// of about twice the target latency, paced by a StreamClock. Input that is late when the
// output is about to run dry is made up with silence.

#include "deps/audio/AudioBackend.h"
#include "deps/audio/DirectSoundFormat.h"
#include "deps/audio/StreamClock.h"

#include <dsound.h>

#include <vector>

namespace audio {

class DirectSoundStream : public BackendStream
{
public:
  ~DirectSoundStream() override;

  // Null with a reason when a device or buffer cannot be made.
  static std::unique_ptr<DirectSoundStream> Open(const StreamRequest& request, const GUID* inputDevice,
                                                 const GUID* outputDevice, std::string& error);

  bool Start(std::string& error) override;
  WaitResult WaitForBlock(const std::atomic<bool>& quit, RtAudioStreamStatus& status,
                          std::string& error) override;
  void ReadInput(float* interleaved) override;
  void WriteOutput(const float* interleaved) override;
  void Drain() override;
  void Stop() override;

private:
  DirectSoundStream() = default;
  bool OpenRender(const GUID* device, std::string& error);
  bool OpenCapture(const GUID* device, std::string& error);
  bool RenderQueued(DWORD& queuedFrames, RtAudioStreamStatus& status);
  // A locked span of the render ring: two parts where it wraps.
  struct RenderSpan
  {
    void* part1 = nullptr;
    void* part2 = nullptr;
    DWORD bytes1 = 0, bytes2 = 0;
  };
  // Every lock of the render ring goes through here, so a lost buffer is restored first.
  HRESULT LockRender(DWORD offset, DWORD bytes, DWORD flags, RenderSpan& span);
  bool CaptureAvailable(DWORD& availableFrames, RtAudioStreamStatus& status);
  unsigned int RenderRingFrames() const { return mRenderBytes / mRenderFrameBytes; }
  unsigned int CaptureRingFrames() const { return mCaptureBytes / mCaptureFrameBytes; }

  unsigned int mFrames = 0, mRate = 0;
  unsigned int mInChannels = 0, mOutChannels = 0;
  DWORD mTargetFrames = 0;
  DWORD mUrgentFrames = 0;

  IDirectSound8* mRender = nullptr;
  IDirectSoundBuffer* mRenderBuffer = nullptr;
  DeviceSampleType mRenderType = DeviceSampleType::Float32;
  DWORD mRenderFrameBytes = 0, mRenderBytes = 0;
  unsigned int mWritePosition = 0; // frame where our next block goes

  IDirectSoundCapture8* mCapture = nullptr;
  IDirectSoundCaptureBuffer* mCaptureBuffer = nullptr;
  DeviceSampleType mCaptureType = DeviceSampleType::Float32;
  DWORD mCaptureFrameBytes = 0, mCaptureBytes = 0;
  unsigned int mReadPosition = 0; // the next captured frame we hand on
  DWORD mAvailableFrames = 0;

  std::unique_ptr<StreamClock> mClock;
  std::atomic<bool> mRunning{false};
  std::vector<unsigned char> mScratch;
};

} // namespace audio
