#include "HostTestSupport.h"

#include "wrappers/standalone/program/WindowCapture.h"

namespace {
LRESULT CALLBACK FlatProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
  return DefWindowProcW(window, message, wParam, lParam);
}
} // namespace

// A window that shows nothing but its background gives no picture.
TEST(WindowCaptureTest, ABlankCaptureIsAFailureAndWritesNothing)
{
  WNDCLASSW windowClass = {};
  windowClass.lpfnWndProc = FlatProc;
  windowClass.hInstance = GetModuleHandleW(nullptr);
  windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(GRAY_BRUSH));
  windowClass.lpszClassName = L"TarnwickFlatWindow";
  RegisterClassW(&windowClass);
  HWND window = CreateWindowExW(0, windowClass.lpszClassName, L"flat", WS_POPUP | WS_VISIBLE, 0, 0, 200, 100, nullptr,
                                nullptr, windowClass.hInstance, nullptr);
  ASSERT_TRUE(window);
  UpdateWindow(window);
  const std::string folder = MakeTempFolder();
  const std::string path = folder + "\\flat.png";
  EXPECT_FALSE(CaptureWindowToPng(window, path.c_str()));
  EXPECT_FALSE(FileExists(path));
  EXPECT_FALSE(CaptureWindowToPng(nullptr, path.c_str()));
  EXPECT_FALSE(CaptureWindowToPng(window, nullptr));
  DestroyWindow(window);
  RemoveFolder(folder);
}
