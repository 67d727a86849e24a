#include "deps/vst3/helpers/EditControllerEx1.h"

namespace Steinberg::Vst {

EditControllerEx1::~EditControllerEx1()
{
  removeAllUnits();
}

tresult VST3_CALL EditControllerEx1::queryInterface(const TUID iid, void** obj)
{
  if (!obj)
    return kInvalidArgument;
  if (answerInterface<IUnitInfo>(this, iid, obj))
    return kResultOk;
  return EditController::queryInterface(iid, obj);
}

tresult VST3_CALL EditControllerEx1::terminate()
{
  removeAllUnits();
  return EditController::terminate();
}

void EditControllerEx1::removeAllUnits()
{
  units.clear();
}

bool EditControllerEx1::addUnit(Unit* unit)
{
  return units.add(unit);
}

int32 VST3_CALL EditControllerEx1::getUnitCount()
{
  return units.size();
}

tresult VST3_CALL EditControllerEx1::getUnitInfo(int32 unitIndex, UnitInfo& info)
{
  const Unit* unit = units.at(unitIndex);
  if (!unit)
    return kResultFalse;
  info = unit->getInfo();
  return kResultTrue;
}

int32 VST3_CALL EditControllerEx1::getProgramListCount()
{
  return 0;
}

tresult VST3_CALL EditControllerEx1::getProgramListInfo(int32, ProgramListInfo&)
{
  return kResultFalse;
}

tresult VST3_CALL EditControllerEx1::getProgramName(ProgramListID, int32, String128)
{
  return kResultFalse;
}

tresult VST3_CALL EditControllerEx1::getProgramInfo(ProgramListID, int32, CString, String128)
{
  return kResultFalse;
}

tresult VST3_CALL EditControllerEx1::hasProgramPitchNames(ProgramListID, int32)
{
  return kResultFalse;
}

tresult VST3_CALL EditControllerEx1::getProgramPitchName(ProgramListID, int32, int16, String128)
{
  return kResultFalse;
}

UnitID VST3_CALL EditControllerEx1::getSelectedUnit()
{
  return selectedUnit;
}

tresult VST3_CALL EditControllerEx1::selectUnit(UnitID unitId)
{
  selectedUnit = unitId;
  return kResultTrue;
}

tresult VST3_CALL EditControllerEx1::getUnitByBus(MediaType, BusDirection, int32, int32, UnitID&)
{
  return kResultFalse;
}

tresult VST3_CALL EditControllerEx1::setUnitProgramData(int32, int32, IBStream*)
{
  return kResultFalse;
}

} // namespace Steinberg::Vst
