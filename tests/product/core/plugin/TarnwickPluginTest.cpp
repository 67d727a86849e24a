#include "TarnwickTestSupport.h"

#include "product/core/AmpEngine.h"
#include "product/core/FactoryRecipes.h"
#include "product/core/ParamSpecTable.h"
#include "product/core/TailLength.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cmath>
#include <set>
#include <thread>
#include <vector>

using namespace tarnwick_test;

TEST(TarnwickPlugin, CarriesItsIdentityAndLayout)
{
  auto plugin = MakePlugin();
  ASSERT_TRUE(plugin);
  EXPECT_STREQ(plugin->GetPluginName(), "TARN WICK");
  EXPECT_STREQ(plugin->GetProductName(), "TARN WICK");
  EXPECT_STREQ(plugin->GetMfrName(), "QUILLTONE");
  EXPECT_EQ(plugin->GetPluginVersion(false), 256);
  EXPECT_EQ(plugin->GetPluginVersion(true), 100);
  EXPECT_EQ(plugin->GetUniqueID(), ('T' << 24) | ('a' << 16) | ('r' << 8) | 'n');
  EXPECT_EQ(plugin->GetMfrID(), ('Q' << 24) | ('l' << 16) | ('t' << 8) | 'n');
  EXPECT_TRUE(plugin->DoesStateChunks());
  EXPECT_TRUE(plugin->HasUI());
  EXPECT_TRUE(plugin->GetHostResizeEnabled());
  EXPECT_EQ(plugin->GetLatency(), 48);
  EXPECT_EQ(plugin->GetPlugType(), 0);
  EXPECT_FALSE(plugin->DoesMidiIn() || plugin->DoesMidiOut() || plugin->DoesMPE());
  EXPECT_EQ(plugin->GetEditorWidth(), 1180);
  EXPECT_EQ(plugin->GetEditorHeight(), 800);
  EXPECT_EQ(plugin->GetMinWidth(), 393);
  EXPECT_EQ(plugin->GetMaxWidth(), 3540);
  EXPECT_EQ(plugin->GetMinHeight(), 266);
  EXPECT_EQ(plugin->GetMaxHeight(), 2400);
  // A main bus and a side-chain bus of up to two channels each, two outputs.
  EXPECT_EQ(plugin->NIOConfigs(), 9);
  EXPECT_EQ(plugin->NChannels(pfw::kInput), 4);
  EXPECT_EQ(plugin->NChannels(pfw::kOutput), 2);
  EXPECT_EQ(plugin->NParams(), kNumParams);
}

TEST(TarnwickPlugin, ParametersFollowTheTable)
{
  auto plugin = MakePlugin();
  for (int i = 0; i < kNumParams; ++i)
  {
    const pfw::IParam* param = plugin->GetParam(i);
    SCOPED_TRACE(i);
    EXPECT_STREQ(param->GetName(), ParamSpecTable::kNames[i]);
    EXPECT_STREQ(param->GetLabel(), ParamSpecTable::kLabels[i]);
    EXPECT_STREQ(param->GetGroup(), "");
    EXPECT_EQ(param->GetMin(), static_cast<double>(ParamSpecTable::kMinimums[i]));
    EXPECT_EQ(param->GetMax(), static_cast<double>(ParamSpecTable::kMaximums[i]));
    EXPECT_EQ(param->Value(), static_cast<double>(ParamSpecTable::kDefaults[i]));
    EXPECT_EQ(param->GetUnit(), 21);
    if (IsDiscreteParam(i))
    {
      EXPECT_EQ(param->GetType(), pfw::IParam::kTypeInt);
      EXPECT_TRUE(param->GetStepped());
      const int low = static_cast<int>(param->GetMin());
      const int high = static_cast<int>(param->GetMax());
      ASSERT_EQ(param->NDisplayTexts(), high - low + 1);
      for (int v = low; v <= high; ++v)
        EXPECT_STREQ(param->GetDisplayText(v), ParamValueName(i, v));
    }
    else
    {
      EXPECT_EQ(param->GetType(), pfw::IParam::kTypeDouble);
      EXPECT_FALSE(param->GetStepped());
      EXPECT_EQ(param->NDisplayTexts(), 0);
      EXPECT_EQ(param->GetShape().GetShapeKind(), IsLogScaledParam(i) ? 1 : 0);
      EXPECT_EQ(param->GetDisplayPrecision(), IsLogScaledParam(i) ? 3 : 2);
    }
  }
  EXPECT_EQ(plugin->GetParam(kParamBypass)->NDisplayTexts(), 2);
  EXPECT_STREQ(plugin->GetParam(kParamBypass)->GetDisplayText(1), "On");
  EXPECT_EQ(plugin->GetParam(kParamPedalType)->NDisplayTexts(), 16);
}

