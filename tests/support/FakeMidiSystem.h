#pragma once

// The fake MIDI back end that tests use in place of the Windows one: its ports, failures
// and incoming messages are set here, and what output ports sent is kept. RtMidiIn and
// RtMidiOut made with MakeFakeBackend use it, and so does a standalone host whose
// services name it.

#include <memory>
#include <mutex>
#include <string>
#include <vector>

namespace midi {

class Backend;
class RawMidiSink;

// A midi::BackendFactory: null with a reason when the fake was told to fail making this
// direction.
std::unique_ptr<Backend> MakeFakeBackend(bool input, std::string& error);

class FakeMidiSystem
{
public:
  static FakeMidiSystem& Get();

  // No ports, no failures, nothing sent.
  void Reset();
  void SetPorts(const std::vector<std::string>& inputs, const std::vector<std::string>& outputs);
  // Making an input or output object then throws RtMidiError.
  void FailCreate(bool input, bool output);
  void FailOpen(bool fail);

  // Hands a message to the open input port, as the system would, on the calling thread;
  // false when no input port is open.
  bool ReceiveShort(unsigned long packed, double seconds = 0.0);
  bool ReceiveSysEx(const std::vector<unsigned char>& piece, double seconds = 0.0);

  int OpenInputPort() const; // -1 when none is open
  int OpenOutputPort() const;
  // Every message sent through an output port, short ones as their bytes.
  std::vector<std::vector<unsigned char>> Sent() const;

private:
  friend class FakeInput;
  friend class FakeOutput;
  friend class FakeBackend;
  friend std::unique_ptr<Backend> MakeFakeBackend(bool input, std::string& error);
  FakeMidiSystem() = default;

  mutable std::recursive_mutex mLock;
  std::vector<std::string> mInputs, mOutputs;
  bool mFailInput = false, mFailOutput = false, mFailOpen = false;
  RawMidiSink* mSink = nullptr;
  int mOpenInput = -1, mOpenOutput = -1;
  std::vector<std::vector<unsigned char>> mSent;
};

} // namespace midi
