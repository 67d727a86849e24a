#pragma once

#include "deps/vst3/helpers/Parameter.h"
#include "deps/vst3/helpers/StringListParameter.h"
#include "framework/core/IParam.h"

namespace pfw {

// The host's view of one framework parameter: title, unit label, steps, default, unit and
// flags come from the IParam, and so do its text and value conversions.
class IPluginVST3Parameter : public Steinberg::Vst::Parameter
{
public:
  IPluginVST3Parameter(IParam& param, int paramIdx, Steinberg::Vst::UnitID unitId);
  VST3_OBJECT_TYPE(IPluginVST3Parameter, Parameter)

  void toString(Steinberg::Vst::ParamValue valueNormalized, Steinberg::Vst::String128 string) const override;
  // False for a text that is neither one of the parameter's display texts nor a number, so
  // a typo in the host's value field changes nothing.
  bool fromString(const Steinberg::Vst::TChar* string, Steinberg::Vst::ParamValue& valueNormalized) const override;
  Steinberg::Vst::ParamValue toPlain(Steinberg::Vst::ParamValue valueNormalized) const override;
  Steinberg::Vst::ParamValue toNormalized(Steinberg::Vst::ParamValue plainValue) const override;

private:
  IParam& mParam;
};

// The host's bypass switch, a list of "off" and "on"; only effects have it.
class IPluginVST3BypassParameter : public Steinberg::Vst::StringListParameter
{
public:
  static constexpr Steinberg::Vst::ParamID kTag = 65536;

  IPluginVST3BypassParameter();
  VST3_OBJECT_TYPE(IPluginVST3BypassParameter, StringListParameter)
};

} // namespace pfw
