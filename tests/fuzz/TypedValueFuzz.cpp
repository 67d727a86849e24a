// Feeds arbitrary text to the parser of typed parameter values, for every parameter. An
// accepted value must lie within the parameter's range, and the text it is shown as must
// be accepted again and show the same.
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
  char shownAgain[64];
  editor::FormatPhysicalValue(param, again, shownAgain, sizeof shownAgain);
  Check(std::strcmp(shown, shownAgain) == 0);
  return 0;
}
