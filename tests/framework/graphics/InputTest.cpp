#include "TestControls.h"

#include "framework/graphics/ICornerResizerControl.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>

using namespace pfw::gui;

using Log = std::vector<std::string>;

TEST(InputHitTest, LaterControlOnTopAndSkippedStatesFallThrough)
{
  GuiFixture f;
  f.Add("bg", IRectF(0, 0, 200, 200));
  f.Add("under", IRectF(0, 0, 100, 100));
  LoggingControl* over = f.Add("over", IRectF(50, 50, 100, 100));
  EXPECT_EQ(over, f.gui->GetMouseControl(60, 60, false));
  over->Hide(true);
  EXPECT_STREQ("under", static_cast<LoggingControl*>(f.gui->GetMouseControl(60, 60, false))->name.c_str());
  over->Hide(false);
  over->SetDisabled(true);
  EXPECT_STREQ("under", static_cast<LoggingControl*>(f.gui->GetMouseControl(60, 60, false))->name.c_str());
  over->SetDisabled(false);
  over->SetIgnoreMouse(true);
  EXPECT_STREQ("under", static_cast<LoggingControl*>(f.gui->GetMouseControl(60, 60, false))->name.c_str());
  EXPECT_STREQ("bg", static_cast<LoggingControl*>(f.gui->GetMouseControl(150, 150, false))->name.c_str());
  EXPECT_EQ(nullptr, f.gui->GetMouseControl(250, 250, false));
}

TEST(InputHitTest, EdgesAreHalfOpen)
{
  GuiFixture f;
  LoggingControl* a = f.Add("a", IRectF(0, 0, 10, 10));
  EXPECT_TRUE(a->IsHit(0, 0));
  EXPECT_FALSE(a->IsHit(10, 5));
  a->SetTargetAndDrawRECTs(IRectF());
  EXPECT_FALSE(a->IsHit(0, 0));
}

TEST(InputMouse, PressDragReleaseGoesToTheCapturedControl)
{
  GuiFixture f;
  f.Add("bg", IRectF(0, 0, 200, 200));
  f.Add("a", IRectF(10, 10, 50, 50), 1);
  f.Down(20, 20);
  f.Drag(300, 300, 5, 5); // leaves the control: still captured
  f.Drag(300, 300, 0, 0); // no movement: not delivered
  f.Up(300, 300);
  EXPECT_EQ((Log{"a down", "a drag 5,5", "a up"}), f.events);
  EXPECT_EQ((Log{"begin 1", "end 1"}), f.delegate.log);
  EXPECT_FALSE(f.gui->ControlIsCaptured());
}

TEST(InputMouse, DragWithoutCaptureIsIgnored)
{
  GuiFixture f;
  f.Add("a", IRectF(0, 0, 50, 50));
  f.Drag(10, 10, 3, 3);
  EXPECT_TRUE(f.events.empty());
}

TEST(InputMouse, TwoTouchesHoldTwoControls)
{
  GuiFixture f;
  f.Add("a", IRectF(0, 0, 50, 50), 1);
  f.Add("b", IRectF(100, 0, 150, 50), 2);
  f.gui->OnMouseDown({GuiFixture::Point(10, 10, false, 1), GuiFixture::Point(110, 10, false, 2)});
  f.gui->OnMouseDrag({GuiFixture::Point(12, 10, false, 1, 2, 0), GuiFixture::Point(110, 14, false, 2, 0, 4)});
  f.gui->OnMouseUp({GuiFixture::Point(110, 14, false, 2)});
  EXPECT_TRUE(f.gui->ControlIsCaptured());
  f.gui->OnMouseUp({GuiFixture::Point(12, 10, false, 1)});
  EXPECT_EQ((Log{"a down", "b down", "a drag 2,0", "b drag 0,4", "b up", "a up"}), f.events);
  EXPECT_TRUE(f.delegate.Balanced());
}

