#include "RecordingPlugin.h"

#include "framework/core/ParamChangeSource.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <string>

using pfw::IDataChunk;

namespace {

class StatePlugin : public RecordingPlugin
{
public:
  explicit StatePlugin(int nParams = 84, int nPresets = 40)
    : RecordingPlugin(Config(nParams, nPresets))
  {
    for (int i = 0; i < NParams(); ++i)
      GetParam(i)->InitDouble("p", 0.5, -100, 100, 0.01);
  }
  void OnParamReset(int source) override
  {
    resets.push_back(source);
    RecordingPlugin::OnParamReset(source);
  }
  std::vector<int> resets;
};

} // namespace

TEST(PluginBase, ParametersRoundTripAsDoubles)
{
  StatePlugin writer;
  for (int i = 0; i < 84; ++i)
    writer.GetParam(i)->Set(i * 1.25 - 50.0);
  IDataChunk chunk;
  chunk.Put(int32_t{7}); // something the caller wrote first
  ASSERT_TRUE(writer.SerializeState(chunk));
  EXPECT_EQ(chunk.Size(), 4 + 672);
  double first = 0;
  chunk.Get(first, 4);
  EXPECT_EQ(first, -50.0);

  StatePlugin reader;
  EXPECT_EQ(reader.UnserializeState(chunk, 4), 676);
  for (int i = 0; i < 84; ++i)
    ASSERT_EQ(reader.GetParam(i)->Value(), i * 1.25 - 50.0);
  EXPECT_EQ(reader.resets, (std::vector<int>{pfw::kPresetRecall}));
  EXPECT_EQ(reader.hooks.size(), 84u) << "the reset reaches every parameter's hook";

  chunk.Put(int32_t{99});
  EXPECT_EQ(reader.UnserializeParams(chunk, 4), 676) << "bytes after the parameters are left for the caller";
}

TEST(PluginBase, AShortChunkKeepsTheLeadingValues)
{
  StatePlugin writer;
  for (int i = 0; i < 84; ++i)
    writer.GetParam(i)->Set(i);
  IDataChunk full;
  ASSERT_TRUE(writer.SerializeParams(full));
  IDataChunk chunk;
  chunk.PutBytes(full.GetData(), 671);

  StatePlugin reader;
  EXPECT_EQ(reader.UnserializeParams(chunk, 0), -1);
  for (int i = 0; i < 83; ++i)
    ASSERT_EQ(reader.GetParam(i)->Value(), i);
  EXPECT_EQ(reader.GetParam(83)->Value(), 0.5) << "the short last value is not read";
  EXPECT_EQ(reader.resets, (std::vector<int>{pfw::kPresetRecall}));

  EXPECT_EQ(reader.UnserializeParams(chunk, -1), -1) << "a failed earlier read reads nothing";
  EXPECT_EQ(reader.UnserializeParams(chunk, -7), -7);
  EXPECT_EQ(reader.UnserializeParams(chunk, 10000), -1);
}

TEST(PluginBase, StoredValuesAreConstrained)
{
  StatePlugin reader(4, 0);
  reader.GetParam(3)->InitInt("Mode", 1, 0, 3);
  IDataChunk chunk;
  chunk.Put(1000.0);
  chunk.Put(std::numeric_limits<double>::quiet_NaN());
  chunk.Put(-std::numeric_limits<double>::infinity());
  chunk.Put(2.4);
  EXPECT_EQ(reader.UnserializeParams(chunk, 0), 32);
  EXPECT_EQ(reader.GetParam(0)->Value(), 100.0) << "above the maximum gives the maximum";
  EXPECT_EQ(reader.GetParam(1)->Value(), 0.5) << "NaN gives the default";
  EXPECT_EQ(reader.GetParam(2)->Value(), -100.0);
  EXPECT_EQ(reader.GetParam(3)->Value(), 2.0) << "stepped values round";

  IDataChunk saved;
  ASSERT_TRUE(reader.SerializeParams(saved));
  StatePlugin again(4, 0);
  again.GetParam(3)->InitInt("Mode", 1, 0, 3);
  EXPECT_EQ(again.UnserializeParams(saved, 0), 32) << "what was restored can be saved and restored again";
}

TEST(PluginBase, EmptyParameterListSerialisesToNothing)
{
  StatePlugin plugin(0, 0);
  IDataChunk chunk;
  EXPECT_TRUE(plugin.SerializeParams(chunk));
  EXPECT_EQ(chunk.Size(), 0);
  EXPECT_EQ(plugin.UnserializeParams(chunk, 0), 0);
}

