#include "deps/vst3/helpers/ParameterContainer.h"

#include <cstring>
#include <new>

namespace Steinberg::Vst {

ParameterContainer::~ParameterContainer()
{
  removeAll();
}

int32 ParameterContainer::lowerBound(ParamID tag) const
{
  int32 low = 0;
  int32 high = byId.GetSize();
  const IdIndex* entries = byId.Get();
  while (low < high)
  {
    const int32 middle = low + (high - low) / 2;
    if (entries[middle].id < tag)
      low = middle + 1;
    else
      high = middle;
  }
  return low;
}

Parameter* ParameterContainer::addParameter(Parameter* parameter)
{
  if (!parameter)
    return nullptr;
  const ParamID tag = parameter->getInfo().id;
  const int32 position = lowerBound(tag);
  const bool taken = position < byId.GetSize() && byId.Get(position)->id == tag;
  const int32 count = byId.GetSize();
  if (taken || !byId.Resize(count + 1, false))
  {
    parameter->release();
    return nullptr;
  }
  if (!parameters.Add(parameter))
  {
    byId.Resize(count);
    parameter->release();
    return nullptr;
  }
  IdIndex* entries = byId.Get();
  std::memmove(entries + position + 1, entries + position, sizeof(IdIndex) * static_cast<size_t>(count - position));
  entries[position] = IdIndex{tag, parameters.GetSize() - 1};
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
  const int32 position = lowerBound(tag);
  if (position >= byId.GetSize() || byId.Get(position)->id != tag)
    return nullptr;
  return parameters.Get(byId.Get(position)->index);
}

void ParameterContainer::removeAll()
{
  for (int32 i = parameters.GetSize() - 1; i >= 0; --i)
  {
    Parameter* parameter = parameters.Get(i);
    parameters.Delete(i);
    parameter->release();
  }
  byId.Resize(0);
}

} // namespace Steinberg::Vst
