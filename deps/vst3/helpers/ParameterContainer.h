#pragma once

#include "deps/vst3/helpers/Parameter.h"
#include "deps/vst3/helpers/ReferenceList.h"

#include <vector>

namespace Steinberg::Vst {

// The controller's parameters in declaration order, with a lookup by id.
class ParameterContainer
{
public:
  ParameterContainer() = default;
  ParameterContainer(const ParameterContainer&) = delete;
  ParameterContainer& operator=(const ParameterContainer&) = delete;

  // Takes the caller's reference. Returns the parameter, or null (the parameter then
  // released) when its id is taken or memory fails.
  Parameter* addParameter(Parameter* parameter);
  // Makes and adds a plain parameter.
  Parameter* addParameter(const TChar* title, const TChar* units, int32 stepCount, ParamValue defaultValueNormalized,
                          int32 flags, ParamID tag, UnitID unitID = kRootUnitId, const TChar* shortTitle = nullptr);

  int32 getParameterCount() const { return parameters.size(); }
  Parameter* getParameterByIndex(int32 index) const { return parameters.at(index); }
  Parameter* getParameter(ParamID tag) const;
  void removeAll();

private:
  struct IdIndex
  {
    ParamID id;
    int32 index;
  };
  // The first entry of byId whose id is not below tag.
  std::vector<IdIndex>::const_iterator lowerBound(ParamID tag) const;

  ReferenceList<Parameter> parameters;
  std::vector<IdIndex> byId; // sorted by id
};

} // namespace Steinberg::Vst
