#include "framework/core/GrowString.h"
#include "framework/core/IDataChunk.h"
#include "framework/core/PointerList.h"

#include <benchmark/benchmark.h>

// Appending must stay amortised constant time for chunks, strings and lists alike.
static void AppendDoublesToChunk(benchmark::State& state)
{
  const int count = static_cast<int>(state.range(0));
  for (auto _ : state)
  {
    pfw::IDataChunk chunk;
    for (int i = 0; i < count; ++i)
      chunk.Put(static_cast<double>(i));
    benchmark::DoNotOptimize(chunk.GetData());
  }
  state.SetItemsProcessed(state.iterations() * count);
}
BENCHMARK(AppendDoublesToChunk)->Range(84, 1 << 20);

static void AppendToString(benchmark::State& state)
{
  const int count = static_cast<int>(state.range(0));
  for (auto _ : state)
  {
    pfw::GrowString text;
    for (int i = 0; i < count; ++i)
      text.Append("x");
    benchmark::DoNotOptimize(text.Get());
  }
  state.SetItemsProcessed(state.iterations() * count);
}
BENCHMARK(AppendToString)->Range(64, 1 << 16);

static void AddToPointerList(benchmark::State& state)
{
  const int count = static_cast<int>(state.range(0));
  int value = 0;
  for (auto _ : state)
  {
    pfw::PointerList<int> list;
    for (int i = 0; i < count; ++i)
      list.Add(&value);
    benchmark::DoNotOptimize(list.Get(0));
  }
  state.SetItemsProcessed(state.iterations() * count);
}
BENCHMARK(AddToPointerList)->Range(64, 1 << 18);

// Formatting a short text, as every parameter display does once per change.
static void FormatShortText(benchmark::State& state)
{
  pfw::GrowString text;
  double value = 0.0;
  for (auto _ : state)
  {
    text.SetFormatted(31, "%+.*f", 2, value);
    value += 0.25;
    benchmark::DoNotOptimize(text.Get());
  }
}
BENCHMARK(FormatShortText);
