#pragma once

#include "deps/vst3/interfaces/VstTypes.h"

namespace Steinberg::Vst {

struct FrameRate
{
  enum FrameRateFlags : uint32
  {
    kPullDownRate = 1,
    kDropRate = 2,
  };
  uint32 framesPerSecond;
  uint32 flags;
};
static_assert(sizeof(FrameRate) == 8);

struct Chord
{
  enum Masks : int16
  {
    kChordMask = 0x0FFF,
    kReservedMask = static_cast<int16>(0xF000),
  };
  uint8 keyNote;
  uint8 rootNote;
  int16 chordMask;
};
static_assert(sizeof(Chord) == 4 && alignof(Chord) == 2);

// The host's transport. sampleRate and projectTimeSamples are always valid; every other
// field only when its bit in state is set.
struct ProcessContext
{
  enum StatesAndFlags : uint32
  {
    kPlaying = 1u << 1,
    kCycleActive = 1u << 2,
    kRecording = 1u << 3,
    kSystemTimeValid = 1u << 8,
    kProjectTimeMusicValid = 1u << 9,
    kTempoValid = 1u << 10,
    kBarPositionValid = 1u << 11,
    kCycleValid = 1u << 12,
    kTimeSigValid = 1u << 13,
    kSmpteValid = 1u << 14,
    kClockValid = 1u << 15,
    kContTimeValid = 1u << 17,
    kChordValid = 1u << 18,
  };
  uint32 state;
  double sampleRate;
  TSamples projectTimeSamples;
  int64 systemTime;
  TSamples continousTimeSamples;
  TQuarterNotes projectTimeMusic;
  TQuarterNotes barPositionMusic;
  TQuarterNotes cycleStartMusic;
  TQuarterNotes cycleEndMusic;
  double tempo;
  int32 timeSigNumerator;
  int32 timeSigDenominator;
  Chord chord;
  int32 smpteOffsetSubframes;
  FrameRate frameRate;
  int32 samplesToNextClock;
};
static_assert(sizeof(ProcessContext) == 112 && alignof(ProcessContext) == 8);
static_assert(offsetof(ProcessContext, sampleRate) == 8 && offsetof(ProcessContext, projectTimeSamples) == 16 &&
              offsetof(ProcessContext, systemTime) == 24 && offsetof(ProcessContext, continousTimeSamples) == 32 &&
              offsetof(ProcessContext, projectTimeMusic) == 40 && offsetof(ProcessContext, barPositionMusic) == 48 &&
              offsetof(ProcessContext, cycleStartMusic) == 56 && offsetof(ProcessContext, cycleEndMusic) == 64 &&
              offsetof(ProcessContext, tempo) == 72 && offsetof(ProcessContext, timeSigNumerator) == 80 &&
              offsetof(ProcessContext, timeSigDenominator) == 84 && offsetof(ProcessContext, chord) == 88 &&
              offsetof(ProcessContext, smpteOffsetSubframes) == 92 && offsetof(ProcessContext, frameRate) == 96 &&
              offsetof(ProcessContext, samplesToNextClock) == 104);

// What a plug-in asks the host to fill in its ProcessContext.
enum ProcessContextRequirementFlags : uint32
{
  kNeedSystemTime = 1u << 0,
  kNeedContinousTimeSamples = 1u << 1,
  kNeedProjectTimeMusic = 1u << 2,
  kNeedBarPositionMusic = 1u << 3,
  kNeedCycleMusic = 1u << 4,
  kNeedSamplesToNextClock = 1u << 5,
  kNeedTempo = 1u << 6,
  kNeedTimeSignature = 1u << 7,
  kNeedChord = 1u << 8,
  kNeedFrameRate = 1u << 9,
  kNeedTransportState = 1u << 10,
};

} // namespace Steinberg::Vst
