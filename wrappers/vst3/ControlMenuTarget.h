#pragma once

#include "deps/vst3/helpers/FObject.h"
#include "deps/vst3/interfaces/IContextMenu.h"

namespace pfw::gui {
class IControl;
class IGui;
} // namespace pfw::gui

namespace pfw {

// A control's face toward a host context menu: the host keeps it, counted, as the target
// of the control's items and calls executeMenuItem with the chosen item's tag, which goes
// to the control's OnContextSelection. The host may keep it longer than the control
// lives, so once the editor has closed (Forget) or dropped the control it does nothing.
class ControlMenuTarget : public Steinberg::Vst::IContextMenuTarget, public Steinberg::FObject
{
public:
  ControlMenuTarget(gui::IGui& graphics, gui::IControl& control);

  Steinberg::tresult VST3_CALL queryInterface(const Steinberg::TUID iid, void** obj) override;
  VST3_FORWARD_REFCOUNT(FObject)
  VST3_OBJECT_TYPE(IControl, FObject)

  Steinberg::tresult VST3_CALL executeMenuItem(Steinberg::int32 tag) override;

  void Forget();

protected:
  ~ControlMenuTarget() override = default;

private:
  gui::IGui* mGraphics;
  gui::IControl* mControl;
};

} // namespace pfw
