#include "product/core/ParamSpecTable.h"

#include <algorithm>
#include <cfloat>
#include <cmath>

const char* const ParamSpecTable::kKeys[kNumParams] = {
  "input", // 0
  "output", // 1
  "mix", // 2
  "input-routing", // 3
  "bypass", // 4
  "gate-enabled", // 5
  "gate-threshold", // 6
  "gate-attack", // 7
  "gate-hold", // 8
  "gate-release", // 9
  "gate-range", // 10
  "gate-detector", // 11
  "sc-trim", // 12
  "pedal-enabled", // 13
  "pedal-type", // 14
  "pedal-drive", // 15
  "pedal-tone", // 16
  "pedal-level", // 17
  "pedal-low-cut", // 18
  "pedal-bias", // 19
  "pedal-sag", // 20
  "pedal-blend", // 21
  "amp-enabled", // 22
  "amp-type", // 23
  "amp-gain", // 24
  "amp-master", // 25
  "amp-bass", // 26
  "amp-mid", // 27
  "amp-treble", // 28
  "amp-presence", // 29
  "amp-depth", // 30
  "amp-bright", // 31
  "amp-sag", // 32
  "amp-bias", // 33
  "amp-tight", // 34
  "power-drive", // 35
  "power-type", // 36
  "cab-enabled", // 37
  "cab-type", // 38
  "cab-blend", // 39
  "cab-resonance", // 40
  "mic-type", // 41
  "mic-position", // 42
  "mic-distance", // 43
  "mic-angle", // 44
  "mic-blend", // 45
  "second-mic-type", // 46
  "cab-low-cut", // 47
  "cab-high-cut", // 48
  "cab-room", // 49
  "eq-enabled", // 50
  "eq-low", // 51
  "eq-mid", // 52
  "eq-mid-frequency", // 53
  "eq-mid-q", // 54
  "eq-high", // 55
  "eq-hp", // 56
  "eq-lp", // 57
  "chorus-enabled", // 58
  "chorus-rate", // 59
  "chorus-depth", // 60
  "chorus-mix", // 61
  "delay-enabled", // 62
  "delay-time", // 63
  "delay-feedback", // 64
  "delay-tone", // 65
  "delay-mix", // 66
  "delay-ping-pong", // 67
  "reverb-enabled", // 68
  "reverb-size", // 69
  "reverb-decay", // 70
  "reverb-damping", // 71
  "reverb-mix", // 72
  "stereo-width", // 73
  "safety-clip", // 74
  "safety-ceiling", // 75
  "monitor", // 76
  "analyzer", // 77
  "analyzer-speed", // 78
  "dc-filter", // 79
  "output-mode", // 80
  "input-polarity", // 81
  "post-compressor", // 82
  "output-pan", // 83
};

const char* const ParamSpecTable::kNames[kNumParams] = {
  "Input", // 0
  "Output", // 1
  "Mix", // 2
  "Input Routing", // 3
  "Bypass", // 4
  "Gate Enabled", // 5
  "Gate Threshold", // 6
  "Gate Attack", // 7
  "Gate Hold", // 8
  "Gate Release", // 9
  "Gate Range", // 10
  "Gate Detector", // 11
  "SC Trim", // 12
  "Pedal Enabled", // 13
  "Pedal Type", // 14
  "Pedal Drive", // 15
  "Pedal Tone", // 16
  "Pedal Level", // 17
  "Pedal Low Cut", // 18
  "Pedal Bias", // 19
  "Pedal Sag", // 20
  "Pedal Blend", // 21
  "Amp Enabled", // 22
  "Amp Type", // 23
  "Amp Gain", // 24
  "Amp Master", // 25
  "Amp Bass", // 26
  "Amp Mid", // 27
  "Amp Treble", // 28
  "Amp Presence", // 29
  "Amp Depth", // 30
  "Amp Bright", // 31
  "Amp Sag", // 32
  "Amp Bias", // 33
  "Amp Tight", // 34
  "Power Drive", // 35
  "Power Type", // 36
  "Cab Enabled", // 37
  "Cab Type", // 38
  "Cab Blend", // 39
  "Cab Resonance", // 40
  "Mic Type", // 41
  "Mic Position", // 42
  "Mic Distance", // 43
  "Mic Angle", // 44
  "Mic Blend", // 45
  "Second Mic Type", // 46
  "Cab Low Cut", // 47
  "Cab High Cut", // 48
  "Cab Room", // 49
  "EQ Enabled", // 50
  "EQ Low", // 51
  "EQ Mid", // 52
  "EQ Mid Frequency", // 53
  "EQ Mid Q", // 54
  "EQ High", // 55
  "EQ HP", // 56
  "EQ LP", // 57
  "Chorus Enabled", // 58
  "Chorus Rate", // 59
  "Chorus Depth", // 60
  "Chorus Mix", // 61
  "Delay Enabled", // 62
  "Delay Time", // 63
  "Delay Feedback", // 64
  "Delay Tone", // 65
  "Delay Mix", // 66
  "Delay Ping Pong", // 67
  "Reverb Enabled", // 68
  "Reverb Size", // 69
  "Reverb Decay", // 70
  "Reverb Damping", // 71
  "Reverb Mix", // 72
  "Stereo Width", // 73
  "Safety Clip", // 74
  "Safety Ceiling", // 75
  "Monitor", // 76
  "Analyzer", // 77
  "Analyzer Speed", // 78
  "DC Filter", // 79
  "Output Mode", // 80
  "Input Polarity", // 81
  "Post Compressor", // 82
  "Output Pan", // 83
};

