#include "EditorTestSupport.h"
#include "ExpectedPage.h"
#include "ExpectedTexts.h"

#include "product/core/ParamSpecTable.h"

#include <gtest/gtest.h>

namespace {

using editor_test::OpenEditor;
using expected_page::Kind;
using expected_page::Slot;
using pfw::gui::IRectF;

struct Hovered
{
  std::string title, body, tooltip;
  bool keepsHelp = false; // tabs, sub-tabs, the mail link and the signal display say nothing
};

// What hovering the control of the slot should say: a knob its label, a menu or switch
// its parameter's name, each with the parameter's help text, and the rest their own words.
Hovered ExpectedHover(const Slot& slot)
{
  using namespace expected_texts;
  const char* name = slot.param >= 0 ? ParamSpecTable::kNames[slot.param] : "";
  const char* help = slot.param >= 0 ? ParamSpecTable::kHelpTexts[slot.param] : "";
  switch (slot.kind)
  {
  case Kind::kKnob: return {slot.label, help, help};
  case Kind::kSwitch: return {name, help, help};
  case Kind::kMenu: return {name, help, ""};
  case Kind::kRecipeMenu: return {kRecipesHelp.title, kRecipesHelp.body, kRecipesTooltip};
  case Kind::kBankSwitch:
  case Kind::kCopyBank: return {kBanksHelp.title, kBanksHelp.body, ""};
  case Kind::kBrand: return {kBrandHelp.title, kBrandHelp.body, kBrandTooltip};
  case Kind::kRig: return {kRigHelp.title, kRigHelp.body, kRigTooltip};
  default: return {"", "", "", true};
  }
}

TEST(TextsTest, HoveringEachControlOfEveryViewExplainsItInItsOwnWords)
{
  OpenEditor editor;
  // Every stage on, so that no control is dimmed (dimmed controls take no mouse).
  for (int param : {5, 13, 22, 37, 50, 58, 62, 68, 74, 77})
    tarnwick_test::SetParam(*editor.plugin, param, 1.0);
  tarnwick_test::SetParam(*editor.plugin, kParamMicBlend, 50.0);
  editor.Frame();
  for (const Slot& slot : expected_page::kPage)
  {
    // The page behind everything, the help panel and the status line ignore the mouse.
    if (slot.kind == Kind::kBackdrop || slot.kind == Kind::kContextHelp || slot.kind == Kind::kStatus)
      continue;
    if (slot.view >= 0 && slot.view != editor.View().currentView)
    {
      editor.View().ShowView(slot.view, *editor.gui);
      editor.Frame();
    }
    editor.View().SetHelp("before", "before");
    editor.Hover(slot.rect.MW(), slot.rect.MH());
    const std::string where = std::string(slot.label ? slot.label : "unlabelled") + " in view " +
                              std::to_string(slot.view) + " at " + std::to_string(slot.rect.L);
    pfw::gui::IControl* hovered = editor.gui->GetMouseOverControl();
    ASSERT_TRUE(hovered && hovered->GetRECT() == slot.rect) << where;
    const Hovered expected = ExpectedHover(slot);
    EXPECT_EQ(hovered->GetTooltip(), expected.tooltip) << where;
    EXPECT_EQ(editor.View().helpTitle, expected.keepsHelp ? "before" : expected.title) << where;
    EXPECT_EQ(editor.View().helpBody, expected.keepsHelp ? "before" : expected.body) << where;
  }
}

struct Words
{
  const char* text;
  IRectF bounds;
};

// The page's own words outside the controls' labels, where a fresh editor writes them.
const Words kFreshPageWords[] = {
  {"TARN WICK", {36.f, 38.f, 455.f, 87.f}},
  {"PEDAL / AMP / CABINET", {457.f, 52.f, 721.f, 84.f}},
  // The rig: each knob's name centred under its knob (35 units apart on the pedal, 36 on
  // the amplifier), so that the names stand under their knobs in any font.
  {"TW / ORIGINAL", {66.f, 192.f, 174.f, 213.f}},
  {"DRIVE", {66.5f, 252.f, 101.5f, 270.f}},
  {"TONE", {101.5f, 252.f, 136.5f, 270.f}},
  {"LEVEL", {136.5f, 252.f, 171.5f, 270.f}},
  {"PEDAL", {60.f, 349.f, 180.f, 374.f}},
  {"TARN WICK", {238.f, 220.f, 418.f, 250.f}},
  {"GAIN", {217.f, 301.f, 253.f, 316.f}},
  {"BASS", {253.f, 301.f, 289.f, 316.f}},
  {"MID", {289.f, 301.f, 325.f, 316.f}},
  {"TREB", {325.f, 301.f, 361.f, 316.f}},
  {"PRES", {361.f, 301.f, 397.f, 316.f}},
  {"MASTER", {397.f, 301.f, 433.f, 316.f}},
  {"AMP + POWER", {206.f, 347.f, 452.f, 374.f}},
  {"MIC  35% / 10cm / 5deg", {470.f, 353.f, 704.f, 376.f}},
  // The signal display's captions.
  {"REAL INPUT / OUTPUT", {740.f, 112.f, 994.f, 135.f}},
  {"FFT dBFS", {1030.f, 112.f, 1130.f, 135.f}},
  {"ACTUAL WAVE / FIXED +/-1", {758.f, 318.f, 1067.f, 334.f}},
  {"IN", {1083.f, 139.f, 1110.f, 154.f}},
  {"OUT", {1108.f, 139.f, 1135.f, 154.f}},
};

TEST(TextsTest, AFreshPageWritesItsOwnWordsInTheirPlaces)
{
  OpenEditor editor;
  editor.Frame();
  for (const Words& words : kFreshPageWords)
  {
    bool drawn = false;
    for (const StyledRecordingGui::DrawnText& text : editor.gui->texts)
      drawn = drawn || (text.text == words.text && text.bounds == words.bounds);
    EXPECT_TRUE(drawn) << words.text << " at " << words.bounds.L << "," << words.bounds.T;
  }
}

} // namespace
