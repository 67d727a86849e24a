#pragma once

#include "deps/vst3/interfaces/IBStream.h"

namespace Steinberg::Vst {

constexpr UnitID kRootUnitId = 0;
constexpr UnitID kNoParentUnitId = -1;
constexpr ProgramListID kNoProgramListId = -1;
constexpr int32 kAllProgramInvalid = -1;

struct UnitInfo
{
  UnitID id;
  UnitID parentUnitId;
  String128 name;
  ProgramListID programListId;
};
static_assert(sizeof(UnitInfo) == 268 && alignof(UnitInfo) == 4 && offsetof(UnitInfo, name) == 8 && offsetof(UnitInfo, programListId) == 264);

struct ProgramListInfo
{
  ProgramListID id;
  String128 name;
  int32 programCount;
};
static_assert(sizeof(ProgramListInfo) == 264 && alignof(ProgramListInfo) == 4 && offsetof(ProgramListInfo, programCount) == 260);

class IUnitInfo : public FUnknown
{
public:
  virtual int32 VST3_CALL getUnitCount() = 0;
  virtual tresult VST3_CALL getUnitInfo(int32 unitIndex, UnitInfo& info) = 0;
  virtual int32 VST3_CALL getProgramListCount() = 0;
  virtual tresult VST3_CALL getProgramListInfo(int32 listIndex, ProgramListInfo& info) = 0;
  virtual tresult VST3_CALL getProgramName(ProgramListID listId, int32 programIndex, String128 name) = 0;
  virtual tresult VST3_CALL getProgramInfo(ProgramListID listId, int32 programIndex, CString attributeId,
                                           String128 attributeValue) = 0;
  virtual tresult VST3_CALL hasProgramPitchNames(ProgramListID listId, int32 programIndex) = 0;
  virtual tresult VST3_CALL getProgramPitchName(ProgramListID listId, int32 programIndex, int16 midiPitch,
                                                String128 name) = 0;
  virtual UnitID VST3_CALL getSelectedUnit() = 0;
  virtual tresult VST3_CALL selectUnit(UnitID unitId) = 0;
  virtual tresult VST3_CALL getUnitByBus(MediaType type, BusDirection dir, int32 busIndex, int32 channel,
                                         UnitID& unitId) = 0;
  virtual tresult VST3_CALL setUnitProgramData(int32 listOrUnitId, int32 programIndex, IBStream* data) = 0;
  VST3_INTERFACE_ID(0x3D4BD6B5, 0x913A4FD2, 0xA886E768, 0xA5EB92C1);
};

} // namespace Steinberg::Vst
