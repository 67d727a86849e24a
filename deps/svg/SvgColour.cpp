#include "deps/svg/SvgColour.h"

#include "deps/svg/SvgNumber.h"

#include <cctype>
#include <cmath>
#include <cstring>

namespace svg {

namespace {

struct NamedColour
{
  const char* name;
  uint8_t r, g, b;
};

// The basic keyword set plus the greys and a few colours drawing programs like to write.
const NamedColour kNamedColours[] = {
  {"black", 0, 0, 0},        {"silver", 192, 192, 192}, {"gray", 128, 128, 128},
  {"grey", 128, 128, 128},   {"white", 255, 255, 255},  {"maroon", 128, 0, 0},
  {"red", 255, 0, 0},        {"purple", 128, 0, 128},   {"fuchsia", 255, 0, 255},
  {"magenta", 255, 0, 255},  {"green", 0, 128, 0},      {"lime", 0, 255, 0},
  {"olive", 128, 128, 0},    {"yellow", 255, 255, 0},   {"navy", 0, 0, 128},
  {"blue", 0, 0, 255},       {"teal", 0, 128, 128},     {"aqua", 0, 255, 255},
  {"cyan", 0, 255, 255},     {"orange", 255, 165, 0},   {"darkgray", 169, 169, 169},
  {"darkgrey", 169, 169, 169}, {"lightgray", 211, 211, 211}, {"lightgrey", 211, 211, 211},
  {"dimgray", 105, 105, 105}, {"dimgrey", 105, 105, 105}, {"gold", 255, 215, 0},
  {"brown", 165, 42, 42},    {"pink", 255, 192, 203},   {"indigo", 75, 0, 130},
  {"violet", 238, 130, 238}, {"crimson", 220, 20, 60},  {"darkred", 139, 0, 0},
  {"darkblue", 0, 0, 139},   {"darkgreen", 0, 100, 0},  {"steelblue", 70, 130, 180},
};

int HexValue(char c)
{
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

uint8_t ToByte(double value)
{
  if (!(value > 0.0))
    return 0;
  if (value >= 255.0)
    return 255;
  return static_cast<uint8_t>(std::lround(value));
}

bool ParseHex(const std::string& digits, Colour& colour)
{
  const size_t n = digits.size();
  if (n != 3 && n != 4 && n != 6 && n != 8)
    return false;
  int v[8] = {};
  for (size_t i = 0; i < digits.size(); ++i)
  {
    v[i] = HexValue(digits[i]);
    if (v[i] < 0)
      return false;
  }
  Colour result;
  if (digits.size() == 3 || digits.size() == 4)
  {
    result.r = static_cast<uint8_t>(v[0] * 17);
    result.g = static_cast<uint8_t>(v[1] * 17);
    result.b = static_cast<uint8_t>(v[2] * 17);
    result.a = digits.size() == 4 ? static_cast<uint8_t>(v[3] * 17) : 255;
  }
  else
  {
    result.r = static_cast<uint8_t>(v[0] * 16 + v[1]);
    result.g = static_cast<uint8_t>(v[2] * 16 + v[3]);
    result.b = static_cast<uint8_t>(v[4] * 16 + v[5]);
    result.a = digits.size() == 8 ? static_cast<uint8_t>(v[6] * 16 + v[7]) : 255;
  }
  colour = result;
  return true;
}

// "rgb(" or "rgba(" already consumed; reads the components and the ')'.
bool ParseFunctional(const char* p, const char* end, bool withAlpha, Colour& colour)
{
  double components[4] = {0.0, 0.0, 0.0, 1.0};
  const int count = withAlpha ? 4 : 3;
  SkipSpaces(p, end);
  for (int i = 0; i < count; ++i)
  {
    if (!ScanNumber(p, end, components[i]))
      return false;
    if (p < end && *p == '%')
    {
      ++p;
      components[i] = i < 3 ? components[i] * 255.0 / 100.0 : components[i] / 100.0;
    }
    SkipSpaces(p, end);
    if (i + 1 < count)
    {
      if (p < end && (*p == ',' || *p == '/'))
        ++p;
      SkipSpaces(p, end);
    }
  }
  if (p >= end || *p != ')')
    return false;
  ++p;
  SkipSpaces(p, end);
  if (p != end)
    return false;
  colour = {ToByte(components[0]), ToByte(components[1]), ToByte(components[2]),
            ToByte(components[3] * 255.0)};
  return true;
}

} // namespace

bool ParseColour(const std::string& text, Colour& colour)
{
  std::string value = Trim(text);
  if (value.empty())
    return false;
  if (value[0] == '#')
    return ParseHex(value.substr(1), colour);
  for (char& c : value)
    c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  const char* p = value.c_str();
  const char* end = p + value.size();
  if (value.compare(0, 5, "rgba(") == 0)
    return ParseFunctional(p + 5, end, true, colour);
  if (value.compare(0, 4, "rgb(") == 0)
    return ParseFunctional(p + 4, end, false, colour);
  if (value == "transparent")
  {
    colour = {0, 0, 0, 0};
    return true;
  }
  for (const NamedColour& named : kNamedColours)
  {
    if (value == named.name)
    {
      colour = {named.r, named.g, named.b, 255};
      return true;
    }
  }
  return false;
}

} // namespace svg
