#pragma once

#include "product/core/Biquad.h"
#include "product/core/Fft4096.h"

// Pitch of the raw input for the tuner. The mid of the input is low-passed, decimated to
// about 12 kHz into a 4096-sample ring, and after every 1024 writes the period is found
// from the linear autocorrelation of the newest 2048 samples (zero-padded so the
// transform's wrap-around cannot fold long lags onto short ones). The chosen period is
// then refined on the windowed spectrum of the whole ring.
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
    mWriteIndex = (mWriteIndex + 1) % kRingSize;
    if (mFill < kRingSize)
      ++mFill;
    if (++mWritesSinceAnalysis >= kWritesPerAnalysis)
    {
      mWritesSinceAnalysis = 0;
      RunAnalysis();
    }
  }

  void RunAnalysis();

  int Decimation() const { return mDecimation; }
  // Hz, 0 when no pitch was found.
  float Frequency() const { return mFrequency; }
  // 0 ... 1.
  float Confidence() const { return mConfidence; }

private:
  static double Flush(double v) { return (v < 1e-25 && v > -1e-25) ? 0.0 : v; }
  double RefineOnSpectrum(double coarseHz);

  const Fft4096& mFft;
  double mSampleRate = 48000.0;
  double mLowPole = 0.0;
  int mDecimation = 4;

  double mLowLeft = 0.0;
  double mLowRight = 0.0;
  Biquad mAntiAlias[2];
  int mSinceWrite = 0;
  float mRing[kRingSize];
  int mWriteIndex = 0;
  int mFill = 0;
  int mWritesSinceAnalysis = 0;

  float mFrequency = 0.0f;
  float mConfidence = 0.0f;

  double mWindow[kRingSize];
  FftComplex mWork[kRingSize];
};
