// The editor window's own prompts: the native text box typed into with real key events
// and ended by the display tick, the popup menu placed under its control, message boxes
// owned by the host's window, the dialogs' answers handed to their completions, and the
// font from the program's resources through the editor's real font path.

#include "ModalFakes.h"

#include "framework/platform/windows/IGuiWin.h"
#include "framework/platform/windows/PlatformFontCaches.h"
#include "framework/platform/windows/Utf8.h"
#include "framework/platform/windows/WinMachine.h"
#include "framework/core/IGuiEditorDelegate.h"
#include "framework/core/IParam.h"
#include "tests/support/MessagePump.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

using namespace pfw;
using namespace pfw::gui;

namespace {
void Type(std::initializer_list<WORD> keys)
{
  for (WORD key : keys)
  {
    keybd_event(static_cast<BYTE>(key), 0, 0, 0);
    keybd_event(static_cast<BYTE>(key), 0, KEYEVENTF_KEYUP, 0);
  }
}

// A real level and an integer voicing.
class Delegate : public IGuiEditorDelegate
{
public:
  Delegate()
    : IGuiEditorDelegate(2)
  {
    GetParam(0)->InitDouble("Level", 0.0, 0.0, 1.0, 0.01);
    GetParam(1)->InitInt("Voicing", 3, 0, 11);
  }
  void BeginParamEditFromUI(int) override {}
  void EndParamEditFromUI(int) override {}
};

class ValueControl : public IControl
{
public:
  ValueControl(const IRectF& bounds, int paramIdx)
    : IControl(bounds, paramIdx)
  {
  }
  void Draw(IGui&) override {}
};

// A visible host window with one editor of 300 x 200 units in it; frames come from the
// window timer and the test's own ticks.
class EditorPromptsTest : public ::testing::Test
{
protected:
  EditorPromptsTest()
  {
    Machine().isWindows8OrLater = [] { return false; };
    host = CreateWindowExW(0, L"STATIC", L"Host", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 100, 100, 500, 400, nullptr,
                           nullptr, GetModuleHandleW(nullptr), nullptr);
    gui = std::make_unique<IGuiWin>(delegate, 300, 200, 30);
    gui->SetWinModuleHandle(GetModuleHandleW(nullptr));
    editor = static_cast<HWND>(gui->OpenWindow(host));
    control = static_cast<ValueControl*>(gui->AttachControl(new ValueControl(IRectF(20, 30, 120, 50), 0)));
    voicing = static_cast<ValueControl*>(gui->AttachControl(new ValueControl(IRectF(20, 60, 120, 80), 1)));
    SetForegroundWindow(host);
  }
  ~EditorPromptsTest() override
  {
    gui.reset();
    DestroyWindow(host);
    Machine() = RealMachine();
  }

  // Opens the box over a control for its parameter and waits for it to have the focus.
  HWND OpenTextBox(IControl& over)
  {
    gui->PromptUserInput(over, over.GetRECT(), 0);
    HWND box = gui->GetTextEntryWindow();
    SetForegroundWindow(host);
    SetFocus(box);
    PumpUntil([&] { return GetFocus() == box; });
    return box;
  }

  Delegate delegate;
  HWND host = nullptr;
  std::unique_ptr<IGuiWin> gui;
  HWND editor = nullptr;
  ValueControl* control = nullptr;
  ValueControl* voicing = nullptr;
};

std::string TextOf(HWND window)
{
  wchar_t text[64] = {};
  GetWindowTextW(window, text, 64);
  return std::string(text, text + wcslen(text));
}
} // namespace

