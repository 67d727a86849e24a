// The native text box: a Windows EDIT over the editor, used when no in-editor text entry
// is attached. Its procedure turns Enter, Escape and the loss of focus into a commit or a
// cancel, which the next display tick carries out.

#include "IGuiWin.h"

#include "PlatformFontLoading.h"
#include "TextEntryFilter.h"
#include "Utf8.h"

#include "framework/core/IGuiEditorDelegate.h"

namespace pfw::gui {

namespace {
constexpr int kTextEntryControlId = 99;
// Marks the EDIT as the editor's own text box for anything that meets it among the
// editor's children; the editor itself is found through the parent, never through this.
constexpr LONG_PTR kTextEntryMarker = 0xdeadf00b;

DWORD AlignmentStyle(int hAlign)
{
  switch (hAlign)
  {
  case ITextStyle::kAlignNear: return ES_LEFT;
  case ITextStyle::kAlignFar: return ES_RIGHT;
  default: return ES_CENTER;
  }
}

} // namespace

void IGuiWin::CreatePlatformTextEntry(int paramIdx, const ITextStyle& style, const IRectF& bounds, int length,
                                      const char* text)
{
  if (mTextEntryWindow || !mWindow)
    return;
  const float s = PixelScale();
  const int width = static_cast<int>(s * bounds.R - s * bounds.L) + 1;
  const int height = static_cast<int>(s * bounds.B - s * bounds.T) + 1;
  mTextEntryWindow = CreateWindowExW(
    0, L"EDIT", TolerantUtf8ToWide(text).c_str(),
    WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN | ES_MULTILINE | ES_AUTOHSCROLL |
      AlignmentStyle(style.hAlign),
    static_cast<int>(s * bounds.L), static_cast<int>(s * bounds.T), width, height, mWindow,
    reinterpret_cast<HMENU>(static_cast<INT_PTR>(kTextEntryControlId)), mModule, nullptr);
  if (!mTextEntryWindow)
    return;
  mTextEntryFont = CreateCachedFontAtHeight(style.fontId, static_cast<int>(s * style.size));
  mTextEntryParam = GetDelegate() ? GetDelegate()->GetParam(paramIdx) : nullptr;
  mTextEntryStyle = style;
  mTextEntryBounds = bounds;
  mTextEntryState = kTextEntryIdle;

  SendMessageW(mTextEntryWindow, EM_LIMITTEXT, static_cast<WPARAM>(length > 0 ? length : 0), 0);
  SendMessageW(mTextEntryWindow, WM_SETFONT, reinterpret_cast<WPARAM>(mTextEntryFont), 0);
  SendMessageW(mTextEntryWindow, EM_SETSEL, 0, -1);
  if (style.vAlign == ITextStyle::kAlignCentre)
  {
    // One line, centred vertically.
    const float pixelHeight = s * bounds.H();
    const RECT r = {0, static_cast<LONG>((pixelHeight - s * style.size) / 2.f), static_cast<LONG>(s * bounds.W()) + 1,
                    static_cast<LONG>(pixelHeight) + 1};
    SendMessageW(mTextEntryWindow, EM_SETRECT, 0, reinterpret_cast<LPARAM>(&r));
  }
  // Its own procedure first, so that taking the focus already counts: a click in the
  // editor before the next frame cancels, one after it commits.
  mTextEntryPreviousProc = reinterpret_cast<WNDPROC>(
    SetWindowLongPtrW(mTextEntryWindow, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&IGuiWin::ParamEditProc)));
  SetWindowLongPtrW(mTextEntryWindow, GWLP_USERDATA, kTextEntryMarker);
  SetFocus(mTextEntryWindow);
}

void IGuiWin::ForceEndUserEdit()
{
  if (mTextEntryWindow)
    mTextEntryState = kTextEntryCancel;
}

void IGuiWin::DestroyTextEntry()
{
  if (!mTextEntryWindow)
    return;
  HWND edit = mTextEntryWindow;
  SetWindowLongPtrW(edit, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(mTextEntryPreviousProc));
  mTextEntryWindow = nullptr;
  mTextEntryPreviousProc = nullptr;
  mTextEntryParam = nullptr;
  DestroyWindow(edit);
  if (mTextEntryFont)
    DeleteObject(mTextEntryFont);
  mTextEntryFont = nullptr;
}

LRESULT CALLBACK IGuiWin::ParamEditProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
  auto* self = reinterpret_cast<IGuiWin*>(GetWindowLongPtrW(GetParent(window), GWLP_USERDATA));
  if (!self || self->mTextEntryWindow != window)
    return DefWindowProcW(window, message, wParam, lParam);
  self->ClearShownTooltip();
  const WNDPROC previous = self->mTextEntryPreviousProc;
  switch (message)
  {
  case WM_SETFOCUS: self->mTextEntryState = kTextEntryFocused; break;
  case WM_KILLFOCUS: self->mTextEntryState = kTextEntryCommit; break;
  case WM_GETDLGCODE:
  {
    LRESULT code = CallWindowProcW(previous, window, message, wParam, lParam);
    const MSG* asked = reinterpret_cast<const MSG*>(lParam);
    if (asked && asked->message == WM_KEYDOWN && asked->wParam == VK_RETURN)
      code |= DLGC_WANTALLKEYS;
    return code;
  }
  case WM_KEYDOWN:
    if (wParam == VK_RETURN || wParam == VK_ESCAPE)
    {
      self->mTextEntryState = wParam == VK_RETURN ? kTextEntryCommit : kTextEntryCancel;
      return 0;
    }
    break;
  case WM_CHAR:
    if (!TextEntryAcceptsChar(self->mTextEntryParam, static_cast<wchar_t>(wParam)))
      return 0;
    break;
  case WM_COMMAND:
    if (HIWORD(wParam) == 1) // from an accelerator
    {
      self->mTextEntryState = kTextEntryCommit;
      return 0;
    }
    break;
  default: break;
  }
  return CallWindowProcW(previous, window, message, wParam, lParam);
}

} // namespace pfw::gui
