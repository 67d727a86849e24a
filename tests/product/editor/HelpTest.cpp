#include "EditorTestSupport.h"

#include "product/core/ParamSpecTable.h"
#include "product/editor/Brand.h"
#include "product/editor/Button.h"
#include "product/editor/EnumMenu.h"
#include "product/editor/Knob.h"
#include "product/editor/PresetMenu.h"
#include "product/editor/RigArtwork.h"
#include "product/editor/SignalDisplay.h"

#include <gtest/gtest.h>

#include <set>

namespace {

using editor_test::OpenEditor;

struct Help
{
  std::string title, body, tooltip;
  bool keepsHelp = false; // tabs, sub-tabs and the mail link leave the help alone
};

// What hovering the control should say, by its kind.
Help ExpectedHelp(pfw::gui::IControl* control)
{
  const int p = control->GetParamIdx();
  if (auto* knob = dynamic_cast<editor::Knob*>(control))
    return {knob->GetLabel(), ParamSpecTable::kHelpTexts[p], ParamSpecTable::kHelpTexts[p]};
  if (dynamic_cast<editor::EnumMenu*>(control))
    return {ParamSpecTable::kNames[p], ParamSpecTable::kHelpTexts[p], ""};
  if (dynamic_cast<editor::PresetMenu*>(control))
    return {"40 FACTORY RECIPES",
            "Choose complete guitar, bass, pedal, amp and creative starting points. Custom means the current84 "
            "controls differ from a factory recipe.",
            "40 complete pedal, amp, cabinet and ambience recipes. Edits display Custom; both A/B banks save all84 "
            "controls."};
  if (dynamic_cast<editor::Brand*>(control))
    return {"QUILLTONE", editor::Brand::kHelpBody, "Open QUILLTONE plugins and support."};
  if (dynamic_cast<editor::RigArtwork*>(control))
    return {"YOUR ORIGINAL RIG / CAB MIC DRAG",
            "Pedal, amp and cabinet guides reflect physical settings. Drag the cabinet mic for Position and "
            "Distance; artwork does not imply captured commercial hardware or IRs.",
            editor::RigArtwork::kTooltip};
  if (dynamic_cast<editor::SignalDisplay*>(control))
    return {"", "", "", true};
  auto* button = dynamic_cast<editor::Button*>(control);
  if (!button)
    return {"not ours", "", ""};
  switch (button->GetKind())
  {
  case editor::kButtonSwitch: return {ParamSpecTable::kNames[p], ParamSpecTable::kHelpTexts[p], ParamSpecTable::kHelpTexts[p]};
  case editor::kButtonBankSwitch:
  case editor::kButtonCopyBank:
    return {"TWO COMPLETE SETTINGS BANKS",
            "A/B switches all84settings; COPY stores the current complete chain in the other bank. Gain changes are "
            "real: compare useful output levels.",
            ""};
  default: return {"", "", "", true};
  }
}

TEST(HelpTest, HoveringEachControlOfEveryViewExplainsIt)
{
  OpenEditor editor;
  // Every stage on, so that no control is dimmed (dimmed controls take no mouse).
  for (int param : {5, 13, 22, 37, 50, 58, 62, 68, 74, 77})
    tarnwick_test::SetParam(*editor.plugin, param, 1.0);
  tarnwick_test::SetParam(*editor.plugin, kParamMicBlend, 50.0);
  std::set<pfw::gui::IControl*> checked;
  for (int view = 0; view < editor::ViewState::kViewCount; ++view)
  {
    editor.View().ShowView(view, *editor.gui);
    editor.Frame();
    for (pfw::gui::IControl* control : editor.VisibleControls())
    {
      // The first control is the page behind all others, which mouse-over never reaches.
      if (control->GetIgnoreMouse() || control->GetRECT().Empty() || editor.gui->GetControlIdx(control) == 0 ||
          !checked.insert(control).second)
        continue;
      const Help expected = ExpectedHelp(control);
      editor.View().SetHelp("before", "before");
      const pfw::gui::IRectF r = control->GetRECT();
      editor.Hover(r.MW(), r.MH());
      ASSERT_EQ(editor.gui->GetMouseOverControl(), control) << "view " << view << " at " << r.L << "," << r.T;
      EXPECT_EQ(control->GetTooltip(), expected.tooltip) << r.L << "," << r.T;
      if (expected.keepsHelp)
      {
        EXPECT_EQ(editor.View().helpTitle, "before");
        continue;
      }
      EXPECT_EQ(editor.View().helpTitle, expected.title) << r.L << "," << r.T;
      EXPECT_EQ(editor.View().helpBody, expected.body) << r.L << "," << r.T;
    }
  }
  // Eight per full row less the gaps, the upper half and the bottom band.
  EXPECT_GE(checked.size(), 100u);
}

} // namespace
