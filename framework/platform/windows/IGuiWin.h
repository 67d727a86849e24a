#pragma once

#include "framework/graphics/renderer/IGuiVG.h"

#include "framework/core/GrowString.h"
#include "framework/graphics/IInputEvents.h"
#include "framework/graphics/IRectF.h"
#include "framework/graphics/ITextStyle.h"

#include <windows.h>
#include <shellapi.h>

#include <cstdint>
#include <memory>
#include <unordered_map>
#include <utility>
#include <vector>

namespace pfw {
class IParam;
}

namespace pfw::gui {

class VBlankThread;

// Window pixels per user-interface pixel on the window's monitor: its DPI / 96, and 1 when
// the system cannot tell.
float GetWindowDpiScale(HWND window);

// The frame timer's period in milliseconds for a frame rate: whole milliseconds per frame,
// 15 when that would be below 20.
unsigned FrameTimerInterval(int fps);

// The editor's graphics on Windows: the child window with its procedure, the OpenGL
// context, the frame clock (a thread that waits for the display's vertical blank, or a
// window timer), input, cursors and tooltips, native prompts, platform fonts and drag and
// drop. Everything but the vertical-blank thread runs on the thread that opened the window.
class IGuiWin : public IGuiVG
{
public:
  // What the native text box is doing; the display tick carries out a cancel or commit.
  enum TextEntryState
  {
    kTextEntryIdle = 0,
    kTextEntryFocused = 1,
    kTextEntryPainted = 2,
    kTextEntryCancel = 3,
    kTextEntryCommit = 4,
  };

  // The message the vertical-blank thread posts for each frame (wParam: its frame number),
  // and the window timer that drives frames without it.
  static constexpr UINT kDisplayTickMessage = WM_USER + 1;
  static constexpr UINT_PTR kFrameTimerId = 2;
  // The class of the editor window, and of the hidden and probe windows it uses under Wine.
  static const wchar_t kWindowClassName[];

  IGuiWin(IGuiEditorDelegate& delegate, int width, int height, int fps, float scale = 1.f);
  ~IGuiWin() override;

  // ---- Window, GL context and frame clock ----
  void* OpenWindow(void* parent) override;
  void CloseWindow() override;
  void* GetWindow() override { return mWindow; }
  const char* GetPlatformAPIStr() override { return "win32"; }
  void SetWinModuleHandle(void* module) override { mModule = static_cast<HINSTANCE>(module); }
  void* GetWinModuleHandle() override { return mModule; }
  // Makes the editor's GL context current on this thread; DeactivateGLContext puts back
  // what was current before. Pairs nest.
  void ActivateGLContext() override;
  void DeactivateGLContext() override;
  float GetPlatformWindowScale() const override { return GetScreenScale(); }
  void PlatformResize(bool parentHasResized) override;
  bool IsTouchDevice() override;
  // One frame (frame: the vertical-blank thread's number, 0 from the timer): ends a native
  // text entry that asked to end, follows the monitor's scale, and paints what is dirty.
  void OnDisplayTick(unsigned frame);
  // True while the vertical-blank thread drives the frames, false with the window timer.
  bool FramesFromVBlank() const { return mVBlank != nullptr; }

  // How frames reach the screen. Windows shows what SwapBuffers presents in a GL child
  // window. Wine may keep a GL child window's drawing, GDI's included, off the screen; so
  // under Wine the context first draws in a hidden window and each frame is copied into the
  // editor window through GDI, until a probe of a GL child window shows whether GL may draw
  // in the editor window itself.
  enum class FramePath
  {
    kSwapBuffers,
    kCopyUntilProbed,
    kCopyThroughGdi,
  };
  FramePath GetFramePath() const { return mFramePath; }

  // ---- Window procedure, input, cursors and tooltips ----
  static LRESULT CALLBACK WndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  // A mouse event from a message's position (client pixels) and key flags, in
  // user-interface units; the position becomes the last mouse position.
  IPointerEvent GetMouseInfo(LPARAM lParam, WPARAM wParam);
  int SetMouseCursor(int kind) override;
  void HideMouseCursor(bool hide = true, bool lock = true) override;
  void MoveMouseCursor(float x, float y) override;
  void GetMouseLocation(float& x, float& y) const override;
  // The text of the editor's one tooltip; null or "" clears it and takes it off the screen.
  void SetTooltip(const char* text);
  HWND GetTooltipWindow() const { return mTooltipWindow; }
  bool CursorLocked() const { return mCursorLock; }

