// The wrapper's own paths, through a module whose plug-in class stands directly on it:
// units from parameter groups, MIDI controller parameters and mapping, MIDI in and out,
// the framework's bypass with its latency, its state format, presets and tail.

#include "TarnwickModule.h"

#include <gtest/gtest.h>

#include <cstring>
#include <thread>

using namespace vst3host;
using tarnwicktest::IMidiMapping;
using tarnwicktest::IUnitInfoFull;
using tarnwicktest::kFrameworkClassId;
using tarnwicktest::kMidiMappingIid;

namespace {

constexpr ParamID kBypassTag = 65536;

ModuleUnderTest FrameworkModule()
{
  ModuleUnderTest module;
  module.path = FRAMEWORK_TEST_MODULE_PATH;
  module.className = "Framework Test";
  module.vendor = "Harness";
  module.subCategories = "Fx";
  module.classId = kFrameworkClassId;
  module.classFlags = 2;
  module.latency = 4;
  module.accepted = {{{kStereo}, {kStereo}}, {{kStereo, kStereo}, {kStereo}}};
  module.refused = {{{kMono}, {kStereo}}, {{kStereo}, {kMono}}, {{kStereo, kStereo, kStereo}, {kStereo}}};
  return module;
}

struct NoteOn
{
  int16_t channel, pitch;
  float tuning, velocity;
  int32_t length, noteId;
};
struct LegacyCC
{
  uint8_t controlNumber;
  int8_t channel, value, value2;
};

struct FrameworkSession : tarnwicktest::Session
{
  FrameworkSession()
    : Session(FRAMEWORK_TEST_MODULE_PATH, kFrameworkClassId)
  {
  }
  tresult flush(ParamID id, ParamValue value)
  {
    Block block(kSample32, 0, {}, {});
    ParameterChanges changes;
    changes.add(id, 0, value);
    block.data().inputParameterChanges = &changes;
    return instance.processor->process(block.data());
  }
  std::vector<char> save()
  {
    MemoryStream stream;
    EXPECT_EQ(instance.component->getState(&stream), kOk);
    return stream.bytes;
  }
};

} // namespace

TEST(Vst3FrameworkPaths, HarnessChecks)
{
  const ModuleUnderTest module = FrameworkModule();
  checkModuleImage(module);
  checkScanAndReload(module);
  checkInterfaces(module);
  checkBusesAndArrangements(module);
  checkProcessingSweep(module);
  checkImpulseLatency(module);
  checkAwkwardButLegalBlocks(module);
  checkLifecycleOrders(module);
  checkControllerParameters(module);
  checkInstancesAreIndependent(module);
}

