#include "product/editor/Knob.h"

#include "product/core/ParamSpecTable.h"
#include "product/core/TarnwickProduct.h"
#include "product/editor/ControlFrame.h"
#include "product/editor/EditorPalette.h"
#include "product/editor/EditorText.h"
#include "product/editor/PhysicalUnits.h"
#include "product/editor/ValueEntry.h"
#include "product/editor/ViewState.h"

#include "framework/core/IParam.h"
#include "framework/graphics/IGui.h"

#include <algorithm>
#include <cmath>

namespace editor {

namespace {
constexpr float kPi = 3.14159265358979f;
constexpr float kSweep = 138.f; // degrees either side of straight up
constexpr float kArcRadius = 36.f;
constexpr float kBodyRadius = 31.f;

constexpr const char* kRefusedTitle = "VALID PHYSICAL VALUES";
constexpr const char* kRefusedBody = "Enter a finite number with its displayed unit. Frequency accepts Hz/kHz; timing "
                                     "accepts ms/s. Invalid input leaves the value unchanged.";
} // namespace

Knob::Knob(const pfw::gui::IRectF& bounds, int paramIdx, const char* label, TarnwickProduct& product,
           std::shared_ptr<ViewState> viewState)
  : pfw::gui::IKnobControlBase(bounds, paramIdx, kVertical, 4.0)
  , mLabel(label)
  , mProduct(product)
  , mViewState(std::move(viewState))
{
  SetHideCursorOnDrag(true);
  SetTooltip(ParamSpecTable::kHelpTexts[paramIdx]);
  SetTextStyle(EditorTextStyle(16.f, EditorPalette::Text));
}

pfw::gui::IRectF Knob::ValueBox() const
{
  const float cx = mRECT.MW();
  return pfw::gui::IRectF(cx - 60.f, mRECT.B - 29.f, cx + 60.f, mRECT.B - 3.f);
}

double Knob::PhysicalValue() const
{
  const pfw::IParam* param = GetParam();
  return param ? param->FromNormalized(GetValue()) : 0.0;
}

void Knob::ShowHelp()
{
  mViewState->SetHelp(mLabel, ParamSpecTable::kHelpTexts[GetParamIdx()]);
}

void Knob::OpenValueEntry()
{
  if (!mGraphics || !mValueEntry || !GetParam())
    return;
  mEntryOpenedWith = FormatEntryValue(PhysicalValue());
  mGraphics->CreateTextEntry(*mValueEntry, mTextStyle, ValueBox(), mEntryOpenedWith.c_str(), -1);
  SetDirty(false);
}

void Knob::ValueEntryCompletion(const char* text)
{
  // Committing what the entry showed is no edit: a recipe, bank or host change made while
  // the entry stood open must not be put back.
  if (text && mEntryOpenedWith == text)
    return;
  double value = 0.0;
  const pfw::IParam* param = GetParam();
  if (param && ParsePhysicalValue(GetParamIdx(), text, value))
  {
    SetValueFromUserInput(param->ToNormalized(value));
    SetDirty(false);
    return;
  }
  mViewState->SetHelp(kRefusedTitle, kRefusedBody);
  if (mGraphics)
    mGraphics->SetAllControlsDirty();
}

void Knob::OnMouseDown(float x, float y, const pfw::gui::IPointerMods& mods)
{
  if (mDisabled)
    return;
  ShowHelp();
  if (ValueBox().Contains(x, y) && !mods.right)
    OpenValueEntry();
  else
    pfw::gui::IKnobControlBase::OnMouseDown(x, y, mods);
}

void Knob::OnMouseDblClick(float, float, const pfw::gui::IPointerMods&)
{
  if (!mDisabled)
    SetValueToDefault(-1);
}

bool Knob::OnKeyDown(float, float, const pfw::gui::IKeyEvent& key)
{
  if (mDisabled)
    return false;
  double step = key.shift ? kFineKeyStep : kKeyStep;
  switch (key.vk)
  {
  case pfw::gui::kVKReturn: OpenValueEntry(); return true;
  case pfw::gui::kVKHome: SetValueToDefault(-1); return true;
  case pfw::gui::kVKLeft:
  case pfw::gui::kVKDown: step = -step; break;
  case pfw::gui::kVKUp:
  case pfw::gui::kVKRight: break;
  default: return false;
  }
  SetValueFromUserInput(std::clamp(GetValue() + step, 0.0, 1.0));
  return true;
}

void Knob::OnMouseOver(float x, float y, const pfw::gui::IPointerMods& mods)
{
  ShowHelp();
  pfw::gui::IKnobControlBase::OnMouseOver(x, y, mods);
}

void Knob::Draw(pfw::gui::IGui& g)
{
  const float cx = mRECT.MW();
  const float cy = mRECT.T + 62.f;
  const double v = GetValue();
  const float angle = static_cast<float>(276.0 * v) - kSweep;
  const pfw::gui::IArgbColour& text = mDisabled ? EditorPalette::MutedText : EditorPalette::Text;
  const pfw::gui::IArgbColour valueColour = mDisabled ? pfw::gui::IArgbColour(255, 91, 111, 115) : EditorPalette::Amber;

  g.DrawText(EditorTextStyle(15.f, text), mLabel, pfw::gui::IRectF(mRECT.L, mRECT.T, mRECT.R, mRECT.T + 24.f));
  g.DrawArc(EditorPalette::Slate, cx, cy, kArcRadius, -kSweep, kSweep, nullptr, 3.f);
  if (v > 0.0)
    g.DrawArc(valueColour, cx, cy, kArcRadius, -kSweep, angle, nullptr, 3.f);

  g.PathClear();
  g.PathCircle(cx, cy, kBodyRadius);
  g.PathFill(pfw::gui::IColourSource::CreateLinearGradient(
               cx, cy - kBodyRadius, cx, cy + kBodyRadius,
               {{pfw::gui::IArgbColour(255, 72, 87, 94), 0.f}, {pfw::gui::IArgbColour(255, 22, 32, 38), 1.f}}),
             pfw::gui::IFillRule(), nullptr);
  g.DrawCircle(pfw::gui::IArgbColour(255, 87, 108, 115), cx, cy, kBodyRadius, nullptr, 1.f);
  g.DrawCircle(pfw::gui::IArgbColour(255, 26, 35, 40), cx, cy, 26.f, nullptr, 1.f);

  const float s = std::sin(angle * kPi / 180.f);
  const float c = std::cos(angle * kPi / 180.f);
  g.DrawLine(valueColour, cx + 12.f * s, cy - 12.f * c, cx + 26.f * s, cy - 26.f * c, nullptr, 3.f);

  const pfw::gui::IRectF box = ValueBox();
  g.FillRoundRect(EditorPalette::Ink, box, 5.f);
  g.DrawRoundRect(mMouseIsOver && !mDisabled ? EditorPalette::Amber : EditorPalette::Slate, box.Inflated(-0.5f), 5.f,
                  nullptr, 1.f);
  if (mValueEntry && g.GetControlInTextEntry() == mValueEntry)
    return;
  char valueText[64];
  FormatPhysicalValue(GetParamIdx(), PhysicalValue(), valueText, sizeof(valueText));
  g.DrawText(EditorTextStyle(16.f, text), valueText, box);
}

bool Knob::IsDirty()
{
  FollowStageDimming(*this, mProduct);
  return pfw::gui::IKnobControlBase::IsDirty();
}

} // namespace editor
