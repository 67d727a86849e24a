#include "RecordingPlugin.h"

#include "framework/core/HostIdentity.h"
#include "framework/core/ParamChangeSource.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <string>

using pfw::LookUpHost;

namespace {

struct NullTimer : pfw::Timer
{
  void Stop() override {}
};

void Tick(RecordingPlugin& plugin)
{
  NullTimer timer;
  plugin.OnTimer(timer);
}

} // namespace

TEST(HostIdentity, EveryKeywordMapsToItsId)
{
  const struct
  {
    const char* name;
    int id;
  } table[] = {
    {"reaper", 1},         {"protools", 2},          {"cubase", 3},         {"nuendo", 4},
    {"cakewalk", 5},       {"vegas", 6},             {"fruity", 7},         {"samplitude", 8},
    {"live", 9},           {"tracktion", 10},        {"ntracks", 11},       {"melodyne", 12},
    {"vstmanlib", 13},     {"aulab", 14},            {"forte", 15},         {"chainer", 16},
    {"audition", 17},      {"orion", 18},            {"bias", 19},          {"sawstudio", 20},
    {"logic", 21},         {"garageband", 22},       {"digital", 23},       {"audiomulch", 25},
    {"presonus", 26},      {"vst3plugintesthost", 27}, {"ardour", 28},      {"renoise", 29},
    {"openmpt", 30},       {"wavelab elements", 32}, {"wavelab", 31},       {"twistedwave", 33},
    {"bitwig studio", 34}, {"reason", 36},           {"gwvst", 37},         {"waveform", 38},
    {"audacity", 39},      {"acoustica", 40},        {"plugindoctor", 41},  {"izotope rx", 42},
    {"savihost", 43},      {"blue cat's vst host", 44}, {"mixbus", 45},     {"standalone", 24},
    {"www", 35},
  };
  EXPECT_EQ(sizeof(table) / sizeof(table[0]), 45u);
  for (const auto& entry : table)
  {
    EXPECT_EQ(LookUpHost(entry.name), entry.id) << entry.name;
    std::string upper = std::string("My ") + entry.name + " 11";
    for (char& c : upper)
      c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    EXPECT_EQ(LookUpHost(upper.c_str()), entry.id) << upper;
  }
}

TEST(HostIdentity, OrderDecidesOverlappingNames)
{
  EXPECT_EQ(LookUpHost("Ableton Live 11 Suite"), 9);
  EXPECT_EQ(LookUpHost("OLIVE"), 9);
  EXPECT_EQ(LookUpHost("WaveLab Elements 12"), 32);
  EXPECT_EQ(LookUpHost("WaveLab Pro"), 31);
  EXPECT_EQ(LookUpHost("BLUE CAT'S VST HOST"), 44);
  EXPECT_EQ(LookUpHost("Reaper live"), 1) << "an earlier keyword wins";
  EXPECT_EQ(LookUpHost("my standalone"), 24);
  EXPECT_EQ(LookUpHost("www host"), 35);
  EXPECT_EQ(LookUpHost("Digital Performer"), 23);
  EXPECT_EQ(LookUpHost(""), 0);
  EXPECT_EQ(LookUpHost(nullptr), 0);
  EXPECT_EQ(LookUpHost("Unheard Of"), 0);
}

TEST(HostIdentity, LongNamesKeepTheirFirst255Characters)
{
  std::string name(254, 'x');
  name += "reaper";
  EXPECT_EQ(LookUpHost(name.c_str()), 0) << "the keyword lies beyond 255 characters";
  name = std::string(249, 'x') + "reaper";
  EXPECT_EQ(LookUpHost(name.c_str()), 1);
  name = std::string(5000, 'y');
  EXPECT_EQ(LookUpHost(name.c_str()), 0);
}

TEST(PluginAPIBase, ConstructionCopiesTheConfig)
{
  RecordingPlugin plugin;
  EXPECT_STREQ(plugin.GetPluginName(), "TARN WICK");
  EXPECT_STREQ(plugin.GetMfrName(), "QUILLTONE");
  EXPECT_EQ(plugin.GetUniqueID(), 0x5461726E);
  EXPECT_EQ(plugin.GetMfrID(), 'Q' << 24 | 'l' << 16 | 't' << 8 | 'n');
  EXPECT_EQ(plugin.GetAPI(), pfw::kAPIAPP);
  EXPECT_EQ(plugin.GetHost(), -1);
  EXPECT_EQ(plugin.NParams(), 4);
  EXPECT_EQ(plugin.NPresets(), 3);
  EXPECT_TRUE(plugin.DoesStateChunks());
  EXPECT_TRUE(plugin.GetHostResizeEnabled());
  EXPECT_EQ(plugin.GetEditorWidth(), 1180);
  EXPECT_EQ(plugin.GetMinWidth(), 393) << "the smaller of the two widths is the minimum";
  EXPECT_EQ(plugin.GetMaxWidth(), 3540);
  EXPECT_EQ(plugin.GetMaxHeight(), 2400);
  EXPECT_EQ(plugin.GetPluginVersion(false), 0x00010203);
  EXPECT_EQ(plugin.GetPluginVersion(true), 10203);

  pfw::IPluginConfig longName = RecordingPlugin::Config();
  const std::string name(300, 'n');
  longName.pluginName = name.c_str();
  RecordingPlugin cut(longName);
  EXPECT_EQ(std::strlen(cut.GetPluginName()), 128u);
}

