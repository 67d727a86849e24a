#include "product/core/AmpEngine.h"

#include "product/core/DspHelpers.h"
#include "product/core/ParamSpecTable.h"

#include <algorithm>
#include <cmath>

namespace {

// A family change that arrives while a crossfade still runs waits until the retiring
// share is below this, so dropping that share cannot click.
const double kFadeNearlyDone = 1.0 - 1e-3;

double SmoothingCoef(double seconds, double sampleRate)
{
  return 1.0 - std::exp(-1.0 / (sampleRate * seconds));
}

float InputSample(const float* const* channels, int channel, int frame)
{
  if (channels == nullptr || channels[channel] == nullptr)
    return 0.0f;
  return channels[channel][frame];
}

} // namespace

const int AmpEngine::kSwitchParams[kSwitchCount] = {
  kParamPedalEnabled, kParamAmpEnabled,    kParamCabEnabled,    kParamEqEnabled,
  kParamChorusEnabled, kParamDelayEnabled, kParamReverbEnabled, kParamDcFilter,
  kParamSafetyClip,   kParamGateDetector,  kParamInputPolarity, kParamDelayPingPong,
};

AmpEngine::AmpEngine()
{
  for (int i = 0; i < kNumParams; ++i)
  {
    mTargets[i] = ParamSpecTable::kDefaults[i];
    mSmoothed[i] = mTargets[i];
    mSmoothedState[i] = mTargets[i];
    mDiscrete[i] = IsDiscreteParam(i);
  }
  for (int s = 0; s < kSwitchCount; ++s)
    mSwitches[s] = ParamSpecTable::kDefaults[kSwitchParams[s]] > 0.5f ? 1.0 : 0.0;
  mRouting.Snap(0);
  mMonitor.Snap(kMonitorOutput);
  mOutputMode.Snap(0);
  mGate.Reset(-70.0);
}

bool AmpEngine::IsSupportedSampleRate(double sampleRate)
{
  return std::isfinite(sampleRate) && sampleRate >= kMinSampleRate && sampleRate <= kMaxSampleRate;
}

bool AmpEngine::Prepare(double sampleRate, int /*maxBlockSize*/)
{
  const bool supported = IsSupportedSampleRate(sampleRate);
  double rate = std::isfinite(sampleRate) ? sampleRate : 48000.0;
  rate = std::min(std::max(rate, kMinSampleRate), kMaxSampleRate);
  mSampleRate = rate;

  mSlowCoef = SmoothingCoef(0.020, rate);
  mSwitchCoef = SmoothingCoef(0.005, rate);
  mBypassCoef = SmoothingCoef(0.003, rate);

  for (int i = 0; i < kNumParams; ++i)
    mDiscrete[i] = IsDiscreteParam(i);

  mUpSampler.Design();
  mPedalDown.Design();
  mPreampDown.Design();
  mPowerDown.Design();
  for (int ch = 0; ch < 2; ++ch)
  {
    mRawAlignment[ch].Resize(kAlignmentLength);
    mAuxAlignment[ch].Resize(kAlignmentLength);
    for (int slot = 0; slot < 2; ++slot)
      mCab[ch][slot].PrepareRoom(rate);
  }
  mEffects.Prepare(rate);
  mDcFilter.Prepare(rate);
  mMeasurements.Prepare(rate);

  mPrepared = true;
  Reset();
  return supported;
}

void AmpEngine::Reset()
{
  for (int ch = 0; ch < 2; ++ch)
  {
    for (int slot = 0; slot < 2; ++slot)
    {
      mPedal[ch][slot].ClearStates();
      mAmp[ch][slot].ClearStates();
      mCab[ch][slot].ClearStates();
    }
    mEq[ch].ClearState();
    mRawAlignment[ch].Clear();
    mAuxAlignment[ch].Clear();
  }
  mUpSampler.Clear();
  mPedalDown.Clear();
  mPreampDown.Clear();
  mPowerDown.Clear();
  mEffects.Reset();
  mDcFilter.Reset();
  mMeasurements.Reset();
  mSampleCounter = 0;
  mClipRatio = 1.0;
  mInputPeak = mWetPeak = mOutputPeak = mOutputLeftPeak = mOutputRightPeak = 0.0;
  mSnapped = false;
  SnapParameters(false);
  PublishSnapshot(false, false);
}

