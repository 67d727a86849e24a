// The main window around the editor after its corner resizer was dragged, read back
// through the window as the screenshot command saves it.

#include "ProgramTestSupport.h"

#include "framework/platform/windows/MemoryBitmap.h"
#include "wrappers/standalone/program/ResourceIds.h"

#include <algorithm>

namespace {

SIZE ClientSize(HWND window)
{
  RECT area = {};
  GetClientRect(window, &area);
  return {area.right - area.left, area.bottom - area.top};
}

// Drags the corner resizer from the editor's corner to the point (client pixels) in small
// steps, as a hand does.
void DragCorner(HWND editor, POINT to)
{
  const SIZE size = ClientSize(editor);
  const POINT from = {size.cx - 3, size.cy - 3};
  SendMessageW(editor, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(from.x, from.y));
  const int steps = 16;
  for (int step = 1; step <= steps; ++step)
    SendMessageW(editor, WM_MOUSEMOVE, MK_LBUTTON,
                 MAKELPARAM(from.x + (to.x - from.x) * step / steps, from.y + (to.y - from.y) * step / steps));
  SendMessageW(editor, WM_LBUTTONUP, 0, MAKELPARAM(to.x, to.y));
}

// The brightest channel of any pixel of the picture's last row and last column, the
// resizer's corner left out.
int BrightestEdge(const PngPicture& picture)
{
  const int corner = 24;
  int brightest = 0;
  const auto take = [&](int x, int y) {
    const unsigned char* p = picture.At(x, y);
    brightest = std::max({brightest, int(p[0]), int(p[1]), int(p[2])});
  };
  for (int x = 0; x < picture.width - corner; ++x)
    take(x, picture.height - 1);
  for (int y = 0; y < picture.height - corner; ++y)
    take(picture.width - 1, y);
  return brightest;
}

} // namespace

TEST_F(ProgramTest, AfterTheCornerIsDraggedTheEditorFillsTheWholeWindowAtEverySize)
{
  struct Case
  {
    POINT dragTo;
    SIZE editor; // 0 x 0: any size other than the one before
    const char* what;
  };
  const Case cases[] = {
    {{1240, 841}, {}, "a little larger"},
    {{300, 200}, {1003, 680}, "the smallest, at scale 0.85"},
    {{4000, 3000}, {1770, 1200}, "the largest, at scale 1.5"},
    {{1100, 760}, {}, "smaller than at the start"},
  };
  RunProgram(ProgramOptions(), [&](HWND main) {
    HWND editor = FindWindowExA(main, nullptr, "PluginWndClass", nullptr);
    ASSERT_TRUE(editor);
    SIZE before = ClientSize(editor);
    for (const Case& c : cases)
    {
      SCOPED_TRACE(c.what);
      DragCorner(editor, c.dragTo);
      const SIZE drawn = ClientSize(editor), client = ClientSize(main);
      if (c.editor.cx)
      {
        EXPECT_EQ(c.editor.cx, drawn.cx);
        EXPECT_EQ(c.editor.cy, drawn.cy);
      }
      else
        EXPECT_TRUE(drawn.cx != before.cx || drawn.cy != before.cy);
      before = drawn;
      EXPECT_EQ(drawn.cx, client.cx);
      EXPECT_EQ(drawn.cy, client.cy);

      SendMessageA(main, WM_COMMAND, IDM_SAVE_SCREENSHOT, 0);
      ASSERT_EQ("Screenshot Saved", messages.back().caption);
      const std::string path = SavedScreenshotPath(messages.back().text);
      ASSERT_NE("", path) << messages.back().text;
      const PngPicture picture = ReadPng(path);
      DeleteFileW(Utf8ToWide(path).c_str());
      ASSERT_EQ(drawn.cx, picture.width);
      ASSERT_EQ(drawn.cy, picture.height);
      // The editor's dark backdrop reaches the window's edges; the window's own light
      // background shows nowhere.
      EXPECT_LT(BrightestEdge(picture), 96);
    }
  });
}

// While the editor catches up with a window that has grown, the window's own background
// shows beside and below it: with the editor out of the way, the window paints nothing
// light.
TEST_F(ProgramTest, TheWindowBehindTheEditorIsAsDarkAsTheEditor)
{
  RunProgram(ProgramOptions(), [&](HWND main) {
    HWND editor = FindWindowExA(main, nullptr, "PluginWndClass", nullptr);
    ASSERT_TRUE(editor);
    ShowWindow(editor, SW_HIDE);
    const SIZE size = ClientSize(main);
    HDC windowDC = GetDC(main);
    pfw::gui::MemoryBitmap print(windowDC, size.cx, size.cy);
    ReleaseDC(main, windowDC);
    ASSERT_TRUE(print.Valid());
    ASSERT_TRUE(PrintWindow(main, print.DC(), PW_CLIENTONLY));
    // Blue, green, red and a byte that stays 0.
    const uint8_t* bytes = print.Bits();
    EXPECT_LT(int(*std::max_element(bytes, bytes + size.cx * size.cy * 4)), 96);
    ShowWindow(editor, SW_SHOW);
  });
}
