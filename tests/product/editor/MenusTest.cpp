#include "EditorTestSupport.h"

#include "product/core/FactoryRecipes.h"
#include "product/editor/EnumMenu.h"
#include "product/editor/PresetMenu.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

using editor_test::OpenEditor;

constexpr float kPedalFamilyX = 143.f, kFamilyY = 128.f;
constexpr float kRecipeX = 880.f, kRecipeY = 61.f;

double NormalizedOf(OpenEditor& e, int param, double value)
{
  return e.plugin->GetParam(param)->ToNormalized(value);
}

TEST(MenusTest, AChoiceMenuListsItsChoicesAndSetsTheChosenOne)
{
  OpenEditor editor;
  editor.gui->popupAnswers = {5};
  editor.Click(kPedalFamilyX, kFamilyY);
  ASSERT_EQ(editor.gui->popupsShown.size(), 1u);
  EXPECT_EQ(editor.gui->popupsShown[0],
            "Pedal Type|Clean Boost|Transparent OD*|Mid OD|Blues OD|Hard Distortion|LED Drive|Metal Drive|"
            "Germanium Fuzz|Silicon Fuzz|Sustain Fuzz|Gated Fuzz|Octave Fuzz|Wavefold|Rectifier|Bit Crush|Starved Fuzz");
  EXPECT_DOUBLE_EQ(editor.Value(kParamPedalType), 5.0);
  std::string why;
  EXPECT_TRUE(editor_test::BalancedHostEdits(editor.plugin->TakeHostEdits(), &why)) << why;
  EXPECT_EQ(editor.View().helpTitle, "Pedal Type");
}

TEST(MenusTest, ADismissedChoiceMenuChangesNothing)
{
  OpenEditor editor;
  editor.gui->popupAnswers = {-1};
  editor.Click(kPedalFamilyX, kFamilyY);
  EXPECT_EQ(editor.gui->popupsShown.size(), 1u);
  EXPECT_DOUBLE_EQ(editor.Value(kParamPedalType), 1.0);
  EXPECT_TRUE(editor_test::PerformedParams(editor.plugin->TakeHostEdits()).empty());
}

TEST(MenusTest, EnterOrSpaceOpensAChoiceMenuAndTheChoiceIsAFramedEdit)
{
  OpenEditor editor;
  editor.gui->popupAnswers = {3, 7};
  EXPECT_TRUE(editor.Key(kPedalFamilyX, kFamilyY, pfw::gui::kVKReturn));
  EXPECT_DOUBLE_EQ(editor.Value(kParamPedalType), 3.0);
  EXPECT_TRUE(editor.Key(kPedalFamilyX, kFamilyY, pfw::gui::kVKSpace));
  EXPECT_DOUBLE_EQ(editor.Value(kParamPedalType), 7.0);
  EXPECT_FALSE(editor.Key(kPedalFamilyX, kFamilyY, 'X'));
  const auto edits = editor.plugin->TakeHostEdits();
  std::string why;
  EXPECT_TRUE(editor_test::BalancedHostEdits(edits, &why)) << why;
  EXPECT_EQ(editor_test::PerformedParams(edits), (std::vector<int>{kParamPedalType, kParamPedalType}));
}

struct LinkedCase
{
  int param;
  float x, y; // the always-visible menu
  int choice;
};

// The family menus and the monitor menu of the bottom band have a second control in a
// view's row; each follows the other.
TEST(MenusTest, LinkedControlsOfOneParameterFollowEachOther)
{
  const LinkedCase cases[] = {{kParamPedalType, 143, 128, 12},
                              {kParamAmpType, 370, 128, 9},
                              {kParamCabType, 600, 128, 9},
                              {kParamMonitor, 250, 778, 6}};
  for (const LinkedCase& c : cases)
  {
    OpenEditor editor;
    const std::vector<pfw::gui::IControl*> linked = editor.ControlsOf(c.param);
    ASSERT_EQ(linked.size(), 2u) << c.param;
    editor.gui->popupAnswers = {c.choice};
    editor.Click(c.x, c.y);
    for (const pfw::gui::IControl* control : linked)
      EXPECT_DOUBLE_EQ(control->GetValue(), NormalizedOf(editor, c.param, c.choice)) << c.param;

    // And back from the view's own control.
    pfw::gui::IControl* inRow = editor.ShowViewOf(c.param);
    ASSERT_NE(inRow, nullptr);
    auto* menu = dynamic_cast<editor::EnumMenu*>(inRow);
    ASSERT_NE(menu, nullptr) << c.param;
    editor.gui->popupAnswers = {1};
    editor.Click(menu->Box().MW(), menu->Box().MH());
    EXPECT_DOUBLE_EQ(editor.Value(c.param), 1.0);
    for (const pfw::gui::IControl* control : linked)
      EXPECT_DOUBLE_EQ(control->GetValue(), NormalizedOf(editor, c.param, 1.0)) << c.param;
  }
}

