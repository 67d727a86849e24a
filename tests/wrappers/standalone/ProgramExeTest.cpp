// TARN WICK.exe itself, started as its own process: screenshots, the single instance and
// the resources it carries.

#include "HostTestSupport.h"

#include "wrappers/standalone/program/ResourceIds.h"

#include <gmock/gmock.h>
#include <windows.h>

#include <cstdlib>
#include <string>

namespace {

std::wstring WindowsPath(const char* unixPath)
{
  std::wstring path = L"Z:" + Utf8ToWide(unixPath);
  for (wchar_t& c : path)
    if (c == L'/')
      c = L'\\';
  return path;
}

const std::wstring kProgram = WindowsPath(TARNWICK_PROGRAM);

// A run of the program; its standard error is collected.
class ProgramProcess
{
public:
  explicit ProgramProcess(const std::wstring& arguments)
  {
    SECURITY_ATTRIBUTES inherit = {sizeof(inherit), nullptr, TRUE};
    CreatePipe(&mErrorRead, &mErrorWrite, &inherit, 1 << 16);
    SetHandleInformation(mErrorRead, HANDLE_FLAG_INHERIT, 0);
    STARTUPINFOW startup = {};
    startup.cb = sizeof(startup);
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdError = mErrorWrite;
    std::wstring line = L"\"" + kProgram + L"\" " + arguments;
    PROCESS_INFORMATION process = {};
    if (CreateProcessW(kProgram.c_str(), &line[0], nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup, &process))
    {
      CloseHandle(process.hThread);
      mProcess = process.hProcess;
      mId = process.dwProcessId;
    }
    CloseHandle(mErrorWrite);
  }
  ~ProgramProcess()
  {
    if (mProcess && WaitForSingleObject(mProcess, 0) == WAIT_TIMEOUT)
      TerminateProcess(mProcess, 99);
    CloseHandle(mProcess);
    CloseHandle(mErrorRead);
  }

  bool Started() const { return mProcess != nullptr; }
  // The exit code, or -1 when it did not end within the seconds.
  int Wait(int seconds = 120)
  {
    DWORD code = 0;
    if (!mProcess || WaitForSingleObject(mProcess, seconds * 1000) != WAIT_OBJECT_0 ||
        !GetExitCodeProcess(mProcess, &code))
      return -1;
    return static_cast<int>(code);
  }
  bool Running() const { return mProcess && WaitForSingleObject(mProcess, 0) == WAIT_TIMEOUT; }
  // After the end: what it wrote to its standard error.
  std::string Errors()
  {
    std::string text;
    char buffer[1024];
    DWORD got = 0;
    while (ReadFile(mErrorRead, buffer, sizeof(buffer), &got, nullptr) && got > 0)
      text.append(buffer, got);
    return text;
  }
  // Its main window, once shown; null when it ends before.
  HWND MainWindow(int seconds = 120)
  {
    for (int waited = 0; waited < seconds * 100 && Running(); ++waited, Sleep(10))
      for (HWND window = nullptr; (window = FindWindowExA(nullptr, window, "#32770", "TARN WICK")) != nullptr;)
      {
        DWORD owner = 0;
        GetWindowThreadProcessId(window, &owner);
        if (owner == mId && IsWindowVisible(window))
          return window;
      }
    return nullptr;
  }

private:
  HANDLE mProcess = nullptr;
  DWORD mId = 0;
  HANDLE mErrorRead = nullptr;
  HANDLE mErrorWrite = nullptr;
};

std::string PicturePath(const char* name)
{
  CreateDirectoryW(WindowsPath(TARNWICK_PICTURES_DIR).c_str(), nullptr);
  return WideToUtf8(WindowsPath(TARNWICK_PICTURES_DIR)) + "\\" + name;
}

struct Probe
{
  int x, y;
  int r, g, b;
  const char* what;
};

} // namespace

