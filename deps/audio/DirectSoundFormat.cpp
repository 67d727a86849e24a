#include "deps/audio/DirectSoundFormat.h"

#include <cmath>
#include <cstdint>
#include <cstring>

namespace audio {

// The IEEE-float subformat of an extensible wave format.
static const GUID kIeeeFloatSubformat = {0x00000003, 0x0000, 0x0010, {0x80, 0x00, 0x00, 0xaa, 0x00, 0x38, 0x9b, 0x71}};

void MakeWaveFormat(DeviceSampleType type, unsigned int channels, unsigned int sampleRate,
                    WAVEFORMATEXTENSIBLE& format)
{
  std::memset(&format, 0, sizeof(format));
  const unsigned int bytes = DeviceBytesPerSample(type);
  format.Format.nChannels = static_cast<WORD>(channels);
  format.Format.nSamplesPerSec = sampleRate;
  format.Format.wBitsPerSample = static_cast<WORD>(bytes * 8);
  format.Format.nBlockAlign = static_cast<WORD>(channels * bytes);
  format.Format.nAvgBytesPerSec = sampleRate * channels * bytes;
  if (type == DeviceSampleType::Int16)
  {
    format.Format.wFormatTag = WAVE_FORMAT_PCM;
    return;
  }
  format.Format.wFormatTag = WAVE_FORMAT_EXTENSIBLE;
  format.Format.cbSize = sizeof(WAVEFORMATEXTENSIBLE) - sizeof(WAVEFORMATEX);
  format.Samples.wValidBitsPerSample = 32;
  format.dwChannelMask = channels == 1 ? SPEAKER_FRONT_CENTER
                         : channels == 2 ? SPEAKER_FRONT_LEFT | SPEAKER_FRONT_RIGHT
                                         : 0;
  format.SubFormat = kIeeeFloatSubformat;
}

void DeviceToFloat(DeviceSampleType type, const void* device, float* samples, size_t count)
{
  if (type == DeviceSampleType::Float32)
  {
    std::memcpy(samples, device, count * sizeof(float));
    for (size_t i = 0; i < count; ++i)
      if (!std::isfinite(samples[i]))
        samples[i] = 0.0f;
    return;
  }
  const int16_t* source = static_cast<const int16_t*>(device);
  for (size_t i = 0; i < count; ++i)
    samples[i] = source[i] / 32768.0f;
}

void FloatToDevice(DeviceSampleType type, const float* samples, void* device, size_t count)
{
  if (type == DeviceSampleType::Float32)
  {
    std::memcpy(device, samples, count * sizeof(float));
    return;
  }
  int16_t* target = static_cast<int16_t*>(device);
  for (size_t i = 0; i < count; ++i)
  {
    const float v = samples[i] > 1.0f ? 1.0f : samples[i] < -1.0f ? -1.0f : samples[i];
    target[i] = static_cast<int16_t>(std::lrint(v * 32767.0f));
  }
}

} // namespace audio
