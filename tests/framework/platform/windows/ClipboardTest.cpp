// Clipboard round trips through Wine's clipboard (the X server's on Xvfb).

#include "ModalFakes.h"

#include "framework/platform/windows/Clipboard.h"
#include "framework/platform/windows/Utf8.h"

#include <gtest/gtest.h>

#include <shellapi.h>
#include <shlobj.h>

using namespace pfw;

TEST(ClipboardTest, TextRoundTripsBeyondAscii)
{
  TestOwnerWindow owner;
  const char* const texts[] = {"plain", "Ger\xC3\xA4t \xE6\xB8\xAC\xE8\xA9\xA6 \xF0\x9F\x8E\xB8 -12.5 dB", "a\r\nb"};
  for (const char* text : texts)
  {
    ASSERT_TRUE(SetClipboardText(owner.window, text));
    GrowString read("stale");
    ASSERT_TRUE(GetClipboardText(read));
    EXPECT_STREQ(text, read.Get());
  }
  EXPECT_FALSE(SetClipboardText(owner.window, "bad \xC3(")) << "no UTF-8, nothing copied";
  GrowString read;
  ASSERT_TRUE(GetClipboardText(read));
  EXPECT_STREQ("a\r\nb", read.Get());
}

TEST(ClipboardTest, EmptyTextEmptiesTheClipboard)
{
  TestOwnerWindow owner;
  ASSERT_TRUE(SetClipboardText(owner.window, "something"));
  EXPECT_TRUE(SetClipboardText(owner.window, ""));
  EXPECT_FALSE(IsClipboardFormatAvailable(CF_UNICODETEXT));
  GrowString read("stale");
  EXPECT_FALSE(GetClipboardText(read));
  EXPECT_STREQ("", read.Get());
}

TEST(ClipboardTest, FilePathAsTheShellCopiesAFile)
{
  TestOwnerWindow owner;
  const char* const path = "C:\\Ger\xC3\xA4t\\take \xF0\x9F\x8E\xB8.wav";
  ASSERT_TRUE(SetClipboardFilePath(owner.window, path));
  ASSERT_TRUE(OpenClipboard(owner.window));
  HDROP drop = static_cast<HDROP>(GetClipboardData(CF_HDROP));
  ASSERT_NE(nullptr, drop);
  EXPECT_EQ(1u, DragQueryFileW(drop, 0xFFFFFFFF, nullptr, 0));
  wchar_t file[MAX_PATH] = {};
  DragQueryFileW(drop, 0, file, MAX_PATH);
  const auto* header = static_cast<const DROPFILES*>(GlobalLock(drop));
  EXPECT_TRUE(header->fNC);
  EXPECT_TRUE(header->fWide);
  GlobalUnlock(drop);
  CloseClipboard();
  EXPECT_EQ(path, WideToUtf8(file));
  EXPECT_FALSE(SetClipboardFilePath(owner.window, ""));
}