TEST(TarnwickPlugin, GateAttackKeepsTheWidenedFloatMinimum)
{
  auto plugin = MakePlugin();
  const pfw::IParam* attack = plugin->GetParam(kParamGateAttack);
  EXPECT_EQ(attack->GetMin(), 0.10000000149011612);
  EXPECT_EQ(attack->FromNormalized(0.0), 0.10000000149011612);
  EXPECT_NEAR(attack->FromNormalized(1.0), 50.0, 1e-9);
  // Geometric in between.
  EXPECT_NEAR(attack->FromNormalized(0.5), std::sqrt(0.10000000149011612 * 50.0), 1e-9);
}

TEST(TarnwickPlugin, FactoryPresetsHoldEachRecipeAsAStateRecord)
{
  auto plugin = MakePlugin();
  ASSERT_EQ(plugin->NPresets(), kNumFactoryRecipes);
  for (int i = 0; i < kNumFactoryRecipes; ++i)
  {
    SCOPED_TRACE(i);
    const FactoryRecipe& recipe = FactoryRecipes()[i];
    const pfw::IPresetSlot* preset = plugin->GetPreset(i);
    EXPECT_TRUE(preset->initialized);
    EXPECT_STREQ(preset->name, recipe.name);
    ASSERT_EQ(preset->state.Size(), 692);
    const uint8_t* bytes = preset->state.GetData();
    EXPECT_EQ(std::memcmp(bytes, "QTTW", 4), 0);
    EXPECT_EQ(Int32At(bytes, 4), 1);
    EXPECT_EQ(Int32At(bytes, 8), 84);
    for (int k = 0; k < kNumParams; ++k)
    {
      EXPECT_EQ(FloatAt(bytes, 12 + 4 * k), recipe.values[k]);
      EXPECT_EQ(FloatAt(bytes, 348 + 4 * k), recipe.values[k]);
    }
    EXPECT_EQ(Int32At(bytes, 684), i);
    EXPECT_EQ(Int32At(bytes, 688), 0);
  }
}

TEST(TarnwickPlugin, StartsOnBankAHoldingTheDefaultsTwice)
{
  auto plugin = MakePlugin();
  const TarnwickProduct& product = plugin->Product();
  EXPECT_FALSE(product.IsBankBActive());
  EXPECT_EQ(product.GetRecipeIndex(), 0);
  EXPECT_EQ(product.FindMatchingRecipe(), 0);
  EXPECT_FALSE(product.IsActivated());
  EXPECT_EQ(product.GetProcessingSampleRate(), 48000.0);
  for (int i = 0; i < kNumParams; ++i)
    EXPECT_EQ(product.GetOtherBankValue(i), ParamSpecTable::kDefaults[i]) << i;
}

