#include "deps/vst3/helpers/Parameter.h"

#include "deps/vst3/helpers/StringConvert.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace Steinberg::Vst {

namespace {
ParamValue clampUnit(ParamValue value)
{
  return value < 0. ? 0. : value > 1. ? 1. : value;
}

ParamValue validDefault(ParamValue value)
{
  return std::isnan(value) ? 0. : clampUnit(value);
}
} // namespace

bool parseNumber(const TChar* string, double& value)
{
  char text[128];
  int32 length = 0;
  for (const TChar* unit = string; unit && *unit; ++unit)
  {
    if (*unit > 0x7F || length >= static_cast<int32>(sizeof(text)) - 1)
      return false;
    text[length++] = static_cast<char>(*unit);
  }
  text[length] = 0;
  const char* start = text;
  while (*start == ' ')
    ++start;
  if (*start == 0)
    return false;
  char* end = nullptr;
  const double parsed = std::strtod(start, &end);
  while (end && *end == ' ')
    ++end;
  if (!end || *end != 0 || !std::isfinite(parsed))
    return false;
  value = parsed;
  return true;
}

Parameter::Parameter(const ParameterInfo& parameterInfo)
  : info(parameterInfo)
  , valueNormalized(validDefault(parameterInfo.defaultNormalizedValue))
{
  info.defaultNormalizedValue = valueNormalized;
}

Parameter::Parameter(const TChar* title, ParamID tag, const TChar* units, ParamValue defaultValueNormalized,
                     int32 stepCount, int32 flags, UnitID unitID, const TChar* shortTitle)
  : info{}
  , valueNormalized(validDefault(defaultValueNormalized))
{
  info.id = tag;
  copyText16(info.title, 128, title);
  copyText16(info.shortTitle, 128, shortTitle);
  copyText16(info.units, 128, units);
  info.stepCount = stepCount < 0 ? 0 : stepCount;
  info.defaultNormalizedValue = valueNormalized;
  info.unitId = unitID;
  info.flags = flags;
}

bool Parameter::setNormalized(ParamValue value)
{
  if (std::isnan(value))
    return false;
  value = clampUnit(value);
  if (value == valueNormalized)
    return false;
  valueNormalized = value;
  return true;
}

void Parameter::toString(ParamValue normalized, String128 string) const
{
  char text[64];
  if (info.stepCount > 0)
    std::snprintf(text, sizeof(text), "%d", static_cast<int>(toPlain(normalized)));
  else
    std::snprintf(text, sizeof(text), "%.*f", precision, clampUnit(std::isnan(normalized) ? 0. : normalized));
  widenText(string, 128, text);
}

bool Parameter::fromString(const TChar* string, ParamValue& normalized) const
{
  double value = 0.;
  if (!parseNumber(string, value))
    return false;
  normalized = info.stepCount > 0 ? toNormalized(value) : clampUnit(value);
  return true;
}

ParamValue Parameter::toPlain(ParamValue normalized) const
{
  if (info.stepCount <= 0)
    return normalized;
  const double states = info.stepCount + 1.;
  const double index = std::floor(clampUnit(std::isnan(normalized) ? 0. : normalized) * states);
  return index > info.stepCount ? info.stepCount : index;
}

ParamValue Parameter::toNormalized(ParamValue plain) const
{
  if (info.stepCount <= 0)
    return plain;
  if (std::isnan(plain))
    return 0.;
  return clampUnit(plain / info.stepCount);
}

} // namespace Steinberg::Vst
