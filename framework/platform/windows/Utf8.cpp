#include "framework/platform/windows/Utf8.h"

#include <windows.h>

#include <cstring>

namespace pfw {

namespace {

// The length of the well-formed sequence at text, or 0.
int SequenceLength(const unsigned char* text)
{
  const unsigned char lead = text[0];
  int length;
  if (lead >= 0xC2 && lead <= 0xDF)
    length = 2;
  else if (lead >= 0xE0 && lead <= 0xEF)
    length = 3;
  else if (lead >= 0xF0 && lead <= 0xF7)
    length = 4;
  else
    return 0;
  for (int i = 1; i < length; ++i)
    if ((text[i] & 0xC0) != 0x80)
      return 0; // also stops at the terminator
  if (lead == 0xE0 && text[1] < 0xA0)
    return 0; // overlong three-byte form
  if (lead == 0xF0 && text[1] < 0x90)
    return 0; // overlong four-byte form
  return length;
}

} // namespace

int ClassifyUtf8(const char* text)
{
  if (!text)
    return 0;
  const unsigned char* bytes = reinterpret_cast<const unsigned char*>(text);
  int result = 0;
  while (*bytes)
  {
    if (*bytes < 0x80)
    {
      ++bytes;
      continue;
    }
    const int length = SequenceLength(bytes);
    if (length == 0)
      return -1;
    result = 1;
    bytes += length;
  }
  return result;
}

bool WideToUtf8(const wchar_t* text, GrowString& utf8)
{
  const std::string converted = WideToUtf8(text);
  utf8.Clear();
  if (converted.empty())
    return !text || !*text;
  return utf8.Set(converted.c_str());
}

std::wstring TolerantUtf8ToWide(const char* text)
{
  if (!text)
    return std::wstring();
  const unsigned char* bytes = reinterpret_cast<const unsigned char*>(text);
  const size_t length = std::strlen(text);
  size_t wellFormed = 0, malformed = 0;
  for (size_t i = 0; i < length;)
  {
    if (bytes[i] < 0x80)
    {
      ++i;
      continue;
    }
    const int sequence = SequenceLength(bytes + i);
    if (sequence)
    {
      wellFormed += static_cast<size_t>(sequence);
      i += static_cast<size_t>(sequence);
    }
    else
    {
      ++malformed;
      ++i;
    }
  }
  std::wstring wide;
  const bool asUtf8 = wellFormed >= 5 * malformed || 4 * wellFormed >= 3 * length;
  if (!asUtf8)
  {
    const int units = MultiByteToWideChar(CP_ACP, 0, text, -1, nullptr, 0);
    if (units > 0)
    {
      wide.resize(static_cast<size_t>(units));
      MultiByteToWideChar(CP_ACP, 0, text, -1, &wide[0], units);
      wide.resize(static_cast<size_t>(units - 1));
    }
    return wide;
  }
  for (size_t i = 0; i < length;)
  {
    const int sequence = bytes[i] < 0x80 ? 1 : SequenceLength(bytes + i);
    wchar_t units[4];
    int count = MultiByteToWideChar(sequence ? CP_UTF8 : CP_ACP, 0, text + i, sequence ? sequence : 1, units, 4);
    if (count <= 0)
    {
      units[0] = 0xFFFD;
      count = 1;
    }
    wide.append(units, static_cast<size_t>(count));
    i += sequence ? static_cast<size_t>(sequence) : 1;
  }
  return wide;
}

void ApplyLongPathRule(std::wstring& path)
{
  if (path.size() < 256)
    return;
  if (path.compare(0, 4, L"\\\\?\\") == 0)
    return; // already long; prefixing again would break it
  if (path[1] == L':')
    path.insert(0, L"\\\\?\\");
  else if (path[0] == L'\\' && path[1] == L'\\')
    path.replace(0, 2, L"\\\\?\\UNC\\");
  else
    return;
  for (wchar_t& unit : path)
    if (unit == L'/')
      unit = L'\\';
}

size_t CopyUtf8(const std::string& text, char* buffer, size_t size)
{
  if (!buffer || size == 0)
    return 0;
  size_t length = text.size() < size - 1 ? text.size() : size - 1;
  // Never end on half a character: back off over continuation bytes and their lead.
  if (length < text.size())
    while (length > 0 && (static_cast<unsigned char>(text[length]) & 0xC0) == 0x80)
      --length;
  std::memcpy(buffer, text.data(), length);
  std::memset(buffer + length, 0, size - length);
  return length;
}

} // namespace pfw
