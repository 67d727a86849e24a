#include "deps/midi/MidiMessageAssembler.h"

#include <gtest/gtest.h>

using midi::MidiMessageAssembler;
using Bytes = std::vector<unsigned char>;

TEST(MidiMessageAssembler, ShortMessagesTakeTheLengthTheirStatusCallsFor)
{
  MidiMessageAssembler assembler;
  assembler.SetIgnored(false, false, false);
  Bytes message;
  ASSERT_TRUE(assembler.AddShort(0x7F3C90, message)); // note on, key 60, velocity 127
  EXPECT_EQ(Bytes({0x90, 0x3C, 0x7F}), message);
  ASSERT_TRUE(assembler.AddShort(0x00AA05C3, message)); // program change: the rest is not message
  EXPECT_EQ(Bytes({0xC3, 0x05}), message);
  ASSERT_TRUE(assembler.AddShort(0x4000E0, message)); // pitch bend centre
  EXPECT_EQ(Bytes({0xE0, 0x00, 0x40}), message);
  ASSERT_TRUE(assembler.AddShort(0xFA, message)); // start
  EXPECT_EQ(Bytes({0xFA}), message);
  ASSERT_TRUE(assembler.AddShort(0x1234F2, message)); // song position
  EXPECT_EQ(Bytes({0xF2, 0x34, 0x12}), message);

  EXPECT_FALSE(assembler.AddShort(0x7F3C, message));   // no status byte
  EXPECT_FALSE(assembler.AddShort(0x903C90, message)); // a status where data belongs
  EXPECT_FALSE(assembler.AddShort(0xF0, message));     // SysEx never comes as a short message
  EXPECT_FALSE(assembler.AddShort(0xF7, message));
}

TEST(MidiMessageAssembler, FiltersDropTimingSensingAndSysExOnlyWhenAsked)
{
  MidiMessageAssembler assembler;
  Bytes message;
  std::vector<Bytes> sysEx;
  const Bytes whole = {0xF0, 0x7E, 0x7F, 0x06, 0x01, 0xF7};

  // What the standalone program asks: SysEx and active sensing pass, timing does not.
  assembler.SetIgnored(false, true, false);
  EXPECT_FALSE(assembler.AddShort(0xF8, message));   // clock
  EXPECT_FALSE(assembler.AddShort(0x21F1, message)); // time code quarter frame
  EXPECT_TRUE(assembler.AddShort(0xFE, message));    // active sensing
  EXPECT_TRUE(assembler.AddShort(0xFA, message));    // start is not timing
  assembler.AddSysEx(whole.data(), whole.size(), sysEx);
  ASSERT_EQ(1u, sysEx.size());
  EXPECT_EQ(whole, sysEx[0]);

  assembler.SetIgnored(true, false, true);
  EXPECT_TRUE(assembler.AddShort(0xF8, message));
  EXPECT_FALSE(assembler.AddShort(0xFE, message));
  sysEx.clear();
  assembler.AddSysEx(whole.data(), whole.size(), sysEx);
  EXPECT_TRUE(sysEx.empty());

  // The default ignores all three, as a fresh port should.
  MidiMessageAssembler fresh;
  EXPECT_FALSE(fresh.AddShort(0xF8, message));
  EXPECT_FALSE(fresh.AddShort(0xFE, message));
  fresh.AddSysEx(whole.data(), whole.size(), sysEx);
  EXPECT_TRUE(sysEx.empty());
}

TEST(MidiMessageAssembler, SysExArrivesWholeFromPiecesOfAnySize)
{
  MidiMessageAssembler assembler;
  assembler.SetIgnored(false, false, false);
  Bytes long_(5000, 0x11);
  long_.front() = 0xF0;
  long_.back() = 0xF7;
  std::vector<Bytes> done;
  for (size_t at = 0; at < long_.size(); at += 4096)
    assembler.AddSysEx(long_.data() + at, std::min<size_t>(4096, long_.size() - at), done);
  ASSERT_EQ(1u, done.size());
  EXPECT_EQ(long_, done[0]);

  // Two messages in one piece, with a real-time byte woven into the first.
  const Bytes two = {0xF0, 0x01, 0xF8, 0x02, 0xF7, 0xF0, 0x03, 0xF7};
  done.clear();
  assembler.AddSysEx(two.data(), two.size(), done);
  ASSERT_EQ(2u, done.size());
  EXPECT_EQ(Bytes({0xF0, 0x01, 0x02, 0xF7}), done[0]);
  EXPECT_EQ(Bytes({0xF0, 0x03, 0xF7}), done[1]);
}

TEST(MidiMessageAssembler, BrokenSysExIsDroppedAndTheNextOneStillArrives)
{
  MidiMessageAssembler assembler;
  assembler.SetIgnored(false, false, false);
  std::vector<Bytes> done;
  const Bytes stray = {0x01, 0x02, 0xF7};              // an end without a start
  const Bytes broken = {0xF0, 0x01, 0x90, 0x02, 0xF7}; // a status inside
  const Bytes restarted = {0xF0, 0x05, 0xF0, 0x06, 0xF7};
  assembler.AddSysEx(stray.data(), stray.size(), done);
  assembler.AddSysEx(broken.data(), broken.size(), done);
  EXPECT_TRUE(done.empty());
  assembler.AddSysEx(restarted.data(), restarted.size(), done);
  ASSERT_EQ(1u, done.size());
  EXPECT_EQ(Bytes({0xF0, 0x06, 0xF7}), done[0]);

  // Half a message, then a reset (a port reopened): the rest does not complete it.
  const Bytes head = {0xF0, 0x07};
  const Bytes tail = {0x08, 0xF7};
  done.clear();
  assembler.AddSysEx(head.data(), head.size(), done);
  assembler.Reset();
  assembler.AddSysEx(tail.data(), tail.size(), done);
  EXPECT_TRUE(done.empty());
}

TEST(MidiMessageAssembler, OverlongSysExIsDroppedWhole)
{
  MidiMessageAssembler assembler;
  assembler.SetIgnored(false, false, false);
  Bytes huge(MidiMessageAssembler::kMaxSysExBytes + 10, 0x22);
  huge.front() = 0xF0;
  huge.back() = 0xF7;
  std::vector<Bytes> done;
  assembler.AddSysEx(huge.data(), huge.size(), done);
  EXPECT_TRUE(done.empty());
  const Bytes next = {0xF0, 0x09, 0xF7};
  assembler.AddSysEx(next.data(), next.size(), done);
  ASSERT_EQ(1u, done.size());
  EXPECT_EQ(next, done[0]);
}
