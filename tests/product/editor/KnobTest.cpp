#include "EditorTestSupport.h"

#include "product/editor/Knob.h"

#include "framework/graphics/ITextEntryControl.h"

#include <gtest/gtest.h>

#include <functional>

namespace {

using editor_test::OpenEditor;

// The GAIN knob of the amplifier tone view: (45, 576, 175, 708), value box below.
constexpr float kKnobX = 110.f;
constexpr float kKnobY = 638.f;
constexpr float kBoxY = 692.f;

struct KnobCase
{
  const char* what;
  double start; // normalised
  std::function<void(OpenEditor&)> act;
  double expected;
};

void DragBy(OpenEditor& e, float dY, bool shift = false)
{
  e.Press(kKnobX, kKnobY, shift);
  e.Drag(kKnobX, kKnobY + dY, 0.f, dY, shift);
  e.Release(kKnobX, kKnobY + dY);
}

const KnobCase kKnobCases[] = {
  {"drag up a rectangle's height: a quarter turn", 0.3, [](OpenEditor& e) { DragBy(e, -132.f); }, 0.55},
  {"fine drag with Shift", 0.3, [](OpenEditor& e) { DragBy(e, -132.f, true); }, 0.325},
  {"drag far down stops at 0", 0.3, [](OpenEditor& e) { DragBy(e, 2000.f); }, 0.0},
  {"double-click resets", 0.9, [](OpenEditor& e) { e.DoubleClick(kKnobX, kKnobY); }, 0.45},
  {"Up", 0.3, [](OpenEditor& e) { e.Key(kKnobX, kKnobY, pfw::gui::kVKUp); }, 0.31},
  {"Right", 0.3, [](OpenEditor& e) { e.Key(kKnobX, kKnobY, pfw::gui::kVKRight); }, 0.31},
  {"Down", 0.3, [](OpenEditor& e) { e.Key(kKnobX, kKnobY, pfw::gui::kVKDown); }, 0.29},
  {"Left", 0.3, [](OpenEditor& e) { e.Key(kKnobX, kKnobY, pfw::gui::kVKLeft); }, 0.29},
  {"Shift+Up", 0.3, [](OpenEditor& e) { e.Key(kKnobX, kKnobY, pfw::gui::kVKUp, true); }, 0.301},
  {"Up near the top stops at 1", 0.995, [](OpenEditor& e) { e.Key(kKnobX, kKnobY, pfw::gui::kVKUp); }, 1.0},
  {"Down near the bottom stops at 0", 0.004, [](OpenEditor& e) { e.Key(kKnobX, kKnobY, pfw::gui::kVKDown); }, 0.0},
  {"Home resets", 0.9, [](OpenEditor& e) { e.Key(kKnobX, kKnobY, pfw::gui::kVKHome); }, 0.45},
  {"wheel", 0.3, [](OpenEditor& e) { e.Wheel(kKnobX, kKnobY, 1.f); }, 0.31},
  {"fine wheel", 0.3, [](OpenEditor& e) { e.Wheel(kKnobX, kKnobY, 1.f, true); }, 0.301},
  {"wheel down", 0.3, [](OpenEditor& e) { e.Wheel(kKnobX, kKnobY, -1.f); }, 0.29},
};

TEST(KnobTest, DragKeysWheelAndDoubleClickMoveTheValueInsideHostEdits)
{
  for (const KnobCase& c : kKnobCases)
  {
    OpenEditor editor;
    tarnwick_test::SetParam(*editor.plugin, kParamAmpGain, 100.0 * c.start);
    editor.plugin->SendParameterValueFromDelegate(kParamAmpGain, c.start, true);
    editor.plugin->TakeHostEdits();
    c.act(editor);
    const pfw::gui::IControl* knob = editor.ControlsOf(kParamAmpGain).at(0);
    EXPECT_NEAR(knob->GetValue(), c.expected, 1e-9) << c.what;
    EXPECT_NEAR(editor.plugin->GetParam(kParamAmpGain)->GetNormalized(), c.expected, 1e-9) << c.what;
    const auto edits = editor.plugin->TakeHostEdits();
    std::string why;
    EXPECT_TRUE(editor_test::BalancedHostEdits(edits, &why)) << c.what << ": " << why;
    EXPECT_FALSE(editor_test::PerformedParams(edits).empty()) << c.what;
    EXPECT_FALSE(editor.gui->CursorHidden()) << c.what;
  }
}

TEST(KnobTest, TheValueBoxOpensOnClickOrEnterButNotOnARightClick)
{
  OpenEditor editor;
  pfw::gui::ITextEntryControl* entry = editor.gui->GetTextEntryControl();
  ASSERT_NE(entry, nullptr);
  editor.Click(kKnobX, kBoxY, true);
  EXPECT_FALSE(entry->IsEditing());
  editor.Click(kKnobX, kBoxY);
  ASSERT_TRUE(entry->IsEditing());
  EXPECT_EQ(entry->GetText(), "45");
  EXPECT_EQ(editor.gui->GetControlInTextEntry()->GetParamIdx(), -1);
  editor.Key(kKnobX, kBoxY, pfw::gui::kVKEscape);
  EXPECT_FALSE(entry->IsEditing());
  EXPECT_TRUE(editor.Key(kKnobX, kKnobY, pfw::gui::kVKReturn));
  EXPECT_TRUE(entry->IsEditing());
  editor.Key(kKnobX, kBoxY, pfw::gui::kVKEscape);
  EXPECT_FALSE(editor.Key(kKnobX, kKnobY, 'Q'));
  EXPECT_DOUBLE_EQ(editor.Value(kParamAmpGain), 45.0);
}

// A recipe chosen while the entry stands open untouched: closing the entry, by Enter or
// by a click elsewhere, must not put the old gain back.
TEST(KnobTest, AnUntouchedEntryDoesNotUndoAChangeMadeWhileItWasOpen)
{
  for (const bool byClick : {false, true})
  {
    OpenEditor editor;
    editor.Click(kKnobX, kBoxY);
    ASSERT_TRUE(editor.gui->GetTextEntryControl()->IsEditing());
    editor.plugin->Product().ApplyRecipe(33);
    const double recipeGain = editor.Value(kParamAmpGain);
    ASSERT_NE(recipeGain, 45.0);
    editor.plugin->TakeHostEdits();
    if (byClick)
      editor.Click(600.f, 520.f);
    else
      editor.Key(kKnobX, kBoxY, pfw::gui::kVKReturn);
    EXPECT_FALSE(editor.gui->GetTextEntryControl()->IsEditing()) << byClick;
    EXPECT_DOUBLE_EQ(editor.Value(kParamAmpGain), recipeGain) << byClick;
    EXPECT_TRUE(editor.plugin->TakeHostEdits().empty()) << byClick;
  }
}

// The amplifier stage switch: "AMP + POWER", the third in the strip.
constexpr float kAmpSwitchX = 380.f;
constexpr float kAmpSwitchY = 421.f;

TEST(KnobTest, ControlsOfASwitchedOffStageDimAndIgnoreInput)
{
  OpenEditor editor;
  editor.Frame();
  editor.Click(kAmpSwitchX, kAmpSwitchY);
  EXPECT_DOUBLE_EQ(editor.Value(kParamAmpEnabled), 0.0);
  editor.Frame();
  for (int param = kParamAmpGain; param <= kParamAmpBright; ++param)
    EXPECT_TRUE(editor.ControlsOf(param).at(0)->IsDisabled()) << param;
  EXPECT_FALSE(editor.ControlsOf(kParamMix).at(0)->IsDisabled());

  editor.plugin->TakeHostEdits();
  DragBy(editor, -132.f);
  editor.DoubleClick(kKnobX, kKnobY);
  EXPECT_FALSE(editor.Key(kKnobX, kKnobY, pfw::gui::kVKUp));
  editor.Wheel(kKnobX, kKnobY, 1.f);
  editor.Click(kKnobX, kBoxY);
  EXPECT_FALSE(editor.gui->GetTextEntryControl()->IsEditing());
  EXPECT_DOUBLE_EQ(editor.Value(kParamAmpGain), 45.0);
  EXPECT_TRUE(editor.plugin->TakeHostEdits().empty());

  // The stage switch itself stays live: on again, the knobs follow within a frame.
  editor.Click(kAmpSwitchX, kAmpSwitchY);
  editor.Frame();
  EXPECT_DOUBLE_EQ(editor.Value(kParamAmpEnabled), 1.0);
  EXPECT_FALSE(editor.ControlsOf(kParamAmpGain).at(0)->IsDisabled());
}

TEST(KnobTest, DrawsItsArcPointerAndPhysicalValueDimmedWhenUnused)
{
  OpenEditor editor;
  editor.gui->Take();
  editor.ControlsOf(kParamAmpGain).at(0)->Draw(*editor.gui);
  EXPECT_TRUE(editor.gui->Logged("text GAIN"));
  EXPECT_TRUE(editor.gui->Logged("text 45 %"));

  tarnwick_test::SetParam(*editor.plugin, kParamAmpEnabled, 0.0);
  editor.Frame();
  editor.gui->paints.clear();
  editor.ControlsOf(kParamAmpGain).at(0)->Draw(*editor.gui);
  bool dimmedArc = false;
  for (const PaintCall& paint : editor.gui->paints)
    dimmedArc |= !paint.fill && paint.source.stops[0].colour == pfw::gui::IArgbColour(255, 91, 111, 115);
  EXPECT_TRUE(dimmedArc);
}

} // namespace
