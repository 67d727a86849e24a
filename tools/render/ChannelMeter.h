#pragma once

#include "product/core/Fft4096.h"

#include <cstddef>
#include <memory>
#include <vector>

// Level and spectrum figures of one channel of audio.
struct ChannelStats
{
  double peak = 0.0;
  double rms = 0.0;
  double dc = 0.0;
  size_t nonFinite = 0;
  // Share of the energy above 1 kHz (0 ... 1), from a 4096-point averaged spectrum.
  double highShare = 0.0;
};

// Gathers the figures of one channel a block at a time: peak, RMS and DC of the finite
// samples, and a Hann-windowed power spectrum averaged over 4096-sample frames, half
// overlapped.
class ChannelMeter
{
public:
  explicit ChannelMeter(double sampleRate);
  void Add(const float* samples, size_t count);
  ChannelStats Result() const;

private:
  void AddFrame();

  double mSampleRate;
  ChannelStats mStats;
  double mSum = 0.0;
  double mSquares = 0.0;
  size_t mFinite = 0;
  size_t mSeen = 0;
  std::vector<float> mHistory; // the last 4096 samples, oldest at mSeen % 4096
  std::vector<double> mWindow;
  std::vector<double> mPower;
  std::vector<FftComplex> mWork;
  std::unique_ptr<Fft4096> mFft;
};

ChannelStats MeasureChannel(const std::vector<float>& samples, double sampleRate);
