#include "TestControls.h"

#include "framework/graphics/IColourSet.h"
#include "framework/graphics/IColourSource.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

using namespace pfw::gui;

using Log = std::vector<std::string>;

namespace {
// A control with two value slots.
struct TwoSlots : LoggingControl
{
  TwoSlots(std::vector<std::string>& events, int p0, int p1)
    : LoggingControl("two", IRectF(0, 0, 50, 50), events, p0)
  {
    AddValueSlot(p1);
  }
};
} // namespace

TEST(Control, SetDirtyWithPushSendsEverySlotInOrderAndActsOnce)
{
  GuiFixture f;
  auto* two = new TwoSlots(f.events, 3, 5);
  f.gui->AttachControl(two);
  int actions = 0;
  two->SetActionFunction([&](IControl*) { ++actions; });
  two->SetValue(0.25, 0);
  two->SetValue(0.75, 1);
  two->SetDirty(true, -1);
  EXPECT_EQ((Log{"begin 3", "value 3 0.25", "end 3", "begin 5", "value 5 0.75", "end 5"}), f.delegate.log);
  EXPECT_EQ(1, actions);
  EXPECT_EQ(-1, two->GetValIdxForPos(1, 1));
}

TEST(Control, DoubleClickOnTwoSlotsResetsEachLinkedSlotFramed)
{
  GuiFixture f;
  f.delegate.GetParam(5)->InitDouble("Mix", 0.5, 0.0, 1.0, 0.01);
  auto* two = new TwoSlots(f.events, 3, 5);
  f.gui->AttachControl(two);
  two->SetValue(0.3, 0);
  two->SetValue(0.9, 1);
  two->OnMouseDblClick(1, 1, IPointerMods());
  EXPECT_DOUBLE_EQ(0.0, two->GetValue(0));
  EXPECT_DOUBLE_EQ(0.5, two->GetValue(1));
  EXPECT_TRUE(f.delegate.Balanced());
}

TEST(Control, ValuesClampAtDirtyAndRefuseNaN)
{
  GuiFixture f;
  LoggingControl* a = f.Add("a", IRectF(0, 0, 10, 10), 1);
  a->SetValue(1.2);
  EXPECT_DOUBLE_EQ(1.2, a->GetValue());
  a->SetDirty(false);
  EXPECT_DOUBLE_EQ(1.0, a->GetValue());
  a->SetValue(std::numeric_limits<double>::quiet_NaN());
  EXPECT_DOUBLE_EQ(1.0, a->GetValue());
  a->SetValueFromDelegate(std::numeric_limits<double>::quiet_NaN());
  a->SetValueFromUserInput(std::numeric_limits<double>::infinity());
  EXPECT_DOUBLE_EQ(1.0, a->GetValue());
  // Refused values are no edits: the host hears nothing, not even the old value.
  EXPECT_TRUE(f.delegate.log.empty());
  auto* knob = new TestKnob(IRectF(20, 0, 40, 20), 2);
  f.gui->AttachControl(knob);
  f.gui->OnMouseWheel(30, 10, IPointerMods(), std::numeric_limits<float>::quiet_NaN());
  f.delegate.GetParam(2)->InitInt("Steps", 0, 0, 4);
  f.gui->OnMouseWheel(30, 10, IPointerMods(), std::numeric_limits<float>::quiet_NaN());
  EXPECT_DOUBLE_EQ(0.0, knob->GetValue());
  EXPECT_TRUE(f.delegate.log.empty());
}

TEST(Control, DelegateValueMarksDirtyOnlyOnChangeAndWaitsForTheDrag)
{
  GuiFixture f;
  LoggingControl* a = f.Add("a", IRectF(0, 0, 10, 10), 1);
  a->SetValueFromDelegate(0.5);
  a->SetClean();
  a->SetValueFromDelegate(0.5);
  EXPECT_FALSE(a->IsDirty());
  f.Down(5, 5);
  a->SetValueFromDelegate(0.9);
  EXPECT_DOUBLE_EQ(0.5, a->GetValue());
  f.delegate.GetParam(1)->Set(0.9);
  f.Up(5, 5);
  // The value the host set during the press shows once it ends.
  EXPECT_DOUBLE_EQ(0.9, a->GetValue());
}

TEST(Control, PositionSizeHideAndDisable)
{
  GuiFixture f;
  LoggingControl* a = f.Add("a", IRectF(10, 10, 30, 20));
  a->SetTargetRECT(IRectF(12, 12, 28, 18));
  a->SetPosition(-5, 40);
  EXPECT_EQ(IRectF(0, 40, 20, 50), a->GetRECT());
  EXPECT_EQ(IRectF(2, 42, 18, 48), a->GetTargetRECT());
  a->SetSize(-1, 5);
  EXPECT_EQ(IRectF(0, 40, 0, 45), a->GetRECT());
  EXPECT_EQ(a->GetRECT(), a->GetTargetRECT());
  a->SetDisabled(true);
  EXPECT_FLOAT_EQ(0.25f, a->GetBlend().weight);
  a->SetDisabled(false);
  EXPECT_FLOAT_EQ(1.f, a->GetBlend().weight);
}

