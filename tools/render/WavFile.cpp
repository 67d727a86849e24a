#include "tools/render/WavFile.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

namespace {

uint32_t ReadU32(const uint8_t* p)
{
  return static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) | (static_cast<uint32_t>(p[2]) << 16) |
         (static_cast<uint32_t>(p[3]) << 24);
}

uint16_t ReadU16(const uint8_t* p)
{
  return static_cast<uint16_t>(p[0] | (p[1] << 8));
}

void PutU32(std::vector<uint8_t>& out, uint32_t v)
{
  for (int i = 0; i < 4; ++i)
    out.push_back(static_cast<uint8_t>(v >> (8 * i)));
}

void PutU16(std::vector<uint8_t>& out, uint16_t v)
{
  out.push_back(static_cast<uint8_t>(v));
  out.push_back(static_cast<uint8_t>(v >> 8));
}

void PutTag(std::vector<uint8_t>& out, const char* tag)
{
  for (int i = 0; i < 4; ++i)
    out.push_back(static_cast<uint8_t>(tag[i]));
}

const uint16_t kFormatPcm = 1;
const uint16_t kFormatFloat = 3;
const uint16_t kFormatExtensible = 0xFFFE;

// The float header: "RIFF" size "WAVE", an 18-byte "fmt " chunk, a "fact" chunk and the
// "data" chunk's tag and size.
const uint64_t kFloatHeaderSize = 12 + (8 + 18) + (8 + 4) + 8;
const uint64_t kMaxChunkSize = 0xFFFFFFFFu;

float DecodeSample(const uint8_t* p, uint16_t format, uint16_t bits)
{
  if (format == kFormatFloat)
  {
    float v;
    const uint32_t raw = ReadU32(p);
    std::memcpy(&v, &raw, sizeof v);
    return v;
  }
  switch (bits)
  {
  case 16:
    return static_cast<float>(static_cast<int16_t>(ReadU16(p)) / 32768.0);
  case 24:
  {
    int32_t v = static_cast<int32_t>(p[0] | (p[1] << 8) | (p[2] << 16));
    if (v & 0x800000)
      v -= 0x1000000;
    return static_cast<float>(v / 8388608.0);
  }
  default:
    return static_cast<float>(static_cast<int32_t>(ReadU32(p)) / 2147483648.0);
  }
}

class MemoryOutput final : public ByteOutput
{
public:
  explicit MemoryOutput(std::vector<uint8_t>& bytes) : mBytes(bytes) {}
  bool Write(const void* data, size_t size, std::string&) override
  {
    const uint8_t* bytes = static_cast<const uint8_t*>(data);
    mBytes.insert(mBytes.end(), bytes, bytes + size);
    return true;
  }

private:
  std::vector<uint8_t>& mBytes;
};

} // namespace

bool MemoryInput::Read(void* out, size_t count)
{
  if (count > mSize - mPosition)
    return false;
  std::memcpy(out, mData + mPosition, count);
  mPosition += count;
  return true;
}

bool MemoryInput::Skip(uint64_t count)
{
  if (count > mSize - mPosition)
    return false;
  mPosition += static_cast<size_t>(count);
  return true;
}

bool WavReader::ReadHeader(std::string& error)
{
  uint8_t riff[12];
  if (mInput.Remaining() < sizeof riff || !mInput.Read(riff, sizeof riff) || std::memcmp(riff, "RIFF", 4) != 0 ||
      std::memcmp(riff + 8, "WAVE", 4) != 0)
  {
    error = "not a RIFF/WAVE file";
    return false;
  }
  bool haveFormat = false;
  uint16_t blockAlign = 0;
  while (mInput.Remaining() >= 8)
  {
    uint8_t head[8];
    if (!mInput.Read(head, sizeof head))
      break;
    const uint32_t size = ReadU32(head + 4);
    if (size > mInput.Remaining())
    {
      error = "a chunk runs past the end of the file";
      return false;
    }
    // A chunk of odd size is followed by a pad byte, which the last chunk may lack.
    const auto skipRest = [this, size](uint32_t used) {
      const uint64_t rest = static_cast<uint64_t>(size - used) + (size & 1u);
      return mInput.Skip(std::min(rest, mInput.Remaining()));
    };
    if (std::memcmp(head, "fmt ", 4) == 0)
    {
      uint8_t f[40];
      const uint32_t used = std::min<uint32_t>(size, sizeof f);
      if (size < 16)
      {
        error = "format chunk too short";
        return false;
      }
      if (!mInput.Read(f, used) || !skipRest(used))
        break;
      mEncoding = ReadU16(f);
      mChannels = ReadU16(f + 2);
      mSampleRate = ReadU32(f + 4);
      blockAlign = ReadU16(f + 12);
      mBits = ReadU16(f + 14);
      if (mEncoding == kFormatExtensible)
      {
        if (size < 40)
        {
          error = "extensible format chunk too short";
          return false;
        }
        mEncoding = ReadU16(f + 24); // the sub-format GUID starts with the plain format tag
      }
      haveFormat = true;
    }
    else if (std::memcmp(head, "data", 4) == 0)
    {
      if (!haveFormat)
      {
        error = "data before the format chunk";
        return false;
      }
      const bool pcm = mEncoding == kFormatPcm && (mBits == 16 || mBits == 24 || mBits == 32);
      const bool flt = mEncoding == kFormatFloat && mBits == 32;
      if (!pcm && !flt)
      {
        error = "unsupported sample format (16/24/32-bit PCM or 32-bit float only)";
        return false;
      }
      if (mChannels < 1 || mChannels > 2)
      {
        error = "only one or two channels are supported";
        return false;
      }
      if (mSampleRate == 0 || mSampleRate > kMaxSampleRate || blockAlign != mChannels * (mBits / 8))
      {
        error = "inconsistent format chunk";
        return false;
      }
      mFrames = size / blockAlign;
      mFramesLeft = mFrames;
      if (mFrames == 0)
      {
        error = "no audio: the data chunk holds no sample";
        return false;
      }
      return true;
    }
    else if (!skipRest(0))
    {
      break;
    }
  }
  if (mInput.Remaining() >= 8)
    error = "the file cannot be read";
  else
    error = haveFormat ? "no data chunk" : "no format chunk";
  return false;
}

