#include "deps/svg/PathBuilder.h"

#include <cmath>

namespace svg {

namespace {

constexpr double kPi = 3.14159265358979323846;

double VectorAngle(double ux, double uy, double vx, double vy)
{
  return std::atan2(ux * vy - uy * vx, ux * vx + uy * vy);
}

} // namespace

SubPath& PathBuilder::OpenSubPath()
{
  if (mSubPaths.empty() || mSubPaths.back().closed)
  {
    // Drawing after a close starts a new subpath at the closed one's start.
    mSubPaths.emplace_back();
    mSubPaths.back().points.push_back(mCurrent);
  }
  return mSubPaths.back();
}

void PathBuilder::MoveTo(double x, double y)
{
  if (!mSubPaths.empty() && !mSubPaths.back().closed && mSubPaths.back().points.size() == 1)
    mSubPaths.back().points[0] = {x, y};
  else
  {
    mSubPaths.emplace_back();
    mSubPaths.back().points.push_back({x, y});
  }
  mCurrent = {x, y};
}

void PathBuilder::LineTo(double x, double y)
{
  const PointD p0 = mCurrent;
  const double dx = x - p0.x;
  const double dy = y - p0.y;
  CubicTo(p0.x + dx / 3.0, p0.y + dy / 3.0, p0.x + dx * 2.0 / 3.0, p0.y + dy * 2.0 / 3.0, x, y);
}

void PathBuilder::CubicTo(double x1, double y1, double x2, double y2, double x, double y)
{
  SubPath& path = OpenSubPath();
  path.points.push_back({x1, y1});
  path.points.push_back({x2, y2});
  path.points.push_back({x, y});
  mCurrent = {x, y};
}

void PathBuilder::QuadTo(double qx, double qy, double x, double y)
{
  const PointD p0 = mCurrent;
  CubicTo(p0.x + 2.0 / 3.0 * (qx - p0.x), p0.y + 2.0 / 3.0 * (qy - p0.y), x + 2.0 / 3.0 * (qx - x),
          y + 2.0 / 3.0 * (qy - y), x, y);
}

void PathBuilder::ArcTo(double rx, double ry, double rotationDegrees, bool largeArc, bool sweep, double x, double y)
{
  const PointD p0 = mCurrent;
  if (p0.x == x && p0.y == y)
    return;
  rx = std::fabs(rx);
  ry = std::fabs(ry);
  if (rx == 0.0 || ry == 0.0)
  {
    LineTo(x, y);
    return;
  }
  const double phi = rotationDegrees * kPi / 180.0;
  const double cosPhi = std::cos(phi);
  const double sinPhi = std::sin(phi);
  // The end points in the ellipse's own axes, centred between them.
  const double hx = (p0.x - x) / 2.0;
  const double hy = (p0.y - y) / 2.0;
  const double x1 = cosPhi * hx + sinPhi * hy;
  const double y1 = -sinPhi * hx + cosPhi * hy;
  // Radii too small to span the end points grow just enough to do so.
  const double lambda = (x1 * x1) / (rx * rx) + (y1 * y1) / (ry * ry);
  if (lambda > 1.0)
  {
    const double grow = std::sqrt(lambda);
    rx *= grow;
    ry *= grow;
  }
  const double rx2 = rx * rx;
  const double ry2 = ry * ry;
  const double denominator = rx2 * y1 * y1 + ry2 * x1 * x1;
  double factor = 0.0;
  if (denominator > 0.0)
  {
    const double ratio = (rx2 * ry2 - denominator) / denominator;
    factor = std::sqrt(ratio > 0.0 ? ratio : 0.0);
    if (largeArc == sweep)
      factor = -factor;
  }
  const double cxPrime = factor * rx * y1 / ry;
  const double cyPrime = -factor * ry * x1 / rx;
  const double cx = cosPhi * cxPrime - sinPhi * cyPrime + (p0.x + x) / 2.0;
  const double cy = sinPhi * cxPrime + cosPhi * cyPrime + (p0.y + y) / 2.0;
  const double startAngle = VectorAngle(1.0, 0.0, (x1 - cxPrime) / rx, (y1 - cyPrime) / ry);
  double sweepAngle = VectorAngle((x1 - cxPrime) / rx, (y1 - cyPrime) / ry, (-x1 - cxPrime) / rx, (-y1 - cyPrime) / ry);
  if (!sweep && sweepAngle > 0.0)
    sweepAngle -= 2.0 * kPi;
  else if (sweep && sweepAngle < 0.0)
    sweepAngle += 2.0 * kPi;
  if (!std::isfinite(sweepAngle) || !std::isfinite(cx) || !std::isfinite(cy))
  {
    LineTo(x, y);
    return;
  }
  // At most a quarter turn per cubic keeps the approximation within a tiny fraction of a unit.
  int segments = static_cast<int>(std::ceil(std::fabs(sweepAngle) / (kPi / 2.0) - 1e-9));
  if (segments < 1)
    segments = 1;
  const double step = sweepAngle / segments;
  const double kappa = 4.0 / 3.0 * std::tan(step / 4.0);
  auto onEllipse = [&](double ux, double uy) {
    return PointD{cx + rx * cosPhi * ux - ry * sinPhi * uy, cy + rx * sinPhi * ux + ry * cosPhi * uy};
  };
  double angle = startAngle;
  for (int i = 0; i < segments; ++i)
  {
    const double next = angle + step;
    const double ca = std::cos(angle), sa = std::sin(angle);
    const double cb = std::cos(next), sb = std::sin(next);
    const PointD c1 = onEllipse(ca - kappa * sa, sa + kappa * ca);
    const PointD c2 = onEllipse(cb + kappa * sb, sb - kappa * cb);
    const PointD end = i + 1 == segments ? PointD{x, y} : onEllipse(cb, sb);
    CubicTo(c1.x, c1.y, c2.x, c2.y, end.x, end.y);
    angle = next;
  }
}

void PathBuilder::Close()
{
  if (mSubPaths.empty() || mSubPaths.back().closed)
    return;
  SubPath& path = mSubPaths.back();
  const PointD start = path.points.front();
  const PointD last = path.points.back();
  if (last.x != start.x || last.y != start.y)
    LineTo(start.x, start.y);
  path.closed = true;
  mCurrent = start;
}

std::vector<SubPath> PathBuilder::TakeSubPaths()
{
  std::vector<SubPath> result;
  for (SubPath& path : mSubPaths)
  {
    if (path.points.size() >= 4)
      result.push_back(std::move(path));
  }
  mSubPaths.clear();
  return result;
}

} // namespace svg