void AmpEngine::SetTargets(const float values[kNumParams])
{
  SanitizeParamValues(mTargets, values);
  mSmoothingActive = true;
}

bool AmpEngine::BypassTarget(bool hostBypass) const
{
  return hostBypass || mSmoothed[kParamBypass] > 0.5f;
}

void AmpEngine::SnapParameters(bool hostBypass)
{
  for (int i = 0; i < kNumParams; ++i)
  {
    mSmoothed[i] = mTargets[i];
    mSmoothedState[i] = mTargets[i];
  }
  mSmoothingActive = false;

  mPedalFamily[kActive] = mPedalFamily[kRetiring] = Choice(kParamPedalType);
  mAmpFamily[kActive] = mAmpFamily[kRetiring] = Choice(kParamAmpType);
  mCabFamily[kActive] = mCabFamily[kRetiring] = Choice(kParamCabType);
  mPedalFade = mAmpFade = mCabFade = 1.0;

  for (int s = 0; s < kSwitchCount; ++s)
    mSwitches[s] = mSmoothed[kSwitchParams[s]] > 0.5f ? 1.0 : 0.0;
  mBypass = BypassTarget(hostBypass) ? 1.0 : 0.0;

  mRouting.Snap(Choice(kParamInputRouting));
  mOutputMode.Snap(Choice(kParamOutputMode));
  mMonitor.Snap(Choice(kParamMonitor));

  // An enabled gate starts closed.
  mGate.Reset(Param(kParamGateEnabled) > 0.5 ? -Param(kParamGateRange) : 0.0);

  mDesignsDirty = true;
  UpdateCoefficients();
}

bool AmpEngine::SmoothParameters()
{
  bool changed = false;
  bool settled = true;
  for (int i = 0; i < kNumParams; ++i)
  {
    const double target = mTargets[i];
    double y = mSmoothedState[i];
    if (y == target)
      continue;
    if (mDiscrete[i])
    {
      y = target;
    }
    else
    {
      const double next = y + (target - y) * mSlowCoef;
      y = std::fabs(target - next) < 1e-9 ? target : next;
      if (y != target)
        settled = false;
    }
    mSmoothedState[i] = y;
    const float rounded = static_cast<float>(y);
    if (rounded != mSmoothed[i])
    {
      mSmoothed[i] = rounded;
      changed = true;
    }
  }
  if (settled)
    mSmoothingActive = false;
  return changed;
}

template <typename Stage, typename HandOver>
void AmpEngine::ChangeFamily(int wanted, int (&families)[2], double& fade, Stage (&stages)[2][2], HandOver handOver)
{
  if (wanted == families[kActive] || fade < kFadeNearlyDone)
    return;
  for (int ch = 0; ch < 2; ++ch)
    handOver(stages[ch][kActive], stages[ch][kRetiring]);
  families[kRetiring] = families[kActive];
  families[kActive] = wanted;
  fade = 0.0;
  mDesignsDirty = true;
}

void AmpEngine::HandleFamilyChange()
{
  const auto copyStage = [](auto& active, auto& retiring) { retiring = active; };
  ChangeFamily(Choice(kParamPedalType), mPedalFamily, mPedalFade, mPedal, copyStage);
  ChangeFamily(Choice(kParamAmpType), mAmpFamily, mAmpFade, mAmp, copyStage);
  ChangeFamily(Choice(kParamCabType), mCabFamily, mCabFade, mCab, HandOverCabSlots);
}

