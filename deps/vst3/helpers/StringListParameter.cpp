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

const StringListParameter::Entry* StringListParameter::entryAt(int32 index) const
{
  return index >= 0 && index < getStringCount() ? &strings[static_cast<size_t>(index)] : nullptr;
}

bool StringListParameter::appendString(const TChar* string)
{
  Entry entry;
  copyText16(entry.text, 128, string);
  try
  {
    strings.push_back(entry);
  }
  catch (const std::bad_alloc&)
  {
    return false;
  }
  info.stepCount = getStringCount() - 1;
  return true;
}

bool StringListParameter::replaceString(int32 index, const TChar* string)
{
  if (!entryAt(index))
    return false;
  copyText16(strings[static_cast<size_t>(index)].text, 128, string);
  return true;
}

void StringListParameter::toString(ParamValue normalized, String128 string) const
{
  const Entry* entry = entryAt(static_cast<int32>(toPlain(normalized)));
  copyText16(string, 128, entry ? entry->text : nullptr);
}

bool StringListParameter::fromString(const TChar* string, ParamValue& normalized) const
{
  if (!string)
    return false;
  for (int32 i = 0; i < getStringCount(); ++i)
  {
    const TChar* text = strings[static_cast<size_t>(i)].text;
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
  const int32 count = getStringCount();
  if (count <= 1 || std::isnan(normalized))
    return 0.;
  const double index = std::floor((normalized < 0. ? 0. : normalized) * count);
  return index > count - 1 ? count - 1 : index;
}

ParamValue StringListParameter::toNormalized(ParamValue plain) const
{
  const int32 count = getStringCount();
  if (count <= 1 || std::isnan(plain))
    return 0.;
  const double normalized = plain / (count - 1);
  return normalized < 0. ? 0. : normalized > 1. ? 1. : normalized;
}

} // namespace Steinberg::Vst
