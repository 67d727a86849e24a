#include "deps/midi/MidiMessageAssembler.h"

namespace midi {

size_t ShortMessageLength(unsigned char status)
{
  if (status < 0x80)
    return 0;
  if (status < 0xC0)
    return 3; // note off, note on, poly pressure, control change
  if (status < 0xE0)
    return 2; // program change, channel pressure
  if (status < 0xF0)
    return 3; // pitch bend
  switch (status)
  {
  case 0xF0: return 0; // system exclusive comes in pieces of its own
  case 0xF1: return 2; // time code quarter frame
  case 0xF2: return 3; // song position
  case 0xF3: return 2; // song select
  case 0xF7: return 0; // an end of system exclusive without its start
  default: return 1;   // tune request, real time, undefined
  }
}

void MidiMessageAssembler::SetIgnored(bool sysEx, bool timing, bool sensing)
{
  mIgnoreSysEx = sysEx;
  mIgnoreTiming = timing;
  mIgnoreSensing = sensing;
}

bool MidiMessageAssembler::AddShort(unsigned long packed, std::vector<unsigned char>& message)
{
  const unsigned char status = static_cast<unsigned char>(packed & 0xFF);
  const size_t length = ShortMessageLength(status);
  if (length == 0)
    return false;
  if (mIgnoreTiming && (status == 0xF8 || status == 0xF1))
    return false;
  if (mIgnoreSensing && status == 0xFE)
    return false;
  message.clear();
  message.push_back(status);
  for (size_t i = 1; i < length; ++i)
  {
    const unsigned char data = static_cast<unsigned char>((packed >> (8 * i)) & 0xFF);
    if (data >= 0x80)
      return false; // a status where data belongs: not a message
    message.push_back(data);
  }
  return true;
}

void MidiMessageAssembler::AddSysEx(const unsigned char* bytes, size_t count,
                                    std::vector<std::vector<unsigned char>>& messages)
{
  for (size_t i = 0; i < count; ++i)
  {
    const unsigned char byte = bytes[i];
    if (byte == 0xF0)
    {
      mSysEx.clear();
      mSysEx.push_back(byte);
      mInSysEx = true;
      mOverlong = false;
      continue;
    }
    if (!mInSysEx || byte >= 0xF8)
      continue; // stray bytes, and real-time bytes woven into the message
    if (byte >= 0x80 && byte != 0xF7)
    {
      mInSysEx = false; // another status breaks the message off
      mSysEx.clear();
      continue;
    }
    if (!mOverlong)
    {
      if (mSysEx.size() >= kMaxSysExBytes)
      {
        mOverlong = true;
        std::vector<unsigned char>().swap(mSysEx);
      }
      else
        mSysEx.push_back(byte);
    }
    if (byte == 0xF7)
    {
      mInSysEx = false;
      if (!mOverlong && !mIgnoreSysEx)
        messages.push_back(mSysEx);
      mSysEx.clear();
    }
  }
}

void MidiMessageAssembler::Reset()
{
  mInSysEx = false;
  mOverlong = false;
  mSysEx.clear();
}

} // namespace midi
