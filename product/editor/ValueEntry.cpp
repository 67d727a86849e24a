#include "product/editor/ValueEntry.h"

namespace editor {

ValueEntry::ValueEntry(Completion completion)
  : pfw::gui::IControl(pfw::gui::IRectF(), -1)
  , mCompletion(std::move(completion))
{
  SetIgnoreMouse(true);
  // Room for a number with its unit ("1.5 K hz"), whatever the platform entry allows.
  SetTextEntryLength(32);
}

void ValueEntry::OnTextEntryCompletion(const char* text, int)
{
  if (mCompletion)
    mCompletion(text);
}

} // namespace editor
