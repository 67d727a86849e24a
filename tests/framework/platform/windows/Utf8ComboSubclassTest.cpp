#include "framework/platform/windows/Utf8.h"
#include "framework/platform/windows/Utf8Shims.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

using namespace pfw;

namespace {

std::string ItemUtf8(HWND combo, int item)
{
  const LRESULT length = SendMessageA(combo, CB_GETLBTEXTLEN, item, 0);
  if (length < 0)
    return "<error>";
  std::vector<char> text(static_cast<size_t>(length) + 1, '\0');
  const LRESULT written = SendMessageA(combo, CB_GETLBTEXT, item, reinterpret_cast<LPARAM>(text.data()));
  EXPECT_EQ(static_cast<LRESULT>(std::strlen(text.data())), written);
  return text.data();
}

class Utf8ComboTest : public ::testing::Test
{
protected:
  void SetUp() override
  {
    mParent = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 200, 200, nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(nullptr, mParent) << GetLastError();
  }
  void TearDown() override { DestroyWindow(mParent); }

  HWND MakeCombo(DWORD style)
  {
    return CreateWindowExW(0, L"COMBOBOX", L"", WS_CHILD | style, 0, 0, 150, 200, mParent, nullptr, nullptr, nullptr);
  }

  HWND mParent = nullptr;
};

const char* const kDevice = "Mikrofon (Ger\xC3\xA4t) \xE6\xB8\xAC\xE8\xA9\xA6";

} // namespace

TEST_F(Utf8ComboTest, ItemsGoInAndComeOutAsUtf8AndAreStoredAsUtf16)
{
  HWND combo = MakeCombo(CBS_DROPDOWNLIST);
  ASSERT_NE(nullptr, combo);
  SubclassWindowUTF8(combo);
  SubclassWindowUTF8(combo); // twice changes nothing
  EXPECT_EQ(0, SendMessageA(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>("off")));
  EXPECT_EQ(1, SendMessageA(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(kDevice)));
  EXPECT_EQ(0, SendMessageA(combo, CB_INSERTSTRING, 0, reinterpret_cast<LPARAM>("\xE6\xB8\xAC")));
  ASSERT_EQ(3, SendMessageA(combo, CB_GETCOUNT, 0, 0));
  EXPECT_EQ("\xE6\xB8\xAC", ItemUtf8(combo, 0));
  EXPECT_EQ("off", ItemUtf8(combo, 1));
  EXPECT_EQ(kDevice, ItemUtf8(combo, 2));
  EXPECT_EQ(2, SendMessageA(combo, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(kDevice)));
  EXPECT_EQ(CB_ERR, SendMessageA(combo, CB_GETLBTEXTLEN, 7, 0));

  // The combo itself holds the real characters, as a wide reader sees them.
  wchar_t wide[64] = {};
  HANDLE original = GetPropA(combo, "UTF8OldProcW");
  ASSERT_NE(nullptr, original);
  CallWindowProcW(reinterpret_cast<WNDPROC>(original), combo, CB_GETLBTEXT, 2, reinterpret_cast<LPARAM>(wide));
  EXPECT_EQ(Utf8ToWide(kDevice), std::wstring(wide));

  DestroyWindow(combo);
}

TEST_F(Utf8ComboTest, ListQueriesMarkedForUtf8GiveUtf8AndOthersStayNarrow)
{
  HWND list = CreateWindowExW(0, L"LISTBOX", L"", WS_CHILD, 0, 0, 150, 200, mParent, nullptr, nullptr, nullptr);
  ASSERT_NE(nullptr, list);
  SubclassWindowUTF8(list);
  ASSERT_EQ(0, SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(kDevice)));
  const LRESULT units = static_cast<LRESULT>(Utf8ToWide(kDevice).size());
  EXPECT_EQ(units * 4 + 32, SendMessageA(list, LB_GETTEXTLEN, 0x8000, 0));
  std::vector<char> text(static_cast<size_t>(units * 4 + 32), 'x');
  EXPECT_EQ(static_cast<LRESULT>(std::strlen(kDevice)),
            SendMessageA(list, LB_GETTEXT, 0x8000, reinterpret_cast<LPARAM>(text.data())));
  EXPECT_STREQ(kDevice, text.data());
  EXPECT_EQ(LB_ERR, SendMessageA(list, LB_GETTEXT, 0x8000, 0));
  // Unmarked, the list answers as it always does, in the ANSI code page.
  EXPECT_EQ(units, SendMessageA(list, LB_GETTEXTLEN, 0, 0));
  DestroyWindow(list);
}

TEST_F(Utf8ComboTest, TheEditOfADropDownShowsTheSelectedItemsRealText)
{
  HWND combo = MakeCombo(CBS_DROPDOWN);
  ASSERT_NE(nullptr, combo);
  SubclassWindowUTF8(combo);
  HWND edit = FindWindowExW(combo, nullptr, L"Edit", nullptr);
  ASSERT_NE(nullptr, edit);
  EXPECT_NE(nullptr, GetPropA(edit, "UTF8OldProc"));
  SendMessageA(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(kDevice));
  SendMessageA(combo, CB_SETCURSEL, 0, 0);
  // Whatever the combo sets, narrowed or not, the edit ends up with the item's text.
  SendMessageA(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>("Mikrofon (Ger?t) ??"));
  // Read through the edit's own wide procedure: our narrow one in front would narrow it.
  const WNDPROC editWide = reinterpret_cast<WNDPROC>(GetPropA(edit, "UTF8OldProcW"));
  ASSERT_NE(nullptr, editWide);
  wchar_t shown[64] = {};
  CallWindowProcW(editWide, edit, WM_GETTEXT, 64, reinterpret_cast<LPARAM>(shown));
  EXPECT_EQ(Utf8ToWide(kDevice), std::wstring(shown));
  // Other text is left alone.
  SendMessageA(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>("typed"));
  CallWindowProcW(editWide, edit, WM_GETTEXT, 64, reinterpret_cast<LPARAM>(shown));
  EXPECT_EQ(std::wstring(L"typed"), std::wstring(shown));

  // Destroying restores the procedures and takes the properties away.
  DestroyWindow(combo);
  EXPECT_FALSE(IsWindow(edit));
}