TEST(Vst3FrameworkPaths, UnitsFollowTheGroupsAndMidiControllersHaveTheirOwn)
{
  FrameworkSession session;
  ASSERT_NE(session.instance.component, nullptr);
  IUnitInfoFull* units = ask<IUnitInfoFull>(session.instance.component, iids::UnitInfo);
  ASSERT_NE(units, nullptr);
  struct Expected
  {
    int32_t id, parent;
    const char* name;
  };
  const Expected expected[] = {{0, -1, "Root"},     {1, 0, "Level"},    {2, 0, "Character"},
                               {3, 0, "Shape"},     {5, 0, "MIDI CCs"}, {6, 5, "CH1"}};
  ASSERT_EQ(units->getUnitCount(), 6);
  for (int32_t i = 0; i < 6; ++i)
  {
    UnitInfo info{};
    ASSERT_EQ(units->getUnitInfo(i, info), kOk);
    EXPECT_EQ(info.id, expected[i].id);
    EXPECT_EQ(info.parentUnitId, expected[i].parent);
    EXPECT_EQ(narrow(info.name), expected[i].name);
  }
  Utf16 name[128];
  ASSERT_EQ(units->getProgramName(65537, 1, name), kOk);
  EXPECT_EQ(narrow(name), "Second");
  EXPECT_EQ(units->getProgramName(65536, 1, name), kFalse);
  units->release();

  IEditController* controller = session.instance.controller;
  ASSERT_EQ(controller->getParameterCount(), 1 + 5 + 130);
  const int32_t expectedUnits[] = {0, 1, 2, 2, 0, 3};
  for (int32_t i = 0; i < 6; ++i)
  {
    ParameterInfo info{};
    ASSERT_EQ(controller->getParameterInfo(i, info), kOk);
    EXPECT_EQ(info.unitId, expectedUnits[i]) << i;
  }
  ParameterInfo mode{}, trim{}, volume{}, bend{};
  ASSERT_EQ(controller->getParameterInfo(2, mode), kOk);
  EXPECT_EQ(mode.flags, 1 | 8); // a list
  EXPECT_EQ(mode.stepCount, 2);
  ASSERT_EQ(controller->getParameterInfo(4, trim), kOk);
  EXPECT_EQ(trim.flags, 0); // not automatable
  EXPECT_EQ(narrow(trim.units), "dB");
  ASSERT_EQ(controller->getParameterInfo(6 + 7, volume), kOk);
  EXPECT_EQ(volume.id, 65545u);
  EXPECT_EQ(narrow(volume.title), "MainVolume");
  EXPECT_EQ(volume.unitId, 6);
  EXPECT_EQ(volume.flags, 0);
  ParameterInfo sostenuto{};
  ASSERT_EQ(controller->getParameterInfo(6 + 66, sostenuto), kOk);
  EXPECT_EQ(narrow(sostenuto.title), "Sostenuto "); // the trailing space is part of the name
  ASSERT_EQ(controller->getParameterInfo(6 + 129, bend), kOk);
  EXPECT_EQ(bend.id, 65667u);
  EXPECT_EQ(narrow(bend.title), "Pitch Bend");
  EXPECT_EQ(bend.defaultNormalizedValue, 0.5);

  // Texts: the list shows its display texts and reads them back.
  Utf16 text[128];
  ASSERT_EQ(controller->getParamStringByValue(1, 0.5, text), kOk);
  EXPECT_EQ(narrow(text), "Warm");
  Utf16 hot[] = u"Hot";
  ParamValue value = -1.;
  ASSERT_EQ(controller->getParamValueByString(1, hot, value), kOk);
  EXPECT_EQ(value, 1.);

  IMidiMapping* mapping = ask<IMidiMapping>(session.instance.component, kMidiMappingIid);
  ASSERT_NE(mapping, nullptr);
  ParamID tag = 0;
  ASSERT_EQ(mapping->getMidiControllerAssignment(0, 0, 7, tag), kOk);
  EXPECT_EQ(tag, 65545u);
  ASSERT_EQ(mapping->getMidiControllerAssignment(0, 0, 129, tag), kOk);
  EXPECT_EQ(tag, 65667u);
  EXPECT_EQ(mapping->getMidiControllerAssignment(0, 1, 7, tag), kFalse);
  EXPECT_EQ(mapping->getMidiControllerAssignment(1, 0, 7, tag), kFalse);
  mapping->release();

  EXPECT_EQ(session.instance.component->getBusCount(kEvent, kInput), 1);
  EXPECT_EQ(session.instance.component->getBusCount(kEvent, kOutput), 1);
  BusInfo midiIn{};
  ASSERT_EQ(session.instance.component->getBusInfo(kEvent, kInput, 0, midiIn), kOk);
  EXPECT_EQ(narrow(midiIn.name), "MIDI Input");
  EXPECT_EQ(midiIn.channelCount, 1);
  EXPECT_EQ(session.instance.processor->getTailSamples(), 0xFFFFFFFFu); // infinite
}