TEST(InputMouse, TwoTouchesOnOneParameterOpenOneEdit)
{
  GuiFixture f;
  auto* a = new TestKnob(IRectF(0, 0, 50, 50), 1);
  auto* b = new TestKnob(IRectF(100, 0, 150, 50), 1);
  f.gui->AttachControl(a);
  f.gui->AttachControl(b);
  f.gui->OnMouseDown({GuiFixture::Point(10, 10, false, 1), GuiFixture::Point(110, 10, false, 2)});
  f.gui->OnMouseDrag({GuiFixture::Point(10, 5, false, 1, 0, -5)});
  f.gui->OnMouseUp({GuiFixture::Point(10, 5, false, 1)});
  // The other touch still holds its knob; its values frame themselves now.
  f.gui->OnMouseDrag({GuiFixture::Point(110, 5, false, 2, 0, -5)});
  f.gui->OnMouseUp({GuiFixture::Point(110, 5, false, 2)});
  std::string why;
  EXPECT_TRUE(f.delegate.Balanced(&why)) << why;
  EXPECT_EQ((Log{"begin 1", "value 1 0.1", "end 1", "begin 1", "value 1 0.1", "end 1"}), f.delegate.log);
}

TEST(InputMouse, BackgroundCapturesButNeverTakesKeysOrMouseOver)
{
  GuiFixture f;
  f.gui->EnableMouseOver(true);
  f.Add("bg", IRectF(0, 0, 200, 200));
  f.Down(5, 5);
  EXPECT_TRUE(f.gui->ControlIsCaptured());
  f.Up(5, 5);
  EXPECT_FALSE(f.gui->OnMouseOver(5, 5, IPointerMods()));
  EXPECT_EQ(nullptr, f.gui->GetMouseOverControl());
  IKeyEvent key;
  key.vk = 'A';
  EXPECT_FALSE(f.gui->OnKeyDown(5, 5, key));
  EXPECT_FALSE(f.gui->OnKeyDown(500, 500, key));
}

TEST(InputKeys, KeysGoToTheControlUnderTheMouse)
{
  GuiFixture f;
  f.Add("bg", IRectF(0, 0, 200, 200));
  LoggingControl* a = f.Add("a", IRectF(10, 10, 50, 50));
  IKeyEvent key;
  key.vk = 'A';
  EXPECT_TRUE(f.gui->OnKeyDown(20, 20, key));
  a->handlesKeys = false;
  EXPECT_FALSE(f.gui->OnKeyDown(20, 20, key));
  // Over the background or over nothing no control is asked.
  f.events.clear();
  EXPECT_FALSE(f.gui->OnKeyDown(150, 150, key));
  EXPECT_FALSE(f.gui->OnKeyUp(150, 150, key));
  EXPECT_FALSE(f.gui->OnKeyDown(300, 300, key));
  EXPECT_TRUE(f.events.empty());
}

TEST(InputMouse, MouseOverAndOutFollowThePointer)
{
  GuiFixture f;
  f.gui->EnableMouseOver(true);
  f.Add("bg", IRectF(0, 0, 200, 200));
  f.Add("a", IRectF(10, 10, 50, 50));
  f.Add("b", IRectF(60, 10, 100, 50));
  EXPECT_TRUE(f.gui->OnMouseOver(20, 20, IPointerMods()));
  EXPECT_EQ(1, f.gui->GetMouseOverIdx());
  f.gui->OnMouseOver(21, 20, IPointerMods());
  f.gui->OnMouseOver(70, 20, IPointerMods());
  EXPECT_EQ(2, f.gui->GetMouseOverIdx());
  f.gui->OnMouseOut();
  EXPECT_EQ(-1, f.gui->GetMouseOverIdx());
  EXPECT_EQ((Log{"a over", "a over", "a out", "b over", "b out"}), f.events);
}

TEST(InputMouse, MouseOverDisabledFindsNothing)
{
  GuiFixture f;
  f.Add("bg", IRectF(0, 0, 200, 200));
  f.Add("a", IRectF(10, 10, 50, 50));
  EXPECT_FALSE(f.gui->OnMouseOver(20, 20, IPointerMods()));
}

