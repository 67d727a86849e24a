#pragma once

#include "product/core/ParamIds.h"

#include <array>

constexpr int kNumFactoryRecipes = 40;

// A named complete setting of all parameters, in parameter order and plain units.
struct FactoryRecipe
{
  const char* name;
  float values[kNumParams];
};

using FactoryRecipeTable = std::array<FactoryRecipe, kNumFactoryRecipes>;

// The process-wide recipe table, built once on first use (thread-safe) and never changed.
const FactoryRecipeTable& FactoryRecipes();

// Builds the table: every recipe starts from the defaults and then takes its own values.
FactoryRecipeTable BuildFactoryRecipes();

// Whether every value lies within the recipe's tolerance of that parameter, which is
// max(range x 2e-6, 1e-5) in 32-bit floats, so a value that went through a normalised
// host round trip still matches.
bool RecipeMatches(const FactoryRecipe& recipe, const float values[kNumParams]);

// The first recipe, in index order, that the values match; -1 when none does.
int FindMatchingRecipe(const float values[kNumParams]);
