#pragma once

#include <cstddef>

// What the engine publishes for the editor at the end of every block, and the two
// records the editor copies out of it.

constexpr int kDisplayPoints = 256;

// The published meters, in publishing order.
enum PublishedMeter
{
  kMeterInputPeak = 0,
  kMeterWetPeak,
  kMeterOutputPeak,
  kMeterOutputLeftPeak,
  kMeterOutputRightPeak,
  kMeterGateGainDb,
  kMeterGateDetectorDb,
  kMeterPedalSag,
  kMeterAmpSagDb,
  kMeterPowerSagDb,
  kMeterCompressorReductionDb,
  kMeterClipDb,
  kMeterTunerFrequency,
  kMeterTunerConfidence,
  kMeterInputRmsDb,
  kMeterOutputRmsDb,
  kMeterCorrelation,
  kMeterReserved1,
  kMeterReserved2,
  kPublishedMeterCount
};

// The display record carries published meters 5 to 16.
constexpr int kDisplayMeterFirst = kMeterGateGainDb;
constexpr int kDisplayMeterCount = kMeterCorrelation - kMeterGateGainDb + 1;

struct LevelSnapshot
{
  float inputPeak = 0.0f;
  float wetPeak = 0.0f;
  float outputPeak = 0.0f;
  float outputLeftPeak = 0.0f;
  float outputRightPeak = 0.0f;
  bool auxConnected = false;
  bool auxInUse = false;
};

struct DisplaySnapshot
{
  DisplaySnapshot();

  float inputSpectrum[kDisplayPoints];
  float outputSpectrum[kDisplayPoints];
  float inputWaveform[kDisplayPoints];
  float outputWaveform[kDisplayPoints];
  float meters[kDisplayMeterCount];
  double sampleRate;
  bool auxConnected;
  bool auxInUse;
  bool signalPresent;

  // A meter by its published index (kMeterGateGainDb ... kMeterCorrelation).
  float Meter(PublishedMeter meter) const { return meters[meter - kDisplayMeterFirst]; }
};

// The display record's layout is part of its contract with the signal display:
// four 256-point curves, twelve meters, the rate and three flags, 4160 bytes in all.
static_assert(offsetof(DisplaySnapshot, outputSpectrum) == 1024, "display record layout");
static_assert(offsetof(DisplaySnapshot, inputWaveform) == 2048, "display record layout");
static_assert(offsetof(DisplaySnapshot, outputWaveform) == 3072, "display record layout");
static_assert(offsetof(DisplaySnapshot, meters) == 4096, "display record layout");
static_assert(offsetof(DisplaySnapshot, sampleRate) == 4144, "display record layout");
static_assert(offsetof(DisplaySnapshot, signalPresent) == 4154, "display record layout");
static_assert(sizeof(DisplaySnapshot) == 4160, "display record layout");
static_assert(sizeof(LevelSnapshot) == 24, "level record layout");
