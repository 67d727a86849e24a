#pragma once

#include "deps/vst3/interfaces/FUnknown.h"

namespace Steinberg {
class IPlugView;
}

namespace Steinberg::Vst {

struct IContextMenuItem
{
  enum Flags : int32
  {
    kIsSeparator = 1 << 0,
    kIsDisabled = 1 << 1,
    kIsChecked = 1 << 2,
    kIsGroupStart = 1 << 3 | kIsDisabled, // opens a submenu
    kIsGroupEnd = 1 << 4 | kIsSeparator, // closes it
  };
  String128 name;
  int32 tag;
  int32 flags;
};
static_assert(sizeof(IContextMenuItem) == 264 && alignof(IContextMenuItem) == 4 && offsetof(IContextMenuItem, tag) == 256 &&
              offsetof(IContextMenuItem, flags) == 260);

// Whoever receives a chosen menu item.
class IContextMenuTarget : public FUnknown
{
public:
  virtual tresult VST3_CALL executeMenuItem(int32 tag) = 0;
  VST3_INTERFACE_ID(0x3CDF2E75, 0x85D34144, 0xBF86D36B, 0xD7C4894D);
};

// Host side: a context menu that the plug-in may extend before it pops up.
class IContextMenu : public FUnknown
{
public:
  using Item = IContextMenuItem;
  virtual int32 VST3_CALL getItemCount() = 0;
  virtual tresult VST3_CALL getItem(int32 index, Item& item, IContextMenuTarget** target) = 0;
  virtual tresult VST3_CALL addItem(const Item& item, IContextMenuTarget* target) = 0;
  virtual tresult VST3_CALL removeItem(const Item& item, IContextMenuTarget* target) = 0;
  virtual tresult VST3_CALL popup(UCoord x, UCoord y) = 0;
  VST3_INTERFACE_ID(0x2E93C863, 0x0C9C4588, 0x97DBECF5, 0xAD17817D);
};

class IComponentHandler3 : public FUnknown
{
public:
  // paramID may be null for a menu tied to no parameter; the menu comes with one reference.
  virtual IContextMenu* VST3_CALL createContextMenu(IPlugView* plugView, const ParamID* paramID) = 0;
  VST3_INTERFACE_ID(0x69F11617, 0xD26B400D, 0xA4B6B964, 0x7B6EBBAB);
};

} // namespace Steinberg::Vst
