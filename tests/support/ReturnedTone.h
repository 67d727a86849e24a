#pragma once

// Reading a test tone that came back through PulseAudio's null sink and its monitor.

#include <cstddef>
#include <vector>

// The amplitude of the frequency hz in count samples of x from the given one on.
double ToneAmplitude(const std::vector<double>& x, size_t from, size_t count, double hz, double rate);

// The cleanest stretch of a returned 1 kHz tone: of the 50 ms windows (every 10 ms) from
// the given frame on, the one where the tone is strongest (as an amplitude), and the
// amplitude at 1700 Hz there. A loaded machine makes the emulated devices drop samples
// here and there; one whole stretch still shows that what came back is what was played.
struct Stretch
{
  double tone = 0.0;
  double elsewhere = 1.0;
};
Stretch CleanestStretch(const std::vector<double>& x, size_t from, double rate);
