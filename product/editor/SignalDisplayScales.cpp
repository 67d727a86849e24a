#include "product/editor/SignalDisplayScales.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace signal_scales {

namespace {
constexpr double kLowestFrequency = 20.0;
constexpr double kTunerLowest = 40.0;
constexpr double kTunerHighest = 1200.0;
// Compared as the float the engine publishes, so that its own threshold passes here too.
constexpr float kTunerConfidence = 0.65f;
constexpr const char* kNoteNames[12] = {"C", "C#", "D", "D#", "E", "F", "F#", "G", "G#", "A", "A#", "B"};

// A value that prints as zero prints without a sign: "-0" would read as a reading.
double UnsignedZero(double value, int decimals)
{
  const double unit = std::pow(10.0, -decimals);
  return std::fabs(value) < 0.5 * unit ? 0.0 : value;
}
} // namespace

const Readout kReadouts[kReadoutCount] = {
  {"GATE", kMeterGateGainDb},
  {"AMP", kMeterAmpSagDb},
  {"POWER", kMeterPowerSagDb},
  {"COMP", kMeterCompressorReductionDb},
  {"CLIP", kMeterClipDb},
};

double FrequencyAxisTop(double sampleRate)
{
  const double rate = std::isfinite(sampleRate) ? std::max(sampleRate, 22050.0) : 48000.0;
  return std::min(0.49 * rate, 20000.0);
}

float FrequencyX(double frequency, double axisTop)
{
  const double span = kPlotRight - kPlotLeft;
  return static_cast<float>(kPlotLeft + std::log(frequency / kLowestFrequency) * span /
                                          std::log(axisTop / kLowestFrequency));
}

float TraceX(int index)
{
  return kPlotLeft + static_cast<float>(index) * (kPlotRight - kPlotLeft) / (kDisplayPoints - 1);
}

float SpectrumY(float dB)
{
  const float level = std::isfinite(dB) ? dB : -120.f;
  const float fraction = std::clamp((level - kPlotFloorDb) / -kPlotFloorDb, 0.f, 1.f);
  return kPlotBottom - (kPlotBottom - kPlotTop) * fraction;
}

float WaveformY(float sample)
{
  const float value = std::isfinite(sample) ? sample : 0.f;
  return kWaveAxisY - kWaveHalfHeight * std::clamp(value, -1.f, 1.f);
}

LevelReading ReadLevel(float linear)
{
  LevelReading reading;
  const double level = std::isfinite(linear) && linear > 0.f ? linear : 0.0;
  reading.dB = level > 0.0 ? 20.0 * std::log10(level) : -120.0;
  reading.fraction = static_cast<float>(std::clamp((reading.dB + 60.0) / 60.0, 0.0, 1.0));
  reading.fullScale = level >= 1.0;
  return reading;
}

void FormatLevel(const LevelReading& reading, char* out, size_t capacity)
{
  if (reading.dB < -90.0)
    std::snprintf(out, capacity, "-inf");
  else
    std::snprintf(out, capacity, "%.0f", UnsignedZero(reading.dB, 0));
}

TunerReading ReadTuner(const DisplaySnapshot& snapshot)
{
  TunerReading reading;
  const double frequency = snapshot.Meter(kMeterTunerFrequency);
  const float confidence = snapshot.Meter(kMeterTunerConfidence);
  // The comparisons are false for values that are not finite.
  if (!snapshot.signalPresent || !(confidence >= kTunerConfidence) || !(frequency >= kTunerLowest) ||
      !(frequency <= kTunerHighest))
    return reading;
  const double note = 12.0 * std::log2(frequency / 440.0) + 69.0;
  reading.valid = true;
  reading.noteNumber = static_cast<int>(std::round(note));
  reading.cents = (note - reading.noteNumber) * 100.0;
  reading.frequency = frequency;
  return reading;
}

void FormatTuner(const TunerReading& reading, char* out, size_t capacity)
{
  if (!reading.valid)
  {
    std::snprintf(out, capacity, "TUNER -- / WAIT FOR A CLEAR NOTE");
    return;
  }
  std::snprintf(out, capacity, "TUNER %s%d  %+.0fct  %.1fHz", kNoteNames[reading.noteNumber % 12],
                reading.noteNumber / 12 - 1, UnsignedZero(reading.cents, 0), reading.frequency);
}

void FormatReadout(const Readout& readout, const DisplaySnapshot& snapshot, char* out, size_t capacity)
{
  const double meter = snapshot.Meter(readout.meter);
  const double reduction = std::isfinite(meter) ? std::clamp(-meter, 0.0, 120.0) : 0.0;
  std::snprintf(out, capacity, "%s %.1fdB", readout.name, UnsignedZero(reduction, 1));
}

} // namespace signal_scales
