#include "deps/vst3/helpers/ParameterContainer.h"

#include <algorithm>
#include <new>

namespace Steinberg::Vst {

std::vector<ParameterContainer::IdIndex>::const_iterator ParameterContainer::lowerBound(ParamID tag) const
{
  return std::lower_bound(byId.begin(), byId.end(), tag,
                          [](const IdIndex& entry, ParamID wanted) { return entry.id < wanted; });
}

Parameter* ParameterContainer::addParameter(Parameter* parameter)
{
  if (!parameter)
    return nullptr;
  const ParamID tag = parameter->getInfo().id;
  const size_t position = static_cast<size_t>(lowerBound(tag) - byId.begin());
  if (position < byId.size() && byId[position].id == tag)
  {
    parameter->release();
    return nullptr;
  }
  // Room first, so that once the parameter is listed its index entry cannot fail.
  try
  {
    byId.reserve(byId.size() + 1);
  }
  catch (const std::bad_alloc&)
  {
    parameter->release();
    return nullptr;
  }
  if (!parameters.add(parameter))
    return nullptr;
  byId.insert(byId.begin() + static_cast<std::ptrdiff_t>(position), IdIndex{tag, parameters.size() - 1});
  return parameter;
}

Parameter* ParameterContainer::addParameter(const TChar* title, const TChar* units, int32 stepCount,
                                            ParamValue defaultValueNormalized, int32 flags, ParamID tag, UnitID unitID,
                                            const TChar* shortTitle)
{
  Parameter* parameter = new (std::nothrow)
    Parameter(title, tag, units, defaultValueNormalized, stepCount, flags, unitID, shortTitle);
  return addParameter(parameter);
}

Parameter* ParameterContainer::getParameter(ParamID tag) const
{
  const auto found = lowerBound(tag);
  if (found == byId.end() || found->id != tag)
    return nullptr;
  return parameters.at(found->index);
}

void ParameterContainer::removeAll()
{
  parameters.clear();
  byId.clear();
}

} // namespace Steinberg::Vst