TEST(TarnwickPlugin, StateRoundTripsIntoAFreshObject)
{
  auto source = MakePlugin();
  source->Product().ApplyRecipe(21);
  source->Product().CopyToOtherBank();
  source->Product().ApplyRecipe(39);
  source->Product().SwitchBank();
  pfw::IDataChunk chunk;
  ASSERT_TRUE(source->SerializeState(chunk));
  ASSERT_EQ(chunk.Size(), 692);

  auto target = MakePlugin();
  FakeEditorGraphics* editor = OpenFakeEditor(*target);
  ASSERT_NE(editor, nullptr);
  editor->parameterValues.clear();
  target->TakeHostEdits();
  EXPECT_EQ(target->UnserializeState(chunk, 0), 692);
  for (int i = 0; i < kNumParams; ++i)
  {
    EXPECT_EQ(target->GetParam(i)->Value(), source->GetParam(i)->Value()) << i;
    EXPECT_EQ(target->Product().GetOtherBankValue(i), source->Product().GetOtherBankValue(i)) << i;
  }
  EXPECT_EQ(target->Product().GetRecipeIndex(), 39);
  EXPECT_TRUE(target->Product().IsBankBActive());
  EXPECT_EQ(target->Product().GetTailSamples(), source->Product().GetTailSamples());
  // Restoring tells the editor about every value but the host about none.
  EXPECT_EQ(editor->parameterValues.size(), static_cast<size_t>(kNumParams));
  EXPECT_TRUE(target->TakeHostEdits().empty());

  // A record with one byte too many is refused and changes nothing.
  chunk.Put<uint8_t>(0);
  target->Product().ApplyRecipe(3);
  EXPECT_EQ(target->UnserializeState(chunk, 0), -1);
  EXPECT_EQ(target->Product().FindMatchingRecipe(), 3);
}

TEST(TarnwickPlugin, FactoryBuildsIndependentObjectsFromManyThreadsAtOnce)
{
  constexpr int kThreads = 8;
  std::vector<std::unique_ptr<Tarnwick>> plugins(kThreads);
  std::atomic<int> ready{0};
  std::vector<std::thread> threads;
  for (int t = 0; t < kThreads; ++t)
  {
    threads.emplace_back([&, t] {
      ++ready;
      while (ready.load() < kThreads)
        std::this_thread::yield();
      plugins[t] = MakePlugin();
    });
  }
  for (std::thread& thread : threads)
    thread.join();

  std::set<const Tarnwick*> distinct;
  for (int t = 0; t < kThreads; ++t)
  {
    ASSERT_TRUE(plugins[t]) << t;
    distinct.insert(plugins[t].get());
    EXPECT_EQ(plugins[t]->NParams(), kNumParams);
    EXPECT_EQ(plugins[t]->NPresets(), kNumFactoryRecipes);
    EXPECT_STREQ(plugins[t]->GetPreset(39)->name, FactoryRecipes()[39].name);
    EXPECT_EQ(plugins[t]->Product().FindMatchingRecipe(), 0);
  }
  EXPECT_EQ(distinct.size(), static_cast<size_t>(kThreads));

  // Each object holds its own settings.
  plugins[0]->Product().ApplyRecipe(24);
  EXPECT_EQ(plugins[0]->Product().FindMatchingRecipe(), 24);
  for (int t = 1; t < kThreads; ++t)
    EXPECT_EQ(plugins[t]->Product().FindMatchingRecipe(), 0) << t;
}

TEST(TarnwickPlugin, ActivationAtRateZeroPreparesAt48000)
{
  auto plugin = MakePlugin();
  plugin->SetSampleRate(0.0);
  plugin->OnActivate(true);
  EXPECT_TRUE(plugin->Product().IsActivated());
  EXPECT_EQ(plugin->Product().GetProcessingSampleRate(), 48000.0);
  EXPECT_TRUE(plugin->Product().GetEngine().IsPrepared());
  EXPECT_EQ(plugin->Product().GetEngine().SampleRate(), 48000.0);
  EXPECT_EQ(plugin->latencyReports, std::vector<int>{48});

  plugin->SetSampleRate(std::nan(""));
  plugin->OnReset();
  EXPECT_EQ(plugin->Product().GetProcessingSampleRate(), 48000.0);

  plugin->SetSampleRate(96000.0);
  plugin->OnReset();
  EXPECT_EQ(plugin->Product().GetEngine().SampleRate(), 96000.0);
  EXPECT_EQ(plugin->latencyReports.size(), 3u);

  plugin->OnActivate(false);
  EXPECT_FALSE(plugin->Product().IsActivated());
}

