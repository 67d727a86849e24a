// The slot order of every declared interface, checked the way a host or plug-in built
// elsewhere reaches a method: by its index in the table of function pointers. Each probe
// records the name of the method that ran; the expected names per slot are typed here
// from the published method orders.

#include "deps/vst3/interfaces/IAudioProcessor.h"
#include "deps/vst3/interfaces/IChannelContext.h"
#include "deps/vst3/interfaces/IComponent.h"
#include "deps/vst3/interfaces/IContextMenu.h"
#include "deps/vst3/interfaces/IEditController.h"
#include "deps/vst3/interfaces/IHostApplication.h"
#include "deps/vst3/interfaces/IMidiMapping.h"
#include "deps/vst3/interfaces/IPlugView.h"
#include "deps/vst3/interfaces/IPluginFactory.h"
#include "deps/vst3/interfaces/IUnitInfo.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace Steinberg;
using namespace Steinberg::Vst;

namespace {

template <class Interface>
class Probe : public Interface
{
public:
  std::string last;
  double number = 0.;
  tresult VST3_CALL queryInterface(const TUID, void**) override { last = "queryInterface"; return kResultOk; }
  uint32 VST3_CALL addRef() override { last = "addRef"; return 1; }
  uint32 VST3_CALL release() override { last = "release"; return 1; }
};

#define RECORD(name) { this->last = #name; return {}; }
#define RECORD_VOID(name) { this->last = #name; }

struct FactoryProbe : Probe<IPluginFactory3>
{
  tresult VST3_CALL getFactoryInfo(PFactoryInfo*) override RECORD(getFactoryInfo)
  int32 VST3_CALL countClasses() override RECORD(countClasses)
  tresult VST3_CALL getClassInfo(int32, PClassInfo*) override RECORD(getClassInfo)
  tresult VST3_CALL createInstance(FIDString, FIDString, void**) override RECORD(createInstance)
  tresult VST3_CALL getClassInfo2(int32, PClassInfo2*) override RECORD(getClassInfo2)
  tresult VST3_CALL getClassInfoUnicode(int32, PClassInfoW*) override RECORD(getClassInfoUnicode)
  tresult VST3_CALL setHostContext(FUnknown*) override RECORD(setHostContext)
};

struct DependentProbe : Probe<IDependent>
{
  void VST3_CALL update(FUnknown*, int32) override RECORD_VOID(update)
};

struct ComponentProbe : Probe<IComponent>
{
  tresult VST3_CALL initialize(FUnknown*) override RECORD(initialize)
  tresult VST3_CALL terminate() override RECORD(terminate)
  tresult VST3_CALL getControllerClassId(TUID) override RECORD(getControllerClassId)
  tresult VST3_CALL setIoMode(IoMode) override RECORD(setIoMode)
  int32 VST3_CALL getBusCount(MediaType, BusDirection) override RECORD(getBusCount)
  tresult VST3_CALL getBusInfo(MediaType, BusDirection, int32, BusInfo&) override RECORD(getBusInfo)
  tresult VST3_CALL getRoutingInfo(RoutingInfo&, RoutingInfo&) override RECORD(getRoutingInfo)
  tresult VST3_CALL activateBus(MediaType, BusDirection, int32, TBool) override RECORD(activateBus)
  tresult VST3_CALL setActive(TBool) override RECORD(setActive)
  tresult VST3_CALL setState(IBStream*) override RECORD(setState)
  tresult VST3_CALL getState(IBStream*) override RECORD(getState)
};

struct ProcessorProbe : Probe<IAudioProcessor>
{
  tresult VST3_CALL setBusArrangements(SpeakerArrangement*, int32, SpeakerArrangement*, int32) override
    RECORD(setBusArrangements)
  tresult VST3_CALL getBusArrangement(BusDirection, int32, SpeakerArrangement&) override RECORD(getBusArrangement)
  tresult VST3_CALL canProcessSampleSize(int32) override RECORD(canProcessSampleSize)
  uint32 VST3_CALL getLatencySamples() override RECORD(getLatencySamples)
  tresult VST3_CALL setupProcessing(ProcessSetup&) override RECORD(setupProcessing)
  tresult VST3_CALL setProcessing(TBool) override RECORD(setProcessing)
  tresult VST3_CALL process(ProcessData&) override RECORD(process)
  uint32 VST3_CALL getTailSamples() override RECORD(getTailSamples)
};

struct RequirementsProbe : Probe<IProcessContextRequirements>
{
  uint32 VST3_CALL getProcessContextRequirements() override RECORD(getProcessContextRequirements)
};

struct ControllerProbe : Probe<IEditController>
{
  tresult VST3_CALL initialize(FUnknown*) override RECORD(initialize)
  tresult VST3_CALL terminate() override RECORD(terminate)
  tresult VST3_CALL setComponentState(IBStream*) override RECORD(setComponentState)
  tresult VST3_CALL setState(IBStream*) override RECORD(setState)
  tresult VST3_CALL getState(IBStream*) override RECORD(getState)
  int32 VST3_CALL getParameterCount() override RECORD(getParameterCount)
  tresult VST3_CALL getParameterInfo(int32, ParameterInfo&) override RECORD(getParameterInfo)
  tresult VST3_CALL getParamStringByValue(ParamID, ParamValue, String128) override RECORD(getParamStringByValue)
  tresult VST3_CALL getParamValueByString(ParamID, TChar*, ParamValue&) override RECORD(getParamValueByString)
  ParamValue VST3_CALL normalizedParamToPlain(ParamID, ParamValue value) override
  {
    last = "normalizedParamToPlain";
    return value * 2.;
  }
  ParamValue VST3_CALL plainParamToNormalized(ParamID, ParamValue) override RECORD(plainParamToNormalized)
  ParamValue VST3_CALL getParamNormalized(ParamID) override RECORD(getParamNormalized)
  tresult VST3_CALL setParamNormalized(ParamID id, ParamValue value) override
  {
    last = "setParamNormalized";
    number = value + id;
    return kResultOk;
  }
  tresult VST3_CALL setComponentHandler(IComponentHandler*) override RECORD(setComponentHandler)
  IPlugView* VST3_CALL createView(FIDString) override RECORD(createView)
};

struct Controller2Probe : Probe<IEditController2>
{
  tresult VST3_CALL setKnobMode(KnobMode) override RECORD(setKnobMode)
  tresult VST3_CALL openHelp(TBool) override RECORD(openHelp)
  tresult VST3_CALL openAboutBox(TBool) override RECORD(openAboutBox)
};

struct UnitInfoProbe : Probe<IUnitInfo>
{
  int32 VST3_CALL getUnitCount() override RECORD(getUnitCount)
  tresult VST3_CALL getUnitInfo(int32, UnitInfo&) override RECORD(getUnitInfo)
  int32 VST3_CALL getProgramListCount() override RECORD(getProgramListCount)
  tresult VST3_CALL getProgramListInfo(int32, ProgramListInfo&) override RECORD(getProgramListInfo)
  tresult VST3_CALL getProgramName(ProgramListID, int32, String128) override RECORD(getProgramName)
  tresult VST3_CALL getProgramInfo(ProgramListID, int32, CString, String128) override RECORD(getProgramInfo)
  tresult VST3_CALL hasProgramPitchNames(ProgramListID, int32) override RECORD(hasProgramPitchNames)
  tresult VST3_CALL getProgramPitchName(ProgramListID, int32, int16, String128) override RECORD(getProgramPitchName)
  UnitID VST3_CALL getSelectedUnit() override RECORD(getSelectedUnit)
  tresult VST3_CALL selectUnit(UnitID) override RECORD(selectUnit)
  tresult VST3_CALL getUnitByBus(MediaType, BusDirection, int32, int32, UnitID&) override RECORD(getUnitByBus)
  tresult VST3_CALL setUnitProgramData(int32, int32, IBStream*) override RECORD(setUnitProgramData)
};

struct MidiMappingProbe : Probe<IMidiMapping>
{
  tresult VST3_CALL getMidiControllerAssignment(int32, int16, CtrlNumber, ParamID&) override
    RECORD(getMidiControllerAssignment)
};

struct HandlerProbe : Probe<IComponentHandler>
{
  tresult VST3_CALL beginEdit(ParamID) override RECORD(beginEdit)
  tresult VST3_CALL performEdit(ParamID id, ParamValue value) override
  {
    last = "performEdit";
    number = value + id;
    return kResultOk;
  }
  tresult VST3_CALL endEdit(ParamID) override RECORD(endEdit)
  tresult VST3_CALL restartComponent(int32) override RECORD(restartComponent)
};

struct Handler2Probe : Probe<IComponentHandler2>
{
  tresult VST3_CALL setDirty(TBool) override RECORD(setDirty)
  tresult VST3_CALL requestOpenEditor(FIDString) override RECORD(requestOpenEditor)
  tresult VST3_CALL startGroupEdit() override RECORD(startGroupEdit)
  tresult VST3_CALL finishGroupEdit() override RECORD(finishGroupEdit)
};

struct Handler3Probe : Probe<IComponentHandler3>
{
  IContextMenu* VST3_CALL createContextMenu(IPlugView*, const ParamID*) override RECORD(createContextMenu)
};

struct ContextMenuProbe : Probe<IContextMenu>
{
  int32 VST3_CALL getItemCount() override RECORD(getItemCount)
  tresult VST3_CALL getItem(int32, Item&, IContextMenuTarget**) override RECORD(getItem)
  tresult VST3_CALL addItem(const Item&, IContextMenuTarget*) override RECORD(addItem)
  tresult VST3_CALL removeItem(const Item&, IContextMenuTarget*) override RECORD(removeItem)
  tresult VST3_CALL popup(UCoord, UCoord) override RECORD(popup)
};

struct MenuTargetProbe : Probe<IContextMenuTarget>
{
  tresult VST3_CALL executeMenuItem(int32) override RECORD(executeMenuItem)
};

struct HostApplicationProbe : Probe<IHostApplication>
{
  tresult VST3_CALL getName(String128) override RECORD(getName)
  tresult VST3_CALL createInstance(TUID, TUID, void**) override RECORD(createInstance)
};

struct ConnectionPointProbe : Probe<IConnectionPoint>
{
  tresult VST3_CALL connect(IConnectionPoint*) override RECORD(connect)
  tresult VST3_CALL disconnect(IConnectionPoint*) override RECORD(disconnect)
  tresult VST3_CALL notify(IMessage*) override RECORD(notify)
};

struct MessageProbe : Probe<IMessage>
{
  FIDString VST3_CALL getMessageID() override RECORD(getMessageID)
  void VST3_CALL setMessageID(FIDString) override RECORD_VOID(setMessageID)
  IAttributeList* VST3_CALL getAttributes() override RECORD(getAttributes)
};

struct AttributeListProbe : Probe<IAttributeList>
{
  tresult VST3_CALL setInt(AttrID, int64) override RECORD(setInt)
  tresult VST3_CALL getInt(AttrID, int64&) override RECORD(getInt)
  tresult VST3_CALL setFloat(AttrID, double value) override
  {
    last = "setFloat";
    number = value;
    return kResultOk;
  }
  tresult VST3_CALL getFloat(AttrID, double&) override RECORD(getFloat)
  tresult VST3_CALL setString(AttrID, const TChar*) override RECORD(setString)
  tresult VST3_CALL getString(AttrID, TChar*, uint32) override RECORD(getString)
  tresult VST3_CALL setBinary(AttrID, const void*, uint32) override RECORD(setBinary)
  tresult VST3_CALL getBinary(AttrID, const void*&, uint32&) override RECORD(getBinary)
};

struct StreamAttributesProbe : Probe<IStreamAttributes>
{
  tresult VST3_CALL getFileName(String128) override RECORD(getFileName)
  IAttributeList* VST3_CALL getAttributes() override RECORD(getAttributes)
};

struct InfoListenerProbe : Probe<ChannelContext::IInfoListener>
{
  tresult VST3_CALL setChannelContextInfos(IAttributeList*) override RECORD(setChannelContextInfos)
};

struct ViewProbe : Probe<IPlugView>
{
  tresult VST3_CALL isPlatformTypeSupported(FIDString) override RECORD(isPlatformTypeSupported)
  tresult VST3_CALL attached(void*, FIDString) override RECORD(attached)
  tresult VST3_CALL removed() override RECORD(removed)
  tresult VST3_CALL onWheel(float distance) override
  {
    last = "onWheel";
    number = distance;
    return kResultOk;
  }
  tresult VST3_CALL onKeyDown(char16, int16, int16) override RECORD(onKeyDown)
  tresult VST3_CALL onKeyUp(char16, int16, int16) override RECORD(onKeyUp)
  tresult VST3_CALL getSize(ViewRect*) override RECORD(getSize)
  tresult VST3_CALL onSize(ViewRect*) override RECORD(onSize)
  tresult VST3_CALL onFocus(TBool) override RECORD(onFocus)
  tresult VST3_CALL setFrame(IPlugFrame*) override RECORD(setFrame)
  tresult VST3_CALL canResize() override RECORD(canResize)
  tresult VST3_CALL checkSizeConstraint(ViewRect*) override RECORD(checkSizeConstraint)
};

struct FrameProbe : Probe<IPlugFrame>
{
  tresult VST3_CALL resizeView(IPlugView*, ViewRect*) override RECORD(resizeView)
};

struct ScaleProbe : Probe<IPlugViewContentScaleSupport>
{
  tresult VST3_CALL setContentScaleFactor(ScaleFactor factor) override
  {
    last = "setContentScaleFactor";
    number = factor;
    return kResultOk;
  }
};

struct StreamProbe : Probe<IBStream>
{
  tresult VST3_CALL read(void*, int32, int32*) override RECORD(read)
  tresult VST3_CALL write(void*, int32, int32*) override RECORD(write)
  tresult VST3_CALL seek(int64, int32, int64*) override RECORD(seek)
  tresult VST3_CALL tell(int64*) override RECORD(tell)
};

struct SizeableStreamProbe : Probe<ISizeableStream>
{
  tresult VST3_CALL getStreamSize(int64&) override RECORD(getStreamSize)
  tresult VST3_CALL setStreamSize(int64) override RECORD(setStreamSize)
};

struct QueueProbe : Probe<IParamValueQueue>
{
  ParamID VST3_CALL getParameterId() override RECORD(getParameterId)
  int32 VST3_CALL getPointCount() override RECORD(getPointCount)
  tresult VST3_CALL getPoint(int32, int32&, ParamValue&) override RECORD(getPoint)
  tresult VST3_CALL addPoint(int32 offset, ParamValue value, int32&) override
  {
    last = "addPoint";
    number = value + offset;
    return kResultOk;
  }
};

struct ChangesProbe : Probe<IParameterChanges>
{
  int32 VST3_CALL getParameterCount() override RECORD(getParameterCount)
  IParamValueQueue* VST3_CALL getParameterData(int32) override RECORD(getParameterData)
  IParamValueQueue* VST3_CALL addParameterData(const ParamID&, int32&) override RECORD(addParameterData)
};

struct EventListProbe : Probe<IEventList>
{
  int32 VST3_CALL getEventCount() override RECORD(getEventCount)
  tresult VST3_CALL getEvent(int32, Event&) override RECORD(getEvent)
  tresult VST3_CALL addEvent(Event&) override RECORD(addEvent)
};

// Calls slot k with integer zeros in every argument position. Each probe ignores its
// arguments, and extra register arguments are harmless in the x64 convention.
template <class P>
std::string nameAtSlot(P& probe, int slot)
{
  using AnySlot = int64 (VST3_CALL*)(void*, int64, int64, int64, int64, int64);
  void* face = static_cast<void*>(&probe);
  void** table = *static_cast<void***>(face);
  probe.last.clear();
  reinterpret_cast<AnySlot>(table[slot])(face, 0, 0, 0, 0, 0);
  return probe.last;
}

template <class P>
void expectSlots(P& probe, const std::vector<std::string>& ownMethods, bool pluginBase = false)
{
  std::vector<std::string> names = {"queryInterface", "addRef", "release"};
  if (pluginBase)
  {
    names.push_back("initialize");
    names.push_back("terminate");
  }
  names.insert(names.end(), ownMethods.begin(), ownMethods.end());
  for (size_t slot = 0; slot < names.size(); ++slot)
    EXPECT_EQ(nameAtSlot(probe, static_cast<int>(slot)), names[slot]) << "slot " << slot;
}

template <class Function>
Function slotFunction(void* face, int slot)
{
  return reinterpret_cast<Function>((*static_cast<void***>(face))[slot]);
}

} // namespace

