#include "IParam.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace pfw {

namespace {

constexpr double kExpFloor = 1e-8;
constexpr int kMaxPrecision = 6;

void CopyText(char (&destination)[IParam::kTextSize], const char* text)
{
  std::snprintf(destination, sizeof(destination), "%s", text ? text : "");
}

// A number comes from plain decimal text only: "nan", "inf" and hexadecimal, which the C
// reader would accept, must never reach a parameter or a saved state.
double ReadLeadingDecimal(const char* text)
{
  if (!text)
    return 0.0;
  while (*text == ' ' || *text == '\t')
    ++text;
  const char* end = text;
  if (*end == '+' || *end == '-')
    ++end;
  int digits = 0;
  while (std::isdigit(static_cast<unsigned char>(*end)))
    ++end, ++digits;
  if (*end == '.')
  {
    ++end;
    while (std::isdigit(static_cast<unsigned char>(*end)))
      ++end, ++digits;
  }
  if (digits == 0)
    return 0.0;
  if (*end == 'e' || *end == 'E')
  {
    const char* exponent = end + 1;
    if (*exponent == '+' || *exponent == '-')
      ++exponent;
    if (std::isdigit(static_cast<unsigned char>(*exponent)))
    {
      end = exponent;
      while (std::isdigit(static_cast<unsigned char>(*end)))
        ++end;
    }
  }
  const std::string number(text, end);
  return std::strtod(number.c_str(), nullptr);
}

bool IsAllZeroDigits(const char* text)
{
  for (; *text; ++text)
    if (std::isdigit(static_cast<unsigned char>(*text)) && *text != '0')
      return false;
  return true;
}

} // namespace

double IParam::ShapeLinear::ValueFromNormalized(double normalized, const IParam& param) const
{
  return param.GetMin() + normalized * (param.GetMax() - param.GetMin());
}

double IParam::ShapeLinear::NormalizedFromValue(double value, const IParam& param) const
{
  return (value - param.GetMin()) / (param.GetMax() - param.GetMin());
}

void IParam::ShapeExp::Init(const IParam& param)
{
  const double base = param.GetMin() <= 0.0 ? kExpFloor : param.GetMin();
  add = std::log(base);
  mul = std::log(param.GetMax() / base);
}

double IParam::ShapeExp::ValueFromNormalized(double normalized, const IParam&) const
{
  return std::exp(normalized * mul + add);
}

double IParam::ShapeExp::NormalizedFromValue(double value, const IParam&) const
{
  return (std::log(value) - add) / mul;
}

IParam::IParam()
  : mShape(new ShapeLinear)
{
}

IParam::~IParam()
{
  delete mShape;
}

void IParam::InitDouble(const char* name, double defaultValue, double minValue, double maxValue, double step,
                        const char* label, int flags, const char* group, const Shape& shape, int unit,
                        DisplayFunc displayFunc)
{
  if (mType == kTypeNone)
    mType = kTypeDouble;
  CopyText(mName, name);
  CopyText(mLabel, label);
  CopyText(mGroup, group);
  mMin = minValue;
  mMax = std::max(maxValue, minValue + step);
  mStep = step;
  mDefault = defaultValue;
  mUnit = unit;
  mFlags = flags;
  mDisplayFunc = std::move(displayFunc);
  mValue.exchange(Constrain(defaultValue));

  mDisplayPrecision = 0;
  for (double scaled = step; mDisplayPrecision < kMaxPrecision && scaled != std::floor(scaled); scaled *= 10.0)
    ++mDisplayPrecision;

  Shape* replaced = mShape;
  mShape = shape.Clone();
  delete replaced;
  mShape->Init(*this);
}

void IParam::InitInt(const char* name, int defaultValue, int minValue, int maxValue, const char* label, int flags,
                     const char* group)
{
  if (mType == kTypeNone)
    mType = kTypeInt;
  InitDouble(name, defaultValue, minValue, maxValue, 1.0, label, flags | kFlagStepped, group, ShapeLinear(),
             kUnitCustom, nullptr);
}