TEST(Vst3FrameworkPaths, MidiInComesBackOutAsHostEvents)
{
  FrameworkSession session;
  ASSERT_NE(session.instance.component, nullptr);
  ASSERT_TRUE(startProcessing(session.instance, 48000., kSample32, 256, false));
  Block block(kSample32, 64, {2}, {2});
  EventList in, out;
  Event note{};
  note.sampleOffset = 10;
  note.type = 0;
  const NoteOn on{3, 60, 0.f, 1.f, 0, -1};
  std::memcpy(note.payload, &on, sizeof(on));
  in.events.push_back(note);
  ParameterChanges changes;
  changes.add(65538 + 7, 5, 1.0);   // controller 7 at full
  changes.add(65538 + 129, 0, 1.0); // pitch bend at the top
  block.data().inputEvents = &in;
  block.data().outputEvents = &out;
  block.data().inputParameterChanges = &changes;
  ASSERT_EQ(session.instance.processor->process(block.data()), kOk);
  ASSERT_EQ(out.events.size(), 3u);
  // In offset order: the bend (0 + 1), the controller (5 + 1), the note (10 + 1).
  LegacyCC bendOut{}, controllerOut{};
  EXPECT_EQ(out.events[0].type, 65535);
  EXPECT_EQ(out.events[0].sampleOffset, 1);
  std::memcpy(&bendOut, out.events[0].payload, sizeof(bendOut));
  EXPECT_EQ(bendOut.controlNumber, 129);
  EXPECT_EQ(bendOut.value, 0x7F);
  EXPECT_EQ(bendOut.value2, 0x7F);
  EXPECT_EQ(out.events[1].sampleOffset, 6);
  std::memcpy(&controllerOut, out.events[1].payload, sizeof(controllerOut));
  EXPECT_EQ(controllerOut.controlNumber, 7);
  EXPECT_EQ(controllerOut.value, 127);
  EXPECT_EQ(out.events[2].type, 0);
  EXPECT_EQ(out.events[2].sampleOffset, 11);
  NoteOn echoed{};
  std::memcpy(&echoed, out.events[2].payload, sizeof(echoed));
  EXPECT_EQ(echoed.channel, 3);
  EXPECT_EQ(echoed.pitch, 60);
  EXPECT_FLOAT_EQ(echoed.velocity, 1.f);
  // Sent messages are gone: the next block sends nothing.
  Block next(kSample32, 64, {2}, {2});
  EventList none;
  next.data().outputEvents = &none;
  ASSERT_EQ(session.instance.processor->process(next.data()), kOk);
  EXPECT_TRUE(none.events.empty());
  // Blocks the set-up does not allow are refused rather than read wrongly.
  Block tooLong(kSample32, 257, {2}, {2});
  EXPECT_EQ(session.instance.processor->process(tooLong.data()), kInvalidArgument);
  Block wrongSize(kSample64, 64, {2}, {2});
  EXPECT_EQ(session.instance.processor->process(wrongSize.data()), kInvalidArgument);
  stopProcessing(session.instance);
}

TEST(Vst3FrameworkPaths, AMessageDueAfterTheBlockGoesOutInTheBlockItFallsIn)
{
  FrameworkSession session;
  ASSERT_NE(session.instance.component, nullptr);
  ASSERT_TRUE(startProcessing(session.instance, 48000., kSample32, 256, false));
  EventList in;
  Event note{};
  note.sampleOffset = 63; // echoed one sample later: frame 64, just past this block
  note.type = 0;
  const NoteOn on{0, 64, 0.f, 0.5f, 0, -1};
  std::memcpy(note.payload, &on, sizeof(on));
  in.events.push_back(note);
  Block first(kSample32, 64, {2}, {2});
  EventList firstOut;
  first.data().inputEvents = &in;
  first.data().outputEvents = &firstOut;
  ASSERT_EQ(session.instance.processor->process(first.data()), kOk);
  EXPECT_TRUE(firstOut.events.empty());
  // A block of no frames only carries parameters: nothing is due in it.
  Block flush(kSample32, 0, {2}, {2});
  EventList flushOut;
  flush.data().outputEvents = &flushOut;
  ASSERT_EQ(session.instance.processor->process(flush.data()), kOk);
  EXPECT_TRUE(flushOut.events.empty());
  Block second(kSample32, 64, {2}, {2});
  EventList secondOut;
  second.data().outputEvents = &secondOut;
  ASSERT_EQ(session.instance.processor->process(second.data()), kOk);
  ASSERT_EQ(secondOut.events.size(), 1u);
  EXPECT_EQ(secondOut.events[0].type, 0);
  EXPECT_EQ(secondOut.events[0].sampleOffset, 0);
  NoteOn echoed{};
  std::memcpy(&echoed, secondOut.events[0].payload, sizeof(echoed));
  EXPECT_EQ(echoed.pitch, 64);
  stopProcessing(session.instance);
}

