#pragma once

// Collects outlines as cubic Bezier subpaths in the element's own coordinates: lines,
// quadratic curves and elliptical arcs are turned into cubics as they arrive.

#include <vector>

namespace svg {

struct PointD
{
  double x = 0.0, y = 0.0;
};

struct SubPath
{
  std::vector<PointD> points; // start, then three points per cubic segment
  bool closed = false;
};

class PathBuilder
{
public:
  void MoveTo(double x, double y);
  void LineTo(double x, double y);
  void CubicTo(double x1, double y1, double x2, double y2, double x, double y);
  void QuadTo(double qx, double qy, double x, double y);
  // The SVG elliptical arc from the current point to (x, y).
  void ArcTo(double rx, double ry, double rotationDegrees, bool largeArc, bool sweep, double x, double y);
  // Adds a line back to the start when needed and marks the subpath closed.
  void Close();

  PointD Current() const { return mCurrent; }

  // Subpaths with at least one segment; a lone move is dropped.
  std::vector<SubPath> TakeSubPaths();

private:
  SubPath& OpenSubPath();

  std::vector<SubPath> mSubPaths;
  PointD mCurrent;
};

} // namespace svg

namespace svg {

struct BoundsD
{
  double left = 0.0, top = 0.0, right = 0.0, bottom = 0.0;
};

// The exact bounds of the curve (extrema of each cubic), not of its control points.
BoundsD CurveBounds(const std::vector<PointD>& points);

} // namespace svg
