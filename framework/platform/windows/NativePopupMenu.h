#pragma once

#include "framework/graphics/IPopupMenu.h"

#include <windows.h>

#include <string>

namespace pfw {

// Native popup menus built from an IPopupMenu. Items are numbered in building order: a
// menu's own items first, from a running counter, then its submenus' (depth first). The
// Windows command of item number n is n + 1, so that no command is 0 ("nothing chosen").

// An item's text as the menu shows it: numbered when the menu asks for it, and with every
// "&" doubled so that it shows as itself rather than marking a mnemonic.
std::string NativeMenuLabel(const gui::IPopupMenu& menu, int index);
// The whole menu tree; null when Windows could not make a menu. The caller destroys it.
HMENU BuildNativeMenu(const gui::IPopupMenu& menu, int& counter);
// The menu (top menu or submenu) holding item number id and the item's index in it;
// null when no menu holds it.
gui::IPopupMenu* FindNativeMenuItem(gui::IPopupMenu& menu, int id, int& counter, int& index);
// Shows the menu at a screen point and waits for the user. The chosen item's menu gets
// its chosen index and runs its completion; it is returned (null when nothing was chosen).
gui::IPopupMenu* TrackNativePopupMenu(gui::IPopupMenu& menu, HWND owner, POINT screenPoint);

} // namespace pfw
