#include "ProgramTestSupport.h"

#include "wrappers/standalone/StandaloneTarnwick.h"

#include <atomic>
#include <thread>

std::string SavedScreenshotPath(const std::string& question)
{
  const size_t start = question.find('\n') + 1, end = question.find("\n\nOpen it?");
  return start == 0 || end == std::string::npos || end < start ? std::string() : question.substr(start, end - start);
}

HWND WaitForOwnWindow(const char* className, const char* caption, int seconds)
{
  for (int waited = 0; waited <= seconds * 100; ++waited)
  {
    HWND window = nullptr;
    while ((window = FindWindowExA(nullptr, window, className, caption)) != nullptr)
    {
      DWORD process = 0;
      GetWindowThreadProcessId(window, &process);
      if (process == GetCurrentProcessId() && IsWindowVisible(window))
        return window;
    }
    if (waited < seconds * 100)
      Sleep(10);
  }
  return nullptr;
}

int ProgramTest::RunProgram(const ProgramOptions& options, const std::function<void(HWND main)>& drive,
                            StandaloneHost::PluginFactory makePlugin)
{
  ProgramServices services;
  services.makePlugin = makePlugin ? makePlugin : MakeStandaloneTarnwick;
  services.host = TestServices();
  services.editorBackdrop = StandaloneTarnwickBackdrop();
  std::atomic<bool> ended{false};
  std::thread driver([&] {
    HWND main = nullptr;
    for (int waited = 0; !main && !ended && waited < 6000; ++waited)
    {
      main = WaitForOwnWindow(kDialogClass, kProgramName, 0);
      Sleep(10);
    }
    if (!main)
      return;
    mainWindowShown = true;
    // The window shows while the program still sets it up: the test drives it once the
    // program's thread takes messages.
    SendMessageTimeoutW(main, WM_NULL, 0, 0, SMTO_NORMAL, 60000, nullptr);
    drive(main);
    if (IsWindow(main))
      PostMessageA(main, WM_CLOSE, 0, 0);
  });
  const int code = AppMain(GetModuleHandleW(nullptr), options, services);
  ended = true;
  driver.join();
  return code;
}

std::vector<std::string> ProgramTest::ComboTexts(HWND dialog, int id)
{
  std::vector<std::string> texts;
  const int count = static_cast<int>(SendDlgItemMessageA(dialog, id, CB_GETCOUNT, 0, 0));
  for (int item = 0; item < count; ++item)
  {
    char text[256] = {};
    SendDlgItemMessageA(dialog, id, CB_GETLBTEXT, static_cast<WPARAM>(item), reinterpret_cast<LPARAM>(text));
    texts.push_back(text);
  }
  return texts;
}

void ProgramTest::ChooseInCombo(HWND dialog, int id, const std::string& text)
{
  const LRESULT item =
    SendDlgItemMessageA(dialog, id, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(text.c_str()));
  ASSERT_NE(CB_ERR, item) << text;
  SendDlgItemMessageA(dialog, id, CB_SETCURSEL, static_cast<WPARAM>(item), 0);
  SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, CBN_SELCHANGE), reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
}
