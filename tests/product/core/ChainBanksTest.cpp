#include "product/core/ChainBanks.h"
#include "product/core/ChainState.h"
#include "product/core/FactoryRecipes.h"
#include "product/core/ParamSpecTable.h"
#include "tests/support/LittleEndianBytes.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <atomic>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <thread>
#include <vector>

namespace {

// Stands in for the plug-in: holds the parameter values, constrains what is set and counts
// how the values were set.
class FakePlugin : public ChainParamAccess
{
public:
  FakePlugin()
  {
    for (int i = 0; i < kNumParams; ++i)
      values[i].store(ParamSpecTable::kDefaults[i]);
  }

  double GetCurrentParamValue(int index) const override { return values[index].load(); }

  void SetAllParamValues(const float newValues[kNumParams], bool notifyHost) override
  {
    for (int i = 0; i < kNumParams; ++i)
    {
      double value = std::clamp(static_cast<double>(newValues[i]),
                                static_cast<double>(ParamSpecTable::kMinimums[i]),
                                static_cast<double>(ParamSpecTable::kMaximums[i]));
      if (IsDiscreteParam(i))
        value = std::round(value);
      values[i].exchange(value);
    }
    ++setAllCalls;
    if (notifyHost)
      ++hostNotifiedCalls;
  }

  std::atomic<double> values[kNumParams];
  std::atomic<int> setAllCalls{0};
  std::atomic<int> hostNotifiedCalls{0};
};

void ExpectParamsEqual(const FakePlugin& plugin, const float expected[kNumParams])
{
  for (int i = 0; i < kNumParams; ++i)
    EXPECT_EQ(static_cast<float>(plugin.values[i].load()), expected[i]) << "parameter " << i;
}

void ExpectOtherBankEquals(const ChainBanks& banks, const float expected[kNumParams])
{
  for (int i = 0; i < kNumParams; ++i)
    EXPECT_EQ(banks.GetOtherBankValue(i), expected[i]) << "other bank " << i;
}

std::vector<uint8_t> Bytes(const pfw::IDataChunk& chunk)
{
  return std::vector<uint8_t>(chunk.GetData(), chunk.GetData() + chunk.Size());
}

using Record = std::array<uint8_t, 692>;

void PutInt32At(Record& bytes, size_t offset, int32_t value)
{
  const uint32_t bits = static_cast<uint32_t>(value);
  for (int b = 0; b < 4; ++b)
    bytes[offset + b] = static_cast<uint8_t>(bits >> (8 * b));
}

void PutFloatAt(Record& bytes, size_t offset, float value)
{
  int32_t bits;
  std::memcpy(&bits, &value, 4);
  PutInt32At(bytes, offset, bits);
}

} // namespace

TEST(ChainBanks, StartsOnBankAWithRecipeZeroMatched)
{
  FakePlugin plugin;
  ChainBanks banks(plugin);
  EXPECT_EQ(banks.GetRecipeIndex(), 0);
  EXPECT_FALSE(banks.IsBankBActive());
  EXPECT_EQ(banks.GetOtherBankValue(kParamMix), 0.0f);
  EXPECT_EQ(banks.GetOtherBankValue(-1), 0.0f);
  EXPECT_EQ(banks.GetOtherBankValue(84), 0.0f);
  EXPECT_EQ(banks.FindMatchingRecipe(), 0);
}

TEST(ChainBanks, ApplyingEveryRecipeIsRecognisedAndNotifiesTheHost)
{
  FakePlugin plugin;
  ChainBanks banks(plugin);
  banks.CopyToOtherBank();
  for (int r = 0; r < kNumFactoryRecipes; ++r)
  {
    banks.ApplyRecipe(r);
    EXPECT_EQ(banks.GetRecipeIndex(), r);
    EXPECT_EQ(banks.FindMatchingRecipe(), r) << FactoryRecipes()[r].name;
    ExpectParamsEqual(plugin, FactoryRecipes()[r].values);
  }
  EXPECT_EQ(plugin.hostNotifiedCalls.load(), kNumFactoryRecipes);
  // The banks are not touched.
  EXPECT_FALSE(banks.IsBankBActive());
  ExpectOtherBankEquals(banks, ParamSpecTable::kDefaults);
}

