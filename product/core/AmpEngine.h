#pragma once

#include "product/core/AmpModel.h"
#include "product/core/CabinetModel.h"
#include "product/core/DcFilter.h"
#include "product/core/DelayLine.h"
#include "product/core/DspHelpers.h"
#include "product/core/EngineMeasurements.h"
#include "product/core/HalfBandFilter.h"
#include "product/core/MonitorTapDownSampler.h"
#include "product/core/NoiseGate.h"
#include "product/core/ParamIds.h"
#include "product/core/PedalModel.h"
#include "product/core/PostEqualiser.h"
#include "product/core/Smoothers.h"
#include "product/core/StereoEffects.h"

#include <cstdint>

// The product's whole signal chain. The plug-in prepares it, hands it the parameter
// values before every block and runs it once per block on the audio thread. Everything is
// computed in double precision; after Prepare nothing allocates, locks or blocks.
//
// Per sample: sanitising, input routing, trim and polarity, the noise gate, 4x
// up-sampling, the pedal, the amplifier, down-sampling, the cabinet, the equaliser, the
// stereo effects, the DC filter, monitor selection with the dry/wet mix, output mode, pan,
// output trim, the safety clip and the bypass crossfade. The oversampled path lies 48
// samples behind the input, and the dry path, every monitor tap and the auxiliary input
// are delayed to match.
//
// Frames go through in runs of up to 16 (never across a coefficient update or a family
// change): the input stage takes every frame of a run, then the oversampled section takes
// the run stage by stage, so the work of many samples overlaps, then the later stages take
// it frame by frame with the parameter state each frame had. Every sample is computed
// exactly as frame by frame.
class AmpEngine
{
public:
  static constexpr int kLatency = 48;
  static constexpr double kMinSampleRate = 22050.0;
  static constexpr double kMaxSampleRate = 192000.0;

  AmpEngine();
  AmpEngine(const AmpEngine&) = delete;
  AmpEngine& operator=(const AmpEngine&) = delete;

  static bool IsSupportedSampleRate(double sampleRate);

  // Sizes every line for the rate and resets. A rate outside what the engine supports is
  // replaced (non-finite by 48000, others clamped to [22050, 192000]) and the engine still
  // runs at that rate; the result is false then so that the caller can refuse the set-up
  // instead of playing at the wrong speed. maxBlockSize is not needed.
  bool Prepare(double sampleRate, int maxBlockSize = 512);
  void Reset();
  // Takes the plug-in's 84 current values (sanitised here).
  void SetTargets(const float values[kNumParams]);
  // inputs, outputs and auxInputs are arrays of two channel pointers; a null array or
  // channel reads as silence, a null output channel is skipped.
  void Process(const float* const* inputs, float* const* outputs, int frameCount, bool hostBypass,
               const float* const* auxInputs, bool auxConnected);

  bool IsPrepared() const { return mPrepared; }
  double SampleRate() const { return mSampleRate; }
  // The sanitised values of the last SetTargets.
  const float* Targets() const { return mTargets; }

  // Readings of the last processed block.
  double InputPeak() const { return mInputPeak; }
  double GateGainDb() const { return mGate.GainDb(); }

  // The published measurements, for the editor thread.
  LevelSnapshot ReadLevelSnapshot() const { return mMeasurements.ReadLevel(); }
  DisplaySnapshot ReadDisplaySnapshot() const { return mMeasurements.ReadDisplay(); }
  const SnapshotExchange& Snapshots() const { return mMeasurements.Exchange(); }

  // Family crossfade positions (1 when no crossfade runs) and the families now active.
  double PedalCrossfade() const { return mPedalFade; }
  double AmpCrossfade() const { return mAmpFade; }
  int ActiveAmpFamily() const { return mAmpFamily[kActive]; }
  int ActiveCabinetFamily() const { return mCabFamily[kActive]; }

private:
  static constexpr int kActive = 0;
  static constexpr int kRetiring = 1;
  static constexpr int kAlignmentLength = 64;

  // Indices of the 5 ms switch smoothers.
  enum Switch
  {
    kSwitchPedal,
    kSwitchAmp,
    kSwitchCab,
    kSwitchEq,
    kSwitchChorus,
    kSwitchDelay,
    kSwitchReverb,
    kSwitchDcFilter,
    kSwitchSafetyClip,
    kSwitchGateDetector,
    kSwitchPolarity,
    kSwitchPingPong,
    kSwitchCount
  };
  static const int kSwitchParams[kSwitchCount];

  // What the stages after the oversampled section read of the parameter state, kept per
  // frame of a run.
  struct FrameControl
  {
    float smoothed[kNumParams];
    double switches[kSwitchCount];
    double bypass;
    double cabFade;
    ChoiceWeights<kNumMonitorChoices> monitor;
    ChoiceWeights<4> outputMode;
  };

  // One frame of a run: the input stage's results, what the oversampled section reads of
  // the parameter state, and the section's three taps.
  struct RunFrame
  {
    double raw[2];
    double gated[2];
    double dry[2];
    double aux[2];
    double pedalAmount;
    double ampSwitch;
    double pedalFade;
    double ampFade;
    bool hearsPedal;
    bool hearsPreamp;
    int32_t control; // index into mRunControls
    double pedalTap[2];
    double preampTap[2];
    double powerTap[2];
    double cabTap[2]; // the cabinet blended in by its switch and amount
    double eq[2];     // the equaliser's output, before its switch
  };
  static constexpr int kRunFrames = kOversampledRun / 4;

