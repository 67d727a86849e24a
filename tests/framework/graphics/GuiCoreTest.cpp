#include "TestControls.h"

#include "framework/graphics/ICornerResizerControl.h"

#include <gtest/gtest.h>

#include <algorithm>

using namespace pfw::gui;

namespace {
int Count(const std::vector<std::string>& log, const std::string& entry)
{
  return static_cast<int>(std::count(log.begin(), log.end(), entry));
}
} // namespace

TEST(GuiControls, DuplicateTagIsRefusedWithoutSideEffects)
{
  GuiFixture f;
  ASSERT_NE(nullptr, f.Add("a", IRectF(0, 0, 10, 10), -1, 5));
  auto* second = new LoggingControl("b", IRectF(0, 0, 10, 10), f.events);
  EXPECT_EQ(nullptr, f.gui->AttachControl(second, 5));
  delete second;
  EXPECT_EQ(1, f.gui->NControls());
  EXPECT_STREQ("a", static_cast<LoggingControl*>(f.gui->GetControlWithTag(5))->name.c_str());
  EXPECT_EQ(nullptr, f.gui->GetControlWithTag(6));
}

TEST(GuiControls, AttachWiresTheControlAndSetsItsGroup)
{
  GuiFixture f;
  auto* control = new LoggingControl("a", IRectF(0, 0, 10, 10), f.events);
  ASSERT_EQ(control, f.gui->AttachControl(control, -1, "amp"));
  EXPECT_EQ(f.gui.get(), control->GetUI());
  EXPECT_EQ(&f.delegate, control->GetDelegate());
  EXPECT_STREQ("amp", control->GetGroup());
}

TEST(GuiControls, SecondCornerResizerLeavesTheFirst)
{
  GuiFixture f;
  f.gui->AttachCornerResizer(IGui::kResizerScale, false, IArgbColour(), IArgbColour(), IArgbColour(), 20.f);
  ICornerResizerControl* first = f.gui->GetCornerResizer();
  ASSERT_NE(nullptr, first);
  f.gui->AttachCornerResizer(IGui::kResizerSize, true, IArgbColour(), IArgbColour(), IArgbColour(), 40.f);
  EXPECT_EQ(first, f.gui->GetCornerResizer());
  EXPECT_EQ(IGui::kResizerScale, f.gui->GetCornerResizerMode());
  // Placed to keep its pixel size: 20 pixels at draw scale 1.
  EXPECT_EQ(IRectF(1160, 780, 1180, 800), first->GetRECT());
}

TEST(GuiControls, CornerResizerKeepsItsPixelSizeWhenRescaled)
{
  FakeDelegate delegate;
  RecordingGui gui(delegate, 800, 600, 2.f);
  gui.AttachCornerResizer(IGui::kResizerScale, false, IArgbColour(), IArgbColour(), IArgbColour(), 20.f);
  EXPECT_EQ(IRectF(790, 590, 800, 600), gui.GetCornerResizer()->GetRECT());
}

TEST(GuiDirty, DirtyControlGivesItsInflatedRectangle)
{
  GuiFixture f;
  f.Add("bg", IRectF(0, 0, 100, 100));
  f.Add("a", IRectF(10, 10, 20, 20));
  f.gui->SetAllControlsClean();
  IRectFList rects;
  EXPECT_FALSE(f.gui->IsDirty(rects));
  f.gui->GetControl(1)->SetDirty(false);
  ASSERT_TRUE(f.gui->IsDirty(rects));
  ASSERT_EQ(1, rects.Size());
  EXPECT_EQ(IRectF(9.25f, 9.25f, 20.75f, 20.75f), rects.Get(0));
}

TEST(GuiDirty, LineOfNoWidthIsRepaintedButTheEmptyRectangleIsNot)
{
  GuiFixture f;
  f.Add("bg", IRectF(0, 0, 100, 100));
  LoggingControl* line = f.Add("line", IRectF(10, 10, 10, 40));
  LoggingControl* nothing = f.Add("nothing", IRectF());
  f.gui->SetAllControlsClean();
  line->SetDirty(false);
  IRectFList rects;
  ASSERT_TRUE(f.gui->IsDirty(rects));
  ASSERT_EQ(1, rects.Size());
  EXPECT_EQ(IRectF(9.25f, 9.25f, 10.75f, 40.75f), rects.Get(0));
  f.events.clear();
  f.gui->Draw(rects);
  EXPECT_EQ(1, Count(f.events, "line draw"));

  f.gui->SetAllControlsClean();
  nothing->SetDirty(false);
  IRectFList none;
  EXPECT_TRUE(f.gui->IsDirty(none));
  EXPECT_EQ(0, none.Size());
}

