#include "Utf8Decoder.h"

namespace pfw::gui {

unsigned DecodeUtf8(const char*& p, const char* end)
{
  const unsigned char lead = static_cast<unsigned char>(*p++);
  if (lead < 0x80)
    return lead;
  int length = 0;
  unsigned codepoint = 0;
  // The range the second byte must lie in excludes overlong forms, surrogates and values
  // above U+10FFFF.
  unsigned char low = 0x80, high = 0xBF;
  if (lead >= 0xC2 && lead <= 0xDF)
  {
    length = 2;
    codepoint = lead & 0x1Fu;
  }
  else if (lead >= 0xE0 && lead <= 0xEF)
  {
    length = 3;
    codepoint = lead & 0x0Fu;
    if (lead == 0xE0)
      low = 0xA0;
    else if (lead == 0xED)
      high = 0x9F;
  }
  else if (lead >= 0xF0 && lead <= 0xF4)
  {
    length = 4;
    codepoint = lead & 0x07u;
    if (lead == 0xF0)
      low = 0x90;
    else if (lead == 0xF4)
      high = 0x8F;
  }
  else
    return kReplacementCharacter;
  for (int i = 1; i < length; ++i)
  {
    if (p == end)
      return kReplacementCharacter;
    const unsigned char byte = static_cast<unsigned char>(*p);
    if (byte < low || byte > high)
      return kReplacementCharacter;
    codepoint = (codepoint << 6) | (byte & 0x3Fu);
    ++p;
    low = 0x80;
    high = 0xBF;
  }
  return codepoint;
}

} // namespace pfw::gui
