// The editor's native prompts on Windows: popup menus, message boxes, dialogs, links, the
// file manager, the clipboard and dragging a file out.

#include "IGuiWin.h"

#include "Clipboard.h"
#include "FileDialogs.h"
#include "FileDragOut.h"
#include "NativePopupMenu.h"
#include "ShellOpen.h"
#include "TopLevelWindow.h"

#include <utility>

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

int IGuiWin::ShowMessageBox(const char* text, const char* caption, int type, MessageBoxCompletion completion)
{
  const MessageBoxCompletion consumed = std::exchange(completion, nullptr);
  ReleaseMouseCapture();
  const int answer = ShowMessage(FindTopLevelWindow(), text, caption, static_cast<UINT>(type));
  if (consumed)
    consumed(answer);
  return answer;
}

bool IGuiWin::PromptForFile(GrowString& fileName, GrowString& path, bool save, const char* extensions,
                            FileCompletion completion)
{
  const FileCompletion consumed = std::exchange(completion, nullptr);
  // Without a window no dialog opens, so there is no answer to hand on.
  const bool hadWindow = mWindow != nullptr;
  const bool chosen = PromptForFileName(mWindow, fileName, path, save, extensions);
  if (hadWindow && consumed)
    consumed(fileName, path);
  ReleaseMouseCapture();
  return chosen;
}

bool IGuiWin::PromptForDirectory(GrowString& path, FileCompletion completion)
{
  const FileCompletion consumed = std::exchange(completion, nullptr);
  const bool chosen = PromptForFolder(mWindow, path);
  if (consumed)
    consumed(GrowString(), path);
  ReleaseMouseCapture();
  return chosen;
}

bool IGuiWin::PromptForColor(IArgbColour& colour, const char* prompt, ColourCompletion completion)
{
  const ColourCompletion consumed = std::exchange(completion, nullptr);
  ReleaseMouseCapture();
  const bool chosen = PromptForColour(mWindow, colour, prompt);
  if (chosen && consumed)
    consumed(colour);
  return chosen;
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
