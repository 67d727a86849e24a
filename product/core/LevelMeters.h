#pragma once

// Running loudness and stereo correlation of the raw input and the output: mean squares
// averaged with a one-pole of about 30 ms.
class LevelMeters
{
public:
  void Prepare(double sampleRate);
  void Reset();

  void Feed(double rawLeft, double rawRight, double outLeft, double outRight)
  {
    mInputSquare = Average(mInputSquare, 0.5 * (rawLeft * rawLeft + rawRight * rawRight));
    mOutputSquare = Average(mOutputSquare, 0.5 * (outLeft * outLeft + outRight * outRight));
    mLeftSquare = Average(mLeftSquare, outLeft * outLeft);
    mRightSquare = Average(mRightSquare, outRight * outRight);
    mLeftRight = Average(mLeftRight, outLeft * outRight);
  }

  double Pole() const { return mPole; }
  double InputRmsDb() const;
  double OutputRmsDb() const;
  // -1 ... 1; 0 when either side is silent.
  double Correlation() const;
  bool SignalPresent() const { return mInputSquare > 1e-12 || mOutputSquare > 1e-12; }

private:
  double Average(double previous, double value) const
  {
    const double next = mPole * previous + (1.0 - mPole) * value;
    return (next < 1e-25 && next > -1e-25) ? 0.0 : next;
  }

  double mPole = 0.0;
  double mInputSquare = 0.0;
  double mOutputSquare = 0.0;
  double mLeftSquare = 0.0;
  double mRightSquare = 0.0;
  double mLeftRight = 0.0;
};
