#include "framework/core/IParam.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

using pfw::GrowString;
using pfw::IParam;

namespace {

std::string Display(const IParam& param, double value, bool withDisplayText = true)
{
  GrowString text;
  param.GetDisplay(value, false, text, withDisplayText);
  return text.Get();
}

} // namespace

TEST(IParam, NewParameterHasTheDocumentedDefaults)
{
  IParam param;
  EXPECT_EQ(param.GetType(), IParam::kTypeNone);
  EXPECT_EQ(param.GetUnit(), 21);
  EXPECT_EQ(param.Value(), 0.0);
  EXPECT_EQ(param.GetMin(), 0.0);
  EXPECT_EQ(param.GetMax(), 1.0);
  EXPECT_EQ(param.GetStep(), 1.0);
  EXPECT_EQ(param.GetShape().GetShapeKind(), 0);
  EXPECT_EQ(param.NDisplayTexts(), 0);
  EXPECT_STREQ(param.GetName(), "");
}

TEST(IParam, InitSetsTypeOnceAndWidensADegenerateRange)
{
  IParam param;
  param.InitDouble("Tiny", 0.002, 0.0, 0.005, 0.01, "ms");
  EXPECT_EQ(param.GetType(), IParam::kTypeDouble);
  EXPECT_EQ(param.GetMax(), 0.01) << "the maximum is at least min + step";
  EXPECT_EQ(param.Value(), 0.002);
  EXPECT_EQ(param.GetDisplayPrecision(), 2);

  param.InitInt("Again", 1, 0, 3);
  EXPECT_EQ(param.GetType(), IParam::kTypeDouble) << "the type is set only while it is 0";
  EXPECT_TRUE(param.GetStepped());

  IParam integer;
  integer.InitInt("Count", 4, 0, 15, "", IParam::kFlagCannotAutomate);
  EXPECT_EQ(integer.GetType(), IParam::kTypeInt);
  EXPECT_EQ(integer.GetFlags(), IParam::kFlagCannotAutomate | IParam::kFlagStepped);
  EXPECT_FALSE(integer.GetCanAutomate());
  EXPECT_EQ(integer.Value(), 4.0);
}

TEST(IParam, NamesAreCutTo31Characters)
{
  IParam param;
  const std::string longName(60, 'n');
  param.InitDouble(longName.c_str(), 0, 0, 1, 0.01, longName.c_str(), 0, longName.c_str());
  EXPECT_EQ(std::string(param.GetName()), std::string(31, 'n'));
  EXPECT_EQ(std::string(param.GetLabel()).size(), 31u);
  EXPECT_EQ(std::string(param.GetGroup()).size(), 31u);
}

TEST(IParam, DisplayPrecisionFollowsTheStep)
{
  const struct
  {
    double step;
    int precision;
  } cases[] = {{1.0, 0}, {0.1, 1}, {0.01, 2}, {0.001, 3}, {0.5, 1}, {1e-9, 6}, {2.0, 0}};
  for (const auto& c : cases)
  {
    IParam param;
    param.InitDouble("p", 0, 0, 100, c.step);
    EXPECT_EQ(param.GetDisplayPrecision(), c.precision) << "step " << c.step;
  }
}

TEST(IParam, SteppedValuesRoundHalvesAwayFromZeroThenClamp)
{
  IParam param;
  param.InitInt("Type", 0, 0, 15);
  EXPECT_EQ(param.Constrain(14.5), 15.0);
  EXPECT_EQ(param.Constrain(-0.5), 0.0);
  EXPECT_EQ(param.Constrain(7.49), 7.0);
  EXPECT_EQ(param.Constrain(99), 15.0);

  IParam real;
  real.InitDouble("Gain", 0, -12, 12, 0.01);
  EXPECT_EQ(real.Constrain(3.14159), 3.14159) << "not stepped: no rounding";
  EXPECT_EQ(real.Constrain(-40), -12.0);
}

TEST(IParam, NonFiniteValuesNeverBecomeTheValue)
{
  IParam param;
  param.InitDouble("Gain", 2.5, -12, 12, 0.01);
  const double nan = std::numeric_limits<double>::quiet_NaN();
  const double inf = std::numeric_limits<double>::infinity();
  EXPECT_EQ(param.Constrain(nan), 2.5) << "NaN gives the default";
  EXPECT_EQ(param.Constrain(inf), 12.0);
  EXPECT_EQ(param.Constrain(-inf), -12.0);

  param.Set(5.0);
  EXPECT_FALSE(param.SetNormalized(nan));
  EXPECT_FALSE(param.SetNormalized(inf));
  EXPECT_EQ(param.Value(), 5.0);
  param.Set(nan);
  EXPECT_EQ(param.Value(), 2.5);
  param.Set(-inf);
  EXPECT_EQ(param.Value(), -12.0);
  EXPECT_EQ(param.ToNormalized(nan), param.ToNormalized(2.5));

  IParam stepped;
  stepped.InitInt("Mode", 1, 0, 3);
  EXPECT_EQ(stepped.Constrain(inf), 3.0);
  EXPECT_EQ(stepped.Constrain(nan), 1.0);
}

