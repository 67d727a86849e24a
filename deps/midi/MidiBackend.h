#pragma once

// What RtMidiIn and RtMidiOut ask of a back end.

#include "deps/midi/MidiMessageAssembler.h"
#include "deps/midi/RtMidi.h"

#include <memory>
#include <string>
#include <vector>

namespace midi {

// Open while it lives; the sink hears from the back end's thread until then.
class InputPort
{
public:
  virtual ~InputPort() = default;
};

class OutputPort
{
public:
  virtual ~OutputPort() = default;
  virtual bool SendShort(unsigned long packed, std::string& error) = 0;
  virtual bool SendSysEx(const unsigned char* bytes, size_t count, std::string& error) = 0;
};

class Backend
{
public:
  virtual ~Backend() = default;
  // The system's names, in port order.
  virtual std::vector<std::string> PortNames(bool input) = 0;
  virtual std::unique_ptr<InputPort> OpenInput(unsigned int port, RawMidiSink& sink, std::string& error) = 0;
  virtual std::unique_ptr<OutputPort> OpenOutput(unsigned int port, std::string& error) = 0;
};

// Names as users see and store them: a later namesake gets " (2)", " (3)".
std::vector<std::string> UniquePortNames(const std::vector<std::string>& names);

} // namespace midi