TEST(PluginBase, PresetSlotsFillInOrderUntilFull)
{
  StatePlugin plugin(2, 40);
  ASSERT_EQ(plugin.NPresets(), 40);
  EXPECT_STREQ(plugin.GetPreset(0)->name, "empty");
  EXPECT_FALSE(plugin.GetPreset(39)->initialized);
  IDataChunk chunk;
  chunk.PutBytes("QTTW", 4);
  for (int i = 0; i < 40; ++i)
    EXPECT_TRUE(plugin.MakePresetFromChunk(("Recipe " + std::to_string(i)).c_str(), chunk));
  EXPECT_FALSE(plugin.MakePresetFromChunk("One too many", chunk));
  EXPECT_STREQ(plugin.GetPreset(39)->name, "Recipe 39");
  EXPECT_TRUE(plugin.GetPreset(39)->initialized);
  EXPECT_EQ(plugin.GetPreset(0)->state.Size(), 4);
  EXPECT_EQ(std::memcmp(plugin.GetPreset(0)->state.GetData(), "QTTW", 4), 0);
  for (int i = 0; i < 40; ++i)
    EXPECT_STRNE(plugin.GetPreset(i)->name, "One too many");
  EXPECT_EQ(plugin.GetPreset(40), nullptr);

  const std::string longName(400, 'L');
  StatePlugin other(1, 1);
  other.MakePresetFromChunk(longName.c_str(), chunk);
  EXPECT_EQ(std::strlen(other.GetPreset(0)->name), 255u);
}

namespace {

class PresetPlugin : public StatePlugin
{
public:
  PresetPlugin()
    : StatePlugin(2, 5)
  {
  }
  void OnCurrentPresetChanged() override { calls.push_back("preset " + std::to_string(GetCurrentPresetIdx())); }
  void OnRestoreState() override { calls.push_back("restore"); }
};

} // namespace

TEST(PluginBase, RestoringAPresetLoadsItOrMakesTheNextUserPreset)
{
  PresetPlugin plugin;
  plugin.GetParam(0)->Set(10.0);
  plugin.GetParam(1)->Set(20.0);
  IDataChunk chunk;
  ASSERT_TRUE(plugin.SerializeState(chunk));
  ASSERT_TRUE(plugin.MakePresetFromChunk("Recipe", chunk));
  EXPECT_STREQ(plugin.GetPresetName(0), "Recipe");
  EXPECT_STREQ(plugin.GetPresetName(5), "");
  EXPECT_STREQ(plugin.GetPresetName(-1), "");
  EXPECT_FALSE(plugin.RestorePreset(5));
  EXPECT_FALSE(plugin.RestorePreset(-1));
  EXPECT_TRUE(plugin.calls.empty());

  // Empty slots take the current state under the next free user-preset number.
  plugin.GetParam(0)->Set(-30.0);
  ASSERT_TRUE(plugin.RestorePreset(3));
  ASSERT_TRUE(plugin.RestorePreset(1));
  EXPECT_STREQ(plugin.GetPresetName(3), "user preset 1");
  EXPECT_STREQ(plugin.GetPresetName(1), "user preset 2");
  ASSERT_TRUE(plugin.RestorePreset(4));
  EXPECT_STREQ(plugin.GetPresetName(4), "user preset 3");
  EXPECT_EQ(plugin.GetPreset(4)->state.Size(), 16);
  EXPECT_EQ(plugin.GetCurrentPresetIdx(), 4);

  // A filled slot is loaded; its state replaces the current values.
  plugin.calls.clear();
  ASSERT_TRUE(plugin.RestorePreset(0));
  EXPECT_EQ(plugin.GetParam(0)->Value(), 10.0);
  EXPECT_EQ(plugin.GetParam(1)->Value(), 20.0);
  EXPECT_EQ(plugin.calls, (std::vector<std::string>{"preset 0", "restore"}));
  ASSERT_TRUE(plugin.RestorePreset(3));
  EXPECT_EQ(plugin.GetParam(0)->Value(), -30.0);

  // A slot whose chunk cannot be read fails and stays out of the current preset.
  plugin.GetPreset(2)->initialized = true;
  plugin.calls.clear();
  EXPECT_FALSE(plugin.RestorePreset(2));
  EXPECT_EQ(plugin.GetCurrentPresetIdx(), 3);
  EXPECT_TRUE(plugin.calls.empty());
}

TEST(PluginBase, VersionPackedAndDecimal)
{
  pfw::IPluginConfig config = RecordingPlugin::Config();
  config.vendorVersion = (1 << 16) | (2 << 8) | 3;
  RecordingPlugin plugin(config);
  EXPECT_EQ(plugin.GetPluginVersion(false), 65536 + 512 + 3);
  EXPECT_EQ(plugin.GetPluginVersion(true), 10203);
  config.vendorVersion = 256;
  RecordingPlugin product(config);
  EXPECT_EQ(product.GetPluginVersion(true), 100);
}
