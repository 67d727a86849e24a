#pragma once

#include "tools/render/AudioStream.h"

#include <cstdint>
#include <string>
#include <vector>

// Bytes read in order, from a file or from memory.
class ByteInput
{
public:
  virtual ~ByteInput() = default;
  // The bytes not read yet.
  virtual uint64_t Remaining() const = 0;
  // Exactly `count` bytes (at most Remaining()); false on a read error.
  virtual bool Read(void* out, size_t count) = 0;
  virtual bool Skip(uint64_t count) = 0;
};

class MemoryInput final : public ByteInput
{
public:
  MemoryInput(const uint8_t* data, size_t size) : mData(data), mSize(size) {}
  uint64_t Remaining() const override { return mSize - mPosition; }
  bool Read(void* out, size_t count) override;
  bool Skip(uint64_t count) override;

private:
  const uint8_t* mData;
  size_t mSize;
  size_t mPosition = 0;
};

// Bytes written in order, to a file or to memory.
class ByteOutput
{
public:
  virtual ~ByteOutput() = default;
  virtual bool Write(const void* data, size_t size, std::string& error) = 0;
};

// Reads a RIFF/WAVE stream of 16-, 24- or 32-bit integer PCM or 32-bit float samples, one
// or two channels, plain or extensible format: first the chunks up to the samples, then
// the frames in order.
class WavReader final : public AudioSource
{
public:
  static constexpr uint32_t kMaxSampleRate = 1000000;

  explicit WavReader(ByteInput& input) : mInput(input) {}
  // Up to the first sample. Refuses (with a reason) what is no WAV file, a format it does
  // not read, a rate of 0 or above 1 MHz, a chunk past the end and a file with no audio.
  bool ReadHeader(std::string& error);

  int Channels() const override { return mChannels; }
  double SampleRate() const override { return mSampleRate; }
  uint64_t Frames() const override { return mFrames; }
  bool Read(float* const* channels, size_t count, std::string& error) override;

private:
  ByteInput& mInput;
  uint16_t mEncoding = 0;
  uint16_t mBits = 0;
  int mChannels = 0;
  uint32_t mSampleRate = 0;
  uint64_t mFrames = 0;
  uint64_t mFramesLeft = 0;
  std::vector<uint8_t> mBytes; // one block's samples as read
};

// A whole WAV image in memory as a clip.
bool ParseWav(const std::vector<uint8_t>& bytes, AudioClip& clip, std::string& error);

// Writes a 32-bit float WAV stream: the header for a known length, then the frames.
class FloatWavWriter final : public AudioSink
{
public:
  explicit FloatWavWriter(ByteOutput& output) : mOutput(output) {}
  // The most frames of `channels` channels that the format's 32-bit sizes can hold.
  static uint64_t MaxFrames(int channels);
  // Writes the header; refuses (writing nothing) a length the format cannot hold.
  bool Begin(int channels, uint32_t sampleRate, uint64_t frames, std::string& error);
  bool Write(const float* const* channels, int nChannels, size_t count, std::string& error) override;
  // Whether exactly the frames announced by Begin were written.
  bool Finish(std::string& error) const;

private:
  ByteOutput& mOutput;
  int mChannels = 0;
  uint64_t mFramesLeft = 0;
  std::vector<uint8_t> mBytes; // one block, encoded
};

// A 32-bit float WAV image of the clip's channels; empty when the format cannot hold it.
std::vector<uint8_t> EncodeFloatWav(const AudioClip& clip);
