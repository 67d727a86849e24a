#include "VectorFlatten.h"

#include <cmath>

namespace pfw::gui::VG {

namespace {

VectorPath* LastPath(VectorContext* context)
{
  const int count = context->cache.paths.GetSize();
  return count > 0 ? context->cache.paths.Get(count - 1) : nullptr;
}

VectorPoint* LastPoint(VectorContext* context)
{
  const int count = context->cache.points.GetSize();
  return count > 0 ? context->cache.points.Get(count - 1) : nullptr;
}

void AddPath(VectorContext* context)
{
  VectorPath path;
  path.first = context->cache.points.GetSize();
  path.winding = kVGWindingSolid;
  context->cache.paths.Add(path);
}

bool PointEquals(float x1, float y1, float x2, float y2, float tolerance)
{
  const float dx = x2 - x1;
  const float dy = y2 - y1;
  return dx * dx + dy * dy < tolerance * tolerance;
}

void AddPoint(VectorContext* context, float x, float y, unsigned char flags)
{
  VectorPath* path = LastPath(context);
  if (!path)
    return;
  if (path->count > 0)
  {
    VectorPoint* last = LastPoint(context);
    if (last && PointEquals(last->x, last->y, x, y, context->distTol))
    {
      last->flags |= flags;
      return;
    }
  }
  VectorPoint point{};
  point.x = x;
  point.y = y;
  point.flags = flags;
  if (context->cache.points.Add(point))
    ++path->count;
}

void Tesselate(VectorContext* context, float x1, float y1, float x2, float y2, float x3, float y3, float x4, float y4,
               int level, unsigned char flags)
{
  if (level > 10)
    return;
  const float dx = x4 - x1;
  const float dy = y4 - y1;
  const float d2 = std::fabs((x2 - x4) * dy - (y2 - y4) * dx);
  const float d3 = std::fabs((x3 - x4) * dy - (y3 - y4) * dx);
  if ((d2 + d3) * (d2 + d3) < context->tessTol * (dx * dx + dy * dy))
  {
    AddPoint(context, x4, y4, flags);
    return;
  }
  const float x12 = (x1 + x2) * 0.5f, y12 = (y1 + y2) * 0.5f;
  const float x23 = (x2 + x3) * 0.5f, y23 = (y2 + y3) * 0.5f;
  const float x34 = (x3 + x4) * 0.5f, y34 = (y3 + y4) * 0.5f;
  const float x123 = (x12 + x23) * 0.5f, y123 = (y12 + y23) * 0.5f;
  const float x234 = (x23 + x34) * 0.5f, y234 = (y23 + y34) * 0.5f;
  const float x1234 = (x123 + x234) * 0.5f, y1234 = (y123 + y234) * 0.5f;
  Tesselate(context, x1, y1, x12, y12, x123, y123, x1234, y1234, level + 1, 0);
  Tesselate(context, x1234, y1234, x234, y234, x34, y34, x4, y4, level + 1, flags);
}

float Normalize(float* x, float* y)
{
  const float d = std::sqrt((*x) * (*x) + (*y) * (*y));
  if (d > 1e-6f)
  {
    const float id = 1.f / d;
    *x *= id;
    *y *= id;
  }
  return d;
}

float PolyArea(const VectorPoint* points, int count)
{
  float area = 0.f;
  for (int i = 2; i < count; ++i)
  {
    const VectorPoint& a = points[0];
    const VectorPoint& b = points[i - 1];
    const VectorPoint& c = points[i];
    area += (c.x - a.x) * (b.y - a.y) - (b.x - a.x) * (c.y - a.y);
  }
  return area * 0.5f;
}

void Reverse(VectorPoint* points, int count)
{
  for (int i = 0, j = count - 1; i < j; ++i, --j)
  {
    const VectorPoint swapped = points[i];
    points[i] = points[j];
    points[j] = swapped;
  }
}

void WalkCommands(VectorContext* context)
{
  const float* commands = context->commands.Get();
  const int count = context->commands.GetSize();
  int i = 0;
  while (i < count)
  {
    switch (static_cast<int>(commands[i]))
    {
    case kVGCommandMoveTo:
      AddPath(context);
      AddPoint(context, commands[i + 1], commands[i + 2], kPointCorner);
      i += 3;
      break;
    case kVGCommandLineTo:
      AddPoint(context, commands[i + 1], commands[i + 2], kPointCorner);
      i += 3;
      break;
    case kVGCommandBezierTo:
    {
      const VectorPath* path = LastPath(context);
      if (path && path->count > 0)
      {
        const VectorPoint last = *LastPoint(context);
        Tesselate(context, last.x, last.y, commands[i + 1], commands[i + 2], commands[i + 3], commands[i + 4],
                  commands[i + 5], commands[i + 6], 0, kPointCorner);
      }
      i += 7;
      break;
    }
    case kVGCommandClose:
      if (VectorPath* path = LastPath(context))
        path->closed = 1;
      i += 1;
      break;
    case kVGCommandWinding:
      if (VectorPath* path = LastPath(context))
        path->winding = static_cast<int>(commands[i + 1]);
      i += 2;
      break;
    default: i += 1; break;
    }
  }
}

} // namespace

void FlattenPaths(VectorContext* context)
{
  VectorPathCache& cache = context->cache;
  if (cache.paths.GetSize() > 0)
    return;
  WalkCommands(context);

  cache.bounds[0] = cache.bounds[1] = 1e6f;
  cache.bounds[2] = cache.bounds[3] = -1e6f;
  VectorPoint* allPoints = cache.points.Get();
  for (int j = 0; j < cache.paths.GetSize(); ++j)
  {
    VectorPath& path = *cache.paths.Get(j);
    VectorPoint* points = allPoints + path.first;
    if (path.count > 1 &&
        PointEquals(points[path.count - 1].x, points[path.count - 1].y, points[0].x, points[0].y, context->distTol))
    {
      --path.count;
      path.closed = 1;
    }
    if (path.count > 2)
    {
      const float area = PolyArea(points, path.count);
      if ((path.winding == kVGWindingSolid && area < 0.f) || (path.winding == kVGWindingHole && area > 0.f))
        Reverse(points, path.count);
    }
    for (int i = 0; i < path.count; ++i)
    {
      VectorPoint& p0 = points[i == 0 ? path.count - 1 : i - 1];
      const VectorPoint& p1 = points[i];
      p0.dx = p1.x - p0.x;
      p0.dy = p1.y - p0.y;
      p0.len = Normalize(&p0.dx, &p0.dy);
      cache.bounds[0] = std::fmin(cache.bounds[0], p1.x);
      cache.bounds[1] = std::fmin(cache.bounds[1], p1.y);
      cache.bounds[2] = std::fmax(cache.bounds[2], p1.x);
      cache.bounds[3] = std::fmax(cache.bounds[3], p1.y);
    }
  }
}

} // namespace pfw::gui::VG
