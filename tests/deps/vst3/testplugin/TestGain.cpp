// A small effect built only from the VST3 layer, so that the host harness has a module
// to drive: stereo gain with one parameter, an optional side-chain input, a fixed
// latency of 4 samples, 32- and 64-bit processing and a 12-byte state.

#include "deps/vst3/helpers/ModuleEntry.h"
#include "deps/vst3/helpers/PluginFactory.h"
#include "deps/vst3/helpers/SingleComponentEffect.h"
#include "deps/vst3/helpers/StreamTransfer.h"
#include "deps/vst3/interfaces/SpeakerArrangement.h"

#include <atomic>
#include <cmath>
#include <cstring>
#include <new>

using namespace Steinberg;
using namespace Steinberg::Vst;

namespace {

constexpr int kLatency = 4;
constexpr ParamID kGainId = 0;
constexpr char kStateMagic[4] = {'T', 'G', 'N', '1'};
constexpr int32 kStateSize = 12;

bool isMonoOrStereo(SpeakerArrangement arrangement)
{
  return arrangement == SpeakerArr::kMono || arrangement == SpeakerArr::kStereo;
}

class TestGain : public SingleComponentEffect
{
public:
  tresult VST3_CALL initialize(FUnknown* context) override
  {
    if (SingleComponentEffect::initialize(context) != kResultOk)
      return kResultFalse;
    if (!addAudioInput(u"Main", SpeakerArr::kStereo) || !addAudioInput(u"Aux", SpeakerArr::kStereo, kAux, 0) ||
        !addAudioOutput(u"Output", SpeakerArr::kStereo) || !addUnit(new (std::nothrow) Unit(u"Root", kRootUnitId, kNoParentUnitId)) ||
        !parameters.addParameter(u"Gain", u"x", 0, 0.5, ParameterInfo::kCanAutomate, kGainId))
    {
      SingleComponentEffect::terminate();
      return kResultFalse;
    }
    return kResultOk;
  }

  tresult VST3_CALL setBusArrangements(SpeakerArrangement* inputs, int32 numIns, SpeakerArrangement* outputs,
                                       int32 numOuts) override
  {
    if (numIns < 0 || numOuts < 0 || (numIns > 0 && !inputs) || (numOuts > 0 && !outputs))
      return kInvalidArgument;
    if (numIns < 1 || numIns > 2 || numOuts != 1 || outputs[0] != SpeakerArr::kStereo)
      return kResultFalse;
    for (int32 i = 0; i < numIns; ++i)
      if (!isMonoOrStereo(inputs[i]))
        return kResultFalse;
    return SingleComponentEffect::setBusArrangements(inputs, numIns, outputs, numOuts);
  }

  tresult VST3_CALL canProcessSampleSize(int32 size) override
  {
    return size == kSample32 || size == kSample64 ? kResultTrue : kResultFalse;
  }

  tresult VST3_CALL setupProcessing(ProcessSetup& setup) override
  {
    if (setup.maxSamplesPerBlock <= 0 || !(setup.sampleRate > 0.))
      return kResultFalse;
    return SingleComponentEffect::setupProcessing(setup);
  }

  tresult VST3_CALL setActive(TBool state) override
  {
    if (state)
      std::memset(delay, 0, sizeof(delay));
    return kResultOk;
  }

  tresult VST3_CALL setProcessing(TBool) override { return kResultOk; }
  uint32 VST3_CALL getLatencySamples() override { return kLatency; }

  tresult VST3_CALL process(ProcessData& data) override
  {
    if (data.numSamples < 0 || data.numSamples > processSetup.maxSamplesPerBlock ||
        data.symbolicSampleSize != processSetup.symbolicSampleSize || data.numInputs < 0 || data.numOutputs < 0 ||
        (data.numInputs > 0 && !data.inputs) || (data.numOutputs > 0 && !data.outputs))
      return kInvalidArgument;
    applyParameterChanges(data.inputParameterChanges);
    if (data.numSamples == 0 || data.numOutputs == 0)
      return kResultOk;
    if (data.symbolicSampleSize == kSample64)
      run<Sample64>(data, [](AudioBusBuffers& bus) { return bus.channelBuffers64; });
    else
      run<Sample32>(data, [](AudioBusBuffers& bus) { return bus.channelBuffers32; });
    return kResultOk;
  }

