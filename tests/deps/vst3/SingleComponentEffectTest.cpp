#include "CountedProbes.h"

#include "deps/vst3/helpers/SingleComponentEffect.h"
#include "deps/vst3/helpers/StringListParameter.h"
#include "deps/vst3/interfaces/IChannelContext.h"
#include "deps/vst3/interfaces/IMidiMapping.h"
#include "deps/vst3/interfaces/SpeakerArrangement.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <string>

using namespace Steinberg;
using namespace Steinberg::Vst;
using namespace vst3test;

namespace {

// An effect with a stereo main input, a mono side-chain, a stereo output, one event
// input, two parameters and a unit, declared in initialize as a plug-in would.
class TestEffect : public SingleComponentEffect
{
public:
  tresult VST3_CALL initialize(FUnknown* context) override
  {
    const tresult result = SingleComponentEffect::initialize(context);
    if (result != kResultOk)
      return result;
    addAudioInput(u"Main", SpeakerArr::kStereo);
    addAudioInput(u"Aux", SpeakerArr::kMono, kAux, 0);
    addAudioOutput(u"Output", SpeakerArr::kStereo);
    addEventInput(u"MIDI Input", 1);
    addUnit(new Unit(u"Root", kRootUnitId, kNoParentUnitId));
    addUnit(new Unit(u"Amp", 1));
    parameters.addParameter(u"Gain", u"dB", 0, 0.5, ParameterInfo::kCanAutomate, 0, 1);
    StringListParameter* bypass =
      new StringListParameter(u"Bypass", 65536, nullptr,
                              ParameterInfo::kCanAutomate | ParameterInfo::kIsList | ParameterInfo::kIsBypass);
    bypass->appendString(u"off");
    bypass->appendString(u"on");
    parameters.addParameter(bypass);
    return kResultOk;
  }
};

TestEffect* makeInitialised(CountedHost& host)
{
  TestEffect* effect = new TestEffect;
  EXPECT_EQ(effect->initialize(&host), kResultOk);
  return effect;
}

BusInfo busInfo(IComponent* component, MediaType type, BusDirection dir, int32 index, tresult& result)
{
  BusInfo info;
  std::memset(&info, 0x5A, sizeof(info));
  result = component->getBusInfo(type, dir, index, info);
  return info;
}

} // namespace

TEST(SingleComponentEffect, AnswersTheInterfacesOfOneObject)
{
  TestEffect* effect = new TestEffect;
  void* unknown = nullptr;
  ASSERT_EQ(effect->queryInterface(FUnknown::iid, &unknown), kResultOk);
  const char* answered[] = {IComponent::iid,      IAudioProcessor::iid, IProcessContextRequirements::iid,
                            IEditController::iid, IEditController2::iid, IUnitInfo::iid,
                            IPluginBase::iid,     FUnknown::iid,         IDependent::iid};
  for (const char* iid : answered)
  {
    void* face = nullptr;
    ASSERT_EQ(effect->queryInterface(iid, &face), kResultOk);
    ASSERT_NE(face, nullptr);
    // Every face leads back to one identity.
    void* identity = nullptr;
    ASSERT_EQ(static_cast<FUnknown*>(face)->queryInterface(FUnknown::iid, &identity), kResultOk);
    EXPECT_EQ(identity, unknown);
    static_cast<FUnknown*>(identity)->release();
    static_cast<FUnknown*>(face)->release();
  }
  void* component = nullptr;
  ASSERT_EQ(effect->queryInterface(IComponent::iid, &component), kResultOk);
  EXPECT_EQ(component, static_cast<IComponent*>(effect));
  void* controller = nullptr;
  ASSERT_EQ(static_cast<IComponent*>(component)->queryInterface(IEditController::iid, &controller), kResultOk);
  EXPECT_EQ(controller, static_cast<IEditController*>(effect));
  static_cast<FUnknown*>(controller)->release();
  static_cast<FUnknown*>(component)->release();

  const char* refused[] = {IConnectionPoint::iid, IMidiMapping::iid, ChannelContext::IInfoListener::iid,
                           IPlugView::iid, IComponentHandler::iid};
  for (const char* iid : refused)
  {
    void* face = effect;
    EXPECT_EQ(effect->queryInterface(iid, &face), kNoInterface);
    EXPECT_EQ(face, nullptr);
  }
  EXPECT_EQ(effect->getRefCount(), 2u);
  static_cast<FUnknown*>(unknown)->release();
  EXPECT_EQ(effect->release(), 0u);
}