TEST(InputMouse, WheelAndDropReachTheControlWithoutCapture)
{
  GuiFixture f;
  f.Add("a", IRectF(10, 10, 50, 50));
  EXPECT_TRUE(f.gui->OnMouseWheel(20, 20, IPointerMods(), 1.f));
  EXPECT_FALSE(f.gui->OnMouseWheel(200, 200, IPointerMods(), 1.f));
  EXPECT_FALSE(f.gui->ControlIsCaptured());
  f.gui->OnDrop("C:/x.wav", 20, 20);
  f.gui->OnDropMultiple({"first", "second"}, 20, 20);
  EXPECT_EQ((Log{"a wheel", "a drop C:/x.wav", "a drop first"}), f.events);
}

// ---- parameter edit brackets ----

TEST(InputBrackets, KnobDragIsOneBracketAroundItsValues)
{
  GuiFixture f;
  auto* knob = new TestKnob(IRectF(0, 0, 100, 100), 3);
  f.gui->AttachControl(knob);
  f.Down(50, 50);
  f.Drag(50, 40, 0, -10);
  f.Drag(50, 30, 0, -10);
  f.Up(50, 30);
  EXPECT_EQ((Log{"begin 3", "value 3 0.1", "value 3 0.2", "end 3"}), f.delegate.log);
}

TEST(InputBrackets, DoubleClickToDefaultIsFramed)
{
  GuiFixture f;
  f.delegate.GetParam(2)->InitDouble("Gain", 0.5, 0.0, 1.0, 0.01);
  f.Add("a", IRectF(0, 0, 50, 50), 2);
  // As Windows delivers it: down, up, double-click, up.
  f.Down(10, 10);
  f.Up(10, 10);
  EXPECT_TRUE(f.gui->OnMouseDblClick(10, 10, IPointerMods()));
  f.Up(10, 10);
  std::string why;
  EXPECT_TRUE(f.delegate.Balanced(&why)) << why;
  EXPECT_EQ((Log{"begin 2", "end 2", "begin 2", "value 2 0.5", "end 2"}), f.delegate.log);
  EXPECT_FALSE(f.gui->ControlIsCaptured());
}

TEST(InputBrackets, WheelStepIsFramed)
{
  GuiFixture f;
  auto* knob = new TestKnob(IRectF(0, 0, 100, 100), 4);
  f.gui->AttachControl(knob);
  f.gui->OnMouseWheel(50, 50, IPointerMods(), 1.f);
  f.gui->OnMouseWheel(50, 50, IPointerMods(), 1.f);
  EXPECT_EQ((Log{"begin 4", "value 4 0.01", "end 4", "begin 4", "value 4 0.02", "end 4"}), f.delegate.log);
}

TEST(InputBrackets, ReleasingCapturesMidDragCancelsAndEnds)
{
  GuiFixture f;
  f.Add("a", IRectF(0, 0, 50, 50), 1);
  f.Down(10, 10);
  f.gui->ReleaseMouseCapture();
  f.Up(10, 10);
  EXPECT_EQ((Log{"a down", "a cancelled"}), f.events);
  EXPECT_EQ((Log{"begin 1", "end 1"}), f.delegate.log);
}

TEST(InputBrackets, PressOnAControlWithoutParameterIsCancelledTooButADoubleClickIsNot)
{
  // A control that begins host edits of its own learns that its press was taken away.
  GuiFixture f;
  f.Add("art", IRectF(0, 0, 50, 50));
  f.Down(10, 10);
  f.Drag(12, 10, 2, 0);
  f.gui->ReleaseMouseCapture();
  f.Drag(14, 10, 2, 0);
  f.Up(14, 10);
  EXPECT_EQ((Log{"art down", "art drag 2,0", "art cancelled"}), f.events);

  f.events.clear();
  f.Down(10, 10);
  f.Up(10, 10);
  f.gui->OnMouseDblClick(10, 10, IPointerMods());
  f.Up(10, 10);
  f.gui->ReleaseMouseCapture();
  EXPECT_EQ((Log{"art down", "art up", "art dblclick"}), f.events);
  EXPECT_TRUE(f.delegate.log.empty());
}

