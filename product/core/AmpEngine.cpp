#include "product/core/AmpEngine.h"

#include "product/core/BiquadPair.h"
#include "product/core/DspHelpers.h"
#include "product/core/ParamSpecTable.h"
#include "product/core/TanhCurve.h"

#include <algorithm>
#include <cmath>
#include <iterator>

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
    mParamDesign[i] = DesignGroupOf(i);
  }
  for (int s = 0; s < kSwitchCount; ++s)
    mSwitches[s] = ParamSpecTable::kDefaults[kSwitchParams[s]] > 0.5f ? 1.0 : 0.0;
  mRouting.Snap(0);
  mMonitor.Snap(kMonitorOutput);
  mOutputMode.Snap(0);
  mGate.Reset(-70.0);
}

uint32_t AmpEngine::DesignGroupOf(int param)
{
  const auto within = [param](int first, int last) { return param >= first && param <= last; };
  if (param == kParamInput || param == kParamOutput || param == kParamScTrim || param == kParamSafetyCeiling ||
      within(kParamGateAttack, kParamGateRelease))
    return kDesignIo;
  if (within(kParamPedalEnabled, kParamPedalBlend))
    return kDesignPedal;
  if (within(kParamAmpEnabled, kParamPowerType))
    return kDesignAmp;
  if (within(kParamCabEnabled, kParamCabRoom))
    return kDesignCab;
  if (within(kParamEqEnabled, kParamEqLp))
    return kDesignEq;
  if (within(kParamChorusEnabled, kParamStereoWidth))
    return kDesignEffects;
  return kDesignMeasurements;
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
  mMovingCount = 0;
  for (int i = 0; i < kNumParams; ++i)
    if (mSmoothedState[i] != mTargets[i])
      mMoving[mMovingCount++] = static_cast<int16_t>(i);
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
  mMovingCount = 0;

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

  mDirtyDesigns = kDesignAll;
  UpdateCoefficients();
}

bool AmpEngine::SmoothParameters()
{
  bool changed = false;
  int stillMoving = 0;
  for (int m = 0; m < mMovingCount; ++m)
  {
    const int i = mMoving[m];
    const double target = mTargets[i];
    double y = mSmoothedState[i];
    if (mDiscrete[i])
    {
      y = target;
    }
    else
    {
      const double next = y + (target - y) * mSlowCoef;
      y = std::fabs(target - next) < 1e-9 ? target : next;
      if (y != target)
        mMoving[stillMoving++] = static_cast<int16_t>(i);
    }
    mSmoothedState[i] = y;
    const float rounded = static_cast<float>(y);
    if (rounded != mSmoothed[i])
    {
      mSmoothed[i] = rounded;
      mDirtyDesigns |= mParamDesign[i];
      changed = true;
    }
  }
  mMovingCount = stillMoving;
  return changed;
}

namespace {

// families holds the active family first.
bool ChangeDue(int wanted, const int (&families)[2], double fade)
{
  return wanted != families[0] && fade >= kFadeNearlyDone;
}

} // namespace

template <typename Stage, typename HandOver>
void AmpEngine::ChangeFamily(int wanted, int (&families)[2], double& fade, Stage (&stages)[2][2], HandOver handOver,
                             DesignGroup design)
{
  if (!ChangeDue(wanted, families, fade))
    return;
  for (int ch = 0; ch < 2; ++ch)
    handOver(stages[ch][kActive], stages[ch][kRetiring]);
  families[kRetiring] = families[kActive];
  families[kActive] = wanted;
  fade = 0.0;
  mDirtyDesigns |= design;
}

bool AmpEngine::FamilyChangeDue() const
{
  return ChangeDue(Choice(kParamPedalType), mPedalFamily, mPedalFade) ||
         ChangeDue(Choice(kParamAmpType), mAmpFamily, mAmpFade) || ChangeDue(Choice(kParamCabType), mCabFamily, mCabFade);
}

void AmpEngine::HandleFamilyChange()
{
  const auto copyStage = [](auto& active, auto& retiring) { retiring = active; };
  ChangeFamily(Choice(kParamPedalType), mPedalFamily, mPedalFade, mPedal, copyStage, kDesignPedal);
  ChangeFamily(Choice(kParamAmpType), mAmpFamily, mAmpFade, mAmp, copyStage, kDesignAmp);
  ChangeFamily(Choice(kParamCabType), mCabFamily, mCabFade, mCab, HandOverCabSlots, kDesignCab);
}

