#include "Rasteriser.h"

#include <algorithm>
#include <cmath>

using namespace pfw::gui;

namespace {
struct Point
{
  double x, y;
};

struct SubPath
{
  std::vector<Point> points;
  bool hole = false;
};

std::vector<SubPath> Flatten(const std::vector<PathCommand>& path)
{
  std::vector<SubPath> out;
  for (const PathCommand& c : path)
  {
    switch (c.kind)
    {
    case PathCommand::kMove: out.push_back(SubPath{{{c.pts[0], c.pts[1]}}}); break;
    case PathCommand::kLine:
      if (out.empty())
        out.push_back(SubPath{});
      out.back().points.push_back({c.pts[0], c.pts[1]});
      break;
    case PathCommand::kCubic:
    {
      if (out.empty() || out.back().points.empty())
        break;
      const Point p0 = out.back().points.back();
      for (int k = 1; k <= 16; ++k)
      {
        const double t = k / 16.0, u = 1 - t;
        out.back().points.push_back({u * u * u * p0.x + 3 * u * u * t * c.pts[0] + 3 * u * t * t * c.pts[2] + t * t * t * c.pts[4],
                                     u * u * u * p0.y + 3 * u * u * t * c.pts[1] + 3 * u * t * t * c.pts[3] + t * t * t * c.pts[5]});
      }
      break;
    }
    case PathCommand::kClose: break;
    case PathCommand::kWinding:
      if (!out.empty())
        out.back().hole = c.hole;
      break;
    }
  }
  return out;
}

double SignedArea(const std::vector<Point>& p)
{
  double area = 0;
  for (size_t i = 0; i < p.size(); ++i)
  {
    const Point& a = p[i];
    const Point& b = p[(i + 1) % p.size()];
    area += a.x * b.y - b.x * a.y;
  }
  return area;
}

int Winding(const std::vector<SubPath>& paths, double x, double y)
{
  int w = 0;
  for (const SubPath& s : paths)
    for (size_t i = 0; i < s.points.size(); ++i)
    {
      const Point& a = s.points[i];
      const Point& b = s.points[(i + 1) % s.points.size()];
      if (a.y <= y && b.y > y && (b.x - a.x) * (y - a.y) - (x - a.x) * (b.y - a.y) > 0)
        ++w;
      else if (b.y <= y && a.y > y && (b.x - a.x) * (y - a.y) - (x - a.x) * (b.y - a.y) < 0)
        --w;
    }
  return w;
}

Rasteriser::Pixel ColourAt(const IColourSource& source, const ITransform2D& matrix, double x, double y)
{
  IArgbColour c = source.stops[0].colour;
  if (source.kind != IColourSource::kSolid && source.nStops > 1)
  {
    ITransform2D inverse;
    matrix.Invert(inverse);
    inverse.TransformPoint(x, y);
    source.transform.TransformPoint(x, y);
    const double t = std::clamp(y, 0.0, 1.0);
    int i = 0;
    while (i + 1 < source.nStops && source.stops[i + 1].offset < t)
      ++i;
    const IColourStop& s0 = source.stops[i];
    const IColourStop& s1 = source.stops[std::min(i + 1, source.nStops - 1)];
    const double span = s1.offset - s0.offset;
    const double f = span > 0 ? std::clamp((t - s0.offset) / span, 0.0, 1.0) : 0.0;
    const auto mix = [f](int a, int b) { return static_cast<int>(std::lround(a + (b - a) * f)); };
    c = IArgbColour(mix(s0.colour.A, s1.colour.A), mix(s0.colour.R, s1.colour.R), mix(s0.colour.G, s1.colour.G),
                    mix(s0.colour.B, s1.colour.B));
  }
  return {c.R / 255.f, c.G / 255.f, c.B / 255.f, c.A / 255.f};
}
} // namespace

void Rasteriser::Render(const std::vector<PaintCall>& calls)
{
  for (const PaintCall& call : calls)
    if (call.fill)
      Fill(call);
}

void Rasteriser::Fill(const PaintCall& call)
{
  std::vector<SubPath> paths = Flatten(call.path);
  for (SubPath& s : paths)
  {
    // Solid outlines one way round, holes the other (rule 0 makes every one solid).
    const bool hole = call.rule == IFillRule::kPreserveWinding && s.hole;
    const bool positive = SignedArea(s.points) > 0;
    if (positive == hole)
      std::reverse(s.points.begin(), s.points.end());
  }
  for (int y = 0; y < mHeight; ++y)
    for (int x = 0; x < mWidth; ++x)
    {
      const double px = x + 0.5, py = y + 0.5;
      if (!call.clip.Empty() && !call.clip.Contains(static_cast<float>(px), static_cast<float>(py)))
        continue;
      if (Winding(paths, px, py) == 0)
        continue;
      Pixel src = ColourAt(call.source, call.matrix, px, py);
      src.a *= call.blendWeight;
      Pixel& dst = mPixels[static_cast<size_t>(y * mWidth + x)];
      const float outA = src.a + dst.a * (1 - src.a);
      if (outA > 0)
      {
        dst.r = (src.r * src.a + dst.r * dst.a * (1 - src.a)) / outA;
        dst.g = (src.g * src.a + dst.g * dst.a * (1 - src.a)) / outA;
        dst.b = (src.b * src.a + dst.b * dst.a * (1 - src.a)) / outA;
      }
      dst.a = outA;
    }
}
