#include "IPluginTestWrapper.h"

IPluginTestWrapper::IPluginTestWrapper(const InstanceInfo& info, const pfw::IPluginConfig& config)
  : pfw::IPluginAPIBase(config, 0)
  , pfw::IPluginProcessor(config)
{
  SetChannelConnections(pfw::kInput, 0, NChannels(pfw::kInput), true);
  SetChannelConnections(pfw::kOutput, 0, NChannels(pfw::kOutput), true);
  SetBlockSize(info.blockSize);
}

void IPluginTestWrapper::BeginHostParamEdit(int paramIdx)
{
  std::lock_guard<std::mutex> lock(mEditsLock);
  mHostEdits.push_back({HostEdit::kBegin, paramIdx, 0.0});
}

void IPluginTestWrapper::PerformHostParamEdit(int paramIdx, double normalizedValue)
{
  std::lock_guard<std::mutex> lock(mEditsLock);
  mHostEdits.push_back({HostEdit::kPerform, paramIdx, normalizedValue});
}

void IPluginTestWrapper::EndHostParamEdit(int paramIdx)
{
  std::lock_guard<std::mutex> lock(mEditsLock);
  mHostEdits.push_back({HostEdit::kEnd, paramIdx, 0.0});
}

std::vector<IPluginTestWrapper::HostEdit> IPluginTestWrapper::TakeHostEdits()
{
  std::lock_guard<std::mutex> lock(mEditsLock);
  std::vector<HostEdit> edits;
  edits.swap(mHostEdits);
  return edits;
}

void IPluginTestWrapper::SetLatency(int samples)
{
  latencyReports.push_back(samples);
  pfw::IPluginProcessor::SetLatency(samples);
}

void IPluginTestWrapper::Connect(int nInputs, int nOutputs)
{
  SetChannelConnections(pfw::kInput, 0, NChannels(pfw::kInput), false);
  SetChannelConnections(pfw::kInput, 0, nInputs, true);
  SetChannelConnections(pfw::kOutput, 0, NChannels(pfw::kOutput), false);
  SetChannelConnections(pfw::kOutput, 0, nOutputs, true);
}

void IPluginTestWrapper::ProcessHostBlock(float** inputs, int nInputs, float** outputs, int nOutputs, int nFrames)
{
  Connect(nInputs, nOutputs);
  AttachBuffers(pfw::kInput, 0, nInputs, inputs, nFrames);
  AttachBuffers(pfw::kOutput, 0, nOutputs, outputs, nFrames);
  ProcessBuffers(nFrames);
}

void IPluginTestWrapper::ProcessHostBlockDouble(double** inputs, int nInputs, double** outputs, int nOutputs,
                                                int nFrames)
{
  Connect(nInputs, nOutputs);
  AttachBuffers(pfw::kInput, 0, nInputs, inputs, nFrames);
  AttachBuffers(pfw::kOutput, 0, nOutputs, outputs, nFrames);
  ProcessBuffersDouble(nFrames);
}
