#pragma once

// The arithmetic of a duplex stream over two looping device rings, in frames: how much
// output is still queued, how much input waits, and when the next block is due. The
// render device is the clock when there is one: a block is due once less than the target
// is queued. Capture and render clocks drift apart; a capture backlog beyond the target
// is dropped (input overflow), and input that is late when the output is about to run
// dry is not waited for.

#include "deps/audio/RtAudio.h"

namespace audio {

class StreamClock
{
public:
  StreamClock(unsigned int frames, unsigned int targetFrames, unsigned int urgentFrames,
              unsigned int renderRingFrames, unsigned int captureRingFrames);

  // From the render device's play and write cursors: the frames queued beyond the write
  // cursor (the device has taken those before it). When the play cursor has passed our
  // write position, the output ran dry: ours moves to the write cursor.
  unsigned int Queued(unsigned int play, unsigned int write, unsigned int& ours, RtAudioStreamStatus& status) const;

  // From the capture device's read cursor: the frames we may read from ours on. A backlog
  // beyond the target is dropped down to one block.
  unsigned int Available(unsigned int readCursor, unsigned int& ours, RtAudioStreamStatus& status) const;

  bool Due(bool render, bool capture, unsigned int queued, unsigned int available) const;

  static unsigned int Distance(unsigned int from, unsigned int to, unsigned int ring)
  {
    return to >= from ? to - from : ring - from + to;
  }

private:
  unsigned int mFrames, mTarget, mUrgent, mRenderRing, mCaptureRing;
};

} // namespace audio