const char* const ParamSpecTable::kLabels[kNumParams] = {
  "dB", // 0
  "dB", // 1
  "%", // 2
  "", // 3
  "", // 4
  "", // 5
  "dBFS", // 6
  "ms", // 7
  "ms", // 8
  "ms", // 9
  "dB", // 10
  "", // 11
  "dB", // 12
  "", // 13
  "", // 14
  "%", // 15
  "Hz", // 16
  "dB", // 17
  "Hz", // 18
  "%", // 19
  "%", // 20
  "%", // 21
  "", // 22
  "", // 23
  "%", // 24
  "%", // 25
  "%", // 26
  "%", // 27
  "%", // 28
  "%", // 29
  "%", // 30
  "%", // 31
  "%", // 32
  "%", // 33
  "Hz", // 34
  "%", // 35
  "", // 36
  "", // 37
  "", // 38
  "%", // 39
  "%", // 40
  "", // 41
  "%", // 42
  "cm", // 43
  "deg", // 44
  "%", // 45
  "", // 46
  "Hz", // 47
  "Hz", // 48
  "%", // 49
  "", // 50
  "dB", // 51
  "dB", // 52
  "Hz", // 53
  "Q", // 54
  "dB", // 55
  "Hz", // 56
  "Hz", // 57
  "", // 58
  "Hz", // 59
  "%", // 60
  "%", // 61
  "", // 62
  "ms", // 63
  "%", // 64
  "Hz", // 65
  "%", // 66
  "", // 67
  "", // 68
  "%", // 69
  "s", // 70
  "Hz", // 71
  "%", // 72
  "%", // 73
  "", // 74
  "dBFS", // 75
  "", // 76
  "", // 77
  "", // 78
  "", // 79
  "", // 80
  "", // 81
  "%", // 82
  "%", // 83
};

const float ParamSpecTable::kDefaults[kNumParams] = {
  0.0f, // 0
  0.0f, // 1
  100.0f, // 2
  0.0f, // 3
  0.0f, // 4
  1.0f, // 5
  -65.0f, // 6
  1.0f, // 7
  30.0f, // 8
  80.0f, // 9
  70.0f, // 10
  0.0f, // 11
  0.0f, // 12
  0.0f, // 13
  1.0f, // 14
  40.0f, // 15
  4000.0f, // 16
  0.0f, // 17
  80.0f, // 18
  0.0f, // 19
  15.0f, // 20
  100.0f, // 21
  1.0f, // 22
  0.0f, // 23
  45.0f, // 24
  65.0f, // 25
  50.0f, // 26
  50.0f, // 27
  50.0f, // 28
  50.0f, // 29
  50.0f, // 30
  0.0f, // 31
  25.0f, // 32
  0.0f, // 33
  80.0f, // 34
  35.0f, // 35
  1.0f, // 36
  1.0f, // 37
  2.0f, // 38
  100.0f, // 39
  50.0f, // 40
  0.0f, // 41
  35.0f, // 42
  10.0f, // 43
  5.0f, // 44
  0.0f, // 45
  2.0f, // 46
  65.0f, // 47
  10000.0f, // 48
  0.0f, // 49
  1.0f, // 50
  0.0f, // 51
  0.0f, // 52
  800.0f, // 53
  2.0f, // 54
  0.0f, // 55
  20.0f, // 56
  20000.0f, // 57
  0.0f, // 58
  0.4f, // 59
  35.0f, // 60
  20.0f, // 61
  0.0f, // 62
  350.0f, // 63
  30.0f, // 64
  4000.0f, // 65
  15.0f, // 66
  1.0f, // 67
  0.0f, // 68
  35.0f, // 69
  1.2f, // 70
  6000.0f, // 71
  15.0f, // 72
  100.0f, // 73
  0.0f, // 74
  -1.0f, // 75
  0.0f, // 76
  1.0f, // 77
  1.0f, // 78
  1.0f, // 79
  0.0f, // 80
  0.0f, // 81
  0.0f, // 82
  0.0f, // 83
};

