#include "FakeEditorGraphics.h"

#include "framework/core/IDataChunk.h"
#include "framework/core/IGuiEditorDelegate.h"
#include "framework/core/ISysExMessage.h"
#include "framework/core/ParamChangeSource.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <vector>

using pfw::IDataChunk;
using pfw::IGuiEditorDelegate;

namespace pfw::gui {
struct IKeyEvent
{
  int virtualKey;
};
} // namespace pfw::gui

namespace {

class RecordingDelegate : public IGuiEditorDelegate
{
public:
  explicit RecordingDelegate(int nParams)
    : IGuiEditorDelegate(nParams)
  {
  }

  void BeginParamEditFromUI(int) override {}
  void EndParamEditFromUI(int) override {}
  void OnParamChangeUI(int paramIdx, int source) override { changesUI.push_back({paramIdx, source}); }
  void OnParamChangeHook(int paramIdx) override { hooks.push_back(paramIdx); }
  void OnMidiMsgUI(const pfw::IMidiEvent& event) override { midiUI.push_back(event.status); }
  bool OnMessage(int messageTag, int controlTag, int, const void*) override
  {
    messages.push_back({messageTag, controlTag});
    return true;
  }
  void OnUIClose() override { ++uiCloses; }

  // Opens with a fresh fake whose controls link to the given parameters.
  FakeEditorGraphics* Open(std::vector<FakeEditorGraphics::Slot> slots = {})
  {
    FakeEditorGraphics* made = nullptr;
    SetMakeGraphicsFunc([&made, slots] {
      made = new FakeEditorGraphics;
      made->slots = slots;
      return made;
    });
    OpenWindow(this);
    return made;
  }

  std::vector<std::pair<int, int>> changesUI;
  std::vector<int> hooks;
  std::vector<int> midiUI;
  std::vector<std::pair<int, int>> messages;
  int uiCloses = 0;
};

} // namespace

TEST(EditorDelegate, OwnsDefaultParameters)
{
  RecordingDelegate delegate(3);
  ASSERT_EQ(delegate.NParams(), 3);
  EXPECT_EQ(delegate.GetParam(2)->GetUnit(), 21);
  EXPECT_EQ(delegate.GetParam(3), nullptr);
  EXPECT_EQ(delegate.GetParam(-1), nullptr);
  EXPECT_EQ(delegate.GetMinWidth(), 10);
  EXPECT_EQ(delegate.GetMaxHeight(), 100000);
}

TEST(EditorDelegate, ConstrainEditorResizeClampsAndReports)
{
  RecordingDelegate delegate(0);
  delegate.SetSizeConstraints(393, 3540, 266, 2400);
  int w = 100, h = 5000;
  EXPECT_FALSE(delegate.ConstrainEditorResize(w, h));
  EXPECT_EQ(w, 393);
  EXPECT_EQ(h, 2400);
  w = 1180, h = 800;
  EXPECT_TRUE(delegate.ConstrainEditorResize(w, h));
  EXPECT_EQ(w, 1180);
  EXPECT_EQ(h, 800);
  w = 3540, h = 266;
  EXPECT_TRUE(delegate.ConstrainEditorResize(w, h)) << "bounds are included";
}

TEST(EditorDelegate, ParamResetNotifiesEveryParameterInOrder)
{
  RecordingDelegate delegate(3);
  delegate.OnParamReset(pfw::kPresetRecall);
  EXPECT_EQ(delegate.hooks, (std::vector<int>{0, 1, 2}));
  EXPECT_EQ(delegate.changesUI, (std::vector<std::pair<int, int>>{{0, 2}, {1, 2}, {2, 2}}));
  EXPECT_STREQ(pfw::ParamChangeSourceName(pfw::kDelegate), "Editor Delegate");
  EXPECT_STREQ(pfw::ParamChangeSourceName(42), "Unknown");
}

TEST(EditorDelegate, ValueFromUIIsStoredThenReported)
{
  RecordingDelegate delegate(2);
  delegate.GetParam(1)->InitDouble("Gain", 0, -10, 10, 0.01);
  delegate.SendParameterValueFromUI(1, 0.75);
  EXPECT_DOUBLE_EQ(delegate.GetParam(1)->Value(), 5.0);
  EXPECT_EQ(delegate.changesUI, (std::vector<std::pair<int, int>>{{1, pfw::kUI}}));
  delegate.SendParameterValueFromUI(1, std::numeric_limits<double>::quiet_NaN());
  EXPECT_DOUBLE_EQ(delegate.GetParam(1)->Value(), 5.0);
  delegate.SendParameterValueFromUI(7, 0.5); // out of range: ignored
  EXPECT_EQ(delegate.changesUI.size(), 2u);
}

