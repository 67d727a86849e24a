#pragma once

#include "framework/graphics/IControl.h"

#include <memory>

class TarnwickProduct;

namespace editor {

class ViewState;

// What a Button does when pressed.
enum ButtonKind : int
{
  kButtonSwitch = 0,     // toggles its parameter
  kButtonBankSwitch = 1, // switches between settings banks A and B
  kButtonCopyBank = 2,   // copies the current settings into the other bank
  kButtonSubTab = 3,     // shows view `target`
  kButtonTab = 4,        // shows the first view of tab `target`
  kButtonMailLink = 5,   // opens a mail to the maker's support
};

// The editor's button: a stage or option switch, the A/B and COPY bank buttons, the tabs
// and sub-tabs of the views, and the support mail link. Works with the mouse and, under
// the mouse, with Enter or Space.
class Button : public pfw::gui::IControl
{
public:
  // The tab of each view, and the first view of each tab.
  static int TabOfView(int view);
  static int FirstViewOfTab(int tab);

  // `label` must outlive the button (the layout passes literals); `paramIdx` is -1 for
  // every kind but kButtonSwitch.
  Button(const pfw::gui::IRectF& bounds, const char* label, TarnwickProduct& product,
         std::shared_ptr<ViewState> viewState, ButtonKind kind, int target = -1, int paramIdx = -1);

  bool IsOn() const;
  ButtonKind GetKind() const { return mKind; }
  int GetTarget() const { return mTarget; }
  const char* GetLabel() const { return mLabel; }

  void OnMouseDown(float x, float y, const pfw::gui::IPointerMods& mods) override;
  void OnMouseDblClick(float x, float y, const pfw::gui::IPointerMods& mods) override;
  bool OnKeyDown(float x, float y, const pfw::gui::IKeyEvent& key) override;
  void OnMouseOver(float x, float y, const pfw::gui::IPointerMods& mods) override;
  void Draw(pfw::gui::IGui& g) override;
  bool IsDirty() override;

private:
  void Press();

  const char* mLabel;
  TarnwickProduct& mProduct;
  std::shared_ptr<ViewState> mViewState;
  ButtonKind mKind;
  int mTarget;
};

} // namespace editor
