#pragma once

#include "deps/vst3/interfaces/IContextMenu.h"
#include "deps/vst3/interfaces/IEditController.h"

namespace pfw::gui {
class IPopupMenu;
}

namespace pfw {

// Adds a control's popup menu to a host context menu, each entry with target as its
// target. Every entry added, group starts and ends included, gets the next tag, from tag
// on; a submenu becomes a group that opens and closes with the submenu's name.
void FillHostContextMenu(Steinberg::Vst::IContextMenu& menu, const gui::IPopupMenu& items,
                         Steinberg::Vst::IContextMenuTarget* target, Steinberg::int32& tag);

// Asks a host with context menus (IComponentHandler3) for the menu of the view's parameter,
// adds the items for target and pops the menu up at (x, y) in the view's pixels. False when
// the host has no such menu.
bool PopupHostContextMenu(Steinberg::Vst::IComponentHandler& handler, Steinberg::IPlugView& view,
                          Steinberg::Vst::ParamID paramId, const gui::IPopupMenu& items,
                          Steinberg::Vst::IContextMenuTarget* target, int x, int y);

} // namespace pfw
