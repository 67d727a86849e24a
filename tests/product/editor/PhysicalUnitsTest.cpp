#include "EditorTestSupport.h"
#include "ExpectedTexts.h"

#include "product/core/ParamSpecTable.h"
#include "product/editor/PhysicalUnits.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cmath>
#include <cstring>

namespace {

using editor::FormatPhysicalValue;
using editor::ParsePhysicalValue;

std::string Format(int paramIdx, double value, int capacity = 64)
{
  char text[64];
  FormatPhysicalValue(paramIdx, value, text, capacity);
  return text;
}

struct FormatCase
{
  int param;
  double value;
  const char* text;
};

TEST(PhysicalUnitsTest, FormatsEachUnitAsItsBoxShowsIt)
{
  const FormatCase cases[] = {
    {kParamPedalTone, 4000.0, "4.00 kHz"},     {kParamEqMidFrequency, 800.0, "800 Hz"},
    {kParamChorusRate, 0.4, "0.40 Hz"},        {kParamEqMidFrequency, 999.9, "1000 Hz"},
    {kParamEqMidFrequency, 1000.0, "1.00 kHz"}, {kParamDelayTime, 350.0, "350 ms"},
    {kParamGateAttack, 0.5, "0.50 ms"},        {kParamGateAttack, 5.0, "5.0 ms"},
    {kParamReverbDecay, 1.2, "1.20 s"},        {kParamGateThreshold, -65.0, "-65.0 dBFS"},
    {kParamInput, 3.0, "3.0 dB"},              {kParamMicPosition, 35.0, "35 %"},
    {kParamMicDistance, 10.0, "10.0 cm"},      {kParamMicAngle, 5.0, "5.0 deg"},
    {kParamEqMidQ, 2.0, "2.00 Q"},             {kParamInputRouting, 2.0, "2.00"},
    {kParamOutputPan, -0.3, "0 %"},            {kParamEqLow, -0.04, "0.0 dB"},
  };
  for (const FormatCase& c : cases)
    EXPECT_EQ(Format(c.param, c.value), c.text) << c.param << " " << c.value;
  EXPECT_EQ(Format(kParamPedalTone, 4000.0, 5), "4.00");
  EXPECT_EQ(Format(kParamPedalTone, 4000.0, 1), "");
}

struct ParseCase
{
  int param;
  const char* text;
  bool accepted;
  double value;
};

const ParseCase kParseCases[] = {
  {kParamDelayTime, "0.5 s", true, 500.0},     {kParamDelayTime, "500", true, 500.0},
  {kParamDelayTime, "500ms", true, 500.0},     {kParamDelayTime, "5 s", false, 0.0},
  {kParamDelayTime, "500 hz", false, 0.0},     {kParamReverbDecay, "800 ms", true, 0.8},
  {kParamReverbDecay, "8.5", false, 0.0},      {kParamReverbDecay, "8", true, 8.0},
  {kParamPedalTone, "1.2k", true, 1200.0},     {kParamPedalTone, "1.2 kHz", true, 1200.0},
  {kParamPedalTone, "1200Hz", true, 1200.0},   {kParamPedalTone, "12 kHz", true, 12000.0},
  {kParamPedalTone, "1.5 K hz", true, 1500.0}, {kParamPedalTone, "12.1 kHz", false, 0.0},
  {kParamMicDistance, "0.5m", true, 50.0},     {kParamMicDistance, "0.5 cm", false, 0.0},
  {kParamInput, "3 dbfs", true, 3.0},          {kParamGateThreshold, "-10 db", true, -10.0},
  {kParamMix, "-5", false, 0.0},               {kParamMix, "-5 %", false, 0.0},
  {kParamMix, "5 %", true, 5.0},               {kParamMix, "-0", true, 0.0},
  {kParamOutputPan, "-5 %", true, -5.0},       {kParamMix, "nan", false, 0.0},
  {kParamMix, "inf", false, 0.0},              {kParamMix, "", false, 0.0},
  {kParamMix, "   12", true, 12.0},            {kParamMix, "+12", true, 12.0},
  {kParamMix, "+-12", false, 0.0},             {kParamMix, "%", false, 0.0},
  {kParamMix, "1e400", false, 0.0},            {kParamMicAngle, "45 degrees", true, 45.0},
  {kParamEqMidQ, "0.7 Q", true, 0.7},          {kParamGateAttack, "0.1", true, 0.1f},
  {kParamGateAttack, "0.099", false, 0.0},     {kParamEqMidQ, "1e300", false, 0.0},
};

// What no value box of a knob can be asked: a parameter without a unit, no text, no parameter.
TEST(PhysicalUnitsTest, AParameterWithoutAUnitTakesOnlyABareNumber)
{
  double value = 0.0;
  EXPECT_TRUE(ParsePhysicalValue(kParamInputRouting, " 2", value));
  EXPECT_DOUBLE_EQ(value, 2.0);
  EXPECT_FALSE(ParsePhysicalValue(kParamInputRouting, "2 %", value));
  EXPECT_FALSE(ParsePhysicalValue(kParamMix, nullptr, value));
  EXPECT_FALSE(ParsePhysicalValue(kNumParams, "1", value));
}

TEST(PhysicalUnitsTest, ADecimalCommaLocaleChangesNothing)
{
  const std::string previous = std::setlocale(LC_NUMERIC, nullptr);
  if (!std::setlocale(LC_NUMERIC, "de_DE.UTF-8") && !std::setlocale(LC_NUMERIC, "German_Germany.1252"))
    GTEST_SKIP() << "no locale with a decimal comma here";
  double value = 0.0;
  const bool parsed = ParsePhysicalValue(kParamPedalTone, "1.5k", value);
  const std::string text = Format(kParamPedalTone, 1500.0);
  std::setlocale(LC_NUMERIC, previous.c_str());
  EXPECT_TRUE(parsed);
  EXPECT_DOUBLE_EQ(value, 1500.0);
  EXPECT_EQ(text, "1.50 kHz");
}

// Typed through the knob's own value box: refused text changes nothing and says why.
TEST(PhysicalUnitsTest, TheValueBoxAppliesAcceptedTextAndRefusesTheRest)
{
  editor_test::OpenEditor editor;
  for (const ParseCase& c : kParseCases)
  {
    const double before = editor.Value(c.param);
    editor.View().SetHelp("", "");
    const std::string opened = editor.TypeIntoValueBox(c.param, c.text);
    EXPECT_EQ(opened, editor::FormatEntryValue(before)) << c.text;
    if (c.accepted)
    {
      EXPECT_NEAR(editor.Value(c.param), c.value, 1e-6 * std::max(1.0, std::fabs(c.value))) << c.text;
      EXPECT_NE(editor.View().helpTitle, expected_texts::kRefusedValueHelp.title) << c.text;
    }
    else
    {
      EXPECT_EQ(editor.Value(c.param), before) << c.text;
      EXPECT_EQ(editor.View().helpTitle, expected_texts::kRefusedValueHelp.title) << c.text;
      EXPECT_EQ(editor.View().helpBody, expected_texts::kRefusedValueHelp.body) << c.text;
    }
  }
  std::string why;
  EXPECT_TRUE(editor_test::BalancedHostEdits(editor.plugin->TakeHostEdits(), &why)) << why;
}

// Every continuous parameter: what the box shows, typed back, lands on the shown value.
TEST(PhysicalUnitsTest, EveryContinuousParameterRoundTripsThroughItsValueBox)
{
  editor_test::OpenEditor editor;
  for (int param = 0; param < kNumParams; ++param)
  {
    if (IsDiscreteParam(param))
      continue;
    const pfw::IParam& p = *editor.plugin->GetParam(param);
    const double points[] = {p.GetMin(), p.GetDefault(), p.GetMax(), p.FromNormalized(0.137),
                             p.FromNormalized(0.5), p.FromNormalized(0.9)};
    for (double value : points)
    {
      const std::string shown = Format(param, value);
      editor.TypeIntoValueBox(param, shown);
      double expected = 0.0;
      ASSERT_TRUE(ParsePhysicalValue(param, shown.c_str(), expected)) << param << " " << shown;
      EXPECT_NEAR(editor.Value(param), expected, 1e-6 * std::max(1.0, std::fabs(expected))) << param << " " << shown;
      // The shown text carries the value to its last printed digit.
      const double unitStep = std::strstr(shown.c_str(), "kHz") ? 10.0 : 1.0;
      EXPECT_NEAR(editor.Value(param), value, 0.5 * unitStep + 1e-9) << param << " " << shown;
      EXPECT_EQ(Format(param, editor.Value(param)), shown) << param;
    }
  }
  std::string why;
  EXPECT_TRUE(editor_test::BalancedHostEdits(editor.plugin->TakeHostEdits(), &why)) << why;
}

} // namespace