TEST(PluginAPIBase, SetHostIdentifiesThenTellsTheProduct)
{
  RecordingPlugin plugin;
  plugin.SetHost("REAPER", (10 << 16) | (2 << 8) | 3);
  EXPECT_EQ(plugin.GetHost(), 1);
  EXPECT_STREQ(plugin.GetHostName(), "REAPER");
  EXPECT_EQ(plugin.GetHostVersion(), 0x000A0203);
  EXPECT_EQ(plugin.calls, (std::vector<std::string>{"prepare 1", "identified"}));
  pfw::GrowString text;
  pfw::IPluginAPIBase::FormatHostVersion(plugin.GetHostVersion(), text);
  EXPECT_STREQ(text.Get(), "v10.2.3");
  plugin.SetHost("standalone", 0);
  EXPECT_EQ(plugin.GetHost(), 24);
}

TEST(PluginAPIBase, EditsFromTheEditorReachTheHostAndTheHooks)
{
  RecordingPlugin plugin;
  plugin.GetParam(2)->InitDouble("Gain", 0, -10, 10, 0.01);
  plugin.BeginParamEditFromUI(2);
  plugin.SendParameterValueFromUI(2, 0.75);
  plugin.EndParamEditFromUI(2);
  EXPECT_DOUBLE_EQ(plugin.GetParam(2)->Value(), 5.0);
  EXPECT_EQ(plugin.calls, (std::vector<std::string>{"begin 2", "end 2"}));
  ASSERT_EQ(plugin.hostEdits.size(), 1u);
  EXPECT_EQ(plugin.hostEdits[0], (std::pair<int, double>{2, 0.75}));
  EXPECT_EQ(plugin.hooks, (std::vector<int>{2}));
  EXPECT_EQ(plugin.changesUI, (std::vector<std::pair<int, int>>{{2, pfw::kUI}}));

  plugin.SendParameterValueFromUI(2, std::numeric_limits<double>::quiet_NaN());
  plugin.SetParameterValue(9, 0.5);
  plugin.SetParameterValue(-1, 0.5);
  EXPECT_DOUBLE_EQ(plugin.GetParam(2)->Value(), 5.0) << "NaN from a host or control is ignored";
  EXPECT_EQ(plugin.hostEdits.size(), 1u);

  plugin.SendAllParamValuesToHost();
  ASSERT_EQ(plugin.hostEdits.size(), 5u);
  EXPECT_EQ(plugin.hostEdits[3], (std::pair<int, double>{2, 0.75}));
}

TEST(PluginAPIBase, EditorResizeAsksTheHostOnlyForAPlatformResize)
{
  RecordingPlugin plugin;
  EXPECT_TRUE(plugin.EditorResizeFromUI(800, 600, false));
  EXPECT_TRUE(plugin.calls.empty());
  EXPECT_FALSE(plugin.EditorResizeFromUI(800, 600, true));
  EXPECT_EQ(plugin.calls, (std::vector<std::string>{"resize 800x600"}));
  plugin.SendArbitraryMsgFromUI(3, 4, 0, nullptr);
  EXPECT_EQ(plugin.calls.back(), "message 3 4");
}

TEST(PluginAPIBase, CompareStateToleratesFloatRounding)
{
  RecordingPlugin plugin(RecordingPlugin::Config(3));
  for (int i = 0; i < 3; ++i)
    plugin.GetParam(i)->InitDouble("p", 0.1 * (i + 1), 0, 1, 0.001);
  const double same[] = {9, 0.1, 0.2, 0.3};
  EXPECT_TRUE(plugin.CompareState(same, 1));
  const double nearly[] = {0.1000001, 0.2, 0.3};
  EXPECT_TRUE(plugin.CompareState(nearly, 0));
  const double differ[] = {0.1, 0.2, 0.31};
  EXPECT_FALSE(plugin.CompareState(differ, 0));
  const double nan[] = {0.1, std::numeric_limits<double>::quiet_NaN(), 0.3};
  EXPECT_FALSE(plugin.CompareState(nan, 0));
  RecordingPlugin empty(RecordingPlugin::Config(0));
  EXPECT_TRUE(empty.CompareState(nullptr, 0));
}

