#pragma once

#include "deps/vst3/helpers/EditController.h"
#include "deps/vst3/helpers/Unit.h"
#include "deps/vst3/interfaces/IUnitInfo.h"
#include "deps/vst3/helpers/ReferenceList.h"

namespace Steinberg::Vst {

// The edit controller with a unit tree (no program lists).
class EditControllerEx1 : public EditController, public IUnitInfo
{
public:
  EditControllerEx1() = default;

  tresult VST3_CALL queryInterface(const TUID iid, void** obj) override;
  VST3_FORWARD_REFCOUNT(EditController)
  VST3_OBJECT_TYPE(EditControllerEx1, EditController)

  tresult VST3_CALL terminate() override;

  // Takes the caller's reference; false (the unit released) when memory fails.
  bool addUnit(Unit* unit);

  int32 VST3_CALL getUnitCount() override;
  tresult VST3_CALL getUnitInfo(int32 unitIndex, UnitInfo& info) override;
  int32 VST3_CALL getProgramListCount() override;
  tresult VST3_CALL getProgramListInfo(int32 listIndex, ProgramListInfo& info) override;
  tresult VST3_CALL getProgramName(ProgramListID listId, int32 programIndex, String128 name) override;
  tresult VST3_CALL getProgramInfo(ProgramListID listId, int32 programIndex, CString attributeId,
                                   String128 attributeValue) override;
  tresult VST3_CALL hasProgramPitchNames(ProgramListID listId, int32 programIndex) override;
  tresult VST3_CALL getProgramPitchName(ProgramListID listId, int32 programIndex, int16 midiPitch,
                                        String128 name) override;
  UnitID VST3_CALL getSelectedUnit() override;
  tresult VST3_CALL selectUnit(UnitID unitId) override;
  tresult VST3_CALL getUnitByBus(MediaType type, BusDirection dir, int32 busIndex, int32 channel,
                                 UnitID& unitId) override;
  tresult VST3_CALL setUnitProgramData(int32 listOrUnitId, int32 programIndex, IBStream* data) override;

protected:
  ~EditControllerEx1() override;
  void removeAllUnits();

  ReferenceList<Unit> units;
  UnitID selectedUnit = kRootUnitId;
};

} // namespace Steinberg::Vst