double IParam::Constrain(double value) const
{
  if (std::isnan(value))
    value = mDefault;
  if ((mFlags & kFlagStepped) && mStep > 0.0 && std::isfinite(value))
    value = std::round(value / mStep) * mStep;
  if (value < mMin)
    value = mMin;
  if (value > mMax)
    value = mMax;
  return value;
}

double IParam::ToNormalized(double value) const
{
  const double normalized = mShape->NormalizedFromValue(Constrain(value), *this);
  if (!(normalized > 0.0)) // NaN from a degenerate range reads as the bottom
    return 0.0;
  return std::min(normalized, 1.0);
}

double IParam::FromNormalized(double normalized) const
{
  return Constrain(mShape->ValueFromNormalized(normalized, *this));
}

void IParam::Set(double value)
{
  mValue.exchange(std::isfinite(value) ? value : Constrain(value));
}

bool IParam::SetNormalized(double normalized)
{
  if (!std::isfinite(normalized))
    return false;
  mValue.exchange(FromNormalized(normalized));
  return true;
}

double IParam::GetDefault(bool normalized) const
{
  return normalized ? ToNormalized(mDefault) : mDefault;
}

bool IParam::SetDisplayText(double value, const char* text)
{
  IParamDisplayText entry{value, {}};
  CopyText(entry.text, text);
  return mDisplayTexts.Add(entry) != nullptr;
}

const char* IParam::GetDisplayText(double value) const
{
  for (int i = 0; i < mDisplayTexts.GetSize(); ++i)
    if (mDisplayTexts.Get(i)->value == value)
      return mDisplayTexts.Get(i)->text;
  return "";
}

const char* IParam::GetLabelForCurrentValue() const
{
  const char* text = GetDisplayText(std::trunc(Value()));
  return *text ? "" : mLabel;
}

void IParam::GetDisplay(double value, bool normalized, GrowString& text, bool withDisplayText) const
{
  constexpr int kMaxLength = kTextSize - 1;
  if (normalized)
    value = FromNormalized(value);

  if (mDisplayFunc)
  {
    text.Set("");
    mDisplayFunc(value, text);
    if (text.GetLength() > kMaxLength)
      text.Set(text.Get(), kMaxLength);
    return;
  }

  if (withDisplayText)
  {
    for (int i = 0; i < mDisplayTexts.GetSize(); ++i)
    {
      const IParamDisplayText* entry = mDisplayTexts.Get(i);
      if (entry->value != value)
        continue;
      if (entry->text[0])
      {
        text.Set(entry->text);
        return;
      }
      break;
    }
  }

  double shown = (mFlags & kFlagNegateDisplay) ? -value : value;
  if (mDisplayPrecision == 0)
  {
    shown = std::round(shown);
    if (shown == 0.0)
      shown = 0.0; // also turns -0 into +0
    text.SetFormatted(kMaxLength, "%.0f", shown);
    return;
  }

  // A value that rounds to zero at this precision shows as an unsigned zero, not "-0.00".
  text.SetFormatted(kMaxLength, "%.*f", mDisplayPrecision, shown);
  if (IsAllZeroDigits(text.Get()))
    shown = 0.0;
  if ((mFlags & kFlagSignDisplay) && shown != 0.0)
    text.SetFormatted(kMaxLength, "%+.*f", mDisplayPrecision, shown);
  else
    text.SetFormatted(kMaxLength, "%.*f", mDisplayPrecision, shown);
}

double IParam::MapDisplayText(const char* text) const
{
  const char* typed = text ? text : "";
  for (int i = 0; i < mDisplayTexts.GetSize(); ++i)
    if (std::strcmp(mDisplayTexts.Get(i)->text, typed) == 0)
      return mDisplayTexts.Get(i)->value;
  if (mType == kTypeBool || mType == kTypeEnum)
    return 0.0;
  double value = ReadLeadingDecimal(typed);
  if (mFlags & kFlagNegateDisplay)
    value = -value;
  return Constrain(value);
}

} // namespace pfw