TEST(InputBrackets, ResizeDuringADragEndsTheEdit)
{
  GuiFixture f;
  f.Add("a", IRectF(0, 0, 50, 50), 1);
  f.Down(10, 10);
  f.gui->Resize(1000, 700, 1.f, false);
  EXPECT_TRUE(f.delegate.Balanced());
  EXPECT_EQ(1, std::count(f.events.begin(), f.events.end(), "a cancelled"));
}

TEST(InputBrackets, ClosingTheEditorMidDragEndsTheEdit)
{
  GuiFixture f;
  f.Add("a", IRectF(0, 0, 50, 50), 1);
  f.Down(10, 10);
  f.gui->RemoveAllControls();
  EXPECT_TRUE(f.delegate.Balanced());
}

namespace {
// An editor opened as a host opens it: the delegate makes the graphics, which the test
// fills with a knob (parameter 1), a plain control (2) and a button whose press opens a
// menu that answers later (3).
RecordingGui* OpenEditor(FakeDelegate& delegate, std::vector<std::string>& events)
{
  struct MenuButton : LoggingControl
  {
    using LoggingControl::LoggingControl;
    IPopupMenu menu{nullptr, {"one", "two"}};
    void OnMouseDown(float, float, const IPointerMods&) override { GetUI()->CreatePopupMenu(*this, menu, mRECT, 0); }
  };
  delegate.SetMakeGraphicsFunc([&delegate] { return new RecordingGui(delegate); });
  delegate.OpenWindow(nullptr);
  auto* gui = static_cast<RecordingGui*>(delegate.GetGraphics());
  gui->popupsAsync = true;
  gui->AttachControl(new TestKnob(IRectF(0, 0, 50, 50), 1));
  gui->AttachControl(new LoggingControl("b", IRectF(60, 0, 110, 50), events, 2));
  gui->AttachControl(new MenuButton("menu", IRectF(120, 0, 170, 50), events, 3));
  return gui;
}
} // namespace

TEST(InputBrackets, AnEditorClosedMidGestureEndsEveryEditTheHostWasTold)
{
  const struct
  {
    const char* gesture;
    std::function<void(RecordingGui&)> start;
  } cases[] = {
    {"drag",
     [](RecordingGui& g) {
       g.OnMouseDown({GuiFixture::Point(10, 10)});
       g.OnMouseDrag({GuiFixture::Point(10, 5, false, 0, 0.f, -5.f)});
     }},
    {"two touches",
     [](RecordingGui& g) { g.OnMouseDown({GuiFixture::Point(10, 10, false, 1), GuiFixture::Point(70, 10, false, 2)}); }},
    {"menu", [](RecordingGui& g) { g.OnMouseDown({GuiFixture::Point(130, 10)}); }},
    {"text entry during a drag",
     [](RecordingGui& g) {
       g.OnMouseDown({GuiFixture::Point(10, 10)});
       g.CreateTextEntry(*g.GetControl(1), ITextStyle(), IRectF(60, 0, 110, 50), "0.5", 0);
     }},
  };
  for (const auto& c : cases)
  {
    FakeDelegate delegate;
    std::vector<std::string> events;
    c.start(*OpenEditor(delegate, events));
    ASSERT_FALSE(delegate.log.empty()) << c.gesture;
    delegate.CloseWindow();
    std::string why;
    EXPECT_TRUE(delegate.Balanced(&why)) << c.gesture << ": " << why;
  }

  // A plug-in destroyed with its editor open mid-drag calls nothing back into its parts
  // already gone (a call would reach no override and end the program).
  auto doomed = std::make_unique<FakeDelegate>();
  std::vector<std::string> events;
  OpenEditor(*doomed, events)->OnMouseDown({GuiFixture::Point(10, 10)});
  ASSERT_EQ((Log{"begin 1"}), doomed->log);
  doomed.reset();
}

