#pragma once

namespace pfw {
class IParam;
}

// Makes the plug-in's parameter `index` (0 ... 83) from the parameter table: switches and
// choices as stepped integers with a display text per value, times and frequencies on a
// geometric shape with three decimals, everything else linear with two.
void SetUpParamFromTable(pfw::IParam& param, int index);
