#pragma once

#include "framework/core/IPluginAPIBase.h"
#include "framework/core/IPluginProcessor.h"

// The render tool's stand-in for a host: the plug-in object on it is driven offline, one
// block at a time, with no device and no plug-in API around it.
class OfflineHost : public pfw::IPluginAPIBase, public pfw::IPluginProcessor
{
public:
  struct InstanceInfo
  {
    int blockSize = 512; // the largest block the tool will hand over
  };

  OfflineHost(const InstanceInfo& info, const pfw::IPluginConfig& config);

  bool SendMidiMsg(const pfw::IMidiEvent&) override { return false; }

  // One block: the first nInputs inputs (1 or 2) and both outputs connected.
  void ProcessHostBlock(float** inputs, int nInputs, float** outputs, int nFrames);
};
