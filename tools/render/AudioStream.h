#pragma once

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

// Audio as the render tool holds it in memory: one or two channels of floats.
struct AudioClip
{
  double sampleRate = 48000.0;
  std::vector<std::vector<float>> channels;

  size_t Frames() const { return channels.empty() ? 0 : channels[0].size(); }
};

// Where the render tool's audio comes from, a block at a time, so that a long recording is
// never held whole.
class AudioSource
{
public:
  virtual ~AudioSource() = default;
  virtual int Channels() const = 0;
  virtual double SampleRate() const = 0;
  virtual uint64_t Frames() const = 0;
  // The next `count` frames, one array per channel; false with a reason when they cannot
  // be read.
  virtual bool Read(float* const* channels, size_t count, std::string& error) = 0;
};

// Where the rendered audio goes, a block at a time.
class AudioSink
{
public:
  virtual ~AudioSink() = default;
  virtual bool Write(const float* const* channels, int nChannels, size_t count, std::string& error) = 0;
};

// A clip read from its start.
class ClipSource final : public AudioSource
{
public:
  explicit ClipSource(const AudioClip& clip) : mClip(clip) {}
  int Channels() const override { return static_cast<int>(mClip.channels.size()); }
  double SampleRate() const override { return mClip.sampleRate; }
  uint64_t Frames() const override { return mClip.Frames(); }
  bool Read(float* const* channels, size_t count, std::string& error) override
  {
    if (count > mClip.Frames() - mPosition)
    {
      error = "read past the end of the clip";
      return false;
    }
    for (size_t c = 0; c < mClip.channels.size(); ++c)
      std::copy_n(mClip.channels[c].begin() + static_cast<std::ptrdiff_t>(mPosition), count, channels[c]);
    mPosition += count;
    return true;
  }

private:
  const AudioClip& mClip;
  size_t mPosition = 0;
};

// Collects the rendered audio into a clip.
class ClipSink final : public AudioSink
{
public:
  explicit ClipSink(AudioClip& clip) : mClip(clip) {}
  bool Write(const float* const* channels, int nChannels, size_t count, std::string&) override
  {
    mClip.channels.resize(static_cast<size_t>(nChannels));
    for (int c = 0; c < nChannels; ++c)
      mClip.channels[static_cast<size_t>(c)].insert(mClip.channels[static_cast<size_t>(c)].end(), channels[c],
                                                      channels[c] + count);
    return true;
  }

private:
  AudioClip& mClip;
};
