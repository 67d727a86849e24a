#include "framework/platform/windows/FileDialogs.h"

#include "framework/platform/windows/ModalCalls.h"
#include "framework/platform/windows/Utf8.h"

#include <vector>

namespace pfw {

namespace {
// Longer than any path the shell's dialogs hand back.
constexpr size_t kFileNameUnits = 32768;

std::vector<std::wstring> Extensions(const char* extensions)
{
  std::vector<std::wstring> list;
  const std::wstring all = TolerantUtf8ToWide(extensions);
  size_t start = 0;
  while (start <= all.size())
  {
    size_t end = all.find(L' ', start);
    if (end == std::wstring::npos)
      end = all.size();
    if (end > start)
      list.push_back(all.substr(start, end - start));
    start = end + 1;
  }
  return list;
}

// The colours the user mixed, kept for the next colour dialog of the process.
COLORREF gCustomColours[16] = {};

UINT_PTR CALLBACK ColourDialogHook(HWND dialog, UINT message, WPARAM, LPARAM lParam)
{
  if (message == WM_INITDIALOG)
  {
    const auto* chooser = reinterpret_cast<const CHOOSECOLORW*>(lParam);
    const auto* prompt = reinterpret_cast<const wchar_t*>(chooser->lCustData);
    if (prompt && *prompt)
    {
      SetWindowTextW(dialog, prompt);
      static const UINT setColour = RegisterWindowMessageW(L"commdlg_SetRGBColor");
      SendMessageW(dialog, setColour, 0, static_cast<LPARAM>(chooser->rgbResult));
    }
  }
  return 0;
}
} // namespace

std::wstring FileDialogPattern(const char* extensions)
{
  std::wstring pattern;
  for (const std::wstring& extension : Extensions(extensions))
    pattern += (pattern.empty() ? L"*." : L";*.") + extension;
  return pattern;
}

std::wstring FileDialogDefaultExtension(const char* extensions)
{
  const std::vector<std::wstring> list = Extensions(extensions);
  return list.empty() ? std::wstring() : list.front();
}

bool FolderOfPath(const std::wstring& file, std::wstring& folder)
{
  const size_t separator = file.find_last_of(L"\\/");
  if (separator != std::wstring::npos)
  {
    folder = file.substr(0, separator + 1);
    return true;
  }
  if (file.size() >= 2 && file[1] == L':')
  {
    folder = file.substr(0, 2);
    return true;
  }
  return false;
}

bool PromptForFileName(HWND owner, GrowString& fileName, GrowString& path, bool save, const char* extensions)
{
  if (!owner)
  {
    fileName.Set("");
    return false;
  }
  std::vector<wchar_t> file(kFileNameUnits, L'\0');
  const std::wstring proposed = TolerantUtf8ToWide(fileName.Get());
  if (proposed.size() < kFileNameUnits)
    proposed.copy(file.data(), proposed.size());
  const std::wstring folder = TolerantUtf8ToWide(path.Get());
  const std::wstring pattern = FileDialogPattern(extensions);
  // Description and pattern are the same text; the list ends with an empty entry.
  const std::wstring filter = pattern.empty() ? std::wstring() : pattern + L'\0' + pattern + L'\0';
  const std::wstring defaultExtension = FileDialogDefaultExtension(extensions);

  OPENFILENAMEW dialog = {};
  dialog.lStructSize = sizeof(dialog);
  dialog.hwndOwner = owner;
  dialog.lpstrFilter = filter.empty() ? nullptr : filter.c_str();
  dialog.lpstrFile = file.data();
  dialog.nMaxFile = static_cast<DWORD>(file.size() - 1);
  dialog.lpstrInitialDir = folder.empty() ? nullptr : folder.c_str();
  dialog.lpstrDefExt = defaultExtension.empty() ? nullptr : defaultExtension.c_str();
  dialog.Flags = save ? OFN_PATHMUSTEXIST | OFN_OVERWRITEPROMPT : OFN_PATHMUSTEXIST | OFN_FILEMUSTEXIST;
  const bool chosen = save ? Modal().getSaveFileName(&dialog) : Modal().getOpenFileName(&dialog);
  if (!chosen || !WideToUtf8(file.data(), fileName))
  {
    fileName.Set("");
    return false;
  }
  std::wstring chosenFolder;
  if (FolderOfPath(file.data(), chosenFolder))
    WideToUtf8(chosenFolder.c_str(), path);
  return true;
}

bool PromptForFolder(HWND owner, GrowString& path)
{
  ScopedOleInitialize ole;
  BROWSEINFOW dialog = {};
  dialog.hwndOwner = owner;
  dialog.lpszTitle = L"Choose a Directory";
  dialog.ulFlags = BIF_EDITBOX | BIF_NEWDIALOGSTYLE;
  PIDLIST_ABSOLUTE folder = Modal().browseForFolder(&dialog);
  if (!folder)
  {
    path.Set("");
    return false;
  }
  wchar_t chosen[MAX_PATH] = {};
  GrowString utf8;
  if (SHGetPathFromIDListW(folder, chosen) && WideToUtf8(chosen, utf8))
  {
    path.Set(utf8.Get());
    path.Append("\\");
  }
  CoTaskMemFree(folder);
  return true;
}

bool PromptForColour(HWND owner, gui::IArgbColour& colour, const char* prompt)
{
  if (!owner)
    return false;
  const std::wstring title = TolerantUtf8ToWide(prompt);
  CHOOSECOLORW dialog = {};
  dialog.lStructSize = sizeof(dialog);
  dialog.hwndOwner = owner;
  dialog.rgbResult = RGB(colour.R, colour.G, colour.B);
  dialog.lpCustColors = gCustomColours;
  dialog.Flags = CC_RGBINIT | CC_FULLOPEN | CC_ENABLEHOOK | CC_SOLIDCOLOR | CC_ANYCOLOR;
  dialog.lCustData = reinterpret_cast<LPARAM>(title.c_str());
  dialog.lpfnHook = ColourDialogHook;
  if (!Modal().chooseColor(&dialog))
    return false;
  colour.R = GetRValue(dialog.rgbResult);
  colour.G = GetGValue(dialog.rgbResult);
  colour.B = GetBValue(dialog.rgbResult);
  return true;
}

} // namespace pfw
