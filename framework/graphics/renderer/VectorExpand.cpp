#include "VectorFlatten.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace pfw::gui::VG {

namespace {
constexpr float kPi = 3.14159265358979323846f;
// Round caps and joins never get more divisions than this, whatever the tolerance.
constexpr int kMaxCurveDivisions = 256;

struct VertexWriter
{
  VectorVertex* at;
  void operator()(float x, float y, float u, float v)
  {
    at->x = x;
    at->y = y;
    at->u = u;
    at->v = v;
    ++at;
  }
};

int CurveDivisions(float radius, float arc, float tolerance)
{
  const float da = std::acos(radius / (radius + tolerance)) * 2.f;
  if (!(da > 0.f))
    return kMaxCurveDivisions;
  const float divisions = std::ceil(arc / da);
  return divisions >= kMaxCurveDivisions ? kMaxCurveDivisions : std::max(2, static_cast<int>(divisions));
}

float ClampUnit(float value, float low, float high)
{
  return value > low ? (value < high ? value : high) : low; // NaN becomes low
}

void ChooseBevel(bool bevel, const VectorPoint& p0, const VectorPoint& p1, float w, float* x0, float* y0, float* x1,
                 float* y1)
{
  if (bevel)
  {
    *x0 = p1.x + p0.dy * w;
    *y0 = p1.y - p0.dx * w;
    *x1 = p1.x + p1.dy * w;
    *y1 = p1.y - p1.dx * w;
  }
  else
  {
    *x0 = p1.x + p1.dmx * w;
    *y0 = p1.y + p1.dmy * w;
    *x1 = *x0;
    *y1 = *y0;
  }
}

void RoundJoin(VertexWriter& out, const VectorPoint& p0, const VectorPoint& p1, float lw, float rw, float lu, float ru,
               int ncap)
{
  const float dlx0 = p0.dy, dly0 = -p0.dx;
  const float dlx1 = p1.dy, dly1 = -p1.dx;
  const bool inner = (p1.flags & kPointInnerBevel) != 0;
  if (p1.flags & kPointLeft)
  {
    float lx0, ly0, lx1, ly1;
    ChooseBevel(inner, p0, p1, lw, &lx0, &ly0, &lx1, &ly1);
    const float a0 = std::atan2(-dly0, -dlx0);
    float a1 = std::atan2(-dly1, -dlx1);
    if (a1 > a0)
      a1 -= kPi * 2.f;
    out(lx0, ly0, lu, 1.f);
    out(p1.x - dlx0 * rw, p1.y - dly0 * rw, ru, 1.f);
    const int n = std::clamp(static_cast<int>(std::ceil((a0 - a1) / kPi * static_cast<float>(ncap))), 2, ncap);
    for (int i = 0; i < n; ++i)
    {
      const float a = a0 + static_cast<float>(i) / static_cast<float>(n - 1) * (a1 - a0);
      out(p1.x, p1.y, 0.5f, 1.f);
      out(p1.x + std::cos(a) * rw, p1.y + std::sin(a) * rw, ru, 1.f);
    }
    out(lx1, ly1, lu, 1.f);
    out(p1.x - dlx1 * rw, p1.y - dly1 * rw, ru, 1.f);
  }
  else
  {
    float rx0, ry0, rx1, ry1;
    ChooseBevel(inner, p0, p1, -rw, &rx0, &ry0, &rx1, &ry1);
    const float a0 = std::atan2(dly0, dlx0);
    float a1 = std::atan2(dly1, dlx1);
    if (a1 < a0)
      a1 += kPi * 2.f;
    out(p1.x + dlx0 * rw, p1.y + dly0 * rw, lu, 1.f);
    out(rx0, ry0, ru, 1.f);
    const int n = std::clamp(static_cast<int>(std::ceil((a1 - a0) / kPi * static_cast<float>(ncap))), 2, ncap);
    for (int i = 0; i < n; ++i)
    {
      const float a = a0 + static_cast<float>(i) / static_cast<float>(n - 1) * (a1 - a0);
      out(p1.x + std::cos(a) * lw, p1.y + std::sin(a) * lw, lu, 1.f);
      out(p1.x, p1.y, 0.5f, 1.f);
    }
    out(p1.x + dlx1 * rw, p1.y + dly1 * rw, lu, 1.f);
    out(rx1, ry1, ru, 1.f);
  }
}

void BevelJoin(VertexWriter& out, const VectorPoint& p0, const VectorPoint& p1, float lw, float rw, float lu, float ru)
{
  const float dlx0 = p0.dy, dly0 = -p0.dx;
  const float dlx1 = p1.dy, dly1 = -p1.dx;
  const bool inner = (p1.flags & kPointInnerBevel) != 0;
  if (p1.flags & kPointLeft)
  {
    float lx0, ly0, lx1, ly1;
    ChooseBevel(inner, p0, p1, lw, &lx0, &ly0, &lx1, &ly1);
    out(lx0, ly0, lu, 1.f);
    out(p1.x - dlx0 * rw, p1.y - dly0 * rw, ru, 1.f);
    if (p1.flags & kPointBevel)
    {
      out(lx0, ly0, lu, 1.f);
      out(p1.x - dlx0 * rw, p1.y - dly0 * rw, ru, 1.f);
      out(lx1, ly1, lu, 1.f);
      out(p1.x - dlx1 * rw, p1.y - dly1 * rw, ru, 1.f);
    }
    else
    {
      const float rx0 = p1.x - p1.dmx * rw;
      const float ry0 = p1.y - p1.dmy * rw;
      out(p1.x, p1.y, 0.5f, 1.f);
      out(p1.x - dlx0 * rw, p1.y - dly0 * rw, ru, 1.f);
      out(rx0, ry0, ru, 1.f);
      out(rx0, ry0, ru, 1.f);
      out(p1.x, p1.y, 0.5f, 1.f);
      out(p1.x - dlx1 * rw, p1.y - dly1 * rw, ru, 1.f);
    }
    out(lx1, ly1, lu, 1.f);
    out(p1.x - dlx1 * rw, p1.y - dly1 * rw, ru, 1.f);
  }
  else
  {
    float rx0, ry0, rx1, ry1;
    ChooseBevel(inner, p0, p1, -rw, &rx0, &ry0, &rx1, &ry1);
    out(p1.x + dlx0 * lw, p1.y + dly0 * lw, lu, 1.f);
    out(rx0, ry0, ru, 1.f);
    if (p1.flags & kPointBevel)
    {
      out(p1.x + dlx0 * lw, p1.y + dly0 * lw, lu, 1.f);
      out(rx0, ry0, ru, 1.f);
      out(p1.x + dlx1 * lw, p1.y + dly1 * lw, lu, 1.f);
      out(rx1, ry1, ru, 1.f);
    }
    else
    {
      const float lx0 = p1.x + p1.dmx * lw;
      const float ly0 = p1.y + p1.dmy * lw;
      out(p1.x + dlx0 * lw, p1.y + dly0 * lw, lu, 1.f);
      out(p1.x, p1.y, 0.5f, 1.f);
      out(lx0, ly0, lu, 1.f);
      out(lx0, ly0, lu, 1.f);
      out(p1.x + dlx1 * lw, p1.y + dly1 * lw, lu, 1.f);
      out(p1.x, p1.y, 0.5f, 1.f);
    }
    out(p1.x + dlx1 * lw, p1.y + dly1 * lw, lu, 1.f);
    out(rx1, ry1, ru, 1.f);
  }
}

void ButtCapStart(VertexWriter& out, const VectorPoint& p, float dx, float dy, float w, float d, float aa, float u0,
                  float u1)
{
  const float px = p.x - dx * d;
  const float py = p.y - dy * d;
  const float dlx = dy, dly = -dx;
  out(px + dlx * w - dx * aa, py + dly * w - dy * aa, u0, 0.f);
  out(px - dlx * w - dx * aa, py - dly * w - dy * aa, u1, 0.f);
  out(px + dlx * w, py + dly * w, u0, 1.f);
  out(px - dlx * w, py - dly * w, u1, 1.f);
}

void ButtCapEnd(VertexWriter& out, const VectorPoint& p, float dx, float dy, float w, float d, float aa, float u0,
                float u1)
{
  const float px = p.x + dx * d;
  const float py = p.y + dy * d;
  const float dlx = dy, dly = -dx;
  out(px + dlx * w, py + dly * w, u0, 1.f);
  out(px - dlx * w, py - dly * w, u1, 1.f);
  out(px + dlx * w + dx * aa, py + dly * w + dy * aa, u0, 0.f);
  out(px - dlx * w + dx * aa, py - dly * w + dy * aa, u1, 0.f);
}

void RoundCapStart(VertexWriter& out, const VectorPoint& p, float dx, float dy, float w, int ncap, float u0, float u1)
{
  const float dlx = dy, dly = -dx;
  for (int i = 0; i < ncap; ++i)
  {
    const float a = static_cast<float>(i) / static_cast<float>(ncap - 1) * kPi;
    const float ax = std::cos(a) * w, ay = std::sin(a) * w;
    out(p.x - dlx * ax - dx * ay, p.y - dly * ax - dy * ay, u0, 1.f);
    out(p.x, p.y, 0.5f, 1.f);
  }
  out(p.x + dlx * w, p.y + dly * w, u0, 1.f);
  out(p.x - dlx * w, p.y - dly * w, u1, 1.f);
}

void RoundCapEnd(VertexWriter& out, const VectorPoint& p, float dx, float dy, float w, int ncap, float u0, float u1)
{
  const float dlx = dy, dly = -dx;
  out(p.x + dlx * w, p.y + dly * w, u0, 1.f);
  out(p.x - dlx * w, p.y - dly * w, u1, 1.f);
  for (int i = 0; i < ncap; ++i)
  {
    const float a = static_cast<float>(i) / static_cast<float>(ncap - 1) * kPi;
    const float ax = std::cos(a) * w, ay = std::sin(a) * w;
    out(p.x, p.y, 0.5f, 1.f);
    out(p.x - dlx * ax + dx * ay, p.y - dly * ax + dy * ay, u0, 1.f);
  }
}

// The unit direction from one point to the next (unscaled when they coincide).
void Direction(const VectorPoint& from, const VectorPoint& to, float* dx, float* dy)
{
  *dx = to.x - from.x;
  *dy = to.y - from.y;
  const float d = std::sqrt(*dx * *dx + *dy * *dy);
  if (d > 1e-6f)
  {
    *dx /= d;
    *dy /= d;
  }
}

void CalculateJoins(VectorContext* context, float w, int lineJoin, float miterLimit)
{
  VectorPathCache& cache = context->cache;
  const float iw = w > 0.f ? 1.f / w : 0.f;
  for (int i = 0; i < cache.paths.GetSize(); ++i)
  {
    VectorPath& path = *cache.paths.Get(i);
    VectorPoint* points = cache.points.Get() + path.first;
    int leftTurns = 0;
    path.bevelCount = 0;
    for (int j = 0; j < path.count; ++j)
    {
      const VectorPoint& p0 = points[j == 0 ? path.count - 1 : j - 1];
      VectorPoint& p1 = points[j];
      const float dlx0 = p0.dy, dly0 = -p0.dx;
      const float dlx1 = p1.dy, dly1 = -p1.dx;
      p1.dmx = (dlx0 + dlx1) * 0.5f;
      p1.dmy = (dly0 + dly1) * 0.5f;
      const float dmr2 = p1.dmx * p1.dmx + p1.dmy * p1.dmy;
      if (dmr2 > 0.000001f)
      {
        const float scale = std::min(1.f / dmr2, 600.f);
        p1.dmx *= scale;
        p1.dmy *= scale;
      }
      p1.flags = (p1.flags & kPointCorner) ? kPointCorner : 0;
      if (p1.dx * p0.dy - p0.dx * p1.dy > 0.f)
      {
        ++leftTurns;
        p1.flags |= kPointLeft;
      }
      const float limit = std::max(1.01f, std::min(p0.len, p1.len) * iw);
      if (dmr2 * limit * limit < 1.f)
        p1.flags |= kPointInnerBevel;
      if ((p1.flags & kPointCorner) &&
          (dmr2 * miterLimit * miterLimit < 1.f || lineJoin == kVGJoinBevel || lineJoin == kVGJoinRound))
        p1.flags |= kPointBevel;
      if (p1.flags & (kPointBevel | kPointInnerBevel))
        ++path.bevelCount;
    }
    path.convex = leftTurns == path.count ? 1 : 0;
  }
}

bool ExpandFill(VectorContext* context, float w, int lineJoin, float miterLimit)
{
  VectorPathCache& cache = context->cache;
  const float aa = context->fringeWidth;
  const bool fringe = w > 0.f;
  CalculateJoins(context, w, lineJoin, miterLimit);

  int64_t needed = 0;
  for (int i = 0; i < cache.paths.GetSize(); ++i)
  {
    const VectorPath& path = *cache.paths.Get(i);
    needed += path.count + path.bevelCount + 1;
    if (fringe)
      needed += (path.count + path.bevelCount * 5 + 1) * 2;
  }
  VectorVertex* vertices = needed <= INT32_MAX ? AllocTempVerts(context, static_cast<int>(needed)) : nullptr;
  if (!vertices)
    return false;

  const bool convex = cache.paths.GetSize() == 1 && cache.paths.Get(0)->convex;
  const float woff = 0.5f * aa;
  for (int i = 0; i < cache.paths.GetSize(); ++i)
  {
    VectorPath& path = *cache.paths.Get(i);
    const VectorPoint* points = cache.points.Get() + path.first;
    VertexWriter out{vertices};
    path.fill = vertices;
    if (path.count < 3)
    {
      // Fewer than three points enclose nothing.
      path.fillCount = 0;
      path.stroke = nullptr;
      path.strokeCount = 0;
      continue;
    }
    for (int j = 0; j < path.count; ++j)
    {
      const VectorPoint& p0 = points[j == 0 ? path.count - 1 : j - 1];
      const VectorPoint& p1 = points[j];
      if (!fringe)
        out(p1.x, p1.y, 0.5f, 1.f);
      else if ((p1.flags & kPointBevel) && !(p1.flags & kPointLeft))
      {
        out(p1.x + p0.dy * woff, p1.y - p0.dx * woff, 0.5f, 1.f);
        out(p1.x + p1.dy * woff, p1.y - p1.dx * woff, 0.5f, 1.f);
      }
      else
        out(p1.x + p1.dmx * woff, p1.y + p1.dmy * woff, 0.5f, 1.f);
    }
    path.fillCount = static_cast<int>(out.at - vertices);
    vertices = out.at;

    if (!fringe)
    {
      path.stroke = nullptr;
      path.strokeCount = 0;
      continue;
    }
    float lw = w + woff;
    const float rw = w - woff;
    float lu = 0.f;
    const float ru = 1.f;
    if (convex)
    {
      // Only the outer half of the fringe is needed: the fill covers the inner one.
      lw = woff;
      lu = 0.5f;
    }
    path.stroke = vertices;
    for (int j = 0; j < path.count; ++j)
    {
      const VectorPoint& p0 = points[j == 0 ? path.count - 1 : j - 1];
      const VectorPoint& p1 = points[j];
      if (p1.flags & (kPointBevel | kPointInnerBevel))
        BevelJoin(out, p0, p1, lw, rw, lu, ru);
      else
      {
        out(p1.x + p1.dmx * lw, p1.y + p1.dmy * lw, lu, 1.f);
        out(p1.x - p1.dmx * rw, p1.y - p1.dmy * rw, ru, 1.f);
      }
    }
    out(vertices[0].x, vertices[0].y, lu, 1.f);
    out(vertices[1].x, vertices[1].y, ru, 1.f);
    path.strokeCount = static_cast<int>(out.at - vertices);
    vertices = out.at;
  }
  return true;
}

bool ExpandStroke(VectorContext* context, float w, float fringe, int lineCap, int lineJoin, float miterLimit)
{
  VectorPathCache& cache = context->cache;
  const float aa = fringe;
  float u0 = 0.f, u1 = 1.f;
  const int ncap = CurveDivisions(w, kPi, context->tessTol);
  w += aa * 0.5f;
  if (aa == 0.f)
    u0 = u1 = 0.5f;
  CalculateJoins(context, w, lineJoin, miterLimit);

  int64_t needed = 0;
  for (int i = 0; i < cache.paths.GetSize(); ++i)
  {
    const VectorPath& path = *cache.paths.Get(i);
    if (lineJoin == kVGJoinRound)
      needed += (path.count + path.bevelCount * static_cast<int64_t>(ncap + 2) + 1) * 2;
    else
      needed += (path.count + path.bevelCount * 5 + 1) * 2;
    if (!path.closed)
      needed += lineCap == kVGCapRound ? (ncap * 2 + 2) * 2 : (3 + 3) * 2;
  }
  VectorVertex* vertices = needed <= INT32_MAX ? AllocTempVerts(context, static_cast<int>(needed)) : nullptr;
  if (!vertices)
    return false;

  for (int i = 0; i < cache.paths.GetSize(); ++i)
  {
    VectorPath& path = *cache.paths.Get(i);
    const VectorPoint* points = cache.points.Get() + path.first;
    path.fill = nullptr;
    path.fillCount = 0;
    path.stroke = vertices;
    path.strokeCount = 0;
    // A single point has no direction to stroke along.
    if (path.count < 2)
      continue;
    VertexWriter out{vertices};
    const bool loop = path.closed != 0;
    int p0 = loop ? path.count - 1 : 0;
    int p1 = loop ? 0 : 1;
    const int s = loop ? 0 : 1;
    const int e = loop ? path.count : path.count - 1;
    if (!loop)
    {
      float dx, dy;
      Direction(points[p0], points[p1], &dx, &dy);
      if (lineCap == kVGCapRound)
        RoundCapStart(out, points[p0], dx, dy, w, ncap, u0, u1);
      else
        ButtCapStart(out, points[p0], dx, dy, w, lineCap == kVGCapSquare ? w - aa : -aa * 0.5f, aa, u0, u1);
    }
    for (int j = s; j < e; ++j)
    {
      if (points[p1].flags & (kPointBevel | kPointInnerBevel))
      {
        if (lineJoin == kVGJoinRound)
          RoundJoin(out, points[p0], points[p1], w, w, u0, u1, ncap);
        else
          BevelJoin(out, points[p0], points[p1], w, w, u0, u1);
      }
      else
      {
        out(points[p1].x + points[p1].dmx * w, points[p1].y + points[p1].dmy * w, u0, 1.f);
        out(points[p1].x - points[p1].dmx * w, points[p1].y - points[p1].dmy * w, u1, 1.f);
      }
      p0 = p1++;
    }
    if (loop)
    {
      out(vertices[0].x, vertices[0].y, u0, 1.f);
      out(vertices[1].x, vertices[1].y, u1, 1.f);
    }
    else
    {
      float dx, dy;
      Direction(points[p0], points[p1], &dx, &dy);
      if (lineCap == kVGCapRound)
        RoundCapEnd(out, points[p1], dx, dy, w, ncap, u0, u1);
      else
        ButtCapEnd(out, points[p1], dx, dy, w, lineCap == kVGCapSquare ? w - aa : -aa * 0.5f, aa, u0, u1);
    }
    path.strokeCount = static_cast<int>(out.at - vertices);
    vertices = out.at;
  }
  return true;
}

} // namespace

