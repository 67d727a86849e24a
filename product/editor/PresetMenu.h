#pragma once

#include "framework/graphics/IControl.h"
#include "framework/graphics/IPopupMenu.h"

#include <memory>

class TarnwickProduct;

namespace editor {

class ViewState;

// The recipe menu: shows the factory recipe the current settings match ("Custom" when
// none) and offers all recipes; choosing one applies it whole.
class PresetMenu : public pfw::gui::IControl
{
public:
  static constexpr const char* kCustom = "Custom";

  PresetMenu(const pfw::gui::IRectF& bounds, TarnwickProduct& product, std::shared_ptr<ViewState> viewState);

  // The recipe shown: 0 ... 39, or -1 for "Custom" (as of the last poll).
  int GetShownRecipe() const { return mMatchedRecipe; }
  pfw::gui::IPopupMenu& Menu() { return mMenu; }

  void OnMouseDown(float x, float y, const pfw::gui::IPointerMods& mods) override;
  bool OnKeyDown(float x, float y, const pfw::gui::IKeyEvent& key) override;
  void OnMouseOver(float x, float y, const pfw::gui::IPointerMods& mods) override;
  void OnPopupMenuSelection(pfw::gui::IPopupMenu* menu, int valIdx) override;
  void Draw(pfw::gui::IGui& g) override;
  bool IsDirty() override;

private:
  void OpenMenu();

  TarnwickProduct& mProduct;
  std::shared_ptr<ViewState> mViewState;
  pfw::gui::IPopupMenu mMenu;
  int mMatchedRecipe = -2; // no poll yet
};

} // namespace editor