  // The designs a coefficient update redoes, by the parameters they read (changes of the
  // parameters in no design only reconfigure the measurements).
  enum DesignGroup : uint32_t
  {
    kDesignIo = 1u << 0, // trims, ceiling and gate timing
    kDesignPedal = 1u << 1,
    kDesignAmp = 1u << 2,
    kDesignCab = 1u << 3,
    kDesignEq = 1u << 4,
    kDesignEffects = 1u << 5,
    kDesignMeasurements = 1u << 6,
    kDesignAll = (1u << 7) - 1u,
  };
  static uint32_t DesignGroupOf(int param);

  void SnapParameters(bool hostBypass);
  // Steps the smoothers still moving; returns whether a smoothed value changed, whose
  // designs it marks.
  bool SmoothParameters();
  // Whether HandleFamilyChange would start a crossfade now.
  bool FamilyChangeDue() const;
  void HandleFamilyChange();
  // Starts the crossfade to the family `wanted` unless it is already active or the last
  // crossfade is still audible; `handOver(active, retiring)` moves a channel's stage
  // into its retiring slot.
  template <typename Stage, typename HandOver>
  void ChangeFamily(int wanted, int (&families)[2], double& fade, Stage (&stages)[2][2], HandOver handOver,
                    DesignGroup design);
  void UpdateCoefficients();
  // Returns whether any switch or the bypass moved.
  bool StepSwitches(bool hostBypass);
  bool BypassTarget(bool hostBypass) const;
  double Param(int index) const { return mSmoothed[index]; }
  int Choice(int index) const { return static_cast<int>(mSmoothed[index]); }

  void CaptureControl(FrameControl& control) const;
  void RestoreControl(const FrameControl& control);
  // Runs the pending frames through the oversampled section and the later stages, writing
  // their output samples.
  void FinishRun(float* outLeft, float* outRight);
  // The oversampled section of both channels for the pending frames: up-sampling, pedal,
  // amplifier and down-sampling of the three taps. The pedal and preamp taps, which only
  // the monitor hears, are 0 while it cannot hear them.
  void RunOversampled();
  // The stages after the oversampled section for one frame; writes output sample `index`.
  void FinishFrame(const RunFrame& frame, float* outLeft, float* outRight, int index);
  // Whether the monitor weight of the source `choice` is or is about to become non-zero.
  bool MonitorHears(int choice) const { return Choice(kParamMonitor) == choice || mMonitor[choice] != 0.0; }

  // Stages after the amplifier, one per place in the chain.
  void RunCabinetAndEqualiser();
  // Chorus, delay effect, reverb, width and the post compressor; returns the
  // compressor's gain for both channels.
  double RunStereoEffects(double& left, double& right);
  double RunDcFilter(int channel, double y);
  void FeedDisplays(double rawLeft, double rawRight, double outLeft, double outRight);
  void PublishSnapshot(bool auxConnected, bool auxInUse);
  double GateDetectorDb() const;
  double PedalSag() const;

  // Parameters.
  float mTargets[kNumParams];
  float mSmoothed[kNumParams];
  double mSmoothedState[kNumParams];
  bool mDiscrete[kNumParams];
  uint32_t mParamDesign[kNumParams];
  // The parameters whose smoothed value has not reached its target yet.
  int16_t mMoving[kNumParams];
  int mMovingCount = 0;
  uint32_t mDirtyDesigns = kDesignAll;

  double mSampleRate = 48000.0;
  double mSlowCoef = 0.0;
  double mSwitchCoef = 0.0;
  double mBypassCoef = 0.0;
  bool mPrepared = false;
  bool mSnapped = false;
  // Unsigned so that it wraps cleanly in very long sessions; only its value modulo 16
  // matters.
  uint32_t mSampleCounter = 0;

  // Family slots, [channel][active or retiring].
  PedalStageState mPedal[2][2];
  AmpStageState mAmp[2][2];
  int mPedalFamily[2] = {1, 1};
  int mAmpFamily[2] = {0, 0};
  int mCabFamily[2] = {2, 2};
  double mPedalFade = 1.0;
  double mAmpFade = 1.0;
  double mCabFade = 1.0;

  double mSwitches[kSwitchCount] = {};
  double mBypass = 0.0;

  // Input and output stage.
  double mInputGain = 1.0;
  double mOutputGain = 1.0;
  double mSidechainGain = 1.0;
  double mCeiling = 1.0;
  ChoiceWeights<4> mRouting;
  ChoiceWeights<kNumMonitorChoices> mMonitor;
  ChoiceWeights<4> mOutputMode;
  NoiseGate mGate;
  // The safety clip's gain (clipped / unclipped) of the last sample, 1 when nothing clipped.
  double mClipRatio = 1.0;

  // Alignment of the dry path and the auxiliary input.
  DelayLine mRawAlignment[2];
  DelayLine mAuxAlignment[2];

  // Resamplers: per channel one up-sampler and one down-sampler per tap.
  StereoHalfBandPair mUpSampler;
  MonitorTapDownSampler mPedalDown;
  MonitorTapDownSampler mPreampDown;
  StereoHalfBandPair mPowerDown;

  // Stages after the down-sampling.
  CabStageState mCab[2][2];
  PostEqualiser mEq[2];
  StereoEffects mEffects;
  DcFilter mDcFilter;
  EngineMeasurements mMeasurements;

  // The pending run: its frames, the parameter states they saw (a frame that changed
  // nothing shares its predecessor's) and the index of its first frame in the block.
  RunFrame mRun[kRunFrames];
  FrameControl mRunControls[kRunFrames];
  int mRunLength = 0;
  int mRunControlCount = 0;
  int mRunStart = 0;

  // Block readings.
  double mInputPeak = 0.0;
  double mWetPeak = 0.0;
  double mOutputPeak = 0.0;
  double mOutputLeftPeak = 0.0;
  double mOutputRightPeak = 0.0;
};
