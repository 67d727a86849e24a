#include "tools/render/RenderFiles.h"
#include "tools/render/WavFile.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

void Put16(std::vector<uint8_t>& out, uint16_t v)
{
  out.push_back(static_cast<uint8_t>(v));
  out.push_back(static_cast<uint8_t>(v >> 8));
}

void Put32(std::vector<uint8_t>& out, uint32_t v)
{
  for (int i = 0; i < 4; ++i)
    out.push_back(static_cast<uint8_t>(v >> (8 * i)));
}

// A WAV image with the given format fields and raw sample bytes; `extensible` wraps the
// format tag into the extensible layout, and a "LIST" chunk of odd size precedes the data
// to exercise chunk skipping and padding.
std::vector<uint8_t> MakeWav(uint16_t format, uint16_t channels, uint32_t rate, uint16_t bits,
                             const std::vector<uint8_t>& data, bool extensible = false)
{
  std::vector<uint8_t> fmt;
  Put16(fmt, extensible ? 0xFFFE : format);
  Put16(fmt, channels);
  Put32(fmt, rate);
  Put32(fmt, rate * channels * (bits / 8));
  Put16(fmt, static_cast<uint16_t>(channels * (bits / 8)));
  Put16(fmt, bits);
  if (extensible)
  {
    Put16(fmt, 22);
    Put16(fmt, bits);
    Put32(fmt, 3);
    Put16(fmt, format);
    for (int i = 0; i < 14; ++i)
      fmt.push_back(0);
  }
  std::vector<uint8_t> out = {'R', 'I', 'F', 'F', 0, 0, 0, 0, 'W', 'A', 'V', 'E', 'f', 'm', 't', ' '};
  Put32(out, static_cast<uint32_t>(fmt.size()));
  out.insert(out.end(), fmt.begin(), fmt.end());
  const char list[] = {'L', 'I', 'S', 'T', 3, 0, 0, 0, 'a', 'b', 'c', 0};
  out.insert(out.end(), list, list + sizeof list);
  out.insert(out.end(), {'d', 'a', 't', 'a'});
  Put32(out, static_cast<uint32_t>(data.size()));
  out.insert(out.end(), data.begin(), data.end());
  const uint32_t riffSize = static_cast<uint32_t>(out.size() - 8);
  std::memcpy(out.data() + 4, &riffSize, 4);
  return out;
}

} // namespace

TEST(WavFile, ReadsIntegerFormats)
{
  std::vector<uint8_t> d16;
  Put16(d16, 0x4000); // 0.5
  Put16(d16, 0x8000); // -1
  AudioClip clip;
  std::string error;
  ASSERT_TRUE(ParseWav(MakeWav(1, 2, 44100, 16, d16), clip, error)) << error;
  EXPECT_EQ(clip.sampleRate, 44100.0);
  ASSERT_EQ(clip.channels.size(), 2u);
  ASSERT_EQ(clip.Frames(), 1u);
  EXPECT_EQ(clip.channels[0][0], 0.5f);
  EXPECT_EQ(clip.channels[1][0], -1.0f);

  const std::vector<uint8_t> d24 = {0x00, 0x00, 0xC0, 0xFF, 0xFF, 0x7F}; // -0.5, then just below 1
  ASSERT_TRUE(ParseWav(MakeWav(1, 1, 48000, 24, d24), clip, error)) << error;
  ASSERT_EQ(clip.Frames(), 2u);
  EXPECT_EQ(clip.channels[0][0], -0.5f);
  EXPECT_NEAR(clip.channels[0][1], 1.0f, 1e-6);

  std::vector<uint8_t> d32;
  Put32(d32, 0x20000000u); // 0.25
  ASSERT_TRUE(ParseWav(MakeWav(1, 1, 96000, 32, d32, true), clip, error)) << error;
  EXPECT_EQ(clip.channels[0][0], 0.25f);
}

TEST(WavFile, FloatRoundTripKeepsEverySample)
{
  AudioClip clip;
  clip.sampleRate = 48000.0;
  clip.channels = {{0.1f, -0.7f, 1.5f}, {0.0f, 0.25f, -2.0f}};
  AudioClip back;
  std::string error;
  ASSERT_TRUE(ParseWav(EncodeFloatWav(clip), back, error)) << error;
  EXPECT_EQ(back.sampleRate, 48000.0);
  EXPECT_EQ(back.channels, clip.channels);
}

TEST(WavFile, RefusesBrokenAndUnsupportedFiles)
{
  std::vector<uint8_t> data(8, 0);
  AudioClip clip;
  std::string error;
  EXPECT_FALSE(ParseWav({}, clip, error));
  EXPECT_FALSE(ParseWav(MakeWav(1, 3, 48000, 16, std::vector<uint8_t>(12, 0)), clip, error));
  EXPECT_NE(error.find("channels"), std::string::npos);
  EXPECT_FALSE(ParseWav(MakeWav(1, 1, 48000, 8, data), clip, error));
  EXPECT_FALSE(ParseWav(MakeWav(3, 1, 48000, 64, data), clip, error));
  EXPECT_FALSE(ParseWav(MakeWav(1, 1, 0, 16, data), clip, error));
  std::vector<uint8_t> truncated = MakeWav(1, 1, 48000, 16, data);
  truncated.resize(truncated.size() - 3);
  EXPECT_FALSE(ParseWav(truncated, clip, error));
  EXPECT_NE(error.find("past the end"), std::string::npos);
  std::vector<uint8_t> noData = MakeWav(1, 1, 48000, 16, data);
  std::memcpy(noData.data() + noData.size() - data.size() - 8, "junk", 4);
  EXPECT_FALSE(ParseWav(noData, clip, error));
  // No audio: an empty data chunk, or one shorter than a frame.
  for (size_t size : {0, 3})
  {
    EXPECT_FALSE(ParseWav(MakeWav(1, 2, 48000, 16, std::vector<uint8_t>(size, 0)), clip, error)) << size;
    EXPECT_NE(error.find("no audio"), std::string::npos) << size;
  }
  FileInput missing;
  EXPECT_FALSE(missing.Open("this-file-does-not-exist.wav", error));
  EXPECT_NE(error.find("cannot open"), std::string::npos);
}
