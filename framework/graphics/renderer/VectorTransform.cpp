#include "VectorContextData.h"

#include <algorithm>
#include <cmath>

namespace pfw::gui::VG {

void TransformIdentity(float t[6])
{
  t[0] = 1.f;
  t[1] = 0.f;
  t[2] = 0.f;
  t[3] = 1.f;
  t[4] = 0.f;
  t[5] = 0.f;
}

void TransformTranslate(float t[6], float x, float y)
{
  TransformIdentity(t);
  t[4] = x;
  t[5] = y;
}

void TransformScale(float t[6], float x, float y)
{
  TransformIdentity(t);
  t[0] = x;
  t[3] = y;
}

void TransformRotate(float t[6], float radians)
{
  const float cs = std::cos(radians);
  const float sn = std::sin(radians);
  t[0] = cs;
  t[1] = sn;
  t[2] = -sn;
  t[3] = cs;
  t[4] = 0.f;
  t[5] = 0.f;
}

void TransformMultiply(float t[6], const float s[6])
{
  const float t0 = t[0] * s[0] + t[1] * s[2];
  const float t2 = t[2] * s[0] + t[3] * s[2];
  const float t4 = t[4] * s[0] + t[5] * s[2] + s[4];
  t[1] = t[0] * s[1] + t[1] * s[3];
  t[3] = t[2] * s[1] + t[3] * s[3];
  t[5] = t[4] * s[1] + t[5] * s[3] + s[5];
  t[0] = t0;
  t[2] = t2;
  t[4] = t4;
}

void TransformPremultiply(float t[6], const float s[6])
{
  float product[6];
  std::copy(s, s + 6, product);
  TransformMultiply(product, t);
  std::copy(product, product + 6, t);
}

int TransformInverse(float inverse[6], const float t[6])
{
  const double det = static_cast<double>(t[0]) * t[3] - static_cast<double>(t[2]) * t[1];
  if (!(det <= -1e-6 || det >= 1e-6))
  {
    TransformIdentity(inverse);
    return 0;
  }
  const double invdet = 1.0 / det;
  inverse[0] = static_cast<float>(t[3] * invdet);
  inverse[2] = static_cast<float>(-t[2] * invdet);
  inverse[4] = static_cast<float>((static_cast<double>(t[2]) * t[5] - static_cast<double>(t[3]) * t[4]) * invdet);
  inverse[1] = static_cast<float>(-t[1] * invdet);
  inverse[3] = static_cast<float>(t[0] * invdet);
  inverse[5] = static_cast<float>((static_cast<double>(t[1]) * t[4] - static_cast<double>(t[0]) * t[5]) * invdet);
  return 1;
}

void TransformPoint(float* x, float* y, const float t[6], float sx, float sy)
{
  *x = sx * t[0] + sy * t[2] + t[4];
  *y = sx * t[1] + sy * t[3] + t[5];
}

float AverageScale(const float t[6])
{
  const float sx = std::sqrt(t[0] * t[0] + t[1] * t[1]);
  const float sy = std::sqrt(t[2] * t[2] + t[3] * t[3]);
  return (sx + sy) * 0.5f;
}

float FontScale(const float t[6])
{
  const float mean = AverageScale(t);
  if (!(mean > 0.f))
    return 0.f;
  const float quantised = static_cast<float>(static_cast<int>(std::min(mean, 4.f) / 0.01f + 0.5f)) * 0.01f;
  return std::min(quantised, 4.f);
}

void ResetTransform(VectorContext* context)
{
  TransformIdentity(State(context).transform);
}

void Transform(VectorContext* context, float a, float b, float c, float d, float e, float f)
{
  const float t[6] = {a, b, c, d, e, f};
  TransformPremultiply(State(context).transform, t);
}

void Translate(VectorContext* context, float x, float y)
{
  float t[6];
  TransformTranslate(t, x, y);
  TransformPremultiply(State(context).transform, t);
}

void Rotate(VectorContext* context, float radians)
{
  float t[6];
  TransformRotate(t, radians);
  TransformPremultiply(State(context).transform, t);
}

void Scale(VectorContext* context, float x, float y)
{
  float t[6];
  TransformScale(t, x, y);
  TransformPremultiply(State(context).transform, t);
}

void CurrentTransform(const VectorContext* context, float transform[6])
{
  std::copy(State(context).transform, State(context).transform + 6, transform);
}

} // namespace pfw::gui::VG
