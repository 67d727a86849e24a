#pragma once

#include "deps/vst3/interfaces/VstTypes.h"

namespace Steinberg::Vst {

// Speaker bits; channel i of an arrangement is its i-th set bit from bit 0 upward.
constexpr Speaker kSpeakerL = 1ull << 0;
constexpr Speaker kSpeakerR = 1ull << 1;
constexpr Speaker kSpeakerC = 1ull << 2;
constexpr Speaker kSpeakerLfe = 1ull << 3;
constexpr Speaker kSpeakerLs = 1ull << 4;
constexpr Speaker kSpeakerRs = 1ull << 5;
constexpr Speaker kSpeakerLc = 1ull << 6;
constexpr Speaker kSpeakerRc = 1ull << 7;
constexpr Speaker kSpeakerS = 1ull << 8;
constexpr Speaker kSpeakerSl = 1ull << 9;
constexpr Speaker kSpeakerSr = 1ull << 10;
constexpr Speaker kSpeakerM = 1ull << 19;
constexpr Speaker kSpeakerTsl = 1ull << 24;
constexpr Speaker kSpeakerTsr = 1ull << 25;

namespace SpeakerArr {
constexpr SpeakerArrangement kEmpty = 0;
constexpr SpeakerArrangement kMono = kSpeakerM;
constexpr SpeakerArrangement kStereo = kSpeakerL | kSpeakerR;
constexpr SpeakerArrangement k30Cine = 0x7;
constexpr SpeakerArrangement kAmbi1stOrderACN = 0xF00000;
constexpr SpeakerArrangement k50 = 0x37;
constexpr SpeakerArrangement k51 = 0x3F;
constexpr SpeakerArrangement k70Cine = 0xF7;
constexpr SpeakerArrangement k71Music = 0x63F;
constexpr SpeakerArrangement kAmbi2cdOrderACN = 0x7C000F00000ull;
constexpr SpeakerArrangement k71_2 = 0x300063Full;
constexpr SpeakerArrangement kAmbi3rdOrderACN = 0x3FFC000F00000ull;

constexpr int32 getChannelCount(SpeakerArrangement arrangement)
{
  int32 count = 0;
  for (; arrangement != 0; arrangement &= arrangement - 1)
    ++count;
  return count;
}
} // namespace SpeakerArr

} // namespace Steinberg::Vst