TEST(Vst3FrameworkPaths, EditorSysExReachesTheHostWithBytesThatLastPastTheBlock)
{
  FrameworkSession session;
  ASSERT_NE(session.instance.component, nullptr);
  ASSERT_TRUE(startProcessing(session.instance, 48000., kSample32, 256, false));
  ASSERT_EQ(session.instance.controller->setParamNormalized(4, 0.5), kOk); // two messages from the editor
  std::vector<std::vector<uint8_t>> received;
  for (int block = 0; block < 3; ++block)
  {
    Block audio(kSample32, 64, {2}, {2});
    EventList out;
    audio.data().outputEvents = &out;
    ASSERT_EQ(session.instance.processor->process(audio.data()), kOk);
    // A host reads the events once the block is done.
    for (const Event& event : out.events)
    {
      ASSERT_EQ(event.type, 2);
      uint32_t size = 0, type = 0;
      const uint8_t* bytes = nullptr;
      std::memcpy(&size, event.payload, 4);
      std::memcpy(&type, event.payload + 4, 4);
      std::memcpy(&bytes, event.payload + 8, sizeof(bytes));
      EXPECT_EQ(type, 0u);
      EXPECT_GE(event.sampleOffset, 0);
      EXPECT_LT(event.sampleOffset, 64);
      ASSERT_EQ(size, 3u);
      ASSERT_NE(bytes, nullptr);
      received.emplace_back(bytes, bytes + size);
    }
  }
  EXPECT_EQ(received, (std::vector<std::vector<uint8_t>>{{0xF0, 1, 0xF7}, {0xF0, 2, 0xF7}}));
  stopProcessing(session.instance);
}

TEST(Vst3FrameworkPaths, BypassPassesTheInputThroughWithTheLatencyEvenInPlace)
{
  FrameworkSession session;
  ASSERT_NE(session.instance.component, nullptr);
  for (int32_t sampleSize : {kSample32, kSample64})
  {
    SCOPED_TRACE(sampleSize == kSample64 ? "64 bit" : "32 bit");
    ASSERT_TRUE(startProcessing(session.instance, 48000., sampleSize, 256, false));
    Block gain(sampleSize, 0, {}, {});
    ParameterChanges changes;
    changes.add(0, 0, 0.25); // gain 0.5, so the bypass is told apart
    changes.add(kBypassTag, 0, 1.);
    gain.data().inputParameterChanges = &changes;
    ASSERT_EQ(session.instance.processor->process(gain.data()), kOk);
    for (int round = 0; round < 2; ++round)
    {
      Block block(sampleSize, 32, {2}, {2});
      for (int32_t f = 0; f < 32; ++f)
      {
        block.setInput(0, 0, f, 0.01 * (f + 1));
        block.setInput(0, 1, f, -0.01 * (f + 1));
      }
      block.data().outputs[0].channelBuffers = block.data().inputs[0].channelBuffers; // in place
      ASSERT_EQ(session.instance.processor->process(block.data()), kOk);
      // In place, the result is in the input buffers.
      const auto result = [&](int32_t c, int32_t f) {
        void* samples = block.data().inputs[0].channelBuffers[c];
        return sampleSize == kSample64 ? static_cast<double*>(samples)[f] : static_cast<float*>(samples)[f];
      };
      for (int32_t f = 4; f < 32; ++f)
      {
        EXPECT_NEAR(result(0, f), 0.01 * (f - 3), 1e-6) << round << " " << f;
        EXPECT_NEAR(result(1, f), -0.01 * (f - 3), 1e-6) << round << " " << f;
      }
    }
    ASSERT_EQ(session.flush(kBypassTag, 0.), kOk);
    stopProcessing(session.instance);
  }
}

