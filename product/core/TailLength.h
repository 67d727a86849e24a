#pragma once

#include "product/core/ParamIds.h"

#include <cstdint>

// How long the output keeps sounding after the input falls silent, in seconds: the
// latency and the slowest filters always, and when the wet signal is heard also the echo
// until it has fallen by 200 dB, the reverb and the chorus. The values may be anything;
// they are made safe first.
double ComputeTailSeconds(const float values[kNumParams], double sampleRate);

// The tail in whole samples at the rate, rounded up and kept within 0 ... 2147483646 so
// that a host never mistakes it for an infinite tail.
int64_t TailSecondsToSamples(double seconds, double sampleRate);
