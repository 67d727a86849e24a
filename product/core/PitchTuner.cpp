#include "product/core/PitchTuner.h"

#include <algorithm>
#include <cmath>

namespace
{
constexpr double kTwoPi = 6.283185307179586476925286766559;
// How far the spectral refinement may move the period estimate (about half a semitone).
constexpr double kRefineTolerance = 0.03;
// A fundamental more than 26 dB below the strongest partial does not count as one.
constexpr double kFundamentalFloor = 0.05;
constexpr double kAntiAliasHz = 3600.0;
}

PitchTuner::PitchTuner(const Fft4096& fft)
  : mFft(fft)
{
  for (int i = 0; i < kRingSize; ++i)
    mWindow[i] = 0.5 - 0.5 * std::cos(kTwoPi * i / kRingSize);
  Prepare(48000.0);
  Reset();
}

void PitchTuner::Prepare(double sampleRate)
{
  mSampleRate = sampleRate;
  mLowPole = std::exp(-kTwoPi * 2400.0 / sampleRate);
  mDecimation = std::max(1, static_cast<int>(std::round(sampleRate / 12000.0)));
  // Fourth-order Butterworth well below the decimated Nyquist (about 5.5 to 6 kHz).
  const double cutoff = std::min(kAntiAliasHz, 0.33 * sampleRate / mDecimation);
  DesignBiquad(mAntiAlias[0], BiquadType::LowPass, cutoff, 0.5412, 0.0, sampleRate);
  DesignBiquad(mAntiAlias[1], BiquadType::LowPass, cutoff, 1.3066, 0.0, sampleRate);
}

void PitchTuner::Reset()
{
  mLowLeft = mLowRight = 0.0;
  for (Biquad& section : mAntiAlias)
    section.ClearState();
  mSinceWrite = 0;
  std::fill(mRing, mRing + kStorage, 0.0f);
  mWriteIndex = 0;
  mFill = 0;
  mWritesSinceAnalysis = 0;
  mStep = kIdle;
  mFrequency = 0.0f;
  mConfidence = 0.0f;
}

void PitchTuner::CloseWindow()
{
  mWindowStart = (mWriteIndex - kRingSize) & kStorageMask;
  mSinceWindow = 0;
  mStep = kPeriodTransform;
}

void PitchTuner::RunStep()
{
  const Step step = static_cast<Step>(mStep);
  mStep = kIdle;
  if (step == kPeriodTransform && TransformPeriodWindow())
    mStep = kPeriodSearch;
  else if (step == kPeriodSearch && SearchPeriod())
    mStep = kSpectrumRefine;
  else if (step == kSpectrumRefine)
  {
    const double frequency = RefineOnSpectrum(mCoarseHz);
    if (frequency >= kLowestHz && frequency <= kHighestHz)
      Publish(frequency, std::clamp(mClarity, 0.0, 1.0));
    else
      Publish(0.0, 0.0);
  }
}

void PitchTuner::Publish(double frequency, double confidence)
{
  mFrequency = static_cast<float>(frequency);
  mConfidence = static_cast<float>(confidence);
}

bool PitchTuner::TransformPeriodWindow()
{
  if (mFill < kRingSize)
  {
    Publish(0.0, 0.0);
    return false;
  }
  // The newest half of the window without its mean (a DC offset would keep the
  // autocorrelation from ever falling to zero), zero-padded to the transform length.
  double mean = 0.0;
  for (int i = 0; i < kAnalysisLength; ++i)
    mean += Window(kAnalysisLength + i);
  mean /= kAnalysisLength;
  double energy = 0.0;
  for (int i = 0; i < kRingSize; ++i)
  {
    FftComplex& slot = mWork[mFft.BitReversed(i)];
    slot = FftComplex();
    if (i < kAnalysisLength)
    {
      const double x = Window(kAnalysisLength + i) - mean;
      slot.re = x;
      energy += x * x;
    }
  }
  if (energy / kAnalysisLength < 1e-7)
  {
    Publish(0.0, 0.0);
    return false;
  }
  mEnergy = energy;
  mFft.TransformBitReversed(mWork, false);
  return true;
}