TEST(SingleComponentEffect, KeepsTheHostContextFromInitializeToTerminate)
{
  CountedHost host;
  TestEffect* effect = makeInitialised(host);
  EXPECT_EQ(host.references, 2);
  EXPECT_EQ(effect->getHostContext(), &host);
  EXPECT_EQ(effect->initialize(&host), kResultFalse); // a second initialize
  EXPECT_EQ(host.references, 2);
  EXPECT_EQ(effect->terminate(), kResultOk);
  EXPECT_EQ(host.references, 1);
  EXPECT_EQ(effect->getBusCount(kAudio, kInput), 0);
  EXPECT_EQ(effect->getParameterCount(), 0);
  EXPECT_EQ(effect->getUnitCount(), 0);
  // initialize may follow terminate again.
  EXPECT_EQ(effect->initialize(&host), kResultOk);
  EXPECT_EQ(effect->getParameterCount(), 2);
  effect->release(); // destruction releases the context too
  EXPECT_EQ(host.references, 1);
}

TEST(SingleComponentEffect, ASecondInitializeIsRefusedEvenWithoutAContext)
{
  TestEffect* effect = new TestEffect;
  EXPECT_EQ(effect->initialize(nullptr), kResultOk);
  EXPECT_EQ(effect->initialize(nullptr), kResultFalse);
  EXPECT_EQ(effect->getBusCount(kAudio, kInput), 2); // nothing declared twice
  EXPECT_EQ(effect->getParameterCount(), 2);
  EXPECT_EQ(effect->terminate(), kResultOk);
  EXPECT_EQ(effect->initialize(nullptr), kResultOk);
  EXPECT_EQ(effect->getParameterCount(), 2);
  effect->release();
}

TEST(SingleComponentEffect, DescribesItsBuses)
{
  CountedHost host;
  TestEffect* effect = makeInitialised(host);
  EXPECT_EQ(effect->getBusCount(kAudio, kInput), 2);
  EXPECT_EQ(effect->getBusCount(kAudio, kOutput), 1);
  EXPECT_EQ(effect->getBusCount(kEvent, kInput), 1);
  EXPECT_EQ(effect->getBusCount(kEvent, kOutput), 0);
  EXPECT_EQ(effect->getBusCount(7, kInput), 0);
  EXPECT_EQ(effect->getBusCount(kAudio, 5), 0);

  tresult result;
  BusInfo aux = busInfo(effect, kAudio, kInput, 1, result);
  EXPECT_EQ(result, kResultTrue);
  EXPECT_EQ(aux.mediaType, kAudio);
  EXPECT_EQ(aux.direction, kInput);
  EXPECT_EQ(aux.channelCount, 1);
  EXPECT_EQ(std::u16string(aux.name), u"Aux");
  EXPECT_EQ(aux.name[127], 0); // no stale bytes after the name
  EXPECT_EQ(aux.busType, kAux);
  EXPECT_EQ(aux.flags, 0u);
  BusInfo main = busInfo(effect, kAudio, kInput, 0, result);
  EXPECT_EQ(main.channelCount, 2);
  EXPECT_EQ(main.flags, static_cast<uint32>(BusInfo::kDefaultActive));
  BusInfo midi = busInfo(effect, kEvent, kInput, 0, result);
  EXPECT_EQ(midi.channelCount, 1);
  EXPECT_EQ(midi.mediaType, kEvent);

  for (int32 bad : {-1, 2, 100})
  {
    busInfo(effect, kAudio, kInput, bad, result);
    EXPECT_EQ(result, kInvalidArgument) << bad;
  }
  busInfo(effect, 3, kInput, 0, result);
  EXPECT_EQ(result, kInvalidArgument);
  effect->terminate();
  effect->release();
}

