#include "IPopupMenu.h"

namespace pfw::gui {

PopupMenuItem::PopupMenuItem(const char* text, int flags, int tag)
  : mText(text ? text : "")
  , mFlags(flags)
  , mTag(tag)
{
}

PopupMenuItem::~PopupMenuItem()
{
  delete mSubmenu;
}

void PopupMenuItem::SetSubmenu(IPopupMenu* submenu)
{
  if (submenu == mSubmenu)
    return;
  delete mSubmenu;
  mSubmenu = submenu;
}

IPopupMenu::IPopupMenu(const char* title, std::initializer_list<const char*> items, CompletionFunc completion)
  : mCompletion(std::move(completion))
{
  if (title)
    mTitle.Set(title);
  for (const char* text : items)
    AddItem(text);
}

IPopupMenu::~IPopupMenu()
{
  mItems.Clear();
}

void IPopupMenu::Clear(bool resetState)
{
  if (resetState)
  {
    mChosenIdx = -1;
    mPrefix = kPrefixNone;
    mReserved = 0;
  }
  mItems.Clear();
}

PopupMenuItem* IPopupMenu::AddItem(PopupMenuItem* item)
{
  if (!item)
    return nullptr;
  if (!mItems.Add(item))
  {
    delete item;
    return nullptr;
  }
  return item;
}

PopupMenuItem* IPopupMenu::AddItem(const char* text, int flags, int tag)
{
  return AddItem(new PopupMenuItem(text, flags, tag));
}

void IPopupMenu::CheckItemAlone(int index)
{
  for (int i = 0; i < NItems(); ++i)
    GetItem(i)->SetChecked(i == index);
}

void IPopupMenu::ExecCompletion()
{
  if (!mCompletion)
    return;
  const CompletionFunc completion = mCompletion;
  completion(this);
}

} // namespace pfw::gui
