#pragma once

namespace pfw::gui {

struct IStrokeStyle
{
  static constexpr int kMaxDashes = 8;
  enum Cap { kCapButt = 0, kCapRound = 1, kCapSquare = 2 };
  enum Join { kJoinMiter = 0, kJoinRound = 1, kJoinBevel = 2 };

  float miterLimit = 10.f;
  bool keepPath = false;
  int cap = kCapButt;
  int join = kJoinMiter;
  float dashes[kMaxDashes] = {};
  int nDashes = 0;
  float dashOffset = 0.f;
};

// Rule 0 fills by the path windings as solid, 1 as holes; rule 2 keeps the winding
// each sub-path was given (SVG shapes with holes).
struct IFillRule
{
  enum Rule { kWinding = 0, kEvenOdd = 1, kPreserveWinding = 2 };

  int rule = kWinding;
  bool keepPath = false;

  IFillRule() = default;
  IFillRule(int rule_, bool keepPath_)
    : rule(rule_), keepPath(keepPath_)
  {
  }
};

} // namespace pfw::gui