TEST(SingleComponentEffect, BusesStartInactiveAndFollowActivateBus)
{
  CountedHost host;
  TestEffect* effect = makeInitialised(host);
  EXPECT_FALSE(effect->getAudioInput(0)->isActive()); // kDefaultActive is only a wish
  EXPECT_FALSE(effect->getAudioInput(1)->isActive());
  EXPECT_EQ(effect->activateBus(kAudio, kInput, 1, 1), kResultTrue);
  EXPECT_TRUE(effect->getAudioInput(1)->isActive());
  EXPECT_FALSE(effect->getAudioInput(0)->isActive());
  EXPECT_EQ(effect->activateBus(kAudio, kInput, 1, 0), kResultTrue);
  EXPECT_FALSE(effect->getAudioInput(1)->isActive());
  EXPECT_EQ(effect->activateBus(kAudio, kOutput, 0, 255), kResultTrue); // any non-zero is active
  EXPECT_TRUE(effect->getAudioOutput(0)->isActive());
  EXPECT_EQ(effect->activateBus(kAudio, kInput, 2, 1), kInvalidArgument);
  EXPECT_EQ(effect->activateBus(kAudio, kInput, -1, 1), kInvalidArgument);
  EXPECT_EQ(effect->activateBus(kEvent, kOutput, 0, 1), kInvalidArgument);
  effect->terminate();
  effect->release();
}

TEST(SingleComponentEffect, SetsAndReportsArrangements)
{
  CountedHost host;
  TestEffect* effect = makeInitialised(host);
  SpeakerArrangement inputs[] = {SpeakerArr::kMono, SpeakerArr::kStereo};
  SpeakerArrangement outputs[] = {SpeakerArr::kStereo};
  EXPECT_EQ(effect->setBusArrangements(inputs, 2, outputs, 1), kResultTrue);
  SpeakerArrangement arrangement = 0;
  EXPECT_EQ(effect->getBusArrangement(kInput, 0, arrangement), kResultTrue);
  EXPECT_EQ(arrangement, SpeakerArr::kMono);
  EXPECT_EQ(effect->getBusArrangement(kInput, 1, arrangement), kResultTrue);
  EXPECT_EQ(arrangement, SpeakerArr::kStereo);
  tresult result;
  EXPECT_EQ(busInfo(effect, kAudio, kInput, 1, result).channelCount, 2);

  SpeakerArrangement tooMany[] = {SpeakerArr::kStereo, SpeakerArr::kStereo, SpeakerArr::kStereo};
  EXPECT_EQ(effect->setBusArrangements(tooMany, 3, outputs, 1), kResultFalse);
  EXPECT_EQ(effect->setBusArrangements(inputs, 2, tooMany, 2), kResultFalse);
  EXPECT_EQ(effect->setBusArrangements(inputs, -1, outputs, 1), kInvalidArgument);
  EXPECT_EQ(effect->setBusArrangements(nullptr, 1, outputs, 1), kInvalidArgument);
  EXPECT_EQ(effect->getBusArrangement(kInput, 0, arrangement), kResultTrue);
  EXPECT_EQ(arrangement, SpeakerArr::kMono); // refusals changed nothing
  EXPECT_EQ(effect->getBusArrangement(kOutput, 1, arrangement), kInvalidArgument);
  EXPECT_EQ(effect->getBusArrangement(kOutput, -1, arrangement), kInvalidArgument);
  effect->terminate();
  effect->release();
}

TEST(SingleComponentEffect, ProcessingDefaults)
{
  TestEffect* effect = new TestEffect;
  const ProcessSetup& stored = effect->getProcessSetup();
  EXPECT_EQ(stored.processMode, kRealtime);
  EXPECT_EQ(stored.symbolicSampleSize, kSample32);
  EXPECT_EQ(stored.maxSamplesPerBlock, 1024);
  EXPECT_EQ(stored.sampleRate, 44100.);
  EXPECT_EQ(effect->canProcessSampleSize(kSample32), kResultTrue);
  EXPECT_EQ(effect->canProcessSampleSize(kSample64), kResultFalse);

  ProcessSetup wide{kOffline, kSample64, 256, 96000.};
  EXPECT_EQ(effect->setupProcessing(wide), kResultFalse);
  EXPECT_EQ(stored.sampleRate, 44100.); // unchanged
  ProcessSetup setup{kPrefetch, kSample32, 256, 96000.};
  EXPECT_EQ(effect->setupProcessing(setup), kResultOk);
  EXPECT_EQ(stored.processMode, kPrefetch);
  EXPECT_EQ(stored.maxSamplesPerBlock, 256);
  EXPECT_EQ(stored.sampleRate, 96000.);

  TUID classId;
  EXPECT_EQ(effect->getControllerClassId(classId), kNotImplemented);
  EXPECT_EQ(effect->setIoMode(kAdvanced), kNotImplemented);
  RoutingInfo in{}, out{};
  EXPECT_EQ(effect->getRoutingInfo(in, out), kNotImplemented);
  EXPECT_EQ(effect->setActive(1), kResultOk);
  EXPECT_EQ(effect->getLatencySamples(), 0u);
  EXPECT_EQ(effect->getTailSamples(), kNoTail);
  EXPECT_EQ(effect->getProcessContextRequirements(), 0u);
  ProcessData data{};
  EXPECT_EQ(effect->process(data), kNotImplemented);
  EXPECT_EQ(effect->setProcessing(1), kNotImplemented);
  // Without its own state the component and the controller slots say so.
  EXPECT_EQ(static_cast<IComponent*>(effect)->getState(nullptr), kNotImplemented);
  EXPECT_EQ(static_cast<IEditController*>(effect)->setState(nullptr), kNotImplemented);
  EXPECT_EQ(effect->setComponentState(nullptr), kNotImplemented);
  effect->release();
}

