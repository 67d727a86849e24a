#include "product/core/FactoryRecipes.h"

#include "product/core/ParamSpecTable.h"

#include <cmath>
#include <initializer_list>

namespace {

struct RecipeValue
{
  ParamId param;
  float value;
};

struct RecipeDefinition
{
  const char* name;
  std::initializer_list<RecipeValue> values; // only those that differ from the defaults
};

} // namespace

FactoryRecipeTable BuildFactoryRecipes()
{
  const RecipeDefinition definitions[kNumFactoryRecipes] = {
    {"Studio Clean", // 0
     {}},
    {"Clean Boost", // 1
     {{kParamPedalEnabled, 1}, {kParamPedalType, 0}, {kParamPedalDrive, 48},
      {kParamPedalLevel, -3}, {kParamAmpGain, 28}}},
    {"Transparent OD", // 2
     {{kParamPedalEnabled, 1}, {kParamPedalDrive, 48}, {kParamPedalLevel, -3},
      {kParamAmpGain, 28}}},
    {"Mid OD", // 3
     {{kParamPedalEnabled, 1}, {kParamPedalType, 2}, {kParamPedalDrive, 48},
      {kParamPedalLevel, -3}, {kParamAmpGain, 28}}},
    {"Blues OD", // 4
     {{kParamPedalEnabled, 1}, {kParamPedalType, 3}, {kParamPedalDrive, 48},
      {kParamPedalLevel, -3}, {kParamAmpGain, 28}}},
    {"Hard Distortion", // 5
     {{kParamPedalEnabled, 1}, {kParamPedalType, 4}, {kParamPedalDrive, 65},
      {kParamPedalLevel, -3}, {kParamAmpGain, 28}}},
    {"LED Drive", // 6
     {{kParamPedalEnabled, 1}, {kParamPedalType, 5}, {kParamPedalDrive, 65},
      {kParamPedalLevel, -3}, {kParamAmpGain, 28}}},
    {"Metal Drive", // 7
     {{kParamPedalEnabled, 1}, {kParamPedalType, 6}, {kParamPedalDrive, 65},
      {kParamPedalLevel, -3}, {kParamAmpGain, 28}}},
    {"Germanium Fuzz", // 8
     {{kParamPedalEnabled, 1}, {kParamPedalType, 7}, {kParamPedalDrive, 65},
      {kParamPedalLevel, -3}, {kParamAmpGain, 28}}},
    {"Silicon Fuzz", // 9
     {{kParamPedalEnabled, 1}, {kParamPedalType, 8}, {kParamPedalDrive, 65},
      {kParamPedalLevel, -3}, {kParamAmpGain, 28}}},
    {"Sustain Fuzz", // 10
     {{kParamPedalEnabled, 1}, {kParamPedalType, 9}, {kParamPedalDrive, 65},
      {kParamPedalLevel, -3}, {kParamAmpGain, 28}}},
    {"Gated Fuzz", // 11
     {{kParamPedalEnabled, 1}, {kParamPedalType, 10}, {kParamPedalDrive, 65},
      {kParamPedalLevel, -3}, {kParamAmpGain, 28}}},
    {"Octave Fuzz", // 12
     {{kParamPedalEnabled, 1}, {kParamPedalType, 11}, {kParamPedalDrive, 65},
      {kParamPedalLevel, -3}, {kParamAmpGain, 28}}},
    {"Wavefold", // 13
     {{kParamPedalEnabled, 1}, {kParamPedalType, 12}, {kParamPedalDrive, 65},
      {kParamPedalLevel, -3}, {kParamAmpGain, 28}}},
    {"Rectifier", // 14
     {{kParamPedalEnabled, 1}, {kParamPedalType, 13}, {kParamPedalDrive, 65},
      {kParamPedalLevel, -3}, {kParamAmpGain, 28}}},
    {"Bit Crush", // 15
     {{kParamPedalEnabled, 1}, {kParamPedalType, 14}, {kParamPedalDrive, 65},
      {kParamPedalLevel, -3}, {kParamAmpGain, 28}}},
    {"Starved Fuzz", // 16
     {{kParamPedalEnabled, 1}, {kParamPedalType, 15}, {kParamPedalDrive, 65},
      {kParamPedalLevel, -3}, {kParamAmpGain, 28}}},
    {"Americana Clean", // 17
     {{kParamAmpGain, 40}}},
    {"British Chime", // 18
     {{kParamAmpType, 1}, {kParamAmpGain, 65}}},
    {"Tweed Edge", // 19
     {{kParamAmpType, 2}, {kParamAmpGain, 65}}},
    {"British Crunch", // 20
     {{kParamAmpType, 3}, {kParamAmpGain, 65}}},
    {"Classic Stack", // 21
     {{kParamAmpType, 4}, {kParamAmpGain, 65}, {kParamCabType, 5}}},
    {"Hot Rod", // 22
     {{kParamAmpType, 5}, {kParamAmpGain, 65}, {kParamCabType, 5}}},
    {"Brown Lead", // 23
     {{kParamAmpType, 6}, {kParamAmpGain, 65}, {kParamCabType, 5}}},
    {"Modern High Gain", // 24
     {{kParamAmpType, 7}, {kParamAmpGain, 65}, {kParamCabType, 5}}},
    {"Tight Metal", // 25
     {{kParamAmpType, 8}, {kParamAmpGain, 65}, {kParamCabType, 5}}},
    {"Doom Stack", // 26
     {{kParamAmpType, 9}, {kParamAmpGain, 65}, {kParamCabType, 5}}},
    {"Studio Solid State", // 27
     {{kParamAmpType, 10}}},
    {"Bass Tube", // 28
     {{kParamAmpType, 11}, {kParamAmpGain, 65}, {kParamCabType, 8}}},
    {"Clean Dynamic", // 29
     {{kParamAmpGain, 28}, {kParamAmpMaster, 80}, {kParamAmpSag, 40}, {kParamReverbEnabled, 1},
      {kParamReverbMix, 12}}},
    {"Blues Edge", // 30
     {{kParamPedalEnabled, 1}, {kParamPedalType, 3}, {kParamPedalDrive, 35}, {kParamAmpType, 2},
      {kParamAmpGain, 48}, {kParamCabType, 1}}},
    {"Hard Rock Rhythm", // 31
     {{kParamAmpType, 4}, {kParamAmpGain, 72}, {kParamAmpMid, 65}, {kParamCabType, 5}}},
    {"Metal Rhythm", // 32
     {{kParamGateThreshold, -48}, {kParamPedalEnabled, 1}, {kParamPedalType, 2},
      {kParamPedalDrive, 15}, {kParamPedalLevel, 4}, {kParamAmpType, 8}, {kParamAmpGain, 76},
      {kParamAmpTight, 170}, {kParamCabType, 6}}},
    {"Metal Lead", // 33
     {{kParamAmpType, 7}, {kParamAmpGain, 80}, {kParamAmpMid, 68}, {kParamCabType, 6},
      {kParamDelayEnabled, 1}, {kParamDelayTime, 380}, {kParamDelayMix, 18},
      {kParamReverbEnabled, 1}, {kParamReverbMix, 10}}},
    {"Doom Stereo", // 34
     {{kParamPedalEnabled, 1}, {kParamPedalType, 9}, {kParamPedalDrive, 85}, {kParamAmpType, 9},
      {kParamAmpBass, 72}, {kParamCabType, 7}, {kParamChorusEnabled, 1}, {kParamChorusMix, 24},
      {kParamStereoWidth, 130}}},
    {"Bass Foundation", // 35
     {{kParamAmpType, 11}, {kParamAmpGain, 42}, {kParamAmpBass, 62}, {kParamAmpTight, 35},
      {kParamCabType, 8}, {kParamCabLowCut, 30}, {kParamCabHighCut, 6000}}},
    {"Pedal Direct", // 36
     {{kParamPedalEnabled, 1}, {kParamAmpEnabled, 0}, {kParamCabEnabled, 0}, {kParamEqHp, 30},
      {kParamEqLp, 18000}}},
    {"Neutral Calibration", // 37
     {{kParamMix, 0}, {kParamGateEnabled, 0}, {kParamAmpEnabled, 0}, {kParamCabEnabled, 0},
      {kParamEqEnabled, 0}, {kParamDcFilter, 0}}},
    {"External Gate", // 38
     {{kParamGateThreshold, -38}, {kParamGateHold, 15}, {kParamGateRelease, 55},
      {kParamGateDetector, 1}, {kParamAmpType, 7}}},
    {"Folded Echo Space", // 39
     {{kParamPedalEnabled, 1}, {kParamPedalType, 12}, {kParamPedalDrive, 78},
      {kParamAmpEnabled, 0}, {kParamCabType, 9}, {kParamDelayEnabled, 1}, {kParamDelayTime, 470},
      {kParamDelayFeedback, 62}, {kParamDelayMix, 35}, {kParamReverbEnabled, 1},
      {kParamReverbDecay, 3}, {kParamReverbMix, 28}}},
  };

  FactoryRecipeTable table{};
  for (int r = 0; r < kNumFactoryRecipes; ++r)
  {
    FactoryRecipe& recipe = table[r];
    for (int i = 0; i < kNumParams; ++i)
      recipe.values[i] = ParamSpecTable::kDefaults[i];
    recipe.name = definitions[r].name;
    for (const RecipeValue& change : definitions[r].values)
      recipe.values[change.param] = change.value;
  }
  return table;
}

const FactoryRecipeTable& FactoryRecipes()
{
  static const FactoryRecipeTable table = BuildFactoryRecipes();
  return table;
}

bool RecipeMatches(const FactoryRecipe& recipe, const float values[kNumParams])
{
  for (int i = 0; i < kNumParams; ++i)
  {
    const float range = ParamSpecTable::kMaximums[i] - ParamSpecTable::kMinimums[i];
    const float tolerance = std::fmax(range * 2e-6f, 1e-5f);
    // Written so that a not-a-number value never matches.
    if (!(std::fabs(values[i] - recipe.values[i]) <= tolerance))
      return false;
  }
  return true;
}

int FindMatchingRecipe(const float values[kNumParams])
{
  const FactoryRecipeTable& recipes = FactoryRecipes();
  for (int r = 0; r < kNumFactoryRecipes; ++r)
  {
    if (RecipeMatches(recipes[r], values))
      return r;
  }
  return -1;
}
