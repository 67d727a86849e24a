#pragma once

#include "product/core/Biquad.h"
#include "product/core/Fft4096.h"

// Pitch of the raw input for the tuner. The mid of the input is low-passed, decimated to
// about 12 kHz into a 4096-sample ring, and after every 1024 writes the period is found
// from the linear autocorrelation of the newest 2048 samples (zero-padded so the
// transform's wrap-around cannot fold long lags onto short ones). The chosen period is
// then refined on the windowed spectrum of the whole ring. Each analysis runs in three
// steps of one transform each, 256, 768 and 1280 samples after its window closes, so no
// audio block carries all of them; the ring keeps the closed window meanwhile.
class PitchTuner
{
public:
  static constexpr int kRingSize = Fft4096::kSize;
  static constexpr int kAnalysisLength = kRingSize / 2;
  static constexpr int kWritesPerAnalysis = 1024;
  static constexpr double kLowestHz = 40.0;
  static constexpr double kHighestHz = 1400.0;
  static constexpr double kMinimumClarity = 0.65;

  explicit PitchTuner(const Fft4096& fft);

  void Prepare(double sampleRate);
  void Reset();

  void Feed(double rawLeft, double rawRight)
  {
    if (mStep != kIdle && ++mSinceWindow == kStepSamples[mStep])
      RunStep();
    mLowLeft = Flush((1.0 - mLowPole) * rawLeft + mLowPole * mLowLeft);
    mLowRight = Flush((1.0 - mLowPole) * rawRight + mLowPole * mLowRight);
    // The one-poles alone let a high note's upper harmonics fold back below the decimated
    // Nyquist as tones that do not repeat with the note's period, which hides the period.
    double mid = (mLowLeft + mLowRight) * 0.5;
    for (Biquad& section : mAntiAlias)
      mid = section.Process(mid);
    if (++mSinceWrite < mDecimation)
      return;
    mSinceWrite = 0;
    mRing[mWriteIndex] = static_cast<float>(mid);
    mWriteIndex = (mWriteIndex + 1) & kStorageMask;
    if (mFill < kRingSize)
      ++mFill;
    if (++mWritesSinceAnalysis >= kWritesPerAnalysis)
    {
      mWritesSinceAnalysis = 0;
      CloseWindow();
    }
  }

  int Decimation() const { return mDecimation; }
  // Hz, 0 when no pitch was found.
  float Frequency() const { return mFrequency; }
  // 0 ... 1.
  float Confidence() const { return mConfidence; }

private:
  // The ring holds two windows, so a closed window survives while its steps run.
  static constexpr int kStorage = 2 * kRingSize;
  static constexpr int kStorageMask = kStorage - 1;
  enum Step
  {
    kIdle = -1,
    kPeriodTransform,
    kPeriodSearch,
    kSpectrumRefine,
  };
  static constexpr int kStepSamples[3] = {256, 768, 1280};

  static double Flush(double v) { return (v < 1e-25 && v > -1e-25) ? 0.0 : v; }
  // The window's sample i, 0 oldest.
  float Window(int i) const { return mRing[(mWindowStart + i) & kStorageMask]; }
  void CloseWindow();
  void RunStep();
  // Each step returns whether the analysis goes on; otherwise the reading is set.
  bool TransformPeriodWindow();
  bool SearchPeriod();
  void Publish(double frequency, double confidence);
  double RefineOnSpectrum(double coarseHz);

  const Fft4096& mFft;
  double mSampleRate = 48000.0;
  double mLowPole = 0.0;
  int mDecimation = 4;

  double mLowLeft = 0.0;
  double mLowRight = 0.0;
  Biquad mAntiAlias[2];
  int mSinceWrite = 0;
  float mRing[kStorage];
  int mWriteIndex = 0;
  int mFill = 0;
  int mWritesSinceAnalysis = 0;

  // The analysis in progress: its window, step and the results of the earlier steps.
  int mStep = kIdle;
  int mSinceWindow = 0;
  int mWindowStart = 0;
  double mEnergy = 0.0;
  double mCoarseHz = 0.0;
  double mClarity = 0.0;

  float mFrequency = 0.0f;
  float mConfidence = 0.0f;

  double mWindow[kRingSize];
  FftComplex mWork[kRingSize];
};
