#pragma once

// A 2x3 affine matrix in the order {a, b, c, d, e, f}: x' = a x + c y + e, y' = b x + d y + f.

#include <string>

namespace svg {

struct Matrix
{
  double a = 1.0, b = 0.0, c = 0.0, d = 1.0, e = 0.0, f = 0.0;

  static Matrix Translate(double x, double y) { return {1.0, 0.0, 0.0, 1.0, x, y}; }
  static Matrix Scale(double x, double y) { return {x, 0.0, 0.0, y, 0.0, 0.0}; }
  static Matrix Rotate(double degrees);
  static Matrix SkewX(double degrees);
  static Matrix SkewY(double degrees);

  // this * other: other is applied first.
  Matrix operator*(const Matrix& other) const;
  void Apply(double& x, double& y) const;
  double Determinant() const { return a * d - b * c; }
  // false (and this unchanged) when the matrix cannot be inverted.
  bool Invert(Matrix& inverse) const;
  // The length factor of a stroke: the geometric mean of the axis scales.
  double AverageScale() const;
};

// The transform attribute: "matrix(...) translate(...) scale(...) rotate(...) skewX(...)
// skewY(...)", applied right to left. false when the list is malformed.
bool ParseTransformList(const std::string& text, Matrix& matrix);

} // namespace svg
