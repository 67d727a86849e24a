#include "product/editor/ValueEntry.h"

namespace editor {

ValueEntry::ValueEntry(Completion completion)
  : pfw::gui::IControl(pfw::gui::IRectF(), -1)
  , mCompletion(std::move(completion))
{
  SetIgnoreMouse(true);
}

void ValueEntry::OnTextEntryCompletion(const char* text, int)
{
  if (mCompletion)
    mCompletion(text);
}

} // namespace editor
