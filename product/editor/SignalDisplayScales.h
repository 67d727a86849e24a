#pragma once

#include "product/core/DisplaySnapshot.h"

#include <cstddef>

// How the signal display turns the engine's readings into places and texts: the plot's
// level and logarithmic frequency axes, the waveform strip, the level meters, the tuner
// and the reduction readouts. Everything here is in user-interface units of the editor.
namespace signal_scales {

// The spectrum plot; the waveform strip lies below it, centred on kWaveAxisY.
constexpr float kPlotLeft = 758.f;
constexpr float kPlotTop = 150.f;
constexpr float kPlotRight = 1067.f;
constexpr float kPlotBottom = 259.f;
constexpr float kWaveAxisY = 300.f;
constexpr float kWaveHalfHeight = 18.f;
// The lowest level the plot shows (its bottom edge); 0 dB is its top.
constexpr float kPlotFloorDb = -96.f;

// The right end of the frequency axis: 0.49 times the rate (taken as at least 22050 Hz),
// at most 20 kHz.
double FrequencyAxisTop(double sampleRate);
float FrequencyX(double frequency, double axisTop);
// The place of trace point i of kDisplayPoints.
float TraceX(int index);
// A non-finite level lies at the bottom, a non-finite sample on the axis.
float SpectrumY(float dB);
float WaveformY(float sample);

struct LevelReading
{
  double dB = -120.0;
  float fraction = 0.f; // of the meter's height, which spans -60 ... 0 dB
  bool fullScale = false;
};
// From a linear peak; negative or non-finite levels read as silence.
LevelReading ReadLevel(float linear);
// "-inf" below -90 dB, else the whole decibels.
void FormatLevel(const LevelReading& reading, char* out, size_t capacity);

struct TunerReading
{
  bool valid = false; // a clear note: signal, confidence and range as the tuner needs
  int noteNumber = 0; // A4 = 69
  double cents = 0.0;
  double frequency = 0.0;
};
TunerReading ReadTuner(const DisplaySnapshot& snapshot);
// "TUNER E2  +0ct  82.4Hz" for a note; the waiting text otherwise.
void FormatTuner(const TunerReading& reading, char* out, size_t capacity);

// The reduction readouts, left to right.
constexpr int kReadoutCount = 5;
struct Readout
{
  const char* name;
  PublishedMeter meter;
};
extern const Readout kReadouts[kReadoutCount];
// "GATE 3.5dB": the reduction (a reading of -3.5 dB), limited to 0 ... 120.
void FormatReadout(const Readout& readout, const DisplaySnapshot& snapshot, char* out, size_t capacity);

} // namespace signal_scales
