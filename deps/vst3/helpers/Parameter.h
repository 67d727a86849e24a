#pragma once

#include "deps/vst3/helpers/FObject.h"
#include "deps/vst3/interfaces/IEditController.h"
#include "deps/vst3/interfaces/IUnitInfo.h"

namespace Steinberg::Vst {

// A controller parameter: its ParameterInfo and its normalised value. A continuous one
// (stepCount 0) shows its normalised value; a stepped one with n = stepCount + 1 states
// maps normalised v to min(n - 1, floor(v * n)) and state i back to i / (n - 1).
class Parameter : public FObject
{
public:
  explicit Parameter(const ParameterInfo& info);
  Parameter(const TChar* title, ParamID tag, const TChar* units = nullptr, ParamValue defaultValueNormalized = 0.,
            int32 stepCount = 0, int32 flags = ParameterInfo::kCanAutomate, UnitID unitID = kRootUnitId,
            const TChar* shortTitle = nullptr);
  VST3_OBJECT_TYPE(Parameter, FObject)

  const ParameterInfo& getInfo() const { return info; }
  ParameterInfo& getInfo() { return info; }
  void setUnitID(UnitID id) { info.unitId = id; }

  // Clamps to [0, 1]; NaN is refused. True when the stored value changed.
  virtual bool setNormalized(ParamValue value);
  virtual ParamValue getNormalized() const { return valueNormalized; }

  int32 getPrecision() const { return precision; }
  void setPrecision(int32 digits) { precision = digits < 0 ? 0 : digits > 16 ? 16 : digits; }

  virtual void toString(ParamValue valueNormalized, String128 string) const;
  // False when the text is not a number.
  virtual bool fromString(const TChar* string, ParamValue& valueNormalized) const;
  virtual ParamValue toPlain(ParamValue valueNormalized) const;
  virtual ParamValue toNormalized(ParamValue plainValue) const;

protected:
  ParameterInfo info;
  ParamValue valueNormalized;
  int32 precision = 4;
};

// Parses a UTF-16 number (surrounding spaces allowed); false for anything else.
bool parseNumber(const TChar* string, double& value);

} // namespace Steinberg::Vst