TEST(EditController, ServesParametersByIndexAndId)
{
  CountedHost host;
  TestEffect* effect = makeInitialised(host);
  ASSERT_EQ(effect->getParameterCount(), 2);
  ParameterInfo info{};
  ASSERT_EQ(effect->getParameterInfo(1, info), kResultTrue);
  EXPECT_EQ(info.id, 65536u);
  EXPECT_EQ(std::u16string(info.title), u"Bypass");
  EXPECT_EQ(info.stepCount, 1);
  EXPECT_EQ(info.flags, ParameterInfo::kCanAutomate | ParameterInfo::kIsList | ParameterInfo::kIsBypass);
  EXPECT_EQ(effect->getParameterInfo(2, info), kResultFalse);
  EXPECT_EQ(effect->getParameterInfo(-1, info), kResultFalse);

  EXPECT_EQ(effect->getParamNormalized(0), 0.5);
  EXPECT_EQ(effect->setParamNormalized(0, 1.5), kResultTrue);
  EXPECT_EQ(effect->getParamNormalized(0), 1.); // clamped
  EXPECT_EQ(effect->setParamNormalized(0, -3.), kResultTrue);
  EXPECT_EQ(effect->getParamNormalized(0), 0.);
  EXPECT_EQ(effect->setParamNormalized(0, 0.25), kResultTrue);
  EXPECT_EQ(effect->setParamNormalized(0, std::nan("")), kResultFalse);
  EXPECT_EQ(effect->getParamNormalized(0), 0.25);
  EXPECT_EQ(effect->setParamNormalized(77, 0.5), kResultFalse);
  EXPECT_EQ(effect->getParamNormalized(77), 0.);
  EXPECT_EQ(effect->normalizedParamToPlain(77, 0.3), 0.3);
  EXPECT_EQ(effect->plainParamToNormalized(77, 12.), 12.);
  EXPECT_EQ(effect->normalizedParamToPlain(65536, 0.7), 1.);
  EXPECT_EQ(effect->plainParamToNormalized(65536, 1.), 1.);

  String128 text;
  ASSERT_EQ(effect->getParamStringByValue(65536, 1., text), kResultTrue);
  EXPECT_EQ(std::u16string(text), u"on");
  EXPECT_EQ(effect->getParamStringByValue(77, 1., text), kResultFalse);
  ParamValue value = -1.;
  TChar off[] = u"off";
  ASSERT_EQ(effect->getParamValueByString(65536, off, value), kResultTrue);
  EXPECT_EQ(value, 0.);
  TChar junk[] = u"maybe";
  EXPECT_EQ(effect->getParamValueByString(65536, junk, value), kResultFalse);
  EXPECT_EQ(effect->getParamValueByString(0, junk, value), kResultFalse);
  EXPECT_EQ(effect->getParamValueByString(77, off, value), kResultFalse);
  effect->terminate();
  effect->release();
}

