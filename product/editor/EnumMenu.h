#pragma once

#include "framework/graphics/IControl.h"
#include "framework/graphics/IPopupMenu.h"

#include <memory>

class TarnwickProduct;

namespace editor {

class ViewState;

// A choice parameter as a box with its current choice and a chevron; a press (or Enter
// or Space under the mouse) opens the list of choices, the current one checked.
class EnumMenu : public pfw::gui::IControl
{
public:
  // Without a label the box fills the whole rectangle; `label` must outlive the menu.
  EnumMenu(const pfw::gui::IRectF& bounds, int paramIdx, const char* label, TarnwickProduct& product,
           std::shared_ptr<ViewState> viewState);

  pfw::gui::IRectF Box() const;
  pfw::gui::IPopupMenu& Menu() { return mMenu; }

  void OnMouseDown(float x, float y, const pfw::gui::IPointerMods& mods) override;
  void OnMouseDblClick(float x, float y, const pfw::gui::IPointerMods& mods) override;
  bool OnKeyDown(float x, float y, const pfw::gui::IKeyEvent& key) override;
  void OnMouseOver(float x, float y, const pfw::gui::IPointerMods& mods) override;
  void OnPopupMenuSelection(pfw::gui::IPopupMenu* menu, int valIdx) override;
  void Draw(pfw::gui::IGui& g) override;
  bool IsDirty() override;

private:
  void ShowHelp();
  void OpenMenu();

  const char* mLabel;
  TarnwickProduct& mProduct;
  std::shared_ptr<ViewState> mViewState;
  pfw::gui::IPopupMenu mMenu;
};

} // namespace editor