TEST(PluginAPIBase, MidiAndSysExFromTheEditorAreQueuedForTheProcessor)
{
  RecordingPlugin plugin;
  pfw::IMidiEvent event;
  for (int i = 0; i < 40; ++i)
  {
    event.data1 = static_cast<uint8_t>(i);
    plugin.SendMidiMsgFromUI(event);
  }
  EXPECT_EQ(plugin.mMidiMsgsFromEditor.ElementsAvailable(), 32) << "the ring holds 32; the rest are dropped";
  ASSERT_TRUE(plugin.mMidiMsgsFromEditor.Pop(event));
  EXPECT_EQ(event.data1, 0);

  const uint8_t bytes[600] = {0xF0, 1, 2, 3};
  plugin.SendSysexMsgFromUI(pfw::ISysExMessage{5, 4, bytes});
  plugin.QueueSysexMsgFromUI(pfw::ISysExMessage{0, 600, bytes});
  plugin.QueueSysexMsgFromUI(pfw::ISysExMessage{0, 513, bytes});
  plugin.QueueSysexMsgFromUI(pfw::ISysExMessage{0, -1, bytes});
  plugin.QueueSysexMsgFromUI(pfw::ISysExMessage{0, 8, nullptr});
  plugin.QueueSysexMsgFromUI(pfw::ISysExMessage{0, 512, bytes});
  plugin.QueueSysexMsgFromUI(pfw::ISysExMessage{0, 0, nullptr});
  EXPECT_EQ(plugin.mSysExDataFromEditor.ElementsAvailable(), 3) << "over-long, negative and missing data are refused";
  pfw::SysExQueueEntry entry;
  ASSERT_TRUE(plugin.mSysExDataFromEditor.Pop(entry));
  EXPECT_EQ(entry.offset, 5);
  EXPECT_EQ(entry.size, 4);
  EXPECT_EQ(entry.data[0], 0xF0);
  EXPECT_EQ(entry.data[4], 0);
  ASSERT_TRUE(plugin.mSysExDataFromEditor.Pop(entry));
  EXPECT_EQ(entry.size, 512);
  ASSERT_TRUE(plugin.mSysExDataFromEditor.Pop(entry));
  EXPECT_EQ(entry.size, 0);
  for (uint8_t b : entry.data)
    ASSERT_EQ(b, 0) << "a message without data queues zero bytes";
}

TEST(PluginAPIBase, IdleWorkEmptiesTheRingsInOrder)
{
  RecordingPlugin plugin;
  plugin.GetParam(1)->InitDouble("Mix", 0, 0, 100, 0.01);
  plugin.SendParameterValueFromAPI(1, 25.0, false);
  plugin.SendParameterValueFromAPI(1, 0.5, true);
  plugin.SendParameterValueFromAPI(7, 0.5, true); // no such parameter
  plugin.SendParameterValueFromAPI(1, std::numeric_limits<double>::infinity(), false);
  plugin.mParamChangeFromProcessor.Push(pfw::IParamChange{-3, 1.0}); // bad index from a producer
  pfw::IMidiEvent event;
  event.data1 = 60;
  plugin.mMidiMsgsFromProcessor.Push(event);
  pfw::SysExQueueEntry entry;
  entry.size = 3;
  std::memcpy(entry.data, "abc", 3);
  plugin.mSysExDataFromProcessor.Push(entry);
  entry.size = 100000; // a producer that ignored the limit
  plugin.mSysExDataFromProcessor.Push(entry);

  Tick(plugin);
  EXPECT_EQ(plugin.toEditor, (std::vector<std::pair<int, double>>{{1, 25.0}, {1, 50.0}}));
  EXPECT_EQ(plugin.midiToEditor, (std::vector<int>{60}));
  ASSERT_EQ(plugin.sysexToEditor.size(), 2u);
  EXPECT_EQ(plugin.sysexToEditor[0], "abc");
  EXPECT_EQ(plugin.sysexToEditor[1].size(), 512u);
  EXPECT_EQ(plugin.idles.load(), 1);
  EXPECT_EQ(plugin.changesUI, (std::vector<std::pair<int, int>>{{1, pfw::kDelegate}, {1, pfw::kDelegate}}));

  Tick(plugin);
  EXPECT_EQ(plugin.toEditor.size(), 2u);
  EXPECT_EQ(plugin.idles.load(), 2);
}

TEST(PluginAPIBase, AFullParameterRingKeepsTheFirst512)
{
  RecordingPlugin plugin;
  plugin.GetParam(0)->InitDouble("Level", 0, 0, 1000, 1);
  for (int i = 0; i < 600; ++i)
    plugin.SendParameterValueFromAPI(0, i, false);
  Tick(plugin);
  ASSERT_EQ(plugin.toEditor.size(), 512u);
  for (int i = 0; i < 512; ++i)
    ASSERT_EQ(plugin.toEditor[static_cast<size_t>(i)].second, i);
}