TEST(GuiDirty, EachControlStartsFromTheIdentityTransform)
{
  struct Careless : LoggingControl
  {
    using LoggingControl::LoggingControl;
    void Draw(IGui& g) override
    {
      g.PathTransformSave();
      g.PathTransformTranslate(5, 7); // never restored
      LoggingControl::Draw(g);
    }
  };
  GuiFixture f;
  f.gui->AttachControl(new Careless("a", IRectF(0, 0, 50, 50), f.events));
  f.Add("b", IRectF(0, 0, 50, 50));
  IRectFList rects;
  ASSERT_TRUE(f.gui->IsDirty(rects));
  f.gui->log.clear();
  f.gui->Draw(rects);
  // Before each control's clip the back end is told the identity transform.
  std::vector<std::string> beforeClip;
  std::string lastMatrix = "none";
  for (const std::string& entry : f.gui->log)
  {
    if (entry.rfind("clip", 0) == 0)
      beforeClip.push_back(lastMatrix);
    if (entry.rfind("matrix", 0) == 0)
      lastMatrix = entry;
  }
  EXPECT_EQ((std::vector<std::string>{"matrix 1 0 0 1 0 0", "matrix 1 0 0 1 0 0"}), beforeClip);
  EXPECT_EQ(0, f.gui->TransformStackDepth());
  EXPECT_TRUE(f.gui->GetTransform().IsIdentity());
}

TEST(GuiDirty, DrawVisitsOnlyWhatMeetsTheAreaClippedToIt)
{
  GuiFixture f;
  f.Add("bg", IRectF(0, 0, 100, 100));
  f.Add("a", IRectF(10, 10, 20, 20));
  f.Add("b", IRectF(60, 60, 70, 70));
  f.gui->SetAllControlsClean();
  f.gui->GetControl(1)->SetDirty(false);
  IRectFList rects;
  ASSERT_TRUE(f.gui->IsDirty(rects));
  f.events.clear();
  f.gui->log.clear();
  f.gui->Draw(rects);
  // The background and a paint inside the area; b lies elsewhere.
  EXPECT_EQ((std::vector<std::string>{"bg draw", "a draw"}), f.events);
  EXPECT_EQ("beginframe", f.gui->log.front());
  EXPECT_EQ("endframe", f.gui->log.back());
  EXPECT_EQ(2, f.gui->CountPrefix("clip 9 9 21 21"));
}

TEST(GuiDirty, DrawAtScaleTwoAlignsToDevicePixels)
{
  FakeDelegate delegate;
  RecordingGui gui(delegate, 100, 100, 2.f);
  std::vector<std::string> events;
  gui.AttachControl(new LoggingControl("a", IRectF(10, 10, 20, 20), events));
  IRectFList rects;
  ASSERT_TRUE(gui.IsDirty(rects));
  gui.Draw(rects);
  EXPECT_TRUE(gui.Logged("clip 9 9 21 21"));
}

TEST(GuiDirty, HiddenFirstControlIsPaintedAndHiddenLaterOneIsNot)
{
  GuiFixture f;
  f.Add("bg", IRectF(0, 0, 100, 100))->Hide(true);
  f.Add("a", IRectF(10, 10, 20, 20))->Hide(true);
  IRectFList rects;
  ASSERT_TRUE(f.gui->IsDirty(rects));
  f.events.clear();
  f.gui->Draw(rects);
  EXPECT_EQ(1, Count(f.events, "bg draw"));
  EXPECT_EQ(0, Count(f.events, "a draw"));
}

namespace {
class OpaqueControl : public LoggingControl
{
public:
  using LoggingControl::LoggingControl;
  IRectF OpaqueArea() const override { return mRECT; }
};
} // namespace

