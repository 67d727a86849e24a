#pragma once

#include "deps/vst3/helpers/FObject.h"
#include "deps/vst3/interfaces/IUnitInfo.h"

namespace Steinberg::Vst {

// A unit of the controller's tree, described by its UnitInfo.
class Unit : public FObject
{
public:
  explicit Unit(const UnitInfo& unitInfo)
    : info(unitInfo)
  {
  }
  Unit(const TChar* name, UnitID id, UnitID parentId = kRootUnitId, ProgramListID programListId = kNoProgramListId);
  VST3_OBJECT_TYPE(Unit, FObject)

  const UnitInfo& getInfo() const { return info; }
  UnitID getID() const { return info.id; }

private:
  UnitInfo info;
};

} // namespace Steinberg::Vst