TEST(IParam, LinearShapeMapsBothWaysAndClamps)
{
  IParam param;
  param.InitDouble("Pan", 0, -100, 100, 0.01);
  EXPECT_DOUBLE_EQ(param.FromNormalized(0.25), -50.0);
  EXPECT_DOUBLE_EQ(param.ToNormalized(50.0), 0.75);
  EXPECT_EQ(param.FromNormalized(1.7), 100.0) << "out-of-range positions are clamped";
  EXPECT_EQ(param.FromNormalized(-3), -100.0);
  EXPECT_EQ(param.ToNormalized(500), 1.0);
  EXPECT_EQ(param.GetDefault(true), 0.5);
  ASSERT_TRUE(param.SetNormalized(0.0));
  EXPECT_EQ(param.Value(), -100.0);
  EXPECT_EQ(param.GetNormalized(), 0.0);
}

TEST(IParam, ExponentialShapeIsGeometric)
{
  IParam param;
  param.InitDouble("Freq", 1000, 20, 20000, 0.001, "Hz", 0, "", IParam::ShapeExp());
  EXPECT_EQ(param.GetShape().GetShapeKind(), 1);
  EXPECT_NEAR(param.FromNormalized(0.5), std::sqrt(20.0 * 20000.0), 1e-9);
  EXPECT_NEAR(param.FromNormalized(0.5), 632.455532, 1e-6);
  EXPECT_DOUBLE_EQ(param.ToNormalized(20000), 1.0);
  EXPECT_NEAR(param.FromNormalized(0.0), 20.0, 1e-9);
  EXPECT_NEAR(param.ToNormalized(param.FromNormalized(0.3)), 0.3, 1e-12);
}

TEST(IParam, ExponentialShapeFromZeroStartsAtItsFloor)
{
  // The bottom of the curve is 1e-8, which lies inside the range: only a stepped
  // parameter rounds it to 0.
  IParam param;
  param.InitDouble("Time", 1, 0, 50, 0.001, "ms", 0, "", IParam::ShapeExp());
  EXPECT_NEAR(param.FromNormalized(0.0), 1e-8, 1e-20);
  EXPECT_NEAR(param.FromNormalized(1.0), 50.0, 1e-12);
  EXPECT_EQ(param.ToNormalized(0.0), 0.0) << "log(0) reads as the bottom";

  IParam stepped;
  stepped.InitDouble("Steps", 1, 0, 50, 1, "", IParam::kFlagStepped, "", IParam::ShapeExp());
  EXPECT_EQ(stepped.FromNormalized(0.0), 0.0);
}

TEST(IParam, ShapesAreCopiedNotShared)
{
  IParam::ShapeExp shape;
  IParam a, b;
  a.InitDouble("a", 10, 10, 1000, 0.01, "", 0, "", shape);
  b.InitDouble("b", 1, 1, 10, 0.01, "", 0, "", shape);
  EXPECT_NEAR(a.FromNormalized(0.5), 100.0, 1e-9);
  EXPECT_NEAR(b.FromNormalized(0.5), std::sqrt(10.0), 1e-12);
  EXPECT_EQ(shape.mul, 1.0) << "the caller's shape is left as it was";
}

TEST(IParam, DisplayOfNumbers)
{
  IParam param;
  param.InitDouble("Pan", 0, -100, 100, 0.01);
  EXPECT_EQ(Display(param, -0.0), "0.00");
  EXPECT_EQ(Display(param, 3.5), "3.50");
  EXPECT_EQ(Display(param, -0.004), "0.00") << "rounds to zero: no minus sign";
  EXPECT_EQ(Display(param, -0.006), "-0.01");
  EXPECT_EQ(Display(param, 12.345678), "12.35");

  IParam signedParam;
  signedParam.InitDouble("Trim", 0, -24, 24, 0.01, "dB", IParam::kFlagSignDisplay);
  EXPECT_EQ(Display(signedParam, 3.5), "+3.50");
  EXPECT_EQ(Display(signedParam, -3.5), "-3.50");
  EXPECT_EQ(Display(signedParam, 0.0), "0.00");
  EXPECT_EQ(Display(signedParam, 0.001), "0.00") << "a value shown as zero gets no sign";

  IParam integer;
  integer.InitInt("Semis", 0, -12, 12);
  EXPECT_EQ(Display(integer, 2.5), "3");
  EXPECT_EQ(Display(integer, -2.5), "-3");
  EXPECT_EQ(Display(integer, -0.4), "0");

  IParam negated;
  negated.InitDouble("Cut", 0, -60, 0, 0.1, "dB", IParam::kFlagNegateDisplay);
  EXPECT_EQ(Display(negated, -12.5), "12.5");
  EXPECT_EQ(Display(negated, 0.0), "0.0");

  GrowString text;
  param.GetDisplay(0.75, true, text);
  EXPECT_STREQ(text.Get(), "50.00") << "a normalised value is mapped first";
}