void AmpEngine::UpdateCoefficients()
{
  // Every design below is a function of the smoothed values and the families only, so
  // when neither moved since the last update the coefficients are already right.
  if (!mDesignsDirty)
    return;
  mDesignsDirty = false;

  mInputGain = std::pow(10.0, 0.05 * Param(kParamInput));
  mOutputGain = std::pow(10.0, 0.05 * Param(kParamOutput));
  mSidechainGain = std::pow(10.0, 0.05 * Param(kParamScTrim));
  mCeiling = std::pow(10.0, 0.05 * Param(kParamSafetyCeiling));
  mGate.SetCoefficients(Param(kParamGateAttack), Param(kParamGateRelease), Param(kParamGateHold), mSampleRate);

  // The two channels share each slot's design; the retiring slot matters only while
  // its crossfade runs (a family change hands it the active slot's design).
  const double overRate = 4.0 * mSampleRate;
  for (int slot = 0; slot < 2; ++slot)
  {
    if (slot == kActive || mPedalFade < 1.0)
    {
      // Starting from the slot's last design keeps the poles that only the rate and the
      // family fix.
      PedalDesign design = mPedal[0][slot].design;
      DesignPedal(design, mSmoothed, overRate, mPedalFamily[slot]);
      mPedal[0][slot].design = design;
      mPedal[1][slot].design = design;
    }
    if (slot == kActive || mAmpFade < 1.0)
    {
      AmpDesign design = mAmp[0][slot].design;
      DesignAmp(design, mSmoothed, overRate, mAmpFamily[slot]);
      ApplyAmpDesign(mAmp[0][slot], design);
      ApplyAmpDesign(mAmp[1][slot], design);
    }
    if (slot == kActive || mCabFade < 1.0)
    {
      for (int ch = 0; ch < 2; ++ch)
        DesignCab(mCab[ch][slot], mSmoothed, mSampleRate, mCabFamily[slot]);
    }
  }
  // Both channels' equalisers share one design.
  DesignEqualiser(mEq[0], mSmoothed, mSampleRate);
  for (int band = 0; band < PostEqualiser::kSections; ++band)
    mEq[1].sections[band].CopyCoefficients(mEq[0].sections[band]);
  mEffects.Design(mSmoothed);
  mMeasurements.Configure(mSmoothed);
}

void AmpEngine::StepSwitches(bool hostBypass)
{
  for (int s = 0; s < kSwitchCount; ++s)
    StepSmoother(mSwitches[s], mSmoothed[kSwitchParams[s]] > 0.5f ? 1.0 : 0.0, mSwitchCoef);
  StepSmoother(mBypass, BypassTarget(hostBypass) ? 1.0 : 0.0, mBypassCoef);
}

double AmpEngine::GateDetectorDb() const
{
  return LevelDb(mGate.Envelope());
}

double AmpEngine::PedalSag() const
{
  return SanitizeSample(mPedal[0][kActive].sagEnvelope);
}

