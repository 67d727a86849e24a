#include "DisplayTestSupport.h"
#include "ExpectedTexts.h"
#include "TarnwickTestSupport.h"

#include "product/editor/Brand.h"
#include "product/editor/ContextHelp.h"
#include "product/editor/EditorPalette.h"
#include "product/editor/Status.h"
#include "product/editor/ViewState.h"

#include <gtest/gtest.h>

using editor::EditorPalette;
using pfw::gui::IRectF;

namespace {

class HelpAndStatusTest : public ::testing::Test
{
protected:
  std::unique_ptr<Tarnwick> plugin = tarnwick_test::MakePlugin();
  StyledRecordingGui gui{*plugin};
  std::shared_ptr<editor::ViewState> viewState = std::make_shared<editor::ViewState>();
  std::shared_ptr<ScriptedFeed> feed = std::make_shared<ScriptedFeed>();
};

TEST_F(HelpAndStatusTest, StatusTellsWhereMonitorAndGateListen)
{
  struct Case
  {
    int monitor;
    bool gateOn;
    int detector;
    bool auxConnected, auxInUse;
    const char* first;
    const char* second;
    bool warning;
  };
  const Case cases[] = {
    {6, true, 0, true, false, "MONITOR / External", "EXTERNAL MONITOR / REAL AUXILIARY", false},
    {6, true, 1, false, false, "MONITOR / External", "EXTERNAL MONITOR / MISSING INPUT IS SILENT", true},
    {0, true, 1, false, false, "MONITOR / Output", "EXTERNAL GATE MISSING / INTERNAL FALLBACK", true},
    {1, false, 1, false, false, "MONITOR / Dry", "INTERNAL GATE / KEEP USEFUL OUTPUT HEADROOM", false},
    {0, true, 1, true, true, "MONITOR / Output", "REAL EXTERNAL GATE DETECTOR", false},
    {5, true, 0, false, false, "MONITOR / Cabinet", "INTERNAL GATE / KEEP USEFUL OUTPUT HEADROOM", false},
  };
  gui.AttachControl(new editor::Status(IRectF(337.f, 758.f, 942.f, 795.f), feed));
  for (const Case& c : cases)
  {
    tarnwick_test::SetParam(*plugin, kParamMonitor, c.monitor);
    tarnwick_test::SetParam(*plugin, kParamGateEnabled, c.gateOn ? 1.0 : 0.0);
    tarnwick_test::SetParam(*plugin, kParamGateDetector, c.detector);
    feed->display.auxConnected = c.auxConnected;
    feed->display.auxInUse = c.auxInUse;
    gui.Frame();
    ASSERT_EQ(gui.texts.size(), 2u);
    EXPECT_EQ(gui.texts[0].text, std::string(c.first) + "    /    4x NONLINEAR CHAIN    /    48 PDC SAMPLES");
    EXPECT_EQ(gui.texts[1].text, c.second);
    EXPECT_EQ(gui.texts[1].colour, c.warning ? EditorPalette::Amber : EditorPalette::Teal) << c.second;
  }

  tarnwick_test::SetParam(*plugin, kParamBypass, 1.0);
  feed->readable = false; // a busy writer leaves the last side-chain flags standing
  gui.Frame();
  EXPECT_EQ(gui.texts[0].text.rfind("BYPASS / Cabinet    /", 0), 0u);
  EXPECT_EQ(gui.texts[1].text, "INTERNAL GATE / KEEP USEFUL OUTPUT HEADROOM");
}

TEST_F(HelpAndStatusTest, HelpPanelRedrawsWhenTheBodyChanges)
{
  gui.AttachControl(new editor::ContextHelp(IRectF(36.f, 720.f, 1144.f, 750.f), viewState));
  gui.Frame();
  ASSERT_EQ(gui.texts.size(), 2u);
  EXPECT_EQ(gui.texts[0].text, expected_texts::kInitialHelp.title);
  EXPECT_EQ(gui.texts[0].colour, EditorPalette::Amber);
  EXPECT_EQ(gui.texts[1].text, expected_texts::kInitialHelp.body);
  EXPECT_EQ(gui.texts[1].bounds, IRectF(300.f, 719.f, 1144.f, 752.f));

  gui.Frame();
  EXPECT_TRUE(gui.texts.empty()); // nothing changed, nothing drawn
  viewState->SetHelp("T", "B");
  gui.Frame();
  ASSERT_EQ(gui.texts.size(), 2u);
  EXPECT_EQ(gui.texts[0].text, "T");
  EXPECT_EQ(gui.texts[1].text, "B");
}

TEST_F(HelpAndStatusTest, BrandShowsItsNameWithoutALogoAndOpensTheSite)
{
  auto* brand = new editor::Brand(IRectF(28.f, 0.f, 238.f, 42.f), pfw::gui::ISvgRef(), viewState);
  gui.AttachControl(brand);
  gui.Frame();
  const StyledRecordingGui::DrawnText* name = gui.FindText("QUILLTONE");
  ASSERT_NE(name, nullptr); // no logo: the name stands in
  EXPECT_EQ(name->bounds, IRectF(36.f, 0.f, 238.f, 42.f));

  pfw::gui::IPointerEvent press;
  press.x = 100.f;
  press.y = 20.f;
  gui.OnMouseDown({press});
  gui.OnMouseUp({press});
  pfw::gui::IKeyEvent key;
  for (int vk : {pfw::gui::kVKReturn, pfw::gui::kVKSpace, pfw::gui::kVKLeft})
  {
    key.vk = vk;
    EXPECT_EQ(brand->OnKeyDown(100.f, 20.f, key), vk != pfw::gui::kVKLeft);
  }
  ASSERT_EQ(gui.urls.size(), 3u);
  EXPECT_EQ(gui.urls[0].rfind("https://", 0), 0u);
}

} // namespace