TEST(IParam, DisplayTextsAndTheirFallbacks)
{
  IParam param;
  param.InitInt("Switch", 0, 0, 2);
  param.SetDisplayText(0, "Off");
  param.SetDisplayText(1, "On");
  param.SetDisplayText(2, "");
  param.SetDisplayText(1, "Again");
  EXPECT_EQ(param.NDisplayTexts(), 4);
  EXPECT_STREQ(param.GetDisplayText(1), "On") << "the first match wins";
  EXPECT_STREQ(param.GetDisplayText(3), "");
  EXPECT_EQ(Display(param, 1), "On");
  EXPECT_EQ(Display(param, 1, false), "1");
  EXPECT_EQ(Display(param, 2), "2") << "an empty text shows the number";
  EXPECT_EQ(Display(param, 5), "5");
}

TEST(IParam, LabelIsHiddenWhenADisplayTextSaysItAll)
{
  IParam param;
  param.InitInt("Mode", 0, 0, 2, "x");
  param.SetDisplayText(0, "Clean");
  param.SetDisplayText(1, "");
  EXPECT_STREQ(param.GetLabelForCurrentValue(), "");
  param.Set(1);
  EXPECT_STREQ(param.GetLabelForCurrentValue(), "x");
  param.Set(2);
  EXPECT_STREQ(param.GetLabelForCurrentValue(), "x");
}

TEST(IParam, DisplayFunctionAloneFormatsAndIsCut)
{
  IParam param;
  param.InitDouble("Custom", 0.5, 0, 1, 0.01, "", 0, "", IParam::ShapeLinear(), 21,
                   [](double value, GrowString& text) {
                     text.SetFormatted(0, "%s %.1f", std::string(40, 'v').c_str(), value);
                   });
  param.SetDisplayText(0.5, "Half");
  GrowString text;
  param.GetDisplay(text);
  EXPECT_EQ(text.GetLength(), 31);
  EXPECT_EQ(std::string(text.Get()), std::string(31, 'v'));
}

TEST(IParam, MapDisplayText)
{
  IParam toggle;
  toggle.InitInt("Switch", 0, 0, 1);
  toggle.SetDisplayText(0, "Off");
  toggle.SetDisplayText(1, "On");
  EXPECT_EQ(toggle.MapDisplayText("On"), 1.0);
  EXPECT_EQ(toggle.MapDisplayText("on"), 0.0) << "display texts match case-sensitively; no number gives 0";
  EXPECT_EQ(toggle.MapDisplayText("7"), 1.0) << "parsed, then clamped";

  IParam list;
  list.InitInt("List", 0, 0, 9);
  list.SetType(IParam::kTypeEnum);
  EXPECT_EQ(list.MapDisplayText("7"), 0.0) << "a list takes only its texts";

  IParam gain;
  gain.InitDouble("Gain", 0, -24, 24, 0.01);
  EXPECT_EQ(gain.MapDisplayText("-3.25 dB"), -3.25);
  EXPECT_EQ(gain.MapDisplayText("  +1.5e1x"), 15.0);
  EXPECT_EQ(gain.MapDisplayText(".5"), 0.5);
  EXPECT_EQ(gain.MapDisplayText("1e"), 1.0);
  EXPECT_EQ(gain.MapDisplayText("1e999"), 24.0);
  EXPECT_EQ(gain.MapDisplayText("abc"), 0.0);
  EXPECT_EQ(gain.MapDisplayText(nullptr), 0.0);
  EXPECT_EQ(gain.MapDisplayText("nan"), 0.0) << "only plain decimal text is a number";
  EXPECT_EQ(gain.MapDisplayText("inf"), 0.0);
  EXPECT_EQ(gain.MapDisplayText("0x10"), 0.0);

  IParam negated;
  negated.InitDouble("Cut", 0, -60, 0, 0.1, "", IParam::kFlagNegateDisplay);
  EXPECT_EQ(negated.MapDisplayText("12.5"), -12.5);
  EXPECT_EQ(negated.MapDisplayText("-5"), 0.0) << "negated, then clamped";
}