TEST(TarnwickPlugin, TailFollowsEveryKindOfParameterChange)
{
  auto plugin = MakePlugin();
  TarnwickProduct& product = plugin->Product();
  // 48 / 48000 + 0.7 + 1.5 seconds.
  EXPECT_EQ(product.GetTailSamples(), 105648);

  // Host automation reaches the change hook.
  SetParam(*plugin, kParamBypass, 1.0);
  EXPECT_EQ(product.GetTailSamples(), 33648);
  SetParam(*plugin, kParamBypass, 0.0);
  EXPECT_EQ(product.GetTailSamples(), 105648);

  // So does an edit in the editor.
  plugin->SendParameterValueFromUI(kParamMonitor, plugin->GetParam(kParamMonitor)->ToNormalized(1.0));
  EXPECT_EQ(product.GetTailSamples(), 33648);
  plugin->SendParameterValueFromUI(kParamMonitor, 0.0);

  // A recipe, and a reset of all parameters.
  product.ApplyRecipe(39);
  float values[kNumParams];
  for (int i = 0; i < kNumParams; ++i)
    values[i] = static_cast<float>(plugin->GetParam(i)->Value());
  const int64_t echoTail = TailSecondsToSamples(ComputeTailSeconds(values, 48000.0), 48000.0);
  EXPECT_GT(echoTail, 48000 * 20);
  EXPECT_EQ(product.GetTailSamples(), echoTail);
  plugin->GetParam(kParamDelayEnabled)->Set(0.0);
  plugin->OnParamReset(0);
  EXPECT_LT(product.GetTailSamples(), echoTail);

  // The tail is counted at the processing rate.
  product.ApplyRecipe(0);
  plugin->SetSampleRate(96000.0);
  plugin->OnActivate(true);
  EXPECT_EQ(product.GetTailSamples(), 211248);
}

TEST(TarnwickPlugin, ParameterResetSendsNoPerParameterNotifications)
{
  auto plugin = MakePlugin();
  FakeEditorGraphics* editor = OpenFakeEditor(*plugin);
  ASSERT_NE(editor, nullptr);
  editor->parameterValues.clear();
  plugin->OnParamReset(0);
  EXPECT_TRUE(editor->parameterValues.empty());
  EXPECT_TRUE(plugin->TakeHostEdits().empty());
}

