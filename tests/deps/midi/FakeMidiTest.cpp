#include "tests/support/FakeMidiSystem.h"
#include "deps/midi/RtMidi.h"

#include <gtest/gtest.h>

#include <string>
#include <thread>
#include <vector>

using midi::FakeMidiSystem;
using Bytes = std::vector<unsigned char>;

namespace {

struct Received
{
  std::vector<Bytes> messages;
  std::vector<double> stamps;
  static void Callback(double stamp, std::vector<unsigned char>* message, void* user)
  {
    Received* received = static_cast<Received*>(user);
    received->messages.push_back(*message);
    received->stamps.push_back(stamp);
  }
};

struct Reported
{
  std::vector<RtMidiError::Type> types;
  static void Collect(RtMidiError::Type type, const std::string&, void* user)
  {
    static_cast<Reported*>(user)->types.push_back(type);
  }
};

class FakeMidiTest : public ::testing::Test
{
protected:
  void SetUp() override { FakeMidiSystem::Get().Reset(); }
  void TearDown() override { FakeMidiSystem::Get().Reset(); }
};

} // namespace

TEST_F(FakeMidiTest, NamesAreUniqueInEachDirectionAndStableAcrossCalls)
{
  FakeMidiSystem::Get().SetPorts({"Keys", "Pedal", "Keys", "Keys"}, {"Synth"});
  RtMidiIn in(midi::MakeFakeBackend);
  RtMidiOut out(midi::MakeFakeBackend);
  ASSERT_EQ(4u, in.getPortCount());
  EXPECT_EQ("Keys", in.getPortName(0));
  EXPECT_EQ("Pedal", in.getPortName(1));
  EXPECT_EQ("Keys (2)", in.getPortName(2));
  EXPECT_EQ("Keys (3)", in.getPortName(3));
  EXPECT_EQ("Keys (2)", in.getPortName(2));
  EXPECT_EQ(1u, out.getPortCount());
  EXPECT_EQ("Synth", out.getPortName(0));
}

TEST_F(FakeMidiTest, CallbackGetsWholeMessagesFilteredAsAsked)
{
  FakeMidiSystem& fake = FakeMidiSystem::Get();
  fake.SetPorts({"Keys"}, {});
  RtMidiIn in(midi::MakeFakeBackend, "RtMidi Input Client", 100);
  Received received;
  in.setCallback(Received::Callback, &received);
  in.ignoreTypes(false, true, false);
  in.openPort(0, "RtMidi Input");
  ASSERT_TRUE(in.isPortOpen());
  EXPECT_EQ(0, fake.OpenInputPort());

  EXPECT_TRUE(fake.ReceiveShort(0x647090, 1.0)); // note on
  fake.ReceiveShort(0xF8, 1.1);                  // clock: dropped
  fake.ReceiveShort(0xFE, 1.25);                 // active sensing: passes
  fake.ReceiveSysEx({0xF0, 0x41, 0x10}, 1.5);
  fake.ReceiveSysEx({0x42, 0x12, 0xF7}, 1.5);
  fake.ReceiveSysEx({0xF0, 0x7E, 0xF7}, 2.0);  // three bytes, still system exclusive
  ASSERT_EQ(4u, received.messages.size());
  EXPECT_EQ(Bytes({0x90, 0x70, 0x64}), received.messages[0]);
  EXPECT_EQ(Bytes({0xFE}), received.messages[1]);
  EXPECT_EQ(Bytes({0xF0, 0x41, 0x10, 0x42, 0x12, 0xF7}), received.messages[2]);
  EXPECT_EQ(Bytes({0xF0, 0x7E, 0xF7}), received.messages[3]);
  // Time stamps are the time since the previous message handed on.
  EXPECT_DOUBLE_EQ(0.0, received.stamps[0]);
  EXPECT_DOUBLE_EQ(0.25, received.stamps[1]);
  EXPECT_DOUBLE_EQ(0.25, received.stamps[2]);
  EXPECT_DOUBLE_EQ(0.5, received.stamps[3]);

  // Cancelled, the callback hears nothing; the messages queue for polling instead.
  in.cancelCallback();
  fake.ReceiveShort(0x0040B0, 2.5);
  EXPECT_EQ(4u, received.messages.size());
  Bytes polled;
  in.getMessage(&polled);
  EXPECT_EQ(Bytes({0xB0, 0x40, 0x00}), polled);
  in.getMessage(&polled);
  EXPECT_TRUE(polled.empty());

  in.closePort();
  EXPECT_EQ(-1, fake.OpenInputPort());
  EXPECT_FALSE(fake.ReceiveShort(0x647090));
  in.closePort(); // again: harmless
}

TEST_F(FakeMidiTest, QueueKeepsAtMostItsLimit)
{
  FakeMidiSystem& fake = FakeMidiSystem::Get();
  fake.SetPorts({"Keys"}, {});
  RtMidiIn in(midi::MakeFakeBackend, "client", 3);
  in.openPort(0);
  for (int key = 0; key < 5; ++key)
    fake.ReceiveShort(0x400090 | (key << 8));
  Bytes message;
  for (int key = 0; key < 3; ++key)
  {
    in.getMessage(&message);
    ASSERT_EQ(3u, message.size());
    EXPECT_EQ(key, message[1]);
  }
  in.getMessage(&message);
  EXPECT_TRUE(message.empty());
}

