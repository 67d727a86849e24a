#include "framework/platform/windows/TextEntryFilter.h"

#include "framework/core/IParam.h"

namespace pfw {

bool TextEntryAcceptsChar(const IParam* param, wchar_t c)
{
  if (!param || c < 0x20)
    return true;
  const bool sign = (c >= L'0' && c <= L'9') || c == L'+' || c == L'-';
  switch (param->GetType())
  {
  case IParam::kTypeBool:
  case IParam::kTypeInt:
  case IParam::kTypeEnum: return sign;
  case IParam::kTypeDouble: return sign || c == L'.';
  default: return true;
  }
}

} // namespace pfw