TEST_F(EditorPromptsTest, TypingIntoTheTextBoxFiltersAndCommitsOnEnter)
{
  ASSERT_NE(nullptr, editor);
  // A real parameter takes digits and a point; an integer one drops letters and points.
  const struct
  {
    ValueControl* over;
    std::initializer_list<WORD> keys;
    const char* text;
    double value;
  } cases[] = {{control, {'0', VK_DECIMAL, '2', '5', 'A'}, "0.25", 0.25}, {voicing, {'1', 'A', VK_DECIMAL, '1'}, "11", 11.0}};
  for (const auto& c : cases)
  {
    HWND box = OpenTextBox(*c.over);
    ASSERT_NE(nullptr, box);
    EXPECT_EQ(IGuiWin::kTextEntryFocused, gui->GetTextEntryState());
    EXPECT_EQ(static_cast<LONG_PTR>(0xdeadf00b), GetWindowLongPtrW(box, GWLP_USERDATA)) << "the box's marker";
    Type(c.keys);
    ASSERT_TRUE(PumpUntil([&] { return TextOf(box) == c.text; })) << TextOf(box);
    Type({VK_RETURN});
    ASSERT_TRUE(PumpUntil([&] { return gui->GetTextEntryState() == IGuiWin::kTextEntryCommit; }));
    gui->OnDisplayTick(0);
    EXPECT_EQ(nullptr, gui->GetTextEntryWindow());
    EXPECT_FALSE(IsWindow(box));
    EXPECT_EQ(IGuiWin::kTextEntryIdle, gui->GetTextEntryState());
    EXPECT_DOUBLE_EQ(c.value, delegate.GetParam(c.over->GetParamIdx(0))->Value());
  }
}

TEST_F(EditorPromptsTest, EscapeAndForcedEndsCancel)
{
  HWND box = OpenTextBox(*control);
  ASSERT_NE(nullptr, box);
  Type({'1', VK_ESCAPE});
  ASSERT_TRUE(PumpUntil([&] { return gui->GetTextEntryState() == IGuiWin::kTextEntryCancel; }));
  gui->OnDisplayTick(0);
  EXPECT_EQ(nullptr, gui->GetTextEntryWindow());
  EXPECT_EQ(nullptr, gui->GetControlInTextEntry());
  EXPECT_EQ(0.0, delegate.GetParam(0)->Value());

  OpenTextBox(*control);
  gui->ForceEndUserEdit();
  EXPECT_EQ(IGuiWin::kTextEntryCancel, gui->GetTextEntryState());
  gui->OnDisplayTick(0);
  EXPECT_EQ(nullptr, gui->GetTextEntryWindow());
}

namespace {
POINT gMenuPoint = {};
HWND gOwner = nullptr;
BOOL ChooseSecond(HMENU, UINT, int x, int y, HWND owner)
{
  gMenuPoint = {x, y};
  gOwner = owner;
  return 2;
}
int Decline(HWND owner, const wchar_t*, const wchar_t*, UINT)
{
  gOwner = owner;
  return IDNO;
}
} // namespace

TEST_F(EditorPromptsTest, MenusOpenUnderTheirControlAndBoxesBelongToTheHost)
{
  ModalFakes fakes;
  Modal().trackPopupMenu = ChooseSecond;
  Modal().messageBox = Decline;
  IPopupMenu menu(nullptr, {"Clean", "Crunch"});
  bool isAsync = true;
  EXPECT_EQ(&menu, gui->CreatePlatformPopupMenu(menu, IRectF(10, 20, 60, 40), isAsync));
  EXPECT_FALSE(isAsync);
  EXPECT_EQ(1, menu.GetChosenItemIdx());
  POINT corner = {10, 40};
  ClientToScreen(editor, &corner);
  EXPECT_EQ(corner.x, gMenuPoint.x);
  EXPECT_EQ(corner.y, gMenuPoint.y);
  EXPECT_EQ(editor, gOwner);

  EXPECT_EQ(IDNO, gui->ShowMessageBox("Replace?", "TARN WICK", MB_YESNO));
  EXPECT_EQ(host, gOwner);
}

namespace {
// What the faked dialogs answer: the message box gMessageAnswer, the others the chosen
// path or colour, or a cancel.
int gMessageAnswer = 0;
bool gChooses = false;
const wchar_t* gChosenPath = nullptr;

// Every call of a completion, as text.
using Answers = std::vector<std::string>;
std::string Joined(const GrowString& file, const GrowString& folder)
{
  return std::string(file.Get()) + "|" + folder.Get();
}
} // namespace

