#include "wrappers/vst3/IPluginVST3.h"

#include "deps/vst3/helpers/StreamTransfer.h"
#include "deps/vst3/helpers/StringConvert.h"
#include "deps/vst3/interfaces/IHostApplication.h"
#include "framework/core/IDataChunk.h"
#include "framework/core/ParamChangeSource.h"
#include "framework/core/WindowsServices.h"
#include "framework/graphics/IGui.h"
#include "wrappers/vst3/ControlMenuTarget.h"
#include "wrappers/vst3/HostContextMenu.h"
#include "wrappers/vst3/IPluginVST3View.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstring>
#include <new>

namespace pfw {

using namespace Steinberg;
using namespace Steinberg::Vst;

IPluginVST3::IPluginVST3(const InstanceInfo&, const IPluginConfig& config)
  : IPluginAPIBase(config, kAPIVST3)
  , IPluginVST3ProcessorBase(config, *this)
  , IPluginVST3ControllerBase(parameters)
  , mInitThread(GetCurrentThreadId())
{
  CreateTimer([this](Timer&) { OnIdleTimer(); });
}

// The idle timer calls into this class, so it stops before this class's part is gone.
IPluginVST3::~IPluginVST3()
{
  DeleteTimer();
  ForgetMenuTarget();
}

tresult VST3_CALL IPluginVST3::queryInterface(const TUID iid, void** obj)
{
  if (!obj)
    return kInvalidArgument;
  if (answerInterface<IMidiMapping>(this, iid, obj) || answerInterface<ChannelContext::IInfoListener>(this, iid, obj))
    return kResultOk;
  return SingleComponentEffect::queryInterface(iid, obj);
}

tresult VST3_CALL IPluginVST3::initialize(FUnknown* context)
{
  if (SingleComponentEffect::initialize(context) != kResultOk)
    return kResultFalse;
  mInitThread = GetCurrentThreadId();
  if (!IPluginVST3ProcessorBase::Initialize() ||
      !IPluginVST3ControllerBase::Initialize(*this, GetPlugType() == kPlugTypeInstrument, DoesMidiIn()))
  {
    terminate();
    return kResultFalse;
  }
  void* face = nullptr;
  if (context && context->queryInterface(IHostApplication::iid, &face) == kResultOk && face)
  {
    IHostApplication* host = static_cast<IHostApplication*>(face);
    String128 wide = {};
    if (GetHost() == kHostUninit && host->getName(wide) == kResultOk)
    {
      wide[127] = 0;
      char name[128];
      narrowText(name, sizeof(name), wide);
      SetHost(name, 0);
    }
    host->release();
  }
  OnHostIdentified();
  OnParamReset(kReset);
  return kResultOk;
}

tresult VST3_CALL IPluginVST3::terminate()
{
  ForgetParameters();
  return SingleComponentEffect::terminate();
}

ParamValue VST3_CALL IPluginVST3::getParamNormalized(ParamID tag)
{
  const Parameter* parameter = parameters.getParameter(tag);
  return parameter ? parameter->getNormalized() : 0.0;
}

tresult VST3_CALL IPluginVST3::setParamNormalized(ParamID tag, ParamValue value)
{
  Parameter* parameter = parameters.getParameter(tag);
  if (!parameter || !std::isfinite(value))
    return kResultFalse;
  parameter->setNormalized(value);
  if (tag < static_cast<ParamID>(NParams()))
  {
    const int paramIdx = static_cast<int>(tag);
    GetParam(paramIdx)->SetNormalized(parameter->getNormalized());
    OnParamChangeUI(paramIdx, kHost);
    SendParameterValueFromDelegate(paramIdx, parameter->getNormalized(), true);
  }
  return kResultOk;
}

IPlugView* VST3_CALL IPluginVST3::createView(FIDString name)
{
  if (!HasUI() || !name || std::strcmp(name, "editor") != 0)
    return nullptr;
  IPluginVST3View* view = new (std::nothrow) IPluginVST3View(*this);
  // A view made while another shows the editor must not take the editor's requests from it.
  if (view && !(GetView() && GetView()->isAttached()))
    SetView(view);
  return view ? view->plugView() : nullptr;
}

tresult VST3_CALL IPluginVST3::getProgramName(ProgramListID listId, int32 programIndex, String128 name)
{
  if (NPresets() == 0 || listId != static_cast<ProgramListID>(kProgramChangeTag) || !name)
    return kResultFalse;
  widenText(name, 128, GetPresetName(programIndex));
  return kResultOk;
}

tresult VST3_CALL IPluginVST3::setActive(TBool state)
{
  OnActivate(state != 0);
  return kResultOk;
}

tresult VST3_CALL IPluginVST3::getState(IBStream* stream)
{
  if (!stream)
    return kResultFalse;
  IDataChunk chunk;
  if (!SerializeState(chunk))
    return kResultFalse;
  const int32 bypass = IsBypassed() ? 1 : 0;
  const int size = chunk.Size();
  if (chunk.Put(bypass) != size + 4)
    return kResultFalse;
  return writeAll(stream, chunk.GetData(), chunk.Size()) ? kResultOk : kResultFalse;
}

tresult VST3_CALL IPluginVST3::setState(IBStream* stream)
{
  return SetState(stream) ? kResultOk : kResultFalse;
}

tresult VST3_CALL IPluginVST3::setBusArrangements(SpeakerArrangement* inputs, int32 numIns, SpeakerArrangement* outputs,
                                                  int32 numOuts)
{
  return SetBusArrangements(inputs, numIns, outputs, numOuts) ? kResultOk : kResultFalse;
}

tresult VST3_CALL IPluginVST3::canProcessSampleSize(int32 symbolicSampleSize)
{
  return symbolicSampleSize == kSample32 || symbolicSampleSize == kSample64 ? kResultOk : kResultFalse;
}

uint32 VST3_CALL IPluginVST3::getLatencySamples()
{
  return static_cast<uint32>(std::max(GetLatency(), 0));
}

tresult VST3_CALL IPluginVST3::setupProcessing(ProcessSetup& setup)
{
  return SetupProcessing(setup, processSetup) ? kResultOk : kResultFalse;
}

tresult VST3_CALL IPluginVST3::setProcessing(TBool state)
{
  if (!state)
    OnReset();
  return kResultOk;
}

tresult VST3_CALL IPluginVST3::process(ProcessData& data)
{
  // Buffers of another sample size or more frames than set up would be read wrongly or
  // overrun the channels' scratch buffers.
  if (data.numSamples < 0 || data.numSamples > GetBlockSize() ||
      (data.numSamples > 0 && data.symbolicSampleSize != processSetup.symbolicSampleSize))
    return kInvalidArgument;
  Process(data, processSetup, audioInputs, audioOutputs, mMidiMsgsFromEditor, mMidiMsgsFromProcessor,
          mSysExDataFromEditor);
  return kResultOk;
}

uint32 VST3_CALL IPluginVST3::getTailSamples()
{
  const int tail = GetTailSize();
  if (tail == INT_MAX)
    return kInfiniteTail;
  return static_cast<uint32>(std::max(tail, 0));
}

tresult VST3_CALL IPluginVST3::getMidiControllerAssignment(int32 busIndex, int16 channel, CtrlNumber controller,
                                                           ParamID& tag)
{
  if (busIndex != 0 || channel < 0 || channel > 0 || controller < 0 || controller >= kMidiControllersPerChannel)
    return kResultFalse;
  const ParamID candidate = kFirstMidiTag + static_cast<ParamID>(controller) +
                            static_cast<ParamID>(kMidiControllersPerChannel * channel);
  // Only controllers that exist as parameters are offered, so a host never maps to nothing.
  if (!parameters.getParameter(candidate))
    return kResultFalse;
  tag = candidate;
  return kResultOk;
}

tresult VST3_CALL IPluginVST3::setChannelContextInfos(IAttributeList* list)
{
  return SetChannelContextInfos(list) ? kResultOk : kResultFalse;
}

void IPluginVST3::SyncControllerParameters(double bypassNormalized)
{
  for (int i = 0; i < NParams(); ++i)
    if (Parameter* parameter = parameters.getParameter(static_cast<ParamID>(i)))
      parameter->setNormalized(GetParam(i)->GetNormalized());
  if (Parameter* bypass = parameters.getParameter(kBypassTag))
    bypass->setNormalized(bypassNormalized);
}

void IPluginVST3::SendAllParamValuesToHost()
{
  // Each value inside its own gesture: hosts ignore or mis-record a bare performEdit.
  startGroupEdit();
  for (int i = 0; i < NParams(); ++i)
  {
    BeginHostParamEdit(i);
    PerformHostParamEdit(i, GetParam(i)->GetNormalized());
    EndHostParamEdit(i);
  }
  finishGroupEdit();
}

void IPluginVST3::SendParameterValueFromDelegate(int paramIdx, double value, bool normalized)
{
  const IParam* param = GetParam(paramIdx);
  if (param && std::isfinite(value))
    if (Parameter* parameter = parameters.getParameter(static_cast<ParamID>(paramIdx)))
      parameter->setNormalized(normalized ? value : param->ToNormalized(value));
  IPluginAPIBase::SendParameterValueFromDelegate(paramIdx, value, normalized);
}

void IPluginVST3::NotifyHostParamDetailsChanged()
{
  RestartComponent(kParamTitlesChanged);
}

void IPluginVST3::GetTrackColour(int& red, int& green, int& blue)
{
  red = static_cast<int>((mTrackColour >> 16) & 0xFF);
  green = static_cast<int>((mTrackColour >> 8) & 0xFF);
  blue = static_cast<int>(mTrackColour & 0xFF);
}

void IPluginVST3::GetTrackName(GrowString& name)
{
  name.Set(mTrackName.Get());
}

int IPluginVST3::GetTrackIndex()
{
  return mTrackIndex;
}

void IPluginVST3::GetTrackNamespace(GrowString& name)
{
  name.Set(mTrackNamespace.Get());
}

int IPluginVST3::GetTrackNamespaceIndex()
{
  return mTrackNamespaceOrder;
}

bool IPluginVST3::EditorResizeFromUI(int width, int height, bool needsPlatformResize)
{
  if (needsPlatformResize)
    return ResizeHostView(width, height);
  SetEditorSize(width, height);
  return true;
}

bool IPluginVST3::ResizeHostView(int width, int height)
{
  if (!HasUI())
    return true;
  // The host is asked only for sizes the editor can take at its current scale.
  constexpr int kBeyondAnyScreen = 1 << 16;
  int smallestWidth = 1, smallestHeight = 1;
  int largestWidth = kBeyondAnyScreen, largestHeight = kBeyondAnyScreen;
  EditorSizeForWindow(smallestWidth, smallestHeight, DrivingSides::kBoth);
  EditorSizeForWindow(largestWidth, largestHeight, DrivingSides::kBoth);
  const int keptWidth = std::clamp(width, smallestWidth, std::max(smallestWidth, largestWidth));
  const int keptHeight = std::clamp(height, smallestHeight, std::max(smallestHeight, largestHeight));
  SetEditorSize(keptWidth, keptHeight);
  // An editor that asked for more or less fits itself to the size the host is asked for.
  if (keptWidth != width || keptHeight != height)
    OnParentWindowResize(keptWidth, keptHeight);
  return true;
}

bool IPluginVST3::PopupHostContextMenu(gui::IControl& control, gui::IPopupMenu& items, int paramIdx, int x, int y)
{
  IComponentHandler* handler = getComponentHandler();
  IPluginVST3View* view = GetView();
  gui::IGui* graphics = dynamic_cast<gui::IGui*>(GetGraphics());
  if (!handler || !view || !graphics || paramIdx < 0)
    return true;
  ForgetMenuTarget();
  mMenuTarget = new (std::nothrow) ControlMenuTarget(*graphics, control);
  pfw::PopupHostContextMenu(*handler, *view->plugView(), static_cast<ParamID>(paramIdx), items, mMenuTarget, x, y);
  return true;
}

void IPluginVST3::CloseWindow()
{
  ForgetMenuTarget();
  IPluginAPIBase::CloseWindow();
}

void IPluginVST3::ForgetMenuTarget()
{
  if (!mMenuTarget)
    return;
  mMenuTarget->Forget();
  mMenuTarget->release();
  mMenuTarget = nullptr;
}

void IPluginVST3::BeginHostParamEdit(int paramIdx)
{
  beginEdit(static_cast<ParamID>(paramIdx));
}

void IPluginVST3::EndHostParamEdit(int paramIdx)
{
  endEdit(static_cast<ParamID>(paramIdx));
}

void IPluginVST3::PerformHostParamEdit(int paramIdx, double normalizedValue)
{
  // The host reads its generic editor and automation from the controller's parameters.
  if (Parameter* parameter = parameters.getParameter(static_cast<ParamID>(paramIdx)))
    parameter->setNormalized(normalizedValue);
  performEdit(static_cast<ParamID>(paramIdx), normalizedValue);
}

void IPluginVST3::SetLatency(int samples)
{
  const bool changed = samples != GetLatency();
  IPluginProcessor::SetLatency(samples);
  if (!changed)
    return;
  if (IsInitializingThread())
    RestartComponent(kLatencyChanged);
  else
    mLatencyChangePending.store(true);
}

bool IPluginVST3::IsInitializingThread() const
{
  return GetCurrentThreadId() == mInitThread;
}

void IPluginVST3::RestartComponent(int32 flags)
{
  IComponentHandler* handler = getComponentHandler();
  if (!handler)
    return;
  void* face = nullptr;
  if (handler->queryInterface(IComponentHandler::iid, &face) == kResultOk && face)
  {
    IComponentHandler* asked = static_cast<IComponentHandler*>(face);
    asked->restartComponent(flags);
    asked->release();
  }
}

void IPluginVST3::OnIdleTimer()
{
  IMidiEvent event;
  while (mMidiMsgsFromProcessor.Pop(event))
    OnMidiMsgUI(event);
  SysExQueueEntry entry;
  while (mSysExDataFromProcessor.Pop(entry))
  {
    ISysExMessage message;
    message.offset = entry.offset;
    message.size = entry.size;
    message.data = entry.data;
    OnSysexMsgUI(message);
  }
  if (mLatencyChangePending.exchange(false))
    RestartComponent(kLatencyChanged);
  if (IPluginVST3View* view = GetView())
    view->AskHostForEditorSize();
  OnIdle();
}

} // namespace pfw
