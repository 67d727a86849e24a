#include "wrappers/vst3/IPluginVST3Parameter.h"

#include "deps/vst3/helpers/StringConvert.h"
#include "framework/core/GrowString.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>

namespace pfw {

using namespace Steinberg;
using namespace Steinberg::Vst;

namespace {

ParameterInfo MakeInfo(IParam& param, int paramIdx, UnitID unitId)
{
  ParameterInfo info{};
  info.id = static_cast<ParamID>(paramIdx);
  widenText(info.title, 128, param.GetName());
  widenText(info.units, 128, param.GetLabelForCurrentValue());
  info.stepCount = param.GetType() == IParam::kTypeDouble ? 0 : static_cast<int32>(param.GetMax() - param.GetMin());
  info.defaultNormalizedValue = std::clamp(param.GetDefault(true), 0.0, 1.0);
  info.unitId = unitId;
  info.flags = (param.GetCanAutomate() ? ParameterInfo::kCanAutomate : 0) |
               (param.GetType() == IParam::kTypeEnum ? ParameterInfo::kIsList : 0);
  return info;
}

// Accepts a display text of the parameter or a text that starts with a number.
bool IsValueText(const IParam& param, const char* text)
{
  for (int i = 0; i < param.NDisplayTexts(); ++i)
    if (std::strcmp(param.GetDisplayTextAtIdx(i)->text, text) == 0)
      return true;
  char* end = nullptr;
  const double number = std::strtod(text, &end);
  return end != text && std::isfinite(number);
}

} // namespace

IPluginVST3Parameter::IPluginVST3Parameter(IParam& param, int paramIdx, UnitID unitId)
  : Parameter(MakeInfo(param, paramIdx, unitId))
  , mParam(param)
{
  setPrecision(param.GetDisplayPrecision());
  setNormalized(param.GetNormalized());
}

void IPluginVST3Parameter::toString(ParamValue valueNormalized, String128 string) const
{
  GrowString text;
  mParam.GetDisplay(valueNormalized, true, text, true);
  widenText(string, 128, text.Get());
}

bool IPluginVST3Parameter::fromString(const TChar* string, ParamValue& valueNormalized) const
{
  char text[128];
  if (!string || utf16ToAnsi(text, sizeof(text), string) < 0 || !IsValueText(mParam, text))
    return false;
  valueNormalized = mParam.ToNormalized(mParam.MapDisplayText(text));
  return true;
}

ParamValue IPluginVST3Parameter::toPlain(ParamValue valueNormalized) const
{
  return mParam.FromNormalized(valueNormalized);
}

ParamValue IPluginVST3Parameter::toNormalized(ParamValue plainValue) const
{
  return mParam.ToNormalized(plainValue);
}

IPluginVST3BypassParameter::IPluginVST3BypassParameter()
  : StringListParameter(u"Bypass", kTag, nullptr,
                        ParameterInfo::kCanAutomate | ParameterInfo::kIsList | ParameterInfo::kIsBypass, kRootUnitId)
{
  appendString(u"off");
  appendString(u"on");
}

} // namespace pfw