TEST(Control, SnapToMouseMapsThePosition)
{
  GuiFixture f;
  LoggingControl* a = f.Add("a", IRectF(0, 100, 50, 200), 2);
  a->SnapToMouse(10, 125, 0, IRectF(0, 100, 50, 200), 0);
  EXPECT_DOUBLE_EQ(0.75, a->GetValue());
  a->SnapToMouse(37.51f, 0, 1, IRectF(0, 100, 50, 200), 0, 0.0, 0.5);
  EXPECT_DOUBLE_EQ(0.5, a->GetValue());
  // Zero-size bounds give no position at all.
  a->SnapToMouse(10, 10, 1, IRectF(5, 5, 5, 5), 0);
  EXPECT_DOUBLE_EQ(0.5, a->GetValue());
}

TEST(Control, GestureHandlersAndHighlight)
{
  GuiFixture f;
  LoggingControl* a = f.Add("a", IRectF(0, 0, 20, 20));
  EXPECT_FALSE(a->WantsGestures());
  int pinches = 0;
  a->AttachGestureRecognizer(3, [&](IControl*, const IGestureInfo&) { ++pinches; });
  EXPECT_TRUE(a->WantsGestures());
  IGestureInfo info;
  info.type = 3;
  EXPECT_TRUE(a->OnGesture(info));
  info.type = 4;
  EXPECT_FALSE(a->OnGesture(info));
  EXPECT_EQ(1, pinches);
  EXPECT_EQ(3, a->GetLastGesture());
  a->SetHighlightMarker(true, IArgbColour(255, 1, 2, 3));
  a->DrawHighlightMarker(*f.gui);
  EXPECT_TRUE(f.gui->Logged("move 15 3"));
}

TEST(Knob, DragRaisesTheValueByTheGearedDistance)
{
  GuiFixture f;
  auto* knob = new TestKnob(IRectF(0, 0, 100, 100), 0, IKnobControlBase::kVertical, 1.0);
  f.gui->AttachControl(knob);
  knob->SetValueFromDelegate(0.2);
  f.Down(50, 50);
  f.Drag(50, 0, 0, -50);
  EXPECT_NEAR(0.7, knob->GetValue(), 1e-12);
  f.Up(50, 0);
  knob->SetValueFromDelegate(0.2);
  f.Down(50, 50);
  f.Drag(50, 0, 0, -50, true);
  EXPECT_NEAR(0.25, knob->GetValue(), 1e-12);
  f.Up(50, 0);
}

TEST(Knob, PastTheTopItStaysAndNeedsTheDistanceBack)
{
  GuiFixture f;
  auto* knob = new TestKnob(IRectF(0, 0, 100, 100), 0, IKnobControlBase::kVertical, 1.0);
  f.gui->AttachControl(knob);
  knob->SetValueFromDelegate(0.9);
  f.Down(50, 50);
  f.Drag(50, 0, 0, -50);
  EXPECT_DOUBLE_EQ(1.0, knob->GetValue());
  f.Drag(50, 10, 0, 10);
  EXPECT_NEAR(0.9, knob->GetValue(), 1e-12);
  f.Up(50, 10);
  EXPECT_TRUE(f.delegate.Balanced());
}

TEST(Knob, SteppedParameterShowsStepsWhileTheDragMovesSmoothly)
{
  GuiFixture f;
  f.delegate.GetParam(1)->SetType(pfw::IParam::kTypeNone);
  f.delegate.GetParam(1)->InitInt("Steps", 0, 0, 4);
  auto* knob = new TestKnob(IRectF(0, 0, 100, 100), 1, IKnobControlBase::kHorizontal, 1.0);
  f.gui->AttachControl(knob);
  f.Down(0, 50);
  f.gui->OnMouseDrag({GuiFixture::Point(10, 50, false, 0, 10, 0)});
  EXPECT_DOUBLE_EQ(0.0, knob->GetValue());
  EXPECT_NEAR(0.1, knob->GetAccumulatedValue(), 1e-12);
  f.gui->OnMouseDrag({GuiFixture::Point(20, 50, false, 0, 10, 0)});
  EXPECT_DOUBLE_EQ(0.25, knob->GetValue());
  f.Up(20, 50);
}

