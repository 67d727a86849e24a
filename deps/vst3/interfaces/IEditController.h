#pragma once

#include "deps/vst3/interfaces/IBStream.h"

namespace Steinberg {
class IPlugView;
}

namespace Steinberg::Vst {

struct ParameterInfo
{
  enum ParameterFlags : int32
  {
    kNoFlags = 0,
    kCanAutomate = 1 << 0,
    kIsReadOnly = 1 << 1,
    kIsWrapAround = 1 << 2,
    kIsList = 1 << 3,
    kIsHidden = 1 << 4,
    kIsProgramChange = 1 << 15,
    kIsBypass = 1 << 16,
  };
  ParamID id;
  String128 title;
  String128 shortTitle;
  String128 units;
  int32 stepCount; // 0 continuous, n: n + 1 discrete states
  ParamValue defaultNormalizedValue;
  UnitID unitId;
  int32 flags;
};
static_assert(sizeof(ParameterInfo) == 792 && alignof(ParameterInfo) == 8);
static_assert(offsetof(ParameterInfo, title) == 4 && offsetof(ParameterInfo, shortTitle) == 260 &&
              offsetof(ParameterInfo, units) == 516 && offsetof(ParameterInfo, stepCount) == 772 &&
              offsetof(ParameterInfo, defaultNormalizedValue) == 776 && offsetof(ParameterInfo, unitId) == 784 &&
              offsetof(ParameterInfo, flags) == 788);

// What restartComponent asks the host to do again.
enum RestartFlags : int32
{
  kReloadComponent = 1 << 0,
  kIoChanged = 1 << 1,
  kParamValuesChanged = 1 << 2,
  kLatencyChanged = 1 << 3,
  kParamTitlesChanged = 1 << 4,
  kMidiCCAssignmentChanged = 1 << 5,
  kNoteExpressionChanged = 1 << 6,
  kIoTitlesChanged = 1 << 7,
  kPrefetchableSupportChanged = 1 << 8,
  kRoutingInfoChanged = 1 << 9,
  kKeyswitchChanged = 1 << 10,
  kParamIDMappingChanged = 1 << 11,
};

enum KnobModes : KnobMode
{
  kCircularMode = 0,
  kRelativCircularMode = 1,
  kLinearMode = 2,
};

// Host side: the plug-in reports its own edits through it.
class IComponentHandler : public FUnknown
{
public:
  virtual tresult VST3_CALL beginEdit(ParamID id) = 0;
  virtual tresult VST3_CALL performEdit(ParamID id, ParamValue valueNormalized) = 0;
  virtual tresult VST3_CALL endEdit(ParamID id) = 0;
  virtual tresult VST3_CALL restartComponent(int32 flags) = 0;
  VST3_INTERFACE_ID(0x93A0BEA3, 0x0BD045DB, 0x8E890B0C, 0xC1E46AC6);
};

class IComponentHandler2 : public FUnknown
{
public:
  virtual tresult VST3_CALL setDirty(TBool state) = 0;
  virtual tresult VST3_CALL requestOpenEditor(FIDString name) = 0;
  virtual tresult VST3_CALL startGroupEdit() = 0;
  virtual tresult VST3_CALL finishGroupEdit() = 0;
  VST3_INTERFACE_ID(0xF040B4B3, 0xA36045EC, 0xABCDC045, 0xB4D5A2CC);
};

class IEditController : public IPluginBase
{
public:
  virtual tresult VST3_CALL setComponentState(IBStream* state) = 0;
  // The controller's own state: separate slots from IComponent's getState/setState.
  virtual tresult VST3_CALL setState(IBStream* state) = 0;
  virtual tresult VST3_CALL getState(IBStream* state) = 0;
  virtual int32 VST3_CALL getParameterCount() = 0;
  virtual tresult VST3_CALL getParameterInfo(int32 paramIndex, ParameterInfo& info) = 0;
  virtual tresult VST3_CALL getParamStringByValue(ParamID id, ParamValue valueNormalized, String128 string) = 0;
  virtual tresult VST3_CALL getParamValueByString(ParamID id, TChar* string, ParamValue& valueNormalized) = 0;
  virtual ParamValue VST3_CALL normalizedParamToPlain(ParamID id, ParamValue valueNormalized) = 0;
  virtual ParamValue VST3_CALL plainParamToNormalized(ParamID id, ParamValue plainValue) = 0;
  virtual ParamValue VST3_CALL getParamNormalized(ParamID id) = 0;
  virtual tresult VST3_CALL setParamNormalized(ParamID id, ParamValue value) = 0;
  virtual tresult VST3_CALL setComponentHandler(IComponentHandler* handler) = 0;
  virtual IPlugView* VST3_CALL createView(FIDString name) = 0;
  VST3_INTERFACE_ID(0xDCD7BBE3, 0x7742448D, 0xA874AACC, 0x979C759E);
};

class IEditController2 : public FUnknown
{
public:
  virtual tresult VST3_CALL setKnobMode(KnobMode mode) = 0;
  virtual tresult VST3_CALL openHelp(TBool onlyCheck) = 0;
  virtual tresult VST3_CALL openAboutBox(TBool onlyCheck) = 0;
  VST3_INTERFACE_ID(0x7F4EFE59, 0xF3204967, 0xAC27A3AE, 0xAFB63038);
};

// The view type a host asks createView for.
constexpr const char* kEditorViewType = "editor";

} // namespace Steinberg::Vst