namespace svg {

namespace {

void Include(BoundsD& bounds, double x, double y)
{
  bounds.left = std::fmin(bounds.left, x);
  bounds.right = std::fmax(bounds.right, x);
  bounds.top = std::fmin(bounds.top, y);
  bounds.bottom = std::fmax(bounds.bottom, y);
}

double CubicAt(double p0, double p1, double p2, double p3, double t)
{
  const double u = 1.0 - t;
  return u * u * u * p0 + 3.0 * u * u * t * p1 + 3.0 * u * t * t * p2 + t * t * t * p3;
}

// The parameters in (0, 1) where one coordinate of the cubic turns.
int Extrema(double p0, double p1, double p2, double p3, double roots[2])
{
  const double a = -p0 + 3.0 * p1 - 3.0 * p2 + p3;
  const double b = 2.0 * (p0 - 2.0 * p1 + p2);
  const double c = p1 - p0;
  int count = 0;
  auto accept = [&](double t) {
    if (t > 0.0 && t < 1.0)
      roots[count++] = t;
  };
  if (std::fabs(a) < 1e-12)
  {
    if (std::fabs(b) > 1e-12)
      accept(-c / b);
    return count;
  }
  const double discriminant = b * b - 4.0 * a * c;
  if (discriminant < 0.0)
    return 0;
  const double root = std::sqrt(discriminant);
  accept((-b + root) / (2.0 * a));
  accept((-b - root) / (2.0 * a));
  return count;
}

} // namespace

BoundsD CurveBounds(const std::vector<PointD>& points)
{
  BoundsD bounds;
  if (points.empty())
    return bounds;
  bounds = {points[0].x, points[0].y, points[0].x, points[0].y};
  for (size_t i = 1; i + 2 < points.size(); i += 3)
  {
    const PointD& p0 = points[i - 1];
    const PointD& p1 = points[i];
    const PointD& p2 = points[i + 1];
    const PointD& p3 = points[i + 2];
    Include(bounds, p3.x, p3.y);
    double roots[2];
    const int nx = Extrema(p0.x, p1.x, p2.x, p3.x, roots);
    for (int k = 0; k < nx; ++k)
      Include(bounds, CubicAt(p0.x, p1.x, p2.x, p3.x, roots[k]), CubicAt(p0.y, p1.y, p2.y, p3.y, roots[k]));
    const int ny = Extrema(p0.y, p1.y, p2.y, p3.y, roots);
    for (int k = 0; k < ny; ++k)
      Include(bounds, CubicAt(p0.x, p1.x, p2.x, p3.x, roots[k]), CubicAt(p0.y, p1.y, p2.y, p3.y, roots[k]));
  }
  return bounds;
}

} // namespace svg
