#include "ITransform2D.h"

#include <cmath>

namespace pfw::gui {

ITransform2D& ITransform2D::Multiply(const ITransform2D& o)
{
  const ITransform2D t = *this;
  xx = t.xx * o.xx + t.xy * o.yx;
  yx = t.yx * o.xx + t.yy * o.yx;
  xy = t.xx * o.xy + t.xy * o.yy;
  yy = t.yx * o.xy + t.yy * o.yy;
  tx = t.xx * o.tx + t.xy * o.ty + t.tx;
  ty = t.yx * o.tx + t.yy * o.ty + t.ty;
  return *this;
}

ITransform2D& ITransform2D::Rotate(double degrees)
{
  const double a = degrees / 180.0 * 3.1415927;
  const double c = std::cos(a);
  const double s = std::sin(a);
  return Multiply(ITransform2D(c, s, -s, c, 0, 0));
}

void ITransform2D::TransformPoint(double& x, double& y) const
{
  const double px = x;
  const double py = y;
  x = xx * px + xy * py + tx;
  y = yx * px + yy * py + ty;
}

bool ITransform2D::Invert(ITransform2D& inverse) const
{
  const double det = xx * yy - xy * yx;
  if (!(std::fabs(det) > 1e-12) || !std::isfinite(det))
    return false;
  const double inv = 1.0 / det;
  inverse.xx = yy * inv;
  inverse.xy = -xy * inv;
  inverse.yx = -yx * inv;
  inverse.yy = xx * inv;
  inverse.tx = -(inverse.xx * tx + inverse.xy * ty);
  inverse.ty = -(inverse.yx * tx + inverse.yy * ty);
  return true;
}

} // namespace pfw::gui
