#pragma once

#include "framework/core/IPluginAPIBase.h"

#include <atomic>
#include <string>
#include <utility>
#include <vector>

// A plug-in on the API base that records what reaches the host and the editor side.
class RecordingPlugin : public pfw::IPluginAPIBase
{
public:
  static pfw::IPluginConfig Config(int nParams = 4, int nPresets = 3)
  {
    pfw::IPluginConfig config;
    config.nParams = nParams;
    config.nPresets = nPresets;
    config.channelIOStr = "1-1 1-2 2-2";
    config.pluginName = "TARN WICK";
    config.productName = "TARN WICK";
    config.mfrName = "QUILLTONE";
    config.vendorVersion = 0x00010203;
    config.uniqueID = pfw::FourCharCode("Tarn");
    config.mfrID = pfw::FourCharCode("Qltn");
    config.plugDoesChunks = true;
    config.plugHasUI = true;
    config.plugWidth = 1180;
    config.plugHeight = 800;
    config.plugMinWidth = 3540; // given in the wrong order on purpose
    config.plugMaxWidth = 393;
    config.plugMinHeight = 266;
    config.plugMaxHeight = 2400;
    config.plugHostResize = true;
    return config;
  }

  explicit RecordingPlugin(const pfw::IPluginConfig& config = Config())
    : IPluginAPIBase(config, pfw::kAPIAPP)
  {
  }
  ~RecordingPlugin() override { DeleteTimer(); }

  void SendParameterValueFromDelegate(int paramIdx, double value, bool normalized) override
  {
    toEditor.push_back({paramIdx, value});
    delivered.fetch_add(1);
    IPluginAPIBase::SendParameterValueFromDelegate(paramIdx, value, normalized);
  }
  void OnMidiMsgUI(const pfw::IMidiEvent& event) override { midiToEditor.push_back(event.data1); }
  void OnSysexMsgUI(const pfw::ISysExMessage& message) override
  {
    sysexToEditor.push_back(std::string(reinterpret_cast<const char*>(message.data), static_cast<size_t>(message.size)));
  }
  void OnIdle() override { ++idles; }
  void OnParamChangeHook(int paramIdx) override { hooks.push_back(paramIdx); }
  void OnParamChangeUI(int paramIdx, int source) override { changesUI.push_back({paramIdx, source}); }
  void PerformHostParamEdit(int paramIdx, double normalized) override { hostEdits.push_back({paramIdx, normalized}); }
  void BeginHostParamEdit(int paramIdx) override { calls.push_back("begin " + std::to_string(paramIdx)); }
  void EndHostParamEdit(int paramIdx) override { calls.push_back("end " + std::to_string(paramIdx)); }
  void PrepareForHost() override { calls.push_back("prepare " + std::to_string(GetHost())); }
  void OnHostIdentified() override { calls.push_back("identified"); }
  bool ResizeHostView(int width, int height) override
  {
    calls.push_back("resize " + std::to_string(width) + "x" + std::to_string(height));
    return false;
  }
  bool OnMessage(int messageTag, int controlTag, int, const void*) override
  {
    calls.push_back("message " + std::to_string(messageTag) + " " + std::to_string(controlTag));
    return true;
  }

  using IPluginAPIBase::DeleteTimer;
  using IPluginAPIBase::mMidiMsgsFromEditor;
  using IPluginAPIBase::mMidiMsgsFromProcessor;
  using IPluginAPIBase::mParamChangeFromProcessor;
  using IPluginAPIBase::mSysExDataFromEditor;
  using IPluginAPIBase::mSysExDataFromProcessor;

  std::vector<std::pair<int, double>> toEditor;
  std::vector<int> midiToEditor;
  std::vector<std::string> sysexToEditor;
  std::atomic<int> idles{0};
  std::atomic<int> delivered{0};
  std::vector<int> hooks;
  std::vector<std::pair<int, int>> changesUI;
  std::vector<std::pair<int, double>> hostEdits;
  std::vector<std::string> calls;
};