const float ParamSpecTable::kMinimums[kNumParams] = {
  -24.0f, // 0
  -24.0f, // 1
  0.0f, // 2
  0.0f, // 3
  0.0f, // 4
  0.0f, // 5
  -90.0f, // 6
  0.1f, // 7
  0.0f, // 8
  5.0f, // 9
  0.0f, // 10
  0.0f, // 11
  -24.0f, // 12
  0.0f, // 13
  0.0f, // 14
  0.0f, // 15
  200.0f, // 16
  -24.0f, // 17
  20.0f, // 18
  -100.0f, // 19
  0.0f, // 20
  0.0f, // 21
  0.0f, // 22
  0.0f, // 23
  0.0f, // 24
  0.0f, // 25
  0.0f, // 26
  0.0f, // 27
  0.0f, // 28
  0.0f, // 29
  0.0f, // 30
  0.0f, // 31
  0.0f, // 32
  -100.0f, // 33
  20.0f, // 34
  0.0f, // 35
  0.0f, // 36
  0.0f, // 37
  0.0f, // 38
  0.0f, // 39
  0.0f, // 40
  0.0f, // 41
  0.0f, // 42
  1.0f, // 43
  0.0f, // 44
  0.0f, // 45
  0.0f, // 46
  20.0f, // 47
  1000.0f, // 48
  0.0f, // 49
  0.0f, // 50
  -18.0f, // 51
  -18.0f, // 52
  100.0f, // 53
  0.2f, // 54
  -18.0f, // 55
  20.0f, // 56
  1000.0f, // 57
  0.0f, // 58
  0.05f, // 59
  0.0f, // 60
  0.0f, // 61
  0.0f, // 62
  10.0f, // 63
  0.0f, // 64
  200.0f, // 65
  0.0f, // 66
  0.0f, // 67
  0.0f, // 68
  0.0f, // 69
  0.1f, // 70
  500.0f, // 71
  0.0f, // 72
  0.0f, // 73
  0.0f, // 74
  -12.0f, // 75
  0.0f, // 76
  0.0f, // 77
  0.0f, // 78
  0.0f, // 79
  0.0f, // 80
  0.0f, // 81
  0.0f, // 82
  -100.0f, // 83
};

const float ParamSpecTable::kMaximums[kNumParams] = {
  24.0f, // 0
  24.0f, // 1
  100.0f, // 2
  3.0f, // 3
  1.0f, // 4
  1.0f, // 5
  0.0f, // 6
  50.0f, // 7
  250.0f, // 8
  500.0f, // 9
  90.0f, // 10
  1.0f, // 11
  24.0f, // 12
  1.0f, // 13
  15.0f, // 14
  100.0f, // 15
  12000.0f, // 16
  24.0f, // 17
  800.0f, // 18
  100.0f, // 19
  100.0f, // 20
  100.0f, // 21
  1.0f, // 22
  11.0f, // 23
  100.0f, // 24
  100.0f, // 25
  100.0f, // 26
  100.0f, // 27
  100.0f, // 28
  100.0f, // 29
  100.0f, // 30
  100.0f, // 31
  100.0f, // 32
  100.0f, // 33
  500.0f, // 34
  100.0f, // 35
  3.0f, // 36
  1.0f, // 37
  9.0f, // 38
  100.0f, // 39
  100.0f, // 40
  3.0f, // 41
  100.0f, // 42
  100.0f, // 43
  90.0f, // 44
  100.0f, // 45
  3.0f, // 46
  400.0f, // 47
  20000.0f, // 48
  100.0f, // 49
  1.0f, // 50
  18.0f, // 51
  18.0f, // 52
  6000.0f, // 53
  8.0f, // 54
  18.0f, // 55
  500.0f, // 56
  20000.0f, // 57
  1.0f, // 58
  8.0f, // 59
  100.0f, // 60
  100.0f, // 61
  1.0f, // 62
  2000.0f, // 63
  85.0f, // 64
  12000.0f, // 65
  100.0f, // 66
  1.0f, // 67
  1.0f, // 68
  100.0f, // 69
  8.0f, // 70
  16000.0f, // 71
  100.0f, // 72
  200.0f, // 73
  1.0f, // 74
  0.0f, // 75
  6.0f, // 76
  1.0f, // 77
  2.0f, // 78
  1.0f, // 79
  3.0f, // 80
  1.0f, // 81
  100.0f, // 82
  100.0f, // 83
};