void AmpEngine::UpdateCoefficients()
{
  // Every design below is a function of the smoothed values of its group and the families
  // only, so a design none of whose inputs moved since the last update is already right.
  if (mDirtyDesigns == 0)
    return;
  const uint32_t dirty = mDirtyDesigns;
  mDirtyDesigns = 0;

  if (dirty & kDesignIo)
  {
    mInputGain = std::pow(10.0, 0.05 * Param(kParamInput));
    mOutputGain = std::pow(10.0, 0.05 * Param(kParamOutput));
    mSidechainGain = std::pow(10.0, 0.05 * Param(kParamScTrim));
    mCeiling = std::pow(10.0, 0.05 * Param(kParamSafetyCeiling));
    mGate.SetCoefficients(Param(kParamGateAttack), Param(kParamGateRelease), Param(kParamGateHold), mSampleRate);
  }

  // The two channels share each slot's design; the retiring slot matters only while
  // its crossfade runs (a family change hands it the active slot's design).
  const double overRate = 4.0 * mSampleRate;
  for (int slot = 0; slot < 2; ++slot)
  {
    if ((dirty & kDesignPedal) && (slot == kActive || mPedalFade < 1.0))
    {
      // Starting from the slot's last design keeps the poles that only the rate and the
      // family fix.
      PedalDesign design = mPedal[0][slot].design;
      DesignPedal(design, mSmoothed, overRate, mPedalFamily[slot]);
      mPedal[0][slot].design = design;
      mPedal[1][slot].design = design;
    }
    if ((dirty & kDesignAmp) && (slot == kActive || mAmpFade < 1.0))
    {
      AmpDesign design = mAmp[0][slot].design;
      DesignAmp(design, mSmoothed, overRate, mAmpFamily[slot]);
      ApplyAmpDesign(mAmp[0][slot], design);
      ApplyAmpDesign(mAmp[1][slot], design);
    }
    if ((dirty & kDesignCab) && (slot == kActive || mCabFade < 1.0))
    {
      for (int ch = 0; ch < 2; ++ch)
        DesignCab(mCab[ch][slot], mSmoothed, mSampleRate, mCabFamily[slot]);
    }
  }
  if (dirty & kDesignEq)
  {
    // Both channels' equalisers share one design.
    DesignEqualiser(mEq[0], mSmoothed, mSampleRate);
    for (int band = 0; band < PostEqualiser::kSections; ++band)
      mEq[1].sections[band].CopyCoefficients(mEq[0].sections[band]);
  }
  if (dirty & kDesignEffects)
    mEffects.Design(mSmoothed);
  mMeasurements.Configure(mSmoothed);
}

bool AmpEngine::StepSwitches(bool hostBypass)
{
  bool moved = false;
  for (int s = 0; s < kSwitchCount; ++s)
    moved = StepSmoother(mSwitches[s], mSmoothed[kSwitchParams[s]] > 0.5f ? 1.0 : 0.0, mSwitchCoef) || moved;
  return StepSmoother(mBypass, BypassTarget(hostBypass) ? 1.0 : 0.0, mBypassCoef) || moved;
}

double AmpEngine::GateDetectorDb() const
{
  return LevelDb(mGate.Envelope());
}

double AmpEngine::PedalSag() const
{
  return SanitizeSample(mPedal[0][kActive].sagEnvelope);
}

