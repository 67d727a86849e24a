#pragma once

#include "framework/core/GrowString.h"
#include "framework/core/PointerList.h"

#include <functional>
#include <initializer_list>

namespace pfw::gui {

class IPopupMenu;

// One entry of a popup menu; it owns its submenu.
class PopupMenuItem
{
public:
  enum Flags { kDisabled = 1, kInactive = 2, kChecked = 4, kSeparator = 8 };

  explicit PopupMenuItem(const char* text = nullptr, int flags = 0, int tag = -1);
  ~PopupMenuItem();
  PopupMenuItem(const PopupMenuItem&) = delete;
  PopupMenuItem& operator=(const PopupMenuItem&) = delete;

  const char* GetText() const { return mText.Get(); }
  void SetText(const char* text) { mText.Set(text ? text : ""); }
  IPopupMenu* GetSubmenu() const { return mSubmenu; }
  // Takes over the submenu, deleting the one held before.
  void SetSubmenu(IPopupMenu* submenu);
  int GetFlags() const { return mFlags; }
  void SetFlags(int flags) { mFlags = flags; }
  bool GetChecked() const { return (mFlags & kChecked) != 0; }
  void SetChecked(bool checked) { mFlags = checked ? (mFlags | kChecked) : (mFlags & ~kChecked); }
  int GetTag() const { return mTag; }
  void SetTag(int tag) { mTag = tag; }

private:
  GrowString mText;
  IPopupMenu* mSubmenu = nullptr;
  int mFlags = 0;
  int mTag = -1;
};

// A platform-independent popup menu; the platform shows it natively and writes the
// chosen index back into the menu (or the submenu) the user chose from.
class IPopupMenu
{
public:
  using CompletionFunc = std::function<void(IPopupMenu*)>;
  enum Prefix { kPrefixNone = 0, kPrefix1d, kPrefix02d, kPrefix03d };

  explicit IPopupMenu(const char* title = nullptr, std::initializer_list<const char*> items = {},
                      CompletionFunc completion = nullptr);
  ~IPopupMenu();
  IPopupMenu(const IPopupMenu&) = delete;
  IPopupMenu& operator=(const IPopupMenu&) = delete;

  // Deletes all items (from the last); with resetState also the chosen index and prefix.
  void Clear(bool resetState = true);

  int NItems() const { return mItems.GetSize(); }
  PopupMenuItem* GetItem(int index) const { return mItems.Get(index); }
  // The menu takes over the item; returns it, or null (item deleted) when memory fails.
  PopupMenuItem* AddItem(PopupMenuItem* item);
  PopupMenuItem* AddItem(const char* text, int flags = 0, int tag = -1);
  PopupMenuItem* AddSeparator() { return AddItem(nullptr, PopupMenuItem::kSeparator); }
  // Checks the item at index only (the others are unchecked).
  void CheckItemAlone(int index);

  int GetChosenItemIdx() const { return mChosenIdx; }
  void SetChosenItemIdx(int index) { mChosenIdx = index; }
  PopupMenuItem* GetChosenItem() const { return GetItem(mChosenIdx); }

  int GetItemsPerColumn() const { return mItemsPerColumn; }
  void SetItemsPerColumn(int count) { mItemsPerColumn = count; }
  int GetPrefix() const { return mPrefix; }
  void SetPrefix(int prefix) { mPrefix = prefix; }

  const char* GetTitle() const { return mTitle.Get(); }
  void SetTitle(const char* title) { mTitle.Set(title ? title : ""); }

  void SetCompletion(CompletionFunc completion) { mCompletion = std::move(completion); }
  bool HasCompletion() const { return static_cast<bool>(mCompletion); }
  // Calls the completion with this menu (a copy of it, so it may replace itself).
  void ExecCompletion();

private:
  int mItemsPerColumn = 0;
  int mPrefix = kPrefixNone;
  int mChosenIdx = -1;
  int mReserved = 0;
  PointerList<PopupMenuItem> mItems{true};
  CompletionFunc mCompletion;
  GrowString mTitle;
};

} // namespace pfw::gui
