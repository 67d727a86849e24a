#pragma once

#include "product/core/DisplaySnapshot.h"
#include "product/core/Fft4096.h"

// The input and output spectra of the signal display: the raw input pair and the output
// pair are kept in 4096-sample rings, and every 512 samples each pair is Hann-windowed,
// transformed and summed in power, then mapped onto 256 log-spaced display bins from
// 20 Hz up and smoothed against the previous reading in dB. The input pair is transformed
// and its spectrum updated when its window closes, the output pair 128 samples later from
// the same closed window (the rings keep two windows), so no audio block of 128 samples or
// fewer carries both transforms.
class SpectrumAnalyzer
{
public:
  static constexpr int kRingSize = Fft4096::kSize;
  static constexpr int kHop = 512;
  static constexpr int kPowerBins = kRingSize / 2 + 1;

  explicit SpectrumAnalyzer(const Fft4096& fft);

  // Builds the window and the display-bin map for the rate.
  void Prepare(double sampleRate);
  // Clears the rings and sets both spectra to -120 dB.
  void Reset();
  // speedChoice 0 is fast, 1 medium, anything else slow.
  void Configure(bool enabled, int speedChoice);

  void Feed(float rawLeft, float rawRight, float outLeft, float outRight)
  {
    mRings[0][mWriteIndex] = rawLeft;
    mRings[1][mWriteIndex] = rawRight;
    mRings[2][mWriteIndex] = outLeft;
    mRings[3][mWriteIndex] = outRight;
    mWriteIndex = (mWriteIndex + 1) & kStorageMask;
    ++mSinceAnalysis;
    if (mSinceAnalysis == kOutputDelay && mOutputPending)
      AnalyseOutput();
    if (mSinceAnalysis >= kHop)
    {
      mSinceAnalysis = 0;
      AnalyseInput();
    }
  }

  // Samples since the last window closed (0 ... kHop - 1).
  int SinceWindow() const { return mSinceAnalysis; }

  const float* InputSpectrum() const { return mInputDb; }
  const float* OutputSpectrum() const { return mOutputDb; }
  double SmoothingPole() const { return mSmoothingPole; }

private:
  struct DisplayBin
  {
    int lo;
    int hi;
    bool narrow; // narrower than one FFT bin: interpolated instead of the band maximum
    int interpIndex;
    double interpFraction;
  };

  static constexpr int kStorage = 2 * kRingSize;
  static constexpr int kStorageMask = kStorage - 1;
  static constexpr int kOutputDelay = 128;

  void AnalyseInput();
  void AnalyseOutput();
  void PairPower(const float* left, const float* right, double* power);
  void UpdateDisplay(const double* power, double* linear, float* displayDb) const;
  void SetSilent();

  const Fft4096& mFft;
  double mSampleRate = 48000.0;
  bool mEnabled = true;
  int mSpeedChoice = 1;
  double mSmoothingPole = 0.0;

  float mRings[4][kStorage];
  int mWriteIndex = 0;
  int mSinceAnalysis = 0;
  // The oldest sample of the closed window whose output pair is still to be transformed.
  int mWindowStart = 0;
  bool mOutputPending = false;

  float mWindow[kRingSize];
  double mWindowSum = 0.0;
  DisplayBin mBins[kDisplayPoints];
  // Power bins 0 ... mUsedPowerBins - 1 are all the display bins read.
  int mUsedPowerBins = kPowerBins;

  FftComplex mWork[kRingSize];
  // The power spectrum of the pair being analysed.
  double mPower[kPowerBins];
  float mInputDb[kDisplayPoints];
  float mOutputDb[kDisplayPoints];
  double mInputLinear[kDisplayPoints];
  double mOutputLinear[kDisplayPoints];
};
