#pragma once

#include "deps/vst3/helpers/Parameter.h"

#include <vector>

namespace Steinberg::Vst {

// A list parameter: one text per state, stepCount = number of texts - 1, flag kIsList.
class StringListParameter : public Parameter
{
public:
  StringListParameter(const TChar* title, ParamID tag, const TChar* units = nullptr,
                      int32 flags = ParameterInfo::kCanAutomate | ParameterInfo::kIsList, UnitID unitID = kRootUnitId,
                      const TChar* shortTitle = nullptr);
  ~StringListParameter() override;
  VST3_OBJECT_TYPE(StringListParameter, Parameter)

  // False when memory fails; the list then stays as it was.
  bool appendString(const TChar* string);
  bool replaceString(int32 index, const TChar* string);
  int32 getStringCount() const { return static_cast<int32>(strings.size()); }

  void toString(ParamValue valueNormalized, String128 string) const override;
  // Accepts one of the texts exactly; false otherwise.
  bool fromString(const TChar* string, ParamValue& valueNormalized) const override;
  ParamValue toPlain(ParamValue valueNormalized) const override;
  ParamValue toNormalized(ParamValue plainValue) const override;

private:
  struct Entry
  {
    String128 text;
  };
  const Entry* entryAt(int32 index) const;
  std::vector<Entry> strings;
};

} // namespace Steinberg::Vst
