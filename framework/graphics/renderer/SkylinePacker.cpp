#include "SkylinePacker.h"

#include <algorithm>
#include <cstring>

namespace pfw::gui {

void SkylinePacker::Reset(int width, int height)
{
  mWidth = width;
  mHeight = height;
  mNodes.Clear();
  Node node;
  node.width = static_cast<short>(width);
  mNodes.Add(node);
}

bool SkylinePacker::AddRect(int width, int height, int* x, int* y)
{
  if (width <= 0 || height <= 0)
    return false;
  int bestHeight = mHeight;
  int bestWidth = mWidth;
  int bestIndex = -1;
  int bestX = 0;
  int bestY = 0;
  const Node* nodes = mNodes.Get();
  const int count = mNodes.GetSize();
  for (int i = 0; i < count; ++i)
  {
    if (nodes[i].x + width > mWidth)
      continue;
    // The rectangle rests on the highest node it spans.
    int top = nodes[i].y;
    int spaceLeft = width;
    int j = i;
    while (spaceLeft > 0 && j < count)
    {
      top = std::max<int>(top, nodes[j].y);
      spaceLeft -= nodes[j].width;
      ++j;
    }
    if (spaceLeft > 0 || top + height > mHeight)
      continue;
    if (top + height < bestHeight || (top + height == bestHeight && nodes[i].width < bestWidth))
    {
      bestIndex = i;
      bestWidth = nodes[i].width;
      bestHeight = top + height;
      bestX = nodes[i].x;
      bestY = top;
    }
  }
  if (bestIndex < 0 || !AddLevel(bestIndex, bestX, bestY, width, height))
    return false;
  *x = bestX;
  *y = bestY;
  return true;
}

bool SkylinePacker::AddLevel(int index, int x, int y, int width, int height)
{
  const int count = mNodes.GetSize();
  if (!mNodes.Resize(count + 1, false))
    return false;
  Node* nodes = mNodes.Get();
  std::memmove(static_cast<void*>(nodes + index + 1), nodes + index, sizeof(Node) * static_cast<size_t>(count - index));
  nodes[index].x = static_cast<short>(x);
  nodes[index].y = static_cast<short>(y + height);
  nodes[index].width = static_cast<short>(width);

  // Nodes now under the new one shrink from the left or go.
  for (int i = index + 1; i < mNodes.GetSize();)
  {
    nodes = mNodes.Get();
    const int previousEnd = nodes[i - 1].x + nodes[i - 1].width;
    if (nodes[i].x >= previousEnd)
      break;
    const int shrink = previousEnd - nodes[i].x;
    nodes[i].x = static_cast<short>(nodes[i].x + shrink);
    nodes[i].width = static_cast<short>(nodes[i].width - shrink);
    if (nodes[i].width > 0)
      break;
    mNodes.Delete(i);
  }
  // Neighbours at the same height become one.
  for (int i = 0; i + 1 < mNodes.GetSize();)
  {
    nodes = mNodes.Get();
    if (nodes[i].y == nodes[i + 1].y)
    {
      nodes[i].width = static_cast<short>(nodes[i].width + nodes[i + 1].width);
      mNodes.Delete(i + 1);
    }
    else
      ++i;
  }
  return true;
}

} // namespace pfw::gui