void Fill(VectorContext* context)
{
  const VectorState& state = State(context);
  VectorPaint paint = state.fill;
  FlattenPaths(context);
  const bool antiAlias = context->params.edgeAntiAlias && state.shapeAntiAlias;
  if (!ExpandFill(context, antiAlias ? context->fringeWidth : 0.f, kVGJoinMiter, 2.4f))
    return;
  ScalePaintAlpha(paint, state.alpha);
  VectorPathCache& cache = context->cache;
  context->params.fill(context->params.user, &paint, state.composite, &state.scissor, context->fringeWidth,
                       cache.bounds, cache.paths.Get(), cache.paths.GetSize());
  for (int i = 0; i < cache.paths.GetSize(); ++i)
  {
    const VectorPath& path = *cache.paths.Get(i);
    context->counters.fillTriangles += std::max(0, path.fillCount - 2) + std::max(0, path.strokeCount - 2);
    context->counters.drawCalls += 2;
  }
}

void Stroke(VectorContext* context)
{
  const VectorState& state = State(context);
  const float scale = AverageScale(state.transform);
  float strokeWidth = ClampUnit(state.strokeWidth * scale, 0.f, 200.f);
  VectorPaint paint = state.stroke;
  if (strokeWidth < context->fringeWidth)
  {
    // Thinner than a pixel: drawn a pixel wide and faded by the coverage it would have.
    const float alpha = ClampUnit(strokeWidth / context->fringeWidth, 0.f, 1.f);
    ScalePaintAlpha(paint, alpha * alpha);
    strokeWidth = context->fringeWidth;
  }
  ScalePaintAlpha(paint, state.alpha);
  FlattenPaths(context);
  const bool antiAlias = context->params.edgeAntiAlias && state.shapeAntiAlias;
  if (!ExpandStroke(context, strokeWidth * 0.5f, antiAlias ? context->fringeWidth : 0.f, state.lineCap,
                    state.lineJoin, state.miterLimit))
    return;
  VectorPathCache& cache = context->cache;
  context->params.stroke(context->params.user, &paint, state.composite, &state.scissor, context->fringeWidth,
                         strokeWidth, cache.paths.Get(), cache.paths.GetSize());
  for (int i = 0; i < cache.paths.GetSize(); ++i)
  {
    context->counters.strokeTriangles += std::max(0, cache.paths.Get(i)->strokeCount - 2);
    context->counters.drawCalls += 1;
  }
}

} // namespace pfw::gui::VG
