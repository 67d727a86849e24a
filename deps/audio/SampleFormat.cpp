#include "deps/audio/SampleFormat.h"

#include <cmath>
#include <cstdint>

namespace audio {

bool IsSupportedFormat(RtAudioFormat format)
{
  return format == RTAUDIO_SINT16 || format == RTAUDIO_SINT32 || format == RTAUDIO_FLOAT32 ||
         format == RTAUDIO_FLOAT64;
}

unsigned int BytesPerSample(RtAudioFormat format)
{
  switch (format)
  {
  case RTAUDIO_SINT16: return 2;
  case RTAUDIO_SINT32: return 4;
  case RTAUDIO_FLOAT32: return 4;
  case RTAUDIO_FLOAT64: return 8;
  default: return 0;
  }
}

static float Sanitize(double value)
{
  return std::isfinite(value) ? static_cast<float>(value) : 0.0f;
}

float ReadSample(RtAudioFormat format, const void* samples, size_t index)
{
  switch (format)
  {
  case RTAUDIO_SINT16: return static_cast<const int16_t*>(samples)[index] / 32768.0f;
  case RTAUDIO_SINT32: return static_cast<float>(static_cast<const int32_t*>(samples)[index] / 2147483648.0);
  case RTAUDIO_FLOAT32: return Sanitize(static_cast<const float*>(samples)[index]);
  case RTAUDIO_FLOAT64: return Sanitize(static_cast<const double*>(samples)[index]);
  default: return 0.0f;
  }
}

void WriteSample(RtAudioFormat format, void* samples, size_t index, float value)
{
  if (!std::isfinite(value))
    value = 0.0f;
  const double clipped = value > 1.0f ? 1.0 : value < -1.0f ? -1.0 : value;
  switch (format)
  {
  case RTAUDIO_SINT16:
    static_cast<int16_t*>(samples)[index] = static_cast<int16_t>(std::lrint(clipped * 32767.0));
    break;
  case RTAUDIO_SINT32:
    static_cast<int32_t*>(samples)[index] = static_cast<int32_t>(std::llrint(clipped * 2147483647.0));
    break;
  case RTAUDIO_FLOAT32: static_cast<float*>(samples)[index] = value; break;
  case RTAUDIO_FLOAT64: static_cast<double*>(samples)[index] = value; break;
  default: break;
  }
}

} // namespace audio
