#include "product/editor/PresetMenu.h"

#include "product/core/FactoryRecipes.h"
#include "product/core/TarnwickProduct.h"
#include "product/editor/EditorPalette.h"
#include "product/editor/EditorText.h"
#include "product/editor/ViewState.h"

#include "framework/graphics/IGui.h"

namespace editor {

namespace {
constexpr const char* kTooltip = "40 complete pedal, amp, cabinet and ambience recipes. Edits display Custom; both A/B "
                                 "banks save all84 controls.";
constexpr const char* kHelpTitle = "40 FACTORY RECIPES";
constexpr const char* kHelpBody = "Choose complete guitar, bass, pedal, amp and creative starting points. Custom means "
                                  "the current84 controls differ from a factory recipe.";
} // namespace

PresetMenu::PresetMenu(const pfw::gui::IRectF& bounds, TarnwickProduct& product, std::shared_ptr<ViewState> viewState)
  : pfw::gui::IControl(bounds, -1)
  , mProduct(product)
  , mViewState(std::move(viewState))
{
  SetTooltip(kTooltip);
  for (const FactoryRecipe& recipe : FactoryRecipes())
    mMenu.AddItem(recipe.name);
}

void PresetMenu::OpenMenu()
{
  if (!mGraphics)
    return;
  // The menu is kept between openings: an old choice must not count as a new one.
  mMenu.SetChosenItemIdx(-1);
  mGraphics->CreatePopupMenu(*this, mMenu, mRECT);
}

void PresetMenu::OnMouseDown(float, float, const pfw::gui::IPointerMods&)
{
  OpenMenu();
}

bool PresetMenu::OnKeyDown(float, float, const pfw::gui::IKeyEvent& key)
{
  if (key.vk != pfw::gui::kVKReturn && key.vk != pfw::gui::kVKSpace)
    return false;
  OpenMenu();
  return true;
}

void PresetMenu::OnMouseOver(float x, float y, const pfw::gui::IPointerMods& mods)
{
  mViewState->SetHelp(kHelpTitle, kHelpBody);
  pfw::gui::IControl::OnMouseOver(x, y, mods);
}

void PresetMenu::OnPopupMenuSelection(pfw::gui::IPopupMenu* menu, int)
{
  // A dismissed menu comes without a menu: nothing was chosen, nothing changes.
  if (!menu || menu->GetChosenItemIdx() < 0)
    return;
  mProduct.ApplyRecipe(menu->GetChosenItemIdx());
  if (mGraphics)
    mGraphics->SetAllControlsDirty();
}

void PresetMenu::Draw(pfw::gui::IGui& g)
{
  g.FillRoundRect(EditorPalette::Ink, mRECT, 5.f);
  g.DrawRoundRect(mMouseIsOver ? EditorPalette::Amber : EditorPalette::Slate, mRECT.Inflated(-0.5f), 5.f, nullptr,
                  1.f);
  const char* name =
    mMatchedRecipe >= 0 && mMatchedRecipe < kNumFactoryRecipes ? FactoryRecipes()[mMatchedRecipe].name : kCustom;
  g.DrawText(EditorTextStyle(15.f, EditorPalette::Text, pfw::gui::ITextStyle::kAlignNear), name,
             pfw::gui::IRectF(761.f, 40.f, 988.f, 82.f));
  g.DrawLine(EditorPalette::Amber, 993.f, 57.f, 999.f, 63.f, nullptr, 1.f);
  g.DrawLine(EditorPalette::Amber, 999.f, 63.f, 1005.f, 57.f, nullptr, 1.f);
}

bool PresetMenu::IsDirty()
{
  const int recipe = mProduct.FindMatchingRecipe();
  if (recipe != mMatchedRecipe)
  {
    mMatchedRecipe = recipe;
    SetDirty(false);
  }
  return pfw::gui::IControl::IsDirty();
}

} // namespace editor
