#pragma once

// Turns what a MIDI input port hands over (short messages packed into a number, and the
// bytes of system-exclusive messages in pieces of any size) into whole messages, and
// drops the kinds the user chose to ignore.

#include <cstddef>
#include <vector>

namespace midi {

// What an input port calls, on its own thread.
class RawMidiSink
{
public:
  // A short message packed as the system does: status in the low byte, then data 1 and 2.
  virtual void OnShortMessage(unsigned long packed, double seconds) = 0;
  virtual void OnSysExBytes(const unsigned char* bytes, size_t count, double seconds) = 0;

protected:
  ~RawMidiSink() = default;
};

// The length of a message with this status byte; 0 for a byte that is no status, or
// that starts a system-exclusive message.
size_t ShortMessageLength(unsigned char status);

class MidiMessageAssembler
{
public:
  // A longer system-exclusive message is dropped whole.
  static const size_t kMaxSysExBytes = 1 << 20;

  void SetIgnored(bool sysEx, bool timing, bool sensing);

  // True when message now holds a whole message that passes the filter.
  bool AddShort(unsigned long packed, std::vector<unsigned char>& message);
  // A piece may end one message and begin the next; whole ones are appended to messages.
  void AddSysEx(const unsigned char* bytes, size_t count, std::vector<std::vector<unsigned char>>& messages);

  // Forgets a half-received system-exclusive message.
  void Reset();

private:
  bool mIgnoreSysEx = true;
  bool mIgnoreTiming = true;
  bool mIgnoreSensing = true;
  bool mInSysEx = false;
  bool mOverlong = false;
  std::vector<unsigned char> mSysEx;
};

} // namespace midi
