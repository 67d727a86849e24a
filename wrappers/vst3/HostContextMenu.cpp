#include "wrappers/vst3/HostContextMenu.h"

#include "deps/unicode/WideUtf8.h"
#include "deps/vst3/helpers/StringConvert.h"
#include "framework/graphics/IPopupMenu.h"

#include <string>

namespace pfw {

using namespace Steinberg;
using namespace Steinberg::Vst;

namespace {

// Item texts are UTF-8; a text that is not is taken byte by byte.
void ItemName(String128 name, const char* text)
{
  std::wstring wide;
  if (unicode::FromUtf8(text, wide))
    copyText16(name, 128, reinterpret_cast<const char16*>(wide.c_str()));
  else
    widenText(name, 128, text);
}

int32 ItemFlags(const gui::PopupMenuItem& item)
{
  const int flags = item.GetFlags();
  if (flags & gui::PopupMenuItem::kSeparator)
    return IContextMenuItem::kIsSeparator;
  const int32 disabled = (flags & gui::PopupMenuItem::kDisabled) ? IContextMenuItem::kIsDisabled : 0;
  return (flags & gui::PopupMenuItem::kChecked) ? (IContextMenuItem::kIsChecked | disabled) : disabled;
}

void AddEntry(IContextMenu& menu, const char* text, int32 flags, IContextMenuTarget* target, int32& tag)
{
  IContextMenuItem entry{};
  ItemName(entry.name, text);
  entry.tag = tag++;
  entry.flags = flags;
  menu.addItem(entry, target);
}

} // namespace

void FillHostContextMenu(IContextMenu& menu, const gui::IPopupMenu& items, IContextMenuTarget* target, int32& tag)
{
  for (int i = 0; i < items.NItems(); ++i)
  {
    const gui::PopupMenuItem& item = *items.GetItem(i);
    const gui::IPopupMenu* submenu = item.GetSubmenu();
    if (submenu && !(item.GetFlags() & gui::PopupMenuItem::kSeparator))
    {
      AddEntry(menu, item.GetText(), IContextMenuItem::kIsGroupStart, target, tag);
      FillHostContextMenu(menu, *submenu, target, tag);
      AddEntry(menu, item.GetText(), IContextMenuItem::kIsGroupEnd, target, tag);
    }
    else
      AddEntry(menu, item.GetText(), ItemFlags(item), target, tag);
  }
}

bool PopupHostContextMenu(IComponentHandler& handler, IPlugView& view, ParamID paramId,
                          const gui::IPopupMenu& items, IContextMenuTarget* target, int x, int y)
{
  void* face = nullptr;
  if (handler.queryInterface(IComponentHandler3::iid, &face) != kResultOk || !face)
    return false;
  IComponentHandler3* menus = static_cast<IComponentHandler3*>(face);
  IContextMenu* menu = menus->createContextMenu(&view, &paramId);
  if (menu)
  {
    int32 tag = 0;
    if (target)
      FillHostContextMenu(*menu, items, target, tag);
    menu->popup(x, y);
    menu->release();
  }
  menus->release();
  return menu != nullptr;
}

} // namespace pfw
