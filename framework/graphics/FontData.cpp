#include "FontData.h"

#include <cstring>

namespace pfw::gui {

bool FontData::Assign(const void* data, int size)
{
  mDescriptor = FontDescriptor();
  mFaceIndex = -1;
  mBytes.Resize(0, true);
  if (!data || size <= 0)
    return false;
  mBytes.Resize(size, true);
  if (mBytes.Size() != size)
  {
    mBytes.Resize(0, true);
    return false;
  }
  std::memcpy(mBytes.Data(), data, static_cast<size_t>(size));
  return true;
}

bool FontData::SelectFace(const char* styleName)
{
  const char* wanted = styleName ? styleName : "";
  mFaceIndex = -1;
  int firstUsable = -1;
  for (int face = 0;; ++face)
  {
    FontDescriptor candidate(mBytes.Data(), mBytes.Size(), face);
    if (!candidate.IsUsable())
      break;
    if (firstUsable < 0)
      firstUsable = face;
    const char* style = candidate.StyleName();
    if (*style && (!*wanted || std::strcmp(wanted, style) == 0))
    {
      mFaceIndex = face;
      break;
    }
  }
  if (mFaceIndex < 0)
    mFaceIndex = firstUsable;
  mDescriptor = mFaceIndex >= 0 ? FontDescriptor(mBytes.Data(), mBytes.Size(), mFaceIndex) : FontDescriptor();
  return mFaceIndex >= 0;
}

} // namespace pfw::gui
