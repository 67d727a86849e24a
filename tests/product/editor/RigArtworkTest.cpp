#include "DisplayTestSupport.h"
#include "EditorTestSupport.h"
#include "ExpectedTexts.h"

#include "product/editor/EditorPalette.h"
#include "product/editor/RigArtwork.h"
#include "product/editor/ViewState.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>

using editor::EditorPalette;
using pfw::gui::IPointerEvent;
using pfw::gui::IRectF;
using editor_test::HostEdit;

namespace {

// The microphone at its default place: position 35 %, distance 10 cm.
constexpr float kMicX = 512.f + 35.f * 1.52f;
constexpr float kMicY = 319.f - 10.f * 0.95f;

class RigArtworkTest : public ::testing::Test
{
protected:
  void SetUp() override
  {
    gui.AttachControl(new editor::RigArtwork(IRectF(36.f, 150.f, 709.f, 389.f), plugin->Product(), viewState, feed));
    plugin->TakeHostEdits();
  }

  static std::vector<IPointerEvent> Pointer(float x, float y, bool shift = false, bool right = false)
  {
    IPointerEvent e;
    e.x = x;
    e.y = y;
    e.dX = 1.f; // drags without movement are not delivered
    e.mods.left = !right;
    e.mods.right = right;
    e.mods.shift = shift;
    return {e};
  }

  double Value(int paramIdx) const { return plugin->GetParam(paramIdx)->Value(); }

