#pragma once

#include "framework/graphics/IKnobControlBase.h"

#include <memory>
#include <string>

class TarnwickProduct;

namespace editor {

class ValueEntry;
class ViewState;

// The rotary control of a continuous parameter: its label, a value arc, the knob body
// and a value box showing the value in physical units. Drag vertically (finer with
// Shift), use the wheel or the arrow keys, double-click or Home for the default; a click
// in the value box or Enter opens an entry for a typed value.
class Knob : public pfw::gui::IKnobControlBase
{
public:
  static constexpr double kKeyStep = 0.01;
  static constexpr double kFineKeyStep = 0.001;

  // `label` must outlive the knob (the layout passes literals).
  Knob(const pfw::gui::IRectF& bounds, int paramIdx, const char* label, TarnwickProduct& product,
       std::shared_ptr<ViewState> viewState);

  const char* GetLabel() const { return mLabel; }
  // The control that owns this knob's typed-value entry; the layout attaches it.
  void SetValueEntry(ValueEntry* entry) { mValueEntry = entry; }
  // The box that shows the value and opens the entry.
  pfw::gui::IRectF ValueBox() const;
  void OpenValueEntry();
  // Takes a typed value: applied when it is a value of the parameter, else the help
  // explains what is accepted and nothing changes. The entry's own text, committed
  // untouched, changes nothing either: the value may have moved since it was printed.
  void ValueEntryCompletion(const char* text);

  void OnMouseDown(float x, float y, const pfw::gui::IPointerMods& mods) override;
  void OnMouseDblClick(float x, float y, const pfw::gui::IPointerMods& mods) override;
  bool OnKeyDown(float x, float y, const pfw::gui::IKeyEvent& key) override;
  void OnMouseOver(float x, float y, const pfw::gui::IPointerMods& mods) override;
  void Draw(pfw::gui::IGui& g) override;
  bool IsDirty() override;

private:
  void ShowHelp();
  double PhysicalValue() const;

  const char* mLabel;
  TarnwickProduct& mProduct;
  std::shared_ptr<ViewState> mViewState;
  ValueEntry* mValueEntry = nullptr;
  std::string mEntryOpenedWith; // the text the last entry started with
};

} // namespace editor
