#include "framework/platform/windows/NativePopupMenu.h"

#include "framework/platform/windows/ModalCalls.h"
#include "framework/platform/windows/Utf8.h"

#include <cstdio>

namespace pfw {

namespace {
// Column breaks only in menus short enough to be read in columns at all.
constexpr int kMaxItemsForColumns = 160;

UINT ItemFlags(const gui::IPopupMenu& menu, const gui::PopupMenuItem& item, int index)
{
  UINT flags = MF_STRING;
  if (item.GetFlags() & gui::PopupMenuItem::kDisabled)
    flags |= MF_GRAYED;
  if (item.GetFlags() & gui::PopupMenuItem::kInactive)
    flags |= MF_DISABLED;
  if (item.GetFlags() & gui::PopupMenuItem::kChecked)
    flags |= MF_CHECKED;
  const int perColumn = menu.GetItemsPerColumn();
  if (menu.NItems() < kMaxItemsForColumns && perColumn > 0 && index > 0 && index % perColumn == 0)
    flags |= MF_MENUBARBREAK;
  return flags;
}
} // namespace

std::string NativeMenuLabel(const gui::IPopupMenu& menu, int index)
{
  const gui::PopupMenuItem* item = menu.GetItem(index);
  std::string text = item && item->GetText() ? item->GetText() : "";
  static const char* const kNumberings[] = {"%1d: ", "%02d: ", "%03d: "};
  const int prefix = menu.GetPrefix();
  if (prefix >= gui::IPopupMenu::kPrefix1d && prefix <= gui::IPopupMenu::kPrefix03d)
  {
    char number[32];
    std::snprintf(number, sizeof(number), kNumberings[prefix - 1], index + 1);
    text.insert(0, number);
  }
  for (size_t at = text.find('&'); at != std::string::npos; at = text.find('&', at + 2))
    text.insert(at, 1, '&');
  return text;
}

HMENU BuildNativeMenu(const gui::IPopupMenu& menu, int& counter)
{
  HMENU native = CreatePopupMenu();
  if (!native)
    return nullptr;
  const int base = counter;
  counter += menu.NItems();
  for (int i = 0; i < menu.NItems(); ++i)
  {
    const gui::PopupMenuItem& item = *menu.GetItem(i);
    if (item.GetFlags() & gui::PopupMenuItem::kSeparator)
    {
      AppendMenuW(native, MF_SEPARATOR, 0, nullptr);
      continue;
    }
    const std::wstring label = TolerantUtf8ToWide(NativeMenuLabel(menu, i).c_str());
    const UINT flags = ItemFlags(menu, item, i);
    if (const gui::IPopupMenu* submenu = item.GetSubmenu())
    {
      if (HMENU nativeSubmenu = BuildNativeMenu(*submenu, counter))
        AppendMenuW(native, flags | MF_POPUP, reinterpret_cast<UINT_PTR>(nativeSubmenu), label.c_str());
    }
    else
    {
      AppendMenuW(native, flags, static_cast<UINT_PTR>(base + i + 1), label.c_str());
    }
  }
  return native;
}

gui::IPopupMenu* FindNativeMenuItem(gui::IPopupMenu& menu, int id, int& counter, int& index)
{
  const int base = counter;
  counter += menu.NItems();
  if (id >= base && id < counter)
  {
    index = id - base;
    return &menu;
  }
  for (int i = 0; i < menu.NItems(); ++i)
    if (gui::IPopupMenu* submenu = menu.GetItem(i)->GetSubmenu())
      if (gui::IPopupMenu* found = FindNativeMenuItem(*submenu, id, counter, index))
        return found;
  return nullptr;
}

gui::IPopupMenu* TrackNativePopupMenu(gui::IPopupMenu& menu, HWND owner, POINT screenPoint)
{
  int counter = 0;
  HMENU native = BuildNativeMenu(menu, counter);
  if (!native)
    return nullptr;
  const int command = Modal().trackPopupMenu(native, TPM_LEFTBUTTON | TPM_RETURNCMD | TPM_NONOTIFY, screenPoint.x,
                                             screenPoint.y, owner);
  DestroyMenu(native);
  if (command <= 0)
    return nullptr;
  counter = 0;
  int index = -1;
  gui::IPopupMenu* chosen = FindNativeMenuItem(menu, command - 1, counter, index);
  if (!chosen)
    return nullptr;
  chosen->SetChosenItemIdx(index);
  chosen->ExecCompletion();
  return chosen;
}

} // namespace pfw
