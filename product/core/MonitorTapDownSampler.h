#pragma once

#include "product/core/HalfBandFilter.h"

#include <cstdint>

// The down-sampler of a tap that only the monitor hears (the pedal and the preamp tap).
// While the monitor does not select the tap its filters stand still and only the last 64
// frames of input are kept; selecting it replays them through cleared filters, which
// leaves every history holding exactly what a down-sampler run all along would hold (each
// of its outputs depends only on the last 65 inputs of each stage), so the tap is heard
// bit for bit as if it had never stopped.
class MonitorTapDownSampler
{
public:
  static constexpr int kKeptFrames = 64;

  void Design()
  {
    mPair.Design();
    Clear();
  }

  void Clear()
  {
    mPair.Clear();
    for (auto& frame : mKept)
      for (auto& channel : frame)
        for (double& sample : channel)
          sample = 0.0;
    mNewest = 0;
    mRunning = false;
  }

  // One base-rate frame of four 4x samples per channel. With `needed` the tap's base-rate
  // sample is written to out; otherwise out is left alone.
  void Process(const double in[2][4], bool needed, double out[2])
  {
    mNewest = (mNewest + 1) % kKeptFrames;
    for (int ch = 0; ch < 2; ++ch)
      for (int i = 0; i < 4; ++i)
        mKept[mNewest][ch][i] = in[ch][i];
    if (!needed)
    {
      mRunning = false;
      return;
    }
    if (!mRunning)
      Replay();
    mRunning = true;
    DownSampleStereo(mPair, in, out);
  }

private:
  // Runs the kept frames before the newest one through cleared filters.
  void Replay()
  {
    mPair.Clear();
    double discarded[2];
    for (int age = kKeptFrames - 1; age >= 1; --age)
      DownSampleStereo(mPair, mKept[(mNewest + kKeptFrames - age) % kKeptFrames], discarded);
  }

  StereoHalfBandPair mPair;
  double mKept[kKeptFrames][2][4] = {};
  int32_t mNewest = 0;
  bool mRunning = false;
};
