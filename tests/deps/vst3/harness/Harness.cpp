#include "Harness.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstring>
#include <random>

namespace vst3host {

namespace {

int popcount(Arrangement arrangement)
{
  int count = 0;
  for (; arrangement; arrangement &= arrangement - 1)
    ++count;
  return count;
}

struct LoadedModule
{
  PluginModule module;
  IPluginFactory3* factory = nullptr;
  HostApplication host;

  explicit LoadedModule(const ModuleUnderTest& under)
  {
    std::string problem;
    if (!module.load(under.path, problem))
    {
      ADD_FAILURE() << problem;
      return;
    }
    EXPECT_TRUE(module.initDll());
    factory = module.factory();
    EXPECT_NE(factory, nullptr);
  }
  ~LoadedModule()
  {
    releaseAndClear(factory);
    module.unload();
  }
};

} // namespace

std::string narrow(const Utf16* text)
{
  std::string result;
  for (; text && *text; ++text)
    result += *text < 0x80 ? static_cast<char>(*text) : '?';
  return result;
}

bool Instance::create(IPluginFactory3* factory, const Iid& classId, FUnknown* hostContext)
{
  void* object = nullptr;
  if (!factory || factory->createInstance(classId.data(), iids::Component.data(), &object) != kOk || !object)
    return false;
  component = static_cast<IComponent*>(object);
  if (component->initialize(hostContext) != kOk)
  {
    releaseAndClear(component); // a failed initialize is followed by release only
    return false;
  }
  unknown = ask<FUnknown>(component, iids::FUnknown);
  processor = ask<IAudioProcessor>(component, iids::AudioProcessor);
  controller = ask<IEditController>(component, iids::EditController);
  return unknown && processor && controller;
}

void Instance::destroy()
{
  if (component)
    component->terminate();
  releaseAndClear(controller);
  releaseAndClear(processor);
  releaseAndClear(unknown);
  releaseAndClear(component);
}

Block::Block(int32_t sampleSize, int32_t frames, const std::vector<int32_t>& inputChannels,
             const std::vector<int32_t>& outputChannels)
  : mSampleSize(sampleSize)
  , mFrames(frames)
{
  const auto addBuses = [this](const std::vector<int32_t>& channels, std::vector<AudioBusBuffers>& buses,
                               std::vector<int32_t>& bases) {
    for (int32_t count : channels)
    {
      bases.push_back(static_cast<int32_t>(mPointers.size()));
      mPointers.emplace_back();
      for (int32_t c = 0; c < count; ++c)
      {
        if (mSampleSize == kSample64)
        {
          mStorage64.emplace_back(static_cast<size_t>(mFrames) + 1, 0.);
          mPointers.back().push_back(mStorage64.back().data());
        }
        else
        {
          mStorage32.emplace_back(static_cast<size_t>(mFrames) + 1, 0.f);
          mPointers.back().push_back(mStorage32.back().data());
        }
      }
      buses.push_back(AudioBusBuffers{count, 0, nullptr});
    }
  };
  mStorage64.reserve(64);
  mStorage32.reserve(64);
  addBuses(inputChannels, mInputs, mInputBase);
  addBuses(outputChannels, mOutputs, mOutputBase);
  for (size_t i = 0; i < mInputs.size(); ++i)
    mInputs[i].channelBuffers = mPointers[static_cast<size_t>(mInputBase[i])].data();
  for (size_t i = 0; i < mOutputs.size(); ++i)
    mOutputs[i].channelBuffers = mPointers[static_cast<size_t>(mOutputBase[i])].data();
  mData.processMode = kRealtime;
  mData.symbolicSampleSize = sampleSize;
  mData.numSamples = frames;
  mData.numInputs = static_cast<int32_t>(mInputs.size());
  mData.numOutputs = static_cast<int32_t>(mOutputs.size());
  mData.inputs = mInputs.empty() ? nullptr : mInputs.data();
  mData.outputs = mOutputs.empty() ? nullptr : mOutputs.data();
}

void Block::setInput(int32_t bus, int32_t channel, int32_t frame, double value)
{
  void* samples = mPointers[static_cast<size_t>(mInputBase[static_cast<size_t>(bus)])][static_cast<size_t>(channel)];
  if (mSampleSize == kSample64)
    static_cast<double*>(samples)[frame] = value;
  else
    static_cast<float*>(samples)[frame] = static_cast<float>(value);
}

double Block::output(int32_t bus, int32_t channel, int32_t frame) const
{
  const void* samples =
    mPointers[static_cast<size_t>(mOutputBase[static_cast<size_t>(bus)])][static_cast<size_t>(channel)];
  return mSampleSize == kSample64 ? static_cast<const double*>(samples)[frame]
                                  : static_cast<const float*>(samples)[frame];
}

bool Block::outputsFinite() const
{
  for (size_t bus = 0; bus < mOutputs.size(); ++bus)
    for (int32_t c = 0; c < mOutputs[bus].numChannels; ++c)
      for (int32_t f = 0; f <= mFrames; ++f) // the guard sample past the block stays untouched too
      {
        const double value = output(static_cast<int32_t>(bus), c, f);
        if (!std::isfinite(value) || (f == mFrames && value != 0.))
          return false;
      }
  return true;
}

void Block::fillOutputs(double value)
{
  for (size_t bus = 0; bus < mOutputs.size(); ++bus)
    for (int32_t c = 0; c < mOutputs[bus].numChannels; ++c)
      for (int32_t f = 0; f < mFrames; ++f)
      {
        void* samples = mPointers[static_cast<size_t>(mOutputBase[bus])][static_cast<size_t>(c)];
        if (mSampleSize == kSample64)
          static_cast<double*>(samples)[f] = value;
        else
          static_cast<float*>(samples)[f] = static_cast<float>(value);
      }
}

std::vector<int32_t> busChannels(IComponent* component, int32_t direction)
{
  std::vector<int32_t> channels;
  const int32_t count = component->getBusCount(kAudio, direction);
  for (int32_t i = 0; i < count; ++i)
  {
    BusInfo info{};
    channels.push_back(component->getBusInfo(kAudio, direction, i, info) == kOk ? info.channelCount : 0);
  }
  return channels;
}

bool startProcessing(Instance& instance, double rate, int32_t sampleSize, int32_t maxBlock, bool auxActive)
{
  if (instance.processor->canProcessSampleSize(sampleSize) != kOk)
    return false;
  ProcessSetup setup{kRealtime, sampleSize, maxBlock, rate};
  if (instance.processor->setupProcessing(setup) != kOk)
    return false;
  const int32_t inputs = instance.component->getBusCount(kAudio, kInput);
  for (int32_t i = 0; i < inputs; ++i)
  {
    BusInfo info{};
    instance.component->getBusInfo(kAudio, kInput, i, info);
    instance.component->activateBus(kAudio, kInput, i, info.busType == kMainBus || auxActive ? 1 : 0);
  }
  const int32_t outputs = instance.component->getBusCount(kAudio, kOutput);
  for (int32_t i = 0; i < outputs; ++i)
    instance.component->activateBus(kAudio, kOutput, i, 1);
  // Hosts ask once between initialize and the first activation.
  if (IProcessContextRequirements* requirements =
        ask<IProcessContextRequirements>(instance.component, iids::ProcessContextRequirements))
  {
    requirements->getProcessContextRequirements();
    requirements->release();
  }
  return instance.component->setActive(1) == kOk && instance.processor->setProcessing(1) == kOk;
}

void stopProcessing(Instance& instance)
{
  instance.processor->setProcessing(0);
  instance.component->setActive(0);
}

void checkScanAndReload(const ModuleUnderTest& under)
{
  PluginModule module;
  std::string problem;
  ASSERT_TRUE(module.load(under.path, problem)) << problem;
  ASSERT_TRUE(module.initDll());
  ASSERT_TRUE(module.initDll()); // hosts may call it more than once

  IPluginFactory3* factory = module.factory();
  ASSERT_NE(factory, nullptr);
  for (const Iid* iid : {&iids::FUnknown, &iids::PluginFactory, &iids::PluginFactory2, &iids::PluginFactory3})
  {
    void* face = nullptr;
    ASSERT_EQ(factory->queryInterface(iid->data(), &face), kOk);
    EXPECT_EQ(face, factory);
    static_cast<FUnknown*>(face)->release();
  }
  FactoryInfo factoryInfo{};
  ASSERT_EQ(factory->getFactoryInfo(&factoryInfo), kOk);
  EXPECT_EQ(std::string(factoryInfo.vendor), under.vendor);
  EXPECT_TRUE(factoryInfo.flags & kFactoryUnicode);
  ASSERT_EQ(factory->countClasses(), 1);

  ClassInfo info{};
  ASSERT_EQ(factory->getClassInfo(0, &info), kOk);
  EXPECT_TRUE(sameIid(info.cid, under.classId));
  EXPECT_EQ(info.cardinality, kManyInstances);
  EXPECT_EQ(std::string(info.category), "Audio Module Class");
  EXPECT_EQ(std::string(info.name), under.className);
  ClassInfo2 info2{};
  ASSERT_EQ(factory->getClassInfo2(0, &info2), kOk);
  EXPECT_EQ(std::memcmp(&info, &info2, sizeof(info)), 0);
  EXPECT_EQ(info2.classFlags, under.classFlags);
  EXPECT_EQ(std::string(info2.subCategories), under.subCategories);
  EXPECT_NE(std::string(info2.sdkVersion), "");
  ClassInfoW wide{};
  ASSERT_EQ(factory->getClassInfoUnicode(0, &wide), kOk);
  EXPECT_TRUE(sameIid(wide.cid, under.classId));
  EXPECT_EQ(narrow(wide.name), under.className);
  EXPECT_EQ(narrow(wide.sdkVersion), std::string(info2.sdkVersion));
  for (int32_t bad : {-1, 1})
  {
    EXPECT_EQ(factory->getClassInfo(bad, &info), kInvalidArgument);
    EXPECT_EQ(factory->getClassInfo2(bad, &info2), kInvalidArgument);
    EXPECT_EQ(factory->getClassInfoUnicode(bad, &wide), kInvalidArgument);
  }
  void* object = &object;
  Iid wrongClass = under.classId;
  wrongClass[15] = static_cast<char>(wrongClass[15] ^ 1);
  EXPECT_EQ(factory->createInstance(wrongClass.data(), iids::Component.data(), &object), kNoInterface);
  EXPECT_EQ(object, nullptr);
  object = &object;
  EXPECT_EQ(factory->createInstance(under.classId.data(), iids::UnitHandler.data(), &object), kNoInterface);
  EXPECT_EQ(object, nullptr);

  // A scan releases the factory; a later instantiation in the same process asks again.
  EXPECT_EQ(factory->release(), 0u);
  factory = module.factory();
  ASSERT_NE(factory, nullptr);
  EXPECT_EQ(factory->countClasses(), 1);
  {
    Instance instance;
    EXPECT_TRUE(instance.create(factory, under.classId, nullptr)); // a host may pass no context
  }
  factory->release();

  EXPECT_TRUE(module.exitDll());
  EXPECT_TRUE(module.exitDll());
  EXPECT_FALSE(module.exitDll()); // one more than InitDll
  module.unload();

  // Load again, as a host that rescans does.
  ASSERT_TRUE(module.load(under.path, problem)) << problem;
  ASSERT_TRUE(module.initDll());
  factory = module.factory();
  ASSERT_NE(factory, nullptr);
  HostApplication host;
  {
    Instance instance;
    EXPECT_TRUE(instance.create(factory, under.classId, &host));
  }
  EXPECT_EQ(host.references, 1);
  factory->release();
}

void checkInterfaces(const ModuleUnderTest& under)
{
  LoadedModule loaded(under);
  Instance instance;
  ASSERT_TRUE(instance.create(loaded.factory, under.classId, &loaded.host));
  for (const Iid* iid : {&iids::Component, &iids::AudioProcessor, &iids::ProcessContextRequirements,
                         &iids::EditController, &iids::EditController2, &iids::UnitInfo, &iids::PluginBase,
                         &iids::FUnknown})
  {
    FUnknown* face = ask<FUnknown>(instance.component, *iid);
    ASSERT_NE(face, nullptr);
    FUnknown* identity = ask<FUnknown>(face, iids::FUnknown);
    EXPECT_EQ(identity, instance.unknown); // one object behind every face
    releaseAndClear(identity);
    releaseAndClear(face);
  }
  // The host finds the controller through the component; connecting it to itself is refused.
  void* face = &face;
  EXPECT_EQ(instance.component->queryInterface(iids::ConnectionPoint.data(), &face), kNoInterface);
  EXPECT_EQ(face, nullptr);
  for (const Iid* iid : {&iids::UnitHandler, &iids::PlugInterfaceSupport, &iids::AudioPresentationLatency,
                         &iids::HostApplication, &iids::BStream})
  {
    face = &face;
    EXPECT_EQ(instance.controller->queryInterface(iid->data(), &face), kNoInterface);
    EXPECT_EQ(face, nullptr);
  }
  char classId[16];
  EXPECT_NE(instance.component->getControllerClassId(classId), kOk);

  IUnitInfo* units = ask<IUnitInfo>(instance.component, iids::UnitInfo);
  ASSERT_NE(units, nullptr);
  ASSERT_GE(units->getUnitCount(), 1);
  UnitInfo root{};
  ASSERT_EQ(units->getUnitInfo(0, root), kOk);
  EXPECT_EQ(root.id, 0);
  EXPECT_EQ(root.parentUnitId, -1);
  EXPECT_EQ(units->getProgramListCount(), 0);
  releaseAndClear(units);

  EXPECT_EQ(instance.controller->createView("no such view"), nullptr);
  if (FUnknown* view = instance.controller->createView("editor"))
    view->release();
}

void checkBusesAndArrangements(const ModuleUnderTest& under)
{
  LoadedModule loaded(under);
  Instance instance;
  ASSERT_TRUE(instance.create(loaded.factory, under.classId, &loaded.host));
  IComponent* component = instance.component;
  for (int32_t direction : {kInput, kOutput})
  {
    const int32_t count = component->getBusCount(kAudio, direction);
    ASSERT_GE(count, 1);
    for (int32_t i = 0; i < count; ++i)
    {
      BusInfo info{};
      ASSERT_EQ(component->getBusInfo(kAudio, direction, i, info), kOk);
      EXPECT_EQ(info.mediaType, kAudio);
      EXPECT_EQ(info.direction, direction);
      EXPECT_EQ(info.busType, i == 0 ? kMainBus : kAuxBus); // main buses first
      EXPECT_NE(narrow(info.name), "");
      Arrangement arrangement = 0;
      ASSERT_EQ(instance.processor->getBusArrangement(direction, i, arrangement), kOk);
      EXPECT_EQ(popcount(arrangement), info.channelCount);
    }
    BusInfo info{};
    EXPECT_EQ(component->getBusInfo(kAudio, direction, count, info), kInvalidArgument);
    EXPECT_EQ(component->getBusInfo(kAudio, direction, -1, info), kInvalidArgument);
    EXPECT_EQ(component->activateBus(kAudio, direction, count, 1), kInvalidArgument);
  }
  const int32_t inputBuses = component->getBusCount(kAudio, kInput);
  for (const ArrangementCase& accepted : under.accepted)
  {
    std::vector<Arrangement> inputs = accepted.inputs, outputs = accepted.outputs;
    EXPECT_EQ(instance.processor->setBusArrangements(inputs.data(), static_cast<int32_t>(inputs.size()),
                                                     outputs.data(), static_cast<int32_t>(outputs.size())),
              kOk);
    for (size_t i = 0; i < inputs.size(); ++i)
    {
      Arrangement arrangement = 0;
      EXPECT_EQ(instance.processor->getBusArrangement(kInput, static_cast<int32_t>(i), arrangement), kOk);
      EXPECT_EQ(arrangement, inputs[i]);
    }
    EXPECT_EQ(component->getBusCount(kAudio, kInput), inputBuses); // arrangements never change the bus count
  }
  for (const ArrangementCase& refused : under.refused)
  {
    std::vector<Arrangement> inputs = refused.inputs, outputs = refused.outputs;
    EXPECT_NE(instance.processor->setBusArrangements(inputs.data(), static_cast<int32_t>(inputs.size()),
                                                     outputs.data(), static_cast<int32_t>(outputs.size())),
              kOk);
    // After a refusal the buses still describe themselves consistently.
    for (int32_t direction : {kInput, kOutput})
      for (int32_t i = 0; i < component->getBusCount(kAudio, direction); ++i)
      {
        BusInfo info{};
        Arrangement arrangement = 0;
        ASSERT_EQ(component->getBusInfo(kAudio, direction, i, info), kOk);
        ASSERT_EQ(instance.processor->getBusArrangement(direction, i, arrangement), kOk);
        EXPECT_EQ(popcount(arrangement), info.channelCount);
      }
  }
}

void checkProcessingSweep(const ModuleUnderTest& under)
{
  LoadedModule loaded(under);
  Instance instance;
  ASSERT_TRUE(instance.create(loaded.factory, under.classId, &loaded.host));
  std::mt19937 random(7);
  std::uniform_real_distribution<double> noise(-1., 1.);
  const int32_t parameterCount = instance.controller->getParameterCount();
  for (double rate : {44100., 48000., 88200., 96000., 176400., 192000.})
    for (int32_t sampleSize : {kSample32, kSample64})
      for (bool aux : {false, true})
      {
        SCOPED_TRACE(testing::Message() << rate << " Hz, " << (sampleSize == kSample64 ? 64 : 32)
                                        << " bit, side-chain " << aux);
        ASSERT_TRUE(startProcessing(instance, rate, sampleSize, 4096, aux));
        const std::vector<int32_t> inputs = busChannels(instance.component, kInput);
        const std::vector<int32_t> outputs = busChannels(instance.component, kOutput);
        for (int32_t frames : {1, 2, 3, 64, 441, 512, 1000, 4096, 0})
        {
          Block block(sampleSize, frames, inputs, outputs);
          for (int32_t bus = 0; bus < static_cast<int32_t>(inputs.size()); ++bus)
            for (int32_t c = 0; c < inputs[static_cast<size_t>(bus)]; ++c)
              for (int32_t f = 0; f < frames; ++f)
                block.setInput(bus, c, f, noise(random));
          ParameterChanges changes;
          for (int32_t p = 0; p < parameterCount; ++p)
          {
            ParameterInfo info{};
            if (instance.controller->getParameterInfo(p, info) != kOk || (info.flags & 1) == 0)
              continue;
            changes.add(info.id, 0, (noise(random) + 1.) / 2.);
            changes.add(info.id, frames > 0 ? frames - 1 : 0, (noise(random) + 1.) / 2.);
          }
          block.data().inputParameterChanges = &changes;
          EventList events;
          block.data().inputEvents = &events;
          ProcessContext context{};
          context.sampleRate = rate;
          context.tempo = 120.;
          context.state = 0x400 | 0x2;
          block.data().processContext = frames % 2 ? &context : nullptr;
          ASSERT_EQ(instance.processor->process(block.data()), kOk) << frames << " frames";
          EXPECT_TRUE(block.outputsFinite()) << frames << " frames";
        }
        stopProcessing(instance);
      }
}

void checkImpulseLatency(const ModuleUnderTest& under)
{
  LoadedModule loaded(under);
  Instance instance;
  ASSERT_TRUE(instance.create(loaded.factory, under.classId, &loaded.host));
  for (int32_t sampleSize : {kSample32, kSample64})
  {
    ASSERT_TRUE(startProcessing(instance, 48000., sampleSize, 512, false));
    EXPECT_EQ(instance.processor->getLatencySamples(), under.latency);
    const int32_t frames = static_cast<int32_t>(under.latency) + 64;
    Block block(sampleSize, frames, busChannels(instance.component, kInput), busChannels(instance.component, kOutput));
    block.setInput(0, 0, 0, 1.);
    if (busChannels(instance.component, kInput)[0] > 1)
      block.setInput(0, 1, 0, 1.);
    ASSERT_EQ(instance.processor->process(block.data()), kOk);
    int32_t first = -1;
    for (int32_t f = 0; f < frames && first < 0; ++f)
      if (block.output(0, 0, f) != 0.)
        first = f;
    EXPECT_EQ(first, static_cast<int32_t>(under.latency));
    stopProcessing(instance);
  }
}

namespace {
std::vector<char> savedState(Instance& instance)
{
  MemoryStream stream;
  EXPECT_EQ(instance.component->getState(&stream), kOk);
  EXPECT_EQ(stream.references, 1);
  return stream.bytes;
}

tresult restore(Instance& instance, const std::vector<char>& bytes, int32_t chunk = 0x7FFFFFFF)
{
  MemoryStream stream;
  stream.bytes = bytes;
  stream.chunk = chunk;
  return instance.component->setState(&stream);
}

ParamID firstAutomatable(Instance& instance)
{
  for (int32_t p = 0; p < instance.controller->getParameterCount(); ++p)
  {
    ParameterInfo info{};
    if (instance.controller->getParameterInfo(p, info) == kOk && (info.flags & 1) && info.stepCount == 0)
      return info.id;
  }
  return 0xFFFFFFFFu;
}

void sendParameter(Instance& instance, ParamID id, ParamValue value)
{
  Block block(kSample32, 0, {}, {});
  ParameterChanges changes;
  changes.add(id, 0, value);
  block.data().inputParameterChanges = &changes;
  EXPECT_EQ(instance.processor->process(block.data()), kOk);
  instance.controller->setParamNormalized(id, value); // the host echoes automation to the controller
}
} // namespace

void checkStateRoundTripAndRefusals(const ModuleUnderTest& under)
{
  LoadedModule loaded(under);
  Instance instance;
  ASSERT_TRUE(instance.create(loaded.factory, under.classId, &loaded.host));
  ASSERT_TRUE(startProcessing(instance, 48000., kSample32, 512, false));
  const ParamID id = firstAutomatable(instance);
  ASSERT_NE(id, 0xFFFFFFFFu);

  sendParameter(instance, id, 0.25);
  const ParamValue saved = instance.controller->getParamNormalized(id);
  const std::vector<char> state = savedState(instance);
  ASSERT_FALSE(state.empty());
  MemoryStream chunked;
  chunked.chunk = 5; // a stream that takes a few bytes per call
  ASSERT_EQ(instance.component->getState(&chunked), kOk);
  EXPECT_EQ(chunked.bytes, state);
  MemoryStream failing;
  failing.failWrites = true;
  EXPECT_NE(instance.component->getState(&failing), kOk);
  EXPECT_NE(instance.component->getState(nullptr), kOk);

  sendParameter(instance, id, 0.75);
  ASSERT_NE(savedState(instance), state);
  ASSERT_EQ(restore(instance, state, 3), kOk);
  EXPECT_EQ(savedState(instance), state);
  EXPECT_NEAR(instance.controller->getParamNormalized(id), saved, 1e-6); // the controller follows the state

  std::vector<char> shortened(state.begin(), state.end() - 1);
  std::vector<char> lengthened = state;
  lengthened.push_back(0);
  std::vector<char> wrongStart = state;
  wrongStart[0] = static_cast<char>(wrongStart[0] ^ 0x20);
  for (const std::vector<char>* bad : {&shortened, &lengthened, &wrongStart})
  {
    EXPECT_NE(restore(instance, *bad), kOk) << bad->size() << " bytes";
    EXPECT_EQ(savedState(instance), state); // nothing changed
  }
  EXPECT_NE(restore(instance, {}), kOk);
  EXPECT_NE(instance.component->setState(nullptr), kOk);
  // The controller slots of a single object see the same bytes.
  MemoryStream controllerStream;
  controllerStream.bytes = state;
  const tresult controllerResult = instance.controller->setState(&controllerStream);
  EXPECT_TRUE(controllerResult == kOk || controllerResult == kNotImplemented);
  stopProcessing(instance);
}

void checkControllerParameters(const ModuleUnderTest& under)
{
  LoadedModule loaded(under);
  Instance instance;
  ASSERT_TRUE(instance.create(loaded.factory, under.classId, &loaded.host));
  IEditController* controller = instance.controller;
  const int32_t count = controller->getParameterCount();
  ASSERT_GE(count, 1);
  std::vector<ParamID> seen;
  for (int32_t p = 0; p < count; ++p)
  {
    ParameterInfo info{};
    ASSERT_EQ(controller->getParameterInfo(p, info), kOk);
    for (ParamID other : seen)
      EXPECT_NE(other, info.id);
    seen.push_back(info.id);
    EXPECT_NE(narrow(info.title), "");
    EXPECT_GE(info.defaultNormalizedValue, 0.);
    EXPECT_LE(info.defaultNormalizedValue, 1.);
    Utf16 text[128];
    ASSERT_EQ(controller->getParamStringByValue(info.id, info.defaultNormalizedValue, text), kOk);
    ParamValue value = -1.;
    Utf16 junk[] = u"#not a value#";
    EXPECT_NE(controller->getParamValueByString(info.id, junk, value), kOk) << narrow(info.title);
    EXPECT_EQ(controller->setParamNormalized(info.id, 1.), kOk);
    EXPECT_EQ(controller->getParamNormalized(info.id), 1.);
  }
  ParameterInfo info{};
  EXPECT_NE(controller->getParameterInfo(count, info), kOk);
  EXPECT_NE(controller->setParamNormalized(0x7FFFFFF0u, 0.5), kOk);
  EXPECT_EQ(controller->getParamNormalized(0x7FFFFFF0u), 0.);

  ComponentHandler handler;
  EXPECT_EQ(controller->setComponentHandler(&handler), kOk);
  EXPECT_GE(handler.references, 2);
  ASSERT_TRUE(startProcessing(instance, 44100., kSample32, 512, false));
  stopProcessing(instance);
  ASSERT_TRUE(startProcessing(instance, 44100., kSample32, 512, false));
  stopProcessing(instance);
  EXPECT_EQ(handler.restarts, 0) << "an unchanged latency asks for no restart";
  instance.destroy();
  EXPECT_EQ(handler.references, 1);
  EXPECT_EQ(loaded.host.references, 1);
}

void checkInstancesAreIndependent(const ModuleUnderTest& under)
{
  LoadedModule loaded(under);
  Instance first;
  Instance second;
  ASSERT_TRUE(first.create(loaded.factory, under.classId, &loaded.host));
  ASSERT_TRUE(second.create(loaded.factory, under.classId, &loaded.host));
  EXPECT_NE(first.unknown, second.unknown);
  ASSERT_TRUE(startProcessing(first, 48000., kSample32, 512, false));
  ASSERT_TRUE(startProcessing(second, 48000., kSample32, 512, false));
  const ParamID id = firstAutomatable(first);
  sendParameter(first, id, 0.);
  sendParameter(second, id, 1.);
  EXPECT_NE(savedState(first), savedState(second));
  EXPECT_EQ(first.controller->getParamNormalized(id), 0.);
  EXPECT_EQ(second.controller->getParamNormalized(id), 1.);
  stopProcessing(first);
  stopProcessing(second);
}

} // namespace vst3host

