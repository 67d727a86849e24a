#pragma once

#include "product/core/HouseholderReverb.h"
#include "product/core/PingPongDelay.h"
#include "product/core/PostCompressor.h"
#include "product/core/StereoChorus.h"

// The stereo section after the equaliser, in chain order: chorus, echo, reverb, stereo
// width and the post compressor, whose gain the engine applies to both channels.
struct StereoEffectSwitches
{
  double chorus = 0.0;
  double delay = 0.0;
  double reverb = 0.0;
  double pingPong = 1.0;
};

class StereoEffects
{
public:
  // Sizes every line (allocates: only while preparing), then Reset.
  void Prepare(double rate);
  void Free();
  void Reset();
  // The coefficient update (every 16 samples): echo tone and reverb lines.
  void Design(const float* params);

  // params are the engine's smoothed values; returns the compressor gain.
  double Process(double& left, double& right, const float* params, const StereoEffectSwitches& switches);

  double CompressorReductionDb() const { return mCompressor.ReductionDb(); }

  StereoChorus& Chorus() { return mChorus; }
  PingPongDelay& Delay() { return mDelay; }
  HouseholderReverb& Reverb() { return mReverb; }
  PostCompressor& Compressor() { return mCompressor; }

private:
  StereoChorus mChorus;
  PingPongDelay mDelay;
  HouseholderReverb mReverb;
  PostCompressor mCompressor;
};
