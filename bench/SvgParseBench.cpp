#include "deps/svg/SvgParser.h"

#include <benchmark/benchmark.h>

#include <string>

namespace {

// Artwork like an editor logo: styled groups of paths with arcs and curves, gradients.
std::string Artwork(int shapes)
{
  std::string text = "<svg xmlns='http://www.w3.org/2000/svg' width='1000' height='200' viewBox='0 0 500 100'>"
                     "<style>.ink{fill:#F2E6D0;stroke:#101010;stroke-width:0.5}</style>"
                     "<defs><linearGradient id='g' x2='0' y2='1'><stop offset='0' stop-color='#2A2725'/>"
                     "<stop offset='1' stop-color='#13171B' stop-opacity='0.8'/></linearGradient></defs>"
                     "<rect width='500' height='100' rx='6' fill='url(#g)'/>";
  for (int i = 0; i < shapes; ++i)
  {
    const std::string x = std::to_string(10 + (i % 40) * 12);
    text += "<g class='ink' transform='translate(" + x + " 20) rotate(" + std::to_string(i % 90) + ")'>"
            "<path d='M0 0c2.5-4 7.5-4 10 0s-2.5 8-5 12l-5-12zM2 2a3 3 0 1 0 6 0a3 3 0 1 0-6 0z'/>"
            "<circle cx='5' cy='20' r='3' fill-opacity='0.5'/></g>";
  }
  return text + "</svg>";
}

} // namespace

// Loading happens once per name per process, so this bounds the editor's first-open delay.
static void ParseArtwork(benchmark::State& state)
{
  const std::string text = Artwork(static_cast<int>(state.range(0)));
  for (auto _ : state)
  {
    auto image = svg::ParseImage(text.data(), text.size(), "px", 72.f);
    benchmark::DoNotOptimize(image.get());
  }
  state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(text.size()));
}
BENCHMARK(ParseArtwork)->Arg(10)->Arg(100)->Arg(1000);
