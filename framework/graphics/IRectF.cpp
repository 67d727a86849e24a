#include "IRectF.h"

#include <algorithm>
#include <cmath>

namespace pfw::gui {

bool IRectF::Intersects(const IRectF& a, const IRectF& b)
{
  if (a.Empty() || b.Empty())
    return false;
  return b.L <= a.R && a.L < b.R && b.T <= a.B && a.T < b.B;
}

IRectF IRectF::Intersect(const IRectF& other) const
{
  if (!Intersects(*this, other))
    return IRectF();
  return IRectF(std::max(L, other.L), std::max(T, other.T), std::min(R, other.R), std::min(B, other.B));
}

IRectF IRectF::Union(const IRectF& other) const
{
  if (Empty())
    return other;
  if (other.Empty())
    return *this;
  return IRectF(std::min(L, other.L), std::min(T, other.T), std::max(R, other.R), std::max(B, other.B));
}

IRectF IRectF::PixelAligned(float s) const
{
  return IRectF(std::floor(L * s) / s, std::floor(T * s) / s, std::ceil(R * s) / s, std::ceil(B * s) / s);
}

IRectF IRectF::PixelsInside(float s) const
{
  return IRectF(std::ceil(L * s) / s, std::ceil(T * s) / s, std::floor(R * s) / s, std::floor(B * s) / s);
}

IRectF IRectFList::Bounds() const
{
  IRectF bounds;
  for (int i = 0; i < Size(); ++i)
    bounds = bounds.Union(Get(i));
  return bounds;
}

void IRectFList::PixelAlign(float s)
{
  for (int i = 0; i < Size(); ++i)
    Set(i, Get(i).PixelAligned(s));
}

namespace {
// Overlap with a common area; rectangles that merely touch do not overlap.
bool Overlaps(const IRectF& a, const IRectF& b)
{
  return a.L < b.R && b.L < a.R && a.T < b.B && b.T < a.B;
}

bool Mergeable(const IRectF& l, const IRectF& m)
{
  const bool sameColumns = l.L == m.L && l.R == m.R;
  const bool rowsTouch = (m.T >= l.T && m.T <= l.B) || (l.T >= m.T && l.T <= m.B);
  const bool sameRows = l.T == m.T && l.B == m.B;
  const bool columnsTouch = (m.L >= l.L && m.L <= l.R) || (l.L >= m.L && l.L <= m.R);
  return (sameColumns && rowsTouch) || (sameRows && columnsTouch);
}
} // namespace

void IRectFList::Subtract(int index, const IRectF& cut)
{
  const IRectF a = Get(index);
  const IRectF i(std::max(a.L, cut.L), std::max(a.T, cut.T), std::min(a.R, cut.R), std::min(a.B, cut.B));
  IRectF pieces[4];
  int count = 0;
  if (i.T > a.T)
    pieces[count++] = IRectF(a.L, a.T, a.R, i.T);
  if (i.B < a.B)
    pieces[count++] = IRectF(a.L, i.B, a.R, a.B);
  if (i.L > a.L)
    pieces[count++] = IRectF(a.L, i.T, i.L, i.B);
  if (i.R < a.R)
    pieces[count++] = IRectF(i.R, i.T, a.R, i.B);
  if (count == 0)
  {
    Delete(index);
    return;
  }
  Set(index, pieces[0]);
  for (int k = 1; k < count; ++k)
    Add(pieces[k]);
}

void IRectFList::Cut(const IRectF& cut)
{
  if (cut.HasNoArea())
    return;
  // Pieces added at the end lie outside cut already.
  for (int i = Size() - 1; i >= 0; --i)
    if (Overlaps(Get(i), cut))
      Subtract(i, cut);
}

bool IRectFList::MergeOnePair()
{
  for (int l = 0; l < Size(); ++l)
  {
    for (int m = l + 1; m < Size(); ++m)
    {
      if (Mergeable(Get(l), Get(m)))
      {
        Set(m, Get(l).Union(Get(m)));
        Delete(l);
        return true;
      }
    }
  }
  return false;
}

// Every step either removes a rectangle or replaces the later (or smaller) of an
// overlapping pair by pieces that no longer meet the other, and the scan always moves
// on, so the pass ends; no step changes the covered area.
void IRectFList::Optimize()
{
  for (int i = Size() - 1; i >= 0; --i)
    if (Get(i).HasNoArea())
      Delete(i);

  for (int i = 0; i < Size(); ++i)
  {
    int j = i + 1;
    while (j < Size())
    {
      const IRectF a = Get(i);
      const IRectF b = Get(j);
      if (a.ContainsRect(b))
      {
        Delete(j);
      }
      else if (b.ContainsRect(a))
      {
        Delete(i);
        j = i + 1;
        if (i >= Size())
          break;
      }
      else if (Overlaps(a, b))
      {
        if (a.Area() < b.Area())
        {
          // A's remaining pieces keep their place at i (the first) and the end of the
          // list; the pieces meet none of the rectangles before j that A was cleared
          // against, so the scan of i starts again from its new first piece.
          Subtract(i, b);
          j = i + 1;
        }
        else
        {
          // b is not inside a, so at least one piece takes its place at j.
          Subtract(j, a);
          ++j;
        }
      }
      else
      {
        ++j;
      }
    }
  }

  while (MergeOnePair())
  {
  }
}

} // namespace pfw::gui