TEST(EditController, SendsEditGesturesThroughTheHandler)
{
  TestEffect* effect = new TestEffect;
  EXPECT_EQ(effect->beginEdit(0), kResultFalse); // no handler yet
  EXPECT_EQ(effect->performEdit(0, 0.5), kResultFalse);
  EXPECT_EQ(effect->endEdit(0), kResultFalse);
  EXPECT_EQ(effect->startGroupEdit(), kNotImplemented);

  RecordingHandler handler(true);
  EXPECT_EQ(effect->setComponentHandler(&handler), kResultTrue);
  EXPECT_EQ(handler.references, 3); // the handler and its second face
  EXPECT_EQ(effect->setComponentHandler(&handler), kResultTrue);
  EXPECT_EQ(handler.references, 3); // the same one again changes nothing
  effect->startGroupEdit();
  effect->beginEdit(4);
  effect->performEdit(4, 0.25);
  effect->endEdit(4);
  effect->finishGroupEdit();
  EXPECT_EQ(handler.calls, (std::vector<std::string>{"start group", "begin 4", "perform 4 0.250000", "end 4",
                                                     "finish group"}));

  RecordingHandler plain(false);
  EXPECT_EQ(effect->setComponentHandler(&plain), kResultTrue);
  EXPECT_EQ(handler.references, 1); // the old one is released, both faces
  EXPECT_EQ(plain.references, 2);
  EXPECT_EQ(effect->startGroupEdit(), kNotImplemented);
  EXPECT_TRUE(plain.calls.empty());
  EXPECT_EQ(effect->terminate(), kResultOk);
  EXPECT_EQ(plain.references, 1);
  EXPECT_EQ(effect->getComponentHandler(), nullptr);
  effect->release();
}

TEST(EditController, ControllerExtrasAnswerAsHostsExpect)
{
  TestEffect* effect = new TestEffect;
  EXPECT_EQ(effect->setKnobMode(kLinearMode), kResultTrue);
  EXPECT_EQ(effect->getKnobMode(), kLinearMode);
  EXPECT_EQ(effect->openHelp(1), kResultFalse);
  EXPECT_EQ(effect->openAboutBox(0), kResultFalse);
  EXPECT_EQ(effect->createView("editor"), nullptr);
  effect->release();
}

TEST(EditControllerEx1, ListsUnitsWithoutProgramLists)
{
  CountedHost host;
  TestEffect* effect = makeInitialised(host);
  ASSERT_EQ(effect->getUnitCount(), 2);
  UnitInfo info{};
  ASSERT_EQ(effect->getUnitInfo(1, info), kResultTrue);
  EXPECT_EQ(info.id, 1);
  EXPECT_EQ(info.parentUnitId, kRootUnitId);
  EXPECT_EQ(std::u16string(info.name), u"Amp");
  EXPECT_EQ(info.programListId, kNoProgramListId);
  ASSERT_EQ(effect->getUnitInfo(0, info), kResultTrue);
  EXPECT_EQ(info.parentUnitId, kNoParentUnitId);
  EXPECT_EQ(effect->getUnitInfo(2, info), kResultFalse);
  EXPECT_EQ(effect->getUnitInfo(-1, info), kResultFalse);

  EXPECT_EQ(effect->getProgramListCount(), 0);
  ProgramListInfo list{};
  EXPECT_EQ(effect->getProgramListInfo(0, list), kResultFalse);
  String128 name;
  EXPECT_EQ(effect->getProgramName(0, 0, name), kResultFalse);
  EXPECT_EQ(effect->getProgramInfo(0, 0, "x", name), kResultFalse);
  EXPECT_EQ(effect->hasProgramPitchNames(0, 0), kResultFalse);
  EXPECT_EQ(effect->getProgramPitchName(0, 0, 60, name), kResultFalse);
  EXPECT_EQ(effect->getSelectedUnit(), 0);
  EXPECT_EQ(effect->selectUnit(1), kResultTrue);
  EXPECT_EQ(effect->getSelectedUnit(), 1);
  UnitID unit = 5;
  EXPECT_EQ(effect->getUnitByBus(kAudio, kInput, 0, 0, unit), kResultFalse);
  EXPECT_EQ(effect->setUnitProgramData(0, 0, nullptr), kResultFalse);
  effect->terminate();
  effect->release();
}

TEST(SingleComponentEffect, NamesItsClassChain)
{
  TestEffect* effect = new TestEffect;
  EXPECT_STREQ(effect->isA(), "SingleComponentEffect");
  for (const char* name : {"SingleComponentEffect", "EditControllerEx1", "EditController", "ComponentBase", "FObject"})
    EXPECT_TRUE(effect->isTypeOf(name)) << name;
  EXPECT_FALSE(effect->isTypeOf("EditController", false));
  effect->release();
}