// Stored exactly as written, including the places where a number runs into the next word.
const char* const ParamSpecTable::kHelpTexts[kNumParams] = {
  "Trim the processed program before the gate and nonlinear chain. Original dry monitoring is untrimmed.", // 0
  "Final output trim after the normal dry/wet blend. Explicit Safety Clip can soften sample peaks; bypass returns untrimmed aligned raw dry.", // 1
  "Blend48-sample-aligned original dry with the processed chain. Wet includes the actual oversampling filter response.", // 2
  "Choose original stereo, mono sum, Left or Right for the processed input.", // 3
  "Return the exact untrimmed original dry delayed48 samples. Host and product bypass preserve latency and override monitoring/safety.", // 4
  "Enable the gate before distortion, using trimmed raw program or a real auxiliary detector.", // 5
  "Set the raw detector threshold in dBFS. Gate precedes distortion so gain does not mask input noise.", // 6
  "Gate opening time in ms. Physical entry accepts ms or s.", // 7
  "Keep the gate open for this hold time after the detector drops below threshold.", // 8
  "Gate closing/recovery time in ms; slower settings preserve natural note endings.", // 9
  "Maximum gate attenuation, in dB. This is not a hard fixed-threshold mute.", // 10
  "Use Internal or real External gate detection. Missing auxiliary falls back visibly; connected silence remains External.", // 11
  "Trim the gate detector. Check the visible detector level and external-connection indication.", // 12
  "Enable the original pedal stage before the amp; disabled passes through its input.", // 13
  "Choose sixteen original pedal behaviours. Family names describe behaviours, not exact commercial circuit replicas.", // 14
  "Increase the selected pedal's drive. Actual gain and distortion change; no automatic loudness matching hides it.", // 15
  "Set pedal colour frequency in Hz/kHz. The selected pedal topology remains distinct.", // 16
  "Pedal output level feeds the amp. Increasing it can drive the following preamp harder.", // 17
  "Remove low frequencies before the pedal's nonlinear processing; useful for tighter bass and palm mutes.", // 18
  "Change the pedal operating asymmetry. Settled zero input does not generate synthetic signal.", // 19
  "Adjust the pedal's level-dependent recovery/sag character, within the selected original topology.", // 20
  "Blend the pedal contribution inside its stage, before the amp. This is separate from global dry/wet Mix.", // 21
  "Enable the amp preamp and power stage together. Disabled amp also bypasses its power controls.", // 22
  "Choose twelve original amp families. Tone and time behaviour are inspired by broad design families, not branded exact replicas.", // 23
  "Drive the ordered preamp stages. Compare output level when changing gain.", // 24
  "Drive the power stage from the preamp. Master is before power processing and can change power-stage distortion.", // 25
  "Adjust the low section of the original interacting tone network.", // 26
  "Adjust the middle section of the original interacting tone network.", // 27
  "Adjust the upper section of the original interacting tone network.", // 28
  "Shape the upper power/amp presence character, rather than add a hidden loudness match.", // 29
  "Shape the low power/amp depth character. Check palm-mute weight against the Cabinet low cut.", // 30
  "Blend the amp's bright emphasis; the effect depends on the actual amp topology and gain.", // 31
  "Adjust signal-dependent amp supply/recovery behaviour. The live meter reports actual sag reduction.", // 32
  "Change amp operating asymmetry, with DC handling; no fake idle noise is generated.", // 33
  "High-pass/tighten the preamp input before gain. Enter Hz or kHz.", // 34
  "Drive the selected original power-stage topology. Amp must be enabled.", // 35
  "Select Single Ended, Push Pull, Tetrode or Solid State power behaviour, separately from the preamp family.", // 36
  "Enable the original causal speaker/acoustic cabinet model. There is no user or captured commercial IR loader in this release.", // 37
  "Choose ten original cabinet families. Direct Full Range still follows the documented adjustable mic/filter path.", // 38
  "Blend cabinet output with its input. At0% the cabinet and its room contribution are excluded.", // 39
  "Shape the modeled cabinet/speaker resonance. This is an original parameterized response, not a measured cabinet capture.", // 40
  "Choose the first original microphone response: bright dynamic, smooth dynamic, ribbon or condenser.", // 41
  "Move the modeled microphone from cone centre0% to edge100%. Drag the cabinet microphone horizontally for this same parameter.", // 42
  "Set modeled microphone distance in centimetres. Drag vertically in the cabinet view; distance affects proximity/room response.", // 43
  "Angle the modeled microphone away from the speaker axis, from0 to90degrees.", // 44
  "Crossmix the genuinely different second microphone path. Type remains stored when its blend is0%.", // 45
  "Choose the second microphone response; it is active when Mic Blend is above0%.", // 46
  "High-pass the cabinet/microphone output. Enter Hz or kHz.", // 47
  "Low-pass the cabinet/microphone output. Enter Hz or kHz; internal frequency is safely Nyquist bounded.", // 48
  "Add modeled short cabinet/room early returns. Cabinet Blend0 excludes this contribution.", // 49
  "Enable the post-cabinet lowshelf, mid peak, highshelf and HP/LP equalizer.", // 50
  "Post-cabinet low shelf gain in dB.", // 51
  "Post-cabinet mid peak gain in dB; select focus and Q below.", // 52
  "Mid peak centre in Hz/kHz, bounded safely for the actual sample rate.", // 53
  "Mid peak Q: larger values focus the band more tightly.", // 54
  "Post-cabinet high shelf gain in dB.", // 55
  "Post-cabinet high-pass frequency in Hz/kHz.", // 56
  "Post-cabinet low-pass frequency in Hz/kHz.", // 57
  "Enable actual stereo fractional-delay chorus after cabinet/EQ.", // 58
  "Actual chorus movement rate. Sub-Hz values remain readable and editable.", // 59
  "Chorus delay modulation depth; the waveform display continues to show actual audio.", // 60
  "Blend the chorus effect into its stage; separate from global Mix.", // 61
  "Enable feedback echo after the chorus. This is guitar ambience, not the separate LOOMHOLLOW collection plugin.", // 62
  "Actual echo delay time in ms; physical entry also accepts seconds.", // 63
  "Echo return amount, limited to85% for stability. Feedback changes actual tail duration.", // 64
  "Tone frequency in the echo feedback path. Enter Hz or kHz.", // 65
  "Blend the echo return into the post-cabinet effects path.", // 66
  "Alternate echo returns across Left/Right for ping-pong motion.", // 67
  "Enable original stereo room ambience. The separate VASTMERE plugin offers a larger reverb collection.", // 68
  "Shape the ambience room/diffusion scale, not a claimed measured physical room.", // 69
  "Reverb decay in seconds; physical entry accepts s or ms.", // 70
  "High-frequency damping frequency in the reverb tail, in Hz/kHz.", // 71
  "Blend the guitar ambience return into the effects path.", // 72
  "Scale post-ambience Side.100% is unity; mono output removes Side.", // 73
  "Explicit soft sample-peak clipping after output trim. This is not a true-peak limiter and is disabled on bypass.", // 74
  "Set the explicit soft sample-clip ceiling in dBFS. Inactive while Safety Clip is off.", // 75
  "Monitor actual Output, raw Dry, Pedal, Preamp, Power, Cabinet or real External input. All stage taps are aligned48samples; missing External is silent.", // 76
  "Show actual measured input/output FFT and waveform snapshots. No decorative signal is invented at silence.", // 77
  "Choose analyzer smoothing speed. It does not change the audio processing or gate timing.", // 78
  "Enable the original5Hz DC-removal filter. Off is useful when checking exact neutral dry calibration.", // 79
  "Choose normal Stereo, mono sum, Left or Right output. This changes actual listening, not just the display.", // 80
  "Invert the processed input polarity. Raw dry bypass remains unchanged.", // 81
  "Blend original post-effects compression amount. The live reduction meter reports real current processing.", // 82
  "Attenuate the opposite output channel for pan without secretly boosting the favoured channel.", // 83
};

