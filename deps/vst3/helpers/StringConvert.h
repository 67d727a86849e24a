#pragma once

#include "deps/vst3/interfaces/VstTypes.h"

// Text helpers for the fixed-size fields of the interface records. Every function writes
// a NUL-terminated result that fits its destination, and zero-fills what is left, so a
// record handed to a host never carries stale bytes.

namespace Steinberg {

// Length in units of a NUL-terminated UTF-16 text; 0 for null.
int32 strlen16(const char16* text);

// 8-bit text widened one unit per byte (bytes read as unsigned), cut to dstUnits - 1.
void widenText(char16* dst, int32 dstUnits, const char* src);

// UTF-16 text narrowed by keeping the low byte of each unit, cut to dstSize - 1.
void narrowText(char* dst, int32 dstSize, const char16* src);

// Bounded copies, cut to the destination size - 1.
void copyText8(char* dst, int32 dstSize, const char* src);
void copyText16(char16* dst, int32 dstUnits, const char16* src);

// UTF-16 to UTF-8. Reads at most srcUnits units (all up to the NUL when negative); an
// unpaired surrogate becomes U+FFFD; a character that does not fit whole is left out.
// Returns the number of bytes written before the NUL.
int32 utf16ToUtf8(char* dst, int32 dstSize, const char16* src, int32 srcUnits = -1);

// UTF-16 to the system's ANSI code page. Returns the bytes written before the NUL, or -1
// (and an empty text) when the conversion does not fit.
int32 utf16ToAnsi(char* dst, int32 dstSize, const char16* src);

} // namespace Steinberg
