// What the host tells about the track, taken in-process from an attribute list: texts of
// any stated length stay bounded, missing attributes keep what was known.

#include "deps/vst3/interfaces/IChannelContext.h"
#include "wrappers/vst3/IPluginVST3.h"

#include <gtest/gtest.h>

#include <cstring>
#include <map>
#include <string>

using namespace Steinberg;
using namespace Steinberg::Vst;

namespace {

class AttributeList : public IAttributeList
{
public:
  std::map<std::string, int64> ints;
  std::map<std::string, std::u16string> strings;

  tresult VST3_CALL queryInterface(const TUID, void** obj) override
  {
    *obj = nullptr;
    return kNoInterface;
  }
  uint32 VST3_CALL addRef() override { return 1; }
  uint32 VST3_CALL release() override { return 1; }
  tresult VST3_CALL setInt(AttrID, int64) override { return kResultFalse; }
  tresult VST3_CALL getInt(AttrID id, int64& value) override
  {
    const auto found = ints.find(id);
    if (found == ints.end())
      return kResultFalse;
    value = found->second;
    return kResultOk;
  }
  tresult VST3_CALL setFloat(AttrID, double) override { return kResultFalse; }
  tresult VST3_CALL getFloat(AttrID, double&) override { return kResultFalse; }
  tresult VST3_CALL setString(AttrID, const TChar*) override { return kResultFalse; }
  tresult VST3_CALL getString(AttrID id, TChar* string, uint32 sizeInBytes) override
  {
    const auto found = strings.find(id);
    if (found == strings.end() || sizeInBytes < 2)
      return kResultFalse;
    const size_t units = std::min<size_t>(found->second.size(), sizeInBytes / 2 - 1);
    std::memcpy(string, found->second.data(), units * 2);
    string[units] = 0;
    return kResultOk;
  }
  tresult VST3_CALL setBinary(AttrID, const void*, uint32) override { return kResultFalse; }
  tresult VST3_CALL getBinary(AttrID, const void*&, uint32&) override { return kResultFalse; }
};

pfw::IPluginConfig SmallConfig()
{
  pfw::IPluginConfig config;
  config.nParams = 1;
  config.channelIOStr = "2-2";
  return config;
}

struct PluginObject
{
  pfw::IPluginVST3* plugin = new pfw::IPluginVST3(pfw::IPluginVST3::InstanceInfo{}, SmallConfig());
  ~PluginObject() { plugin->release(); }
};

std::string TrackName(pfw::IPluginVST3& plugin)
{
  pfw::GrowString name;
  plugin.GetTrackName(name);
  return name.Get();
}

} // namespace

TEST(Vst3TrackInformation, TakesWhatTheListHoldsAndKeepsTheRest)
{
  PluginObject object;
  pfw::IPluginVST3& plugin = *object.plugin;
  EXPECT_EQ(plugin.setChannelContextInfos(nullptr), kResultFalse);

  AttributeList list;
  list.ints[ChannelContext::kChannelNameLengthKey] = 9;
  list.strings[ChannelContext::kChannelNameKey] = u"Gitarre \u00fc";
  list.ints[ChannelContext::kChannelIndexKey] = 3;
  list.ints[ChannelContext::kChannelColorKey] = 0xFF102030;
  list.ints[ChannelContext::kChannelIndexNamespaceOrderKey] = 2;
  list.ints[ChannelContext::kChannelIndexNamespaceLengthKey] = 6;
  list.strings[ChannelContext::kChannelIndexNamespaceKey] = u"Tracks";
  ASSERT_EQ(plugin.setChannelContextInfos(&list), kResultOk);
  EXPECT_EQ(TrackName(plugin), "Gitarre \xc3\xbc");
  EXPECT_EQ(plugin.GetTrackIndex(), 3);
  EXPECT_EQ(plugin.GetTrackNamespaceIndex(), 2);
  pfw::GrowString space;
  plugin.GetTrackNamespace(space);
  EXPECT_STREQ(space.Get(), "Tracks");
  int red = 0, green = 0, blue = 0;
  plugin.GetTrackColour(red, green, blue);
  EXPECT_EQ(red, 0x10);
  EXPECT_EQ(green, 0x20);
  EXPECT_EQ(blue, 0x30);

  AttributeList onlyIndex;
  onlyIndex.ints[ChannelContext::kChannelIndexKey] = 4;
  ASSERT_EQ(plugin.setChannelContextInfos(&onlyIndex), kResultOk);
  EXPECT_EQ(plugin.GetTrackIndex(), 4);
  EXPECT_EQ(TrackName(plugin), "Gitarre \xc3\xbc");
}

TEST(Vst3TrackInformation, StatedLengthsNeverSizeTheBuffers)
{
  PluginObject object;
  pfw::IPluginVST3& plugin = *object.plugin;
  AttributeList list;
  list.strings[ChannelContext::kChannelNameKey] = std::u16string(5000, u'x');
  for (int64 length : {int64{-7}, int64{0}, int64{1} << 40})
  {
    list.ints[ChannelContext::kChannelNameLengthKey] = length;
    ASSERT_EQ(plugin.setChannelContextInfos(&list), kResultOk) << length;
    EXPECT_EQ(TrackName(plugin), std::string(1024, 'x')) << length;
  }
  list.ints[ChannelContext::kChannelNameLengthKey] = 3; // the host's own length cuts the text
  ASSERT_EQ(plugin.setChannelContextInfos(&list), kResultOk);
  EXPECT_EQ(TrackName(plugin), "xxx");
}
