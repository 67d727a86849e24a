#pragma once

#include "deps/vst3/helpers/Parameter.h"
#include "framework/core/GrowArray.h"
#include "framework/core/PointerList.h"

namespace Steinberg::Vst {

// The controller's parameters in declaration order, with a lookup by id.
class ParameterContainer
{
public:
  ParameterContainer() = default;
  ~ParameterContainer();
  ParameterContainer(const ParameterContainer&) = delete;
  ParameterContainer& operator=(const ParameterContainer&) = delete;

  // Takes the caller's reference. Returns the parameter, or null (the parameter then
  // released) when its id is taken or memory fails.
  Parameter* addParameter(Parameter* parameter);
  // Makes and adds a plain parameter.
  Parameter* addParameter(const TChar* title, const TChar* units, int32 stepCount, ParamValue defaultValueNormalized,
                          int32 flags, ParamID tag, UnitID unitID = kRootUnitId, const TChar* shortTitle = nullptr);

  int32 getParameterCount() const { return parameters.GetSize(); }
  Parameter* getParameterByIndex(int32 index) const { return parameters.Get(index); }
  Parameter* getParameter(ParamID tag) const;
  void removeAll();

private:
  struct IdIndex
  {
    ParamID id;
    int32 index;
  };
  int32 lowerBound(ParamID tag) const;

  pfw::PointerList<Parameter> parameters;
  pfw::GrowArray<IdIndex> byId; // sorted by id
};

} // namespace Steinberg::Vst