TEST(Knob, WheelStepsAndClamps)
{
  GuiFixture f;
  auto* knob = new TestKnob(IRectF(0, 0, 100, 100), 0);
  f.gui->AttachControl(knob);
  knob->SetValueFromDelegate(0.995);
  f.gui->OnMouseWheel(50, 50, IPointerMods(), 1.f);
  EXPECT_DOUBLE_EQ(1.0, knob->GetValue());
  IPointerMods fine;
  fine.shift = true;
  f.gui->OnMouseWheel(50, 50, fine, -1.f);
  EXPECT_NEAR(0.999, knob->GetValue(), 1e-12);

  f.delegate.GetParam(1)->SetType(pfw::IParam::kTypeNone);
  f.delegate.GetParam(1)->InitInt("Steps", 2, 0, 4);
  auto* stepped = new TestKnob(IRectF(200, 0, 300, 100), 1);
  f.gui->AttachControl(stepped);
  stepped->SetValueFromDelegate(0.5);
  f.gui->OnMouseWheel(250, 50, IPointerMods(), 0.3f);
  EXPECT_DOUBLE_EQ(0.75, stepped->GetValue());
  f.gui->OnMouseWheel(250, 50, IPointerMods(), 0.f);
  EXPECT_DOUBLE_EQ(0.75, stepped->GetValue());
  EXPECT_TRUE(f.delegate.Balanced());
}

TEST(Knob, ZeroExtentDragBoundsChangeNothing)
{
  GuiFixture f;
  auto* knob = new TestKnob(IRectF(0, 0, 0, 0), 0);
  knob->SetTargetRECT(IRectF(0, 0, 10, 0));
  f.gui->AttachControl(knob);
  knob->SetValueFromDelegate(0.3);
  knob->OnMouseDown(1, 0, IPointerMods());
  knob->OnMouseDrag(1, 0, 0, 5, IPointerMods());
  EXPECT_DOUBLE_EQ(0.3, knob->GetValue());
}

TEST(Knob, HidesTheCursorWhileDragging)
{
  GuiFixture f;
  auto* knob = new TestKnob(IRectF(0, 0, 100, 100), 0);
  knob->SetHideCursorOnDrag(true);
  f.gui->AttachControl(knob);
  f.Down(50, 50);
  EXPECT_TRUE(f.gui->CursorHidden());
  EXPECT_TRUE(knob->IsDragging());
  f.Up(50, 50);
  EXPECT_FALSE(f.gui->CursorHidden());
  EXPECT_FALSE(knob->IsDragging());
  // A drag taken away (a dialog, a resize) ends like a release.
  f.Down(50, 50);
  f.gui->ReleaseMouseCapture();
  EXPECT_FALSE(f.gui->CursorHidden());
  EXPECT_FALSE(knob->IsDragging());
}

TEST(Colours, ShortListsTakeTheDefaults)
{
  const IColourSet set{IArgbColour(255, 1, 1, 1), IArgbColour(255, 2, 2, 2), IArgbColour(255, 3, 3, 3)};
  EXPECT_EQ(IArgbColour(255, 2, 2, 2), set.Get(1));
  EXPECT_EQ(IArgbColour(255, 70, 70, 70), set.Get(3));
  EXPECT_EQ(IArgbColour(255, 0, 0, 255), set.Get(8));
  EXPECT_EQ(IArgbColour(0, 0, 0, 0), IColourSet().Get(0));
}

TEST(Colours, LinearGradientMapsTheLineToZeroOne)
{
  const IColourSource g = IColourSource::CreateLinearGradient(0, 0, 0, 100, {{IArgbColour(255, 255, 0, 0), 0.f},
                                                                             {IArgbColour(255, 0, 0, 255), 1.f}});
  EXPECT_EQ(IColourSource::kLinear, g.kind);
  EXPECT_EQ(2, g.nStops);
  double u = 0, v = 50;
  g.transform.TransformPoint(u, v);
  EXPECT_NEAR(0.5, v, 1e-6);
  EXPECT_NEAR(0.0, u, 1e-6);
  const IColourSource diagonal = IColourSource::CreateLinearGradient(10, 10, 20, 10, {});
  double x = 15, y = 10;
  diagonal.transform.TransformPoint(x, y);
  EXPECT_NEAR(0.5, y, 1e-6);
  // Coinciding ends have no direction: a solid of the last stop.
  const IColourSource point = IColourSource::CreateLinearGradient(5, 5, 5, 5, {{IArgbColour(255, 9, 9, 9), 0.f}});
  EXPECT_EQ(IColourSource::kSolid, point.kind);
  EXPECT_EQ(IArgbColour(255, 9, 9, 9), point.stops[0].colour);
  IColourSource many(IColourSource::kLinear);
  for (int i = 0; i < 20; ++i)
    many.AddStop(IArgbColour(), i / 20.f);
  EXPECT_EQ(16, many.nStops);
}

TEST(Colours, SolidSourceFromAColour)
{
  const IColourSource s = IColourSource::FromColour(IArgbColour(128, 1, 2, 3));
  EXPECT_EQ(IColourSource::kSolid, s.kind);
  EXPECT_EQ(IColourSource::kExtendPad, s.extend);
  EXPECT_EQ(1, s.nStops);
  EXPECT_EQ(IArgbColour(255, 0, 0, 0), s.stops[5].colour);
  EXPECT_TRUE(s.transform.IsIdentity());
}
