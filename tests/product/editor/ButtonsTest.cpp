#include "EditorTestSupport.h"

#include "product/editor/Button.h"

#include <gtest/gtest.h>

namespace {

using editor::Button;
using editor_test::OpenEditor;

constexpr float kBankX = 1056.f, kCopyX = 1120.f, kBankY = 61.f;
constexpr float kGateX = 100.f, kStageY = 421.f;

Button* ButtonAt(OpenEditor& e, float x, float y)
{
  return dynamic_cast<Button*>(e.gui->GetMouseControl(x, y, false));
}

TEST(ButtonsTest, TheBankButtonSwitchesBanksAndCopyFillsTheOtherBank)
{
  OpenEditor editor;
  Button* bank = ButtonAt(editor, kBankX, kBankY);
  Button* copy = ButtonAt(editor, kCopyX, kBankY);
  ASSERT_TRUE(bank && copy);
  EXPECT_FALSE(bank->IsOn());

  tarnwick_test::SetParam(*editor.plugin, kParamAmpGain, 80.0);
  editor.Click(kCopyX, kBankY);
  EXPECT_FLOAT_EQ(editor.plugin->Product().GetOtherBankValue(kParamAmpGain), 80.f);
  EXPECT_FALSE(copy->IsOn());

  tarnwick_test::SetParam(*editor.plugin, kParamAmpGain, 20.0);
  editor.plugin->TakeHostEdits();
  editor.Click(kBankX, kBankY);
  EXPECT_TRUE(editor.plugin->Product().IsBankBActive());
  EXPECT_TRUE(bank->IsOn());
  EXPECT_DOUBLE_EQ(editor.Value(kParamAmpGain), 80.0);
  editor.gui->Take();
  bank->Draw(*editor.gui);
  EXPECT_TRUE(editor.gui->Logged("text B "));

  EXPECT_TRUE(editor.Key(kBankX, kBankY, pfw::gui::kVKSpace));
  EXPECT_FALSE(editor.plugin->Product().IsBankBActive());
  EXPECT_DOUBLE_EQ(editor.Value(kParamAmpGain), 20.0);
  editor.gui->Take();
  bank->Draw(*editor.gui);
  EXPECT_TRUE(editor.gui->Logged("text A "));
  std::string why;
  EXPECT_TRUE(editor_test::BalancedHostEdits(editor.plugin->TakeHostEdits(), &why)) << why;
}

TEST(ButtonsTest, AStageSwitchTogglesByMouseOrKeyAndDoubleClickEndsOnItsDefault)
{
  OpenEditor editor;
  editor.Click(kGateX, kStageY);
  EXPECT_DOUBLE_EQ(editor.Value(kParamGateEnabled), 0.0);
  EXPECT_TRUE(editor.Key(kGateX, kStageY, pfw::gui::kVKReturn));
  EXPECT_DOUBLE_EQ(editor.Value(kParamGateEnabled), 1.0);
  EXPECT_TRUE(editor.Key(kGateX, kStageY, pfw::gui::kVKSpace));
  EXPECT_DOUBLE_EQ(editor.Value(kParamGateEnabled), 0.0);
  EXPECT_FALSE(editor.Key(kGateX, kStageY, 'G'));
  editor.DoubleClick(kGateX, kStageY);
  EXPECT_DOUBLE_EQ(editor.Value(kParamGateEnabled), 1.0);
  std::string why;
  EXPECT_TRUE(editor_test::BalancedHostEdits(editor.plugin->TakeHostEdits(), &why)) << why;

  Button* gate = ButtonAt(editor, kGateX, kStageY);
  ASSERT_NE(gate, nullptr);
  EXPECT_STREQ(gate->GetTooltip(), "Enable the gate before distortion, using trimmed raw program or a real auxiliary "
                                   "detector.");
  editor.gui->paints.clear();
  gate->Draw(*editor.gui);
  ASSERT_FALSE(editor.gui->paints.empty());
  EXPECT_EQ(editor.gui->paints.front().source.stops[0].colour, pfw::gui::IArgbColour(255, 36, 65, 65));
  EXPECT_EQ(editor.gui->paints.back().source.stops[0].colour, pfw::gui::IArgbColour(255, 215, 165, 109));
}

TEST(ButtonsTest, ASwitchOfAnUnusedOptionIsDimmedAndSwallowsKeysWithoutEffect)
{
  OpenEditor editor;
  editor.View().ShowView(7, *editor.gui);
  editor.Frame();
  Button* pingPong = nullptr;
  for (pfw::gui::IControl* control : editor.ControlsOf(kParamDelayPingPong))
    pingPong = dynamic_cast<Button*>(control);
  ASSERT_NE(pingPong, nullptr);
  EXPECT_TRUE(pingPong->IsDisabled());
  EXPECT_TRUE(pingPong->OnKeyDown(0.f, 0.f, pfw::gui::IKeyEvent{pfw::gui::kVKSpace}));
  pingPong->OnMouseDown(0.f, 0.f, pfw::gui::IPointerMods());
  EXPECT_DOUBLE_EQ(editor.Value(kParamDelayPingPong), 1.0);
  editor.gui->paints.clear();
  pingPong->Draw(*editor.gui);
  EXPECT_EQ(editor.gui->paints.front().source.stops[0].colour, pfw::gui::IArgbColour(255, 27, 35, 40));
}

TEST(ButtonsTest, TheMailLinkOpensAMailToSupport)
{
  OpenEditor editor;
  editor.Click(1051.f, 778.f);
  EXPECT_TRUE(editor.Key(1051.f, 778.f, pfw::gui::kVKReturn));
  EXPECT_EQ(editor.gui->urls, (std::vector<std::string>(2, "mailto:support@quilltone.com")));
}

} // namespace
