#pragma once

namespace pfw::gui {

// One row of broken text: pointers into the caller's string and its extent in frame
// units, relative to the row's start.
struct VectorTextRow
{
  const char* start = nullptr; // first byte of the row
  const char* end = nullptr;   // one past the last byte drawn (trailing spaces excluded)
  const char* next = nullptr;  // where the following row begins
  float width = 0.f;
  float minX = 0.f;
  float maxX = 0.f;
};

} // namespace pfw::gui
