#include "tests/support/FakeMidiSystem.h"

#include "deps/midi/MidiBackend.h"

namespace midi {

FakeMidiSystem& FakeMidiSystem::Get()
{
  static FakeMidiSystem system;
  return system;
}

void FakeMidiSystem::Reset()
{
  std::lock_guard<std::recursive_mutex> lock(mLock);
  mInputs.clear();
  mOutputs.clear();
  mFailInput = mFailOutput = mFailOpen = false;
  mSent.clear();
}

void FakeMidiSystem::SetPorts(const std::vector<std::string>& inputs, const std::vector<std::string>& outputs)
{
  std::lock_guard<std::recursive_mutex> lock(mLock);
  mInputs = inputs;
  mOutputs = outputs;
}

void FakeMidiSystem::FailCreate(bool input, bool output)
{
  std::lock_guard<std::recursive_mutex> lock(mLock);
  mFailInput = input;
  mFailOutput = output;
}

void FakeMidiSystem::FailOpen(bool fail)
{
  std::lock_guard<std::recursive_mutex> lock(mLock);
  mFailOpen = fail;
}

bool FakeMidiSystem::ReceiveShort(unsigned long packed, double seconds)
{
  std::lock_guard<std::recursive_mutex> lock(mLock);
  if (!mSink)
    return false;
  mSink->OnShortMessage(packed, seconds);
  return true;
}

bool FakeMidiSystem::ReceiveSysEx(const std::vector<unsigned char>& piece, double seconds)
{
  std::lock_guard<std::recursive_mutex> lock(mLock);
  if (!mSink)
    return false;
  mSink->OnSysExBytes(piece.data(), piece.size(), seconds);
  return true;
}

int FakeMidiSystem::OpenInputPort() const
{
  std::lock_guard<std::recursive_mutex> lock(mLock);
  return mOpenInput;
}

int FakeMidiSystem::OpenOutputPort() const
{
  std::lock_guard<std::recursive_mutex> lock(mLock);
  return mOpenOutput;
}

std::vector<std::vector<unsigned char>> FakeMidiSystem::Sent() const
{
  std::lock_guard<std::recursive_mutex> lock(mLock);
  return mSent;
}

class FakeInput : public InputPort
{
public:
  FakeInput(unsigned int port, RawMidiSink& sink)
  {
    FakeMidiSystem& system = FakeMidiSystem::Get();
    std::lock_guard<std::recursive_mutex> lock(system.mLock);
    system.mSink = &sink;
    system.mOpenInput = static_cast<int>(port);
  }
  ~FakeInput() override
  {
    FakeMidiSystem& system = FakeMidiSystem::Get();
    std::lock_guard<std::recursive_mutex> lock(system.mLock);
    system.mSink = nullptr;
    system.mOpenInput = -1;
  }
};

class FakeOutput : public OutputPort
{
public:
  explicit FakeOutput(unsigned int port)
  {
    FakeMidiSystem& system = FakeMidiSystem::Get();
    std::lock_guard<std::recursive_mutex> lock(system.mLock);
    system.mOpenOutput = static_cast<int>(port);
  }
  ~FakeOutput() override
  {
    FakeMidiSystem& system = FakeMidiSystem::Get();
    std::lock_guard<std::recursive_mutex> lock(system.mLock);
    system.mOpenOutput = -1;
  }

  bool SendShort(unsigned long packed, std::string&) override
  {
    std::vector<unsigned char> bytes;
    const size_t length = ShortMessageLength(static_cast<unsigned char>(packed & 0xFF));
    for (size_t i = 0; i < length; ++i)
      bytes.push_back(static_cast<unsigned char>((packed >> (8 * i)) & 0xFF));
    FakeMidiSystem& system = FakeMidiSystem::Get();
    std::lock_guard<std::recursive_mutex> lock(system.mLock);
    system.mSent.push_back(bytes);
    return true;
  }

  bool SendSysEx(const unsigned char* bytes, size_t count, std::string&) override
  {
    FakeMidiSystem& system = FakeMidiSystem::Get();
    std::lock_guard<std::recursive_mutex> lock(system.mLock);
    system.mSent.emplace_back(bytes, bytes + count);
    return true;
  }
};

class FakeBackend : public Backend
{
public:
  std::vector<std::string> PortNames(bool input) override
  {
    FakeMidiSystem& system = FakeMidiSystem::Get();
    std::lock_guard<std::recursive_mutex> lock(system.mLock);
    return input ? system.mInputs : system.mOutputs;
  }

  std::unique_ptr<InputPort> OpenInput(unsigned int port, RawMidiSink& sink, std::string& error) override
  {
    FakeMidiSystem& system = FakeMidiSystem::Get();
    std::lock_guard<std::recursive_mutex> lock(system.mLock);
    if (system.mFailOpen || port >= system.mInputs.size())
    {
      error = "the fake input port refused to open";
      return nullptr;
    }
    return std::unique_ptr<InputPort>(new FakeInput(port, sink));
  }

  std::unique_ptr<OutputPort> OpenOutput(unsigned int port, std::string& error) override
  {
    FakeMidiSystem& system = FakeMidiSystem::Get();
    std::lock_guard<std::recursive_mutex> lock(system.mLock);
    if (system.mFailOpen || port >= system.mOutputs.size())
    {
      error = "the fake output port refused to open";
      return nullptr;
    }
    return std::unique_ptr<OutputPort>(new FakeOutput(port));
  }
};

std::unique_ptr<Backend> MakeFakeBackend(bool input, std::string& error)
{
  FakeMidiSystem& system = FakeMidiSystem::Get();
  std::lock_guard<std::recursive_mutex> lock(system.mLock);
  if (input ? system.mFailInput : system.mFailOutput)
  {
    error = "the fake MIDI system refused to make this object";
    return nullptr;
  }
  return std::unique_ptr<Backend>(new FakeBackend());
}

} // namespace midi