TEST_F(FakeMidiTest, MessagesFromAnotherThreadAreNotLostOrTorn)
{
  FakeMidiSystem& fake = FakeMidiSystem::Get();
  fake.SetPorts({"Keys"}, {});
  RtMidiIn in(midi::MakeFakeBackend);
  Received received;
  in.setCallback(Received::Callback, &received);
  in.openPort(0);
  std::thread sender([&] {
    for (int key = 0; key < 1000; ++key)
      fake.ReceiveShort(0x400090 | ((key & 0x7F) << 8));
  });
  sender.join();
  in.closePort();
  ASSERT_EQ(1000u, received.messages.size());
  for (int key = 0; key < 1000; ++key)
    ASSERT_EQ(Bytes({0x90, static_cast<unsigned char>(key & 0x7F), 0x40}), received.messages[key]);
}

TEST_F(FakeMidiTest, OutputSendsShortAndSysExAndRefusesMalformedMessages)
{
  FakeMidiSystem& fake = FakeMidiSystem::Get();
  fake.SetPorts({}, {"Synth"});
  RtMidiOut out(midi::MakeFakeBackend);
  Reported reported;
  out.setErrorCallback(Reported::Collect, &reported);
  const unsigned char note[] = {0x90, 60, 100};
  out.sendMessage(note, 3); // no port yet
  ASSERT_EQ(1u, reported.types.size());
  EXPECT_EQ(RtMidiError::WARNING, reported.types[0]);

  out.openPort(0, "RtMidi Output");
  ASSERT_TRUE(out.isPortOpen());
  out.sendMessage(note, 3);
  const unsigned char program[] = {0xC0, 5, 0}; // three bytes for a two-byte message
  out.sendMessage(program, 3);
  const std::vector<unsigned char> sysEx = {0xF0, 0x01, 0x02, 0xF7};
  out.sendMessage(&sysEx);
  EXPECT_EQ(1u, reported.types.size());

  const unsigned char tooLong[] = {0x90, 60, 100, 0};
  const unsigned char tooShort[] = {0x90, 60};
  const unsigned char noStatus[] = {0x3C, 0x40};
  const unsigned char statusInData[] = {0x90, 0x90, 0x40};
  const unsigned char unterminated[] = {0xF0, 0x01};
  out.sendMessage(tooLong, sizeof(tooLong));
  out.sendMessage(tooShort, sizeof(tooShort));
  out.sendMessage(noStatus, sizeof(noStatus));
  out.sendMessage(statusInData, sizeof(statusInData));
  out.sendMessage(unterminated, sizeof(unterminated));
  out.sendMessage(note, 0);
  out.sendMessage(static_cast<const std::vector<unsigned char>*>(nullptr));
  ASSERT_EQ(8u, reported.types.size());
  for (size_t i = 1; i < reported.types.size(); ++i)
    EXPECT_EQ(RtMidiError::INVALID_PARAMETER, reported.types[i]);

  const std::vector<Bytes> sent = fake.Sent();
  ASSERT_EQ(3u, sent.size());
  EXPECT_EQ(Bytes({0x90, 60, 100}), sent[0]);
  EXPECT_EQ(Bytes({0xC0, 5}), sent[1]);
  EXPECT_EQ(sysEx, sent[2]);
}

TEST_F(FakeMidiTest, OpeningTwiceOrAMissingPortIsReportedNotThrown)
{
  FakeMidiSystem& fake = FakeMidiSystem::Get();
  fake.SetPorts({"Keys"}, {"Synth"});
  RtMidiIn in(midi::MakeFakeBackend);
  Reported reported;
  in.setErrorCallback(Reported::Collect, &reported);
  in.openPort(3);
  EXPECT_FALSE(in.isPortOpen());
  in.openPort(0);
  in.openPort(0);
  EXPECT_TRUE(in.isPortOpen());
  ASSERT_EQ(2u, reported.types.size());
  EXPECT_EQ(RtMidiError::INVALID_PARAMETER, reported.types[0]);
  EXPECT_EQ(RtMidiError::WARNING, reported.types[1]);
  in.closePort();

  fake.FailOpen(true);
  in.openPort(0);
  EXPECT_FALSE(in.isPortOpen());
  EXPECT_EQ(RtMidiError::DRIVER_ERROR, reported.types.back());
}

TEST_F(FakeMidiTest, MakingAnObjectCanFailWithAnErrorToCatch)
{
  FakeMidiSystem& fake = FakeMidiSystem::Get();
  fake.FailCreate(true, false);
  bool thrown = false;
  try
  {
    RtMidiIn in(midi::MakeFakeBackend);
  }
  catch (const RtMidiError& error)
  {
    thrown = true;
    EXPECT_EQ(RtMidiError::DRIVER_ERROR, error.getType());
    EXPECT_FALSE(error.getMessage().empty());
  }
  EXPECT_TRUE(thrown);
  RtMidiOut out(midi::MakeFakeBackend); // the other direction is still fine
  EXPECT_EQ(0u, out.getPortCount());
}

TEST_F(FakeMidiTest, TheBackEndIsTheFactorysAndOtherwiseTheSystems)
{
  FakeMidiSystem::Get().SetPorts({"Stand-in"}, {});
  RtMidiIn injected(midi::MakeFakeBackend);
  EXPECT_EQ(RtMidi::CUSTOM, injected.getCurrentApi());
  EXPECT_EQ("Stand-in", injected.getPortName(0));
  RtMidiIn real;
  EXPECT_EQ(RtMidi::WINDOWS_MM, real.getCurrentApi());
}