bool PitchTuner::SearchPeriod()
{
  const double energy = mEnergy;
  // The squared magnitudes go straight to their bit-reversed places.
  for (int i = 0; i < kRingSize; ++i)
  {
    const int j = mFft.BitReversed(i);
    if (j < i)
      continue;
    const double atI = mWork[i].re * mWork[i].re + mWork[i].im * mWork[i].im;
    const double atJ = mWork[j].re * mWork[j].re + mWork[j].im * mWork[j].im;
    mWork[i] = {atJ, 0.0};
    mWork[j] = {atI, 0.0};
  }
  mFft.TransformBitReversed(mWork, true);
  auto r = [this](int k) { return mWork[k].re; };
  auto isPeak = [&](int k) { return r(k) > r(k - 1) && r(k) >= r(k + 1); };
  // Where the parabola through three lags puts the top of a peak, within half a lag.
  auto peakOffset = [&](int k) {
    const double den = r(k - 1) - 2.0 * r(k) + r(k + 1);
    const double delta = den != 0.0 ? 0.5 * (r(k - 1) - r(k + 1)) / den : 0.0;
    return std::clamp(delta, -0.5, 0.5);
  };
  // The peak's height scaled by the overlap at its lag. Taken at the interpolated top,
  // so a period of a few samples is not judged by a lag that misses its peak.
  auto clarity = [&](int k) {
    const double delta = peakOffset(k);
    const double top = r(k) - 0.25 * (r(k - 1) - r(k + 1)) * delta;
    return top / ((1.0 - (k + delta) / kAnalysisLength) * energy);
  };

  const double decimatedRate = mSampleRate / mDecimation;
  int lagLow = static_cast<int>(decimatedRate / kHighestHz);
  if (lagLow < 3)
    lagLow = 2;
  const int lagHigh = std::min(static_cast<int>(decimatedRate / kLowestHz), kAnalysisLength - 1);

  // Until the autocorrelation first falls to zero it is still the slope of the peak at
  // lag 0; ripples of noise there would pass for very short, very clear periods.
  int firstZero = 1;
  while (firstZero < lagHigh && r(firstZero) > 0.0)
    ++firstZero;
  const int shortestLag = std::max(2, firstZero);
  lagLow = std::max(lagLow, firstZero);

  int best = -1;
  double bestClarity = 0.0;
  for (int k = lagLow; k < lagHigh; ++k)
    if (isPeak(k) && (best < 0 || clarity(k) > bestClarity))
    {
      best = k;
      bestClarity = clarity(k);
    }
  if (best < 0 || bestClarity < kMinimumClarity)
  {
    Publish(0.0, 0.0);
    return false;
  }

  // A shorter period nearly as clear as the best one is the true pitch; the longer one
  // is a multiple of it. The search reaches below the range so that a tone above it
  // is recognised (and dropped) rather than read as its own subharmonic.
  int chosen = best;
  for (int k = shortestLag; k < best; ++k)
    if (isPeak(k) && clarity(k) >= 0.94 * bestClarity && clarity(k) > kMinimumClarity)
    {
      chosen = k;
      break;
    }
  mCoarseHz = decimatedRate / (chosen + peakOffset(chosen));
  mClarity = bestClarity;
  return true;
}

// The parabola through three lags is biased by up to several cents on a period of a few
// samples or of a few hundred. The Hann-windowed spectrum of the whole ring locates the
// fundamental's peak far more precisely: for a tone between bins k and k + 1 the
// magnitude ratio a = |X[k+1]| / |X[k]| gives the offset (2a - 1) / (a + 1) exactly. The
// refined value is used only when it stays near the coarse estimate; 0 when the spectrum
// shows no fundamental there.
double PitchTuner::RefineOnSpectrum(double coarseHz)
{
  const double decimatedRate = mSampleRate / mDecimation;
  for (int i = 0; i < kRingSize; ++i)
  {
    FftComplex& slot = mWork[mFft.BitReversed(i)];
    slot.re = Window(i) * mWindow[i];
    slot.im = 0.0;
  }
  mFft.TransformBitReversed(mWork, false);
  const int lastBin = kRingSize / 2 - 1;
  double strongest = 0.0;
  for (int k = 1; k <= lastBin; ++k)
  {
    mWork[k].re = std::sqrt(mWork[k].re * mWork[k].re + mWork[k].im * mWork[k].im);
    strongest = std::max(strongest, mWork[k].re);
  }
  auto magnitude = [this](int k) { return mWork[k].re; };

  const double coarseBin = coarseHz * kRingSize / decimatedRate;
  const int from = std::max(2, static_cast<int>(std::floor(coarseBin * (1.0 - kRefineTolerance))) - 1);
  const int to = std::min(lastBin - 1, static_cast<int>(std::ceil(coarseBin * (1.0 + kRefineTolerance))) + 1);
  int peak = -1;
  for (int k = from; k <= to; ++k)
    if (magnitude(k) >= magnitude(k - 1) && magnitude(k) >= magnitude(k + 1) &&
        (peak < 0 || magnitude(k) > magnitude(peak)))
      peak = k;
  // No fundamental where the period says: the period belongs to a tone above the range
  // seen through its subharmonic, not to a note.
  if (peak < 0 || magnitude(peak) < kFundamentalFloor * strongest)
    return 0.0;

  const bool upper = magnitude(peak + 1) >= magnitude(peak - 1);
  const double ratio = (upper ? magnitude(peak + 1) : magnitude(peak - 1)) / magnitude(peak);
  const double offset = (2.0 * ratio - 1.0) / (ratio + 1.0);
  const double refinedHz = (peak + (upper ? offset : -offset)) * decimatedRate / kRingSize;
  return std::abs(refinedHz / coarseHz - 1.0) < kRefineTolerance ? refinedHz : coarseHz;
}
