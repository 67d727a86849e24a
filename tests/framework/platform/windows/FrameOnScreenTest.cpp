#include "framework/platform/windows/FrameOnScreen.h"

#include <gtest/gtest.h>

using namespace pfw::gui;

namespace {

constexpr int kWidth = 80;
constexpr int kHeight = 60;

struct ScreenCase
{
  const char* name;
  // Added to every channel of the screen's pixels where differs(x, y).
  int change;
  bool (*differs)(int x, int y);
  bool (*visible)(int x, int y);
  FrameOnScreen expected;
};

bool Everywhere(int, int) { return true; }
bool TopHalf(int, int y) { return y < kHeight / 2; }
bool BottomHalf(int, int y) { return y >= kHeight / 2; }
bool SmallPatch(int x, int y) { return x < kWidth / 4 && y < kHeight / 3; }
bool NarrowStrip(int x, int) { return x < kWidth / 8; }

} // namespace

TEST(FrameOnScreenTest, TellsFromTheVisiblePointsWhetherTheScreenShowsTheFrame)
{
  const ScreenCase cases[] = {
    {"the same pixels", 0, Everywhere, Everywhere, FrameOnScreen::kShown},
    {"colours rounded by the screen", 4, Everywhere, Everywhere, FrameOnScreen::kShown},
    {"colours beyond rounding", 5, Everywhere, Everywhere, FrameOnScreen::kMissing},
    {"half of the window differs", 60, TopHalf, Everywhere, FrameOnScreen::kMissing},
    {"a small window covers a corner", 60, SmallPatch, Everywhere, FrameOnScreen::kShown},
    {"what differs is covered", 60, TopHalf, BottomHalf, FrameOnScreen::kShown},
    {"too little is visible", 0, Everywhere, NarrowStrip, FrameOnScreen::kUndecided},
    {"nothing is visible", 0, Everywhere, [](int, int) { return false; }, FrameOnScreen::kUndecided},
  };
  std::vector<uint8_t> frame(kWidth * kHeight * 4);
  for (int y = 0; y < kHeight; ++y)
    for (int x = 0; x < kWidth; ++x)
    {
      uint8_t* p = &frame[(y * kWidth + x) * 4];
      p[0] = static_cast<uint8_t>(x * 3);
      p[1] = static_cast<uint8_t>(y * 4);
      p[2] = 100;
    }
  for (const ScreenCase& c : cases)
  {
    std::vector<uint8_t> screen = frame;
    for (int y = 0; y < kHeight; ++y)
      for (int x = 0; x < kWidth; ++x)
        if (c.differs(x, y))
          for (int channel = 0; channel < 3; ++channel)
            screen[(y * kWidth + x) * 4 + channel] += static_cast<uint8_t>(c.change);
    EXPECT_EQ(CompareFrameWithScreen(frame.data(), screen.data(), kWidth, kHeight, c.visible), c.expected) << c.name;
  }
}
