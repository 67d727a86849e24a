#include "IGui.h"

#include "ITextEntryControl.h"

#include "framework/core/IGuiEditorDelegate.h"
#include "framework/core/IParam.h"

#include <cmath>
#include <cstdlib>
#include <cstring>

namespace pfw::gui {

namespace {
// A typed text means a value only when it names a display text or starts with a number.
bool TextToValue(const IParam& param, const char* text, double& value)
{
  for (int i = 0; i < param.NDisplayTexts(); ++i)
  {
    if (std::strcmp(param.GetDisplayTextAtIdx(i)->text, text) == 0)
    {
      value = param.GetDisplayTextAtIdx(i)->value;
      return true;
    }
  }
  if (param.GetType() == IParam::kTypeBool || param.GetType() == IParam::kTypeEnum)
    return false;
  char* end = nullptr;
  const double number = std::strtod(text, &end);
  if (end == text || !std::isfinite(number))
    return false;
  value = param.MapDisplayText(text);
  return std::isfinite(value);
}
} // namespace

IPopupMenu* IGui::CreatePopupMenu(IControl& control, IPopupMenu& menu, const IRectF& bounds, int valIdx,
                                  bool isContext)
{
  // The asking control's press stays open until the menu completes; other presses end.
  const auto ownEdits = mOpenEdits.find(&control);
  std::vector<int> kept;
  if (ownEdits != mOpenEdits.end())
  {
    kept = std::move(ownEdits->second);
    mOpenEdits.erase(ownEdits);
  }
  ReleaseMouseCapture();
  if (!kept.empty())
    mOpenEdits[&control] = std::move(kept);

  mPopupValIdx = valIdx;
  mIsContextMenu = isContext;
  mInPopupMenu = &control;
  OnPopupMenuOpening(menu);
  bool isAsync = false;
  IPopupMenu* chosen = CreatePlatformPopupMenu(menu, bounds, isAsync);
  if (isAsync)
    return nullptr;
  FinishPopupMenu(chosen);
  return chosen;
}

void IGui::FinishPopupMenu(IPopupMenu* chosen)
{
  IControl* control = mInPopupMenu;
  if (!control)
    return;
  if (mIsContextMenu)
    control->OnContextSelection(chosen ? chosen->GetChosenItemIdx() : -1);
  else
    control->OnPopupMenuSelection(chosen && chosen->GetChosenItemIdx() >= 0 ? chosen : nullptr, mPopupValIdx);
  // The selection handler may have removed every control.
  if (mInPopupMenu == control)
  {
    EndControlEdits(*control);
    mInPopupMenu = nullptr;
  }
}

void IGui::PopupHostContextMenu(IControl* control, int paramIdx, float x, float y)
{
  mPromptPopupMenu.Clear();
  if (!control)
    return;
  control->CreateContextMenu(mPromptPopupMenu);
  const float s = GetTotalScale();
  if (mDelegate->PopupHostContextMenu(*control, mPromptPopupMenu, paramIdx, static_cast<int>(x * s),
                                      static_cast<int>(y * s)))
    return;
  if (mPromptPopupMenu.NItems() > 0)
    CreatePopupMenu(*control, mPromptPopupMenu, IRectF(x, y, x, y), -1, true);
}

void IGui::PromptUserInput(IControl& control, const IRectF& bounds, int valIdx)
{
  const IParam* param = control.GetParam(valIdx);
  if (!param)
    return;
  GrowString current;
  if (param->GetType() == IParam::kTypeEnum || (param->GetType() == IParam::kTypeBool && param->NDisplayTexts() > 0))
  {
    param->GetDisplay(current, true);
    mPromptPopupMenu.Clear();
    for (int i = 0; i < param->NDisplayTexts(); ++i)
    {
      const char* text = param->GetDisplayTextAtIdx(i)->text;
      mPromptPopupMenu.AddItem(text, std::strcmp(text, current.Get()) == 0 ? PopupMenuItem::kChecked : 0, -1);
    }
    mPromptPopupMenu.SetTitle(param->GetName());
    CreatePopupMenu(control, mPromptPopupMenu, bounds, valIdx, false);
  }
  else
  {
    param->GetDisplay(current, false);
    CreateTextEntry(control, control.GetTextStyle(), bounds, current.Get(), valIdx);
  }
}

void IGui::CreateTextEntry(IControl& control, const ITextStyle& style, const IRectF& bounds, const char* text,
                           int valIdx)
{
  mInTextEntry = &control;
  mTextEntryValIdx = valIdx;
  const int paramIdx = valIdx >= 0 ? control.GetParamIdx(valIdx) : -1;
  if (mTextEntry)
    mTextEntry->CreateTextEntry(paramIdx, style, bounds, control.GetTextEntryLength(), text);
  else
    CreatePlatformTextEntry(paramIdx, style, bounds, control.GetTextEntryLength(), text);
  control.SetDirty(false, -1);
}

void IGui::SetControlValueAfterTextEdit(const char* text)
{
  IControl* control = mInTextEntry;
  if (!control)
    return;
  const int valIdx = mTextEntryValIdx;
  mInTextEntry = nullptr;
  mTextEntryValIdx = -1;
  const IParam* param = valIdx >= 0 ? control->GetParam(valIdx) : nullptr;
  if (param)
  {
    double value = 0.0;
    if (TextToValue(*param, text ? text : "", value))
      control->SetValueFromUserInput(param->ToNormalized(value), valIdx);
  }
  else
  {
    control->OnTextEntryCompletion(text ? text : "", valIdx);
  }
}

void IGui::ClearInTextEntryControl()
{
  mInTextEntry = nullptr;
  mTextEntryValIdx = -1;
}

} // namespace pfw::gui
