// DirectSound devices as Wine shows PulseAudio's null sink: a render device, the sink's
// monitor as a capture device, and the primary devices that stand for the defaults.

#include "deps/audio/RtAudio.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>

TEST(DirectSoundDevices, ListsNamedDevicesWithDefaultsChannelsAndRates)
{
  RtAudio rt(RtAudio::WINDOWS_DS);
  const std::vector<unsigned int> ids = rt.getDeviceIds();
  ASSERT_FALSE(ids.empty()) << "no DirectSound devices: is the PulseAudio null sink running?";
  std::set<std::string> names;
  int defaultInputs = 0, defaultOutputs = 0, inputs = 0, outputs = 0;
  for (unsigned int id : ids)
  {
    const RtAudio::DeviceInfo info = rt.getDeviceInfo(id);
    EXPECT_EQ(id, info.ID);
    EXPECT_FALSE(info.name.empty());
    EXPECT_TRUE(names.insert(info.name).second) << "duplicate name " << info.name;
    EXPECT_GT(info.inputChannels + info.outputChannels, 0u) << info.name;
    EXPECT_LE(info.inputChannels, 2u);
    EXPECT_LE(info.outputChannels, 2u);
    EXPECT_FALSE(info.sampleRates.empty()) << info.name;
    EXPECT_TRUE(std::is_sorted(info.sampleRates.begin(), info.sampleRates.end()));
    inputs += info.inputChannels > 0;
    outputs += info.outputChannels > 0;
    defaultInputs += info.isDefaultInput;
    defaultOutputs += info.isDefaultOutput;
  }
  EXPECT_GE(inputs, 1);
  EXPECT_GE(outputs, 1);
  EXPECT_EQ(1, defaultInputs);
  EXPECT_EQ(1, defaultOutputs);

  const RtAudio::DeviceInfo output = rt.getDeviceInfo(rt.getDefaultOutputDevice());
  EXPECT_EQ(2u, output.outputChannels);
  EXPECT_NE(output.sampleRates.end(), std::find(output.sampleRates.begin(), output.sampleRates.end(), 44100u));
  EXPECT_NE(output.sampleRates.end(), std::find(output.sampleRates.begin(), output.sampleRates.end(), 48000u));
  EXPECT_TRUE(rt.getDeviceInfo(rt.getDefaultInputDevice()).isDefaultInput);
  // The null sink and its monitor appear under their own names too.
  EXPECT_EQ(1u, names.count("Null Output"));
  EXPECT_EQ(1u, names.count("Monitor of Null Output"));
}

TEST(DirectSoundDevices, IdsStayTheSameAcrossListings)
{
  RtAudio rt(RtAudio::WINDOWS_DS);
  const std::vector<unsigned int> first = rt.getDeviceIds();
  const std::vector<unsigned int> second = rt.getDeviceIds();
  EXPECT_EQ(first, second);
  EXPECT_EQ(first.size(), rt.getDeviceCount());
}
