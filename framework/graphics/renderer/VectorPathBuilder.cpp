#include "VectorContextData.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace pfw::gui::VG {

namespace {
constexpr float kPi = 3.14159265358979323846f;

// Operand count of a command code; -1 for a code that is not a command.
int OperandCount(float code)
{
  switch (static_cast<int>(code))
  {
  case kVGCommandMoveTo:
  case kVGCommandLineTo: return 2;
  case kVGCommandBezierTo: return 6;
  case kVGCommandClose: return 0;
  case kVGCommandWinding: return 1;
  default: return -1;
  }
}

// A batch is stored only when every command is known, complete and finite: a NaN point
// would poison the whole path's tessellation.
bool WellFormed(const float* values, int count)
{
  int i = 0;
  while (i < count)
  {
    if (!std::isfinite(values[i]) || values[i] != std::floor(values[i]))
      return false;
    const int operands = OperandCount(values[i]);
    if (operands < 0 || operands >= count - i)
      return false;
    for (int k = 1; k <= operands; ++k)
      if (!std::isfinite(values[i + k]))
        return false;
    i += operands + 1;
  }
  return true;
}
} // namespace

void BeginPath(VectorContext* context)
{
  context->commands.Resize(0, false);
  context->cache.points.Resize(0, false);
  context->cache.paths.Resize(0, false);
}

void AppendCommands(VectorContext* context, const float* values, int count)
{
  if (count <= 0 || !WellFormed(values, count))
    return;
  GrowArray<float>& commands = context->commands;
  const int start = commands.GetSize();
  if (!commands.Resize(start + count, false))
    return;
  float* appended = commands.Get() + start;
  std::memcpy(appended, values, sizeof(float) * static_cast<size_t>(count));

  const int first = static_cast<int>(values[0]);
  if (first != kVGCommandClose && first != kVGCommandWinding)
  {
    context->commandX = values[count - 2];
    context->commandY = values[count - 1];
  }
  const float* t = State(context).transform;
  int i = 0;
  while (i < count)
  {
    const int code = static_cast<int>(appended[i]);
    const int points = code == kVGCommandBezierTo ? 3 : (code == kVGCommandWinding || code == kVGCommandClose) ? 0 : 1;
    for (int p = 0; p < points; ++p)
    {
      float* xy = appended + i + 1 + 2 * p;
      TransformPoint(&xy[0], &xy[1], t, xy[0], xy[1]);
    }
    i += OperandCount(appended[i]) + 1;
  }
}

void MoveTo(VectorContext* context, float x, float y)
{
  const float values[] = {kVGCommandMoveTo, x, y};
  AppendCommands(context, values, 3);
}

void LineTo(VectorContext* context, float x, float y)
{
  const float values[] = {kVGCommandLineTo, x, y};
  AppendCommands(context, values, 3);
}

void BezierTo(VectorContext* context, float c1x, float c1y, float c2x, float c2y, float x, float y)
{
  const float values[] = {kVGCommandBezierTo, c1x, c1y, c2x, c2y, x, y};
  AppendCommands(context, values, 7);
}

void ClosePath(VectorContext* context)
{
  const float values[] = {kVGCommandClose};
  AppendCommands(context, values, 1);
}

void PathWinding(VectorContext* context, int winding)
{
  const float values[] = {kVGCommandWinding, static_cast<float>(winding)};
  AppendCommands(context, values, 2);
}

void LastCommandPoint(const VectorContext* context, float* x, float* y)
{
  *x = context->commandX;
  *y = context->commandY;
}

void Rect(VectorContext* context, float x, float y, float w, float h)
{
  const float values[] = {kVGCommandMoveTo, x,     y,     kVGCommandLineTo, x, y + h, kVGCommandLineTo, x + w, y + h,
                          kVGCommandLineTo, x + w, y,     kVGCommandClose};
  AppendCommands(context, values, 13);
}

void Arc(VectorContext* context, float cx, float cy, float r, float a0, float a1, int direction)
{
  const int move = context->commands.GetSize() > 0 ? kVGCommandLineTo : kVGCommandMoveTo;
  float da = a1 - a0;
  if (direction == kVGArcClockwise)
  {
    if (std::fabs(da) >= kPi * 2.f)
      da = kPi * 2.f;
    else
      while (da < 0.f)
        da += kPi * 2.f;
  }
  else
  {
    if (std::fabs(da) >= kPi * 2.f)
      da = -kPi * 2.f;
    else
      while (da > 0.f)
        da -= kPi * 2.f;
  }
  // A zero sweep has no tangent to scale (0 / 0): it is only its end point.
  if (da == 0.f || !std::isfinite(da))
  {
    const float values[] = {static_cast<float>(move), cx + r * std::cos(a0), cy + r * std::sin(a0)};
    AppendCommands(context, values, 3);
    return;
  }
  const int segments = std::max(1, std::min(5, static_cast<int>(std::fabs(da) / (kPi * 0.5f) + 0.5f)));
  const float hda = (da / static_cast<float>(segments)) / 2.f;
  float kappa = std::fabs(4.f / 3.f * (1.f - std::cos(hda)) / std::sin(hda));
  if (direction == kVGArcCounterClockwise)
    kappa = -kappa;

  float values[3 + 5 * 7];
  int count = 0;
  float px = 0.f, py = 0.f, ptanx = 0.f, ptany = 0.f;
  for (int i = 0; i <= segments; ++i)
  {
    const float a = a0 + da * (static_cast<float>(i) / static_cast<float>(segments));
    const float dx = std::cos(a);
    const float dy = std::sin(a);
    const float x = cx + dx * r;
    const float y = cy + dy * r;
    const float tanx = -dy * r * kappa;
    const float tany = dx * r * kappa;
    if (i == 0)
    {
      values[count++] = static_cast<float>(move);
      values[count++] = x;
      values[count++] = y;
    }
    else
    {
      values[count++] = kVGCommandBezierTo;
      values[count++] = px + ptanx;
      values[count++] = py + ptany;
      values[count++] = x - tanx;
      values[count++] = y - tany;
      values[count++] = x;
      values[count++] = y;
    }
    px = x;
    py = y;
    ptanx = tanx;
    ptany = tany;
  }
  AppendCommands(context, values, count);
}

} // namespace pfw::gui::VG
