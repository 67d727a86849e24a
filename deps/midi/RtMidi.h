#pragma once

// Our own MIDI port layer: input and output ports with names, an input callback on the
// back end's thread with type filtering, short messages and system-exclusive messages.
// The real back end is the Windows multimedia MIDI interface; another one (a test's) can
// be handed to the constructors as a factory. Only the constructors throw (RtMidiError) when the back
// end cannot be made; every other failure goes to the error callback, or to stderr when
// there is none.

#include "deps/midi/MidiMessageAssembler.h"

#include <exception>
#include <memory>
#include <mutex>
#include <string>
#include <deque>
#include <vector>

class RtMidiError : public std::exception
{
public:
  enum Type
  {
    WARNING,
    DEBUG_WARNING,
    UNSPECIFIED,
    NO_DEVICES_FOUND,
    INVALID_DEVICE,
    MEMORY_ERROR,
    INVALID_PARAMETER,
    INVALID_USE,
    DRIVER_ERROR,
    SYSTEM_ERROR,
    THREAD_ERROR
  };

  explicit RtMidiError(const std::string& message, Type type = UNSPECIFIED) noexcept
    : mMessage(message)
    , mType(type)
  {
  }
  const char* what() const noexcept override { return mMessage.c_str(); }
  void printMessage() const noexcept;
  const Type& getType() const noexcept { return mType; }
  const std::string& getMessage() const noexcept { return mMessage; }

private:
  std::string mMessage;
  Type mType;
};

typedef void (*RtMidiErrorCallback)(RtMidiError::Type type, const std::string& errorText, void* userData);

namespace midi {
class Backend;
class InputPort;
class OutputPort;

// Makes the back end of one direction, or returns null with a reason.
using BackendFactory = std::unique_ptr<Backend> (*)(bool input, std::string& error);
// The Windows multimedia interface; never fails.
std::unique_ptr<Backend> MakeWinMmBackend(bool input, std::string& error);
} // namespace midi

class RtMidi
{
public:
  enum Api
  {
    UNSPECIFIED,
    WINDOWS_MM, // the Windows multimedia MIDI interface
    CUSTOM      // a back end from another factory
  };

  virtual ~RtMidi();
  RtMidi(const RtMidi&) = delete;
  RtMidi& operator=(const RtMidi&) = delete;

  Api getCurrentApi() const { return mApi; }
  unsigned int getPortCount();
  // Port names are unique within a direction: a later namesake gets " (2)", " (3)".
  // Empty for a number that names no port.
  std::string getPortName(unsigned int portNumber = 0);
  virtual void openPort(unsigned int portNumber = 0, const std::string& portName = "RtMidi") = 0;
  // Harmless when no port is open.
  virtual void closePort() = 0;
  virtual bool isPortOpen() const = 0;
  void setErrorCallback(RtMidiErrorCallback callback = nullptr, void* userData = nullptr);

protected:
  RtMidi(midi::BackendFactory makeBackend, bool input);
  void Report(RtMidiError::Type type, const std::string& message);
  std::vector<std::string> PortNames();

  Api mApi;
  bool mInput;
  std::unique_ptr<midi::Backend> mBackend;
  RtMidiErrorCallback mErrorCallback = nullptr;
  void* mErrorUserData = nullptr;
};

class RtMidiIn : public RtMidi, private midi::RawMidiSink
{
public:
  // The message arrives whole, system-exclusive ones included; timeStamp is the time in
  // seconds since the previous message (0 for the first).
  typedef void (*RtMidiCallback)(double timeStamp, std::vector<unsigned char>* message, void* userData);

  explicit RtMidiIn(Api api = UNSPECIFIED, const std::string& clientName = "RtMidi Input Client",
                    unsigned int queueSizeLimit = 100);
  explicit RtMidiIn(midi::BackendFactory makeBackend, const std::string& clientName = "RtMidi Input Client",
                    unsigned int queueSizeLimit = 100);
  ~RtMidiIn() override;

  void openPort(unsigned int portNumber = 0, const std::string& portName = "RtMidi Input") override;
  void closePort() override;
  bool isPortOpen() const override { return mPort != nullptr; }

  // With a callback, messages go to it on the back end's thread; without, they queue
  // (at most queueSizeLimit; later ones are dropped) for getMessage.
  void setCallback(RtMidiCallback callback, void* userData = nullptr);
  void cancelCallback();
  // true drops that kind: system exclusive; timing (clock, time code); active sensing.
  void ignoreTypes(bool midiSysex = true, bool midiTime = true, bool midiSense = true);
  // The oldest queued message and its time stamp; an empty message when none waits.
  double getMessage(std::vector<unsigned char>* message);

private:
  void OnShortMessage(unsigned long packed, double seconds) override;
  void OnSysExBytes(const unsigned char* bytes, size_t count, double seconds) override;
  void Deliver(std::vector<unsigned char>& message, double seconds);

  std::unique_ptr<midi::InputPort> mPort;
  std::mutex mDeliveryLock; // held while a message is handed on
  RtMidiCallback mCallback = nullptr;
  void* mUserData = nullptr;
  midi::MidiMessageAssembler mAssembler;
  std::vector<unsigned char> mMessage;
  std::vector<std::vector<unsigned char>> mSysExMessages;
  double mLastSeconds = -1.0;
  unsigned int mQueueLimit;
  std::deque<std::pair<double, std::vector<unsigned char>>> mQueue;
};

class RtMidiOut : public RtMidi
{
public:
  explicit RtMidiOut(Api api = UNSPECIFIED, const std::string& clientName = "RtMidi Output Client");
  explicit RtMidiOut(midi::BackendFactory makeBackend, const std::string& clientName = "RtMidi Output Client");
  ~RtMidiOut() override;

  void openPort(unsigned int portNumber = 0, const std::string& portName = "RtMidi Output") override;
  void closePort() override;
  bool isPortOpen() const override { return mPort != nullptr; }

  // One message: a short one (status byte and its data; at most 3 bytes, of which only
  // those the status calls for are sent) or a whole system-exclusive message (F0 ... F7).
  // Anything else is refused with an error.
  void sendMessage(const std::vector<unsigned char>* message);
  void sendMessage(const unsigned char* message, size_t size);

private:
  std::unique_ptr<midi::OutputPort> mPort;
};
