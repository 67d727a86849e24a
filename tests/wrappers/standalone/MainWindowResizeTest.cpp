// The main window around the editor after its corner resizer was dragged, read back
// through the window as the screenshot command saves it.

#include "ProgramTestSupport.h"

#include "wrappers/standalone/program/ResourceIds.h"

#include <algorithm>

#define STB_IMAGE_STATIC
#define STB_IMAGE_IMPLEMENTATION
#include <stb_image.h>

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

struct Picture
{
  int width = 0, height = 0;
  // The brightest channel of any pixel of the last row and the last column, the resizer's
  // corner left out.
  int brightestEdge = 255;
};

Picture ReadPicture(const std::string& path)
{
  Picture picture;
  FILE* file = _wfopen(Utf8ToWide(path).c_str(), L"rb");
  int channels = 0;
  unsigned char* pixels = file ? stbi_load_from_file(file, &picture.width, &picture.height, &channels, 3) : nullptr;
  if (file)
    fclose(file);
  if (!pixels)
    return picture;
  const int corner = 24;
  const auto brightest = [&](int x, int y) {
    const unsigned char* p = &pixels[(static_cast<size_t>(y) * picture.width + x) * 3];
    return static_cast<int>(std::max({p[0], p[1], p[2]}));
  };
  picture.brightestEdge = 0;
  for (int x = 0; x < picture.width - corner; ++x)
    picture.brightestEdge = std::max(picture.brightestEdge, brightest(x, picture.height - 1));
  for (int y = 0; y < picture.height - corner; ++y)
    picture.brightestEdge = std::max(picture.brightestEdge, brightest(picture.width - 1, y));
  stbi_image_free(pixels);
  return picture;
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
      const std::string& saved = messages.back().text;
      const size_t start = saved.find('\n') + 1, end = saved.find("\n\nOpen it?");
      ASSERT_NE(std::string::npos, end) << saved;
      const std::string path = saved.substr(start, end - start);
      const Picture picture = ReadPicture(path);
      DeleteFileW(Utf8ToWide(path).c_str());
      EXPECT_EQ(drawn.cx, picture.width);
      EXPECT_EQ(drawn.cy, picture.height);
      // The editor's dark backdrop reaches the window's edges; the window's own light
      // background shows nowhere.
      EXPECT_LT(picture.brightestEdge, 96);
    }
  });
}
