// Writes valid state records into a folder as the fuzzer's starting corpus: each factory
// recipe on bank A, and pairs of recipes on bank B.
#include "product/core/ChainState.h"
#include "product/core/FactoryRecipes.h"

#include <cstdio>
#include <string>

namespace {

bool WriteFile(const std::string& path, const pfw::IDataChunk& chunk)
{
  FILE* file = std::fopen(path.c_str(), "wb");
  if (!file)
    return false;
  const size_t size = static_cast<size_t>(chunk.Size());
  const bool written = std::fwrite(chunk.GetData(), 1, size, file) == size;
  return std::fclose(file) == 0 && written;
}

} // namespace

int main(int argc, char** argv)
{
  if (argc != 2)
  {
    std::fprintf(stderr, "usage: %s <corpus folder>\n", argv[0]);
    return 2;
  }
  const std::string folder = argv[1];
  const FactoryRecipeTable& recipes = FactoryRecipes();
  for (int r = 0; r < kNumFactoryRecipes; ++r)
  {
    pfw::IDataChunk single;
    pfw::IDataChunk pair;
    const int partner = (r * 7 + 3) % kNumFactoryRecipes;
    if (!WriteChainState(single, recipes[r].values, recipes[r].values, r, false) ||
        !WriteChainState(pair, recipes[r].values, recipes[partner].values, partner, true) ||
        !WriteFile(folder + "/recipe-" + std::to_string(r), single) ||
        !WriteFile(folder + "/pair-" + std::to_string(r), pair))
    {
      std::fprintf(stderr, "cannot write the corpus into %s\n", folder.c_str());
      return 1;
    }
  }
  return 0;
}