void AmpEngine::RunOversampled(const double x[2], double pedalTap[2], double preampTap[2], double powerTap[2])
{
  const double pedalAmount = Param(kParamPedalBlend) * 0.01 * mSwitches[kSwitchPedal];
  const double ampSwitch = mSwitches[kSwitchAmp];

  // The four oversampled samples of both channels go through each stage together: the
  // channels are independent and the samples are linked only through cheap filter states,
  // so the processor overlaps their slow operations.
  double up[2][4];
  UpSampleStereo(mUpSampler, x, up);
  double in[4][2];
  for (int i = 0; i < 4; ++i)
    for (int ch = 0; ch < 2; ++ch)
      in[i][ch] = up[ch][i];

  PedalStageState* const pedalActive[2] = {&mPedal[0][kActive], &mPedal[1][kActive]};
  PedalStageState* const pedalRetiring[2] = {&mPedal[0][kRetiring], &mPedal[1][kRetiring]};
  double pedal[4][2];
  PedalStages<2, 4>(pedalActive, in, pedal);
  if (mPedalFade != 1.0)
  {
    double old[4][2];
    PedalStages<2, 4>(pedalRetiring, in, old);
    for (int i = 0; i < 4; ++i)
      for (int ch = 0; ch < 2; ++ch)
        pedal[i][ch] = old[i][ch] + (pedal[i][ch] - old[i][ch]) * mPedalFade;
  }
  double tap[4][2];
  for (int i = 0; i < 4; ++i)
    for (int ch = 0; ch < 2; ++ch)
      tap[i][ch] = in[i][ch] + pedalAmount * (pedal[i][ch] - in[i][ch]);

  AmpStageState* const active[2] = {&mAmp[0][kActive], &mAmp[1][kActive]};
  AmpStageState* const retiring[2] = {&mAmp[0][kRetiring], &mAmp[1][kRetiring]};
  AmpOutput amp[4][2];
  AmpStages<2, 4>(active, tap, amp);
  if (mAmpFade != 1.0)
  {
    AmpOutput old[4][2];
    AmpStages<2, 4>(retiring, tap, old);
    for (int i = 0; i < 4; ++i)
    {
      for (int ch = 0; ch < 2; ++ch)
      {
        amp[i][ch].preamp = old[i][ch].preamp + (amp[i][ch].preamp - old[i][ch].preamp) * mAmpFade;
        amp[i][ch].power = old[i][ch].power + (amp[i][ch].power - old[i][ch].power) * mAmpFade;
      }
    }
  }
  double pedalTaps[2][4], preampTaps[2][4], powerTaps[2][4];
  for (int i = 0; i < 4; ++i)
  {
    for (int ch = 0; ch < 2; ++ch)
    {
      pedalTaps[ch][i] = tap[i][ch];
      preampTaps[ch][i] = tap[i][ch] + ampSwitch * (amp[i][ch].preamp - tap[i][ch]);
      powerTaps[ch][i] = tap[i][ch] + ampSwitch * (amp[i][ch].power - tap[i][ch]);
    }
  }
  pedalTap[0] = pedalTap[1] = preampTap[0] = preampTap[1] = 0.0;
  mPedalDown.Process(pedalTaps, MonitorHears(kMonitorPedal), pedalTap);
  mPreampDown.Process(preampTaps, MonitorHears(kMonitorPreamp), preampTap);
  DownSampleStereo(mPowerDown, powerTaps, powerTap);
}

double AmpEngine::RunCabinet(int channel, double power)
{
  double cab = CabStage(mCab[channel][kActive], power, channel);
  if (mCabFade != 1.0)
  {
    const double old = CabStage(mCab[channel][kRetiring], power, channel);
    cab = old + (cab - old) * mCabFade;
  }
  return cab;
}

double AmpEngine::RunEqualiser(int channel, double x)
{
  return mEq[channel].Process(x);
}

double AmpEngine::RunStereoEffects(double& left, double& right)
{
  StereoEffectSwitches switches;
  switches.chorus = mSwitches[kSwitchChorus];
  switches.delay = mSwitches[kSwitchDelay];
  switches.reverb = mSwitches[kSwitchReverb];
  switches.pingPong = mSwitches[kSwitchPingPong];
  return mEffects.Process(left, right, mSmoothed, switches);
}

double AmpEngine::RunDcFilter(int channel, double y)
{
  return mDcFilter.Process(channel, y, mSwitches[kSwitchDcFilter]);
}

void AmpEngine::FeedDisplays(double rawLeft, double rawRight, double outLeft, double outRight)
{
  mMeasurements.Feed(rawLeft, rawRight, outLeft, outRight);
}

void AmpEngine::PublishSnapshot(bool auxConnected, bool auxInUse)
{
  BlockReadings readings;
  readings.inputPeak = mInputPeak;
  readings.wetPeak = mWetPeak;
  readings.outputPeak = mOutputPeak;
  readings.outputLeftPeak = mOutputLeftPeak;
  readings.outputRightPeak = mOutputRightPeak;
  readings.gateGainDb = GateGainDb();
  readings.gateDetectorDb = GateDetectorDb();
  readings.pedalSag = PedalSag();
  readings.ampSagDb = mAmp[0][kActive].SagReductionDb();
  readings.powerSagDb = mAmp[0][kActive].PowerReductionDb();
  readings.compressorReductionDb = mEffects.CompressorReductionDb();
  readings.clipDb = mClipRatio < 1.0 ? static_cast<double>(static_cast<float>(LevelDb(mClipRatio))) : 0.0;
  mMeasurements.Publish(readings, auxConnected, auxInUse);
}

