#include "product/core/StereoEffects.h"

#include "product/core/ParamIds.h"
#include "product/core/StereoWidth.h"

void StereoEffects::Prepare(double rate)
{
  mChorus.Prepare(rate);
  mDelay.Prepare(rate);
  mReverb.Prepare(rate);
  mCompressor.Prepare(rate);
  Reset();
}

void StereoEffects::Free()
{
  mChorus.Free();
  mDelay.Free();
  mReverb.Free();
}

void StereoEffects::Reset()
{
  mChorus.Reset();
  mDelay.Reset();
  mReverb.Reset();
  mCompressor.Reset();
}

void StereoEffects::Design(const float* params)
{
  mDelay.SetTone(params[kParamDelayTone]);
  mReverb.Design(params[kParamReverbSize], params[kParamReverbDecay], params[kParamReverbDamping]);
}

double StereoEffects::Process(double& left, double& right, const float* params, const StereoEffectSwitches& switches)
{
  mChorus.Process(left, right, params[kParamChorusRate], params[kParamChorusDepth],
                  params[kParamChorusMix] * switches.chorus * 0.01);
  mDelay.Process(left, right, params[kParamDelayTime], params[kParamDelayFeedback], params[kParamDelayMix],
                 switches.delay, switches.pingPong);
  mReverb.Process(left, right, switches.reverb, params[kParamReverbMix]);
  ApplyStereoWidth(left, right, params[kParamStereoWidth]);
  return mCompressor.Process(left, right, params[kParamPostCompressor]);
}
