#pragma once

namespace pfw::gui {

constexpr unsigned kReplacementCharacter = 0xFFFD;

// Decodes the code point at p (p < end) and moves p past it. A malformed or truncated
// sequence, an overlong form, a surrogate or a value above U+10FFFF gives U+FFFD and
// consumes its longest valid beginning (at least one byte), so decoding picks up again at
// the next possible start.
unsigned DecodeUtf8(const char*& p, const char* end);

} // namespace pfw::gui