TEST(ProgramExeTest, AScreenshotRunWritesTheEditorAs1180By800PngAndEndsWithZero)
{
  const std::string path = PicturePath("program screenshot.png");
  DeleteFileW(Utf8ToWide(path).c_str());
  ProgramProcess program(L"--no-io --screenshot \"" + Utf8ToWide(path) + L"\"");
  ASSERT_TRUE(program.Started());
  EXPECT_EQ(0, program.Wait());
  EXPECT_EQ("", program.Errors());

  const PngPicture picture = ReadPng(path);
  ASSERT_EQ(1180, picture.width) << path;
  ASSERT_EQ(800, picture.height);
  EXPECT_EQ(4, picture.fileChannels);
  // The editor's first view: its tab lit, the other tabs and the pedal switch in ink, the
  // gate switch lit.
  const Probe probes[] = {{235, 488, 36, 65, 65, "lit AMP tab"},       {48, 488, 27, 35, 40, "unlit tab"},
                          {983, 488, 27, 35, 40, "unlit tab"},         {100, 437, 36, 65, 65, "GATE switch, on"},
                          {240, 437, 27, 35, 40, "PEDAL switch, off"}};
  for (const Probe& probe : probes)
  {
    const unsigned char* p = picture.At(probe.x, probe.y);
    EXPECT_TRUE(std::abs(p[0] - probe.r) <= 3 && std::abs(p[1] - probe.g) <= 3 && std::abs(p[2] - probe.b) <= 3)
      << probe.what << " at (" << probe.x << ", " << probe.y << ") is (" << int(p[0]) << ", " << int(p[1]) << ", "
      << int(p[2]) << ")";
  }
}

TEST(ProgramExeTest, AScreenshotThatCannotBeWrittenIsReportedAndEndsWithTwo)
{
  ProgramProcess program(L"--no-io --screenshot Z:\\no-such-folder-anywhere\\shot.png");
  ASSERT_TRUE(program.Started());
  ASSERT_EQ(2, program.Wait()); // its errors can be read only once it has ended
  EXPECT_NE(std::string::npos, program.Errors().find("Error: Failed to save screenshot"));
}

TEST(ProgramExeTest, AScreenshotWithoutAPathIsNoneAndTheWindowRunsAsUsual)
{
  for (const wchar_t* arguments : {L"--no-io --screenshot", L"--screenshot \"\" --no-io"})
  {
    SCOPED_TRACE(WideToUtf8(arguments));
    ProgramProcess program(arguments);
    ASSERT_TRUE(program.Started());
    HWND window = program.MainWindow();
    ASSERT_TRUE(window);
    PostMessageA(window, WM_CLOSE, 0, 0);
    ASSERT_EQ(0, program.Wait());
    EXPECT_EQ("", program.Errors());
  }
}

TEST(ProgramExeTest, ASecondInstanceLeavesAtOnceWhileTheFirstRunsOn)
{
  ProgramProcess first(L"--no-io");
  ASSERT_TRUE(first.Started());
  HWND window = first.MainWindow();
  ASSERT_TRUE(window);

  ProgramProcess second(L"--no-io");
  EXPECT_EQ(0, second.Wait());
  // A second instance asked for a screenshot takes none, and says why.
  const std::string path = PicturePath("never written.png");
  ProgramProcess screenshot(L"--screenshot \"" + Utf8ToWide(path) + L"\"");
  ASSERT_EQ(2, screenshot.Wait());
  EXPECT_THAT(screenshot.Errors(),
              testing::HasSubstr("Error: Failed to save screenshot: another TARN WICK is already running"));
  EXPECT_FALSE(FileExists(path));
  EXPECT_TRUE(first.Running());

  PostMessageA(window, WM_CLOSE, 0, 0);
  EXPECT_EQ(0, first.Wait());
}