TEST(ChainBanks, ApplyRecipeOutsideTheTableDoesNothing)
{
  FakePlugin plugin;
  ChainBanks banks(plugin);
  banks.ApplyRecipe(2);
  EXPECT_EQ(banks.FindMatchingRecipe(), 2);
  banks.ApplyRecipe(40);
  banks.ApplyRecipe(-1);
  EXPECT_EQ(plugin.setAllCalls.load(), 1);
  EXPECT_EQ(banks.GetRecipeIndex(), 2);

  plugin.values[kParamAmpGain].store(plugin.values[kParamAmpGain].load() + 0.5);
  EXPECT_EQ(banks.FindMatchingRecipe(), -1);
}

TEST(ChainBanks, CopyThenSwitchKeepsTheSettingsAndFlipsTheBank)
{
  FakePlugin plugin;
  ChainBanks banks(plugin);
  banks.ApplyRecipe(33);
  banks.CopyToOtherBank();
  ExpectOtherBankEquals(banks, FactoryRecipes()[33].values);
  EXPECT_EQ(plugin.setAllCalls.load(), 1); // COPY sets no parameter

  banks.SwitchBank();
  EXPECT_TRUE(banks.IsBankBActive());
  ExpectParamsEqual(plugin, FactoryRecipes()[33].values);
  ExpectOtherBankEquals(banks, FactoryRecipes()[33].values);
  EXPECT_EQ(banks.GetRecipeIndex(), 33);
}

TEST(ChainBanks, SwitchingTwiceRestoresBothBanks)
{
  FakePlugin plugin;
  ChainBanks banks(plugin);
  banks.ApplyRecipe(5);
  banks.CopyToOtherBank();           // B = recipe 5
  banks.ApplyRecipe(39);             // A = recipe 39
  plugin.values[kParamOutputPan].store(-37.25);
  float bankA[kNumParams];
  std::memcpy(bankA, FactoryRecipes()[39].values, sizeof(bankA));
  bankA[kParamOutputPan] = -37.25f;

  banks.SwitchBank();
  EXPECT_TRUE(banks.IsBankBActive());
  ExpectParamsEqual(plugin, FactoryRecipes()[5].values);
  ExpectOtherBankEquals(banks, bankA);
  EXPECT_EQ(plugin.hostNotifiedCalls.load(), 3);

  banks.SwitchBank();
  EXPECT_FALSE(banks.IsBankBActive());
  ExpectParamsEqual(plugin, bankA);
  ExpectOtherBankEquals(banks, FactoryRecipes()[5].values);
  EXPECT_EQ(banks.GetRecipeIndex(), 39);
}

TEST(ChainBanks, SavedStateDecodesFieldByField)
{
  FakePlugin plugin;
  ChainBanks banks(plugin);
  banks.ApplyRecipe(34);
  banks.CopyToOtherBank();
  banks.ApplyRecipe(21);
  banks.SwitchBank(); // current = recipe 34, other = recipe 21, bank B
  plugin.values[kParamMix].store(62.5);

  pfw::IDataChunk chunk;
  ASSERT_TRUE(banks.SerializeState(chunk));
  ASSERT_EQ(chunk.Size(), 692);
  const uint8_t* bytes = chunk.GetData();
  EXPECT_EQ(std::memcmp(bytes, "QTTW", 4), 0);
  EXPECT_EQ(Int32At(bytes, 4), 1);
  EXPECT_EQ(Int32At(bytes, 8), 84);
  for (int i = 0; i < kNumParams; ++i)
  {
    const float expectedCurrent = i == kParamMix ? 62.5f : FactoryRecipes()[34].values[i];
    EXPECT_EQ(FloatAt(bytes, 12 + 4 * i), expectedCurrent) << i;
    EXPECT_EQ(FloatAt(bytes, 348 + 4 * i), FactoryRecipes()[21].values[i]) << i;
  }
  EXPECT_EQ(Int32At(bytes, 684), 21);
  EXPECT_EQ(Int32At(bytes, 688), 1);
}

