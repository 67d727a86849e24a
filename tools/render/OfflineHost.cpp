#include "tools/render/OfflineHost.h"

OfflineHost::OfflineHost(const InstanceInfo& info, const pfw::IPluginConfig& config)
  : pfw::IPluginAPIBase(config, 0)
  , pfw::IPluginProcessor(config)
{
  SetBlockSize(info.blockSize);
}

void OfflineHost::ProcessHostBlock(float** inputs, int nInputs, float** outputs, int nFrames)
{
  SetChannelConnections(pfw::kInput, 0, NChannels(pfw::kInput), false);
  SetChannelConnections(pfw::kInput, 0, nInputs, true);
  SetChannelConnections(pfw::kOutput, 0, NChannels(pfw::kOutput), true);
  AttachBuffers(pfw::kInput, 0, nInputs, inputs, nFrames);
  AttachBuffers(pfw::kOutput, 0, 2, outputs, nFrames);
  ProcessBuffers(nFrames);
}
