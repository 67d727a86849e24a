#pragma once

#include "framework/core/GrowArray.h"

namespace pfw::gui {

// A rectangle in user-interface units. All four values 0 is the empty rectangle.
struct IRectF
{
  float L = 0.f;
  float T = 0.f;
  float R = 0.f;
  float B = 0.f;

  IRectF() = default;
  IRectF(float l, float t, float r, float b)
    : L(l), T(t), R(r), B(b)
  {
  }

  float W() const { return R - L; }
  float H() const { return B - T; }
  float MW() const { return 0.5f * (L + R); }
  float MH() const { return 0.5f * (T + B); }
  float Area() const { return W() * H(); }
  bool Empty() const { return L == 0.f && T == 0.f && R == 0.f && B == 0.f; }
  // Nothing to paint: empty, or of no width or height (NaN edges included).
  bool HasNoArea() const { return !(W() > 0.f && H() > 0.f); }

  bool Contains(float x, float y) const { return !Empty() && L <= x && x < R && T <= y && y < B; }
  bool ContainsRect(const IRectF& r) const { return r.L >= L && r.R <= R && r.T >= T && r.B <= B; }
  static bool Intersects(const IRectF& a, const IRectF& b);
  IRectF Intersect(const IRectF& other) const;
  IRectF Union(const IRectF& other) const;
  IRectF Inflated(float d) const { return IRectF(L - d, T - d, R + d, B + d); }
  IRectF Offset(float dx, float dy) const { return IRectF(L + dx, T + dy, R + dx, B + dy); }
  // Left and top floored, right and bottom ceiled on the device-pixel grid of scale s.
  IRectF PixelAligned(float s) const;
  // The whole device pixels of scale s inside: left and top ceiled, right and bottom floored.
  IRectF PixelsInside(float s) const;

  bool operator==(const IRectF& o) const { return L == o.L && T == o.T && R == o.R && B == o.B; }
  bool operator!=(const IRectF& o) const { return !(*this == o); }
};

// The dirty rectangles of one frame.
class IRectFList
{
public:
  int Size() const { return mRects.GetSize(); }
  const IRectF& Get(int i) const { return *mRects.Get(i); }
  IRectF& Get(int i) { return *mRects.Get(i); }
  bool Add(const IRectF& r) { return mRects.Add(r) != nullptr; }
  void Set(int i, const IRectF& r) { *mRects.Get(i) = r; }
  void Delete(int i) { mRects.Delete(i); }
  void Clear() { mRects.Clear(); }
  // The bounding box of all rectangles (empty for an empty list).
  IRectF Bounds() const;

  // Aligns every rectangle to the device-pixel grid of total scale s.
  void PixelAlign(float s);

  // Reduces the list to fewer, non-overlapping rectangles that cover exactly the same
  // area. Rectangles without area are dropped.
  void Optimize();
  // Takes cut out of the area the rectangles cover.
  void Cut(const IRectF& cut);

private:
  // Replaces the rectangle at index by its parts outside cut (up to four).
  void Subtract(int index, const IRectF& cut);
  bool MergeOnePair();

  GrowArray<IRectF> mRects{4096};
};

} // namespace pfw::gui
