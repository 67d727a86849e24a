#pragma once

// A DirectSound stream: a looping render buffer and a looping capture buffer, each a ring
// of about twice the target latency. The render device is the clock when there is one:
// a block is due whenever less than the target is queued for playing. Capture and render
// clocks drift apart; a capture backlog beyond the target is dropped (input overflow) and
// input that is late when the output is about to run dry is padded with silence.

#include "deps/audio/AudioBackend.h"
#include "deps/audio/DirectSoundFormat.h"

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
  bool CaptureAvailable(DWORD& availableFrames, RtAudioStreamStatus& status);

  unsigned int mFrames = 0, mRate = 0;
  unsigned int mInChannels = 0, mOutChannels = 0;
  DWORD mTargetFrames = 0;
  DWORD mUrgentFrames = 0;

  IDirectSound8* mRender = nullptr;
  IDirectSoundBuffer* mRenderBuffer = nullptr;
  DeviceSampleType mRenderType = DeviceSampleType::Float32;
  DWORD mRenderFrameBytes = 0, mRenderBytes = 0;
  DWORD mWritePosition = 0; // bytes; where our next block goes

  IDirectSoundCapture8* mCapture = nullptr;
  IDirectSoundCaptureBuffer* mCaptureBuffer = nullptr;
  DeviceSampleType mCaptureType = DeviceSampleType::Float32;
  DWORD mCaptureFrameBytes = 0, mCaptureBytes = 0;
  DWORD mReadPosition = 0; // bytes; the next captured frame we hand on
  DWORD mAvailableFrames = 0;

  std::atomic<bool> mRunning{false};
  std::vector<unsigned char> mScratch;
};

} // namespace audio
