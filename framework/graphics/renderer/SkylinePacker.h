#pragma once

#include "framework/core/GrowArray.h"

namespace pfw::gui {

// Packs rectangles bottom-left onto a sheet by a skyline: a list of horizontal segments,
// each the top edge of what is already placed beneath it.
class SkylinePacker
{
public:
  struct Node
  {
    short x = 0;
    short y = 0;
    short width = 0;
  };

  // An empty sheet: one node (0, 0, width).
  void Reset(int width, int height);
  // Places a width x height rectangle at the lowest spot (the narrowest node on a tie);
  // false when it fits nowhere or memory fails.
  bool AddRect(int width, int height, int* x, int* y);
  const Node* Nodes() const { return mNodes.Get(); }
  int NodeCount() const { return mNodes.GetSize(); }

private:
  bool AddLevel(int index, int x, int y, int width, int height);

  int mWidth = 0;
  int mHeight = 0;
  GrowArray<Node> mNodes{64};
};

} // namespace pfw::gui
