#include "product/core/HalfBandFilter.h"
#include "product/core/MonitorTapDownSampler.h"

#include <gtest/gtest.h>

#include <cmath>
#include <complex>
#include <vector>

namespace {

const double kPi = 3.14159265358979323846;

// Response of one stage at a frequency given as a fraction of the stage's own rate.
double StageGainDb(const HalfBandFilter& filter, double fraction)
{
  std::complex<double> sum = 0.0;
  for (int n = 0; n < HalfBandFilter::kTaps; ++n)
    sum += filter.taps[n] * std::polar(1.0, -2.0 * kPi * fraction * n);
  return 20.0 * std::log10(std::abs(sum));
}

// Amplitude of the component at `fraction` of the rate in x (single-bin DFT, Hann).
double ToneAmplitude(const std::vector<double>& x, double fraction)
{
  std::complex<double> sum = 0.0;
  double windowSum = 0.0;
  const size_t n = x.size();
  for (size_t i = 0; i < n; ++i)
  {
    const double w = 0.5 - 0.5 * std::cos(2.0 * kPi * i / (n - 1));
    sum += w * x[i] * std::polar(1.0, -2.0 * kPi * fraction * static_cast<double>(i));
    windowSum += w;
  }
  return 2.0 * std::abs(sum) / windowSum;
}

} // namespace

TEST(HalfBand, DesignIsASymmetricHalfBandWithUnitDcGain)
{
  HalfBandFilter f;
  DesignHalfBand(f);
  double sum = 0.0;
  for (int n = 0; n < HalfBandFilter::kTaps; ++n)
  {
    sum += f.taps[n];
    EXPECT_EQ(f.taps[n], f.taps[64 - n]) << n;
    const int i = n - 32;
    if (i != 0 && i % 2 == 0)
    {
      EXPECT_EQ(f.taps[n], 0.0) << n;
    }
    if (n != 32)
    {
      EXPECT_LT(std::fabs(f.taps[n]), f.taps[32]);
    }
  }
  EXPECT_NEAR(sum, 1.0, 1e-15);
  // The centre tap of a normalised half-band is one half.
  EXPECT_NEAR(f.taps[32], 0.5, 1e-3);
  EXPECT_GT(f.taps[31], 0.0);
  EXPECT_LT(f.taps[29], 0.0);
}

TEST(HalfBand, StageResponseFigures)
{
  HalfBandFilter f;
  DesignHalfBand(f);
  // Pass band up to 0.2 of the stage rate (19.2 kHz for the 96 kHz stage at 48 kHz).
  double passWorst = 0.0;
  for (double fr = 0.0; fr <= 0.2; fr += 0.001)
    passWorst = std::max(passWorst, std::fabs(StageGainDb(f, fr)));
  // Stop band from 0.3 of the stage rate up to its Nyquist.
  double stopWorst = -1000.0;
  for (double fr = 0.3; fr <= 0.5; fr += 0.0005)
    stopWorst = std::max(stopWorst, StageGainDb(f, fr));
  std::printf("half-band stage: pass band (0..0.2 fs) ripple %.4f dB, stop band (0.3..0.5 fs) %.1f dB, -6 dB point %.4f dB\n",
              passWorst, stopWorst, StageGainDb(f, 0.25));
  EXPECT_LT(passWorst, 0.01);
  EXPECT_LT(stopWorst, -70.0);
  EXPECT_NEAR(StageGainDb(f, 0.25), -6.02, 0.01);
}

TEST(HalfBand, ConstantSettlesToOneThroughTheRoundTrip)
{
  HalfBandPair up, down;
  up.Design();
  down.Design();
  double y = 0.0;
  for (int n = 0; n < 200; ++n)
  {
    double four[4];
    UpSample(up, 1.0, four);
    // The two polyphase halves of the windowed design differ slightly in gain, so the
    // 4x samples carry a ripple of about 2e-5 at the 2x rate.
    if (n > 40)
    {
      for (double v : four)
        EXPECT_NEAR(v, 1.0, 1e-4);
    }
    y = DownSample(down, four);
  }
  EXPECT_NEAR(y, 1.0, 1e-9);
}

TEST(HalfBand, RoundTripDelaysByFortyEightSamples)
{
  HalfBandPair up, down;
  up.Design();
  down.Design();
  int peakAt = -1;
  double peak = 0.0;
  for (int n = 0; n < 128; ++n)
  {
    double four[4];
    UpSample(up, n == 0 ? 1.0 : 0.0, four);
    const double y = DownSample(down, four);
    if (std::fabs(y) > peak)
    {
      peak = std::fabs(y);
      peakAt = n;
    }
  }
  EXPECT_EQ(peakAt, 48);
}

