// The file, folder and colour dialogs: their set-up through fakes, and the real dialogs
// of Wine answered by a watchdog.

#include "ModalFakes.h"

#include "framework/platform/windows/FileDialogs.h"
#include "framework/platform/windows/Utf8.h"

#include <gtest/gtest.h>

#include <dlgs.h>

using namespace pfw;

TEST(FileDialogsTest, ExtensionListsBecomePatterns)
{
  const struct
  {
    const char* list;
    const wchar_t* pattern;
    const wchar_t* extension;
  } cases[] = {{"wav aif", L"*.wav;*.aif", L"wav"},
               {"wav", L"*.wav", L"wav"},
               {" wav  aif ", L"*.wav;*.aif", L"wav"},
               {"", L"", L""},
               {nullptr, L"", L""},
               {"tarnwickpreset", L"*.tarnwickpreset", L"tarnwickpreset"}};
  for (const auto& c : cases)
  {
    EXPECT_EQ(c.pattern, FileDialogPattern(c.list));
    EXPECT_EQ(c.extension, FileDialogDefaultExtension(c.list));
  }
  std::wstring folder;
  EXPECT_TRUE(FolderOfPath(L"C:\\x\\y\\a.wav", folder));
  EXPECT_EQ(L"C:\\x\\y\\", folder);
  EXPECT_TRUE(FolderOfPath(L"D:a.wav", folder));
  EXPECT_EQ(L"D:", folder);
  EXPECT_FALSE(FolderOfPath(L"a.wav", folder));
}

namespace {
OPENFILENAMEW gAsked = {};
// Copies of what the dialog's pointers named: they die with the call.
std::wstring gFilter;
std::wstring gDefaultExtension;
const wchar_t* gChoice = nullptr;

BOOL FakeFileDialog(OPENFILENAMEW* dialog)
{
  gAsked = *dialog;
  // The filter list ends with an empty entry: copy it through its two closing NULs.
  size_t filterLength = 0;
  if (const wchar_t* filter = dialog->lpstrFilter)
    while (filter[filterLength] != 0 || filter[filterLength + 1] != 0)
      ++filterLength;
  gFilter.assign(dialog->lpstrFilter ? dialog->lpstrFilter : L"", dialog->lpstrFilter ? filterLength + 2 : 0);
  gDefaultExtension = dialog->lpstrDefExt ? dialog->lpstrDefExt : L"";
  if (!gChoice)
    return FALSE;
  wcsncpy(dialog->lpstrFile, gChoice, dialog->nMaxFile);
  return TRUE;
}
} // namespace

TEST(FileDialogsTest, FileDialogSetUpAndAnswer)
{
  ModalFakes fakes;
  Modal().getSaveFileName = FakeFileDialog;
  Modal().getOpenFileName = FakeFileDialog;
  TestOwnerWindow owner;
  GrowString file("take.wav");
  GrowString path("C:\\music\\");
  gChoice = L"C:\\Ger\x00E4t\\riff.wav";
  EXPECT_TRUE(PromptForFileName(owner.window, file, path, true, "wav aif"));
  EXPECT_STREQ("C:\\Ger\xC3\xA4t\\riff.wav", file.Get());
  EXPECT_STREQ("C:\\Ger\xC3\xA4t\\", path.Get());
  EXPECT_EQ(owner.window, gAsked.hwndOwner);
  EXPECT_EQ(std::wstring(L"*.wav;*.aif\0*.wav;*.aif\0\0", 25), gFilter);
  EXPECT_EQ(L"wav", gDefaultExtension);
  EXPECT_EQ(static_cast<DWORD>(OFN_PATHMUSTEXIST | OFN_OVERWRITEPROMPT), gAsked.Flags);

  gChoice = nullptr;
  EXPECT_FALSE(PromptForFileName(owner.window, file, path, false, ""));
  EXPECT_STREQ("", file.Get());
  EXPECT_STREQ("C:\\Ger\xC3\xA4t\\", path.Get()) << "a cancelled dialog keeps the folder";
  EXPECT_EQ(static_cast<DWORD>(OFN_PATHMUSTEXIST | OFN_FILEMUSTEXIST), gAsked.Flags);
  EXPECT_EQ(nullptr, gAsked.lpstrFilter);

  file.Set("kept?");
  EXPECT_FALSE(PromptForFileName(nullptr, file, path, false, "wav"));
  EXPECT_STREQ("", file.Get());
}

TEST(FileDialogsTest, RealSaveDialogTakesATypedName)
{
  TestOwnerWindow owner;
  wchar_t temp[MAX_PATH] = {};
  GetTempPathW(MAX_PATH, temp);
  GrowString folder;
  WideToUtf8(temp, folder);
  GrowString file("");
  GrowString path(folder.Get());
  DialogCloser closer(IDOK, [](HWND dialog) {
    SetDlgItemTextW(dialog, edt1, L"tarnwick take");
    SetDlgItemTextW(dialog, cmb13, L"tarnwick take");
  });
  ASSERT_TRUE(PromptForFileName(owner.window, file, path, true, "wav aif"));
  closer.Join();
  EXPECT_EQ(std::string(folder.Get()) + "tarnwick take.wav", file.Get()) << "the default extension is added";
  EXPECT_STREQ(folder.Get(), path.Get());

  DialogCloser canceller(IDCANCEL);
  EXPECT_FALSE(PromptForFileName(owner.window, file, path, false, "wav"));
  canceller.Join();
  EXPECT_TRUE(canceller.Found());
  EXPECT_STREQ("", file.Get());
}

TEST(FileDialogsTest, RealFolderDialogCancels)
{
  TestOwnerWindow owner;
  GrowString path("C:\\");
  DialogCloser closer(IDCANCEL);
  EXPECT_FALSE(PromptForFolder(owner.window, path));
  closer.Join();
  EXPECT_TRUE(closer.Found());
  EXPECT_STREQ("", path.Get());
}

TEST(FileDialogsTest, RealColourDialogShowsThePromptAndKeepsAlpha)
{
  TestOwnerWindow owner;
  gui::IArgbColour colour(128, 10, 200, 30);
  std::string title;
  DialogCloser closer(IDOK, [&](HWND dialog) {
    wchar_t text[64] = {};
    GetWindowTextW(dialog, text, 64);
    title = WideToUtf8(text);
  });
  ASSERT_TRUE(PromptForColour(owner.window, colour, "Amp colour \xE2\x82\xAC"));
  closer.Join();
  EXPECT_EQ("Amp colour \xE2\x82\xAC", title);
  EXPECT_EQ(128, colour.A);
  EXPECT_EQ(10, colour.R);
  EXPECT_EQ(200, colour.G);
  EXPECT_EQ(30, colour.B);

  DialogCloser canceller(IDCANCEL);
  EXPECT_FALSE(PromptForColour(owner.window, colour, nullptr));
  EXPECT_FALSE(PromptForColour(nullptr, colour, nullptr));
}
