#include "EditorWindowFixture.h"

#include "framework/graphics/IKnobControlBase.h"
#include "framework/platform/windows/TouchInput.h"

#include <commctrl.h>
#include <shellapi.h>
#include <shlobj.h>

using namespace pfw::gui;

namespace {

class Knob : public IKnobControlBase
{
public:
  Knob(const IRectF& bounds, int paramIdx)
    : IKnobControlBase(bounds, paramIdx, kVertical, 1.0)
  {
    SetHideCursorOnDrag(true);
  }
  void Draw(IGui& g) override { g.FillRect(IArgbColour(), mRECT); }
};

// Opens the native text box for its parameter as soon as it is pressed.
class BoxOnPress : public IControl
{
public:
  explicit BoxOnPress(const IRectF& bounds)
    : IControl(bounds, 0)
  {
  }
  void Draw(IGui&) override {}
  void OnMouseDown(float, float, const IPointerMods&) override
  {
    GetUI()->CreateTextEntry(*this, GetTextStyle(), mRECT, "1", 0);
  }
};

POINT ScreenPoint(HWND window, int x, int y)
{
  POINT point = {x, y};
  ClientToScreen(window, &point);
  return point;
}

POINT CursorPos()
{
  POINT point = {};
  GetCursorPos(&point);
  return point;
}

HDROP MakeDrop(const std::vector<std::wstring>& paths, POINT at)
{
  size_t units = 1;
  for (const std::wstring& path : paths)
    units += path.size() + 1;
  HGLOBAL memory = GlobalAlloc(GHND, sizeof(DROPFILES) + units * sizeof(wchar_t));
  auto* files = static_cast<DROPFILES*>(GlobalLock(memory));
  files->pFiles = sizeof(DROPFILES);
  files->pt = at;
  files->fWide = TRUE;
  wchar_t* out = reinterpret_cast<wchar_t*>(files + 1);
  for (const std::wstring& path : paths)
    out = std::copy(path.begin(), path.end(), out) + 1;
  GlobalUnlock(memory);
  return static_cast<HDROP>(memory);
}

int gClosedTouchHandles = 0;

} // namespace

class WindowInput : public EditorWindowTest
{
protected:
  void SetUp() override { ASSERT_TRUE(Open()); }
  LRESULT Send(UINT message, WPARAM wParam, int x, int y) { return SendMessageW(editor, message, wParam, MAKELPARAM(x, y)); }
};

// A knob drag brackets one edit and pins the hidden cursor. However it ends, it ends once,
// then and there: the capture and the cursor are given back, and neither a move with the
// button held nor a release coming late is taken for the drag.
TEST_F(WindowInput, KnobDragBracketsOneEditPinsTheHiddenCursorAndEndsOnceHoweverItEnds)
{
  gui->AttachControl(new Knob(IRectF(50, 50, 150, 150), 0));
  const POINT press = ScreenPoint(editor, 100, 100);
  RECT free, clip;
  GetClipCursor(&free);
  const struct
  {
    const char* name;
    std::function<void()> end;
  } endings[] = {
    {"its release", [&] { Send(WM_LBUTTONUP, 0, 100, 100); }},
    {"another window takes the capture", [&] { SetCapture(host.Handle()); }},
    {"a move without its button, released elsewhere", [&] { Send(WM_MOUSEMOVE, 0, 100, 60); }},
  };
  for (const auto& ending : endings)
  {
    SCOPED_TRACE(ending.name);
    delegate.log.clear();
    const double before = delegate.GetParam(0)->GetNormalized();
    SetCursorPos(press.x, press.y);
    Send(WM_LBUTTONDOWN, MK_LBUTTON, 100, 100);
    EXPECT_EQ(GetCapture(), editor);
    EXPECT_TRUE(gui->CursorHidden());
    EXPECT_TRUE(gui->CursorLocked());
    // Each move of 10 pixels up is taken back to where the cursor was hidden.
    for (int i = 0; i < 2; ++i)
    {
      const POINT moved = ScreenPoint(editor, 100, 90);
      SetCursorPos(moved.x, moved.y);
      Send(WM_MOUSEMOVE, MK_LBUTTON, 100, 90);
      EXPECT_EQ(CursorPos().x, press.x);
      EXPECT_EQ(CursorPos().y, press.y) << "the hidden cursor stays where it was pressed";
    }
    EXPECT_NEAR(delegate.GetParam(0)->GetNormalized(), before + 0.2, 1e-6);
    ending.end();

    const std::vector<std::string> ended = delegate.log;
    std::string why;
    EXPECT_TRUE(delegate.Balanced(&why)) << why;
    EXPECT_EQ(std::count(ended.begin(), ended.end(), "begin 0"), 1);
    EXPECT_NE(GetCapture(), editor);
    EXPECT_FALSE(gui->CursorHidden());
    EXPECT_EQ(CursorPos().y, press.y);
    GetClipCursor(&clip);
    EXPECT_TRUE(EqualRect(&clip, &free)) << "the cursor moves freely again";
    Send(WM_MOUSEMOVE, MK_LBUTTON, 100, 30);
    Send(WM_LBUTTONUP, 0, 100, 30);
    EXPECT_EQ(delegate.log, ended);
  }
}