TEST(MenusTest, TheRecipeMenuAppliesAChosenRecipeAndShowsCustomAfterAnEdit)
{
  OpenEditor editor;
  auto* presets = dynamic_cast<editor::PresetMenu*>(editor.gui->GetMouseControl(kRecipeX, kRecipeY, false));
  ASSERT_NE(presets, nullptr);
  editor.Frame();
  EXPECT_EQ(presets->GetShownRecipe(), editor.plugin->Product().FindMatchingRecipe());

  editor.gui->popupAnswers = {33};
  editor.Click(kRecipeX, kRecipeY);
  ASSERT_EQ(editor.gui->popupsShown.size(), 1u);
  EXPECT_EQ(presets->Menu().NItems(), kNumFactoryRecipes);
  EXPECT_EQ(editor.gui->popupsShown[0].find('*'), std::string::npos); // nothing checked
  const FactoryRecipe& recipe = FactoryRecipes()[33];
  for (int i = 0; i < kNumParams; ++i)
    EXPECT_NEAR(editor.Value(i), recipe.values[i], 1e-4 * (1.0 + std::fabs(recipe.values[i]))) << i;
  editor.Frame();
  EXPECT_EQ(presets->GetShownRecipe(), 33);
  std::string why;
  EXPECT_TRUE(editor_test::BalancedHostEdits(editor.plugin->TakeHostEdits(), &why)) << why;
  editor.gui->Take();
  presets->Draw(*editor.gui);
  EXPECT_TRUE(editor.gui->Logged(std::string("text ") + recipe.name));

  // An edit makes it "Custom"; taking the edit back shows the recipe again.
  const double gain = editor.Value(kParamAmpGain);
  tarnwick_test::SetParam(*editor.plugin, kParamAmpGain, gain + 7.0);
  editor.Frame();
  EXPECT_EQ(presets->GetShownRecipe(), -1);
  editor.gui->Take();
  presets->Draw(*editor.gui);
  EXPECT_TRUE(editor.gui->Logged("text Custom"));
  tarnwick_test::SetParam(*editor.plugin, kParamAmpGain, gain);
  editor.Frame();
  EXPECT_EQ(presets->GetShownRecipe(), 33);
}

TEST(MenusTest, ADismissedRecipeMenuKeepsTheEditsEvenAfterAnEarlierChoice)
{
  OpenEditor editor;
  auto* presets = dynamic_cast<editor::PresetMenu*>(editor.gui->GetMouseControl(kRecipeX, kRecipeY, false));
  ASSERT_NE(presets, nullptr);
  editor.gui->popupAnswers = {5};
  editor.Click(kRecipeX, kRecipeY);
  tarnwick_test::SetParam(*editor.plugin, kParamAmpGain, 12.0);
  editor.plugin->TakeHostEdits();

  editor.gui->popupAnswers = {-1};
  editor.Click(kRecipeX, kRecipeY);
  EXPECT_TRUE(presets->OnKeyDown(kRecipeX, kRecipeY, pfw::gui::IKeyEvent{pfw::gui::kVKReturn})); // dismissed again
  EXPECT_EQ(editor.gui->popupsShown.size(), 3u);
  EXPECT_DOUBLE_EQ(editor.Value(kParamAmpGain), 12.0);
  EXPECT_TRUE(editor_test::PerformedParams(editor.plugin->TakeHostEdits()).empty());
  editor.Frame();
  EXPECT_EQ(editor.plugin->Product().FindMatchingRecipe(), -1);
}

} // namespace
