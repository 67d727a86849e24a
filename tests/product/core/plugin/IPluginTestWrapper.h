#pragma once

#include "framework/core/IPluginAPIBase.h"
#include "framework/core/IPluginProcessor.h"

#include <mutex>
#include <vector>

// A wrapper for driving the plug-in object the way a host does, without any device or
// plug-in API: it connects channels and hands over buffers through the processor base,
// and records what a host would be told (parameter edits, latency).
class IPluginTestWrapper : public pfw::IPluginAPIBase, public pfw::IPluginProcessor
{
public:
  struct InstanceInfo
  {
    int blockSize = 512; // the largest block the host will send
  };

  struct HostEdit
  {
    enum Kind
    {
      kBegin,
      kPerform,
      kEnd
    };
    Kind kind;
    int paramIdx;
    double normalized;
  };

  IPluginTestWrapper(const InstanceInfo& info, const pfw::IPluginConfig& config);

  bool SendMidiMsg(const pfw::IMidiEvent&) override { return false; }
  void BeginHostParamEdit(int paramIdx) override;
  void PerformHostParamEdit(int paramIdx, double normalizedValue) override;
  void EndHostParamEdit(int paramIdx) override;
  void SetLatency(int samples) override;

  // One block from a host with 32-bit buffers: the first nInputs inputs and nOutputs
  // outputs connected, the rest not.
  void ProcessHostBlock(float** inputs, int nInputs, float** outputs, int nOutputs, int nFrames);
  // The same from a host with 64-bit buffers.
  void ProcessHostBlockDouble(double** inputs, int nInputs, double** outputs, int nOutputs, int nFrames);

  std::vector<HostEdit> TakeHostEdits();
  std::vector<int> latencyReports;

private:
  void Connect(int nInputs, int nOutputs);

  std::mutex mEditsLock;
  std::vector<HostEdit> mHostEdits;
};
