#include "product/core/PitchTuner.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>

namespace
{
constexpr double kPi = 3.14159265358979323846;

struct Tuner
{
  explicit Tuner(double rate)
    : fft(std::make_unique<Fft4096>())
    , tuner(std::make_unique<PitchTuner>(*fft))
    , rate(rate)
  {
    tuner->Prepare(rate);
    tuner->Reset();
  }

  // Feeds a steady signal long enough for the ring to fill and one more analysis to run.
  template <typename Signal>
  void Settle(Signal signal)
  {
    const long n = static_cast<long>(PitchTuner::kRingSize + 2 * PitchTuner::kWritesPerAnalysis) * tuner->Decimation();
    for (long i = 0; i < n; ++i)
    {
      const double x = signal(i);
      tuner->Feed(x, x);
    }
  }

  void SettleSine(double hz, double amplitude = 0.5, double offset = 0.0)
  {
    Settle([&](long i) { return offset + amplitude * std::sin(2.0 * kPi * hz * i / rate + 0.7); });
  }

  double Cents(double hz) const { return 1200.0 * std::log2(tuner->Frequency() / hz); }

  std::unique_ptr<Fft4096> fft;
  std::unique_ptr<PitchTuner> tuner;
  double rate;
};

// Notes from the bass's low E up to the 24th fret of the guitar's high E string.
const double kNotes[] = {41.203, 55.0, 73.416, 82.407, 110.0, 146.83, 196.0, 246.94,
                         329.63, 440.0, 587.33, 659.26, 880.0, 987.77, 1174.7, 1318.5};
} // namespace

TEST(PitchTuner, SinesAcrossGuitarAndBassReadWithinOneCent)
{
  for (double rate : {44100.0, 48000.0, 96000.0})
    for (double hz : kNotes)
    {
      Tuner t(rate);
      t.SettleSine(hz);
      ASSERT_GT(t.tuner->Frequency(), 0.0f) << rate << " " << hz;
      EXPECT_NEAR(t.Cents(hz), 0.0, 1.0) << rate << " " << hz << " read " << t.tuner->Frequency();
      EXPECT_GT(t.tuner->Confidence(), 0.95f) << rate << " " << hz;
    }
}

TEST(PitchTuner, RichToneWithOffsetReadsItsFundamental)
{
  // A sawtooth-like tone with a DC offset: the harmonics must not pull it up an octave
  // nor the offset hide it. On the highest notes the upper harmonics lie above half the
  // decimated rate and must not fold back into tones that hide the period.
  for (double rate : {44100.0, 48000.0, 96000.0})
    for (double hz : {82.407, 196.0, 659.26, 1046.5, 1174.7, 1318.5})
    {
      Tuner t(rate);
      t.Settle([&](long i) {
        double x = 0.05 + 0.15 * std::sin(2.0 * kPi * hz * i / rate);
        for (int h = 2; h <= 8; ++h)
          x += 0.25 / h * std::sin(2.0 * kPi * h * hz * i / rate + h);
        return x;
      });
      ASSERT_GT(t.tuner->Frequency(), 0.0f) << rate << " " << hz;
      EXPECT_NEAR(t.Cents(hz), 0.0, 1.0) << rate << " " << hz;
    }
}

TEST(PitchTuner, SilenceAndTonesOutsideTheRangeGiveNothing)
{
  Tuner silent(48000.0);
  silent.Settle([](long) { return 0.0; });
  EXPECT_EQ(silent.tuner->Frequency(), 0.0f);
  EXPECT_EQ(silent.tuner->Confidence(), 0.0f);

  Tuner whisper(48000.0);
  whisper.SettleSine(220.0, 1e-4);
  EXPECT_EQ(whisper.tuner->Frequency(), 0.0f);

  // Below the range the period is longer than the longest lag; above it the period is
  // found below the shortest lag instead of reading a subharmonic.
  for (double rate : {44100.0, 48000.0, 96000.0})
    for (double hz : {20.0, 30.0, 1800.0, 2500.0, 4000.0})
    {
      Tuner outside(rate);
      outside.SettleSine(hz);
      EXPECT_EQ(outside.tuner->Frequency(), 0.0f) << rate << " " << hz;
    }
}

TEST(PitchTuner, NothingBeforeTheRingIsFullAndResetForgets)
{
  Tuner t(48000.0);
  // Three analyses' worth of writes leave the ring a quarter short.
  for (long i = 0; i < 3L * PitchTuner::kWritesPerAnalysis * t.tuner->Decimation(); ++i)
  {
    const double x = 0.5 * std::sin(2.0 * kPi * 220.0 * i / 48000.0);
    t.tuner->Feed(x, x);
  }
  EXPECT_EQ(t.tuner->Frequency(), 0.0f);
  t.SettleSine(220.0);
  EXPECT_NEAR(t.Cents(220.0), 0.0, 1.0);
  t.tuner->Reset();
  EXPECT_EQ(t.tuner->Frequency(), 0.0f);
}
