#include "wrappers/standalone/StandaloneSettings.h"

#include "framework/platform/windows/Utf8Shims.h"

#include <cstring>

namespace {

// Long enough for any device name in UTF-8; a cut name would never match its device again.
constexpr int kNameBufferSize = 1024;

bool SameText(const pfw::GrowString& a, const pfw::GrowString& b)
{
  return std::strcmp(a.Get(), b.Get()) == 0;
}

void ReadText(const char* section, const char* key, const char* fallback, const char* path, pfw::GrowString& field)
{
  char buffer[kNameBufferSize] = {};
  pfw::GetPrivateProfileStringUTF8(section, key, fallback, buffer, kNameBufferSize, path);
  field.Set(buffer);
}

// The profile reader gives unsigned values; a value outside [low, high] reads as the default.
int32_t ReadInt(const char* section, const char* key, int32_t fallback, int32_t low, int32_t high, const char* path)
{
  const int32_t value = static_cast<int32_t>(pfw::GetPrivateProfileIntUTF8(section, key, fallback, path));
  return value < low || value > high ? fallback : value;
}

bool WriteText(const char* section, const char* key, const char* value, const char* path)
{
  return pfw::WritePrivateProfileStringUTF8(section, key, value, path) != FALSE;
}

bool IsBlankOrQuote(char c)
{
  return c == ' ' || c == '\t' || c == '"' || c == '\'';
}

// The profile reader drops blanks around a value and a pair of quotes enclosing it; a
// name that begins or ends with either is written inside quotes so that it reads back
// whole (a display name after a prefix often begins with a blank).
bool WriteName(const char* section, const char* key, const char* name, const char* path)
{
  const size_t length = std::strlen(name);
  if (length == 0 || (!IsBlankOrQuote(name[0]) && !IsBlankOrQuote(name[length - 1])))
    return WriteText(section, key, name, path);
  pfw::GrowString quoted;
  quoted.SetFormatted(0, "\"%s\"", name);
  return WriteText(section, key, quoted.Get(), path);
}

bool WriteUnsigned(const char* section, const char* key, int32_t value, const char* path)
{
  pfw::GrowString text;
  text.SetFormatted(0, "%u", static_cast<unsigned>(value));
  return WriteText(section, key, text.Get(), path);
}

bool WriteSigned(const char* section, const char* key, int32_t value, const char* path)
{
  pfw::GrowString text;
  text.SetFormatted(0, "%i", static_cast<int>(value));
  return WriteText(section, key, text.Get(), path);
}

} // namespace

StandaloneSettings::StandaloneSettings()
  : audioInputDevice("Default Device")
  , audioOutputDevice("Default Device")
  , midiInputPort("off")
  , midiOutputPort("off")
{
}

void StandaloneSettings::CopyFrom(const StandaloneSettings& other)
{
  *this = other;
}

bool StandaloneSettings::Equals(const StandaloneSettings& other) const
{
  return SameAudioSettings(other) && SameMidiSettings(other);
}

bool StandaloneSettings::SameAudioSettings(const StandaloneSettings& other) const
{
  return driverType == other.driverType && SameText(audioInputDevice, other.audioInputDevice) &&
         SameText(audioOutputDevice, other.audioOutputDevice) && sampleRate == other.sampleRate &&
         bufferSize == other.bufferSize && inputChannel1 == other.inputChannel1 &&
         inputChannel2 == other.inputChannel2 && outputChannel1 == other.outputChannel1 &&
         outputChannel2 == other.outputChannel2;
}

bool StandaloneSettings::SameMidiSettings(const StandaloneSettings& other) const
{
  return SameText(midiInputPort, other.midiInputPort) && SameText(midiOutputPort, other.midiOutputPort) &&
         midiInputChannel == other.midiInputChannel && midiOutputChannel == other.midiOutputChannel;
}

void StandaloneSettings::ReadFile(const char* path)
{
  driverType = ReadInt("audio", "driver", 0, 0, 1, path);
  ReadText("audio", "indev", "Built-in Input", path, audioInputDevice);
  ReadText("audio", "outdev", "Built-in Output", path, audioOutputDevice);
  inputChannel1 = ReadInt("audio", "in1", 1, 1, 256, path);
  inputChannel2 = ReadInt("audio", "in2", 2, 1, 256, path);
  outputChannel1 = ReadInt("audio", "out1", 1, 1, 256, path);
  outputChannel2 = ReadInt("audio", "out2", 2, 1, 256, path);
  bufferSize = ReadInt("audio", "buffer", 512, 16, 16384, path);
  sampleRate = ReadInt("audio", "sr", 44100, 8000, 768000, path);
  ReadText("midi", "indev", "no input", path, midiInputPort);
  ReadText("midi", "outdev", "no output", path, midiOutputPort);
  midiInputChannel = ReadInt("midi", "inchan", 0, 0, 16, path);
  midiOutputChannel = ReadInt("midi", "outchan", 0, 0, 16, path);
}

bool StandaloneSettings::WriteFile(const char* path) const
{
  bool written = WriteUnsigned("audio", "driver", driverType, path);
  written &= WriteName("audio", "indev", audioInputDevice.Get(), path);
  written &= WriteName("audio", "outdev", audioOutputDevice.Get(), path);
  written &= WriteUnsigned("audio", "in1", inputChannel1, path);
  written &= WriteUnsigned("audio", "in2", inputChannel2, path);
  written &= WriteUnsigned("audio", "out1", outputChannel1, path);
  written &= WriteUnsigned("audio", "out2", outputChannel2, path);
  written &= WriteSigned("audio", "buffer", bufferSize, path);
  written &= WriteSigned("audio", "sr", sampleRate, path);
  written &= WriteName("midi", "indev", midiInputPort.Get(), path);
  written &= WriteName("midi", "outdev", midiOutputPort.Get(), path);
  written &= WriteUnsigned("midi", "inchan", midiInputChannel, path);
  written &= WriteUnsigned("midi", "outchan", midiOutputChannel, path);
  return written;
}
