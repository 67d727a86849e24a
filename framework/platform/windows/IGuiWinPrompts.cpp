// The editor's native prompts on Windows: popup menus, message boxes, dialogs, links, the
// file manager, the clipboard and dragging a file out.

#include "IGuiWin.h"

#include "Clipboard.h"
#include "FileDialogs.h"
#include "FileDragOut.h"
#include "NativePopupMenu.h"
#include "ShellOpen.h"
#include "TopLevelWindow.h"

namespace pfw::gui {

IPopupMenu* IGuiWin::CreatePlatformPopupMenu(IPopupMenu& menu, const IRectF& bounds, bool& isAsync)
{
  isAsync = false;
  if (!mWindow)
    return nullptr;
  const float s = PixelScale();
  POINT point = {static_cast<LONG>(s * bounds.L), static_cast<LONG>(s * bounds.B)};
  ClientToScreen(mWindow, &point);
  IPopupMenu* chosen = TrackNativePopupMenu(menu, mWindow, point);
  // Whatever the menu covered is drawn again.
  InvalidateRect(mWindow, nullptr, FALSE);
  return chosen;
}

int IGuiWin::ShowMessageBox(const char* text, const char* caption, int type)
{
  ReleaseMouseCapture();
  return ShowMessage(FindTopLevelWindow(), text, caption, static_cast<UINT>(type));
}

bool IGuiWin::PromptForFile(GrowString& fileName, GrowString& path, bool save, const char* extensions)
{
  const bool chosen = PromptForFileName(mWindow, fileName, path, save, extensions);
  ReleaseMouseCapture();
  return chosen;
}

bool IGuiWin::PromptForDirectory(GrowString& path)
{
  const bool chosen = PromptForFolder(mWindow, path);
  ReleaseMouseCapture();
  return chosen;
}

bool IGuiWin::PromptForColor(IArgbColour& colour, const char* prompt)
{
  ReleaseMouseCapture();
  return PromptForColour(mWindow, colour, prompt);
}

bool IGuiWin::OpenURL(const char* url)
{
  return OpenURL(url, "", nullptr, nullptr);
}

bool IGuiWin::OpenURL(const char* url, const char* windowTitle, const char* confirmText, const char* errorText)
{
  return OpenUrl(mWindow, url, windowTitle, confirmText, errorText);
}

bool IGuiWin::RevealPathInExplorer(const char* path)
{
  return RevealPathInExplorer(path, true);
}

bool IGuiWin::RevealPathInExplorer(const char* path, bool select)
{
  return RevealPath(path, select);
}

HWND IGuiWin::FindTopLevelWindow()
{
  if (!mTopLevelWindow || !IsWindow(mTopLevelWindow))
    mTopLevelWindow = pfw::FindTopLevelWindow(mParentWindow, mTopLevelClassName);
  return mTopLevelWindow;
}

bool IGuiWin::GetTextFromClipboard(GrowString& text)
{
  return GetClipboardText(text);
}

bool IGuiWin::SetTextInClipboard(const char* text)
{
  HWND owner = FindTopLevelWindow();
  return SetClipboardText(owner ? owner : mWindow, text);
}

bool IGuiWin::SetFilePathInClipboard(const char* path)
{
  HWND owner = FindTopLevelWindow();
  return SetClipboardFilePath(owner ? owner : mWindow, path);
}

bool IGuiWin::InitiateExternalFileDragDrop(const char* path, const IRectF& /*iconBounds*/)
{
  const bool dragged = DragFileOut(path);
  ReleaseMouseCapture();
  return dragged;
}

} // namespace pfw::gui
