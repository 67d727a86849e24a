#pragma once

// The VST3 deliverable as the host harness sees it, and a loaded module with one running
// instance for the tests that drive single blocks.

#include "harness/Harness.h"

#include <gtest/gtest.h>

#include <vector>

namespace tarnwicktest {

using namespace vst3host;

// Class id words "QUIL" "LTON" "Qltn" "Tarn" in the module's byte order.
inline const Iid kClassId = iidFromMemoryBytes("4C495551 544C4E4F 516C746E 5461726E");

// The class of the module whose plug-in stands directly on the wrapper.
inline const Iid kFrameworkClassId = iidFromMemoryBytes("54534554 5246574D 48415252 4E455353");

constexpr uint32_t kLatency = 48;
constexpr int32_t kParamCount = 84;
constexpr ParamID kBypassTag = 65536;
constexpr ParamID kParamOutput = 1;
constexpr ParamID kParamMix = 2;

ModuleUnderTest Tarnwick();

// The interfaces the harness leaves out, declared from the published slot order. They
// live in a named namespace: the compiler may treat calls through an interface that has
// internal linkage and no implementation in sight as unreachable.
class IMidiMapping : public FUnknown
{
public:
  virtual tresult HOST_CALL getMidiControllerAssignment(int32_t busIndex, int16_t channel, int16_t controller,
                                                        ParamID& id) = 0;
};
inline const Iid kMidiMappingIid = iidFromMemoryBytes("F7F90FDF B7496946 B63AB732 7ADBF5E5");

class IUnitInfoFull : public FUnknown
{
public:
  virtual int32_t HOST_CALL getUnitCount() = 0;
  virtual tresult HOST_CALL getUnitInfo(int32_t unitIndex, UnitInfo& info) = 0;
  virtual int32_t HOST_CALL getProgramListCount() = 0;
  virtual tresult HOST_CALL getProgramListInfo(int32_t listIndex, void* info) = 0;
  virtual tresult HOST_CALL getProgramName(int32_t listId, int32_t programIndex, Utf16* name) = 0;
};

// A loaded module with one initialised instance: the deliverable's unless named.
struct Session
{
  PluginModule module;
  IPluginFactory3* factory = nullptr;
  HostApplication host;
  Instance instance;
  int32_t sampleSize = kSample32; // of the last set-up

  explicit Session(const wchar_t* modulePath = TARNWICK_MODULE_PATH, const Iid& classId = kClassId);
  ~Session();
  bool ok() const { return instance.processor != nullptr; }
  // Set-up, every main bus active (the side-chain as asked), activated and processing.
  void start(double rate, int32_t sampleSize, int32_t maxBlock, bool aux = false);
  // One block; the parameter changes, if any, are those given.
  tresult run(Block& block, ParameterChanges* changes = nullptr);
  // A block of no frames that only carries one parameter change.
  void send(ParamID id, ParamValue value);
};

// Every parameter's record, in the controller's order.
std::vector<ParameterInfo> Parameters(Session& session);

// A block with a stereo main input, an optional stereo side-chain and a stereo output.
std::vector<int32_t> StereoInputs(bool aux);

// Fills the main input's two channels from a generator of (frame) -> sample.
template <class Generator>
void FillMain(Block& block, int32_t frames, int32_t channels, Generator generator, int32_t firstFrame = 0)
{
  for (int32_t f = 0; f < frames; ++f)
    for (int32_t c = 0; c < channels; ++c)
      block.setInput(0, c, f, generator(firstFrame + f));
}

// Energy of one frequency in a signal (Goertzel).
double ToneLevel(const std::vector<double>& signal, double frequency, double rate);

} // namespace tarnwicktest