namespace vst3host {

void checkModuleImage(const ModuleUnderTest& under)
{
  PluginModule module;
  std::string problem;
  ASSERT_TRUE(module.load(under.path, problem)) << problem;
  PluginModule::Image image;
  ASSERT_TRUE(module.readImage(image));
  std::vector<std::string> names = image.exportNames;
  std::sort(names.begin(), names.end());
  EXPECT_EQ(names, (std::vector<std::string>{"ExitDll", "GetPluginFactory", "InitDll"}));
  EXPECT_EQ(image.exportedFunctions, 3u);
  // The compiler's runtimes are linked in: the module needs nothing beside it.
  for (const std::string& dll : image.importedDlls)
  {
    std::string lower;
    for (char c : dll)
      lower += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    EXPECT_EQ(lower.rfind("lib", 0), std::string::npos) << dll;
    EXPECT_EQ(lower.find("mingw"), std::string::npos) << dll;
  }
}

void checkAwkwardButLegalBlocks(const ModuleUnderTest& under)
{
  LoadedModule loaded(under);
  Instance instance;
  ASSERT_TRUE(instance.create(loaded.factory, under.classId, &loaded.host));
  for (int32_t sampleSize : {kSample32, kSample64})
  {
    SCOPED_TRACE(sampleSize == kSample64 ? "64 bit" : "32 bit");
    ASSERT_TRUE(startProcessing(instance, 44100., sampleSize, 256, false));
    const std::vector<int32_t> inputs = busChannels(instance.component, kInput);
    const std::vector<int32_t> outputs = busChannels(instance.component, kOutput);

    // Non-finite input never reaches the output.
    Block wild(sampleSize, 256, inputs, outputs);
    for (int32_t f = 0; f < 256; ++f)
      for (int32_t c = 0; c < inputs[0]; ++c)
        wild.setInput(0, c, f, f % 3 == 0 ? NAN : f % 3 == 1 ? INFINITY : -1e30);
    ASSERT_EQ(instance.processor->process(wild.data()), kOk);
    EXPECT_TRUE(wild.outputsFinite());

    // Only the main input passed: trailing inactive buses may be left out.
    Block mainOnly(sampleSize, 100, {inputs[0]}, outputs);
    ASSERT_EQ(instance.processor->process(mainOnly.data()), kOk);
    EXPECT_TRUE(mainOnly.outputsFinite());

    // An inactive side-chain passed with its channel count but null channel pointers.
    if (inputs.size() > 1)
    {
      Block nullAux(sampleSize, 100, inputs, outputs);
      std::vector<void*> nulls(static_cast<size_t>(inputs[1]), nullptr);
      nullAux.data().inputs[1].channelBuffers = nulls.data();
      ASSERT_EQ(instance.processor->process(nullAux.data()), kOk);
      EXPECT_TRUE(nullAux.outputsFinite());
    }

    // A parameter flush: no audio at all.
    Block flush(sampleSize, 0, {}, {});
    ParameterChanges changes;
    changes.add(0, 0, NAN);
    changes.add(0x7FFFFFF0u, 0, 0.5); // an id the plug-in does not have
    flush.data().inputParameterChanges = &changes;
    EXPECT_EQ(instance.processor->process(flush.data()), kOk);

    // In place: the output buffers are the input buffers.
    Block inPlace(sampleSize, 128, inputs, outputs);
    for (int32_t f = 0; f < 128; ++f)
      for (int32_t c = 0; c < inputs[0]; ++c)
        inPlace.setInput(0, c, f, 0.25);
    if (inputs[0] == outputs[0])
      inPlace.data().outputs[0].channelBuffers = inPlace.data().inputs[0].channelBuffers;
    ASSERT_EQ(instance.processor->process(inPlace.data()), kOk);
    EXPECT_TRUE(inPlace.outputsFinite());
    stopProcessing(instance);
  }
}

void checkLifecycleOrders(const ModuleUnderTest& under)
{
  LoadedModule loaded(under);
  {
    Instance instance;
    ASSERT_TRUE(instance.create(loaded.factory, under.classId, &loaded.host));
    // Switched on and off again and again, processing switched off with no block between.
    for (int round = 0; round < 3; ++round)
    {
      ASSERT_TRUE(startProcessing(instance, round == 1 ? 96000. : 44100., round == 2 ? kSample64 : kSample32, 128,
                                  round == 1));
      EXPECT_EQ(instance.processor->setProcessing(0), kOk);
      EXPECT_EQ(instance.processor->setProcessing(1), kOk);
      instance.processor->getTailSamples();
      Block block(round == 2 ? kSample64 : kSample32, 128, busChannels(instance.component, kInput),
                  busChannels(instance.component, kOutput));
      block.setInput(0, 0, 0, 1.);
      ASSERT_EQ(instance.processor->process(block.data()), kOk);
      EXPECT_TRUE(block.outputsFinite());
      // The state may be read while the audio thread runs.
      MemoryStream stream;
      EXPECT_EQ(instance.component->getState(&stream), kOk);
      stopProcessing(instance);
      if (!under.accepted.empty())
      {
        std::vector<Arrangement> inputs = under.accepted[static_cast<size_t>(round) % under.accepted.size()].inputs;
        std::vector<Arrangement> outputs = under.accepted[static_cast<size_t>(round) % under.accepted.size()].outputs;
        EXPECT_EQ(instance.processor->setBusArrangements(inputs.data(), static_cast<int32_t>(inputs.size()),
                                                         outputs.data(), static_cast<int32_t>(outputs.size())),
                  kOk);
      }
    }
  }
  {
    // A host that terminates while still active, and one that releases without terminate.
    Instance active;
    ASSERT_TRUE(active.create(loaded.factory, under.classId, &loaded.host));
    ASSERT_TRUE(startProcessing(active, 48000., kSample32, 64, true));
    active.destroy();
    Instance abandoned;
    ASSERT_TRUE(abandoned.create(loaded.factory, under.classId, &loaded.host));
    releaseAndClear(abandoned.controller);
    releaseAndClear(abandoned.processor);
    releaseAndClear(abandoned.unknown);
    releaseAndClear(abandoned.component);
  }
  EXPECT_EQ(loaded.host.references, 1);
}

} // namespace vst3host
