#pragma once

// The thread an input port's messages arrive on. The system posts each message to this
// thread's queue; the thread hands short messages and system-exclusive pieces to the
// sink and then gives each system-exclusive buffer back, which the system forbids from
// inside a callback function (hence a thread, not a callback).

#include "deps/midi/MidiMessageAssembler.h"

#include <windows.h>
#include <mmsystem.h>

#include <atomic>
#include <functional>
#include <thread>

namespace midi {

class MidiInputThread
{
public:
  MidiInputThread(RawMidiSink& sink, std::function<void(MIDIHDR*)> returnBuffer);
  ~MidiInputThread();
  MidiInputThread(const MidiInputThread&) = delete;
  MidiInputThread& operator=(const MidiInputThread&) = delete;

  // Runs the thread, its queue ready for messages when this returns true.
  bool Start();
  DWORD ThreadId() const { return mThreadId; }
  // While closing, buffers the system hands back are not given to it again.
  void StopReturningBuffers() { mReturning = false; }
  // Handles what was already posted, then ends the thread.
  void Stop();

private:
  void Run(HANDLE ready);

  RawMidiSink& mSink;
  std::function<void(MIDIHDR*)> mReturnBuffer;
  std::thread mThread;
  std::atomic<DWORD> mThreadId{0};
  std::atomic<bool> mReturning{true};
};

} // namespace midi