void AmpEngine::RunOversampled()
{
  // Every stage takes the whole run before the next one starts: a stage's state depends only
  // on its own input sequence, so this order gives each sample exactly what the frame by
  // frame order gives.
  const int frames = mRunLength;
  const int count = 4 * frames;
  double in[kOversampledRun][2];
  for (int f = 0; f < frames; ++f)
  {
    double up[2][4];
    UpSampleStereo(mUpSampler, mRun[f].gated, up);
    for (int i = 0; i < 4; ++i)
      for (int ch = 0; ch < 2; ++ch)
        in[4 * f + i][ch] = up[ch][i];
  }

  // A crossfade runs from a family change, which starts a run, until its position lands on
  // 1, so the frames that need the retiring slot lead the run.
  const auto leadingFade = [&](double RunFrame::*fade) {
    int fading = 0;
    while (fading < frames && mRun[fading].*fade != 1.0)
      ++fading;
    return fading;
  };

  PedalStageState* const pedalActive[2] = {&mPedal[0][kActive], &mPedal[1][kActive]};
  PedalStageState* const pedalRetiring[2] = {&mPedal[0][kRetiring], &mPedal[1][kRetiring]};
  double pedal[kOversampledRun][2];
  PedalStages<2, kOversampledRun>(pedalActive, in, pedal, count);
  const int pedalFading = leadingFade(&RunFrame::pedalFade);
  if (pedalFading > 0)
  {
    double old[kOversampledRun][2];
    PedalStages<2, kOversampledRun>(pedalRetiring, in, old, 4 * pedalFading);
    for (int j = 0; j < 4 * pedalFading; ++j)
      for (int ch = 0; ch < 2; ++ch)
        pedal[j][ch] = old[j][ch] + (pedal[j][ch] - old[j][ch]) * mRun[j / 4].pedalFade;
  }
  double tap[kOversampledRun][2];
  for (int j = 0; j < count; ++j)
    for (int ch = 0; ch < 2; ++ch)
      tap[j][ch] = in[j][ch] + mRun[j / 4].pedalAmount * (pedal[j][ch] - in[j][ch]);

  AmpStageState* const active[2] = {&mAmp[0][kActive], &mAmp[1][kActive]};
  AmpStageState* const retiring[2] = {&mAmp[0][kRetiring], &mAmp[1][kRetiring]};
  AmpOutput amp[kOversampledRun][2];
  AmpStages<2, kOversampledRun>(active, tap, amp, count);
  const int ampFading = leadingFade(&RunFrame::ampFade);
  if (ampFading > 0)
  {
    AmpOutput old[kOversampledRun][2];
    AmpStages<2, kOversampledRun>(retiring, tap, old, 4 * ampFading);
    for (int j = 0; j < 4 * ampFading; ++j)
    {
      const double fade = mRun[j / 4].ampFade;
      for (int ch = 0; ch < 2; ++ch)
      {
        amp[j][ch].preamp = old[j][ch].preamp + (amp[j][ch].preamp - old[j][ch].preamp) * fade;
        amp[j][ch].power = old[j][ch].power + (amp[j][ch].power - old[j][ch].power) * fade;
      }
    }
  }

  for (int f = 0; f < frames; ++f)
  {
    RunFrame& frame = mRun[f];
    double pedalTaps[2][4], preampTaps[2][4], powerTaps[2][4];
    for (int i = 0; i < 4; ++i)
    {
      const int j = 4 * f + i;
      for (int ch = 0; ch < 2; ++ch)
      {
        pedalTaps[ch][i] = tap[j][ch];
        preampTaps[ch][i] = tap[j][ch] + frame.ampSwitch * (amp[j][ch].preamp - tap[j][ch]);
        powerTaps[ch][i] = tap[j][ch] + frame.ampSwitch * (amp[j][ch].power - tap[j][ch]);
      }
    }
    frame.pedalTap[0] = frame.pedalTap[1] = frame.preampTap[0] = frame.preampTap[1] = 0.0;
    mPedalDown.Process(pedalTaps, frame.hearsPedal, frame.pedalTap);
    mPreampDown.Process(preampTaps, frame.hearsPreamp, frame.preampTap);
    DownSampleStereo(mPowerDown, powerTaps, frame.powerTap);
  }
}