TEST(HalfBand, ImagesAndAliasesAreSuppressed)
{
  const int frames = 8192;
  // Up-sampling a tone at 0.2 of the base rate leaves its images at 0.8, 1.2 and 1.8
  // (as fractions of the base rate) far below the tone.
  HalfBandPair up;
  up.Design();
  std::vector<double> high;
  for (int n = 0; n < frames; ++n)
  {
    double four[4];
    UpSample(up, std::sin(2.0 * kPi * 0.2 * n), four);
    high.insert(high.end(), four, four + 4);
  }
  high.erase(high.begin(), high.begin() + 512);
  const double tone = ToneAmplitude(high, 0.2 / 4.0);
  const double image1 = ToneAmplitude(high, 0.8 / 4.0);
  const double image2 = ToneAmplitude(high, 1.2 / 4.0);
  const double image3 = ToneAmplitude(high, 1.8 / 4.0);
  const double worstImageDb = 20.0 * std::log10(std::max({image1, image2, image3}) / tone);
  std::printf("up-sampler: tone %.6f, worst image %.1f dB\n", tone, worstImageDb);
  EXPECT_NEAR(tone, 1.0, 1e-3);
  EXPECT_LT(worstImageDb, -70.0);

  // Down-sampling a tone at 0.7 of the base rate (inside the 4x band) must not fold
  // back onto 0.3 of the base rate.
  HalfBandPair down;
  down.Design();
  std::vector<double> low;
  for (int n = 0; n < frames; ++n)
  {
    double four[4];
    for (int k = 0; k < 4; ++k)
      four[k] = std::sin(2.0 * kPi * 0.7 * (4 * n + k) / 4.0);
    low.push_back(DownSample(down, four));
  }
  low.erase(low.begin(), low.begin() + 128);
  const double aliasDb = 20.0 * std::log10(ToneAmplitude(low, 0.3) + 1e-30);
  std::printf("down-sampler: alias of 0.7 fs at 0.3 fs %.1f dB\n", aliasDb);
  EXPECT_LT(aliasDb, -70.0);
}

// The engine runs both channels through the stereo form; it must give exactly what two mono
// filters give, including after Clear and for values of very different size per channel.
TEST(HalfBand, StereoFormMatchesTwoMonoFiltersBitForBit)
{
  HalfBandPair monoUp[2], monoDown[2];
  StereoHalfBandPair up, down;
  for (int ch = 0; ch < 2; ++ch)
  {
    monoUp[ch].Design();
    monoDown[ch].Design();
  }
  up.Design();
  down.Design();
  for (int n = 0; n < 2000; ++n)
  {
    if (n == 700)
    {
      up.Clear();
      down.Clear();
      for (int ch = 0; ch < 2; ++ch)
      {
        monoUp[ch].Clear();
        monoDown[ch].Clear();
      }
    }
    const double x[2] = {std::sin(0.037 * n) * (n % 13 == 0 ? 1e6 : 0.7), std::cos(0.11 * n) * 1e-200};
    double four[2][4];
    UpSampleStereo(up, x, four);
    double bent[2][4];
    for (int ch = 0; ch < 2; ++ch)
    {
      double monoFour[4];
      UpSample(monoUp[ch], x[ch], monoFour);
      for (int i = 0; i < 4; ++i)
      {
        ASSERT_EQ(four[ch][i], monoFour[i]) << "sample " << n;
        bent[ch][i] = std::tanh(3.0 * four[ch][i]);
      }
    }
    double out[2];
    DownSampleStereo(down, bent, out);
    for (int ch = 0; ch < 2; ++ch)
      ASSERT_EQ(out[ch], DownSample(monoDown[ch], bent[ch])) << "sample " << n;
  }
}

// A monitor tap that stops while unheard and is selected again after short and long
// pauses (shorter and longer than its kept input) sounds exactly like one that never
// stopped, from the first frame it is heard.
TEST(HalfBand, MonitorTapIsPrimedBitForBitWhenSelectedAgain)
{
  StereoHalfBandPair always;
  always.Design();
  MonitorTapDownSampler tap;
  tap.Design();
  // Heard for 20 frames, then after pauses of 1, 3, 40 and 300 frames 20 each again.
  std::vector<bool> heard(20, true);
  for (int pause : {1, 3, 40, 300})
  {
    heard.insert(heard.end(), static_cast<size_t>(pause), false);
    heard.insert(heard.end(), 20, true);
  }
  uint32_t noise = 7u;
  int checked = 0;
  for (size_t frame = 0; frame < heard.size(); ++frame)
  {
    double in[2][4];
    for (auto& channel : in)
      for (double& sample : channel)
      {
        noise = noise * 1664525u + 1013904223u;
        sample = (noise >> 8) / 8388608.0 - 1.0;
      }
    double expected[2], got[2] = {-1.0, -1.0};
    DownSampleStereo(always, in, expected);
    tap.Process(in, heard[frame], got);
    if (heard[frame])
    {
      ASSERT_EQ(got[0], expected[0]) << "frame " << frame;
      ASSERT_EQ(got[1], expected[1]) << "frame " << frame;
      ++checked;
    }
    else
    {
      EXPECT_EQ(got[0], -1.0) << "an unheard tap leaves its output alone";
    }
  }
  EXPECT_EQ(checked, 100);
}
