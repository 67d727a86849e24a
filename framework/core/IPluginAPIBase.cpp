#include "IPluginAPIBase.h"

#include "HostIdentity.h"
#include "ParamChangeSource.h"
#include "Trace.h"
#include "TraceTimeStamp.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <utility>

namespace pfw {

IPluginAPIBase::IPluginAPIBase(const IPluginConfig& config, int api)
  : IPluginBase(config.nParams, config.nPresets)
  , mAPI(api)
{
  constexpr int kMaxNameLength = 128;
  mPluginName.Set(config.pluginName, kMaxNameLength);
  mProductName.Set(config.productName, kMaxNameLength);
  mMfrName.Set(config.mfrName, kMaxNameLength);
  mUniqueID = config.uniqueID;
  mMfrID = config.mfrID;
  mVersion = config.vendorVersion;
  mStateChunks = config.plugDoesChunks;
  mHasUI = config.plugHasUI;
  mHostResize = config.plugHostResize;
  mBundleID.Set(config.bundleID);
  mAppGroupID.Set(config.appGroupID);
  SetEditorSize(config.plugWidth, config.plugHeight);
  SetSizeConstraints(config.plugMinWidth, config.plugMaxWidth, config.plugMinHeight, config.plugMaxHeight);

  UpdateTraceTimeStamp();
  Trace(__FUNCTION__, __LINE__, "%s%s", GetTraceTimeStamp(), GetPluginName());
}

IPluginAPIBase::~IPluginAPIBase()
{
  DeleteTimer();
}

void IPluginAPIBase::DeleteTimer()
{
  delete mTimer;
  mTimer = nullptr;
}

void IPluginAPIBase::CreateTimer()
{
  CreateTimer([this](Timer& timer) { OnTimer(timer); });
}

void IPluginAPIBase::CreateTimer(Timer::Callback onTick)
{
  Timer* previous = mTimer;
  mTimer = Timer::Create(std::move(onTick), kIdleTimerPeriodMs);
  delete previous;
}

bool IPluginAPIBase::CompareState(const double* values, int startIdx) const
{
  for (int i = 0; i < NParams(); ++i)
  {
    if (!values)
      return false;
    const float current = static_cast<float>(GetParam(i)->Value());
    const float stored = static_cast<float>(values[startIdx + i]);
    if (!(std::fabs(current - stored) < 1e-5f))
      return false;
  }
  return true;
}

bool IPluginAPIBase::ShowAboutBox()
{
  return false;
}

bool IPluginAPIBase::ShowHelp()
{
  return false;
}

void IPluginAPIBase::OnHostIdentified() {}

IEditorGraphics* IPluginAPIBase::GetUI() const
{
  return GetGraphics();
}

void IPluginAPIBase::OnIdle() {}

void IPluginAPIBase::GetTrackColour(int& red, int& green, int& blue)
{
  red = green = blue = 0;
}

void IPluginAPIBase::GetTrackName(GrowString& name)
{
  name.Set("");
}

int IPluginAPIBase::GetTrackIndex()
{
  return 0;
}

void IPluginAPIBase::GetTrackNamespace(GrowString& name)
{
  name.Set("");
}

int IPluginAPIBase::GetTrackNamespaceIndex()
{
  return 0;
}

void IPluginAPIBase::SendParameterValueFromAPI(int paramIdx, double value, bool normalized)
{
  const IParam* param = GetParam(paramIdx);
  if (!param || !std::isfinite(value))
    return;
  mParamChangeFromProcessor.Push(IParamChange{paramIdx, normalized ? param->FromNormalized(value) : value});
}

void IPluginAPIBase::PrepareForHost() {}

bool IPluginAPIBase::ResizeHostView(int, int)
{
  return false;
}

void IPluginAPIBase::BeginHostParamEdit(int) {}

void IPluginAPIBase::EndHostParamEdit(int) {}

void IPluginAPIBase::PerformHostParamEdit(int, double) {}

void IPluginAPIBase::SetParameterValue(int paramIdx, double normalizedValue)
{
  IParam* param = GetParam(paramIdx);
  if (!param || !std::isfinite(normalizedValue))
    return;
  param->SetNormalized(normalizedValue);
  PerformHostParamEdit(paramIdx, normalizedValue);
  OnParamChange(paramIdx, kUI, -1);
}

void IPluginAPIBase::SendParameterValueFromUI(int paramIdx, double normalizedValue)
{
  IParam* param = GetParam(paramIdx);
  if (!param || !std::isfinite(normalizedValue))
    return;
  SetParameterValue(paramIdx, normalizedValue);
  param->SetNormalized(normalizedValue);
  OnParamChangeUI(paramIdx, kUI);
}

void IPluginAPIBase::BeginParamEditFromUI(int paramIdx)
{
  BeginHostParamEdit(paramIdx);
}

void IPluginAPIBase::EndParamEditFromUI(int paramIdx)
{
  EndHostParamEdit(paramIdx);
}

void IPluginAPIBase::SendAllParamValuesToHost()
{
  for (int i = 0; i < NParams(); ++i)
    PerformHostParamEdit(i, GetParam(i)->GetNormalized());
}

bool IPluginAPIBase::EditorResizeFromUI(int width, int height, bool needsPlatformResize)
{
  return needsPlatformResize ? ResizeHostView(width, height) : true;
}

void IPluginAPIBase::SendMidiMsgFromUI(const IMidiEvent& event)
{
  QueueMidiMsgFromUI(event);
}

void IPluginAPIBase::SendSysexMsgFromUI(const ISysExMessage& message)
{
  QueueSysexMsgFromUI(message);
}

void IPluginAPIBase::SendArbitraryMsgFromUI(int messageTag, int controlTag, int dataSize, const void* data)
{
  OnMessage(messageTag, controlTag, dataSize, data);
}

void IPluginAPIBase::QueueMidiMsgFromUI(const IMidiEvent& event)
{
  mMidiMsgsFromEditor.Push(event);
}

void IPluginAPIBase::QueueSysexMsgFromUI(const ISysExMessage& message)
{
  if (message.size < 0 || message.size > SysExQueueEntry::kMaxSize || (message.size > 0 && !message.data))
    return;
  SysExQueueEntry entry;
  entry.offset = message.offset;
  entry.size = message.size;
  if (message.size > 0)
    std::memcpy(entry.data, message.data, static_cast<size_t>(message.size));
  mSysExDataFromEditor.Push(entry);
}

void IPluginAPIBase::SetHost(const char* name, int version)
{
  mHostName.Set(name);
  mHost = LookUpHost(name);
  mHostVersion = version;
  GrowString versionText;
  FormatHostVersion(version, versionText);
  Trace(__FUNCTION__, __LINE__, "host_%sknown:%s:%s", mHost == kHostUnknown ? "un" : "", mHostName.Get(),
        versionText.Get());
  PrepareForHost();
  OnHostIdentified();
}

void IPluginAPIBase::FormatHostVersion(int version, GrowString& text)
{
  text.SetFormatted(0, "v%d.%d.%d", (version >> 16) & 0xFFFF, (version >> 8) & 0xFF, version & 0xFF);
}

void IPluginAPIBase::OnTimer(Timer&)
{
  IParamChange change;
  while (mParamChangeFromProcessor.Pop(change))
    if (GetParam(change.paramIdx))
      SendParameterValueFromDelegate(change.paramIdx, change.value, false);

  IMidiEvent event;
  while (mMidiMsgsFromProcessor.Pop(event))
    SendMidiMsgFromDelegate(event);

  SysExQueueEntry entry;
  while (mSysExDataFromProcessor.Pop(entry))
  {
    // A producer that ignored the limit must not make the editor read past the entry.
    const int size = std::clamp(entry.size, 0, SysExQueueEntry::kMaxSize);
    SendSysexMsgFromDelegate(ISysExMessage{entry.offset, size, entry.data});
  }

  OnIdle();
}

} // namespace pfw
