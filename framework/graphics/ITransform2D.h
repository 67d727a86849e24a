#pragma once

namespace pfw::gui {

// A 2x3 affine transform: x' = xx x + xy y + tx, y' = yx x + yy y + ty.
struct ITransform2D
{
  double xx = 1.0;
  double yx = 0.0;
  double xy = 0.0;
  double yy = 1.0;
  double tx = 0.0;
  double ty = 0.0;

  ITransform2D() = default;
  ITransform2D(double xx_, double yx_, double xy_, double yy_, double tx_, double ty_)
    : xx(xx_), yx(yx_), xy(xy_), yy(yy_), tx(tx_), ty(ty_)
  {
  }

  // The other transform is applied before this one.
  ITransform2D& Multiply(const ITransform2D& o);
  ITransform2D& Translate(double x, double y) { return Multiply(ITransform2D(1, 0, 0, 1, x, y)); }
  ITransform2D& Scale(double sx, double sy) { return Multiply(ITransform2D(sx, 0, 0, sy, 0, 0)); }
  ITransform2D& Rotate(double degrees);
  void TransformPoint(double& x, double& y) const;
  // False when the transform cannot be inverted.
  bool Invert(ITransform2D& inverse) const;
  bool IsIdentity() const { return xx == 1 && yx == 0 && xy == 0 && yy == 1 && tx == 0 && ty == 0; }
};

} // namespace pfw::gui
