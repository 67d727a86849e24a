#include "product/core/ParamSetup.h"

#include "framework/core/IParam.h"
#include "product/core/ParamSpecTable.h"

void SetUpParamFromTable(pfw::IParam& param, int index)
{
  const char* name = ParamSpecTable::kNames[index];
  const char* label = ParamSpecTable::kLabels[index];
  // The table holds floats; widening them keeps the exact stored values (0.1 becomes
  // 0.10000000149011612), so a value saved as a float always lies inside the range.
  const double defaultValue = ParamSpecTable::kDefaults[index];
  const double minimum = ParamSpecTable::kMinimums[index];
  const double maximum = ParamSpecTable::kMaximums[index];

  if (IsDiscreteParam(index))
  {
    const int low = static_cast<int>(minimum);
    const int high = static_cast<int>(maximum);
    param.InitInt(name, static_cast<int>(defaultValue), low, high, label, 0, "");
    for (int value = low; value <= high; ++value)
      param.SetDisplayText(value, ParamValueName(index, value));
  }
  else if (IsLogScaledParam(index))
  {
    param.InitDouble(name, defaultValue, minimum, maximum, 0.001, label, 0, "", pfw::IParam::ShapeExp(),
                     pfw::IParam::kUnitCustom, nullptr);
  }
  else
  {
    param.InitDouble(name, defaultValue, minimum, maximum, 0.01, label, 0, "", pfw::IParam::ShapeLinear(),
                     pfw::IParam::kUnitCustom, nullptr);
  }
}
