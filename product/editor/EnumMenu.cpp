#include "product/editor/EnumMenu.h"

#include "product/core/ParamSpecTable.h"
#include "product/core/TarnwickProduct.h"
#include "product/editor/ControlFrame.h"
#include "product/editor/EditorPalette.h"
#include "product/editor/EditorText.h"
#include "product/editor/ViewState.h"

#include "framework/core/IParam.h"
#include "framework/graphics/IGui.h"

#include <cmath>

namespace editor {

EnumMenu::EnumMenu(const pfw::gui::IRectF& bounds, int paramIdx, const char* label, TarnwickProduct& product,
                   std::shared_ptr<ViewState> viewState)
  : pfw::gui::IControl(bounds, paramIdx)
  , mLabel(label)
  , mProduct(product)
  , mViewState(std::move(viewState))
{
  SetTextStyle(EditorTextStyle(15.f, EditorPalette::Text));
}

pfw::gui::IRectF EnumMenu::Box() const
{
  if (!mLabel)
    return mRECT;
  return pfw::gui::IRectF(mRECT.L + 12.f, mRECT.T + 39.f, mRECT.R - 12.f, mRECT.T + 91.f);
}

void EnumMenu::ShowHelp()
{
  const int paramIdx = GetParamIdx();
  mViewState->SetHelp(ParamSpecTable::kNames[paramIdx], ParamSpecTable::kHelpTexts[paramIdx]);
}

void EnumMenu::OpenMenu()
{
  const pfw::IParam* param = GetParam();
  if (!param || !mGraphics)
    return;
  const int paramIdx = GetParamIdx();
  const long current = std::lround(param->FromNormalized(GetValue()));
  mMenu.Clear();
  mMenu.SetTitle(ParamSpecTable::kNames[paramIdx]);
  for (int i = static_cast<int>(param->GetMin()); i <= static_cast<int>(param->GetMax()); ++i)
    mMenu.AddItem(ParamValueName(paramIdx, i), i == current ? pfw::gui::PopupMenuItem::kChecked : 0);
  mGraphics->CreatePopupMenu(*this, mMenu, Box());
}

void EnumMenu::OnMouseDown(float, float, const pfw::gui::IPointerMods&)
{
  if (mDisabled)
    return;
  ShowHelp();
  OpenMenu();
}

void EnumMenu::OnMouseDblClick(float, float, const pfw::gui::IPointerMods&)
{
  if (!mDisabled)
    SetValueToDefault(-1);
}

bool EnumMenu::OnKeyDown(float, float, const pfw::gui::IKeyEvent& key)
{
  if (mDisabled)
    return false;
  if (key.vk != pfw::gui::kVKReturn && key.vk != pfw::gui::kVKSpace)
    return false;
  ShowHelp();
  OpenMenu();
  return true;
}

void EnumMenu::OnMouseOver(float x, float y, const pfw::gui::IPointerMods& mods)
{
  ShowHelp();
  pfw::gui::IControl::OnMouseOver(x, y, mods);
}

void EnumMenu::OnPopupMenuSelection(pfw::gui::IPopupMenu* menu, int)
{
  const pfw::IParam* param = GetParam();
  if (!menu || menu->GetChosenItemIdx() < 0 || !param)
    return;
  SetValueFromUserInput(param->ToNormalized(param->GetMin() + menu->GetChosenItemIdx()));
  if (mGraphics)
    mGraphics->SetAllControlsDirty();
}

void EnumMenu::Draw(pfw::gui::IGui& g)
{
  const pfw::gui::IArgbColour& text = mDisabled ? EditorPalette::MutedText : EditorPalette::Text;
  if (mLabel)
    g.DrawText(EditorTextStyle(15.f, text), mLabel,
               pfw::gui::IRectF(mRECT.L, mRECT.T, mRECT.R, mRECT.T + 24.f));
  const pfw::gui::IRectF box = Box();
  g.FillRoundRect(EditorPalette::Ink, box, 5.f);
  g.DrawRoundRect(mMouseIsOver && !mDisabled ? EditorPalette::Amber : EditorPalette::Slate, box.Inflated(-0.5f), 5.f,
                  nullptr, 1.f);
  if (const pfw::IParam* param = GetParam())
  {
    pfw::GrowString display;
    param->GetDisplay(param->FromNormalized(GetValue()), false, display, true);
    DrawFittedText(g,
                   EditorTextStyle(15.f, text, pfw::gui::ITextStyle::kAlignNear, pfw::gui::ITextStyle::kAlignCentre),
                   display.Get(), pfw::gui::IRectF(box.L + 12.f, box.T, box.R - 24.f, box.B), 11.f);
  }
  const float mid = box.MH();
  g.DrawLine(EditorPalette::Teal, box.R - 18.f, mid - 3.f, box.R - 13.f, mid + 2.f, nullptr, 1.f);
  g.DrawLine(EditorPalette::Teal, box.R - 13.f, mid + 2.f, box.R - 8.f, mid - 3.f, nullptr, 1.f);
}

bool EnumMenu::IsDirty()
{
  FollowStageDimming(*this, mProduct);
  return pfw::gui::IControl::IsDirty();
}

} // namespace editor
