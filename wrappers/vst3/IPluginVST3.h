#pragma once

#include "deps/vst3/helpers/SingleComponentEffect.h"
#include "deps/vst3/interfaces/IChannelContext.h"
#include "deps/vst3/interfaces/IMidiMapping.h"
#include "framework/core/IPluginAPIBase.h"
#include "wrappers/vst3/IPluginVST3ControllerBase.h"
#include "wrappers/vst3/IPluginVST3ProcessorBase.h"

#include <atomic>

namespace pfw {

class ControlMenuTarget;

// The VST3 wrapper: one object that is the framework plug-in, its processor and the
// host's single-component effect (component, audio processor and edit controller), with
// MIDI mapping and track information.
class IPluginVST3 : public IPluginAPIBase,
                    public IPluginVST3ProcessorBase,
                    public IPluginVST3ControllerBase,
                    public Steinberg::Vst::SingleComponentEffect,
                    public Steinberg::Vst::IMidiMapping,
                    public Steinberg::Vst::ChannelContext::IInfoListener
{
public:
  // What the module knows about the instance it creates; nothing so far.
  struct InstanceInfo
  {
  };

  IPluginVST3(const InstanceInfo& info, const IPluginConfig& config);

  // FUnknown and the class-name identification
  Steinberg::tresult VST3_CALL queryInterface(const Steinberg::TUID iid, void** obj) override;
  VST3_FORWARD_REFCOUNT(SingleComponentEffect)
  VST3_OBJECT_TYPE(IPluginVST3, SingleComponentEffect)

  // IPluginBase
  Steinberg::tresult VST3_CALL initialize(Steinberg::FUnknown* context) override;
  Steinberg::tresult VST3_CALL terminate() override;

  // IEditController, IUnitInfo
  Steinberg::Vst::ParamValue VST3_CALL getParamNormalized(Steinberg::Vst::ParamID tag) override;
  Steinberg::tresult VST3_CALL setParamNormalized(Steinberg::Vst::ParamID tag, Steinberg::Vst::ParamValue value) override;
  // The editor view for the name "editor" when the plug-in has an editor.
  Steinberg::IPlugView* VST3_CALL createView(Steinberg::FIDString name) override;
  Steinberg::tresult VST3_CALL getProgramName(Steinberg::Vst::ProgramListID listId, Steinberg::int32 programIndex,
                                              Steinberg::Vst::String128 name) override;

  // IComponent, IAudioProcessor
  Steinberg::tresult VST3_CALL setActive(Steinberg::TBool state) override;
  Steinberg::tresult VST3_CALL getState(Steinberg::IBStream* stream) override;
  Steinberg::tresult VST3_CALL setState(Steinberg::IBStream* stream) override;
  Steinberg::tresult VST3_CALL setBusArrangements(Steinberg::Vst::SpeakerArrangement* inputs, Steinberg::int32 numIns,
                                                  Steinberg::Vst::SpeakerArrangement* outputs,
                                                  Steinberg::int32 numOuts) override;
  Steinberg::tresult VST3_CALL canProcessSampleSize(Steinberg::int32 symbolicSampleSize) override;
  Steinberg::uint32 VST3_CALL getLatencySamples() override;
  Steinberg::tresult VST3_CALL setupProcessing(Steinberg::Vst::ProcessSetup& setup) override;
  Steinberg::tresult VST3_CALL setProcessing(Steinberg::TBool state) override;
  Steinberg::tresult VST3_CALL process(Steinberg::Vst::ProcessData& data) override;
  Steinberg::uint32 VST3_CALL getTailSamples() override;

  // IMidiMapping
  Steinberg::tresult VST3_CALL getMidiControllerAssignment(Steinberg::int32 busIndex, Steinberg::int16 channel,
                                                           Steinberg::Vst::CtrlNumber midiControllerNumber,
                                                           Steinberg::Vst::ParamID& tag) override;
  // IInfoListener
  Steinberg::tresult VST3_CALL setChannelContextInfos(Steinberg::Vst::IAttributeList* list) override;

  // The framework's hooks toward the host
  void SendAllParamValuesToHost() override;
  void NotifyHostParamDetailsChanged() override;
  void GetTrackColour(int& red, int& green, int& blue) override;
  void GetTrackName(GrowString& name) override;
  int GetTrackIndex() override;
  void GetTrackNamespace(GrowString& name) override;
  int GetTrackNamespaceIndex() override;
  // Every size the editor takes is kept as the editor's size; the view asks the host for it
  // on the next idle tick when the host's window has another.
  bool EditorResizeFromUI(int width, int height, bool needsPlatformResize) override;
  bool ResizeHostView(int width, int height) override;
  void BeginHostParamEdit(int paramIdx) override;
  void EndHostParamEdit(int paramIdx) override;
  void PerformHostParamEdit(int paramIdx, double normalizedValue) override;

  // The host's context menu replaces the editor's own: a control linked to a parameter
  // shows the host's menu of that parameter with the control's items added, or, where the
  // host has no such menu, none.
  bool PopupHostContextMenu(gui::IControl& control, gui::IPopupMenu& items, int paramIdx, int x, int y) override;
  // The control a host menu still points at goes with the editor.
  void CloseWindow() override;

  // A value the editor is told about is the plug-in's value: the controller's parameter
  // follows, so the host reads no stale value after a bank switch or recipe load.
  void SendParameterValueFromDelegate(int paramIdx, double value, bool normalized) override;

  // Tells the host only when the latency really changes, and only from the thread that
  // initialised the object; a change on another thread is told by the next idle tick.
  void SetLatency(int samples) override;

  // The controller's parameters follow the plug-in's values (after a state was loaded).
  void SyncControllerParameters(double bypassNormalized);

protected:
  ~IPluginVST3() override;

  // The idle work of this wrapper: MIDI and SysEx to the editor, a pending latency report.
  void OnIdleTimer();
  bool IsInitializingThread() const;
  void RestartComponent(Steinberg::int32 flags);

private:
  void ForgetMenuTarget();

  // The target of the last host context menu, kept so that it can be told when its
  // control goes away.
  ControlMenuTarget* mMenuTarget = nullptr;
  std::atomic<bool> mLatencyChangePending{false};
  unsigned long mInitThread = 0;
};

} // namespace pfw