  tresult VST3_CALL getState(IBStream* stream) override
  {
    if (!stream)
      return kResultFalse;
    char bytes[kStateSize];
    std::memcpy(bytes, kStateMagic, 4);
    const double value = gain.load();
    std::memcpy(bytes + 4, &value, 8);
    return writeAll(stream, bytes, kStateSize) ? kResultOk : kResultFalse;
  }

  tresult VST3_CALL setState(IBStream* stream) override
  {
    if (!stream)
      return kResultFalse;
    char bytes[kStateSize];
    if (!readWhole(stream, bytes, kStateSize))
      return kResultFalse;
    double value = 0.;
    std::memcpy(&value, bytes + 4, 8);
    if (std::memcmp(bytes, kStateMagic, 4) != 0 || !(value >= 0. && value <= 1.))
      return kResultFalse;
    gain.store(value);
    if (Parameter* parameter = parameters.getParameter(kGainId))
      parameter->setNormalized(value);
    return kResultOk;
  }

private:
  void applyParameterChanges(IParameterChanges* changes)
  {
    const int32 count = changes ? changes->getParameterCount() : 0;
    for (int32 i = 0; i < count; ++i)
    {
      IParamValueQueue* queue = changes->getParameterData(i);
      int32 offset = 0;
      ParamValue value = 0.;
      if (!queue || queue->getParameterId() != kGainId || queue->getPointCount() < 1 ||
          queue->getPoint(queue->getPointCount() - 1, offset, value) != kResultOk || !std::isfinite(value))
        continue;
      gain.store(value < 0. ? 0. : value > 1. ? 1. : value);
    }
  }

  template <class Sample, class Channels>
  void run(ProcessData& data, Channels channelsOf)
  {
    // The main input feeds the delay; a missing, inactive or mono input is handled so
    // that the output is always defined.
    AudioBusBuffers* main = data.numInputs > 0 ? &data.inputs[0] : nullptr;
    const AudioBus* mainBus = getAudioInput(0);
    Sample** in = main && mainBus && mainBus->isActive() && main->numChannels > 0 ? channelsOf(*main) : nullptr;
    const int32 inChannels = in ? main->numChannels : 0;
    AudioBusBuffers& out = data.outputs[0];
    Sample** outChannels = channelsOf(out);
    const double factor = 2. * gain.load();
    for (int32 s = 0; s < data.numSamples; ++s)
    {
      for (int32 c = 0; c < 2; ++c)
      {
        const int32 source = inChannels > 1 ? c : 0;
        const Sample* input = in && source < inChannels ? in[source] : nullptr;
        double sample = input ? static_cast<double>(input[s]) : 0.;
        if (!std::isfinite(sample))
          sample = 0.;
        const double delayed = delay[c][position];
        delay[c][position] = sample;
        if (c < out.numChannels && outChannels && outChannels[c])
          outChannels[c][s] = static_cast<Sample>(delayed * factor);
      }
      position = (position + 1) % kLatency;
    }
    out.silenceFlags = 0;
  }

  std::atomic<double> gain{0.5};
  double delay[2][kLatency] = {};
  int position = 0;
};

FUnknown* createTestGain(void*)
{
  TestGain* effect = new (std::nothrow) TestGain;
  return effect ? static_cast<IAudioProcessor*>(effect) : nullptr;
}

bool registerTestGain(CPluginFactory& factory)
{
  // "TEST" "GAIN" "HARR" "NESS"
  return factory.registerAudioEffect({{0x54455354, 0x4741494E, 0x48415252, 0x4E455353}, "Test Gain", "Fx", "1.0.0",
                                      "VST 3.7.14"},
                                     createTestGain);
}

} // namespace

bool InitModule()
{
  return true;
}

bool ExitModule()
{
  return true;
}

extern "C" IPluginFactory* GetPluginFactory()
{
  static const PFactoryInfo info = {"Harness", "https://example.invalid", "harness@example.invalid",
                                    PFactoryInfo::kUnicode};
  return CPluginFactory::acquireModuleFactory(info, registerTestGain);
}