TEST(VtableSlots, BaseAndFactoryInterfaces)
{
  DependentProbe dependent;
  expectSlots(dependent, {"update"});
  FactoryProbe factory;
  expectSlots(factory, {"getFactoryInfo", "countClasses", "getClassInfo", "createInstance", "getClassInfo2",
                        "getClassInfoUnicode", "setHostContext"});
}

TEST(VtableSlots, ComponentAndProcessor)
{
  ComponentProbe component;
  expectSlots(component,
              {"getControllerClassId", "setIoMode", "getBusCount", "getBusInfo", "getRoutingInfo", "activateBus",
               "setActive", "setState", "getState"},
              true);
  ProcessorProbe processor;
  expectSlots(processor, {"setBusArrangements", "getBusArrangement", "canProcessSampleSize", "getLatencySamples",
                          "setupProcessing", "setProcessing", "process", "getTailSamples"});
  RequirementsProbe requirements;
  expectSlots(requirements, {"getProcessContextRequirements"});
}

TEST(VtableSlots, ControllerSide)
{
  ControllerProbe controller;
  expectSlots(controller,
              {"setComponentState", "setState", "getState", "getParameterCount", "getParameterInfo",
               "getParamStringByValue", "getParamValueByString", "normalizedParamToPlain", "plainParamToNormalized",
               "getParamNormalized", "setParamNormalized", "setComponentHandler", "createView"},
              true);
  Controller2Probe controller2;
  expectSlots(controller2, {"setKnobMode", "openHelp", "openAboutBox"});
  UnitInfoProbe units;
  expectSlots(units, {"getUnitCount", "getUnitInfo", "getProgramListCount", "getProgramListInfo", "getProgramName",
                      "getProgramInfo", "hasProgramPitchNames", "getProgramPitchName", "getSelectedUnit", "selectUnit",
                      "getUnitByBus", "setUnitProgramData"});
  MidiMappingProbe mapping;
  expectSlots(mapping, {"getMidiControllerAssignment"});
  InfoListenerProbe listener;
  expectSlots(listener, {"setChannelContextInfos"});
}

