#pragma once

// The basic types, result codes and identifiers of the VST3 binary interface, Windows x64.

#include <cstddef>
#include <cstdint>
#include <cstring>

// Every interface method carries the Windows calling-convention marker. On x64 there is
// one convention, so it changes no code, but keeping it documents the contract.
#if defined(_WIN32)
#define VST3_CALL __stdcall
#else
#define VST3_CALL
#endif

namespace Steinberg {

using int8 = signed char;
using uint8 = unsigned char;
using int16 = int16_t;
using uint16 = uint16_t;
using int32 = int32_t;
using uint32 = uint32_t;
using int64 = int64_t;
using uint64 = uint64_t;

using tresult = int32;
using TBool = uint8;
using char8 = char;
using char16 = char16_t;
using tchar = char16;
using CString = const char8*;
using FIDString = const char8*; // also carries 16 raw identifier bytes in createInstance
using UCoord = int32;

// COM-compatible result values; hosts treat everything but kResultOk as failure.
constexpr tresult kResultOk = 0;
constexpr tresult kResultTrue = kResultOk;
constexpr tresult kResultFalse = 1;
constexpr tresult kNoInterface = static_cast<tresult>(0x80004002u);
constexpr tresult kNotImplemented = static_cast<tresult>(0x80004001u);
constexpr tresult kInternalError = static_cast<tresult>(0x80004005u);
constexpr tresult kInvalidArgument = static_cast<tresult>(0x80070057u);
constexpr tresult kNotInitialized = static_cast<tresult>(0x8000FFFFu);
constexpr tresult kOutOfMemory = static_cast<tresult>(0x8007000Eu);

// A 16-byte interface or class identifier, compared as raw bytes.
using TUID = char[16];

static_assert(sizeof(TUID) == 16 && sizeof(char16) == 2 && sizeof(TBool) == 1);

// Byte i of an identifier written as four words, in Windows (GUID) order: word 1 and the
// two halves of word 2 little-endian, words 3 and 4 big-endian.
constexpr char uidByte(int index, uint32 w1, uint32 w2, uint32 w3, uint32 w4)
{
  const uint32 value = index < 4 ? w1 >> (8 * index)
                       : index < 6 ? w2 >> (16 + 8 * (index - 4))
                       : index < 8 ? w2 >> (8 * (index - 6))
                       : index < 12 ? w3 >> (8 * (11 - index))
                                    : w4 >> (8 * (15 - index));
  return static_cast<char>(static_cast<uint8>(value & 0xFF));
}

// Writes the identifier of four words into 16 bytes.
inline void writeUid(TUID out, uint32 w1, uint32 w2, uint32 w3, uint32 w4)
{
  for (int i = 0; i < 16; ++i)
    out[i] = uidByte(i, w1, w2, w3, w4);
}

inline bool uidEqual(const char* a, const char* b)
{
  return a && b && std::memcmp(a, b, sizeof(TUID)) == 0;
}

namespace Vst {
using TChar = char16;
using String128 = TChar[128];
using ParamID = uint32;
using ParamValue = double;
using UnitID = int32;
using ProgramListID = int32;
using MediaType = int32;
using BusDirection = int32;
using BusType = int32;
using IoMode = int32;
using CtrlNumber = int16;
using TQuarterNotes = double;
using TSamples = int64;
using ColorSpec = uint32;
using Sample32 = float;
using Sample64 = double;
using SampleRate = double;
using SpeakerArrangement = uint64;
using Speaker = uint64;
using KnobMode = int32;

constexpr ParamID kNoParamId = 0xFFFFFFFFu;
static_assert(sizeof(String128) == 256 && alignof(String128) == 2);
} // namespace Vst

} // namespace Steinberg

// Gives an interface its identifier as a class constant: static constexpr TUID iid.
#define VST3_INTERFACE_ID(w1, w2, w3, w4)                                                    \
  static constexpr ::Steinberg::TUID iid = {                                                 \
    ::Steinberg::uidByte(0, w1, w2, w3, w4),  ::Steinberg::uidByte(1, w1, w2, w3, w4),       \
    ::Steinberg::uidByte(2, w1, w2, w3, w4),  ::Steinberg::uidByte(3, w1, w2, w3, w4),       \
    ::Steinberg::uidByte(4, w1, w2, w3, w4),  ::Steinberg::uidByte(5, w1, w2, w3, w4),       \
    ::Steinberg::uidByte(6, w1, w2, w3, w4),  ::Steinberg::uidByte(7, w1, w2, w3, w4),       \
    ::Steinberg::uidByte(8, w1, w2, w3, w4),  ::Steinberg::uidByte(9, w1, w2, w3, w4),       \
    ::Steinberg::uidByte(10, w1, w2, w3, w4), ::Steinberg::uidByte(11, w1, w2, w3, w4),      \
    ::Steinberg::uidByte(12, w1, w2, w3, w4), ::Steinberg::uidByte(13, w1, w2, w3, w4),      \
    ::Steinberg::uidByte(14, w1, w2, w3, w4), ::Steinberg::uidByte(15, w1, w2, w3, w4)}
