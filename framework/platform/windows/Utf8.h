#pragma once

// UTF-8 text where it meets the system's UTF-16: classification and conversion, used by
// the shims and by the whole platform layer.

#include "deps/unicode/WideUtf8.h"
#include "framework/core/GrowString.h"

#include <string>

namespace pfw {

// -1 when the text holds a byte of 0x80 or more that does not start a well-formed
// sequence (lead bytes 0xC2-0xF7 with their continuation bytes, no overlong forms);
// 0 when it is pure ASCII or null; 1 when it is well-formed with a multi-byte sequence.
int ClassifyUtf8(const char* text);

using unicode::FromUtf8;
using unicode::Utf8ToWide;
using unicode::WideToUtf8;

// Empty (and false) when the text cannot be converted.
bool WideToUtf8(const wchar_t* text, GrowString& utf8);

// For text of unknown origin: read as UTF-8 when well-formed sequence bytes are at least
// five times the malformed bytes or three quarters of the text, each malformed byte then
// read through the ANSI code page; otherwise the whole text is read as ANSI.
std::wstring TolerantUtf8ToWide(const char* text);

// Wide paths of 256 units or more get the long-path form: "C:..." becomes "\\?\C:...",
// "\\server..." becomes "\\?\UNC\server...", and then every "/" becomes "\". Paths
// already in the long form, relative paths and shorter paths stay as they are.
void ApplyLongPathRule(std::wstring& path);

// Copies UTF-8 into a buffer of size bytes, cut before a character that does not fit,
// the rest zeroed. Returns the bytes copied, without the terminator.
size_t CopyUtf8(const std::string& text, char* buffer, size_t size);

} // namespace pfw
