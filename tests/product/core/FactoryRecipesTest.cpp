#include "product/core/ChainState.h"
#include "product/core/FactoryRecipes.h"
#include "product/core/ParamSpecTable.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <limits>
#include <cstring>
#include <map>
#include <sstream>
#include <string>

namespace {

// Each recipe's name and the values in which it differs from the defaults, written out
// here on their own as "parameter=value" pairs.
struct ExpectedRecipe
{
  const char* name;
  const char* changes;
};

const ExpectedRecipe kExpected[] = {
  {"Studio Clean", ""},
  {"Clean Boost", "13=1 14=0 15=48 17=-3 24=28"},
  {"Transparent OD", "13=1 15=48 17=-3 24=28"},
  {"Mid OD", "13=1 14=2 15=48 17=-3 24=28"},
  {"Blues OD", "13=1 14=3 15=48 17=-3 24=28"},
  {"Hard Distortion", "13=1 14=4 15=65 17=-3 24=28"},
  {"LED Drive", "13=1 14=5 15=65 17=-3 24=28"},
  {"Metal Drive", "13=1 14=6 15=65 17=-3 24=28"},
  {"Germanium Fuzz", "13=1 14=7 15=65 17=-3 24=28"},
  {"Silicon Fuzz", "13=1 14=8 15=65 17=-3 24=28"},
  {"Sustain Fuzz", "13=1 14=9 15=65 17=-3 24=28"},
  {"Gated Fuzz", "13=1 14=10 15=65 17=-3 24=28"},
  {"Octave Fuzz", "13=1 14=11 15=65 17=-3 24=28"},
  {"Wavefold", "13=1 14=12 15=65 17=-3 24=28"},
  {"Rectifier", "13=1 14=13 15=65 17=-3 24=28"},
  {"Bit Crush", "13=1 14=14 15=65 17=-3 24=28"},
  {"Starved Fuzz", "13=1 14=15 15=65 17=-3 24=28"},
  {"Americana Clean", "24=40"},
  {"British Chime", "23=1 24=65"},
  {"Tweed Edge", "23=2 24=65"},
  {"British Crunch", "23=3 24=65"},
  {"Classic Stack", "23=4 24=65 38=5"},
  {"Hot Rod", "23=5 24=65 38=5"},
  {"Brown Lead", "23=6 24=65 38=5"},
  {"Modern High Gain", "23=7 24=65 38=5"},
  {"Tight Metal", "23=8 24=65 38=5"},
  {"Doom Stack", "23=9 24=65 38=5"},
  {"Studio Solid State", "23=10"},
  {"Bass Tube", "23=11 24=65 38=8"},
  {"Clean Dynamic", "24=28 25=80 32=40 68=1 72=12"},
  {"Blues Edge", "13=1 14=3 15=35 23=2 24=48 38=1"},
  {"Hard Rock Rhythm", "23=4 24=72 27=65 38=5"},
  {"Metal Rhythm", "6=-48 13=1 14=2 15=15 17=4 23=8 24=76 34=170 38=6"},
  {"Metal Lead", "23=7 24=80 27=68 38=6 62=1 63=380 66=18 68=1 72=10"},
  {"Doom Stereo", "13=1 14=9 15=85 23=9 26=72 38=7 58=1 61=24 73=130"},
  {"Bass Foundation", "23=11 24=42 26=62 34=35 38=8 47=30 48=6000"},
  {"Pedal Direct", "13=1 22=0 37=0 56=30 57=18000"},
  {"Neutral Calibration", "2=0 5=0 22=0 37=0 50=0 79=0"},
  {"External Gate", "6=-38 8=15 9=55 11=1 23=7"},
  {"Folded Echo Space", "13=1 14=12 15=78 22=0 38=9 62=1 63=470 64=62 66=35 68=1 70=3 72=28"},
};

std::map<int, float> ParseChanges(const char* text)
{
  std::map<int, float> changes;
  std::istringstream stream(text);
  std::string pair;
  while (stream >> pair)
  {
    const size_t equals = pair.find('=');
    changes[std::atoi(pair.substr(0, equals).c_str())] = std::strtof(pair.c_str() + equals + 1, nullptr);
  }
  return changes;
}

} // namespace

TEST(FactoryRecipes, EveryRecipeIsTheDefaultsWithItsOwnValues)
{
  static_assert(kNumFactoryRecipes == 40, "forty factory recipes");
  ASSERT_EQ(sizeof(kExpected) / sizeof(kExpected[0]), 40u);
  const FactoryRecipeTable& recipes = FactoryRecipes();
  for (int r = 0; r < kNumFactoryRecipes; ++r)
  {
    SCOPED_TRACE(r);
    EXPECT_STREQ(recipes[r].name, kExpected[r].name);
    const std::map<int, float> changes = ParseChanges(kExpected[r].changes);
    for (int i = 0; i < kNumParams; ++i)
    {
      const auto change = changes.find(i);
      if (change == changes.end())
      {
        EXPECT_EQ(recipes[r].values[i], ParamSpecTable::kDefaults[i]) << "parameter " << i;
      }
      else
      {
        EXPECT_EQ(recipes[r].values[i], change->second) << "parameter " << i;
        EXPECT_NE(recipes[r].values[i], ParamSpecTable::kDefaults[i]) << "parameter " << i;
      }
    }
    EXPECT_TRUE(ValidateChainValues(recipes[r].values));
  }
  EXPECT_EQ(ParseChanges(kExpected[39].changes).size(), 12u);
}

TEST(FactoryRecipes, TableIsBuiltOnceAndEqualsAFreshBuild)
{
  const FactoryRecipeTable& first = FactoryRecipes();
  EXPECT_EQ(&first, &FactoryRecipes());
  const FactoryRecipeTable fresh = BuildFactoryRecipes();
  for (int r = 0; r < kNumFactoryRecipes; ++r)
  {
    EXPECT_STREQ(fresh[r].name, first[r].name);
    EXPECT_EQ(std::memcmp(fresh[r].values, first[r].values, sizeof(first[r].values)), 0) << r;
  }
}

TEST(FactoryRecipes, EachRecipeIsRecognisedAsItself)
{
  for (int r = 0; r < kNumFactoryRecipes; ++r)
    EXPECT_EQ(FindMatchingRecipe(FactoryRecipes()[r].values), r) << FactoryRecipes()[r].name;
}

TEST(FactoryRecipes, MatchingUsesTheRangeTolerance)
{
  float values[kNumParams];
  std::memcpy(values, FactoryRecipes()[0].values, sizeof(values));
  EXPECT_EQ(FindMatchingRecipe(values), 0);

  // Amp gain spans 100, so its tolerance is 2e-4.
  values[kParamAmpGain] = 45.00015f;
  EXPECT_EQ(FindMatchingRecipe(values), 0);
  values[kParamAmpGain] = 45.0003f;
  EXPECT_EQ(FindMatchingRecipe(values), -1);
  values[kParamAmpGain] = 45.5f;
  EXPECT_EQ(FindMatchingRecipe(values), -1);

  // A switch spans 1, so the floor of 1e-5 applies.
  std::memcpy(values, FactoryRecipes()[0].values, sizeof(values));
  values[kParamGateEnabled] = 1.0f - 8e-6f;
  EXPECT_EQ(FindMatchingRecipe(values), 0);
  values[kParamGateEnabled] = 1.0f - 3e-5f;
  EXPECT_EQ(FindMatchingRecipe(values), -1);

  values[kParamGateEnabled] = std::numeric_limits<float>::quiet_NaN();
  EXPECT_EQ(FindMatchingRecipe(values), -1);
}