TEST(Vst3FrameworkPaths, FrameworkStateIsTheParametersThenTheBypass)
{
  FrameworkSession session;
  ASSERT_NE(session.instance.component, nullptr);
  ASSERT_TRUE(startProcessing(session.instance, 48000., kSample32, 256, false));
  ASSERT_EQ(session.flush(4, 0.5), kOk);
  ASSERT_EQ(session.flush(kBypassTag, 1.), kOk);
  const std::vector<char> state = session.save();
  ASSERT_EQ(state.size(), 5u * 8u + 4u);
  double drive = 0.;
  std::memcpy(&drive, state.data() + 32, 8);
  EXPECT_DOUBLE_EQ(drive, 5.);
  int32_t bypass = 0;
  std::memcpy(&bypass, state.data() + 40, 4);
  EXPECT_EQ(bypass, 1);

  // Restored from inside a larger host container: the state starts where the stream is.
  FrameworkSession other;
  ASSERT_NE(other.instance.component, nullptr);
  MemoryStream container;
  container.bytes.assign(10, 'x');
  container.bytes.insert(container.bytes.end(), state.begin(), state.end());
  container.position = 10;
  container.chunk = 7;
  ASSERT_EQ(other.instance.component->setState(&container), kOk);
  EXPECT_EQ(other.save(), state);
  EXPECT_EQ(other.instance.controller->getParamNormalized(4), 0.5);
  EXPECT_EQ(other.instance.controller->getParamNormalized(kBypassTag), 1.);

  std::vector<char> wrongBypass = state;
  const int32_t two = 2;
  std::memcpy(wrongBypass.data() + 40, &two, 4);
  MemoryStream wrong;
  wrong.bytes = wrongBypass;
  EXPECT_EQ(other.instance.component->setState(&wrong), kFalse);
  MemoryStream huge;
  huge.bytes = state;
  huge.bytes.resize(1048577, 0);
  EXPECT_EQ(other.instance.component->setState(&huge), kFalse);
  MemoryStream failing;
  failing.failWrites = true;
  EXPECT_EQ(other.instance.component->getState(&failing), kFalse); // never a cut-short save
  EXPECT_EQ(other.save(), state);
  stopProcessing(session.instance);
}

TEST(Vst3FrameworkPaths, OnlyARealLatencyChangeAsksTheHostToRestart)
{
  FrameworkSession session;
  ASSERT_NE(session.instance.component, nullptr);
  ComponentHandler handler;
  ASSERT_EQ(session.instance.controller->setComponentHandler(&handler), kOk);
  ASSERT_TRUE(startProcessing(session.instance, 48000., kSample32, 256, false));
  stopProcessing(session.instance);
  EXPECT_EQ(handler.restarts, 0);
  ASSERT_TRUE(startProcessing(session.instance, 192000., kSample32, 256, false));
  EXPECT_EQ(session.instance.processor->getLatencySamples(), 8u);
  EXPECT_EQ(handler.restarts, 1);
  EXPECT_EQ(handler.calls.back(), "restart 8");
  stopProcessing(session.instance);
  ASSERT_TRUE(startProcessing(session.instance, 192000., kSample32, 256, false));
  EXPECT_EQ(handler.restarts, 1); // the same latency again
  stopProcessing(session.instance);
}

TEST(Vst3FrameworkPaths, ALatencyChangeOffTheMainThreadIsToldAtTheNextIdleTick)
{
  FrameworkSession session;
  ASSERT_NE(session.instance.component, nullptr);
  ComponentHandler handler;
  ASSERT_EQ(session.instance.controller->setComponentHandler(&handler), kOk);
  ProcessSetup setup{kRealtime, kSample32, 256, 192000.};
  ASSERT_EQ(session.instance.processor->setupProcessing(setup), kOk);
  std::thread other([&] { session.instance.component->setActive(1); });
  other.join();
  EXPECT_EQ(handler.restarts, 0); // never from a thread the host did not initialise on
  for (int wait = 0; wait < 4000 && handler.restarts == 0; ++wait)
  {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE))
      DispatchMessageW(&message);
    Sleep(5);
  }
  EXPECT_EQ(handler.restarts, 1);
  EXPECT_EQ(handler.calls.back(), "restart 8");
  session.instance.component->setActive(0);
}
