#include "deps/vst3/helpers/Unit.h"

#include "deps/vst3/helpers/StringConvert.h"

namespace Steinberg::Vst {

Unit::Unit(const TChar* name, UnitID id, UnitID parentId, ProgramListID programListId)
  : info{}
{
  info.id = id;
  info.parentUnitId = parentId;
  copyText16(info.name, 128, name);
  info.programListId = programListId;
}

} // namespace Steinberg::Vst