namespace {

const char* const kRoutingNames[] = {"Stereo", "Mono Sum", "Left", "Right"};
const char* const kDetectorNames[] = {"Internal", "External"};
const char* const kPedalNames[] = {
  "Clean Boost", "Transparent OD", "Mid OD", "Blues OD", "Hard Distortion", "LED Drive",
  "Metal Drive", "Germanium Fuzz", "Silicon Fuzz", "Sustain Fuzz", "Gated Fuzz", "Octave Fuzz",
  "Wavefold", "Rectifier", "Bit Crush", "Starved Fuzz"};
const char* const kAmpNames[] = {
  "Americana Clean", "British Chime", "Tweed Edge", "British Crunch", "Classic Stack", "Hot Rod",
  "Brown Lead", "Modern High Gain", "Tight Metal", "Doom Stack", "Studio Solid State", "Bass Tube"};
const char* const kPowerNames[] = {"Single Ended", "Push Pull", "Tetrode", "Solid State"};
const char* const kCabinetNames[] = {
  "Open 1x10", "Open 1x12", "Open 2x12", "Closed 1x12", "Closed 2x12",
  "Vintage 4x12", "Modern 4x12", "Dark 4x12", "Bass 4x10", "Direct Full Range"};
const char* const kMicNames[] = {"Dynamic Bright", "Dynamic Smooth", "Ribbon", "Condenser"};
const char* const kMonitorNames[] = {"Output", "Dry", "Pedal", "Preamp", "Power", "Cabinet", "External"};
const char* const kSpeedNames[] = {"Fast", "Medium", "Slow"};

bool IsValidIndex(int index)
{
  return index >= 0 && index < kNumParams;
}

} // namespace