TEST_F(WindowInput, MiddleButtonReleaseEndsTheEditAndTheCapture)
{
  gui->AttachControl(new Knob(IRectF(50, 50, 150, 150), 0));
  Send(WM_MBUTTONDOWN, MK_MBUTTON, 100, 100);
  EXPECT_EQ(GetCapture(), editor);
  Send(WM_MBUTTONUP, 0, 100, 100);
  EXPECT_EQ(GetCapture(), nullptr);
  EXPECT_EQ(delegate.log, (std::vector<std::string>{"begin 0", "end 0"}));
}

TEST_F(WindowInput, AReleaseAfterAPressThatOpenedTheTextBoxEndsThePress)
{
  // No tick may take the box's focus state away while the test looks at it.
  KillTimer(editor, IGuiWin::kFrameTimerId);
  gui->AttachControl(new BoxOnPress(IRectF(50, 50, 150, 80)));
  SetForegroundWindow(host.Handle());
  Send(WM_LBUTTONDOWN, MK_LBUTTON, 100, 60);
  ASSERT_NE(nullptr, gui->GetTextEntryWindow());
  SetFocus(gui->GetTextEntryWindow());
  ASSERT_TRUE(PumpUntil([&] { return gui->GetTextEntryState() == IGuiWin::kTextEntryFocused; }));
  Send(WM_LBUTTONUP, 0, 100, 60);
  EXPECT_EQ(GetCapture(), nullptr);
  EXPECT_EQ(delegate.log, (std::vector<std::string>{"begin 0", "end 0"}));
  EXPECT_EQ(IGuiWin::kTextEntryFocused, gui->GetTextEntryState()) << "the box stays open for typing";
}

TEST_F(WindowInput, WheelReachesTheControlUnderItsScreenPositionInWholeNotches)
{
  CountingControl* left = Add(IRectF(0, 0, 100, 100));
  CountingControl* right = Add(IRectF(100, 0, 200, 100));
  const POINT overRight = ScreenPoint(editor, 150, 50);
  const auto wheel = [&](int delta) {
    SendMessageW(editor, WM_MOUSEWHEEL, MAKEWPARAM(0, delta), MAKELPARAM(overRight.x, overRight.y));
  };
  for (const int delta : {120, 60, 60, -240, 40})
    wheel(delta);
  EXPECT_EQ(right->wheel, (std::vector<float>{1.f, 1.f, -2.f}));
  EXPECT_TRUE(left->wheel.empty());
}

TEST_F(WindowInput, KeysTheEditorDoesNotUseReachTheRootWindowOnce)
{
  host.echoKeys = true;
  SetFocus(editor);
  const POINT outside = ScreenPoint(host.Handle(), 390, 290);
  SetCursorPos(outside.x, outside.y);
  SendMessageW(editor, WM_KEYDOWN, 'Q', 0x00100001);
  EXPECT_EQ(host.keys, (std::vector<WPARAM>{'Q'}));
}

