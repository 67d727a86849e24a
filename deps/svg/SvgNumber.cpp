#include "deps/svg/SvgNumber.h"

#include <cmath>
#include <cstdint>
#include <cstring>

namespace svg {

namespace {

bool IsDigit(char c)
{
  return c >= '0' && c <= '9';
}

bool IsSpace(char c)
{
  return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\f';
}

double PowerOfTen(int exponent)
{
  static const double kExact[] = {1e0, 1e1, 1e2, 1e3, 1e4, 1e5, 1e6, 1e7, 1e8, 1e9, 1e10, 1e11,
                                  1e12, 1e13, 1e14, 1e15, 1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};
  if (exponent <= 22)
    return kExact[exponent];
  return std::pow(10.0, exponent);
}

} // namespace

bool ScanNumber(const char*& pos, const char* end, double& value)
{
  const char* p = pos;
  bool negative = false;
  if (p < end && (*p == '+' || *p == '-'))
  {
    negative = *p == '-';
    ++p;
  }
  uint64_t mantissa = 0;
  int significant = 0;
  int exponent = 0;
  bool anyDigit = false;
  for (; p < end && IsDigit(*p); ++p)
  {
    anyDigit = true;
    if (significant < 18)
    {
      mantissa = mantissa * 10 + static_cast<uint64_t>(*p - '0');
      if (mantissa != 0)
        ++significant;
    }
    else
      ++exponent; // digits beyond the precision kept only scale the value
  }
  if (p < end && *p == '.' && p + 1 < end && IsDigit(p[1]))
  {
    for (++p; p < end && IsDigit(*p); ++p)
    {
      anyDigit = true;
      if (significant < 18)
      {
        mantissa = mantissa * 10 + static_cast<uint64_t>(*p - '0');
        --exponent;
        if (mantissa != 0)
          ++significant;
      }
    }
  }
  else if (p < end && *p == '.' && anyDigit)
    ++p; // "5." is five
  if (!anyDigit)
    return false;
  // An exponent only when digits follow, so that "2em" stays a number and a unit.
  if (p < end && (*p == 'e' || *p == 'E'))
  {
    const char* q = p + 1;
    bool negativeExponent = false;
    if (q < end && (*q == '+' || *q == '-'))
    {
      negativeExponent = *q == '-';
      ++q;
    }
    if (q < end && IsDigit(*q))
    {
      int written = 0;
      for (; q < end && IsDigit(*q); ++q)
      {
        if (written < 100000)
          written = written * 10 + (*q - '0');
      }
      exponent += negativeExponent ? -written : written;
      p = q;
    }
  }
  double result = static_cast<double>(mantissa);
  if (mantissa != 0 && exponent > 0)
    result = exponent > 400 ? HUGE_VAL : result * PowerOfTen(exponent);
  else if (mantissa != 0 && exponent < 0)
    result = exponent < -400 ? 0.0 : result / PowerOfTen(-exponent);
  if (!std::isfinite(result))
    return false;
  value = negative ? -result : result;
  pos = p;
  return true;
}

void SkipSpaces(const char*& pos, const char* end)
{
  while (pos < end && IsSpace(*pos))
    ++pos;
}

void SkipSeparators(const char*& pos, const char* end)
{
  SkipSpaces(pos, end);
  if (pos < end && *pos == ',')
  {
    ++pos;
    SkipSpaces(pos, end);
  }
}

std::string Trim(const std::string& text)
{
  size_t first = 0;
  size_t last = text.size();
  while (first < last && IsSpace(text[first]))
    ++first;
  while (last > first && IsSpace(text[last - 1]))
    --last;
  return text.substr(first, last - first);
}

bool ParseLength(const std::string& text, Length& length)
{
  const std::string trimmed = Trim(text);
  const char* p = trimmed.c_str();
  const char* end = p + trimmed.size();
  double value = 0.0;
  if (!ScanNumber(p, end, value))
    return false;
  const std::string unit(p, end);
  static const struct
  {
    const char* name;
    LengthUnit unit;
  } kUnits[] = {{"", LengthUnit::None}, {"px", LengthUnit::Px}, {"pt", LengthUnit::Pt},
                {"pc", LengthUnit::Pc}, {"mm", LengthUnit::Mm}, {"cm", LengthUnit::Cm},
                {"in", LengthUnit::In}, {"%", LengthUnit::Percent}, {"em", LengthUnit::Em},
                {"ex", LengthUnit::Ex}};
  for (const auto& entry : kUnits)
  {
    if (unit == entry.name)
    {
      length.value = value;
      length.unit = entry.unit;
      return true;
    }
  }
  return false;
}

bool ParseNumber(const std::string& text, double& value)
{
  const std::string trimmed = Trim(text);
  const char* p = trimmed.c_str();
  const char* end = p + trimmed.size();
  return ScanNumber(p, end, value) && p == end;
}

bool ParseNumberList(const std::string& text, std::vector<double>& values)
{
  values.clear();
  const char* p = text.c_str();
  const char* end = p + text.size();
  SkipSpaces(p, end);
  while (p < end)
  {
    double value = 0.0;
    if (!ScanNumber(p, end, value))
      return false;
    values.push_back(value);
    SkipSeparators(p, end);
  }
  return true;
}

} // namespace svg