TEST(ProgramExeTest, TheProgramCarriesItsIconsVersionMenuKeysAndManifest)
{
  HMODULE module = LoadLibraryExW(kProgram.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
  ASSERT_TRUE(module);
  for (int size : {16, 32, 48, 128, 256})
  {
    HICON icon = static_cast<HICON>(LoadImageW(module, MAKEINTRESOURCEW(IDI_PROGRAM), IMAGE_ICON, size, size, 0));
    ASSERT_TRUE(icon) << size;
    ICONINFO info = {};
    ASSERT_TRUE(GetIconInfo(icon, &info));
    BITMAP colour = {};
    GetObjectW(info.hbmColor, sizeof(colour), &colour);
    EXPECT_EQ(size, colour.bmWidth);
    EXPECT_EQ(32, colour.bmBitsPixel) << size;
    DeleteObject(info.hbmColor);
    DeleteObject(info.hbmMask);
    DestroyIcon(icon);
  }

  HACCEL keys = LoadAcceleratorsW(module, MAKEINTRESOURCEW(IDR_ACCELERATORS));
  ACCEL table[8] = {};
  ASSERT_EQ(6, CopyAcceleratorTableW(keys, table, 8));
  const ACCEL expected[] = {{FVIRTKEY | FCONTROL, VK_OEM_COMMA, IDM_PREFERENCES},
                            {FVIRTKEY | FCONTROL, 'B', IDM_SHOW_CONTROL_BOUNDS},
                            {FVIRTKEY | FCONTROL, 'D', IDM_SHOW_DRAWN_AREA},
                            {FVIRTKEY | FCONTROL, 'F', IDM_SHOW_FPS},
                            {FVIRTKEY | FCONTROL, 'E', IDM_LIVE_EDIT},
                            {FVIRTKEY | FCONTROL | FSHIFT, 'S', IDM_SAVE_SCREENSHOT}};
  for (int i = 0; i < 6; ++i)
  {
    EXPECT_EQ(expected[i].fVirt, table[i].fVirt & ~0x80) << i;
    EXPECT_EQ(expected[i].key, table[i].key) << i;
    EXPECT_EQ(expected[i].cmd, table[i].cmd) << i;
  }

  HMENU menu = LoadMenuW(module, MAKEINTRESOURCEW(IDR_MAIN_MENU));
  ASSERT_EQ(3, GetMenuItemCount(menu));
  char text[64] = {};
  GetMenuStringA(menu, IDM_SAVE_SCREENSHOT, text, sizeof(text), MF_BYCOMMAND);
  EXPECT_STREQ("&Save Screenshot\tCtrl+Shift+S", text);
  DestroyMenu(menu);

  HRSRC manifest = FindResourceW(module, MAKEINTRESOURCEW(1), MAKEINTRESOURCEW(24));
  ASSERT_TRUE(manifest);
  const std::string xml(static_cast<const char*>(LockResource(LoadResource(module, manifest))),
                        SizeofResource(module, manifest));
  EXPECT_NE(std::string::npos, xml.find("\"asInvoker\""));
  EXPECT_NE(std::string::npos, xml.find("PerMonitorV2"));
  FreeLibrary(module);

  DWORD ignored = 0;
  std::vector<char> version(GetFileVersionInfoSizeW(kProgram.c_str(), &ignored));
  ASSERT_FALSE(version.empty());
  ASSERT_TRUE(GetFileVersionInfoW(kProgram.c_str(), 0, static_cast<DWORD>(version.size()), version.data()));
  for (const auto& [key, value] : {std::pair<const wchar_t*, const wchar_t*>{L"ProductName", L"TARN WICK"},
                                   {L"InternalName", L"TARN WICK"},
                                   {L"FileDescription", L"TARN WICK"},
                                   {L"CompanyName", L"QUILLTONE"},
                                   {L"FileVersion", L"0.1.0"}})
  {
    wchar_t* found = nullptr;
    UINT length = 0;
    const std::wstring query = std::wstring(L"\\StringFileInfo\\040904b0\\") + key;
    ASSERT_TRUE(VerQueryValueW(version.data(), query.c_str(), reinterpret_cast<void**>(&found), &length)) << WideToUtf8(key);
    EXPECT_EQ(std::wstring(value), std::wstring(found));
  }
}
