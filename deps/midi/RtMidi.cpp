#include "deps/midi/RtMidi.h"

#include "deps/midi/MidiBackend.h"

#include <cstdio>

void RtMidiError::printMessage() const noexcept
{
  std::fprintf(stderr, "\n%s\n\n", mMessage.c_str());
}

RtMidi::RtMidi(midi::BackendFactory makeBackend, bool input)
  : mApi(makeBackend == midi::MakeWinMmBackend ? WINDOWS_MM : CUSTOM)
  , mInput(input)
{
  std::string error;
  mBackend = makeBackend(input, error);
  if (!mBackend)
    throw RtMidiError(std::string(input ? "RtMidiIn: " : "RtMidiOut: ") + error, RtMidiError::DRIVER_ERROR);
}

RtMidi::~RtMidi() = default;

void RtMidi::setErrorCallback(RtMidiErrorCallback callback, void* userData)
{
  mErrorCallback = callback;
  mErrorUserData = userData;
}

void RtMidi::Report(RtMidiError::Type type, const std::string& message)
{
  if (mErrorCallback)
    mErrorCallback(type, message, mErrorUserData);
  else
    RtMidiError(message, type).printMessage();
}

std::vector<std::string> RtMidi::PortNames()
{
  return midi::UniquePortNames(mBackend->PortNames(mInput));
}

unsigned int RtMidi::getPortCount()
{
  return static_cast<unsigned int>(mBackend->PortNames(mInput).size());
}

std::string RtMidi::getPortName(unsigned int portNumber)
{
  const std::vector<std::string> names = PortNames();
  if (portNumber >= names.size())
  {
    Report(RtMidiError::WARNING, "getPortName: no port " + std::to_string(portNumber));
    return std::string();
  }
  return names[portNumber];
}

// The system's interface is the only one there is to name.
RtMidiIn::RtMidiIn(Api, const std::string& clientName, unsigned int queueSizeLimit)
  : RtMidiIn(midi::MakeWinMmBackend, clientName, queueSizeLimit)
{
}

RtMidiIn::RtMidiIn(midi::BackendFactory makeBackend, const std::string& /*clientName*/, unsigned int queueSizeLimit)
  : RtMidi(makeBackend, true)
  , mQueueLimit(queueSizeLimit)
{
}

RtMidiIn::~RtMidiIn()
{
  closePort();
}

void RtMidiIn::openPort(unsigned int portNumber, const std::string& /*portName*/)
{
  if (mPort)
  {
    Report(RtMidiError::WARNING, "RtMidiIn::openPort: a port is already open");
    return;
  }
  if (portNumber >= getPortCount())
  {
    Report(RtMidiError::INVALID_PARAMETER, "RtMidiIn::openPort: no input port " + std::to_string(portNumber));
    return;
  }
  {
    std::lock_guard<std::mutex> lock(mDeliveryLock);
    mAssembler.Reset();
    mLastSeconds = -1.0;
  }
  std::string error;
  mPort = mBackend->OpenInput(portNumber, *this, error);
  if (!mPort)
    Report(RtMidiError::DRIVER_ERROR, "RtMidiIn::openPort: " + error);
}

void RtMidiIn::closePort()
{
  mPort.reset(); // its thread has ended when this returns
}

void RtMidiIn::setCallback(RtMidiCallback callback, void* userData)
{
  std::lock_guard<std::mutex> lock(mDeliveryLock);
  mCallback = callback;
  mUserData = userData;
}

void RtMidiIn::cancelCallback()
{
  // Taking the lock waits out a message being handed on right now.
  std::lock_guard<std::mutex> lock(mDeliveryLock);
  mCallback = nullptr;
  mUserData = nullptr;
}

void RtMidiIn::ignoreTypes(bool midiSysex, bool midiTime, bool midiSense)
{
  std::lock_guard<std::mutex> lock(mDeliveryLock);
  mAssembler.SetIgnored(midiSysex, midiTime, midiSense);
}

double RtMidiIn::getMessage(std::vector<unsigned char>* message)
{
  if (!message)
    return 0.0;
  std::lock_guard<std::mutex> lock(mDeliveryLock);
  message->clear();
  if (mQueue.empty())
    return 0.0;
  const double stamp = mQueue.front().first;
  message->swap(mQueue.front().second);
  mQueue.pop_front();
  return stamp;
}

