#include "FrameOnScreen.h"

#include "MemoryBitmap.h"

#include <cstdlib>

namespace pfw::gui {

namespace {

constexpr int kColumns = 8;
constexpr int kRows = 6;
// Fewer visible points than this tell nothing.
constexpr int kMinimumPoints = 12;
// A screen of fewer bits per channel may round the frame's colours.
constexpr int kChannelTolerance = 4;

bool SameColour(const uint8_t* a, const uint8_t* b)
{
  for (int channel = 0; channel < 3; ++channel)
    if (std::abs(a[channel] - b[channel]) > kChannelTolerance)
      return false;
  return true;
}

} // namespace

FrameOnScreen CompareFrameWithScreen(const uint8_t* frame, const uint8_t* screen, int width, int height,
                                     const std::function<bool(int x, int y)>& visible)
{
  int seen = 0, agreeing = 0;
  for (int row = 0; row < kRows; ++row)
  {
    for (int column = 0; column < kColumns; ++column)
    {
      // The middle of each cell of the grid.
      const int x = (2 * column + 1) * width / (2 * kColumns);
      const int y = (2 * row + 1) * height / (2 * kRows);
      if (x >= width || y >= height || !visible(x, y))
        continue;
      const size_t offset = (static_cast<size_t>(y) * width + x) * 4;
      ++seen;
      agreeing += SameColour(frame + offset, screen + offset);
    }
  }
  if (seen < kMinimumPoints)
    return FrameOnScreen::kUndecided;
  // Nine in ten: a tooltip or the pointer may sit on a few points.
  return agreeing * 10 >= seen * 9 ? FrameOnScreen::kShown : FrameOnScreen::kMissing;
}

bool ReadScreen(const RECT& area, std::vector<uint8_t>& rows)
{
  const int width = area.right - area.left, height = area.bottom - area.top;
  HDC screen = GetDC(nullptr);
  if (!screen)
    return false;
  bool read = false;
  {
    MemoryBitmap copy(screen, width, height);
    read = copy.Valid() && BitBlt(copy.DC(), 0, 0, width, height, screen, area.left, area.top, SRCCOPY);
    if (read)
      rows.assign(copy.Bits(), copy.Bits() + static_cast<size_t>(width) * height * 4);
  }
  ReleaseDC(nullptr, screen);
  return read;
}

} // namespace pfw::gui