bool IsDiscreteParam(int index)
{
  switch (index)
  {
    case kParamInputRouting: case kParamBypass: case kParamGateEnabled: case kParamGateDetector:
    case kParamPedalEnabled: case kParamPedalType: case kParamAmpEnabled: case kParamAmpType:
    case kParamPowerType: case kParamCabEnabled: case kParamCabType: case kParamMicType:
    case kParamSecondMicType: case kParamEqEnabled: case kParamChorusEnabled:
    case kParamDelayEnabled: case kParamDelayPingPong: case kParamReverbEnabled:
    case kParamSafetyClip: case kParamMonitor: case kParamAnalyzer: case kParamAnalyzerSpeed:
    case kParamDcFilter: case kParamOutputMode: case kParamInputPolarity:
      return true;
    default:
      return false;
  }
}

bool IsLogScaledParam(int index)
{
  switch (index)
  {
    case kParamGateAttack: case kParamGateRelease: case kParamPedalTone: case kParamPedalLowCut:
    case kParamAmpTight: case kParamCabLowCut: case kParamCabHighCut: case kParamEqMidFrequency:
    case kParamEqMidQ: case kParamEqHp: case kParamEqLp: case kParamChorusRate:
    case kParamDelayTime: case kParamDelayTone: case kParamReverbDecay: case kParamReverbDamping:
      return true;
    default:
      return false;
  }
}

const char* ParamValueName(int index, int value)
{
  if (!IsValidIndex(index))
    return "";
  const int minimum = static_cast<int>(ParamSpecTable::kMinimums[index]);
  const int maximum = static_cast<int>(ParamSpecTable::kMaximums[index]);
  const int v = std::clamp(value, minimum, maximum);
  switch (index)
  {
    case kParamInputRouting:
    case kParamOutputMode:
      return kRoutingNames[v];
    case kParamGateDetector:
      return kDetectorNames[v];
    case kParamPedalType:
      return kPedalNames[v];
    case kParamAmpType:
      return kAmpNames[v];
    case kParamPowerType:
      return kPowerNames[v];
    case kParamCabType:
      return kCabinetNames[v];
    case kParamMicType:
    case kParamSecondMicType:
      return kMicNames[v];
    case kParamMonitor:
      return kMonitorNames[v];
    case kParamAnalyzerSpeed:
      return kSpeedNames[v];
    default:
      return v == 0 ? "Off" : "On";
  }
}

float ParamValueToFloat(double value)
{
  if (!std::isfinite(value))
    return static_cast<float>(value);
  return static_cast<float>(std::clamp(value, -static_cast<double>(FLT_MAX), static_cast<double>(FLT_MAX)));
}

void SanitizeParamValues(float out[kNumParams], const float in[kNumParams])
{
  for (int i = 0; i < kNumParams; ++i)
  {
    float value = in[i];
    if (!std::isfinite(value))
      value = ParamSpecTable::kDefaults[i];
    value = std::clamp(value, ParamSpecTable::kMinimums[i], ParamSpecTable::kMaximums[i]);
    if (IsDiscreteParam(i))
      value = std::round(value);
    out[i] = value;
  }
}
