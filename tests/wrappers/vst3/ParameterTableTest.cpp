// The controller checked against the product's own tables: the 84 parameters one by one,
// and the program names against the factory recipes.

#include "TarnwickModule.h"

#include "product/core/FactoryRecipes.h"
#include "product/core/ParamSpecTable.h"

#include <algorithm>
#include <cmath>

using namespace vst3host;
using tarnwicktest::Parameters;

// Each of the 84 parameters as the host sees it, against the product's parameter table:
// title, unit label, steps, default, flags, unit, and the texts of every choice.
TEST(TarnwickVst3Parameters, EachAsTheParameterTableDescribesIt)
{
  tarnwicktest::Session session;
  ASSERT_TRUE(session.ok());
  IEditController* controller = session.instance.controller;
  const std::vector<ParameterInfo> all = Parameters(session);
  ASSERT_EQ(all.size(), 85u);
  for (int32_t i = 0; i < tarnwicktest::kParamCount; ++i)
  {
    const auto found = std::find_if(all.begin(), all.end(), [i](const ParameterInfo& p) { return p.id == ParamID(i); });
    ASSERT_NE(found, all.end()) << i;
    const ParameterInfo& info = *found;
    const double low = ParamSpecTable::kMinimums[i];
    const double high = ParamSpecTable::kMaximums[i];
    const double initial = ParamSpecTable::kDefaults[i];
    EXPECT_EQ(narrow(info.title), ParamSpecTable::kNames[i]) << i;
    EXPECT_EQ(narrow(info.shortTitle), "") << i;
    EXPECT_EQ(info.flags, 1) << i; // automatable, shown as a value (not a list)
    EXPECT_EQ(info.unitId, 0) << i;
    const double expectedDefault = IsLogScaledParam(i) ? std::log(initial / low) / std::log(high / low)
                                                       : (initial - low) / (high - low);
    EXPECT_NEAR(info.defaultNormalizedValue, expectedDefault, 1e-9) << i;
    EXPECT_NEAR(controller->getParamNormalized(info.id), expectedDefault, 1e-9) << i;
    EXPECT_NEAR(controller->normalizedParamToPlain(info.id, info.defaultNormalizedValue), initial,
                1e-6 * std::max(1.0, std::fabs(initial)))
      << i;
    Utf16 text[128];
    if (IsDiscreteParam(i))
    {
      // A whole number of states, each with its name; the name reads back to its state.
      EXPECT_EQ(info.stepCount, static_cast<int32_t>(high - low)) << i;
      EXPECT_EQ(narrow(info.units), "") << i;
      for (int value = static_cast<int>(low); value <= static_cast<int>(high); ++value)
      {
        const double normalized = (value - low) / (high - low);
        ASSERT_EQ(controller->getParamStringByValue(info.id, normalized, text), kOk);
        EXPECT_EQ(narrow(text), ParamValueName(i, value)) << i << " " << value;
        ParamValue back = -1.;
        ASSERT_EQ(controller->getParamValueByString(info.id, text, back), kOk) << i << " " << value;
        EXPECT_NEAR(back, normalized, 1e-12) << i << " " << value;
      }
    }
    else
    {
      EXPECT_EQ(info.stepCount, 0) << i;
      EXPECT_EQ(narrow(info.units), ParamSpecTable::kLabels[i]) << i;
      ASSERT_EQ(controller->getParamStringByValue(info.id, info.defaultNormalizedValue, text), kOk);
      ParamValue back = -1.;
      ASSERT_EQ(controller->getParamValueByString(info.id, text, back), kOk) << i << " " << narrow(text);
      EXPECT_NEAR(controller->normalizedParamToPlain(info.id, back), initial, 0.01 * std::max(1.0, std::fabs(initial)))
        << i << " " << narrow(text);
    }
  }
}

TEST(TarnwickVst3Parameters, ProgramNamesAreTheFactoryRecipesInOrder)
{
  tarnwicktest::Session session;
  ASSERT_TRUE(session.ok());
  tarnwicktest::IUnitInfoFull* units = ask<tarnwicktest::IUnitInfoFull>(session.instance.component, iids::UnitInfo);
  ASSERT_NE(units, nullptr);
  Utf16 name[128];
  for (int i = 0; i < kNumFactoryRecipes; ++i)
  {
    ASSERT_EQ(units->getProgramName(65537, i, name), kOk) << i;
    EXPECT_EQ(narrow(name), FactoryRecipes()[i].name) << i;
  }
  EXPECT_EQ(units->getProgramName(65537, -1, name), kOk);
  EXPECT_EQ(narrow(name), "");
  units->release();
}