  std::unique_ptr<Tarnwick> plugin = tarnwick_test::MakePlugin();
  StyledRecordingGui gui{*plugin};
  std::shared_ptr<editor::ViewState> viewState = std::make_shared<editor::ViewState>();
  std::shared_ptr<ScriptedFeed> feed = std::make_shared<ScriptedFeed>();
};

TEST_F(RigArtworkTest, DraggingTheMicrophoneSetsPositionAndDistanceInsideOneEdit)
{
  struct Step
  {
    float x, y;
    bool shift;
  };
  struct Case
  {
    const char* name;
    std::vector<Step> steps;
    double position, distance;
  };
  const Case cases[] = {
    {"right and up", {{kMicX + 76.f, kMicY - 19.f, false}}, 85.0, 30.0},
    {"past the far ends", {{2000.f, -1000.f, false}}, 100.0, 100.0},
    {"past the near ends", {{-2000.f, 2000.f, false}}, 0.0, 1.0},
    {"back from past the end", {{2000.f, kMicY, false}, {kMicX + 76.f, kMicY, false}}, 85.0, 10.0},
    {"shift held", {{kMicX + 152.f, kMicY - 95.f, true}}, 45.0, 20.0},
    {"shift pressed midway", {{kMicX + 76.f, kMicY, false}, {kMicX + 76.f, kMicY, true}, {kMicX + 152.f, kMicY, true}},
     90.0, 10.0},
    {"shift released midway", {{kMicX + 152.f, kMicY, true}, {kMicX + 152.f, kMicY, false}, {kMicX + 228.f, kMicY, false}},
     95.0, 10.0},
  };
  for (const Case& c : cases)
  {
    tarnwick_test::SetParam(*plugin, kParamMicPosition, 35.0);
    tarnwick_test::SetParam(*plugin, kParamMicDistance, 10.0);
    plugin->TakeHostEdits();
    gui.OnMouseDown(Pointer(kMicX, kMicY));
    for (const Step& s : c.steps)
      gui.OnMouseDrag(Pointer(s.x, s.y, s.shift));
    EXPECT_NEAR(Value(kParamMicPosition), c.position, 0.006) << c.name;
    EXPECT_NEAR(Value(kParamMicDistance), c.distance, 0.006) << c.name;
    gui.OnMouseUp(Pointer(c.steps.back().x, c.steps.back().y));
    const std::vector<HostEdit> edits = plugin->TakeHostEdits();
    EXPECT_TRUE(editor_test::BalancedHostEdits(edits)) << c.name;
    ASSERT_GE(edits.size(), 4u);
    EXPECT_EQ(edits.front().kind, HostEdit::kBegin);
    EXPECT_EQ(edits.back().kind, HostEdit::kEnd);
  }
}

TEST_F(RigArtworkTest, PressesThatMissTheMicrophoneChangeNothing)
{
  struct Case
  {
    const char* name;
    bool cabinetOn;
    float x, y;
    bool right;
  };
  for (const Case& c : {Case{"cabinet off", false, kMicX, kMicY, false}, Case{"on the pedal", true, 120.f, 300.f, false},
                        Case{"right button", true, kMicX, kMicY, true}})
  {
    tarnwick_test::SetParam(*plugin, kParamCabEnabled, c.cabinetOn ? 1.0 : 0.0);
    plugin->TakeHostEdits();
    gui.OnMouseDown(Pointer(c.x, c.y, false, c.right));
    gui.OnMouseDrag(Pointer(c.x + 50.f, c.y - 50.f, false, c.right));
    gui.OnMouseUp(Pointer(c.x + 50.f, c.y - 50.f, false, c.right));
    gui.OnMouseDblClick(c.x, c.y, Pointer(c.x, c.y, false, c.right)[0].mods);
    EXPECT_TRUE(plugin->TakeHostEdits().empty()) << c.name;
    EXPECT_NEAR(Value(kParamMicPosition), 35.0, 1e-6) << c.name;
    EXPECT_EQ(viewState->currentView, editor::ViewState::kInitialView) << c.name;
  }
}

TEST_F(RigArtworkTest, DoubleClickRestoresTheDefaultPlaceAsTwoHostEdits)
{
  tarnwick_test::SetParam(*plugin, kParamMicPosition, 80.0);
  tarnwick_test::SetParam(*plugin, kParamMicDistance, 60.0);
  plugin->TakeHostEdits();
  gui.OnMouseDblClick(600.f, 250.f, Pointer(600.f, 250.f)[0].mods);
  EXPECT_NEAR(Value(kParamMicPosition), 35.0, 1e-6);
  EXPECT_NEAR(Value(kParamMicDistance), 10.0, 1e-6);
  const std::vector<HostEdit> edits = plugin->TakeHostEdits();
  EXPECT_TRUE(editor_test::BalancedHostEdits(edits));
  int begins = 0;
  for (const HostEdit& e : edits)
    begins += e.kind == HostEdit::kBegin;
  EXPECT_EQ(begins, 2);
}

TEST_F(RigArtworkTest, ADragShowsTheCabinetViewAndExplainsItself)
{
  gui.OnMouseDown(Pointer(kMicX, kMicY));
  EXPECT_EQ(viewState->currentView, 3);
  EXPECT_EQ(viewState->helpTitle, expected_texts::kMicrophoneDragHelp.title);
  EXPECT_EQ(viewState->helpBody, expected_texts::kMicrophoneDragHelp.body);
  gui.OnMouseUp(Pointer(kMicX, kMicY));
}

TEST_F(RigArtworkTest, AnEditorClosedMidDragClosesTheHostEdits)
{
  gui.OnMouseDown(Pointer(kMicX, kMicY));
  gui.OnMouseDrag(Pointer(kMicX + 10.f, kMicY));
  gui.RemoveAllControls();
  const std::vector<HostEdit> edits = plugin->TakeHostEdits();
  EXPECT_TRUE(editor_test::BalancedHostEdits(edits));
  EXPECT_EQ(edits.back().kind, HostEdit::kEnd);
}

TEST_F(RigArtworkTest, CabinetFamiliesAndMicrophonePlacesAreDrawn)
{
  struct Case
  {
    int family;
    int bigSpeakers, smallSpeakers;
    bool direct;
  };
  const Case cases[] = {{0, 1, 0, false}, {1, 1, 0, false}, {2, 0, 2, false}, {3, 1, 0, false}, {4, 0, 2, false},
                        {5, 0, 4, false}, {8, 0, 4, false}, {9, 0, 0, true}};
  for (const Case& c : cases)
  {
    tarnwick_test::SetParam(*plugin, kParamCabType, c.family);
    gui.Frame();
    int big = 0, small = 0;
    for (const std::string& entry : gui.log)
    {
      float cx, cy, r;
      if (std::sscanf(entry.c_str(), "arc %f %f %f", &cx, &cy, &r) == 3 && cx > 480.f && cx < 696.f)
        big += r == 48.f, small += r == 30.f;
    }
    EXPECT_EQ(big, 2 * c.bigSpeakers) << c.family; // each speaker: its disc and its ring
    EXPECT_EQ(small, 2 * c.smallSpeakers) << c.family;
    EXPECT_EQ(gui.FindText("DIRECT / FULL RANGE") != nullptr, c.direct) << c.family;
  }

  struct Place
  {
    double position, distance;
    bool cabinetOn;
    float x, y;
  };
  for (const Place& p : {Place{0.0, 1.0, true, 512.f, 318.05f}, Place{100.0, 100.0, true, 664.f, 224.f},
                         Place{35.0, 10.0, false, kMicX, kMicY}})
  {
    tarnwick_test::SetParam(*plugin, kParamMicPosition, p.position);
    tarnwick_test::SetParam(*plugin, kParamMicDistance, p.distance);
    tarnwick_test::SetParam(*plugin, kParamCabEnabled, p.cabinetOn ? 1.0 : 0.0);
    gui.Frame();
    bool found = false;
    for (const PaintCall& paint : gui.paints)
      if (paint.fill && paint.source.stops[0].colour == (p.cabinetOn ? EditorPalette::Teal : EditorPalette::MutedText))
      {
        double l = 1e9, t = 1e9;
        for (const PathCommand& cmd : paint.path)
          if (cmd.kind == PathCommand::kMove || cmd.kind == PathCommand::kLine)
            l = std::min(l, cmd.pts[0]), t = std::min(t, cmd.pts[1]);
        found = found || (std::fabs(l - (p.x - 12.f)) < 0.01 && std::fabs(t - (p.y - 6.f)) < 0.01);
      }
    EXPECT_TRUE(found) << p.position << " " << p.distance;
  }
}

} // namespace
