#pragma once

// The one conversion between UTF-8 and the system's UTF-16 for every Windows part of the
// tree, from the device layers up to the platform layer.

#include <string>

namespace unicode {

// Empty when the text is null, empty or not well-formed UTF-8; FromUtf8 tells these apart
// (false only for malformed text).
std::wstring Utf8ToWide(const char* text);
bool FromUtf8(const char* text, std::wstring& wide);

// Empty when the text is null, empty or cannot be converted.
std::string WideToUtf8(const wchar_t* text);

} // namespace unicode