  // ---- Native prompts: popup menus, text box, dialogs, clipboard and URLs ----
  IPopupMenu* CreatePlatformPopupMenu(IPopupMenu& menu, const IRectF& bounds, bool& isAsync) override;
  void CreatePlatformTextEntry(int paramIdx, const ITextStyle& style, const IRectF& bounds, int length,
                               const char* text) override;
  void ForceEndUserEdit() override;
  // The message box's completion gets its answer; the file dialog's the chosen file and
  // its folder, or an empty name and the kept folder when cancelled (not called without
  // an editor window); the folder dialog's an empty name and the chosen folder, or an
  // empty one; the colour dialog's only a chosen colour.
  int ShowMessageBox(const char* text, const char* caption, int type,
                     MessageBoxCompletion completion = nullptr) override;
  bool PromptForFile(GrowString& fileName, GrowString& path, bool save, const char* extensions,
                     FileCompletion completion = nullptr) override;
  bool PromptForDirectory(GrowString& path, FileCompletion completion = nullptr) override;
  bool PromptForColor(IArgbColour& colour, const char* prompt, ColourCompletion completion = nullptr) override;
  bool GetTextFromClipboard(GrowString& text) override;
  bool SetTextInClipboard(const char* text) override;
  bool SetFilePathInClipboard(const char* path) override;
  bool OpenURL(const char* url) override;
  // Asks first when a confirmation is given; shows the error text (when given) on failure.
  bool OpenURL(const char* url, const char* windowTitle, const char* confirmText, const char* errorText);
  bool RevealPathInExplorer(const char* path) override;
  bool RevealPathInExplorer(const char* path, bool select);
  HWND GetTextEntryWindow() const { return mTextEntryWindow; }
  int GetTextEntryState() const { return mTextEntryState; }

  // ---- Platform fonts ----
  std::unique_ptr<PlatformFont> LoadPlatformFontByName(const char* fontId, const char* family, int style) override;
  std::unique_ptr<PlatformFont> LoadPlatformFontFromMemory(const char* fontId, const void* data, int size) override;
  std::unique_ptr<PlatformFont> LoadPlatformFontFromFileOrResource(const char* fontId,
                                                                   const char* fileNameOrResourceName) override;
  void CachePlatformFont(const char* fontId, const PlatformFont& font) override;

  // ---- Drag and drop ----
  bool InitiateExternalFileDragDrop(const char* path, const IRectF& iconBounds) override;

  // How many editor windows are open in the process (the window class lives while any is).
  static int OpenWindowCount();

private:
  // Window pixels per user-interface unit.
  float PixelScale() const { return GetTotalScale(); }
  bool CreateGLContext();
  void DestroyGLContext();
  void CreateTooltips();
  void StartFrameClock(HWND window);
  void StopFrameClock();
  void Paint();
  // The pixel format asked for the GL context's window.
  static PIXELFORMATDESCRIPTOR PixelFormatRequest();
  // Under Wine: the hidden window the GL context draws in until frames may go to the
  // editor window (false when it cannot be made), kept at the editor window's size.
  bool CreateFrameWindow(const RECT& area);
  void FollowEditorWindowSize();
  // Puts the frame just drawn into the paint's area of the window, by the frame path.
  void ShowFrame(HDC paintDC, const RECT& paintArea);
  // While frames are copied until probed: finds out whether the screen shows GL drawing in a
  // child window, and when it does, moves the context to the editor window.
  void ProbeFramePath();
  // The native text box's end, asked for by its state; true when it consumed the tick.
  bool FinishTextEntry();

