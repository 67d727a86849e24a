#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <vector>

namespace pfw::gui {

// What a look at the screen tells about a frame drawn into a window.
enum class FrameOnScreen
{
  kShown,
  kMissing,
  // Too little of the window could be seen to tell.
  kUndecided,
};

// Compares a frame with what the screen shows in its place, at a grid of points spread over
// it. Both images are rows of 4-byte pixels (blue, green, red, unused) of the same size and
// layout; visible(x, y) says whether the screen shows this window at a point (it may be
// covered or off the screen). Shown when nearly every visible point agrees.
FrameOnScreen CompareFrameWithScreen(const uint8_t* frame, const uint8_t* screen, int width, int height,
                                     const std::function<bool(int x, int y)>& visible);

// What the screen shows of an area (screen pixels), read through the desktop's device
// context: rows of blue, green, red and an unused byte, from the top.
bool ReadScreen(const RECT& area, std::vector<uint8_t>& rows);

} // namespace pfw::gui
