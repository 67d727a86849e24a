#include "deps/vst3/helpers/StringListParameter.h"

#include "deps/vst3/helpers/StringConvert.h"

#include <cmath>
#include <new>

namespace Steinberg::Vst {

StringListParameter::StringListParameter(const TChar* title, ParamID tag, const TChar* units, int32 flags,
                                         UnitID unitID, const TChar* shortTitle)
  : Parameter(title, tag, units, 0., 0, flags | ParameterInfo::kIsList, unitID, shortTitle)
{
}

StringListParameter::~StringListParameter() = default;

bool StringListParameter::appendString(const TChar* string)
{
  Entry* entry = new (std::nothrow) Entry;
  if (!entry)
    return false;
  copyText16(entry->text, 128, string);
  if (!strings.Add(entry))
  {
    delete entry;
    return false;
  }
  info.stepCount = strings.GetSize() - 1;
  return true;
}

bool StringListParameter::replaceString(int32 index, const TChar* string)
{
  Entry* entry = strings.Get(index);
  if (!entry)
    return false;
  copyText16(entry->text, 128, string);
  return true;
}

void StringListParameter::toString(ParamValue normalized, String128 string) const
{
  const Entry* entry = strings.Get(static_cast<int32>(toPlain(normalized)));
  copyText16(string, 128, entry ? entry->text : nullptr);
}

bool StringListParameter::fromString(const TChar* string, ParamValue& normalized) const
{
  if (!string)
    return false;
  for (int32 i = 0; i < strings.GetSize(); ++i)
  {
    const TChar* text = strings.Get(i)->text;
    int32 k = 0;
    while (text[k] != 0 && text[k] == string[k])
      ++k;
    if (text[k] == 0 && string[k] == 0)
    {
      normalized = toNormalized(i);
      return true;
    }
  }
  return false;
}

ParamValue StringListParameter::toPlain(ParamValue normalized) const
{
  const int32 count = strings.GetSize();
  if (count <= 1 || std::isnan(normalized))
    return 0.;
  const double index = std::floor((normalized < 0. ? 0. : normalized) * count);
  return index > count - 1 ? count - 1 : index;
}

ParamValue StringListParameter::toNormalized(ParamValue plain) const
{
  const int32 count = strings.GetSize();
  if (count <= 1 || std::isnan(plain))
    return 0.;
  const double normalized = plain / (count - 1);
  return normalized < 0. ? 0. : normalized > 1. ? 1. : normalized;
}

} // namespace Steinberg::Vst
