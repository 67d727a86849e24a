#pragma once

// How lengths written in a document become user units: one user unit is one pixel,
// physical units convert at the reader's dpi, percentages are of the viewport, em of the
// font size.

#include "deps/svg/SvgNumber.h"

#include <string>

namespace svg {

struct XmlElement;

enum class Axis { X, Y, Diagonal }; // what a percentage is of: width, height or their mean

struct UserSpace
{
  double pxPerInch = 96.0;
  double viewportWidth = 0.0;
  double viewportHeight = 0.0;

  // Pixels in one "px", "pt", "pc", "mm", "cm" or "in"; anything else counts as "px".
  double PxPerUnit(const std::string& unit) const;
  double ToUser(const Length& length, Axis axis, double fontSize) const;
  // The attribute as a length in user units, or the fallback when absent or not a length.
  double LengthAttribute(const XmlElement& element, const char* name, Axis axis, double fontSize, double fallback,
                         bool* present = nullptr) const;
};

} // namespace svg
