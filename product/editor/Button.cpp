#include "product/editor/Button.h"

#include "product/core/ParamSpecTable.h"
#include "product/core/TarnwickProduct.h"
#include "product/editor/ControlFrame.h"
#include "product/editor/EditorPalette.h"
#include "product/editor/EditorText.h"
#include "product/editor/MakerContact.h"
#include "product/editor/ViewState.h"

#include "framework/graphics/IGui.h"

#include <string>

namespace editor {

namespace {
constexpr int kFirstViewOfTab[] = {0, 1, 3, 5, 6, 8};
constexpr int kTabCount = static_cast<int>(sizeof(kFirstViewOfTab) / sizeof(kFirstViewOfTab[0]));

constexpr const char* kBanksHelpTitle = "TWO COMPLETE SETTINGS BANKS";
constexpr const char* kBanksHelpBody = "A/B switches all84settings; COPY stores the current complete chain in the "
                                       "other bank. Gain changes are real: compare useful output levels.";

bool IsEnterOrSpace(const pfw::gui::IKeyEvent& key)
{
  return key.vk == pfw::gui::kVKReturn || key.vk == pfw::gui::kVKSpace;
}
} // namespace

int Button::TabOfView(int view)
{
  for (int tab = kTabCount - 1; tab >= 0; --tab)
    if (view >= kFirstViewOfTab[tab])
      return tab;
  return -1;
}

int Button::FirstViewOfTab(int tab)
{
  return tab >= 0 && tab < kTabCount ? kFirstViewOfTab[tab] : -1;
}

Button::Button(const pfw::gui::IRectF& bounds, const char* label, TarnwickProduct& product,
               std::shared_ptr<ViewState> viewState, ButtonKind kind, int target, int paramIdx)
  : pfw::gui::IControl(bounds, paramIdx)
  , mLabel(label)
  , mProduct(product)
  , mViewState(std::move(viewState))
  , mKind(kind)
  , mTarget(target)
{
  if (paramIdx >= 0 && paramIdx < kNumParams)
    SetTooltip(ParamSpecTable::kHelpTexts[paramIdx]);
}

bool Button::IsOn() const
{
  switch (mKind)
  {
  case kButtonSwitch: return GetValue() > 0.5;
  case kButtonBankSwitch: return mProduct.IsBankBActive();
  case kButtonSubTab: return mTarget == mViewState->currentView;
  case kButtonTab: return mTarget == TabOfView(mViewState->currentView);
  case kButtonCopyBank:
  case kButtonMailLink: return false;
  }
  return false;
}

void Button::Press()
{
  switch (mKind)
  {
  case kButtonSwitch: SetValueFromUserInput(GetValue() > 0.5 ? 0.0 : 1.0); break;
  case kButtonBankSwitch: mProduct.SwitchBank(); break;
  case kButtonCopyBank: mProduct.CopyToOtherBank(); break;
  case kButtonSubTab:
    if (mGraphics)
      mViewState->ShowView(mTarget, *mGraphics);
    break;
  case kButtonTab:
    if (mGraphics && FirstViewOfTab(mTarget) >= 0)
      mViewState->ShowView(FirstViewOfTab(mTarget), *mGraphics);
    break;
  case kButtonMailLink:
    if (mGraphics)
      mGraphics->OpenURL((std::string("mailto:") + kMakerSupportAddress).c_str());
    break;
  }
  if (mGraphics)
    mGraphics->SetAllControlsDirty();
}

void Button::OnMouseDown(float, float, const pfw::gui::IPointerMods&)
{
  if (!mDisabled)
    Press();
}

void Button::OnMouseDblClick(float, float, const pfw::gui::IPointerMods&)
{
  if (mKind == kButtonSwitch && !mDisabled)
    SetValueToDefault(-1);
}

bool Button::OnKeyDown(float, float, const pfw::gui::IKeyEvent& key)
{
  if (!IsEnterOrSpace(key))
    return false;
  if (!mDisabled)
    Press();
  return true;
}

void Button::OnMouseOver(float x, float y, const pfw::gui::IPointerMods& mods)
{
  const int paramIdx = GetParamIdx();
  if (mKind == kButtonSwitch && paramIdx >= 0 && paramIdx < kNumParams)
    mViewState->SetHelp(ParamSpecTable::kNames[paramIdx], ParamSpecTable::kHelpTexts[paramIdx]);
  else if (mKind == kButtonBankSwitch || mKind == kButtonCopyBank)
    mViewState->SetHelp(kBanksHelpTitle, kBanksHelpBody);
  pfw::gui::IControl::OnMouseOver(x, y, mods);
}

void Button::Draw(pfw::gui::IGui& g)
{
  const bool on = IsOn();
  DrawControlFrame(g, mRECT, on && !mDisabled, mMouseIsOver && !mDisabled);
  const char* text = mKind == kButtonBankSwitch ? (on ? "B" : "A") : mLabel;
  const float size = mKind == kButtonMailLink ? 12.f : 14.f;
  g.DrawText(EditorTextStyle(size, mDisabled ? EditorPalette::MutedText : EditorPalette::Text), text, mRECT);
  if (mKind == kButtonSwitch)
    g.FillCircle(on ? EditorPalette::Amber : EditorPalette::Slate, mRECT.L + 10.f, mRECT.MH(), 2.5f);
}

bool Button::IsDirty()
{
  switch (mKind)
  {
  case kButtonSwitch: FollowStageDimming(*this, mProduct); break;
  case kButtonBankSwitch:
  case kButtonSubTab:
  case kButtonTab: SetDirty(false); break;
  case kButtonCopyBank:
  case kButtonMailLink: break;
  }
  return pfw::gui::IControl::IsDirty();
}

} // namespace editor