void RtMidiIn::OnShortMessage(unsigned long packed, double seconds)
{
  std::lock_guard<std::mutex> lock(mDeliveryLock);
  if (mAssembler.AddShort(packed, mMessage))
    Deliver(mMessage, seconds);
}

void RtMidiIn::OnSysExBytes(const unsigned char* bytes, size_t count, double seconds)
{
  std::lock_guard<std::mutex> lock(mDeliveryLock);
  mSysExMessages.clear();
  mAssembler.AddSysEx(bytes, count, mSysExMessages);
  for (std::vector<unsigned char>& message : mSysExMessages)
    Deliver(message, seconds);
}

void RtMidiIn::Deliver(std::vector<unsigned char>& message, double seconds)
{
  const double delta = mLastSeconds < 0.0 || seconds < mLastSeconds ? 0.0 : seconds - mLastSeconds;
  mLastSeconds = seconds;
  if (mCallback)
  {
    try
    {
      mCallback(delta, &message, mUserData);
    }
    catch (...)
    {
      // A throwing callback must not end the port's thread.
    }
    return;
  }
  if (mQueue.size() < mQueueLimit)
    mQueue.emplace_back(delta, message);
}

RtMidiOut::RtMidiOut(Api, const std::string& clientName)
  : RtMidiOut(midi::MakeWinMmBackend, clientName)
{
}

RtMidiOut::RtMidiOut(midi::BackendFactory makeBackend, const std::string& /*clientName*/)
  : RtMidi(makeBackend, false)
{
}

RtMidiOut::~RtMidiOut()
{
  closePort();
}

void RtMidiOut::openPort(unsigned int portNumber, const std::string& /*portName*/)
{
  if (mPort)
  {
    Report(RtMidiError::WARNING, "RtMidiOut::openPort: a port is already open");
    return;
  }
  if (portNumber >= getPortCount())
  {
    Report(RtMidiError::INVALID_PARAMETER, "RtMidiOut::openPort: no output port " + std::to_string(portNumber));
    return;
  }
  std::string error;
  mPort = mBackend->OpenOutput(portNumber, error);
  if (!mPort)
    Report(RtMidiError::DRIVER_ERROR, "RtMidiOut::openPort: " + error);
}

void RtMidiOut::closePort()
{
  mPort.reset();
}

void RtMidiOut::sendMessage(const std::vector<unsigned char>* message)
{
  if (!message)
  {
    Report(RtMidiError::INVALID_PARAMETER, "RtMidiOut::sendMessage: no message");
    return;
  }
  sendMessage(message->data(), message->size());
}

void RtMidiOut::sendMessage(const unsigned char* message, size_t size)
{
  if (!mPort)
  {
    Report(RtMidiError::WARNING, "RtMidiOut::sendMessage: no port is open");
    return;
  }
  if (!message || size == 0)
  {
    Report(RtMidiError::INVALID_PARAMETER, "RtMidiOut::sendMessage: an empty message");
    return;
  }
  std::string error;
  if (message[0] == 0xF0)
  {
    if (size < 2 || message[size - 1] != 0xF7)
      Report(RtMidiError::INVALID_PARAMETER, "RtMidiOut::sendMessage: system exclusive without its end byte");
    else if (!mPort->SendSysEx(message, size, error))
      Report(RtMidiError::DRIVER_ERROR, "RtMidiOut::sendMessage: " + error);
    return;
  }
  // Callers that always send three bytes may do so; bytes past the message are not sent.
  const size_t length = midi::ShortMessageLength(message[0]);
  if (length == 0 || size < length || size > 3)
  {
    Report(RtMidiError::INVALID_PARAMETER, "RtMidiOut::sendMessage: not a whole MIDI message");
    return;
  }
  unsigned long packed = 0;
  for (size_t i = 0; i < length; ++i)
  {
    if (i > 0 && message[i] >= 0x80)
    {
      Report(RtMidiError::INVALID_PARAMETER, "RtMidiOut::sendMessage: a status byte where data belongs");
      return;
    }
    packed |= static_cast<unsigned long>(message[i]) << (8 * i);
  }
  if (!mPort->SendShort(packed, error))
    Report(RtMidiError::DRIVER_ERROR, "RtMidiOut::sendMessage: " + error);
}
