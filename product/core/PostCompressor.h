#pragma once

// The post compressor: a peak envelope (5 ms attack, 120 ms release) over both channels;
// above -18 dBFS the level is reduced by up to 66 % of the excess, scaled by the amount.
class PostCompressor
{
public:
  void Prepare(double rate);
  void Reset();

  // Returns the gain for both channels; exactly 1 when the amount is 0 or the envelope
  // is below the threshold.
  double Process(double left, double right, double amountPercent);

  double Envelope() const { return mEnvelope; }
  // 0 or negative; published as the compressor meter.
  double ReductionDb() const { return mReductionDb; }

private:
  double mAttackPole = 0.0;
  double mReleasePole = 0.0;
  double mEnvelope = 0.0;
  double mReductionDb = 0.0;
};
