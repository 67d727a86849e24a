#include "product/editor/ViewState.h"

#include "framework/graphics/IGui.h"

namespace editor {

void ViewState::SetHelp(const char* title, const char* body)
{
  helpTitle = title;
  helpBody = body;
}

void ViewState::AddControl(pfw::gui::IGui& graphics, pfw::gui::IControl* control, int view)
{
  graphics.AttachControl(control, -1, "");
  controls.push_back({control, view});
}

void ViewState::Apply(pfw::gui::IGui& graphics)
{
  for (const ViewControl& entry : controls)
    entry.control->Hide(entry.view >= 0 && entry.view != currentView);
  graphics.SetAllControlsDirty();
}

void ViewState::ShowView(int view, pfw::gui::IGui& graphics)
{
  currentView = view;
  Apply(graphics);
  SetHelp(kViewsHelpTitle, kViewsHelpBody);
}

} // namespace editor
