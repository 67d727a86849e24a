#include "tools/render/ChannelMeter.h"

#include <algorithm>
#include <cmath>

namespace {

const double kPi = 3.14159265358979323846;
const size_t kSize = Fft4096::kSize;

} // namespace

ChannelMeter::ChannelMeter(double sampleRate)
  : mSampleRate(sampleRate)
  , mHistory(kSize, 0.0f)
  , mWindow(kSize)
  , mPower(kSize / 2 + 1, 0.0)
  , mWork(kSize)
  , mFft(std::make_unique<Fft4096>())
{
  for (size_t i = 0; i < kSize; ++i)
    mWindow[i] = 0.5 - 0.5 * std::cos(2.0 * kPi * static_cast<double>(i) / (kSize - 1));
}

void ChannelMeter::Add(const float* samples, size_t count)
{
  for (size_t n = 0; n < count; ++n)
  {
    const float s = samples[n];
    if (std::isfinite(s))
    {
      ++mFinite;
      mStats.peak = std::max(mStats.peak, static_cast<double>(std::fabs(s)));
      mSum += s;
      mSquares += static_cast<double>(s) * s;
    }
    else
    {
      ++mStats.nonFinite;
    }
    mHistory[mSeen % kSize] = s;
    ++mSeen;
    if (mSeen >= kSize && (mSeen - kSize) % (kSize / 2) == 0)
      AddFrame();
  }
}

void ChannelMeter::AddFrame()
{
  for (size_t i = 0; i < kSize; ++i)
  {
    const float s = mHistory[(mSeen + i) % kSize];
    mWork[i] = {std::isfinite(s) ? mWindow[i] * s : 0.0, 0.0};
  }
  mFft->Transform(mWork.data(), false);
  for (size_t k = 0; k <= kSize / 2; ++k)
    mPower[k] += mWork[k].re * mWork[k].re + mWork[k].im * mWork[k].im;
}

ChannelStats ChannelMeter::Result() const
{
  ChannelStats stats = mStats;
  if (mFinite > 0)
  {
    stats.dc = mSum / static_cast<double>(mFinite);
    stats.rms = std::sqrt(mSquares / static_cast<double>(mFinite));
  }
  double total = 0.0, high = 0.0;
  for (size_t k = 1; k <= kSize / 2; ++k)
  {
    total += mPower[k];
    if (static_cast<double>(k) * mSampleRate / kSize >= 1000.0)
      high += mPower[k];
  }
  stats.highShare = total > 0.0 ? high / total : 0.0;
  return stats;
}

ChannelStats MeasureChannel(const std::vector<float>& samples, double sampleRate)
{
  ChannelMeter meter(sampleRate);
  meter.Add(samples.data(), samples.size());
  return meter.Result();
}