  // Message handlers of the window procedure; each returns the message's result.
  LRESULT OnMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  void OnMouseMove(WPARAM wParam, LPARAM lParam);
  // button: the key flag of the button pressed (MK_LBUTTON, MK_RBUTTON, MK_MBUTTON).
  void OnButtonDown(WPARAM button, WPARAM wParam, LPARAM lParam);
  void OnButtonUp(WPARAM wParam, LPARAM lParam);
  void OnButtonDoubleClick(WPARAM button, WPARAM wParam, LPARAM lParam);
  void OnWheel(WPARAM wParam, LPARAM lParam);
  LRESULT OnKey(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  void OnDropFiles(HDROP drop);
  void OnTouch(WPARAM wParam, LPARAM lParam);
  // The drag that holds the capture ends without its release (another window took the
  // capture, or a move came without the drag's button): one mouse-up at the last position.
  void EndDragWithoutRelease();
  // The hovered control's tooltip; none while a mouse button is held (keys: the message's)
  // or the window holds the capture.
  void OnHover(WPARAM keys);
  void OnMouseLeave();
  LRESULT OnTextEntryColours(HDC dc);
  void ClearShownTooltip();
  // The tooltip follows the mouse-over control (a move's wParam and lParam); the tip of
  // the control it leaves goes.
  void TooltipToMouseOverControl(WPARAM wParam, LPARAM lParam);
  // Under Wine: keeps a pinned cursor inside the window until it shows again.
  void ConfineCursorUnderWine();

  // ---- Native prompts (text box, top-level window) ----
  void DestroyTextEntry();
  static LRESULT CALLBACK ParamEditProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  // The owner of message boxes and the clipboard, found once; may be null.
  HWND FindTopLevelWindow();

  // GL context; the contexts current before each ActivateGLContext, innermost last.
  HGLRC mGLContext = nullptr;
  std::vector<std::pair<HDC, HGLRC>> mSavedGLContexts;
  HINSTANCE mModule = nullptr;

  // Windows: the editor (with its own device context), the native text box, the tooltip,
  // the parent given to OpenWindow and the top-level window above it.
  HWND mWindow = nullptr;
  HDC mDeviceContext = nullptr;
  HWND mTextEntryWindow = nullptr;
  HWND mTooltipWindow = nullptr;
  HWND mParentWindow = nullptr;
  HWND mTopLevelWindow = nullptr;

  // Native text box: the EDIT's previous procedure and own font, the process searched for
  // the top-level window, the parameter edited (null when none), the style and bounds
  // (user-interface units) it opened with, and its TextEntryState.
  WNDPROC mTextEntryPreviousProc = nullptr;
  HFONT mTextEntryFont = nullptr;
  DWORD mProcessId = 0;
  const IParam* mTextEntryParam = nullptr;
  ITextStyle mTextEntryStyle;
  IRectF mTextEntryBounds;
  int mTextEntryState = kTextEntryIdle;

  FramePath mFramePath = FramePath::kSwapBuffers;
  // The hidden window the GL context draws in while frames are copied (null otherwise), and
  // the rows of a frame read back for a copy.
  HWND mFrameWindow = nullptr;
  std::vector<uint8_t> mFrameRows;

  // Frame clock: the vertical-blank thread (null with the timer), the first of its frames
  // that may draw again after a long paint (0: any), whether the system offers the
  // vertical-blank wait (fixed at construction) and whether the timer runs.
  std::shared_ptr<VBlankThread> mVBlank;
  uint32_t mSkipUntilFrame = 0;
  bool mVSyncAvailable = false;
  bool mTimerRunning = false;
  // The window's size changed since the last tick. The first frame after that may still
  // go to the window's old buffer (Wine sizes a GL window's buffer lazily), so the next
  // tick draws everything again.
  bool mResized = false;
  // The monitor scale the screen scale last followed: the display tick follows the monitor
  // only when that changes, so a scale the host set holds meanwhile.
  float mMonitorScale = 0.f;

  // Tooltip shown, the control it belongs to (-1: none), where a hidden cursor was hidden.
  bool mTooltipShown = false;
  int mTooltipControlIdx = -1;
  float mHiddenCursorX = 0.f;
  float mHiddenCursorY = 0.f;

  // Mouse: the last position (user-interface units), whether the hidden cursor is pinned
  // (and confined, with the confinement there was before), the key flag of the button whose
  // press holds the capture (0: no drag), whether the last mouse message came from a pen or
  // touch, and the wheel's remainder of a notch (in wheel units) that high-resolution wheels
  // send in parts.
  float mMouseX = 0.f;
  float mMouseY = 0.f;
  bool mCursorLock = false;
  bool mCursorConfined = false;
  RECT mClipBeforeConfining = {};
  WPARAM mDragButton = 0;
  bool mPenInput = false;
  int mWheelRemainder = 0;

  // Top-level window's class name, remembered to find it again without a parent.
  GrowString mTopLevelClassName;
  // The last event of each touch contact, by touch id.
  std::unordered_map<int64_t, IPointerEvent> mTouches;
};

} // namespace pfw::gui
