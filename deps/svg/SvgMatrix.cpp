#include "deps/svg/SvgMatrix.h"

#include "deps/svg/SvgNumber.h"

#include <cmath>
#include <cstring>

namespace svg {

namespace {

constexpr double kPi = 3.14159265358979323846;

double Radians(double degrees)
{
  return degrees * kPi / 180.0;
}

} // namespace

Matrix Matrix::Rotate(double degrees)
{
  const double r = Radians(degrees);
  const double cs = std::cos(r);
  const double sn = std::sin(r);
  return {cs, sn, -sn, cs, 0.0, 0.0};
}

Matrix Matrix::SkewX(double degrees)
{
  return {1.0, 0.0, std::tan(Radians(degrees)), 1.0, 0.0, 0.0};
}

Matrix Matrix::SkewY(double degrees)
{
  return {1.0, std::tan(Radians(degrees)), 0.0, 1.0, 0.0, 0.0};
}

Matrix Matrix::operator*(const Matrix& o) const
{
  return {a * o.a + c * o.b,     b * o.a + d * o.b,     a * o.c + c * o.d,
          b * o.c + d * o.d,     a * o.e + c * o.f + e, b * o.e + d * o.f + f};
}

void Matrix::Apply(double& x, double& y) const
{
  const double nx = a * x + c * y + e;
  const double ny = b * x + d * y + f;
  x = nx;
  y = ny;
}

bool Matrix::Invert(Matrix& inverse) const
{
  const double det = Determinant();
  if (!std::isfinite(det) || std::fabs(det) < 1e-12)
    return false;
  const double r = 1.0 / det;
  inverse = {d * r, -b * r, -c * r, a * r, (c * f - d * e) * r, (b * e - a * f) * r};
  return true;
}

double Matrix::AverageScale() const
{
  return std::sqrt(std::fabs(Determinant()));
}

bool ParseTransformList(const std::string& text, Matrix& matrix)
{
  Matrix result;
  const char* p = text.c_str();
  const char* end = p + text.size();
  SkipSeparators(p, end);
  while (p < end)
  {
    const char* nameStart = p;
    while (p < end && ((*p >= 'a' && *p <= 'z') || (*p >= 'A' && *p <= 'Z')))
      ++p;
    const std::string name(nameStart, p);
    SkipSpaces(p, end);
    if (p >= end || *p != '(')
      return false;
    ++p;
    double args[6] = {};
    int count = 0;
    SkipSpaces(p, end);
    while (p < end && *p != ')')
    {
      if (count == 6 || !ScanNumber(p, end, args[count]))
        return false;
      ++count;
      SkipSeparators(p, end);
    }
    if (p >= end)
      return false;
    ++p; // ')'
    Matrix step;
    if (name == "matrix" && count == 6)
      step = {args[0], args[1], args[2], args[3], args[4], args[5]};
    else if (name == "translate" && (count == 1 || count == 2))
      step = Matrix::Translate(args[0], count == 2 ? args[1] : 0.0);
    else if (name == "scale" && (count == 1 || count == 2))
      step = Matrix::Scale(args[0], count == 2 ? args[1] : args[0]);
    else if (name == "rotate" && count == 1)
      step = Matrix::Rotate(args[0]);
    else if (name == "rotate" && count == 3)
      step = Matrix::Translate(args[1], args[2]) * Matrix::Rotate(args[0]) * Matrix::Translate(-args[1], -args[2]);
    else if (name == "skewX" && count == 1)
      step = Matrix::SkewX(args[0]);
    else if (name == "skewY" && count == 1)
      step = Matrix::SkewY(args[0]);
    else
      return false;
    result = result * step;
    SkipSeparators(p, end);
  }
  matrix = result;
  return true;
}

} // namespace svg
