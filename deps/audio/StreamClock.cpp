#include "deps/audio/StreamClock.h"

namespace audio {

StreamClock::StreamClock(unsigned int frames, unsigned int targetFrames, unsigned int urgentFrames,
                         unsigned int renderRingFrames, unsigned int captureRingFrames)
  : mFrames(frames)
  , mTarget(targetFrames)
  , mUrgent(urgentFrames)
  , mRenderRing(renderRingFrames)
  , mCaptureRing(captureRingFrames)
{
}

unsigned int StreamClock::Queued(unsigned int play, unsigned int write, unsigned int& ours,
                                 RtAudioStreamStatus& status) const
{
  const unsigned int committed = Distance(play, write, mRenderRing);
  unsigned int ahead = Distance(play, ours, mRenderRing);
  // Behind the write cursor, or further ahead than we ever write: the play cursor must
  // have passed us.
  if (ahead < committed || ahead > committed + mTarget + mFrames)
  {
    ours = write;
    ahead = committed;
    status |= RTAUDIO_OUTPUT_UNDERFLOW;
  }
  return ahead - committed;
}

unsigned int StreamClock::Available(unsigned int readCursor, unsigned int& ours, RtAudioStreamStatus& status) const
{
  unsigned int available = Distance(ours, readCursor, mCaptureRing);
  if (available > mTarget + 2 * mFrames)
  {
    const unsigned int drop = available - mFrames;
    ours = (ours + drop) % mCaptureRing;
    available -= drop;
    status |= RTAUDIO_INPUT_OVERFLOW;
  }
  return available;
}

bool StreamClock::Due(bool render, bool capture, unsigned int queued, unsigned int available) const
{
  if (!render)
    return available >= mFrames;
  return queued < mTarget && (!capture || available >= mFrames || queued < mUrgent);
}

} // namespace audio
