#pragma once

#include "IArgbColour.h"
#include "ITransform2D.h"

#include <initializer_list>

namespace pfw::gui {

struct IColourStop
{
  IArgbColour colour{255, 0, 0, 0};
  float offset = 0.f;
};

// Where the colour of a fill or stroke comes from: a solid colour or a gradient whose
// transform maps user-interface units to gradient space (v runs 0..1 along a linear one).
struct IColourSource
{
  static constexpr int kMaxStops = 16;
  enum Kind { kSolid = 0, kLinear = 1, kRadial = 2 };
  enum Extend { kExtendNone = 0, kExtendPad = 1, kExtendReflect = 2, kExtendRepeat = 3 };

  int kind = kSolid;
  int extend = kExtendPad;
  IColourStop stops[kMaxStops];
  int nStops = 0;
  ITransform2D transform;

  IColourSource() = default;
  explicit IColourSource(int kind_)
    : kind(kind_)
  {
  }

  // Appends a stop while fewer than 16 are held; returns false when it was dropped.
  bool AddStop(const IArgbColour& colour, float offset);

  static IColourSource FromColour(const IArgbColour& colour);
  // A linear gradient from (x1, y1) to (x2, y2); coinciding ends give a solid of the
  // last stop, since no direction can be had from them.
  static IColourSource CreateLinearGradient(float x1, float y1, float x2, float y2,
                                            std::initializer_list<IColourStop> stops);
  static IColourSource CreateLinearGradient(float x1, float y1, float x2, float y2, const IColourStop* stops,
                                            int count);
};

} // namespace pfw::gui