TEST(GuiDirty, UncoveredPartsLeaveOutTheOpaqueAreasOfVisibleTopLevelControlsDrawnLater)
{
  struct Case
  {
    const char* what;
    float scale;
    IRectF opaque;
    bool drawnLater, hidden, child;
    float uncoveredArea;
  } cases[] = {
    {"drawn later", 1.f, IRectF(20, 20, 60, 60), true, false, false, 10000.f - 40.f * 40.f},
    {"whole pixels inside at scale 1.5", 1.5f, IRectF(20.5f, 20.5f, 60.5f, 60.5f), true, false, false,
     10000.f - (60.f - 31.f / 1.5f) * (60.f - 31.f / 1.5f)},
    {"drawn before", 1.f, IRectF(20, 20, 60, 60), false, false, false, 10000.f},
    {"hidden", 1.f, IRectF(20, 20, 60, 60), true, true, false, 10000.f},
    {"a child, clipped by its parent", 1.f, IRectF(20, 20, 60, 60), true, false, true, 10000.f},
  };
  for (const Case& c : cases)
  {
    FakeDelegate delegate;
    RecordingGui gui(delegate, 100, 100, c.scale);
    std::vector<std::string> events;
    auto* below = new LoggingControl("below", IRectF(0, 0, 100, 100), events);
    auto* opaque = new OpaqueControl("opaque", c.opaque, events);
    gui.AttachControl(c.drawnLater ? below : opaque);
    gui.AttachControl(c.drawnLater ? opaque : below);
    opaque->Hide(c.hidden);
    if (c.child)
      opaque->SetParent(below);
    IRectFList parts;
    gui.UncoveredParts(*below, IRectF(0, 0, 100, 100), parts);
    float area = 0.f;
    for (int i = 0; i < parts.Size(); ++i)
    {
      area += parts.Get(i).Area();
      for (int j = 0; j < i; ++j)
        EXPECT_TRUE(parts.Get(i).Intersect(parts.Get(j)).HasNoArea()) << c.what << ": parts overlap";
    }
    EXPECT_NEAR(c.uncoveredArea, area, 0.01f) << c.what;
  }
}

TEST(GuiDirty, EmptyListDrawsNothing)
{
  GuiFixture f;
  f.Add("bg", IRectF(0, 0, 100, 100));
  IRectFList rects;
  f.gui->Draw(rects);
  EXPECT_TRUE(f.gui->log.empty());
}

TEST(GuiDirty, ChildIsClippedInsideItsParent)
{
  GuiFixture f;
  LoggingControl* parent = f.Add("parent", IRectF(0, 0, 50, 50));
  LoggingControl* child = f.Add("child", IRectF(40, 40, 80, 80));
  child->SetParent(parent);
  f.gui->SetAllControlsClean();
  child->SetDirty(false);
  IRectFList rects;
  ASSERT_TRUE(f.gui->IsDirty(rects));
  ASSERT_EQ(1, rects.Size());
  // Moved inside the parent's inflated area, never past its right and bottom.
  EXPECT_LE(rects.Get(0).R, 50.75f - 1.f + 0.001f);
  EXPECT_LE(rects.Get(0).B, 50.75f - 1.f + 0.001f);
  EXPECT_EQ(IRectF(40, 40, 80, 80), child->GetRECT());
}

TEST(GuiDirty, AnimatedControlStaysDirty)
{
  GuiFixture f;
  LoggingControl* a = f.Add("a", IRectF(0, 0, 10, 10));
  int steps = 0;
  a->SetAnimation([&](IControl* c) {
    if (++steps == 3)
      c->OnEndAnimation();
  });
  IRectFList rects;
  for (int i = 0; i < 4; ++i)
  {
    f.gui->IsDirty(rects);
    f.gui->SetAllControlsClean();
  }
  EXPECT_EQ(3, steps);
  EXPECT_FALSE(a->IsDirty());
}

TEST(GuiScale, ConstraintsClampTheScale)
{
  GuiFixture f;
  f.gui->Resize(1180, 800, 0.25f, false);
  EXPECT_FLOAT_EQ(0.5f, f.gui->GetDrawScale());
  f.gui->Resize(1180, 800, 5.f, false);
  EXPECT_FLOAT_EQ(4.f, f.gui->GetDrawScale());
  f.gui->SetScaleConstraints(1.5f, 0.85f);
  EXPECT_FLOAT_EQ(0.85f, f.gui->GetMinScale());
  EXPECT_FLOAT_EQ(1.5f, f.gui->GetMaxScale());
  f.gui->Resize(1180, 800, 0.5f, false);
  EXPECT_FLOAT_EQ(0.85f, f.gui->GetDrawScale());
}

TEST(GuiScale, ResizeTellsTheDelegateTheWindowSize)
{
  GuiFixture f;
  f.gui->platformScale = 1.5f;
  f.gui->Resize(1000, 700, 1.25f, true);
  ASSERT_EQ(1u, f.delegate.resizes.size());
  EXPECT_EQ(1875, f.delegate.resizes[0].first); // 1.5 x int(1000 x 1.25)
  EXPECT_EQ(1312, f.delegate.resizes[0].second); // int(1.5 x 875)
  EXPECT_TRUE(f.gui->Logged("platformresize 1"));
  EXPECT_TRUE(f.gui->Logged("resizeorrescale"));
  EXPECT_TRUE(f.gui->Logged("resizefinished"));
}