TEST(ChainBanks, StateRoundTripsIntoAFreshObject)
{
  FakePlugin source;
  ChainBanks sourceBanks(source);
  sourceBanks.ApplyRecipe(12);
  sourceBanks.CopyToOtherBank();
  sourceBanks.ApplyRecipe(38);
  source.values[kParamStereoWidth].store(187.5);
  sourceBanks.SwitchBank();
  sourceBanks.SwitchBank();
  sourceBanks.SwitchBank();
  pfw::IDataChunk chunk;
  ASSERT_TRUE(sourceBanks.SerializeState(chunk));

  FakePlugin target;
  ChainBanks targetBanks(target);
  EXPECT_EQ(targetBanks.UnserializeState(chunk, 0), 692);
  for (int i = 0; i < kNumParams; ++i)
  {
    EXPECT_EQ(target.values[i].load(), source.values[i].load()) << i;
    EXPECT_EQ(targetBanks.GetOtherBankValue(i), sourceBanks.GetOtherBankValue(i)) << i;
  }
  EXPECT_EQ(targetBanks.GetRecipeIndex(), 38);
  EXPECT_TRUE(targetBanks.IsBankBActive());
  EXPECT_EQ(target.hostNotifiedCalls.load(), 0); // restoring does not notify the host
  EXPECT_EQ(target.setAllCalls.load(), 1);

  // A record after other data is read from its start position.
  pfw::IDataChunk prefixed;
  prefixed.PutBytes("header", 6);
  prefixed.PutChunk(chunk);
  FakePlugin third;
  ChainBanks thirdBanks(third);
  EXPECT_EQ(thirdBanks.UnserializeState(prefixed, 6), 698);
  EXPECT_EQ(thirdBanks.GetRecipeIndex(), 38);
}

TEST(ChainBanks, SavingMakesNonFiniteValuesLoadable)
{
  FakePlugin plugin;
  ChainBanks banks(plugin);
  plugin.values[kParamMix].store(std::numeric_limits<double>::quiet_NaN());
  plugin.values[kParamOutputPan].store(1e300); // beyond float range
  banks.CopyToOtherBank();                     // the other bank takes them too

  pfw::IDataChunk chunk;
  ASSERT_TRUE(banks.SerializeState(chunk));
  EXPECT_EQ(FloatAt(chunk.GetData(), 12 + 4 * kParamMix), 100.0f);
  EXPECT_EQ(FloatAt(chunk.GetData(), 12 + 4 * kParamOutputPan), 100.0f);
  EXPECT_EQ(FloatAt(chunk.GetData(), 348 + 4 * kParamMix), 100.0f);

  FakePlugin target;
  ChainBanks targetBanks(target);
  EXPECT_EQ(targetBanks.UnserializeState(chunk, 0), 692);
}