TEST_F(EditorPromptsTest, DialogsHandTheirAnswerToTheCompletionOnce)
{
  ModalFakes fakes;
  Modal().messageBox = [](HWND, const wchar_t*, const wchar_t*, UINT) { return gMessageAnswer; };
  Modal().getOpenFileName = [](OPENFILENAMEW* dialog) -> BOOL {
    return gChooses && wcsncpy(dialog->lpstrFile, gChosenPath, dialog->nMaxFile);
  };
  Modal().browseForFolder = [](BROWSEINFOW*) { return gChooses ? ILCreateFromPathW(gChosenPath) : nullptr; };
  Modal().chooseColor = [](CHOOSECOLORW* dialog) -> BOOL {
    dialog->rgbResult = RGB(10, 200, 30);
    return gChooses;
  };
  using Ask = int (*)(IGuiWin&, Answers&);
  const Ask message = [](IGuiWin& g, Answers& answers) {
    return g.ShowMessageBox("Replace?", "TARN WICK", MB_YESNO,
                            [&](int answer) { answers.push_back(std::to_string(answer)); });
  };
  const Ask file = [](IGuiWin& g, Answers& answers) -> int {
    GrowString name("take.wav"), path("C:\\music\\");
    return g.PromptForFile(name, path, false, "wav", [&](auto& f, auto& p) { answers.push_back(Joined(f, p)); });
  };
  const Ask folder = [](IGuiWin& g, Answers& answers) -> int {
    GrowString path("C:\\music\\");
    return g.PromptForDirectory(path, [&](auto& f, auto& p) { answers.push_back(Joined(f, p)); });
  };
  const Ask colour = [](IGuiWin& g, Answers& answers) -> int {
    IArgbColour argb(128, 1, 2, 3);
    return g.PromptForColor(argb, "Amp", [&](const IArgbColour& c) {
      answers.push_back(std::to_string(c.A) + " " + std::to_string(c.R) + " " + std::to_string(c.G) + " " +
                        std::to_string(c.B));
    });
  };
  wchar_t windowsFolder[MAX_PATH] = {};
  ASSERT_NE(0u, GetWindowsDirectoryW(windowsFolder, MAX_PATH));
  IGuiWin windowless(delegate, 300, 200, 30);
  const struct
  {
    const char* what;
    Ask ask;
    IGuiWin* editor;
    int messageAnswer;
    bool chooses;
    const wchar_t* chosenPath;
    int returned;
    Answers answers;
  } cases[] = {
    {"message box answered", message, gui.get(), IDYES, true, nullptr, IDYES, {"6"}},
    {"message box cancelled", message, gui.get(), IDCANCEL, false, nullptr, IDCANCEL, {"2"}},
    {"file chosen", file, gui.get(), 0, true, L"C:\\riffs\\take 2.wav", 1, {"C:\\riffs\\take 2.wav|C:\\riffs\\"}},
    {"file cancelled keeps the folder", file, gui.get(), 0, false, nullptr, 0, {"|C:\\music\\"}},
    {"file without an editor window", file, &windowless, 0, true, L"C:\\riffs\\take 2.wav", 0, {}},
    {"folder chosen", folder, gui.get(), 0, true, windowsFolder, 1, {"|" + WideToUtf8(windowsFolder) + "\\"}},
    {"folder cancelled", folder, gui.get(), 0, false, nullptr, 0, {"|"}},
    {"colour chosen keeps alpha", colour, gui.get(), 0, true, nullptr, 1, {"128 10 200 30"}},
    {"colour cancelled", colour, gui.get(), 0, false, nullptr, 0, {}},
  };
  for (const auto& c : cases)
  {
    gMessageAnswer = c.messageAnswer;
    gChooses = c.chooses;
    gChosenPath = c.chosenPath;
    Answers answers;
    EXPECT_EQ(c.returned, c.ask(*c.editor, answers)) << c.what;
    EXPECT_EQ(c.answers, answers) << c.what;
  }
}

TEST_F(EditorPromptsTest, FontFromTheProgramsResourcesReachesRendererAndTextBox)
{
  ASSERT_TRUE(gui->LoadFont("QUILLTONE", "Roboto-Regular.ttf"));
  EXPECT_NE(nullptr, FontHandleCache().Find("QUILLTONE", 1.0));
  EXPECT_FALSE(gui->LoadFont("missing", "no-such-font.ttf"));

  ITextStyle style;
  style.SetFontId("QUILLTONE");
  style.size = 20.f;
  gui->CreatePlatformTextEntry(0, style, control->GetRECT(), 16, "1");
  HFONT font = reinterpret_cast<HFONT>(SendMessageW(gui->GetTextEntryWindow(), WM_GETFONT, 0, 0));
  LOGFONTW logFont = {};
  ASSERT_EQ(static_cast<int>(sizeof(logFont)), GetObjectW(font, sizeof(logFont), &logFont));
  EXPECT_EQ(std::wstring(L"Roboto"), logFont.lfFaceName);
  EXPECT_EQ(20, logFont.lfHeight);
}
