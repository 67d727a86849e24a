#include "TextConversion.h"

#include <cstring>

namespace pfw::gui {

int DecodeUtf8(const char* text, int length, char32_t& codePoint)
{
  codePoint = 0;
  if (!text || length <= 0 || *text == '\0')
    return 0;
  const unsigned char* b = reinterpret_cast<const unsigned char*>(text);
  int need = 0;
  char32_t value = 0;
  char32_t minimum = 0;
  if (b[0] < 0x80)
  {
    codePoint = b[0];
    return 1;
  }
  else if ((b[0] & 0xE0) == 0xC0)
  {
    need = 1;
    value = b[0] & 0x1F;
    minimum = 0x80;
  }
  else if ((b[0] & 0xF0) == 0xE0)
  {
    need = 2;
    value = b[0] & 0x0F;
    minimum = 0x800;
  }
  else if ((b[0] & 0xF8) == 0xF0)
  {
    need = 3;
    value = b[0] & 0x07;
    minimum = 0x10000;
  }
  else
  {
    codePoint = '_';
    return 1;
  }
  if (need >= length)
  {
    codePoint = '_';
    return 1;
  }
  for (int i = 1; i <= need; ++i)
  {
    if ((b[i] & 0xC0) != 0x80)
    {
      codePoint = '_';
      return 1;
    }
    value = (value << 6) | (b[i] & 0x3F);
  }
  if (value < minimum || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF))
  {
    codePoint = '_';
    return need + 1;
  }
  codePoint = value;
  return need + 1;
}

std::u16string Utf8ToUtf16(const char* text)
{
  std::u16string out;
  if (!text)
    return out;
  int remaining = static_cast<int>(std::strlen(text));
  const char* at = text;
  while (remaining > 0)
  {
    char32_t cp = 0;
    const int used = DecodeUtf8(at, remaining, cp);
    if (used <= 0)
      break;
    at += used;
    remaining -= used;
    if (cp < 1)
      continue;
    if (cp >= 0x10000)
    {
      cp -= 0x10000;
      out.push_back(static_cast<char16_t>(0xD800 + (cp >> 10)));
      out.push_back(static_cast<char16_t>(0xDC00 + (cp & 0x3FF)));
    }
    else
    {
      out.push_back(static_cast<char16_t>(cp));
    }
  }
  return out;
}

void AppendUtf8(std::string& out, char32_t cp)
{
  if (cp < 1)
    return;
  if (cp < 0x80)
    out.push_back(static_cast<char>(cp));
  else if (cp < 0x800)
  {
    out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
    out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  }
  else if (cp < 0x10000)
  {
    out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
    out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  }
  else
  {
    out.push_back(static_cast<char>(0xF0 | (cp >> 18)));
    out.push_back(static_cast<char>(0x80 | ((cp >> 12) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  }
}

std::string Utf16ToUtf8(const char16_t* text, size_t length)
{
  std::string out;
  for (size_t i = 0; i < length; ++i)
  {
    char32_t cp = text[i];
    if (cp >= 0xD800 && cp <= 0xDBFF && i + 1 < length && text[i + 1] >= 0xDC00 && text[i + 1] <= 0xDFFF)
    {
      cp = 0x10000 + ((cp - 0xD800) << 10) + (text[i + 1] - 0xDC00);
      ++i;
    }
    else if (cp >= 0xD800 && cp <= 0xDFFF)
    {
      cp = 0xFFFD; // a lone surrogate
    }
    AppendUtf8(out, cp);
  }
  return out;
}

std::string Utf16ToUtf8(const std::u16string& text)
{
  return Utf16ToUtf8(text.data(), text.size());
}

} // namespace pfw::gui