TEST_F(WindowInput, MouseMessagesFromAPenAreLeftToTheTouchPath)
{
  gui->AttachControl(new Knob(IRectF(50, 50, 150, 150), 0));
  Machine().getMessageExtraInfo = [] { return static_cast<LPARAM>(0xFF515780); };
  Send(WM_LBUTTONDOWN, MK_LBUTTON, 100, 100);
  EXPECT_EQ(GetCapture(), nullptr);
  EXPECT_TRUE(delegate.log.empty());
  gui->HideMouseCursor(true, true);
  EXPECT_FALSE(gui->CursorLocked()) << "a pen cannot be held in place";
  gui->HideMouseCursor(false, true);
}

TEST_F(WindowInput, DroppedFilesArriveWholeAtTheControlUnderThem)
{
  CountingControl* target = Add(IRectF(100, 100, 200, 200));
  const std::wstring longPath = L"C:\\" + std::wstring(1500, L'x') + L".wav";
  SendMessageW(editor, WM_DROPFILES, reinterpret_cast<WPARAM>(MakeDrop({L"C:\\M\u00fasica\\riff.wav"}, {150, 150})), 0);
  EXPECT_EQ(target->drops, (std::vector<std::string>{"C:\\M\xc3\xbasica\\riff.wav"}));

  SendMessageW(editor, WM_DROPFILES,
               reinterpret_cast<WPARAM>(MakeDrop({L"C:\\a.wav", longPath, L"C:\\c.wav"}, {150, 150})), 0);
  ASSERT_EQ(target->drops.size(), 3u);
  EXPECT_EQ(target->drops[1].size(), longPath.size());
}

TEST(TouchInputs, SortIntoDownsUpsAndMovesInUnits)
{
  std::unordered_map<int64_t, IPointerEvent> touches;
  const auto input = [](DWORD id, LONG x, LONG y, DWORD flags) {
    TOUCHINPUT t = {};
    t.x = x * 100 + 99;
    t.y = y * 100;
    t.dwID = id;
    t.dwFlags = flags;
    t.dwMask = TOUCHINPUTMASKF_CONTACTAREA;
    t.cxContact = 12;
    return t;
  };
  const TOUCHINPUT first[] = {input(1, 110, 220, TOUCHEVENTF_DOWN), input(2, 130, 240, TOUCHEVENTF_MOVE)};
  TouchEvents events = SortTouchInputs(first, 2, {10, 20}, 2.f, touches);
  ASSERT_EQ(events.down.size(), 1u);
  EXPECT_EQ(events.down[0].x, 50.f);
  EXPECT_EQ(events.down[0].y, 100.f);
  EXPECT_EQ(events.down[0].mods.touchRadius, 12.f);
  ASSERT_EQ(events.moved.size(), 1u);
  EXPECT_EQ(events.moved[0].dX, 0.f) << "a contact not known before does not jump";

  const TOUCHINPUT second[] = {input(1, 120, 200, TOUCHEVENTF_MOVE), input(2, 0, 0, TOUCHEVENTF_UP)};
  events = SortTouchInputs(second, 2, {10, 20}, 2.f, touches);
  ASSERT_EQ(events.moved.size(), 1u);
  EXPECT_EQ(events.moved[0].mods.touchId, 1);
  EXPECT_EQ(events.moved[0].dX, 5.f);
  EXPECT_EQ(events.moved[0].dY, -10.f);
  EXPECT_EQ(events.up.size(), 1u);
  EXPECT_EQ(touches.size(), 1u);
}

TEST_F(WindowInput, ATouchMessageWhoseInputsCannotBeReadOnlyClosesItsHandle)
{
  gui->AttachControl(new Knob(IRectF(50, 50, 150, 150), 0));
  Machine().getTouchInputInfo = [](HTOUCHINPUT, UINT, TOUCHINPUT*, int) -> BOOL { return FALSE; };
  Machine().closeTouchInputHandle = [](HTOUCHINPUT) -> BOOL { return ++gClosedTouchHandles, TRUE; };
  gClosedTouchHandles = 0;
  SendMessageW(editor, WM_TOUCH, 2, 1234);
  EXPECT_EQ(gClosedTouchHandles, 1);
  EXPECT_TRUE(delegate.log.empty());
}

