#include "tools/render/WavFile.h"

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

} // namespace

bool ParseWav(const std::vector<uint8_t>& bytes, AudioClip& clip, std::string& error)
{
  if (bytes.size() < 12 || std::memcmp(bytes.data(), "RIFF", 4) != 0 || std::memcmp(bytes.data() + 8, "WAVE", 4) != 0)
  {
    error = "not a RIFF/WAVE file";
    return false;
  }
  bool haveFormat = false;
  uint16_t format = 0, channels = 0, bits = 0, blockAlign = 0;
  uint32_t rate = 0;
  size_t pos = 12;
  while (pos + 8 <= bytes.size())
  {
    const uint8_t* chunk = bytes.data() + pos;
    const uint32_t size = ReadU32(chunk + 4);
    const size_t body = pos + 8;
    if (size > bytes.size() - body)
    {
      error = "a chunk runs past the end of the file";
      return false;
    }
    if (std::memcmp(chunk, "fmt ", 4) == 0)
    {
      if (size < 16)
      {
        error = "format chunk too short";
        return false;
      }
      const uint8_t* f = bytes.data() + body;
      format = ReadU16(f);
      channels = ReadU16(f + 2);
      rate = ReadU32(f + 4);
      blockAlign = ReadU16(f + 12);
      bits = ReadU16(f + 14);
      if (format == kFormatExtensible)
      {
        if (size < 40)
        {
          error = "extensible format chunk too short";
          return false;
        }
        format = ReadU16(f + 24); // the sub-format GUID starts with the plain format tag
      }
      haveFormat = true;
    }
    else if (std::memcmp(chunk, "data", 4) == 0)
    {
      if (!haveFormat)
      {
        error = "data before the format chunk";
        return false;
      }
      const bool pcm = format == kFormatPcm && (bits == 16 || bits == 24 || bits == 32);
      const bool flt = format == kFormatFloat && bits == 32;
      if (!pcm && !flt)
      {
        error = "unsupported sample format (16/24/32-bit PCM or 32-bit float only)";
        return false;
      }
      if (channels < 1 || channels > 2)
      {
        error = "only one or two channels are supported";
        return false;
      }
      if (rate == 0 || blockAlign != channels * (bits / 8))
      {
        error = "inconsistent format chunk";
        return false;
      }
      const size_t frames = size / blockAlign;
      clip.sampleRate = rate;
      clip.channels.assign(channels, std::vector<float>(frames));
      const size_t bytesPerSample = bits / 8;
      for (size_t n = 0; n < frames; ++n)
        for (uint16_t c = 0; c < channels; ++c)
          clip.channels[c][n] = DecodeSample(bytes.data() + body + n * blockAlign + c * bytesPerSample, format, bits);
      return true;
    }
    pos = body + size + (size & 1u);
  }
  error = haveFormat ? "no data chunk" : "no format chunk";
  return false;
}

bool ReadWavFile(const std::string& path, AudioClip& clip, std::string& error)
{
  FILE* file = std::fopen(path.c_str(), "rb");
  if (file == nullptr)
  {
    error = "cannot open " + path;
    return false;
  }
  std::vector<uint8_t> bytes;
  uint8_t buffer[65536];
  size_t got;
  while ((got = std::fread(buffer, 1, sizeof buffer, file)) > 0)
    bytes.insert(bytes.end(), buffer, buffer + got);
  const bool failed = std::ferror(file) != 0;
  std::fclose(file);
  if (failed)
  {
    error = "cannot read " + path;
    return false;
  }
  if (!ParseWav(bytes, clip, error))
  {
    error = path + ": " + error;
    return false;
  }
  return true;
}

std::vector<uint8_t> EncodeFloatWav(const AudioClip& clip)
{
  const uint16_t channels = static_cast<uint16_t>(clip.channels.size());
  const uint32_t frames = static_cast<uint32_t>(clip.Frames());
  const uint32_t dataSize = frames * channels * 4u;
  std::vector<uint8_t> out;
  out.reserve(dataSize + 64);
  PutTag(out, "RIFF");
  PutU32(out, 4 + (8 + 18) + (8 + 4) + (8 + dataSize));
  PutTag(out, "WAVE");
  PutTag(out, "fmt ");
  PutU32(out, 18);
  PutU16(out, kFormatFloat);
  PutU16(out, channels);
  PutU32(out, static_cast<uint32_t>(clip.sampleRate));
  PutU32(out, static_cast<uint32_t>(clip.sampleRate) * channels * 4u);
  PutU16(out, static_cast<uint16_t>(channels * 4));
  PutU16(out, 32);
  PutU16(out, 0);
  PutTag(out, "fact");
  PutU32(out, 4);
  PutU32(out, frames);
  PutTag(out, "data");
  PutU32(out, dataSize);
  for (uint32_t n = 0; n < frames; ++n)
    for (uint16_t c = 0; c < channels; ++c)
    {
      uint32_t raw;
      std::memcpy(&raw, &clip.channels[c][n], sizeof raw);
      PutU32(out, raw);
    }
  return out;
}

bool WriteWavFile(const std::string& path, const AudioClip& clip, std::string& error)
{
  const std::vector<uint8_t> bytes = EncodeFloatWav(clip);
  FILE* file = std::fopen(path.c_str(), "wb");
  if (file == nullptr)
  {
    error = "cannot create " + path;
    return false;
  }
  const bool written = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
  const bool closed = std::fclose(file) == 0;
  if (!written || !closed)
  {
    error = "cannot write " + path;
    return false;
  }
  return true;
}