bool WavReader::Read(float* const* channels, size_t count, std::string& error)
{
  const size_t bytesPerSample = mBits / 8u;
  const size_t blockAlign = bytesPerSample * static_cast<size_t>(mChannels);
  if (count > mFramesLeft)
  {
    error = "read past the end of the samples";
    return false;
  }
  mBytes.resize(count * blockAlign);
  if (!mInput.Read(mBytes.data(), mBytes.size()))
  {
    error = "the input's samples cannot be read";
    return false;
  }
  for (size_t n = 0; n < count; ++n)
    for (int c = 0; c < mChannels; ++c)
      channels[c][n] = DecodeSample(mBytes.data() + n * blockAlign + static_cast<size_t>(c) * bytesPerSample,
                                    mEncoding, mBits);
  mFramesLeft -= count;
  return true;
}

bool ParseWav(const std::vector<uint8_t>& bytes, AudioClip& clip, std::string& error)
{
  MemoryInput input(bytes.data(), bytes.size());
  WavReader reader(input);
  if (!reader.ReadHeader(error))
    return false;
  const size_t frames = static_cast<size_t>(reader.Frames());
  clip.sampleRate = reader.SampleRate();
  clip.channels.assign(static_cast<size_t>(reader.Channels()), std::vector<float>(frames));
  float* channels[2] = {};
  const size_t kBlock = 65536;
  for (size_t start = 0; start < frames; start += kBlock)
  {
    for (size_t c = 0; c < clip.channels.size(); ++c)
      channels[c] = clip.channels[c].data() + start;
    if (!reader.Read(channels, std::min(kBlock, frames - start), error))
      return false;
  }
  return true;
}

uint64_t FloatWavWriter::MaxFrames(int channels)
{
  // Both the "RIFF" size (everything after its first 8 bytes) and the "data" size are 32-bit.
  return channels < 1 ? 0 : (kMaxChunkSize - (kFloatHeaderSize - 8)) / (4u * static_cast<uint64_t>(channels));
}

bool FloatWavWriter::Begin(int channels, uint32_t sampleRate, uint64_t frames, std::string& error)
{
  if (frames > MaxFrames(channels))
  {
    char limit[160];
    std::snprintf(limit, sizeof limit, "at most %llu frames of %d-channel float audio (%.2f hours at %u Hz)",
                  static_cast<unsigned long long>(MaxFrames(channels)), channels,
                  static_cast<double>(MaxFrames(channels)) / std::max(sampleRate, 1u) / 3600.0, sampleRate);
    error = "the output would be " + std::to_string(frames) + " frames, more than a WAV file can hold: " + limit;
    return false;
  }
  mChannels = channels;
  mFramesLeft = frames;
  const uint16_t nChannels = static_cast<uint16_t>(channels);
  const uint32_t dataSize = static_cast<uint32_t>(frames * 4u * nChannels);
  std::vector<uint8_t> header;
  PutTag(header, "RIFF");
  PutU32(header, static_cast<uint32_t>(kFloatHeaderSize - 8) + dataSize);
  PutTag(header, "WAVE");
  PutTag(header, "fmt ");
  PutU32(header, 18);
  PutU16(header, kFormatFloat);
  PutU16(header, nChannels);
  PutU32(header, sampleRate);
  PutU32(header, sampleRate * nChannels * 4u);
  PutU16(header, static_cast<uint16_t>(nChannels * 4));
  PutU16(header, 32);
  PutU16(header, 0);
  PutTag(header, "fact");
  PutU32(header, 4);
  PutU32(header, static_cast<uint32_t>(frames));
  PutTag(header, "data");
  PutU32(header, dataSize);
  return mOutput.Write(header.data(), header.size(), error);
}

bool FloatWavWriter::Write(const float* const* channels, int nChannels, size_t count, std::string& error)
{
  if (nChannels != mChannels || count > mFramesLeft)
  {
    error = "more audio than the header announced";
    return false;
  }
  mBytes.resize(count * 4u * static_cast<size_t>(nChannels));
  uint8_t* out = mBytes.data();
  for (size_t n = 0; n < count; ++n)
    for (int c = 0; c < nChannels; ++c, out += 4)
      std::memcpy(out, &channels[c][n], 4); // little-endian, as the format and the targets are
  mFramesLeft -= count;
  return mOutput.Write(mBytes.data(), mBytes.size(), error);
}

bool FloatWavWriter::Finish(std::string& error) const
{
  if (mFramesLeft != 0)
  {
    error = "less audio than the header announced";
    return false;
  }
  return true;
}

std::vector<uint8_t> EncodeFloatWav(const AudioClip& clip)
{
  std::vector<uint8_t> bytes;
  MemoryOutput output(bytes);
  FloatWavWriter writer(output);
  std::string error;
  const int channels = static_cast<int>(clip.channels.size());
  if (channels < 1 || channels > 2 || !writer.Begin(channels, static_cast<uint32_t>(clip.sampleRate), clip.Frames(), error))
    return {};
  const float* samples[2] = {};
  for (int c = 0; c < channels; ++c)
    samples[c] = clip.channels[static_cast<size_t>(c)].data();
  writer.Write(samples, channels, clip.Frames(), error);
  return bytes;
}