TEST(InputBrackets, RightClickOnLinkedControlOpensContextMenuWithoutEdit)
{
  GuiFixture f;
  LoggingControl* a = f.Add("a", IRectF(0, 0, 50, 50), 1);
  a->contextItems = {"Learn", "Reset"};
  f.gui->popupAnswers.push_back(1);
  f.Down(10, 10, true);
  f.Up(10, 10, true);
  EXPECT_EQ((Log{"a context 1"}), f.events);
  EXPECT_TRUE(f.delegate.log.empty());
  ASSERT_EQ(1u, f.gui->popupsShown.size());
  EXPECT_EQ("|Learn|Reset", f.gui->popupsShown[0]);
}

TEST(InputBrackets, RightClickWithoutContextItemsShowsNothing)
{
  GuiFixture f;
  f.Add("a", IRectF(0, 0, 50, 50), 1);
  f.Down(10, 10, true);
  EXPECT_TRUE(f.gui->popupsShown.empty());
  EXPECT_TRUE(f.events.empty());
}

TEST(InputBrackets, RightClickOnUnlinkedControlIsAnOrdinaryPress)
{
  GuiFixture f;
  f.Add("a", IRectF(0, 0, 50, 50));
  f.Down(10, 10, true);
  f.Up(10, 10, true);
  EXPECT_EQ((Log{"a down", "a up"}), f.events);
}

// ---- corner resizer ----

TEST(InputResizer, RescaleDragAsksForTheSmallerRatioWithinConstraints)
{
  GuiFixture f;
  f.gui->SetScaleConstraints(0.85f, 1.5f);
  f.Add("bg", IRectF(0, 0, 1180, 800));
  f.gui->AttachCornerResizer(IGui::kResizerScale, false, IArgbColour(), IArgbColour(), IArgbColour(), 20.f);
  f.Down(1179, 799);
  ASSERT_TRUE(f.gui->IsResizing());
  f.Drag(590, 799, -589, 0);
  EXPECT_FLOAT_EQ(0.85f, f.gui->GetDrawScale());
  // Positions come in user-interface units of the current scale.
  f.Drag(1179 * 1.25f / 0.85f, 799 * 1.25f / 0.85f, 100, 100);
  EXPECT_NEAR(1.25f, f.gui->GetDrawScale(), 1e-4);
  f.Up(1400, 1000);
  EXPECT_FALSE(f.gui->IsResizing());
  EXPECT_EQ(1180, f.gui->Width());
  EXPECT_TRUE(f.delegate.log.empty());
}

TEST(InputResizer, ResizeModeChangesTheSize)
{
  GuiFixture f;
  f.Add("bg", IRectF(0, 0, 1180, 800));
  f.gui->AttachCornerResizer(IGui::kResizerSize, false, IArgbColour(), IArgbColour(), IArgbColour(), 20.f);
  f.Down(1179, 799);
  f.Drag(1000, 700, -179, -99);
  EXPECT_EQ(1000, f.gui->Width());
  EXPECT_EQ(700, f.gui->Height());
  EXPECT_FLOAT_EQ(1.f, f.gui->GetDrawScale());
  f.Up(1000, 700);
  // Double-click returns to the size it had when the resizer joined.
  f.gui->OnMouseDblClick(995, 695, IPointerMods());
  EXPECT_EQ(1180, f.gui->Width());
  EXPECT_EQ(800, f.gui->Height());
}

TEST(InputResizer, MouseOverSwapsTheCursor)
{
  GuiFixture f;
  f.gui->EnableMouseOver(true);
  f.Add("bg", IRectF(0, 0, 1180, 800));
  f.gui->AttachCornerResizer();
  f.gui->SetMouseCursor(kCursorHand);
  f.gui->OnMouseOver(1175, 795, IPointerMods());
  EXPECT_EQ(kCursorSizeNWSE, f.gui->GetCursorKind());
  f.gui->OnMouseOver(500, 500, IPointerMods());
  EXPECT_EQ(kCursorHand, f.gui->GetCursorKind());
}
