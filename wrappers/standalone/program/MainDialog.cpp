#include "wrappers/standalone/program/MainDialog.h"

#include "framework/platform/windows/IGuiWin.h"
#include "framework/platform/windows/ShellOpen.h"
#include "framework/platform/windows/Utf8.h"
#include "wrappers/standalone/IPluginAPP.h"
#include "wrappers/standalone/program/PreferencesDialog.h"
#include "wrappers/standalone/program/Program.h"
#include "wrappers/standalone/program/ProgramTexts.h"
#include "wrappers/standalone/program/ResourceIds.h"
#include "wrappers/standalone/program/WindowCapture.h"

#include <ctime>
#include <string>

namespace {

pfw::gui::IGuiWin* OpenEditorWindow(StandaloneHost& host)
{
  return dynamic_cast<pfw::gui::IGuiWin*>(host.GetPlugin()->GetUI());
}

// The editor's size in window pixels: its window's, or the plug-in's editor size when it
// has no window.
SIZE EditorPixelSize(StandaloneHost& host)
{
  RECT area;
  if (pfw::gui::IGuiWin* editor = OpenEditorWindow(host))
    if (GetClientRect(static_cast<HWND>(editor->GetWindow()), &area))
      return {area.right - area.left, area.bottom - area.top};
  return {host.GetPlugin()->GetEditorWidth(), host.GetPlugin()->GetEditorHeight()};
}

// The window's size for a client area of the editor's size.
SIZE WindowSizeForEditor(HWND dialog, SIZE editor)
{
  RECT window, client;
  GetWindowRect(dialog, &window);
  GetClientRect(dialog, &client);
  return {editor.cx + (window.right - window.left) - (client.right - client.left),
          editor.cy + (window.bottom - window.top) - (client.bottom - client.top)};
}

// The window's own background, in the editor's colour, while the window exists.
HBRUSH gBackdropBrush = nullptr;

BOOL OnInitDialog(HWND dialog, StandaloneHost& host)
{
  Program& program = Program::Get();
  program.mainWindow = dialog;
  gBackdropBrush = CreateSolidBrush(program.services->editorBackdrop);
  host.SetMainWindow(dialog);
  // The debugging menu is not offered (its keys stay); gone before the window is sized and
  // shown, so no one ever sees it.
  DeleteMenu(GetMenu(dialog), 1, MF_BYPOSITION);
  DrawMenuBar(dialog);
  host.OpenEditor(dialog);
  const SIZE editor = EditorPixelSize(host);
  const SIZE window = WindowSizeForEditor(dialog, editor);
  const int left = GetSystemMetrics(SM_CXSCREEN) / 2 - editor.cx / 2;
  const int top = GetSystemMetrics(SM_CYSCREEN) / 2 - editor.cy / 2;
  SetWindowPos(dialog, nullptr, left, top, window.cx, window.cy, SWP_NOZORDER | SWP_NOACTIVATE);
  ShowWindow(dialog, SW_SHOW);
  if (host.GetScreenshotPath()[0])
    SetTimer(dialog, kScreenshotTimerId, kScreenshotDelayMs, nullptr);
  return TRUE;
}

// Set while the window closes around the editor: that size is the editor's own.
bool gFollowingEditor = false;

// The editor fits itself to the new client area. Its aspect, its scale limits and whole
// pixels may leave it smaller than the area, so the window then closes around it, as it
// does when it opens; otherwise a band of the window's own background would show beside
// or below the editor, and grow with every step of a corner drag.
void OnSize(HWND dialog, StandaloneHost& host, int width, int height)
{
  pfw::IPluginAPP& plugin = *host.GetPlugin();
  // Sizes the window takes around no editor (before it opens) are not the editor's.
  pfw::gui::IGuiWin* editor = OpenEditorWindow(host);
  if (gFollowingEditor || !plugin.GetHostResizeEnabled() || !editor)
    return;
  plugin.OnParentWindowResize(width, height);
  RECT area;
  if (!GetClientRect(static_cast<HWND>(editor->GetWindow()), &area) ||
      (area.right == width && area.bottom == height))
    return;
  const SIZE window = WindowSizeForEditor(dialog, {area.right, area.bottom});
  gFollowingEditor = true;
  SetWindowPos(dialog, nullptr, 0, 0, window.cx, window.cy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  gFollowingEditor = false;
}

void OnMinMaxInfo(HWND dialog, MINMAXINFO& info)
{
  StandaloneHost* host = StandaloneHost::Get();
  if (!host)
    return;
  const pfw::IPluginAPP& plugin = *host->GetPlugin();
  const float scale = pfw::gui::GetWindowDpiScale(dialog);
  info.ptMinTrackSize = {static_cast<LONG>(plugin.GetMinWidth() * scale), static_cast<LONG>(plugin.GetMinHeight() * scale)};
  info.ptMaxTrackSize = {static_cast<LONG>(plugin.GetMaxWidth() * scale), static_cast<LONG>(plugin.GetMaxHeight() * scale)};
}

void OnDpiChanged(HWND dialog, StandaloneHost& host, const RECT& suggested)
{
  const float scale = pfw::gui::GetWindowDpiScale(dialog);
  if (pfw::IEditorGraphics* graphics = host.GetPlugin()->GetUI())
    graphics->SetScreenScale(scale);
  const SIZE window = WindowSizeForEditor(dialog, EditorPixelSize(host));
  SetWindowPos(dialog, nullptr, suggested.left, suggested.top, window.cx, window.cy, SWP_NOZORDER | SWP_NOACTIVATE);
}

void OnScreenshotTimer(HWND dialog, StandaloneHost& host)
{
  KillTimer(dialog, kScreenshotTimerId);
  Program& program = Program::Get();
  if (!CaptureWindowToPng(dialog, host.GetScreenshotPath(), OpenEditorWindow(host)))
  {
    program.ShowMessage(dialog, "Failed to save screenshot", "Error", MB_OK);
    program.exitCode = kExitScreenshotFailed;
  }
  // Screenshot mode ends the program either way.
  DestroyWindow(dialog);
}

void SaveScreenshot(HWND dialog, StandaloneHost& host)
{
  const Program& program = Program::Get();
  wchar_t folder[MAX_PATH + 1] = {};
  const DWORD length = GetTempPathW(MAX_PATH + 1, folder);
  const std::string temporary = length > 0 && length <= MAX_PATH ? pfw::WideToUtf8(folder) : std::string();
  const std::time_t now = std::time(nullptr);
  struct tm local = {};
  localtime_s(&local, &now);
  const std::string path = ScreenshotFilePath(temporary.c_str(), kProgramName, local);
  if (!CaptureWindowToPng(dialog, path.c_str(), OpenEditorWindow(host)))
  {
    program.ShowMessage(dialog, "Failed to save screenshot", "Error", MB_OK);
    return;
  }
  const std::string question = "Screenshot saved to:\n" + path + "\n\nOpen it?";
  if (program.ShowMessage(dialog, question.c_str(), "Screenshot Saved", MB_YESNO) == IDYES)
    pfw::OpenUrl(dialog, path.c_str(), nullptr, nullptr, nullptr);
}

void OnCommand(HWND dialog, StandaloneHost& host, int id)
{
  const Program& program = Program::Get();
  pfw::IPluginAPP& plugin = *host.GetPlugin();
  switch (id)
  {
  case IDM_ABOUT:
    if (!plugin.ShowAboutBox())
      program.ShowMessage(dialog, AboutText(plugin.GetMfrName(), __DATE__).c_str(), kProgramName, MB_OK);
    break;
  case IDM_PREFERENCES:
    if (DialogBoxParamA(program.instance, MAKEINTRESOURCEA(IDD_PREFERENCES), dialog, PreferencesDlgProc, 0) == IDOK)
      host.WriteSettings();
    break;
  case IDM_QUIT: DestroyWindow(dialog); break;
  case IDM_READ_MANUAL:
    if (!plugin.ShowHelp())
      program.ShowMessage(dialog, "See the manual", kProgramName, MB_OK);
    break;
  case IDM_SAVE_SCREENSHOT: SaveScreenshot(dialog, host); break;
  default: break; // the debugging commands do nothing here
  }
}

void OnDestroy()
{
  Program& program = Program::Get();
  if (StandaloneHost* host = StandaloneHost::Get())
  {
    host->CloseEditor();
    host->SetMainWindow(nullptr);
  }
  program.mainWindow = nullptr;
  DeleteObject(gBackdropBrush);
  gBackdropBrush = nullptr;
  // Fades out, stops the stream, closes the MIDI ports and deletes the plug-in.
  StandaloneHost::Destroy();
  PostQuitMessage(0);
}

} // namespace

INT_PTR CALLBACK MainDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
  return GuardedProcedure([&]() -> INT_PTR {
    StandaloneHost* host = StandaloneHost::Get();
    switch (message)
    {
    case WM_INITDIALOG: return host ? OnInitDialog(dialog, *host) : FALSE;
    case WM_SIZE:
      if (host && (wParam == SIZE_RESTORED || wParam == SIZE_MAXIMIZED))
      {
        OnSize(dialog, *host, LOWORD(lParam), HIWORD(lParam));
        return TRUE;
      }
      return FALSE;
    case WM_GETMINMAXINFO: OnMinMaxInfo(dialog, *reinterpret_cast<MINMAXINFO*>(lParam)); return TRUE;
    case WM_DPICHANGED:
      if (host)
        OnDpiChanged(dialog, *host, *reinterpret_cast<const RECT*>(lParam));
      return TRUE;
    case WM_TIMER:
      if (host && wParam == kScreenshotTimerId)
      {
        OnScreenshotTimer(dialog, *host);
        return TRUE;
      }
      return FALSE;
    // The dialog erases its background with this brush.
    case WM_CTLCOLORDLG: return reinterpret_cast<INT_PTR>(gBackdropBrush);
    case WM_CLOSE: DestroyWindow(dialog); return TRUE;
    case WM_DESTROY: OnDestroy(); return TRUE;
    case WM_COMMAND:
      if (host)
        OnCommand(dialog, *host, LOWORD(wParam));
      return TRUE;
    default: return FALSE;
    }
  });
}
