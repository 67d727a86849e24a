// Native popup menus: checked on the built menu without showing it, chosen through a fake
// of the modal call, and once for real with a timer that types into the open menu.

#include "ModalFakes.h"

#include "framework/platform/windows/NativePopupMenu.h"
#include "framework/platform/windows/Utf8.h"
#include "tests/support/MenuTyping.h"

#include <gtest/gtest.h>

#include <string>

using namespace pfw;
using namespace pfw::gui;

namespace {
std::string Label(HMENU menu, int position)
{
  wchar_t text[256] = {};
  GetMenuStringW(menu, static_cast<UINT>(position), text, 256, MF_BYPOSITION);
  return WideToUtf8(text);
}

// "A", "B" and "C" holding "C1", "C2".
void FillWithSubmenu(IPopupMenu& menu)
{
  menu.AddItem("A");
  menu.AddItem("B");
  PopupMenuItem* c = menu.AddItem("C");
  c->SetSubmenu(new IPopupMenu(nullptr, {"C1", "C2"}));
}
} // namespace

TEST(PopupMenuTest, ItemsAreNumberedMenuByMenu)
{
  IPopupMenu menu;
  FillWithSubmenu(menu);
  int counter = 0;
  HMENU native = BuildNativeMenu(menu, counter);
  ASSERT_NE(nullptr, native);
  EXPECT_EQ(5, counter);
  ASSERT_EQ(3, GetMenuItemCount(native));
  EXPECT_EQ(1u, GetMenuItemID(native, 0));
  EXPECT_EQ(2u, GetMenuItemID(native, 1));
  HMENU sub = GetSubMenu(native, 2);
  ASSERT_NE(nullptr, sub);
  EXPECT_EQ("C", Label(native, 2));
  EXPECT_EQ(4u, GetMenuItemID(sub, 0));
  EXPECT_EQ(5u, GetMenuItemID(sub, 1));
  DestroyMenu(native);

  counter = 0;
  int index = -1;
  EXPECT_EQ(nullptr, FindNativeMenuItem(menu, 5, counter, index)) << "past the last item";
}

TEST(PopupMenuTest, LabelsAreNumberedAndShowAmpersands)
{
  IPopupMenu menu(nullptr, {"A", "B", "C", "D", "E", "F", "G", "H", "I", "J & K", "L&&M"});
  const struct
  {
    int prefix;
    int index;
    const char* label;
  } cases[] = {{IPopupMenu::kPrefixNone, 0, "A"},   {IPopupMenu::kPrefix1d, 0, "1: A"},
               {IPopupMenu::kPrefix02d, 0, "01: A"}, {IPopupMenu::kPrefix02d, 9, "10: J && K"},
               {IPopupMenu::kPrefix03d, 2, "003: C"}, {IPopupMenu::kPrefixNone, 10, "L&&&&M"}};
  for (const auto& c : cases)
  {
    menu.SetPrefix(c.prefix);
    EXPECT_EQ(c.label, NativeMenuLabel(menu, c.index));
    int counter = 0;
    HMENU native = BuildNativeMenu(menu, counter);
    EXPECT_EQ(c.label, Label(native, c.index)) << "the text Windows holds";
    DestroyMenu(native);
  }
}

TEST(PopupMenuTest, ItemStatesAndColumns)
{
  IPopupMenu menu;
  for (int i = 0; i < 25; ++i)
    menu.AddItem(("item " + std::to_string(i)).c_str());
  menu.GetItem(1)->SetFlags(PopupMenuItem::kDisabled);
  menu.GetItem(2)->SetFlags(PopupMenuItem::kInactive);
  menu.GetItem(3)->SetFlags(PopupMenuItem::kChecked);
  menu.GetItem(4)->SetFlags(PopupMenuItem::kSeparator);
  menu.SetItemsPerColumn(10);
  int counter = 0;
  HMENU native = BuildNativeMenu(menu, counter);
  const struct
  {
    int position;
    UINT set;
    UINT clear;
  } cases[] = {{0, 0, MF_GRAYED | MF_CHECKED | MF_MENUBARBREAK},
               {1, MF_GRAYED, MF_CHECKED},
               {2, MF_DISABLED, MF_GRAYED},
               {3, MF_CHECKED, MF_GRAYED},
               {4, MF_SEPARATOR, 0},
               {10, MF_MENUBARBREAK, 0},
               {11, 0, MF_MENUBARBREAK},
               {20, MF_MENUBARBREAK, 0}};
  for (const auto& c : cases)
  {
    const UINT state = GetMenuState(native, static_cast<UINT>(c.position), MF_BYPOSITION);
    EXPECT_EQ(c.set, state & c.set) << c.position;
    EXPECT_EQ(0u, state & c.clear) << c.position;
  }
  DestroyMenu(native);

  // Very long menus keep one column.
  while (menu.NItems() < 160)
    menu.AddItem("more");
  counter = 0;
  native = BuildNativeMenu(menu, counter);
  EXPECT_EQ(0u, GetMenuState(native, 10, MF_BYPOSITION) & MF_MENUBARBREAK);
  DestroyMenu(native);
}

namespace {
int gCommand = 0;
POINT gShownAt = {};
BOOL FakeTrack(HMENU, UINT, int x, int y, HWND)
{
  gShownAt = {x, y};
  return gCommand;
}
} // namespace

TEST(PopupMenuTest, TheChoiceReachesTheMenuThatHoldsIt)
{
  ModalFakes fakes;
  Modal().trackPopupMenu = FakeTrack;
  IPopupMenu menu;
  FillWithSubmenu(menu);
  IPopupMenu* sub = menu.GetItem(2)->GetSubmenu();
  IPopupMenu* completed = nullptr;
  sub->SetCompletion([&](IPopupMenu* m) { completed = m; });

  gCommand = 5; // "C2"
  EXPECT_EQ(sub, TrackNativePopupMenu(menu, nullptr, POINT{30, 40}));
  EXPECT_EQ(1, sub->GetChosenItemIdx());
  EXPECT_EQ(sub, completed);
  EXPECT_EQ(30, gShownAt.x);
  EXPECT_EQ(40, gShownAt.y);

  gCommand = 0; // dismissed
  sub->SetChosenItemIdx(-1);
  completed = nullptr;
  EXPECT_EQ(nullptr, TrackNativePopupMenu(menu, nullptr, POINT{0, 0}));
  EXPECT_EQ(-1, sub->GetChosenItemIdx());
  EXPECT_EQ(-1, menu.GetChosenItemIdx());
  EXPECT_EQ(nullptr, completed);
}

TEST(PopupMenuTest, RealMenuTakesKeys)
{
  TestOwnerWindow owner;
  ShowWindow(owner.window, SW_SHOW);
  IPopupMenu menu(nullptr, {"First", "Second", "Third"});
  MenuTyping typing({VK_DOWN, VK_DOWN, VK_RETURN});
  IPopupMenu* chosen = TrackNativePopupMenu(menu, owner.window, POINT{50, 50});
  EXPECT_EQ(&menu, chosen);
  EXPECT_EQ(1, menu.GetChosenItemIdx());
}