// The cabinet and the equaliser for a run. Their coefficients hold through a run, so the
// active cabinet slot's filters and the equaliser each take the whole run at once, both
// channels together; the room, a retiring slot and the blend go frame by frame with each
// frame's own parameter state.
void AmpEngine::RunCabinetAndEqualiser()
{
  double x[kRunFrames][2], y[kRunFrames][2];
  for (int f = 0; f < mRunLength; ++f)
    for (int ch = 0; ch < 2; ++ch)
      x[f][ch] = mRun[f].powerTap[ch];
  CabStageState* const active[2] = {&mCab[0][kActive], &mCab[1][kActive]};
  CabFilterRun(active, x, mRunLength, y);
  for (int f = 0; f < mRunLength; ++f)
  {
    RunFrame& frame = mRun[f];
    const FrameControl& control = mRunControls[frame.control];
    const double cabAmount = control.smoothed[kParamCabBlend] * 0.01 * control.switches[kSwitchCab];
    for (int ch = 0; ch < 2; ++ch)
    {
      double cab = CabRoom(mCab[ch][kActive], y[f][ch], ch);
      if (control.cabFade != 1.0)
      {
        const double old = CabStage(mCab[ch][kRetiring], frame.powerTap[ch], ch);
        cab = old + (cab - old) * control.cabFade;
      }
      frame.cabTap[ch] = frame.powerTap[ch] + cabAmount * (cab - frame.powerTap[ch]);
      x[f][ch] = frame.cabTap[ch];
    }
  }
  ProcessBankPairs(mEq[0], mEq[1], x, mRunLength, y);
  for (int f = 0; f < mRunLength; ++f)
    for (int ch = 0; ch < 2; ++ch)
      mRun[f].eq[ch] = y[f][ch];
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

void AmpEngine::CaptureControl(FrameControl& control) const
{
  std::copy(std::begin(mSmoothed), std::end(mSmoothed), control.smoothed);
  std::copy(std::begin(mSwitches), std::end(mSwitches), control.switches);
  control.bypass = mBypass;
  control.cabFade = mCabFade;
  control.monitor = mMonitor;
  control.outputMode = mOutputMode;
}

void AmpEngine::RestoreControl(const FrameControl& control)
{
  std::copy(std::begin(control.smoothed), std::end(control.smoothed), mSmoothed);
  std::copy(std::begin(control.switches), std::end(control.switches), mSwitches);
  mBypass = control.bypass;
  mCabFade = control.cabFade;
  mMonitor = control.monitor;
  mOutputMode = control.outputMode;
}

void AmpEngine::FinishRun(float* outLeft, float* outRight)
{
  if (mRunLength == 0)
    return;
  RunOversampled();
  RunCabinetAndEqualiser();
  // The later stages see each frame's own parameter state; the state the input stage has
  // reached is put back afterwards.
  FrameControl current;
  CaptureControl(current);
  int restored = -1;
  for (int f = 0; f < mRunLength; ++f)
  {
    if (mRun[f].control != restored)
    {
      restored = mRun[f].control;
      RestoreControl(mRunControls[restored]);
    }
    FinishFrame(mRun[f], outLeft, outRight, mRunStart + f);
  }
  RestoreControl(current);
  mRunStart += mRunLength;
  mRunLength = 0;
  mRunControlCount = 0;
}

void AmpEngine::FinishFrame(const RunFrame& frame, float* outLeft, float* outRight, int index)
{
  // The equaliser by its switch.
  const double* cabTap = frame.cabTap;
  double wet[2];
  for (int ch = 0; ch < 2; ++ch)
    wet[ch] = cabTap[ch] + mSwitches[kSwitchEq] * (frame.eq[ch] - cabTap[ch]);

  // Stereo effects, compressor gain and the DC filter.
  const double compressorGain = RunStereoEffects(wet[0], wet[1]);
  for (int ch = 0; ch < 2; ++ch)
  {
    wet[ch] = RunDcFilter(ch, wet[ch] * compressorGain);
    mWetPeak = std::max(mWetPeak, std::fabs(SanitizeSample(wet[ch])));
  }

  // Monitor selection with the dry/wet mix.
  const double mix = Param(kParamMix) * 0.01;
  double monitor[2];
  for (int ch = 0; ch < 2; ++ch)
  {
    const double dry = frame.dry[ch];
    monitor[ch] = (dry + (wet[ch] - dry) * mix) * mMonitor[kMonitorOutput] + dry * mMonitor[kMonitorDry] +
                  frame.pedalTap[ch] * mMonitor[kMonitorPedal] + frame.preampTap[ch] * mMonitor[kMonitorPreamp] +
                  frame.powerTap[ch] * mMonitor[kMonitorPower] + cabTap[ch] * mMonitor[kMonitorCabinet] +
                  frame.aux[ch] * mMonitor[kMonitorExternal];
  }

  // Output mode.
  const double mono = (monitor[0] + monitor[1]) * 0.5 * mOutputMode[1];
  const double crossed = monitor[0] * mOutputMode[2] + monitor[1] * mOutputMode[3];
  const double modeOut[2] = {monitor[0] * mOutputMode[0] + mono + crossed, monitor[1] * mOutputMode[0] + mono + crossed};

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

    double o = (mBypass == 1.0) ? frame.dry[ch] : limited + (frame.dry[ch] - limited) * mBypass;
    o = SanitizeSample(o);
    out[ch] = o;
  }
  if (outLeft != nullptr)
    outLeft[index] = static_cast<float>(out[0]);
  if (outRight != nullptr)
    outRight[index] = static_cast<float>(out[1]);
  mClipRatio = clipRatio;
  mOutputLeftPeak = std::max(mOutputLeftPeak, std::fabs(out[0]));
  mOutputRightPeak = std::max(mOutputRightPeak, std::fabs(out[1]));
  mOutputPeak = std::max(mOutputLeftPeak, mOutputRightPeak);

  FeedDisplays(frame.raw[0], frame.raw[1], out[0], out[1]);
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
  mRunStart = 0;

  for (int n = 0; n < frameCount; ++n)
  {
    // Parameters, families and coefficients; a run ends before a family change or a
    // coefficient update that changes anything.
    bool moved = false;
    if (mMovingCount > 0 && SmoothParameters())
      moved = true;
    if (FamilyChangeDue())
      FinishRun(outLeft, outRight);
    HandleFamilyChange();
    if ((mSampleCounter & 15u) == 0)
    {
      if (mDirtyDesigns != 0)
        FinishRun(outLeft, outRight);
      UpdateCoefficients();
    }
    ++mSampleCounter;
    StepSmoother(mPedalFade, 1.0, mSwitchCoef);
    StepSmoother(mAmpFade, 1.0, mSwitchCoef);
    moved = StepSmoother(mCabFade, 1.0, mSwitchCoef) || moved;
    moved = StepSwitches(hostBypass) || moved;

    // Input.
    RunFrame& frame = mRun[mRunLength];
    const double rawL = SanitizeSample(InputSample(inputs, 0, n));
    const double rawR = SanitizeSample(InputSample(inputs, 1, n));
    const double auxL = auxConnected ? SanitizeSample(InputSample(auxInputs, 0, n)) : 0.0;
    const double auxR = auxConnected ? SanitizeSample(InputSample(auxInputs, 1, n)) : 0.0;
    mInputPeak = std::max(mInputPeak, std::max(std::fabs(rawL), std::fabs(rawR)));
    frame.raw[0] = rawL;
    frame.raw[1] = rawR;

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
    frame.gated[0] = left * gate;
    frame.gated[1] = right * gate;

    // Alignment of the paths that bypass the oversampled section.
    mRawAlignment[0].Push(rawL);
    mRawAlignment[1].Push(rawR);
    mAuxAlignment[0].Push(auxL * mSidechainGain);
    mAuxAlignment[1].Push(auxR * mSidechainGain);
    for (int ch = 0; ch < 2; ++ch)
    {
      frame.dry[ch] = mRawAlignment[ch].Read(kLatency);
      frame.aux[ch] = mAuxAlignment[ch].Read(kLatency);
    }

    // What the oversampled section reads of this frame's parameter state; the monitor
    // hears a tap by the weights before this frame's step.
    frame.pedalAmount = Param(kParamPedalBlend) * 0.01 * mSwitches[kSwitchPedal];
    frame.ampSwitch = mSwitches[kSwitchAmp];
    frame.pedalFade = mPedalFade;
    frame.ampFade = mAmpFade;
    frame.hearsPedal = MonitorHears(kMonitorPedal);
    frame.hearsPreamp = MonitorHears(kMonitorPreamp);
    moved = mMonitor.Step(Choice(kParamMonitor), mSwitchCoef) || moved;
    moved = mOutputMode.Step(Choice(kParamOutputMode), mSwitchCoef) || moved;

    // The later stages' parameter state, shared with the previous frame where nothing moved.
    if (moved || mRunLength == 0)
      CaptureControl(mRunControls[mRunControlCount++]);
    frame.control = mRunControlCount - 1;
    if (++mRunLength == kRunFrames)
      FinishRun(outLeft, outRight);
  }
  FinishRun(outLeft, outRight);

  PublishSnapshot(auxConnected, auxInUse);
}
