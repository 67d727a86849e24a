#pragma once

// The noise gate ahead of the drive stages: a peak envelope with attack and release, a
// hold time, and a gain in dB that glides toward its open (0 dB) or closed (-range) target.
class NoiseGate
{
public:
  NoiseGate();

  void SetCoefficients(double attackMs, double releaseMs, double holdMs, double sampleRate);
  // Zeroes the envelope and hold counter and sets the gain in dB.
  void Reset(double gainDb);

  // One sample: detector level in, linear gain out.
  double Process(double detector, double thresholdDb, bool enabled, double rangeDb);

  double GainDb() const { return mGainDb; }
  double Envelope() const { return mEnvelope; }

private:
  double mEnvelope = 0.0;
  double mGainDb = 0.0;
  double mHoldCounter = 0.0;
  double mAttackPole = 0.0;
  double mReleasePole = 0.0;
  double mHoldLength = 0.0;
  // The linear gain of mGainDb, recomputed only when the dB value moves.
  double mCachedDb = 0.0;
  double mCachedGain = 1.0;
  // The level reading, rounded to float, is above the threshold exactly for envelopes from
  // mOpenEnvelope up (the reading only grows with the envelope), so the per-sample test
  // compares linear values; found again only when the threshold moves.
  double mThresholdDb = 0.0;
  double mOpenEnvelope = 1.0;

  void FindOpenEnvelope(double thresholdDb);
};