TEST(EditorDelegate, ValuesReachEveryLinkedControl)
{
  RecordingDelegate delegate(4);
  delegate.GetParam(2)->InitDouble("Drive", 0, 0, 10, 0.01);
  FakeEditorGraphics* graphics = delegate.Open({{1, 2, 0}, {2, 3, 0}, {3, 2, 0}, {4, 2, 0}});
  ASSERT_NE(graphics, nullptr);
  delegate.changesUI.clear();

  delegate.SendParameterValueFromDelegate(2, 2.5, false);
  EXPECT_EQ(graphics->slots[0].value, 0.25);
  EXPECT_EQ(graphics->slots[1].value, 0.0) << "a control of another parameter";
  EXPECT_EQ(graphics->slots[2].value, 0.25);
  EXPECT_EQ(graphics->slots[3].value, 0.25);
  EXPECT_EQ(delegate.changesUI, (std::vector<std::pair<int, int>>{{2, pfw::kDelegate}}));

  delegate.SendParameterValueFromDelegate(3, 0.6, true);
  EXPECT_EQ(graphics->slots[1].value, 0.6);
  delegate.SendParameterValueFromDelegate(4, 0.6, true); // no such parameter
  delegate.SendParameterValueFromDelegate(-1, 0.6, true);
  EXPECT_EQ(delegate.changesUI.size(), 2u);

  delegate.SendControlValueFromDelegate(4, 0.9);
  EXPECT_EQ(graphics->slots[3].value, 0.9);
  delegate.SendControlMsgFromDelegate(3, 77, 0, nullptr);
  EXPECT_EQ(graphics->controlMessages, (std::vector<std::pair<int, int>>{{3, 77}}));
  delegate.CloseWindow();
}

TEST(EditorDelegate, OpeningShowsTheCurrentValues)
{
  RecordingDelegate delegate(2);
  delegate.GetParam(0)->InitDouble("Mix", 0, 0, 100, 0.01);
  delegate.GetParam(0)->Set(40);
  FakeEditorGraphics* graphics = delegate.Open({{1, 0, 0}});
  EXPECT_DOUBLE_EQ(graphics->slots[0].value, 0.4);
  EXPECT_EQ(graphics->openedWith, &delegate);
  delegate.CloseWindow();
}

TEST(EditorDelegate, MidiReachesControlsThenTheHook)
{
  RecordingDelegate delegate(0);
  pfw::IMidiEvent event;
  event.status = 0x90;
  delegate.SendMidiMsgFromDelegate(event);
  EXPECT_EQ(delegate.midiUI, (std::vector<int>{0x90})) << "without graphics only the hook";
  FakeEditorGraphics* graphics = delegate.Open();
  delegate.SendMidiMsgFromDelegate(event);
  EXPECT_EQ(graphics->midi.size(), 1u);
  EXPECT_EQ(delegate.midiUI.size(), 2u);
  delegate.SendArbitraryMsgFromDelegate(5, 0, nullptr);
  EXPECT_EQ(delegate.messages.back(), (std::pair<int, int>{5, -1}));
  delegate.CloseWindow();
}

TEST(EditorDelegate, CloseRemembersSizeAndScaleForTheNextOpen)
{
  RecordingDelegate delegate(0);
  delegate.SetSizeConstraints(393, 3540, 266, 2400);
  bool destroyed = false;
  FakeEditorGraphics* graphics = delegate.Open();
  graphics->destroyed = &destroyed;
  graphics->Resize(1180, 800, 1.25f, false);
  delegate.CloseWindow();
  EXPECT_TRUE(destroyed);
  EXPECT_EQ(delegate.GetGraphics(), nullptr);
  EXPECT_EQ(delegate.uiCloses, 1);
  delegate.CloseWindow(); // closing a closed editor is harmless
  EXPECT_EQ(delegate.uiCloses, 2);

  graphics = delegate.Open();
  ASSERT_EQ(graphics->resizes.size(), 1u);
  EXPECT_EQ(graphics->resizes[0].scale, 1.25f);
  EXPECT_TRUE(graphics->resizes[0].platform);
  EXPECT_EQ(graphics->drawScale, 1.25f);
  delegate.CloseWindow();
}

TEST(EditorDelegate, NoGraphicsMeansNoWindow)
{
  RecordingDelegate delegate(1);
  EXPECT_EQ(delegate.OpenWindow(nullptr), nullptr);
  pfw::gui::IKeyEvent key{32};
  EXPECT_FALSE(delegate.OnKeyDown(key));
  delegate.SetScreenScale(2.0f);
  // A closed editor takes the size it will open at: units at the screen scale, never the
  // pixels taken for units.
  delegate.OnParentWindowResize(1000, 600);
  EXPECT_EQ(delegate.GetEditorWidth(), 1000);
  EXPECT_EQ(delegate.GetEditorHeight(), 600);
  delegate.SetScreenScale(1.0f);
  EXPECT_EQ(delegate.GetEditorWidth(), 500);
  EXPECT_EQ(delegate.GetEditorHeight(), 300);
}

