#include "product/editor/PhysicalUnits.h"

#include "product/core/ParamSpecTable.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstring>

namespace editor {

namespace {

// A number with a fixed count of decimals, as "%.*f" would write it in the C locale; a
// result that reads as zero carries no minus sign.
std::string Fixed(double value, int decimals)
{
  char buffer[64];
  const std::to_chars_result result =
    std::to_chars(buffer, buffer + sizeof(buffer), value, std::chars_format::fixed, decimals);
  if (result.ec != std::errc())
    return "nan";
  std::string text(buffer, result.ptr);
  if (text[0] == '-' && text.find_first_not_of("-0.") == std::string::npos)
    text.erase(0, 1);
  return text;
}

std::string FormatText(const char* unit, double value)
{
  const auto is = [unit](const char* name) { return std::strcmp(unit, name) == 0; };
  if (is("Hz"))
  {
    if (value >= 1000.0)
      return Fixed(value / 1000.0, 2) + " kHz";
    return Fixed(value, value < 10.0 ? 2 : 0) + " Hz";
  }
  if (is("ms"))
    return Fixed(value, value < 1.0 ? 2 : value < 10.0 ? 1 : 0) + " ms";
  if (is("s"))
    return Fixed(value, 2) + " s";
  if (is("cm"))
    return Fixed(value, 1) + " cm";
  if (is("dB") || is("dBFS"))
    return Fixed(value, 1) + " " + unit;
  if (is("%"))
    return Fixed(value, 0) + " %";
  if (is(":1") || is("x"))
    return Fixed(value, 2) + ":1";
  if (is("deg"))
    return Fixed(value, 1) + " deg";
  if (is("Q"))
    return Fixed(value, 2) + " Q";
  return Fixed(value, 2);
}

struct Suffix
{
  const char* text; // lower case, white space removed; null ends the list
  double factor;    // brings the number to the label's unit
};

struct UnitSuffixes
{
  const char* unit;
  Suffix suffixes[5];
};

// The suffixes each unit label accepts; the empty suffix means the label's own unit.
const UnitSuffixes kUnitSuffixes[] = {
  {"Hz", {{"", 1.0}, {"hz", 1.0}, {"k", 1000.0}, {"khz", 1000.0}}},
  {"ms", {{"", 1.0}, {"ms", 1.0}, {"s", 1000.0}}},
  {"s", {{"", 1.0}, {"s", 1.0}, {"ms", 0.001}}},
  {"cm", {{"", 1.0}, {"cm", 1.0}, {"m", 100.0}}},
  {"dB", {{"", 1.0}, {"db", 1.0}, {"dbfs", 1.0}}},
  {"dBFS", {{"", 1.0}, {"db", 1.0}, {"dbfs", 1.0}}},
  {"%", {{"", 1.0}, {"%", 1.0}}},
  {":1", {{"", 1.0}, {":1", 1.0}, {"x", 1.0}}},
  {"x", {{"", 1.0}, {":1", 1.0}, {"x", 1.0}}},
  {"deg", {{"", 1.0}, {"deg", 1.0}, {"degrees", 1.0}}},
  {"Q", {{"", 1.0}, {"q", 1.0}}},
};

bool SuffixFactor(const char* unit, const std::string& suffix, double& factor)
{
  static const Suffix kBareNumber[] = {{"", 1.0}, {nullptr, 0.0}};
  const Suffix* suffixes = kBareNumber;
  for (const UnitSuffixes& entry : kUnitSuffixes)
    if (std::strcmp(entry.unit, unit) == 0)
      suffixes = entry.suffixes;
  for (; suffixes->text; ++suffixes)
    if (suffix == suffixes->text)
    {
      factor = suffixes->factor;
      return true;
    }
  return false;
}

bool IsSpace(char c)
{
  return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

// Reads a number at the start of the text as the C library's strtod does in the C locale
// (leading white space, a sign, decimals, an exponent, infinity and NaN spellings); returns
// where the number ends, or null when there is none.
const char* ReadNumber(const char* text, double& number)
{
  while (IsSpace(*text))
    ++text;
  const bool plus = *text == '+';
  if (plus && (text[1] == '+' || text[1] == '-'))
    return nullptr;
  const char* start = plus ? text + 1 : text;
  const char* end = start + std::strlen(start);
  const std::from_chars_result result = std::from_chars(start, end, number, std::chars_format::general);
  if (result.ec == std::errc::invalid_argument)
    return nullptr;
  // Beyond what a double holds, either way: no usable value.
  if (result.ec == std::errc::result_out_of_range)
    number = HUGE_VAL;
  return result.ptr;
}

} // namespace

void FormatPhysicalValue(int paramIdx, double value, char* out, int capacity)
{
  if (!out || capacity <= 0)
    return;
  const char* unit = paramIdx >= 0 && paramIdx < kNumParams ? ParamSpecTable::kLabels[paramIdx] : "";
  const std::string text = FormatText(unit, value);
  const size_t length = std::min(text.size(), static_cast<size_t>(capacity - 1));
  std::memcpy(out, text.data(), length);
  out[length] = '\0';
}

bool ParsePhysicalValue(int paramIdx, const char* text, double& value)
{
  if (!text || paramIdx < 0 || paramIdx >= kNumParams)
    return false;
  double number = 0.0;
  const char* rest = ReadNumber(text, number);
  if (!rest || !std::isfinite(number))
    return false;

  std::string suffix;
  for (; *rest; ++rest)
    if (!IsSpace(*rest))
      suffix += (*rest >= 'A' && *rest <= 'Z') ? static_cast<char>(*rest - 'A' + 'a') : *rest;
  double factor = 1.0;
  if (!SuffixFactor(ParamSpecTable::kLabels[paramIdx], suffix, factor))
    return false;

  const double scaled = number * factor;
  const float minimum = ParamSpecTable::kMinimums[paramIdx];
  const float maximum = ParamSpecTable::kMaximums[paramIdx];
  if (!std::isfinite(scaled) || (scaled < 0.0 && minimum >= 0.f))
    return false;
  const float single = ParamValueToFloat(scaled);
  if (!std::isfinite(single) || single < minimum || single > maximum)
    return false;
  value = std::clamp(scaled, static_cast<double>(minimum), static_cast<double>(maximum));
  return true;
}

std::string FormatEntryValue(double value)
{
  char buffer[64];
  const std::to_chars_result result =
    std::to_chars(buffer, buffer + sizeof(buffer), value, std::chars_format::general, 8);
  return result.ec == std::errc() ? std::string(buffer, result.ptr) : std::string();
}

} // namespace editor
