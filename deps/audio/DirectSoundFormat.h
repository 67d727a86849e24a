#pragma once

// The sample layouts we ask DirectSound buffers for: 32-bit float where the system takes
// it, else 16-bit integers, which every device takes.

#include <windows.h>
#include <mmsystem.h>
#include <mmreg.h>

namespace audio {

enum class DeviceSampleType { Float32, Int16 };

void MakeWaveFormat(DeviceSampleType type, unsigned int channels, unsigned int sampleRate,
                    WAVEFORMATEXTENSIBLE& format);

inline unsigned int DeviceBytesPerSample(DeviceSampleType type)
{
  return type == DeviceSampleType::Float32 ? 4 : 2;
}

// Interleaved samples between a device buffer and our floats.
void DeviceToFloat(DeviceSampleType type, const void* device, float* samples, size_t count);
void FloatToDevice(DeviceSampleType type, const float* samples, void* device, size_t count);

} // namespace audio
