#pragma once

#include "product/core/ChainState.h"
#include "wrappers/vst3/IPluginVST3.h"

#include <atomic>
#include <cstdint>

class TarnwickProduct;

// What the product does differently in the VST3 deliverable: its own component state (the chain state and the host bypass), its process call with the host bypass and
// the main input's silence flags and the side-chain, and its tail length.
class TarnwickVST3 : public pfw::IPluginVST3
{
public:
  // The chain state, then the host bypass as a 32-bit integer.
  static constexpr int kStateSize = kChainStateSize + static_cast<int>(sizeof(Steinberg::int32));

  TarnwickVST3(const InstanceInfo& info, const pfw::IPluginConfig& config);

  Steinberg::tresult VST3_CALL getState(Steinberg::IBStream* stream) override;
  Steinberg::tresult VST3_CALL setState(Steinberg::IBStream* stream) override;
  Steinberg::tresult VST3_CALL process(Steinberg::Vst::ProcessData& data) override;
  Steinberg::uint32 VST3_CALL getTailSamples() override;

  bool IsHostBypassed() const { return mHostBypass.load(); }
  int GetMainInputChannels() const { return mMainInputChannels; }
  bool IsAuxConnected() const { return mAuxConnected; }
  uint64_t GetMainSilenceFlags() const { return mMainSilence; }
  uint64_t GetAuxSilenceFlags() const { return mAuxSilence; }

private:
  TarnwickProduct& Product();
  bool IsWellFormed(const Steinberg::Vst::ProcessData& data) const;
  // Applies the last point of every parameter queue; true when a product value changed.
  void ApplyHostParameterChanges(Steinberg::Vst::ProcessData& data);
  static void ZeroOutputs(Steinberg::Vst::ProcessData& data);
  static void ReportSilence(Steinberg::Vst::ProcessData& data);

  // Written by the host's state calls on its user-interface thread and the bypass
  // parameter on the audio thread, which may overlap.
  std::atomic<bool> mHostBypass{false};
  int mMainInputChannels = 0;
  bool mAuxConnected = false;
  uint64_t mMainSilence = 3;
  uint64_t mAuxSilence = 3;
};
