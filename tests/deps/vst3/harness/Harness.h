#pragma once

// A VST3 host in miniature for tests: it loads a module, drives one class through the
// interfaces only, and checks what every host relies on. The checks use GoogleTest
// assertions; a test names the module and what it expects of it.

#include "HostObjects.h"
#include "PluginModule.h"

#include <string>
#include <vector>

namespace vst3host {

struct ArrangementCase
{
  std::vector<Arrangement> inputs;
  std::vector<Arrangement> outputs;
};

struct ModuleUnderTest
{
  std::wstring path; // the DLL inside the bundle
  std::string className;
  std::string vendor;
  std::string subCategories;
  Iid classId;
  uint32_t classFlags;
  uint32_t latency;
  std::vector<ArrangementCase> accepted;
  std::vector<ArrangementCase> refused;
};

// One plug-in object and its faces, each face holding one reference.
struct Instance
{
  FUnknown* unknown = nullptr;
  IComponent* component = nullptr;
  IAudioProcessor* processor = nullptr;
  IEditController* controller = nullptr;

  // Creates, initialises with the host context and asks for the three faces.
  bool create(IPluginFactory3* factory, const Iid& classId, FUnknown* hostContext);
  // Terminates and releases every face; the object is then gone.
  void destroy();
  ~Instance() { destroy(); }
};

// Audio buffers for one block in the layout the process call wants.
class Block
{
public:
  Block(int32_t sampleSize, int32_t frames, const std::vector<int32_t>& inputChannels,
        const std::vector<int32_t>& outputChannels);
  ProcessData& data() { return mData; }
  void setInput(int32_t bus, int32_t channel, int32_t frame, double value);
  double output(int32_t bus, int32_t channel, int32_t frame) const;
  bool outputsFinite() const;
  void fillOutputs(double value);

private:
  int32_t mSampleSize;
  int32_t mFrames;
  std::vector<std::vector<double>> mStorage64;
  std::vector<std::vector<float>> mStorage32;
  std::vector<std::vector<void*>> mPointers;
  std::vector<AudioBusBuffers> mInputs;
  std::vector<AudioBusBuffers> mOutputs;
  ProcessData mData{};
  std::vector<int32_t> mInputBase;
  std::vector<int32_t> mOutputBase;
};

std::string narrow(const Utf16* text);
// Audio bus channel counts of one direction, from getBusInfo.
std::vector<int32_t> busChannels(IComponent* component, int32_t direction);
// setupProcessing, every audio bus activated as asked, setActive and setProcessing on.
bool startProcessing(Instance& instance, double rate, int32_t sampleSize, int32_t maxBlock, bool auxActive);
void stopProcessing(Instance& instance);

void checkModuleImage(const ModuleUnderTest& module);
void checkScanAndReload(const ModuleUnderTest& module);
void checkInterfaces(const ModuleUnderTest& module);
void checkBusesAndArrangements(const ModuleUnderTest& module);
void checkProcessingSweep(const ModuleUnderTest& module);
void checkImpulseLatency(const ModuleUnderTest& module);
void checkAwkwardButLegalBlocks(const ModuleUnderTest& module);
void checkLifecycleOrders(const ModuleUnderTest& module);
void checkStateRoundTripAndRefusals(const ModuleUnderTest& module);
void checkControllerParameters(const ModuleUnderTest& module);
void checkInstancesAreIndependent(const ModuleUnderTest& module);

} // namespace vst3host
