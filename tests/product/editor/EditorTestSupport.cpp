#include "EditorTestSupport.h"

#include "product/editor/Knob.h"

#include "framework/graphics/ITextEntryControl.h"

#include <map>

namespace editor_test {

bool BalancedHostEdits(const std::vector<HostEdit>& edits, std::string* why)
{
  std::map<int, int> open;
  auto fail = [why](const std::string& text) {
    if (why)
      *why = text;
    return false;
  };
  for (const HostEdit& edit : edits)
  {
    const std::string param = std::to_string(edit.paramIdx);
    switch (edit.kind)
    {
    case HostEdit::kBegin:
      if (++open[edit.paramIdx] != 1)
        return fail("nested begin of " + param);
      break;
    case HostEdit::kEnd:
      if (--open[edit.paramIdx] != 0)
        return fail("end without begin of " + param);
      break;
    case HostEdit::kPerform:
      if (open[edit.paramIdx] != 1)
        return fail("value outside an edit of " + param);
      break;
    }
  }
  for (const auto& entry : open)
    if (entry.second != 0)
      return fail("left open: " + std::to_string(entry.first));
  return true;
}

std::vector<int> PerformedParams(const std::vector<HostEdit>& edits)
{
  std::vector<int> params;
  for (const HostEdit& edit : edits)
    if (edit.kind == HostEdit::kPerform)
      params.push_back(edit.paramIdx);
  return params;
}

} // namespace editor_test

namespace editor_test {

namespace {
pfw::gui::IPointerEvent Point(float x, float y, bool right = false, bool shift = false)
{
  pfw::gui::IPointerEvent point;
  point.x = x;
  point.y = y;
  point.mods.left = !right;
  point.mods.right = right;
  point.mods.shift = shift;
  return point;
}
} // namespace

OpenEditor::OpenEditor()
{
  plugin->SetMakeGraphicsFunc([this] {
    gui = new EditorGui(*plugin);
    return gui;
  });
  plugin->OpenWindow(nullptr);
  plugin->TakeHostEdits();
}

void OpenEditor::Click(float x, float y, bool right)
{
  gui->OnMouseDown({Point(x, y, right)});
  gui->OnMouseUp({Point(x, y, right)});
}

void OpenEditor::Press(float x, float y, bool shift)
{
  gui->OnMouseDown({Point(x, y, false, shift)});
}

void OpenEditor::Release(float x, float y)
{
  gui->OnMouseUp({Point(x, y)});
}

void OpenEditor::Drag(float x, float y, float dX, float dY, bool shift)
{
  pfw::gui::IPointerEvent point = Point(x, y, false, shift);
  point.dX = dX;
  point.dY = dY;
  gui->OnMouseDrag({point});
}

void OpenEditor::DoubleClick(float x, float y)
{
  Click(x, y);
  gui->OnMouseDblClick(x, y, Point(x, y).mods);
  Release(x, y);
}

bool OpenEditor::Key(float x, float y, int vk, bool shift)
{
  pfw::gui::IKeyEvent key;
  key.vk = vk;
  key.shift = shift;
  return gui->OnKeyDown(x, y, key);
}

void OpenEditor::Wheel(float x, float y, float delta, bool fine)
{
  gui->OnMouseWheel(x, y, Point(x, y, false, fine).mods, delta);
}

void OpenEditor::Hover(float x, float y)
{
  gui->OnMouseOver(x, y, pfw::gui::IPointerMods());
}

void OpenEditor::Frame()
{
  gui->texts.clear();
  pfw::gui::IRectFList rects;
  if (!gui->IsDirty(rects))
    return;
  gui->SetAllControlsClean();
  gui->Draw(rects);
}

std::vector<pfw::gui::IControl*> OpenEditor::VisibleControls() const
{
  std::vector<pfw::gui::IControl*> shown;
  for (int i = 0; i < gui->NControls(); ++i)
    if (!gui->GetControl(i)->IsHidden())
      shown.push_back(gui->GetControl(i));
  return shown;
}

std::vector<pfw::gui::IControl*> OpenEditor::ControlsOf(int paramIdx) const
{
  std::vector<pfw::gui::IControl*> linked;
  for (int i = 0; i < gui->NControls(); ++i)
    if (gui->GetControl(i)->GetParamIdx() == paramIdx)
      linked.push_back(gui->GetControl(i));
  return linked;
}

pfw::gui::IControl* OpenEditor::ShowViewOf(int paramIdx)
{
  for (const editor::ViewState::ViewControl& entry : View().controls)
    if (entry.control->GetParamIdx() == paramIdx)
    {
      View().ShowView(entry.view, *gui);
      return entry.control;
    }
  return nullptr;
}

std::string OpenEditor::TypeIntoValueBox(int paramIdx, const std::string& text)
{
  auto* knob = dynamic_cast<editor::Knob*>(ShowViewOf(paramIdx));
  if (!knob)
    return "no knob";
  const pfw::gui::IRectF box = knob->ValueBox();
  Click(box.MW(), box.MH());
  pfw::gui::ITextEntryControl* entry = gui->GetTextEntryControl();
  if (!entry || !entry->IsEditing())
    return "no entry";
  const std::string opened = entry->GetText();
  pfw::gui::IKeyEvent selectAll;
  selectAll.vk = 'A';
  selectAll.control = true;
  gui->OnKeyDown(box.MW(), box.MH(), selectAll);
  Key(box.MW(), box.MH(), pfw::gui::kVKBack);
  for (char c : text)
  {
    pfw::gui::IKeyEvent key;
    key.vk = c == ' ' ? pfw::gui::kVKSpace : 0;
    key.utf8[0] = c;
    gui->OnKeyDown(box.MW(), box.MH(), key);
  }
  Key(box.MW(), box.MH(), pfw::gui::kVKReturn);
  return opened;
}

} // namespace editor_test
