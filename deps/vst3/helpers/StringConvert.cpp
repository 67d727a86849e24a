#include "deps/vst3/helpers/StringConvert.h"

#include <windows.h>

namespace Steinberg {

int32 strlen16(const char16* text)
{
  int32 length = 0;
  if (text)
    while (text[length] != 0)
      ++length;
  return length;
}

void widenText(char16* dst, int32 dstUnits, const char* src)
{
  if (!dst || dstUnits <= 0)
    return;
  int32 i = 0;
  for (; src && i < dstUnits - 1 && src[i] != 0; ++i)
    dst[i] = static_cast<char16>(static_cast<unsigned char>(src[i]));
  for (; i < dstUnits; ++i)
    dst[i] = 0;
}

void narrowText(char* dst, int32 dstSize, const char16* src)
{
  if (!dst || dstSize <= 0)
    return;
  int32 i = 0;
  for (; src && i < dstSize - 1 && src[i] != 0; ++i)
    dst[i] = static_cast<char>(src[i] & 0xFF);
  for (; i < dstSize; ++i)
    dst[i] = 0;
}

void copyText8(char* dst, int32 dstSize, const char* src)
{
  if (!dst || dstSize <= 0)
    return;
  int32 i = 0;
  for (; src && i < dstSize - 1 && src[i] != 0; ++i)
    dst[i] = src[i];
  for (; i < dstSize; ++i)
    dst[i] = 0;
}

void copyText16(char16* dst, int32 dstUnits, const char16* src)
{
  if (!dst || dstUnits <= 0)
    return;
  int32 i = 0;
  for (; src && i < dstUnits - 1 && src[i] != 0; ++i)
    dst[i] = src[i];
  for (; i < dstUnits; ++i)
    dst[i] = 0;
}

int32 utf16ToUtf8(char* dst, int32 dstSize, const char16* src, int32 srcUnits)
{
  if (!dst || dstSize <= 0)
    return 0;
  const int32 available = srcUnits < 0 ? strlen16(src) : srcUnits;
  int32 out = 0;
  for (int32 i = 0; src && i < available && src[i] != 0; ++i)
  {
    uint32 code = src[i];
    if (code >= 0xD800 && code <= 0xDBFF && i + 1 < available && src[i + 1] >= 0xDC00 && src[i + 1] <= 0xDFFF)
      code = 0x10000 + ((code - 0xD800) << 10) + (src[++i] - 0xDC00u);
    else if (code >= 0xD800 && code <= 0xDFFF)
      code = 0xFFFD;
    char bytes[4];
    int32 count;
    if (code < 0x80)
    {
      bytes[0] = static_cast<char>(code);
      count = 1;
    }
    else if (code < 0x800)
    {
      bytes[0] = static_cast<char>(0xC0 | (code >> 6));
      bytes[1] = static_cast<char>(0x80 | (code & 0x3F));
      count = 2;
    }
    else if (code < 0x10000)
    {
      bytes[0] = static_cast<char>(0xE0 | (code >> 12));
      bytes[1] = static_cast<char>(0x80 | ((code >> 6) & 0x3F));
      bytes[2] = static_cast<char>(0x80 | (code & 0x3F));
      count = 3;
    }
    else
    {
      bytes[0] = static_cast<char>(0xF0 | (code >> 18));
      bytes[1] = static_cast<char>(0x80 | ((code >> 12) & 0x3F));
      bytes[2] = static_cast<char>(0x80 | ((code >> 6) & 0x3F));
      bytes[3] = static_cast<char>(0x80 | (code & 0x3F));
      count = 4;
    }
    if (out + count > dstSize - 1)
      break;
    for (int32 b = 0; b < count; ++b)
      dst[out++] = bytes[b];
  }
  dst[out] = 0;
  return out;
}

int32 utf16ToAnsi(char* dst, int32 dstSize, const char16* src)
{
  if (!dst || dstSize <= 0)
    return -1;
  dst[0] = 0;
  if (!src || src[0] == 0)
    return 0;
  const int written = WideCharToMultiByte(CP_ACP, 0, reinterpret_cast<const wchar_t*>(src), -1, dst, dstSize,
                                          nullptr, nullptr);
  if (written <= 0)
  {
    dst[0] = 0;
    return -1;
  }
  return written - 1;
}

} // namespace Steinberg