// An editor with tooltips and a control with the tip "Gain" on a background without one;
// the tooltip window tells whether a tip is on the screen and the text it holds.
class Tooltips : public EditorWindowTest
{
protected:
  void SetUp() override
  {
    gui = std::make_unique<IGuiWin>(delegate, 300, 200, 30);
    gui->EnableTooltips(true);
    editor = static_cast<HWND>(gui->OpenWindow(host.Handle()));
    tooltip = gui->GetTooltipWindow();
    ASSERT_TRUE(tooltip);
    Add(IRectF(0, 0, 300, 200));
    Add(IRectF(50, 50, 100, 100))->SetTooltip("Gain");
    // The tooltip control shows its tip only while the pointer is over the editor.
    SetWindowPos(host.Handle(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  }
  bool Shown() const { return IsWindowVisible(tooltip) != FALSE; }
  std::wstring Text() const
  {
    wchar_t text[80] = {};
    TOOLINFOW tool = {};
    tool.cbSize = TTTOOLINFOW_V2_SIZE;
    tool.hwnd = editor;
    tool.uId = reinterpret_cast<UINT_PTR>(editor);
    tool.lpszText = text;
    SendMessageW(tooltip, TTM_GETTEXTW, 80, reinterpret_cast<LPARAM>(&tool));
    return text;
  }
  // The pointer moved to a point of the editor by real input, with a button pressed or
  // released there; what it brings to the window is then handled.
  void Pointer(int x, int y, DWORD button = 0)
  {
    const POINT at = ScreenPoint(editor, x, y);
    INPUT input = {};
    input.type = INPUT_MOUSE;
    // Absolute positions run from 0 to 65535 across the screen.
    input.mi.dx = MulDiv(at.x, 65535, GetSystemMetrics(SM_CXSCREEN) - 1);
    input.mi.dy = MulDiv(at.y, 65535, GetSystemMetrics(SM_CYSCREEN) - 1);
    input.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE | button;
    SendInput(1, &input, sizeof(input));
    PumpUntil([] { return false; }, 0.02);
    if (button == MOUSEEVENTF_LEFTDOWN)
      PumpUntil([&] { return GetCapture() == editor; });
    if (button == MOUSEEVENTF_LEFTUP)
      PumpUntil([] { return GetCapture() == nullptr; });
  }

  HWND tooltip = nullptr;
};

TEST_F(Tooltips, HoverShowsTheTooltipOfTheControlUnderTheMouseAndLeavingClearsIt)
{
  SendMessageW(editor, WM_MOUSEMOVE, 0, MAKELPARAM(70, 70));
  SendMessageW(editor, WM_MOUSEHOVER, 0, MAKELPARAM(70, 70));
  EXPECT_EQ(Text(), L"Gain");
  SendMessageW(editor, WM_MOUSELEAVE, 0, 0);
  EXPECT_EQ(Text(), L"");
}

TEST_F(Tooltips, APressHidesTheTooltipAndNoneShowsWhileTheButtonIsHeld)
{
  const POINT over = ScreenPoint(editor, 70, 70);
  SetCursorPos(over.x, over.y);
  const int showDelayMs = 50;
  SendMessageW(tooltip, TTM_SETDELAYTIME, TTDT_INITIAL, showDelayMs);
  const auto shown = [&] { return Shown(); };

  struct Button
  {
    UINT down, up;
    WPARAM held;
    const char* name;
  };
  for (const Button& button : {Button{WM_LBUTTONDOWN, WM_LBUTTONUP, MK_LBUTTON, "left"},
                               Button{WM_RBUTTONDOWN, WM_RBUTTONUP, MK_RBUTTON, "right"},
                               Button{WM_MBUTTONDOWN, WM_MBUTTONUP, MK_MBUTTON, "middle"}})
  {
    SCOPED_TRACE(button.name);
    SendMessageW(editor, WM_MOUSELEAVE, 0, 0);
    SendMessageW(editor, WM_MOUSEMOVE, 0, MAKELPARAM(70, 70));
    SendMessageW(editor, WM_MOUSEHOVER, 0, MAKELPARAM(70, 70));
    ASSERT_TRUE(PumpUntil(shown));

    SendMessageW(editor, button.down, button.held, MAKELPARAM(70, 70));
    EXPECT_FALSE(shown());
    // Resting on the control with the button held, then dragging it; a hover need not
    // show the button in its keys.
    for (const WPARAM keys : {button.held, WPARAM(0)})
      SendMessageW(editor, WM_MOUSEHOVER, keys, MAKELPARAM(70, 70));
    for (int x = 71; x <= 75; ++x)
      SendMessageW(editor, WM_MOUSEMOVE, button.held, MAKELPARAM(x, 70));
    EXPECT_FALSE(PumpUntil(shown, 20 * showDelayMs / 1000.0));
    SendMessageW(editor, button.up, 0, MAKELPARAM(75, 70));
  }
}

// From resting on Gain with its tip shown, the pointer goes on in small moves (or one
// step) and rests, or presses where it arrives and drags on slowly; from there on the
// hovers come from the system as the pointer rests.
TEST_F(Tooltips, TheTipOnTheScreenIsTheRestingControlsOwnAndNoneWhileDragging)
{
  Add(IRectF(120, 50, 180, 100))->SetTooltip("Mic");
  Add(IRectF(200, 50, 260, 100)); // a menu, say, without a tip
  UINT hoverMs = 0;
  SystemParametersInfoW(SPI_GETMOUSEHOVERTIME, 0, &hoverMs, 0);
  const UINT showDelayMs = static_cast<UINT>(SendMessageW(tooltip, TTM_GETDELAYTIME, TTDT_INITIAL, 0));
  // Long enough for a hover to come, and for the tooltip control to show what it set.
  const double hoverSeconds = hoverMs / 1000.0 + 0.3;
  const double restSeconds = (2 * hoverMs + showDelayMs) / 1000.0 + 0.5;
  const auto shown = [&] { return Shown(); };

  struct Gesture
  {
    const char* name;
    int toX, steps;
    bool pressAndDrag;
    const wchar_t* tip; // null: no tip may show
  };
  for (const Gesture& gesture : {Gesture{"glide onto a control without a tip", 230, 12, false, nullptr},
                                 Gesture{"glide onto no control", 110, 12, false, nullptr},
                                 Gesture{"glide onto a control with a tip", 150, 12, false, L"Mic"},
                                 Gesture{"step onto a control with a tip", 150, 1, false, L"Mic"},
                                 Gesture{"step onto a control, press and drag", 150, 1, true, nullptr}})
  {
    SCOPED_TRACE(gesture.name);
    SendMessageW(editor, WM_MOUSELEAVE, 0, 0);
    Pointer(70, 75);
    SendMessageW(editor, WM_MOUSEHOVER, 0, MAKELPARAM(70, 75));
    ASSERT_TRUE(PumpUntil([&] { return Shown() && Text() == L"Gain"; }));

    for (int step = 1; step <= gesture.steps; ++step)
      Pointer(70 + (gesture.toX - 70) * step / gesture.steps, 75);
    if (gesture.pressAndDrag)
    {
      Pointer(gesture.toX, 75, MOUSEEVENTF_LEFTDOWN);
      EXPECT_EQ(GetCapture(), editor) << "the press reached the editor";
      // Slowly: a hover would come between the moves.
      for (int x = gesture.toX + 1; x <= gesture.toX + 3; ++x)
      {
        Pointer(x, 75);
        EXPECT_FALSE(PumpUntil(shown, hoverSeconds));
      }
    }
    if (gesture.tip)
      EXPECT_TRUE(PumpUntil([&] { return Shown() && Text() == gesture.tip; })) << "shown: " << Shown();
    else
      EXPECT_FALSE(PumpUntil(shown, restSeconds));
    if (gesture.pressAndDrag)
      Pointer(gesture.toX + 3, 75, MOUSEEVENTF_LEFTUP);
  }
}