TEST(TarnwickPlugin, EditorFollowsItsParentWindowWithinTheScaleLimits)
{
  auto plugin = MakePlugin();
  // A closed editor opens at the scale it takes in the window, and has that size till then.
  plugin->OnParentWindowResize(2000, 1000);
  EXPECT_EQ(plugin->GetEditorWidth(), 1475);
  EXPECT_EQ(plugin->GetEditorHeight(), 1000);

  FakeEditorGraphics* editor = OpenFakeEditor(*plugin);
  ASSERT_NE(editor, nullptr);
  ASSERT_EQ(editor->resizes.size(), 1u);
  EXPECT_FLOAT_EQ(editor->resizes[0].scale, 1.25f);
  editor->resizes.clear();

  // Nor while the editor holds no control yet.
  editor->controlCount = 0;
  plugin->OnParentWindowResize(2000, 1000);
  EXPECT_TRUE(editor->resizes.empty());
  editor->controlCount = 1;

  plugin->OnParentWindowResize(2000, 1000);
  ASSERT_EQ(editor->resizes.size(), 1u);
  EXPECT_EQ(editor->resizes[0].width, 1180);
  EXPECT_EQ(editor->resizes[0].height, 800);
  EXPECT_FLOAT_EQ(editor->resizes[0].scale, 1.25f);
  EXPECT_FALSE(editor->resizes[0].needsPlatformResize);

  plugin->OnParentWindowResize(500, 300);
  ASSERT_EQ(editor->resizes.size(), 2u);
  EXPECT_FLOAT_EQ(editor->resizes[1].scale, 0.85f);
  EXPECT_TRUE(editor->resizes[1].needsPlatformResize);

  plugin->OnParentWindowResize(5000, 5000);
  ASSERT_EQ(editor->resizes.size(), 3u);
  EXPECT_FLOAT_EQ(editor->resizes[2].scale, 1.5f);
  EXPECT_TRUE(editor->resizes[2].needsPlatformResize);

  // On a monitor scaled by 2 the same window holds half the drawing scale.
  editor->platformScale = 2.0f;
  plugin->OnParentWindowResize(4000, 2000);
  ASSERT_EQ(editor->resizes.size(), 4u);
  EXPECT_FLOAT_EQ(editor->resizes[3].scale, 1.25f);

  // Empty windows and unusable platform scales change nothing.
  plugin->OnParentWindowResize(0, 800);
  plugin->OnParentWindowResize(1180, -1);
  editor->platformScale = 0.0f;
  plugin->OnParentWindowResize(1180, 800);
  editor->platformScale = std::nanf("");
  plugin->OnParentWindowResize(1180, 800);
  EXPECT_EQ(editor->resizes.size(), 4u);

  // The window reporting its new size while the editor resizes does not start another.
  editor->platformScale = 1.0f;
  editor->onResize = [&] { plugin->OnParentWindowResize(600, 400); };
  plugin->OnParentWindowResize(1180, 800);
  EXPECT_EQ(editor->resizes.size(), 5u);
}

TEST(TarnwickPlugin, StagesThatAreOffDimTheirParameters)
{
  auto plugin = MakePlugin();
  const TarnwickProduct& product = plugin->Product();
  struct Stage
  {
    int stageSwitch;
    int first;
    int last;
  };
  const Stage stages[] = {{5, 6, 12},   {13, 14, 21}, {22, 23, 36}, {37, 38, 49}, {50, 51, 57},
                          {58, 59, 61}, {62, 63, 67}, {68, 69, 72}, {74, 75, 75}, {77, 78, 78}};
  std::set<int> owned;
  for (const Stage& stage : stages)
  {
    SetParam(*plugin, kParamMicBlend, 50.0);
    SetParam(*plugin, stage.stageSwitch, 0.0);
    for (int i = stage.first; i <= stage.last; ++i)
    {
      EXPECT_TRUE(product.IsParamUnused(i)) << i;
      owned.insert(i);
    }
    EXPECT_FALSE(product.IsParamUnused(stage.stageSwitch));
    SetParam(*plugin, stage.stageSwitch, 1.0);
    for (int i = stage.first; i <= stage.last; ++i)
      EXPECT_FALSE(product.IsParamUnused(i)) << i;
  }
  // Parameters of no stage are never dimmed, whatever is switched off.
  for (const Stage& stage : stages)
    SetParam(*plugin, stage.stageSwitch, 0.0);
  for (int i = 0; i < kNumParams; ++i)
  {
    if (owned.count(i) == 0)
    {
      EXPECT_FALSE(product.IsParamUnused(i)) << i;
    }
  }
  EXPECT_FALSE(product.IsParamUnused(-1));
  EXPECT_FALSE(product.IsParamUnused(kNumParams));

  // The second microphone only matters while it is blended in.
  SetParam(*plugin, kParamCabEnabled, 1.0);
  SetParam(*plugin, kParamMicBlend, 0.0);
  EXPECT_TRUE(product.IsParamUnused(kParamSecondMicType));
  EXPECT_FALSE(product.IsParamUnused(kParamMicType));
  SetParam(*plugin, kParamMicBlend, 10.0);
  EXPECT_FALSE(product.IsParamUnused(kParamSecondMicType));
}
