#pragma once

#include <string>

namespace pfw::gui {

// Decodes one code point from at most length bytes of UTF-8; returns the bytes used
// (0 at the end of the text). A malformed or truncated sequence gives '_' for one byte.
int DecodeUtf8(const char* text, int length, char32_t& codePoint);
// UTF-8 to UTF-16 code units and back; a code point below 1 encodes as nothing.
std::u16string Utf8ToUtf16(const char* text);
std::string Utf16ToUtf8(const std::u16string& text);
std::string Utf16ToUtf8(const char16_t* text, size_t length);
void AppendUtf8(std::string& out, char32_t codePoint);

} // namespace pfw::gui
