#include "product/core/SpectrumAnalyzer.h"

#include <algorithm>
#include <cmath>

namespace
{
constexpr double kTwoPi = 6.283185307179586476925286766559;
}

SpectrumAnalyzer::SpectrumAnalyzer(const Fft4096& fft)
  : mFft(fft)
{
  Prepare(48000.0);
  Configure(true, 1);
  Reset();
}

void SpectrumAnalyzer::Prepare(double sampleRate)
{
  mSampleRate = sampleRate;
  mWindowSum = 0.0;
  for (int i = 0; i < kRingSize; ++i)
  {
    mWindow[i] = static_cast<float>(0.5 - 0.5 * std::cos(kTwoPi * i / (kRingSize - 1)));
    mWindowSum += mWindow[i];
  }

  const double binsPerHz = kRingSize / sampleRate;
  const double top = std::min(0.49 * sampleRate, 20000.0);
  const double ratio = top / 20.0;
  const double halfStep = std::pow(ratio, 1.0 / 510.0);
  mUsedPowerBins = 0;
  for (int a = 0; a < kDisplayPoints; ++a)
  {
    DisplayBin& bin = mBins[a];
    const double centre = 20.0 * std::pow(ratio, a / 255.0);
    const double lower = centre / halfStep;
    const double upper = centre * halfStep;
    bin.lo = std::clamp(static_cast<int>(std::ceil(lower * binsPerHz)), 1, kPowerBins - 1);
    bin.hi = std::max(std::min(static_cast<int>(std::floor(upper * binsPerHz)), kPowerBins - 1), bin.lo);
    bin.narrow = (upper - lower) * binsPerHz < 1.0;
    const double v = std::clamp(centre * binsPerHz, 1.0, static_cast<double>(kPowerBins - 2));
    bin.interpIndex = static_cast<int>(v);
    bin.interpFraction = v - bin.interpIndex;
    mUsedPowerBins = std::max(mUsedPowerBins, 1 + (bin.narrow ? bin.interpIndex + 1 : bin.hi));
  }
  Configure(mEnabled, mSpeedChoice);
}

void SpectrumAnalyzer::Reset()
{
  for (auto& ring : mRings)
    std::fill(ring, ring + kStorage, 0.0f);
  mWriteIndex = 0;
  mSinceAnalysis = 0;
  mOutputPending = false;
  SetSilent();
}

void SpectrumAnalyzer::SetSilent()
{
  std::fill(mInputDb, mInputDb + kDisplayPoints, -120.0f);
  std::fill(mOutputDb, mOutputDb + kDisplayPoints, -120.0f);
  std::fill(mInputLinear, mInputLinear + kDisplayPoints, 1e-6);
  std::fill(mOutputLinear, mOutputLinear + kDisplayPoints, 1e-6);
}

void SpectrumAnalyzer::Configure(bool enabled, int speedChoice)
{
  // Switched off, the spectra fall silent at once rather than at the next analysis.
  if (mEnabled && !enabled)
  {
    mOutputPending = false;
    SetSilent();
  }
  mEnabled = enabled;
  mSpeedChoice = speedChoice;
  const double seconds = speedChoice == 0 ? 0.03 : speedChoice == 1 ? 0.15 : 0.6;
  mSmoothingPole = std::exp(-kHop / (mSampleRate * seconds));
}

void SpectrumAnalyzer::AnalyseInput()
{
  mOutputPending = false;
  if (!mEnabled)
  {
    SetSilent();
    return;
  }
  mWindowStart = (mWriteIndex - kRingSize) & kStorageMask;
  // Each analysis measures only the current window.
  PairPower(mRings[0], mRings[1], mPower);
  UpdateDisplay(mPower, mInputLinear, mInputDb);
  mOutputPending = true;
}

void SpectrumAnalyzer::AnalyseOutput()
{
  mOutputPending = false;
  PairPower(mRings[2], mRings[3], mPower);
  UpdateDisplay(mPower, mOutputLinear, mOutputDb);
}

// Both channels of a pair go through one complex transform (left real, right imaginary);
// for X = FFT(l + i r) the summed channel powers are |L_k|^2 + |R_k|^2 =
// (|X_k|^2 + |X_{N-k}|^2) / 2, the same as two separate transforms would give. Only the
// bins that some display bin reads are found (at 192 kHz the display ends at a fifth of
// the transform's bins).
void SpectrumAnalyzer::PairPower(const float* left, const float* right, double* power)
{
  for (int i = 0, ring = mWindowStart; i < kRingSize; ++i, ring = (ring + 1) & kStorageMask)
  {
    FftComplex& slot = mWork[mFft.BitReversed(i)];
    slot.re = static_cast<double>(left[ring]) * mWindow[i];
    slot.im = static_cast<double>(right[ring]) * mWindow[i];
  }
  mFft.TransformBitReversed(mWork, false);
  for (int k = 0; k < mUsedPowerBins; ++k)
  {
    const FftComplex& a = mWork[k];
    const FftComplex& b = mWork[(kRingSize - k) & (kRingSize - 1)];
    power[k] = 0.25 * (a.re * a.re + a.im * a.im + b.re * b.re + b.im * b.im);
  }
}

void SpectrumAnalyzer::UpdateDisplay(const double* power, double* linear, float* displayDb) const
{
  const double s = mSmoothingPole;
  for (int a = 0; a < kDisplayPoints; ++a)
  {
    const DisplayBin& bin = mBins[a];
    double p;
    if (bin.narrow)
    {
      const double f = bin.interpFraction;
      p = (1.0 - f) * power[bin.interpIndex] + f * power[bin.interpIndex + 1];
    }
    else
    {
      p = power[bin.lo];
      for (int k = bin.lo + 1; k <= bin.hi; ++k)
        p = std::max(p, power[k]);
    }
    const double magnitude = 2.0 * std::sqrt(p) / mWindowSum;
    // The previous reading is kept linear (floored like the dB value) to spare a power
    // per bin; it equals 10^(dB / 20) of the stored reading up to float rounding.
    const double smoothed = std::abs(linear[a] * s + magnitude * (1.0 - s));
    linear[a] = std::max(smoothed, 1e-6);
    displayDb[a] = static_cast<float>(20.0 * std::log10(linear[a]));
  }
}
