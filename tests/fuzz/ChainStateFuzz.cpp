// Feeds arbitrary bytes to the state reader. A refused record must leave everything as it
// was; an accepted one must hold only usable values and must save back to the same bytes.
#include "product/core/ChainBanks.h"
#include "product/core/ChainState.h"
#include "product/core/FactoryRecipes.h"
#include "product/core/ParamSpecTable.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>

namespace {

class PluginValues : public ChainParamAccess
{
public:
  PluginValues()
  {
    for (int i = 0; i < kNumParams; ++i)
      values[i] = ParamSpecTable::kDefaults[i];
  }

  double GetCurrentParamValue(int index) const override { return values[index]; }

  void SetAllParamValues(const float newValues[kNumParams], bool) override
  {
    for (int i = 0; i < kNumParams; ++i)
      values[i] = newValues[i];
  }

  double values[kNumParams];
};

void Check(bool condition)
{
  if (!condition)
    std::abort();
}

bool SameBits(double a, double b)
{
  return std::memcmp(&a, &b, sizeof(a)) == 0;
}

void ReadAt(const pfw::IDataChunk& chunk, int start)
{
  PluginValues plugin;
  ChainBanks banks(plugin);
  banks.CopyToOtherBank();
  banks.ApplyRecipe(3);

  const int next = banks.UnserializeState(chunk, start);
  if (next < 0)
  {
    Check(next == -1);
    Check(banks.GetRecipeIndex() == 3 && !banks.IsBankBActive());
    for (int i = 0; i < kNumParams; ++i)
    {
      Check(SameBits(plugin.values[i], FactoryRecipes()[3].values[i]));
      Check(banks.GetOtherBankValue(i) == ParamSpecTable::kDefaults[i]);
    }
    return;
  }

  Check(next == start + kChainStateSize && next == chunk.Size());
  float current[kNumParams];
  float other[kNumParams];
  for (int i = 0; i < kNumParams; ++i)
  {
    current[i] = static_cast<float>(plugin.values[i]);
    other[i] = banks.GetOtherBankValue(i);
  }
  Check(ValidateChainValues(current) && ValidateChainValues(other));

  pfw::IDataChunk saved;
  Check(banks.SerializeState(saved));
  Check(saved.Size() == kChainStateSize);
  Check(std::memcmp(saved.GetData(), chunk.GetData() + start, kChainStateSize) == 0);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
  if (size > 4 * kChainStateSize)
    return 0;
  pfw::IDataChunk chunk;
  chunk.PutBytes(data, static_cast<int>(size));
  const int length = chunk.Size();
  ReadAt(chunk, 0);
  ReadAt(chunk, -1);
  ReadAt(chunk, length);
  if (length > kChainStateSize)
    ReadAt(chunk, length - kChainStateSize); // a record behind other data
  return 0;
}
