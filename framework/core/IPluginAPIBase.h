#pragma once

#include "GrowString.h"
#include "IMidiEvent.h"
#include "IParamChange.h"
#include "IPluginBase.h"
#include "IPluginConfig.h"
#include "IRingQueue.h"
#include "ISysExMessage.h"
#include "Timer.h"

namespace pfw {

// The kind of plug-in API a wrapper implements.
enum EAPI : int
{
  kAPIVST3 = 1,
  kAPIAPP = 5,
};

// The base of every wrapper: the host's identity, the lock-free rings by which parameter
// values, MIDI and SysEx cross between the audio thread and the user-interface thread,
// the 20 ms idle timer that empties the audio-to-editor rings, and the hooks through which
// a wrapper tells its host about parameter edits.
class IPluginAPIBase : public IPluginBase
{
public:
  static constexpr int kParamRingSlots = 513;
  static constexpr int kMidiRingSlots = 33;
  static constexpr int kSysExRingSlots = 5;
  static constexpr uint32_t kIdleTimerPeriodMs = 20;

  IPluginAPIBase(const IPluginConfig& config, int api);
  ~IPluginAPIBase() override;

  // True when every parameter's value and values[startIdx + i] agree as floats within 1e-5.
  virtual bool CompareState(const double* values, int startIdx) const;
  virtual bool ShowAboutBox();
  virtual bool ShowHelp();
  virtual void OnHostIdentified();
  virtual IEditorGraphics* GetUI() const;
  virtual void OnIdle();
  virtual void GetTrackColour(int& red, int& green, int& blue);
  virtual void GetTrackName(GrowString& name);
  virtual int GetTrackIndex();
  virtual void GetTrackNamespace(GrowString& name);
  virtual int GetTrackNamespaceIndex();
  // Audio side: the value goes to the editor through the parameter ring (dropped when full).
  virtual void SendParameterValueFromAPI(int paramIdx, double value, bool normalized);
  virtual void PrepareForHost();
  virtual bool ResizeHostView(int width, int height);
  virtual void BeginHostParamEdit(int paramIdx);
  virtual void EndHostParamEdit(int paramIdx);
  virtual void PerformHostParamEdit(int paramIdx, double normalizedValue);

  void SendParameterValueFromUI(int paramIdx, double normalizedValue) override;
  void BeginParamEditFromUI(int paramIdx) override;
  void EndParamEditFromUI(int paramIdx) override;
  void SendAllParamValuesToHost() override;
  bool EditorResizeFromUI(int width, int height, bool needsPlatformResize) override;
  void SendMidiMsgFromUI(const IMidiEvent& event) override;
  void SendSysexMsgFromUI(const ISysExMessage& message) override;
  void SendArbitraryMsgFromUI(int messageTag, int controlTag, int dataSize, const void* data) override;
  void QueueMidiMsgFromUI(const IMidiEvent& event) override;
  // A message is queued only when it fits an entry: 0 ... 512 bytes, with data when not empty.
  void QueueSysexMsgFromUI(const ISysExMessage& message) override;

  // Stores the name, its host id and the packed version, then PrepareForHost and
  // OnHostIdentified.
  void SetHost(const char* name, int version);
  static void FormatHostVersion(int version, GrowString& text);
  // Stores the value of a normalised position, tells the host and the product's hooks.
  // Indices out of range and non-finite positions are ignored.
  void SetParameterValue(int paramIdx, double normalizedValue);
  // Makes the 20 ms idle timer, replacing any earlier one.
  void CreateTimer();
  // The idle work, on the user-interface thread: empties the parameter, MIDI and SysEx
  // rings toward the editor, in that order, then OnIdle.
  void OnTimer(Timer& timer);
  int GetAPI() const { return mAPI; }

protected:
  // A wrapper whose idle work differs makes the timer with its own callback.
  void CreateTimer(Timer::Callback onTick);
  void DeleteTimer();

  IRingQueue<IParamChange> mParamChangeFromProcessor{kParamRingSlots};
  IRingQueue<IMidiEvent> mMidiMsgsFromEditor{kMidiRingSlots};
  IRingQueue<IMidiEvent> mMidiMsgsFromProcessor{kMidiRingSlots};
  IRingQueue<SysExQueueEntry> mSysExDataFromEditor{kSysExRingSlots};
  IRingQueue<SysExQueueEntry> mSysExDataFromProcessor{kSysExRingSlots};

private:
  Timer* mTimer = nullptr;
  int mAPI;
};

} // namespace pfw