TEST(VtableSlots, HostCallbacksAndMenus)
{
  HandlerProbe handler;
  expectSlots(handler, {"beginEdit", "performEdit", "endEdit", "restartComponent"});
  Handler2Probe handler2;
  expectSlots(handler2, {"setDirty", "requestOpenEditor", "startGroupEdit", "finishGroupEdit"});
  Handler3Probe handler3;
  expectSlots(handler3, {"createContextMenu"});
  ContextMenuProbe menu;
  expectSlots(menu, {"getItemCount", "getItem", "addItem", "removeItem", "popup"});
  MenuTargetProbe target;
  expectSlots(target, {"executeMenuItem"});
  HostApplicationProbe host;
  expectSlots(host, {"getName", "createInstance"});
}

TEST(VtableSlots, MessagesStreamsAndProcessData)
{
  ConnectionPointProbe connection;
  expectSlots(connection, {"connect", "disconnect", "notify"});
  MessageProbe message;
  expectSlots(message, {"getMessageID", "setMessageID", "getAttributes"});
  AttributeListProbe attributes;
  expectSlots(attributes,
              {"setInt", "getInt", "setFloat", "getFloat", "setString", "getString", "setBinary", "getBinary"});
  StreamAttributesProbe streamAttributes;
  expectSlots(streamAttributes, {"getFileName", "getAttributes"});
  StreamProbe stream;
  expectSlots(stream, {"read", "write", "seek", "tell"});
  SizeableStreamProbe sizeable;
  expectSlots(sizeable, {"getStreamSize", "setStreamSize"});
  QueueProbe queue;
  expectSlots(queue, {"getParameterId", "getPointCount", "getPoint", "addPoint"});
  ChangesProbe changes;
  expectSlots(changes, {"getParameterCount", "getParameterData", "addParameterData"});
  EventListProbe events;
  expectSlots(events, {"getEventCount", "getEvent", "addEvent"});
}