// Every malformed record is refused and leaves the parameters, the other bank, the recipe
// index and the bank flag exactly as they were.
TEST(ChainBanks, MalformedStateIsRefusedAndChangesNothing)
{
  FakePlugin writer;
  ChainBanks writerBanks(writer);
  writerBanks.ApplyRecipe(30);
  writerBanks.CopyToOtherBank();
  pfw::IDataChunk valid;
  ASSERT_TRUE(writerBanks.SerializeState(valid));
  const std::vector<uint8_t> good = Bytes(valid);

  struct Case
  {
    const char* what;
    std::vector<uint8_t> bytes;
    int start;
  };
  std::vector<Case> cases;
  auto patched = [&](const char* what, auto patch) {
    Record bytes;
    ASSERT_EQ(good.size(), bytes.size());
    std::copy(good.begin(), good.end(), bytes.begin());
    patch(bytes);
    cases.push_back({what, std::vector<uint8_t>(bytes.begin(), bytes.end()), 0});
  };
  const float nan = std::numeric_limits<float>::quiet_NaN();
  const float inf = std::numeric_limits<float>::infinity();

  cases.push_back({"empty", {}, 0});
  cases.push_back({"one byte short", std::vector<uint8_t>(good.begin(), good.end() - 1), 0});
  {
    std::vector<uint8_t> longer = good;
    longer.push_back(0);
    cases.push_back({"one byte extra", longer, 0});
  }
  cases.push_back({"negative start", good, -1});
  cases.push_back({"start past the end", good, 693});
  cases.push_back({"start inside the record", good, 4});
  patched("magic", [](auto& b) { b[3] = 'X'; });
  patched("lower-case magic", [](auto& b) { b[0] = 'q'; });
  patched("version 0", [](auto& b) { PutInt32At(b, 4, 0); });
  patched("version 2", [](auto& b) { PutInt32At(b, 4, 2); });
  patched("count 83", [](auto& b) { PutInt32At(b, 8, 83); });
  patched("count 85", [](auto& b) { PutInt32At(b, 8, 85); });
  patched("recipe 40", [](auto& b) { PutInt32At(b, 684, 40); });
  patched("recipe -1", [](auto& b) { PutInt32At(b, 684, -1); });
  patched("bank 2", [](auto& b) { PutInt32At(b, 688, 2); });
  patched("bank -1", [](auto& b) { PutInt32At(b, 688, -1); });
  patched("current NaN", [&](auto& b) { PutFloatAt(b, 12 + 4 * kParamMix, nan); });
  patched("other NaN", [&](auto& b) { PutFloatAt(b, 348 + 4 * kParamDelayTime, nan); });
  patched("current infinity", [&](auto& b) { PutFloatAt(b, 12 + 4 * kParamOutput, inf); });
  patched("pedal type 3.5", [](auto& b) { PutFloatAt(b, 12 + 4 * kParamPedalType, 3.5f); });
  patched("gate threshold -91", [](auto& b) { PutFloatAt(b, 12 + 4 * kParamGateThreshold, -91.0f); });
  patched("other eq-lp above range", [](auto& b) { PutFloatAt(b, 348 + 4 * kParamEqLp, 20001.0f); });
  patched("other switch 0.5", [](auto& b) { PutFloatAt(b, 348 + 4 * kParamBypass, 0.5f); });
  patched("last value below range", [](auto& b) { PutFloatAt(b, 348 + 4 * kParamOutputPan, -101.0f); });

  for (const Case& c : cases)
  {
    SCOPED_TRACE(c.what);
    FakePlugin plugin;
    ChainBanks banks(plugin);
    banks.ApplyRecipe(7);
    banks.CopyToOtherBank();
    banks.ApplyRecipe(24);
    banks.SwitchBank(); // current = 7, other = 24, bank B, recipe 24
    const int callsBefore = plugin.setAllCalls.load();

    pfw::IDataChunk chunk;
    if (!c.bytes.empty())
      chunk.PutBytes(c.bytes.data(), static_cast<int>(c.bytes.size()));
    EXPECT_EQ(banks.UnserializeState(chunk, c.start), -1);

    EXPECT_EQ(plugin.setAllCalls.load(), callsBefore);
    ExpectParamsEqual(plugin, FactoryRecipes()[7].values);
    ExpectOtherBankEquals(banks, FactoryRecipes()[24].values);
    EXPECT_EQ(banks.GetRecipeIndex(), 24);
    EXPECT_TRUE(banks.IsBankBActive());
  }

  // The untouched record itself is accepted, so the refusals above are due to the patches.
  FakePlugin plugin;
  ChainBanks banks(plugin);
  EXPECT_EQ(banks.UnserializeState(valid, 0), 692);
  EXPECT_EQ(banks.GetRecipeIndex(), 30);
}

// A save racing with A/B from another thread must always hold both banks, never one twice.
TEST(ChainBanks, SaveDuringBankSwitchesKeepsBothBanks)
{
  FakePlugin plugin;
  ChainBanks banks(plugin);
  banks.ApplyRecipe(1);
  banks.CopyToOtherBank();
  banks.ApplyRecipe(28);
  const float gainA = FactoryRecipes()[28].values[kParamAmpGain];
  const float gainB = FactoryRecipes()[1].values[kParamAmpGain];
  ASSERT_NE(gainA, gainB);

  std::atomic<bool> stop{false};
  std::thread switcher([&] {
    while (!stop.load())
      banks.SwitchBank();
  });
  int mixedSaves = 0;
  for (int n = 0; n < 2000; ++n)
  {
    pfw::IDataChunk chunk;
    ASSERT_TRUE(banks.SerializeState(chunk));
    const float current = FloatAt(chunk.GetData(), 12 + 4 * kParamAmpGain);
    const float other = FloatAt(chunk.GetData(), 348 + 4 * kParamAmpGain);
    const bool bankB = Int32At(chunk.GetData(), 688) == 1;
    if (current == other || current != (bankB ? gainB : gainA))
      ++mixedSaves;
  }
  stop.store(true);
  switcher.join();
  EXPECT_EQ(mixedSaves, 0);
}
