#pragma once

#include "product/core/DisplaySnapshot.h"
#include "product/core/Fft4096.h"
#include "product/core/LevelMeters.h"
#include "product/core/PitchTuner.h"
#include "product/core/SnapshotExchange.h"
#include "product/core/SpectrumAnalyzer.h"
#include "product/core/WaveformTrace.h"

#include <cstdint>

// The readings the engine gathers over one block, besides what is measured here.
struct BlockReadings
{
  double inputPeak = 0.0;
  double wetPeak = 0.0;
  double outputPeak = 0.0;
  double outputLeftPeak = 0.0;
  double outputRightPeak = 0.0;
  double gateGainDb = 0.0;
  double gateDetectorDb = -120.0;
  double pedalSag = 0.0;
  double ampSagDb = 0.0;
  double powerSagDb = 0.0;
  double compressorReductionDb = 0.0;
  double clipDb = 0.0;
};

// Everything the engine measures for the editor: spectra, waveform traces, the tuner and
// the level averages, fed once per sample on the audio thread and published once per
// block for the editor thread to copy without locks. The spectra and the tuner are costly:
// they are fed and run only while someone reads the display (a read within the last two
// seconds of audio; a fresh start counts as read). Otherwise they read -120 dB and 0, and
// when reading resumes they start afresh, as after a reset.
class EngineMeasurements
{
public:
  EngineMeasurements();
  EngineMeasurements(const EngineMeasurements&) = delete;
  EngineMeasurements& operator=(const EngineMeasurements&) = delete;

  void Prepare(double sampleRate);
  // Clears every ring, average and result; the spectra read -120 dB.
  void Reset();
  // Analyzer switch and speed from the engine's smoothed parameters.
  void Configure(const float* params);

  // Once per sample, with the raw input and the final output.
  void Feed(double rawLeft, double rawRight, double outLeft, double outRight)
  {
    mLevels.Feed(rawLeft, rawRight, outLeft, outRight);
    mWaveform.Feed(rawLeft, rawRight, outLeft, outRight);
    if (!mWatched)
      return;
    ++mUnreadSamples;
    mAnalyzer.Feed(static_cast<float>(rawLeft), static_cast<float>(rawRight), static_cast<float>(outLeft),
                   static_cast<float>(outRight));
    mTuner.Feed(rawLeft, rawRight);
  }

  // The writer, at the end of a block; returns whether a signal is present.
  bool Publish(const BlockReadings& readings, bool auxConnected, bool auxInUse);

  // The readers, from any thread.
  LevelSnapshot ReadLevel() const { return mExchange.ReadLevel(); }
  DisplaySnapshot ReadDisplay() const { return mExchange.ReadDisplay(); }
  const SnapshotExchange& Exchange() const { return mExchange; }

  const SpectrumAnalyzer& Analyzer() const { return mAnalyzer; }
  const PitchTuner& Tuner() const { return mTuner; }
  const LevelMeters& Levels() const { return mLevels; }
  const WaveformTrace& Waveform() const { return mWaveform; }

private:
  static constexpr double kUnreadSeconds = 2.0;

  double mSampleRate = 48000.0;
  // Samples fed since a reader last took the display record, counted while watched.
  int64_t mUnreadSamples = 0;
  bool mWatched = true;
  Fft4096 mFft;
  SpectrumAnalyzer mAnalyzer;
  PitchTuner mTuner;
  WaveformTrace mWaveform;
  LevelMeters mLevels;
  SnapshotExchange mExchange;
};