TEST(VtableSlots, ViewAndFrame)
{
  ViewProbe view;
  expectSlots(view, {"isPlatformTypeSupported", "attached", "removed", "onWheel", "onKeyDown", "onKeyUp", "getSize",
                     "onSize", "onFocus", "setFrame", "canResize", "checkSizeConstraint"});
  FrameProbe frame;
  expectSlots(frame, {"resizeView"});
  ScaleProbe scale;
  expectSlots(scale, {"setContentScaleFactor"});
}

TEST(VtableSlots, FloatingPointArgumentsAndResultsTakeTheirRegisters)
{
  // A double or float travels in the XMM register of its position; a wrong declared type
  // would read the wrong register or the wrong width.
  HandlerProbe handler;
  slotFunction<tresult(VST3_CALL*)(void*, ParamID, double)>(&handler, 4)(&handler, 7, 0.25);
  EXPECT_DOUBLE_EQ(handler.number, 7.25);

  ControllerProbe controller;
  slotFunction<tresult(VST3_CALL*)(void*, ParamID, double)>(&controller, 15)(&controller, 3, 0.5);
  EXPECT_DOUBLE_EQ(controller.number, 3.5);
  EXPECT_DOUBLE_EQ(slotFunction<double(VST3_CALL*)(void*, ParamID, double)>(&controller, 12)(&controller, 1, 0.75), 1.5);

  ViewProbe view;
  slotFunction<tresult(VST3_CALL*)(void*, float)>(&view, 6)(&view, -2.5f);
  EXPECT_DOUBLE_EQ(view.number, -2.5);

  ScaleProbe scale;
  slotFunction<tresult(VST3_CALL*)(void*, float)>(&scale, 3)(&scale, 1.5f);
  EXPECT_DOUBLE_EQ(scale.number, 1.5);

  QueueProbe queue;
  int32 index = -1;
  slotFunction<tresult(VST3_CALL*)(void*, int32, double, int32*)>(&queue, 6)(&queue, 12, 0.125, &index);
  EXPECT_DOUBLE_EQ(queue.number, 12.125);

  AttributeListProbe attributes;
  slotFunction<tresult(VST3_CALL*)(void*, const char*, double)>(&attributes, 5)(&attributes, "x", 44100.);
  EXPECT_DOUBLE_EQ(attributes.number, 44100.);
}
