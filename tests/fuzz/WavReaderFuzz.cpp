// Feeds arbitrary bytes to the render tool's WAV reader. An accepted file must hold one or
// two channels of equal length, a sane rate and no more frames than its bytes, read the
// same in blocks of any size, and come back bit for bit through the tool's own writer.
#include "tools/render/WavFile.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>

namespace {

void Check(bool condition)
{
  if (!condition)
    std::abort();
}

bool SameBits(const std::vector<float>& a, const std::vector<float>& b)
{
  return a.size() == b.size() && (a.empty() || std::memcmp(a.data(), b.data(), a.size() * sizeof(float)) == 0);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
  const std::vector<uint8_t> bytes(data, data + size);
  AudioClip clip;
  std::string error;
  if (!ParseWav(bytes, clip, error))
  {
    Check(!error.empty());
    return 0;
  }
  const size_t frames = clip.Frames();
  Check(clip.channels.size() == 1 || clip.channels.size() == 2);
  Check(clip.channels.back().size() == frames && frames >= 1);
  Check(frames * 2 * clip.channels.size() <= size); // at least 16 bits a sample
  Check(clip.sampleRate >= 1.0 && clip.sampleRate <= WavReader::kMaxSampleRate);

  // The same samples in blocks of a size the input picks.
  MemoryInput input(data, size);
  WavReader reader(input);
  Check(reader.ReadHeader(error) && reader.Frames() == frames);
  const size_t block = 1 + data[size - 1] % 61;
  std::vector<float> blocks[2] = {std::vector<float>(frames), std::vector<float>(frames)};
  for (size_t start = 0; start < frames; start += block)
  {
    float* channels[2] = {blocks[0].data() + start, blocks[1].data() + start};
    Check(reader.Read(channels, std::min(block, frames - start), error));
  }
  for (size_t c = 0; c < clip.channels.size(); ++c)
    Check(SameBits(blocks[c], clip.channels[c]));

  // Written and read again: every sample keeps its bits, the rate its value.
  AudioClip back;
  Check(ParseWav(EncodeFloatWav(clip), back, error));
  Check(back.sampleRate == clip.sampleRate && back.channels.size() == clip.channels.size());
  for (size_t c = 0; c < clip.channels.size(); ++c)
    Check(SameBits(back.channels[c], clip.channels[c]));
  return 0;
}
