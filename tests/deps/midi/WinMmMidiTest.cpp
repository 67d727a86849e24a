// The system's MIDI ports. Wine here has none, so these tests pin down that a machine
// without MIDI gives a defined empty result and clean refusals; where ports exist, the
// first of each direction opens and closes.

#include "deps/midi/RtMidi.h"

#include <gtest/gtest.h>

#include <windows.h>
#include <mmsystem.h>

#include <string>
#include <vector>

namespace {

struct Reported
{
  std::vector<RtMidiError::Type> types;
  static void Collect(RtMidiError::Type type, const std::string& text, void* user)
  {
    EXPECT_FALSE(text.empty());
    static_cast<Reported*>(user)->types.push_back(type);
  }
};

} // namespace

TEST(WinMmMidi, PortsAreListedAsTheSystemCountsThem)
{
  RtMidiIn in;
  RtMidiOut out;
  EXPECT_EQ(RtMidi::WINDOWS_MM, in.getCurrentApi());
  EXPECT_EQ(midiInGetNumDevs(), in.getPortCount());
  EXPECT_EQ(midiOutGetNumDevs(), out.getPortCount());
  std::printf("MIDI ports: %u in, %u out\n", in.getPortCount(), out.getPortCount());
  for (unsigned int i = 0; i < in.getPortCount(); ++i)
    EXPECT_FALSE(in.getPortName(i).empty());
  Reported reported;
  in.setErrorCallback(Reported::Collect, &reported);
  EXPECT_EQ("", in.getPortName(in.getPortCount())); // past the end
  EXPECT_EQ(1u, reported.types.size());
}

TEST(WinMmMidi, AMissingPortFailsCleanlyAndClosingIsHarmless)
{
  Reported reported;
  RtMidiIn in;
  RtMidiOut out;
  in.setErrorCallback(Reported::Collect, &reported);
  out.setErrorCallback(Reported::Collect, &reported);
  in.openPort(in.getPortCount(), "RtMidi Input");
  out.openPort(out.getPortCount(), "RtMidi Output");
  EXPECT_FALSE(in.isPortOpen());
  EXPECT_FALSE(out.isPortOpen());
  ASSERT_EQ(2u, reported.types.size());
  EXPECT_EQ(RtMidiError::INVALID_PARAMETER, reported.types[0]);
  EXPECT_EQ(RtMidiError::INVALID_PARAMETER, reported.types[1]);
  in.closePort();
  out.closePort();
  in.closePort();
  const unsigned char note[] = {0x90, 60, 100};
  out.sendMessage(note, sizeof(note)); // no port: a warning, nothing else
  EXPECT_EQ(RtMidiError::WARNING, reported.types.back());
}

TEST(WinMmMidi, ExistingPortsOpenAndClose)
{
  RtMidiIn in;
  RtMidiOut out;
  if (in.getPortCount() == 0 && out.getPortCount() == 0)
    GTEST_SKIP() << "no MIDI ports on this system";
  if (in.getPortCount() > 0)
  {
    in.ignoreTypes(false, true, false);
    in.openPort(0, "RtMidi Input");
    EXPECT_TRUE(in.isPortOpen());
    in.closePort();
    EXPECT_FALSE(in.isPortOpen());
  }
  if (out.getPortCount() > 0)
  {
    out.openPort(0, "RtMidi Output");
    EXPECT_TRUE(out.isPortOpen());
    out.closePort();
  }
}