TEST(GuiScale, ResizeToTheSameSizeKeepsCaptures)
{
  GuiFixture f;
  f.Add("a", IRectF(0, 0, 100, 100));
  f.Down(5, 5);
  ASSERT_TRUE(f.gui->ControlIsCaptured());
  f.gui->Resize(1180, 800, 1.f, true);
  EXPECT_TRUE(f.gui->ControlIsCaptured());
  EXPECT_TRUE(f.delegate.resizes.empty());
}

TEST(GuiScale, DelegateLimitsClampTheSize)
{
  GuiFixture f;
  f.delegate.SetSizeConstraints(393, 3540, 266, 2400);
  f.gui->Resize(100, 5000, 1.f, false);
  EXPECT_EQ(393, f.gui->Width());
  EXPECT_EQ(2400, f.gui->Height());
}

TEST(GuiScale, ScreenScaleRescalesEveryControl)
{
  GuiFixture f;
  f.Add("a", IRectF(0, 0, 10, 10));
  f.gui->SetAllControlsClean();
  f.gui->SetScreenScale(2.f);
  EXPECT_FLOAT_EQ(2.f, f.gui->GetTotalScale());
  EXPECT_TRUE(f.gui->GetControl(0)->IsDirty());
  ASSERT_EQ(1u, f.delegate.resizes.size());
  EXPECT_EQ(1180, f.delegate.resizes[0].first);
}

TEST(GuiScale, TooltipsEnableMouseOver)
{
  GuiFixture f;
  EXPECT_FALSE(f.gui->MouseOverEnabled());
  f.gui->EnableTooltips(true);
  EXPECT_TRUE(f.gui->MouseOverEnabled());
  f.gui->EnableTooltips(false);
  EXPECT_TRUE(f.gui->MouseOverEnabled());
}

TEST(GuiPeers, UserEditReachesPeersButNotTheSender)
{
  GuiFixture f;
  LoggingControl* a = f.Add("a", IRectF(0, 0, 10, 10), 2);
  LoggingControl* b = f.Add("b", IRectF(20, 0, 30, 10), 2);
  LoggingControl* c = f.Add("c", IRectF(40, 0, 50, 10), 3);
  a->SetValueFromUserInput(0.4);
  EXPECT_DOUBLE_EQ(0.4, b->GetValue());
  EXPECT_DOUBLE_EQ(0.0, c->GetValue());
  EXPECT_DOUBLE_EQ(0.4, f.delegate.GetParam(2)->Value());
}

TEST(GuiPeers, DelegateValueReachesEveryLinkedSlot)
{
  GuiFixture f;
  LoggingControl* a = f.Add("a", IRectF(0, 0, 10, 10), 1);
  LoggingControl* b = f.Add("b", IRectF(20, 0, 30, 10), 1);
  LoggingControl* c = f.Add("c", IRectF(40, 0, 50, 10), 1, 7);
  f.gui->SetParameterValueFromDelegate(1, 0.25);
  EXPECT_DOUBLE_EQ(0.25, a->GetValue());
  EXPECT_DOUBLE_EQ(0.25, b->GetValue());
  EXPECT_DOUBLE_EQ(0.25, c->GetValue());
  f.gui->SetControlValueFromDelegate(7, 0.75);
  EXPECT_DOUBLE_EQ(0.75, c->GetValue());
  EXPECT_DOUBLE_EQ(0.25, a->GetValue());
}

TEST(GuiLifetime, RemoveAllControlsForgetsPromptsAndEndsTheNativeEntry)
{
  GuiFixture f;
  LoggingControl* a = f.Add("a", IRectF(0, 0, 10, 10));
  f.gui->CreateTextEntry(*a, a->GetTextStyle(), IRectF(0, 0, 40, 16), "x", -1);
  ASSERT_EQ(a, f.gui->GetControlInTextEntry());
  f.gui->RemoveAllControls();
  EXPECT_EQ(nullptr, f.gui->GetControlInTextEntry());
  EXPECT_EQ(1, f.gui->forceEndCalls);
  // A late commit from the platform's text box reaches nothing.
  f.gui->SetControlValueAfterTextEdit("1");
  EXPECT_EQ(0, f.gui->NControls());
}
