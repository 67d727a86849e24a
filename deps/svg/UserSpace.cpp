#include "deps/svg/UserSpace.h"

#include "deps/svg/XmlDocument.h"

#include <cmath>

namespace svg {

double UserSpace::PxPerUnit(const std::string& unit) const
{
  if (unit == "pt") return pxPerInch / 72.0;
  if (unit == "pc") return pxPerInch / 6.0;
  if (unit == "mm") return pxPerInch / 25.4;
  if (unit == "cm") return pxPerInch / 2.54;
  if (unit == "in") return pxPerInch;
  return 1.0;
}

double UserSpace::ToUser(const Length& length, Axis axis, double fontSize) const
{
  switch (length.unit)
  {
    case LengthUnit::Pt: return length.value * PxPerUnit("pt");
    case LengthUnit::Pc: return length.value * PxPerUnit("pc");
    case LengthUnit::Mm: return length.value * PxPerUnit("mm");
    case LengthUnit::Cm: return length.value * PxPerUnit("cm");
    case LengthUnit::In: return length.value * PxPerUnit("in");
    case LengthUnit::Em: return length.value * fontSize;
    case LengthUnit::Ex: return length.value * fontSize / 2.0;
    case LengthUnit::Percent:
    {
      const double reference = axis == Axis::X   ? viewportWidth
                               : axis == Axis::Y ? viewportHeight
                                                 : std::sqrt((viewportWidth * viewportWidth + viewportHeight * viewportHeight) / 2.0);
      return length.value / 100.0 * reference;
    }
    default: return length.value;
  }
}

double UserSpace::LengthAttribute(const XmlElement& element, const char* name, Axis axis, double fontSize,
                                  double fallback, bool* present) const
{
  const std::string* text = element.Find(name);
  Length length;
  const bool valid = text && ParseLength(*text, length);
  if (present)
    *present = valid;
  return valid ? ToUser(length, axis, fontSize) : fallback;
}

} // namespace svg
