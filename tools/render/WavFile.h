#pragma once

#include <cstdint>
#include <string>
#include <vector>

// Audio as the render tool reads and writes it: one or two channels of floats.
struct AudioClip
{
  double sampleRate = 48000.0;
  std::vector<std::vector<float>> channels;

  size_t Frames() const { return channels.empty() ? 0 : channels[0].size(); }
};

// Parses a RIFF/WAVE image holding 16-, 24- or 32-bit integer PCM or 32-bit float
// samples of one or two channels (plain or extensible format). On failure returns false
// and sets `error`.
bool ParseWav(const std::vector<uint8_t>& bytes, AudioClip& clip, std::string& error);
bool ReadWavFile(const std::string& path, AudioClip& clip, std::string& error);

// A 32-bit float WAV image of the clip's channels.
std::vector<uint8_t> EncodeFloatWav(const AudioClip& clip);
bool WriteWavFile(const std::string& path, const AudioClip& clip, std::string& error);
