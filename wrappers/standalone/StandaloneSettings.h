#pragma once

#include "framework/core/GrowString.h"

#include <cstdint>

// What the standalone program remembers between runs: audio and MIDI devices and their
// options. The record defaults apply when there is no settings file at all.
struct StandaloneSettings
{
  StandaloneSettings();

  pfw::GrowString audioInputDevice;
  pfw::GrowString audioOutputDevice;
  pfw::GrowString midiInputPort;  // a port name, or "off"
  pfw::GrowString midiOutputPort;
  int32_t driverType = 0;         // 0 = DirectSound
  int32_t sampleRate = 44100;
  int32_t bufferSize = 512;       // frames per device callback
  int32_t midiInputChannel = 0;   // 0 = all, 1..16
  int32_t midiOutputChannel = 0;
  int32_t inputChannel1 = 1;      // 1-based device channels, stored and shown only
  int32_t inputChannel2 = 2;
  int32_t outputChannel1 = 1;
  int32_t outputChannel2 = 2;

  void CopyFrom(const StandaloneSettings& other);
  bool Equals(const StandaloneSettings& other) const;
  bool SameAudioSettings(const StandaloneSettings& other) const;
  bool SameMidiSettings(const StandaloneSettings& other) const;

  // The settings file (an ini file): every key, with the reading defaults for keys that
  // are missing or hold values no device could use.
  void ReadFile(const char* path);
  // False when any key could not be written.
  bool WriteFile(const char* path) const;
};