TEST(EditorDelegate, KeysGoToTheGraphicsAtTheMousePosition)
{
  RecordingDelegate delegate(0);
  FakeEditorGraphics* graphics = delegate.Open();
  graphics->mouseX = 12;
  graphics->mouseY = 34;
  pfw::gui::IKeyEvent key{32};
  EXPECT_TRUE(delegate.OnKeyDown(key));
  EXPECT_EQ(graphics->keyAt, (std::pair<float, float>{12, 34}));
  EXPECT_FALSE(delegate.OnKeyUp(key));
  delegate.SetScreenScale(1.5f);
  EXPECT_EQ(graphics->screenScale, 1.5f);
  delegate.CloseWindow();
}

TEST(EditorDelegate, ParentResizeDividesByThePlatformScale)
{
  RecordingDelegate delegate(0);
  FakeEditorGraphics* graphics = delegate.Open();
  graphics->platformScale = 1.5f;
  delegate.OnParentWindowResize(1000, 601);
  ASSERT_EQ(graphics->resizes.size(), 1u);
  EXPECT_EQ(graphics->resizes[0].width, 666);
  EXPECT_EQ(graphics->resizes[0].height, 400);
  EXPECT_EQ(graphics->resizes[0].scale, 1.0f);
  EXPECT_FALSE(graphics->resizes[0].platform);
  graphics->platformScale = 0.0f;
  delegate.OnParentWindowResize(1000, 600);
  graphics->platformScale = std::numeric_limits<float>::quiet_NaN();
  delegate.OnParentWindowResize(1000, 600);
  EXPECT_EQ(graphics->resizes.size(), 1u) << "a broken platform scale resizes nothing";
  delegate.CloseWindow();
}

TEST(EditorDelegate, EditorSizeRecordRoundTrips)
{
  RecordingDelegate writer(0);
  writer.SetSizeConstraints(393, 3540, 266, 2400);
  FakeEditorGraphics* graphics = writer.Open();
  graphics->Resize(1000, 700, 1.5f, false);
  IDataChunk chunk;
  ASSERT_TRUE(writer.SerializeEditorSize(chunk));
  EXPECT_EQ(chunk.Size(), 12);
  writer.CloseWindow();

  RecordingDelegate reader(0);
  reader.SetSizeConstraints(393, 3540, 266, 2400);
  EXPECT_EQ(reader.UnserializeEditorSize(chunk, 0), 12);
  graphics = reader.Open();
  ASSERT_EQ(graphics->resizes.size(), 1u);
  EXPECT_EQ(graphics->resizes[0].width, 1000);
  EXPECT_EQ(graphics->resizes[0].height, 700);
  EXPECT_EQ(graphics->resizes[0].scale, 1.5f);

  EXPECT_EQ(reader.UnserializeEditorSize(chunk, 0), 12) << "an open editor is resized at once";
  EXPECT_EQ(graphics->resizes.size(), 2u);
  reader.CloseWindow();

  IDataChunk closedChunk;
  ASSERT_TRUE(reader.SerializeEditorSize(closedChunk)) << "a closed editor writes its remembered size";
  int32_t width = 0;
  closedChunk.Get(width, 0);
  EXPECT_EQ(width, 1000);
}

TEST(EditorDelegate, ShortOrBrokenSizeRecordsAreIgnoredAtOpen)
{
  IDataChunk chunk;
  chunk.Put(int32_t{900});
  chunk.Put(int32_t{600});
  RecordingDelegate delegate(0);
  EXPECT_EQ(delegate.UnserializeEditorSize(chunk, -4), -1);
  EXPECT_EQ(delegate.UnserializeEditorSize(chunk, 0), -1);
  IDataChunk remembered;
  ASSERT_TRUE(delegate.SerializeEditorSize(remembered));
  int32_t width = 0, height = 0;
  float scale = -1.0f;
  EXPECT_EQ(remembered.Get(scale, remembered.Get(height, remembered.Get(width, 0))), 12);
  EXPECT_EQ(width, 900) << "what was read before the record ran short is remembered";
  EXPECT_EQ(height, 600);
  EXPECT_EQ(scale, 0.0f);
  FakeEditorGraphics* graphics = delegate.Open();
  EXPECT_TRUE(graphics->resizes.empty()) << "scale 0 is ignored";

  IDataChunk broken;
  broken.Put(int32_t{-900});
  broken.Put(int32_t{600});
  broken.Put(std::numeric_limits<float>::infinity());
  EXPECT_EQ(delegate.UnserializeEditorSize(broken, 0), 12);
  IDataChunk huge;
  huge.Put(int32_t{900000});
  huge.Put(int32_t{600});
  huge.Put(1.0f);
  delegate.SetSizeConstraints(393, 3540, 266, 2400);
  delegate.UnserializeEditorSize(huge, 0);
  ASSERT_EQ(graphics->resizes.size(), 1u) << "only the finite record resizes";
  EXPECT_EQ(graphics->resizes[0].width, 3540) << "and within the limits";
  delegate.CloseWindow();
}
