// The vector context's own work for one editor-sized page, with a back end that draws
// nothing: flattening and tessellation of fills and strokes, and text layout.
#include "framework/graphics/renderer/FontAtlas.h"
#include "framework/graphics/renderer/VectorContext.h"

#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdio>
#include <vector>

namespace {
using namespace pfw::gui;

VectorBackendParams NullBackend()
{
  VectorBackendParams params;
  params.create = [](void*) { return 1; };
  params.createTexture = [](void*, int, int, int, int, const unsigned char*) { return 1; };
  params.deleteTexture = [](void*, int) { return 1; };
  params.updateTexture = [](void*, int, int, int, int, int, const unsigned char*) { return 1; };
  params.textureSize = [](void*, int, int* w, int* h) {
    *w = *h = 512;
    return 1;
  };
  params.viewport = [](void*, float, float, float) {};
  params.cancel = [](void*) {};
  params.flush = [](void*) {};
  params.fill = [](void*, const VectorPaint*, VectorCompositeOperation, const VectorScissor*, float, const float*,
                   const VectorPath*, int) {};
  params.stroke = [](void*, const VectorPaint*, VectorCompositeOperation, const VectorScissor*, float, float,
                     const VectorPath*, int) {};
  params.triangles = [](void*, const VectorPaint*, VectorCompositeOperation, const VectorScissor*,
                        const VectorVertex*, int, float) {};
  params.destroy = [](void*) {};
  return params;
}

// About 300 paths: knobs (circles, arcs with round caps), rounded panels with gradients,
// curves and a concave outline, at the given scale.
void BM_VectorPage(benchmark::State& state)
{
  const float scale = static_cast<float>(state.range(0)) / 100.f;
  VectorContext* context = VG::CreateContext(NullBackend());
  const VectorColour dark{0.1f, 0.1f, 0.12f, 1.f}, light{0.8f, 0.8f, 0.7f, 1.f};
  for (auto _ : state)
  {
    VG::BeginFrame(context, 1180.f * scale, 800.f * scale, 1.f);
    VG::Scale(context, scale, scale);
    for (int i = 0; i < 60; ++i)
    {
      const float x = 40.f + (i % 12) * 95.f, y = 60.f + (i / 12) * 140.f;
      VG::BeginPath(context);
      VG::Arc(context, x, y, 28.f, 0.f, 6.2831853f, kVGArcClockwise);
      VG::ClosePath(context);
      VG::FillPaint(context, VG::RadialGradient(x, y - 8.f, 4.f, 30.f, light, dark));
      VG::Fill(context);
      VG::BeginPath(context);
      VG::Arc(context, x, y, 34.f, 2.4f, 2.4f + 0.07f * i, kVGArcClockwise);
      VG::LineCap(context, kVGCapRound);
      VG::StrokeWidth(context, 3.f);
      VG::Stroke(context);
      VG::BeginPath(context);
      VG::Rect(context, x - 40.f, y + 45.f, 80.f, 22.f);
      VG::FillPaint(context, VG::LinearGradient(x, y + 45.f, x, y + 67.f, light, dark));
      VG::Fill(context);
      VG::BeginPath(context);
      VG::MoveTo(context, x - 40.f, y + 80.f);
      VG::BezierTo(context, x - 10.f, y + 40.f, x + 10.f, y + 120.f, x + 40.f, y + 80.f);
      VG::StrokeColor(context, light);
      VG::Stroke(context);
      VG::BeginPath(context);
      for (int k = 0; k < 10; ++k)
      {
        const float r = k % 2 ? 6.f : 14.f, a = k * 0.6283185f;
        k == 0 ? VG::MoveTo(context, x + r * std::sin(a), y - r * std::cos(a))
               : VG::LineTo(context, x + r * std::sin(a), y - r * std::cos(a));
      }
      VG::ClosePath(context);
      VG::FillColor(context, light);
      VG::Fill(context);
    }
    VG::EndFrame(context);
  }
  state.SetItemsProcessed(state.iterations() * 300);
  VG::DeleteContext(context);
}
BENCHMARK(BM_VectorPage)->Arg(100)->Arg(150);

std::vector<unsigned char> ReadFont()
{
  std::vector<unsigned char> bytes;
  if (FILE* file = std::fopen(TARNWICK_ROBOTO_FONT, "rb"))
  {
    int c;
    while ((c = std::fgetc(file)) != EOF)
      bytes.push_back(static_cast<unsigned char>(c));
    std::fclose(file);
  }
  return bytes;
}

// 200 text runs measured and drawn, and a help paragraph broken into rows.
void BM_TextLayout(benchmark::State& state)
{
  std::vector<unsigned char> font = ReadFont();
  VectorContext* context = VG::CreateContext(NullBackend());
  if (font.empty() || VG::Fonts(context).AddFontMem("Roboto", font.data(), static_cast<int>(font.size()), 0, false) != 0)
  {
    state.SkipWithError("Roboto is missing");
    VG::DeleteContext(context);
    return;
  }
  const char* label = "Drive 7.5 dB";
  const char* help = "The cabinet's second microphone can be moved off axis and away from the cone; "
                     "its distance sets how much of the room it hears.";
  VectorTextRow rows[8];
  for (auto _ : state)
  {
    VG::BeginFrame(context, 1180.f, 800.f, 1.f);
    VG::FontFaceId(context, 0);
    VG::FontSize(context, 14.f);
    for (int i = 0; i < 200; ++i)
    {
      float bounds[4];
      VG::TextBounds(context, 10.f, 10.f + i, label, nullptr, bounds);
      VG::Text(context, 10.f, 10.f + i, label, nullptr);
    }
    benchmark::DoNotOptimize(VG::TextBreakLines(context, help, nullptr, 220.f, rows, 8));
    VG::EndFrame(context);
  }
  state.SetItemsProcessed(state.iterations() * 200);
  VG::DeleteContext(context);
}
BENCHMARK(BM_TextLayout);

} // namespace
