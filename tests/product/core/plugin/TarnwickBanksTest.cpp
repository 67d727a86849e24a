#include "TarnwickTestSupport.h"

#include "product/core/FactoryRecipes.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>
#include <vector>

using namespace tarnwick_test;

namespace {

// The host must hear every parameter inside its own begin, perform, end gesture, in
// parameter order, with the parameter's new normalised value.
void ExpectGesturesForAllParams(const std::vector<IPluginTestWrapper::HostEdit>& edits, const Tarnwick& plugin)
{
  using Edit = IPluginTestWrapper::HostEdit;
  ASSERT_EQ(edits.size(), static_cast<size_t>(3 * kNumParams));
  for (int i = 0; i < kNumParams; ++i)
  {
    EXPECT_EQ(edits[3 * i].kind, Edit::kBegin);
    EXPECT_EQ(edits[3 * i + 1].kind, Edit::kPerform);
    EXPECT_EQ(edits[3 * i + 2].kind, Edit::kEnd);
    for (int k = 0; k < 3; ++k)
      EXPECT_EQ(edits[3 * i + k].paramIdx, i);
    EXPECT_EQ(edits[3 * i + 1].normalized, plugin.GetParam(i)->GetNormalized()) << i;
  }
}

void ExpectEditorGotAllParams(const FakeEditorGraphics& editor, const Tarnwick& plugin)
{
  ASSERT_EQ(editor.parameterValues.size(), static_cast<size_t>(kNumParams));
  for (int i = 0; i < kNumParams; ++i)
  {
    EXPECT_EQ(editor.parameterValues[i].first, i);
    EXPECT_EQ(editor.parameterValues[i].second, plugin.GetParam(i)->GetNormalized()) << i;
  }
}

void ExpectParamsEqualRecipe(const Tarnwick& plugin, int recipe)
{
  for (int i = 0; i < kNumParams; ++i)
    EXPECT_EQ(static_cast<float>(plugin.GetParam(i)->Value()), FactoryRecipes()[recipe].values[i]) << i;
}

void ExpectOtherBankEqualsRecipe(const Tarnwick& plugin, int recipe)
{
  for (int i = 0; i < kNumParams; ++i)
    EXPECT_EQ(plugin.Product().GetOtherBankValue(i), FactoryRecipes()[recipe].values[i]) << i;
}

} // namespace

TEST(TarnwickBanks, RecipeTellsHostAndEditorAboutEveryParameter)
{
  auto plugin = MakePlugin();
  FakeEditorGraphics* editor = OpenFakeEditor(*plugin);
  ASSERT_NE(editor, nullptr);
  editor->parameterValues.clear();
  plugin->TakeHostEdits();

  plugin->Product().ApplyRecipe(5);
  ExpectParamsEqualRecipe(*plugin, 5);
  EXPECT_EQ(plugin->Product().GetRecipeIndex(), 5);
  EXPECT_EQ(plugin->Product().FindMatchingRecipe(), 5);
  ExpectGesturesForAllParams(plugin->TakeHostEdits(), *plugin);
  ExpectEditorGotAllParams(*editor, *plugin);
  // The banks are untouched: the other bank still holds the defaults.
  ExpectOtherBankEqualsRecipe(*plugin, 0);
  EXPECT_FALSE(plugin->Product().IsBankBActive());

  // Outside the table nothing happens at all.
  editor->parameterValues.clear();
  plugin->Product().ApplyRecipe(40);
  plugin->Product().ApplyRecipe(-1);
  EXPECT_TRUE(plugin->TakeHostEdits().empty());
  EXPECT_TRUE(editor->parameterValues.empty());
  EXPECT_EQ(plugin->Product().GetRecipeIndex(), 5);
}

TEST(TarnwickBanks, CopyAndSwitchTradeTheBanksWithFullNotification)
{
  auto plugin = MakePlugin();
  FakeEditorGraphics* editor = OpenFakeEditor(*plugin);
  ASSERT_NE(editor, nullptr);
  TarnwickProduct& product = plugin->Product();

  product.ApplyRecipe(28);
  product.CopyToOtherBank();
  ExpectOtherBankEqualsRecipe(*plugin, 28);
  product.ApplyRecipe(5);
  const int64_t tailOfRecipe5 = product.GetTailSamples();
  editor->parameterValues.clear();
  plugin->TakeHostEdits();

  // COPY touches nobody.
  product.CopyToOtherBank();
  EXPECT_TRUE(plugin->TakeHostEdits().empty());
  EXPECT_TRUE(editor->parameterValues.empty());
  ExpectOtherBankEqualsRecipe(*plugin, 5);

  // A/B after COPY keeps the settings and flips the bank.
  product.SwitchBank();
  ExpectParamsEqualRecipe(*plugin, 5);
  EXPECT_TRUE(product.IsBankBActive());
  ExpectGesturesForAllParams(plugin->TakeHostEdits(), *plugin);
  ExpectEditorGotAllParams(*editor, *plugin);

  // Load bank A with something else, then switch back and forth.
  product.ApplyRecipe(33);
  product.SwitchBank();
  EXPECT_FALSE(product.IsBankBActive());
  ExpectParamsEqualRecipe(*plugin, 5);
  ExpectOtherBankEqualsRecipe(*plugin, 33);
  EXPECT_EQ(product.GetTailSamples(), tailOfRecipe5);
  EXPECT_EQ(product.GetRecipeIndex(), 33);

  editor->parameterValues.clear();
  plugin->TakeHostEdits();
  product.SwitchBank();
  EXPECT_TRUE(product.IsBankBActive());
  ExpectParamsEqualRecipe(*plugin, 33);
  ExpectOtherBankEqualsRecipe(*plugin, 5);
  ExpectGesturesForAllParams(plugin->TakeHostEdits(), *plugin);
  ExpectEditorGotAllParams(*editor, *plugin);
}

TEST(TarnwickBanks, SaveDuringBankSwitchesNeverLosesABank)
{
  auto plugin = MakePlugin();
  TarnwickProduct& product = plugin->Product();
  product.ApplyRecipe(1);
  product.CopyToOtherBank();
  product.ApplyRecipe(28);
  const float gainA = FactoryRecipes()[28].values[kParamAmpGain];
  const float gainB = FactoryRecipes()[1].values[kParamAmpGain];
  ASSERT_NE(gainA, gainB);

  std::atomic<bool> stop{false};
  std::atomic<int> switches{0};
  std::thread editorThread([&] {
    while (!stop.load())
    {
      product.SwitchBank();
      plugin->TakeHostEdits();
      ++switches;
    }
  });
  int brokenSaves = 0;
  for (int n = 0; n < 1000 || switches.load() < 50; ++n)
  {
    pfw::IDataChunk chunk;
    ASSERT_TRUE(plugin->SerializeState(chunk));
    const uint8_t* bytes = chunk.GetData();
    const float current = FloatAt(bytes, 12 + 4 * kParamAmpGain);
    const float other = FloatAt(bytes, 348 + 4 * kParamAmpGain);
    const bool bankB = Int32At(bytes, 688) == 1;
    if (current == other || current != (bankB ? gainB : gainA))
      ++brokenSaves;
  }
  stop.store(true);
  editorThread.join();
  EXPECT_EQ(brokenSaves, 0);
  EXPECT_GE(switches.load(), 50);
}
