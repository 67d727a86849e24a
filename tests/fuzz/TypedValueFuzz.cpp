// Feeds arbitrary text to the parser of typed parameter values, for every parameter. An
// accepted value must lie within the parameter's range, and the text it is shown as must be
// accepted again. Rounding may move a shown value across a format boundary once (0.999 ms
// shows as "1.00 ms", which reads back as 1 ms and shows as "1.0 ms"; 999.9 Hz shows as
// "1000 Hz", then "1.00 kHz"); after that one step the text must stay as it is.
#include "product/core/ParamIds.h"
#include "product/core/ParamSpecTable.h"
#include "product/editor/PhysicalUnits.h"

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

void Check(bool condition)
{
  if (!condition)
    std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
  if (size < 1)
    return 0;
  const int param = data[0] % kNumParams;
  const std::string text(reinterpret_cast<const char*>(data) + 1, size - 1);
  double value = 0.0;
  if (!editor::ParsePhysicalValue(param, text.c_str(), value))
    return 0;
  Check(std::isfinite(value));
  Check(value >= ParamSpecTable::kMinimums[param] && value <= ParamSpecTable::kMaximums[param]);

  char shown[64];
  editor::FormatPhysicalValue(param, value, shown, sizeof shown);
  double again = 0.0;
  Check(editor::ParsePhysicalValue(param, shown, again));
  char settled[64];
  editor::FormatPhysicalValue(param, again, settled, sizeof settled);
  double settledValue = 0.0;
  Check(editor::ParsePhysicalValue(param, settled, settledValue));
  char settledAgain[64];
  editor::FormatPhysicalValue(param, settledValue, settledAgain, sizeof settledAgain);
  Check(std::strcmp(settled, settledAgain) == 0);
  return 0;
}
