#pragma once

#include "deps/audio/RtAudio.h"

#include <cstddef>

namespace audio {

// The sample formats a stream may hand its callback.
bool IsSupportedFormat(RtAudioFormat format);
unsigned int BytesPerSample(RtAudioFormat format);

// Full scale is -1 ... 1 for every format; values beyond it are clipped on the way into
// integer formats and non-finite values become 0, so a bad callback cannot harm a device.
float ReadSample(RtAudioFormat format, const void* samples, size_t index);
void WriteSample(RtAudioFormat format, void* samples, size_t index, float value);

} // namespace audio
