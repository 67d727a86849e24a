#pragma once

// Numbers and lengths as SVG attributes write them. The reader does not depend on the C
// locale, and it refuses values that overflow to infinity.

#include <string>
#include <vector>

namespace svg {

enum class LengthUnit { None, Px, Pt, Pc, Mm, Cm, In, Percent, Em, Ex };

struct Length
{
  double value = 0.0;
  LengthUnit unit = LengthUnit::None;
};

// Reads one number at pos (sign, digits, fraction, exponent) and moves pos past it; false,
// with pos unchanged, when there is no number there or it is not finite.
bool ScanNumber(const char*& pos, const char* end, double& value);

// Skips whitespace and at most one comma (with the whitespace around it).
void SkipSeparators(const char*& pos, const char* end);
void SkipSpaces(const char*& pos, const char* end);

// A whole attribute value: one number with an optional unit, surrounded only by whitespace.
bool ParseLength(const std::string& text, Length& length);
bool ParseNumber(const std::string& text, double& value);

// A list of numbers separated by whitespace and/or commas; false on any other text.
bool ParseNumberList(const std::string& text, std::vector<double>& values);

std::string Trim(const std::string& text);

} // namespace svg
