#include "product/core/EngineMeasurements.h"

#include "product/core/DspHelpers.h"
#include "product/core/ParamIds.h"

EngineMeasurements::EngineMeasurements()
  : mAnalyzer(mFft)
  , mTuner(mFft)
{
  Prepare(48000.0);
  Reset();
}

void EngineMeasurements::Prepare(double sampleRate)
{
  mSampleRate = sampleRate;
  mAnalyzer.Prepare(sampleRate);
  mTuner.Prepare(sampleRate);
  mWaveform.Prepare(sampleRate);
  mLevels.Prepare(sampleRate);
}

void EngineMeasurements::Reset()
{
  mUnreadSamples = 0;
  mWatched = true;
  mAnalyzer.Reset();
  mTuner.Reset();
  mWaveform.Reset();
  mLevels.Reset();
}

void EngineMeasurements::Configure(const float* params)
{
  mAnalyzer.Configure(params[kParamAnalyzer] >= 0.5f, static_cast<int>(params[kParamAnalyzerSpeed]));
}

bool EngineMeasurements::Publish(const BlockReadings& readings, bool auxConnected, bool auxInUse)
{
  if (mExchange.TakeDisplayRead())
  {
    mUnreadSamples = 0;
    mWatched = true;
  }
  else if (mWatched && mUnreadSamples >= kUnreadSeconds * mSampleRate)
  {
    // Cleared now, so that reading resumes from silence rather than from old audio.
    mWatched = false;
    mAnalyzer.Reset();
    mTuner.Reset();
  }

  const double values[kPublishedMeterCount] = {
    readings.inputPeak,
    readings.wetPeak,
    readings.outputPeak,
    readings.outputLeftPeak,
    readings.outputRightPeak,
    readings.gateGainDb,
    readings.gateDetectorDb,
    readings.pedalSag,
    readings.ampSagDb,
    readings.powerSagDb,
    readings.compressorReductionDb,
    readings.clipDb,
    mTuner.Frequency(),
    mTuner.Confidence(),
    mLevels.InputRmsDb(),
    mLevels.OutputRmsDb(),
    mLevels.Correlation(),
    0.0,
    0.0,
  };
  float meters[kPublishedMeterCount];
  for (int i = 0; i < kPublishedMeterCount; ++i)
    meters[i] = static_cast<float>(SanitizeSample(values[i]));

  SnapshotSource source;
  source.inputSpectrum = mAnalyzer.InputSpectrum();
  source.outputSpectrum = mAnalyzer.OutputSpectrum();
  source.inputWaveformRing = mWaveform.InputRing();
  source.outputWaveformRing = mWaveform.OutputRing();
  source.waveformStart = mWaveform.OldestIndex();
  source.meters = meters;
  source.sampleRate = mSampleRate;
  source.auxConnected = auxConnected;
  source.auxInUse = auxInUse;
  source.signalPresent = mLevels.SignalPresent();
  mExchange.Publish(source);
  return source.signalPresent;
}