void AmpEngine::Process(const float* const* inputs, float* const* outputs, int frameCount, bool hostBypass,
                        const float* const* auxInputs, bool auxConnected)
{
  if (frameCount <= 0)
    return;

  if (!mPrepared)
  {
    for (int ch = 0; ch < 2; ++ch)
    {
      if (outputs == nullptr || outputs[ch] == nullptr)
        continue;
      for (int n = 0; n < frameCount; ++n)
        outputs[ch][n] = static_cast<float>(SanitizeSample(InputSample(inputs, ch, n)));
    }
    return;
  }

  if (!mSnapped)
  {
    SnapParameters(hostBypass);
    mSnapped = true;
  }

  mInputPeak = mWetPeak = mOutputPeak = mOutputLeftPeak = mOutputRightPeak = 0.0;
  const bool auxInUse =
    auxConnected && (mTargets[kParamGateDetector] > 0.5f || mTargets[kParamMonitor] == kMonitorExternal);
  float* const outLeft = outputs != nullptr ? outputs[0] : nullptr;
  float* const outRight = outputs != nullptr ? outputs[1] : nullptr;

  for (int n = 0; n < frameCount; ++n)
  {
    // Parameters, families and coefficients.
    if (mSmoothingActive && SmoothParameters())
      mDesignsDirty = true;
    HandleFamilyChange();
    if ((mSampleCounter & 15u) == 0)
      UpdateCoefficients();
    ++mSampleCounter;
    StepSmoother(mPedalFade, 1.0, mSwitchCoef);
    StepSmoother(mAmpFade, 1.0, mSwitchCoef);
    StepSmoother(mCabFade, 1.0, mSwitchCoef);
    StepSwitches(hostBypass);

    // Input.
    const double rawL = SanitizeSample(InputSample(inputs, 0, n));
    const double rawR = SanitizeSample(InputSample(inputs, 1, n));
    const double auxL = auxConnected ? SanitizeSample(InputSample(auxInputs, 0, n)) : 0.0;
    const double auxR = auxConnected ? SanitizeSample(InputSample(auxInputs, 1, n)) : 0.0;
    mInputPeak = std::max(mInputPeak, std::max(std::fabs(rawL), std::fabs(rawR)));

    // Routing, trim and polarity.
    mRouting.Step(Choice(kParamInputRouting), mSwitchCoef);
    const double mid = (rawL + rawR) * 0.5;
    const double polarity = 1.0 - 2.0 * mSwitches[kSwitchPolarity];
    const double shared = mRouting[1] * mid + mRouting[2] * rawL + mRouting[3] * rawR;
    const double left = (mRouting[0] * rawL + shared) * mInputGain * polarity;
    const double right = (mRouting[0] * rawR + shared) * mInputGain * polarity;

    // Noise gate.
    double detector = std::max(std::fabs(left), std::fabs(right));
    if (auxConnected)
    {
      const double external = std::max(std::fabs(auxL), std::fabs(auxR)) * mSidechainGain;
      detector += (external - detector) * mSwitches[kSwitchGateDetector];
    }
    const double gate = mGate.Process(detector, Param(kParamGateThreshold), Param(kParamGateEnabled) > 0.5,
                                      Param(kParamGateRange));

    // Alignment of the paths that bypass the oversampled section.
    double dry[2], aux[2];
    mRawAlignment[0].Push(rawL);
    mRawAlignment[1].Push(rawR);
    mAuxAlignment[0].Push(auxL * mSidechainGain);
    mAuxAlignment[1].Push(auxR * mSidechainGain);
    for (int ch = 0; ch < 2; ++ch)
    {
      dry[ch] = mRawAlignment[ch].Read(kLatency);
      aux[ch] = mAuxAlignment[ch].Read(kLatency);
    }

    // Oversampled drive section, then the cabinet and the equaliser.
    double pedalTap[2], preampTap[2], powerTap[2], cabTap[2], wet[2];
    const double gated[2] = {left * gate, right * gate};
    RunOversampled(gated, pedalTap, preampTap, powerTap);
    const double cabAmount = Param(kParamCabBlend) * 0.01 * mSwitches[kSwitchCab];
    for (int ch = 0; ch < 2; ++ch)
    {
      const double cab = RunCabinet(ch, powerTap[ch]);
      cabTap[ch] = powerTap[ch] + cabAmount * (cab - powerTap[ch]);
      const double eq = RunEqualiser(ch, cabTap[ch]);
      wet[ch] = cabTap[ch] + mSwitches[kSwitchEq] * (eq - cabTap[ch]);
    }

    // Stereo effects, compressor gain and the DC filter.
    const double compressorGain = RunStereoEffects(wet[0], wet[1]);
    for (int ch = 0; ch < 2; ++ch)
    {
      wet[ch] = RunDcFilter(ch, wet[ch] * compressorGain);
      mWetPeak = std::max(mWetPeak, std::fabs(SanitizeSample(wet[ch])));
    }

    // Monitor selection with the dry/wet mix.
    mMonitor.Step(Choice(kParamMonitor), mSwitchCoef);
    const double mix = Param(kParamMix) * 0.01;
    double monitor[2];
    for (int ch = 0; ch < 2; ++ch)
    {
      monitor[ch] = (dry[ch] + (wet[ch] - dry[ch]) * mix) * mMonitor[kMonitorOutput] + dry[ch] * mMonitor[kMonitorDry] +
                    pedalTap[ch] * mMonitor[kMonitorPedal] + preampTap[ch] * mMonitor[kMonitorPreamp] +
                    powerTap[ch] * mMonitor[kMonitorPower] + cabTap[ch] * mMonitor[kMonitorCabinet] +
                    aux[ch] * mMonitor[kMonitorExternal];
    }

    // Output mode.
    mOutputMode.Step(Choice(kParamOutputMode), mSwitchCoef);
    const double mono = (monitor[0] + monitor[1]) * 0.5 * mOutputMode[1];
    const double crossed = monitor[0] * mOutputMode[2] + monitor[1] * mOutputMode[3];
    const double modeOut[2] = {monitor[0] * mOutputMode[0] + mono + crossed,
                               monitor[1] * mOutputMode[0] + mono + crossed};

    // Pan, trim, safety clip, bypass and the final guard.
    // The reading of this sample is the smaller of the two channels' gains in dB; dB is
    // monotonic, so the smaller gain is kept and converted only when it is published.
    double clipRatio = 1.0;
    const double pan = Param(kParamOutputPan);
    const double panGain[2] = {1.0 - std::max(pan, 0.0) * 0.01, 1.0 + std::min(pan, 0.0) * 0.01};
    double out[2];
    for (int ch = 0; ch < 2; ++ch)
    {
      const double v = modeOut[ch] * panGain[ch] * mOutputGain;
      double clipped = v;
      const double magnitude = std::fabs(v);
      if (magnitude > 0.75 * mCeiling)
        clipped = std::copysign((Tanh((magnitude / mCeiling - 0.75) * 4.0) * 0.25 + 0.75) * mCeiling, v);
      const double limited = v + (clipped - v) * mSwitches[kSwitchSafetyClip];
      // An unchanged sample reads 0 dB, which cannot lower the reading.
      if (v != 0.0 && limited != v)
        clipRatio = std::min(clipRatio, std::fabs(limited / v));

      double o = (mBypass == 1.0) ? dry[ch] : limited + (dry[ch] - limited) * mBypass;
      o = SanitizeSample(o);
      out[ch] = o;
    }
    if (outLeft != nullptr)
      outLeft[n] = static_cast<float>(out[0]);
    if (outRight != nullptr)
      outRight[n] = static_cast<float>(out[1]);
    mClipRatio = clipRatio;
    mOutputLeftPeak = std::max(mOutputLeftPeak, std::fabs(out[0]));
    mOutputRightPeak = std::max(mOutputRightPeak, std::fabs(out[1]));
    mOutputPeak = std::max(mOutputLeftPeak, mOutputRightPeak);

    FeedDisplays(rawL, rawR, out[0], out[1]);
  }

  PublishSnapshot(auxConnected, auxInUse);
}
