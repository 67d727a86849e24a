// The deliverable's editor in a host window, driven as a host drives it: made, attached to
// a real window, sized, resized by the host and through the host's plug frame, scaled,
// pictured, edited with real mouse messages, the display's pointer and the recipe menu,
// told about its track, removed and released again and again without leaking window or
// GDI handles; the host's context menus on controls, with the framework module's editor
// for a control that adds items of its own.

#include "TarnwickModule.h"
#include "harness/HostEditor.h"
#include "tests/support/DisplayPointer.h"
#include "tests/support/MenuTyping.h"

#include <algorithm>
#include <cstring>
#include <iterator>
#include <string>

using namespace vst3host;
using namespace tarnwicktest;

namespace {

constexpr int kWidth = 1180;
constexpr int kHeight = 800;
constexpr ParamID kGain = 24; // the first knob of the view a fresh editor shows
constexpr int kGainX = 110, kGainY = 642;
constexpr int kRecipeMenuX = 880, kRecipeMenuY = 61;
// The framework module's editor: a box linked to "Tone" with a context menu of its own.
constexpr ParamID kTone = 2;
constexpr int kToneBoxX = 70, kToneBoxY = 60;

// A view of the session's instance attached to a host window of the view's size, after
// the host set the content scale when one is given.
struct AttachedView
{
  explicit AttachedView(Session& session, float contentScale = 0.f)
    : view(session.instance.controller->createView("editor"))
  {
    EXPECT_NE(view, nullptr);
    if (!view)
      return;
    if (contentScale > 0.f)
    {
      IPlugViewContentScaleSupport* scaling = ask<IPlugViewContentScaleSupport>(view, iids::PlugViewContentScaleSupport);
      EXPECT_NE(scaling, nullptr);
      if (scaling)
        EXPECT_EQ(scaling->setContentScaleFactor(contentScale), kOk);
      releaseAndClear(scaling);
    }
    ViewRect size{};
    EXPECT_EQ(view->getSize(&size), kOk);
    window.resize(size.right - size.left, size.bottom - size.top);
    view->setFrame(&frame);
    attachedResult = view->attached(window.handle(), "HWND");
  }
  ~AttachedView()
  {
    if (!view)
      return;
    view->removed();
    view->setFrame(nullptr);
    view->release();
  }
  SIZE editorSize() const
  {
    RECT client{};
    GetClientRect(window.editor(), &client);
    return SIZE{client.right, client.bottom};
  }
  // Frames until the editor has drawn its backdrop (bounded far beyond a loaded machine).
  Picture drawn() const
  {
    Picture picture;
    pumpUntil(
      [&] {
        picture = readWindowPicture(window.editor());
        int rgb[3];
        picture.at(40, 600, rgb);
        return rgb[0] > 0;
      },
      20.0);
    return picture;
  }
  void mouse(UINT message, WPARAM keys, int x, int y) const
  {
    SendMessageW(window.editor(), message, keys, MAKELPARAM(x, y));
  }
  void rightClick(int x, int y) const
  {
    mouse(WM_MOUSEMOVE, 0, x, y);
    mouse(WM_RBUTTONDOWN, MK_RBUTTON, x, y);
    mouse(WM_RBUTTONUP, 0, x, y);
  }

  HostWindow window{kWidth, kHeight};
  PlugFrame frame{window};
  IPlugView* view = nullptr;
  tresult attachedResult = kFalse;
};

// A right click at (x, y) asks the host once for the menu of the parameter, for the
// view, and pops it up there.
void ExpectHostMenuOnRightClick(const AttachedView& attached, const EditingHandler& handler, ParamID param, int x,
                                int y)
{
  attached.rightClick(x, y);
  ASSERT_EQ(handler.menuRequests.size(), 1u);
  EXPECT_EQ(handler.menuRequests[0].first, attached.view);
  EXPECT_EQ(handler.menuRequests[0].second, param);
  EXPECT_EQ(handler.menu.popups, 1);
  EXPECT_EQ(handler.menu.popupX, x);
  EXPECT_EQ(handler.menu.popupY, y);
}

bool Near(const int rgb[3], int r, int g, int b, int tolerance = 6)
{
  return std::abs(rgb[0] - r) <= tolerance && std::abs(rgb[1] - g) <= tolerance && std::abs(rgb[2] - b) <= tolerance;
}

void ExpectSize(const ViewRect& rect, int width, int height)
{
  EXPECT_EQ(rect.left, 0);
  EXPECT_EQ(rect.top, 0);
  EXPECT_EQ(rect.right, width);
  EXPECT_EQ(rect.bottom, height);
}

} // namespace

TEST(TarnwickVst3Editor, AttachesSizesScalesAndShowsItself)
{
  Session session;
  ASSERT_TRUE(session.ok());
  EXPECT_EQ(session.instance.controller->createView("other"), nullptr);
  AttachedView attached(session);
  ASSERT_NE(attached.view, nullptr);
  IPlugView& view = *attached.view;
  EXPECT_EQ(view.isPlatformTypeSupported("HWND"), kOk);
  EXPECT_EQ(view.isPlatformTypeSupported("X11EmbedWindowID"), kFalse);
  EXPECT_EQ(view.canResize(), kOk);
  ASSERT_EQ(attached.attachedResult, kOk);
  ASSERT_NE(attached.window.editor(), nullptr);
  EXPECT_EQ(attached.editorSize().cx, kWidth);
  EXPECT_EQ(attached.editorSize().cy, kHeight);

  const Picture picture = attached.drawn();
  ASSERT_EQ(picture.width, kWidth);
  EXPECT_TRUE(picture.writePng(TARNWICK_TEST_OUTPUT_DIR "/vst3-editor-view.png"));
  int rgb[3];
  picture.at(40, 600, rgb);
  EXPECT_TRUE(Near(rgb, 27, 35, 40)) << "the control row " << rgb[0] << " " << rgb[1] << " " << rgb[2];
  picture.at(600, 20, rgb);
  EXPECT_TRUE(rgb[0] > 10 && rgb[0] < 70 && rgb[2] < 70) << "the backdrop " << rgb[0] << " " << rgb[1] << " " << rgb[2];
  int bright = 0; // the title's letters
  for (int y = 38; y < 87; ++y)
    for (int x = 36; x < 455; ++x)
    {
      picture.at(x, y, rgb);
      bright += rgb[0] > 200 && rgb[1] > 200;
    }
  EXPECT_GT(bright, 200);

  // The host drags its window: below the minimum the size is raised to it.
  ViewRect tiny{0, 0, 100, 100};
  EXPECT_EQ(view.checkSizeConstraint(&tiny), kOk);
  EXPECT_GT(tiny.right, 100);
  EXPECT_GT(tiny.bottom, 100);
  // A size the editor can fill at scale 1.1: it takes the whole window.
  ViewRect larger{0, 0, 1298, 880};
  attached.window.resize(1298, 880);
  ASSERT_EQ(view.onSize(&larger), kOk);
  EXPECT_EQ(attached.editorSize().cx, 1298);
  EXPECT_EQ(attached.editorSize().cy, 880);
  EXPECT_TRUE(attached.frame.requests.empty());
  ViewRect size{};
  view.getSize(&size);
  ExpectSize(size, 1298, 880);
  // One that needs a scale below the editor's smallest: once onSize has returned, the
  // editor asks the host's frame for the size of its smallest scale.
  ViewRect smaller{0, 0, 944, 640};
  attached.window.resize(944, 640);
  ASSERT_EQ(view.onSize(&smaller), kOk);
  EXPECT_TRUE(attached.frame.requests.empty());
  pumpUntil([&] { return !attached.frame.requests.empty(); }, 10.0);
  ASSERT_EQ(attached.frame.requests.size(), 1u);
  ExpectSize(attached.frame.requests[0], 1003, 680);
  EXPECT_EQ(attached.frame.views[0], &view);
  EXPECT_EQ(attached.editorSize().cx, 1003);
  view.getSize(&size);
  ExpectSize(size, 1003, 680);

  // Back to scale 1, then a content scale of 1.5: the editor asks for 1.5 times its size.
  ViewRect natural{0, 0, kWidth, kHeight};
  attached.window.resize(kWidth, kHeight);
  view.onSize(&natural);
  IPlugViewContentScaleSupport* scaling =
    ask<IPlugViewContentScaleSupport>(attached.view, iids::PlugViewContentScaleSupport);
  ASSERT_NE(scaling, nullptr);
  attached.frame.requests.clear();
  EXPECT_EQ(scaling->setContentScaleFactor(1.5f), kOk);
  EXPECT_TRUE(attached.frame.requests.empty()) << "asked from inside the host's call";
  pumpUntil([&] { return !attached.frame.requests.empty(); }, 10.0);
  ASSERT_FALSE(attached.frame.requests.empty());
  ExpectSize(attached.frame.requests.back(), 1770, 1200);
  EXPECT_EQ(attached.editorSize().cx, 1770);
  EXPECT_EQ(attached.editorSize().cy, 1200);
  view.getSize(&size);
  ExpectSize(size, 1770, 1200);
  // The host's scale holds through the frames that follow on this 96-DPI display, and the
  // editor draws at it.
  pumpUntil([&] { return attached.editorSize().cx != 1770; }, 2.0);
  EXPECT_EQ(attached.editorSize().cx, 1770);
  EXPECT_EQ(attached.editorSize().cy, 1200);
  ExpectSize(attached.frame.requests.back(), 1770, 1200);
  // Of the points of a grid over the editor that lie in rows [first, end) at scale 1.5:
  // how many there are, and how many match the picture at scale 1.
  struct Matches
  {
    int points = 0, same = 0;
  };
  const auto sameAsNatural = [&](const Picture& shot, int first, int end) {
    Matches matches;
    for (int y = 25; y < kHeight; y += 50)
      for (int x = 25; x < kWidth; x += 50)
      {
        if (y * 3 / 2 < first || y * 3 / 2 >= end)
          continue;
        int natural[3], drawn[3];
        picture.at(x, y, natural);
        shot.at(x * 3 / 2, y * 3 / 2, drawn);
        ++matches.points;
        matches.same += Near(drawn, natural[0], natural[1], natural[2], 12);
      }
    return matches;
  };
  // Text and the live displays may differ in places.
  const auto mostSame = [](const Matches& matches) { return matches.same > matches.points * 9 / 10; };
  // A loaded machine may take many seconds to draw 1770 x 1200 pixels in software.
  const auto drawnRows = [&](int first, int end) {
    Picture shot;
    pumpUntil(
      [&] {
        shot = readWindowPicture(attached.window.editor());
        return shot.width == 1770 && mostSame(sameAsNatural(shot, first, end));
      },
      60.0);
    return shot;
  };
  // The editor is taller than the screen now, and a window need keep no pixels beyond the
  // screen (under Wine it keeps none): the rows below the screen are pictured once the host
  // has moved the window up over them, as a user drags a tall window, and the editor has
  // drawn them there.
  const int screenRows = std::min<int>(GetSystemMetrics(SM_CYSCREEN), 1200);
  const Picture scaled = drawnRows(0, screenRows);
  ASSERT_EQ(scaled.width, 1770);
  ASSERT_EQ(scaled.height, 1200);
  SetWindowPos(attached.window.handle(), nullptr, 0, screenRows - 1200, 0, 0,
               SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  const Picture moved = drawnRows(screenRows, 1200);
  ASSERT_EQ(moved.width, 1770);
  ASSERT_EQ(moved.height, 1200);
  // The whole editor: the rows below the screen from the moved window.
  Picture whole = scaled;
  const size_t screenBytes = static_cast<size_t>(screenRows) * whole.width * 4;
  std::copy(moved.rgba.begin() + screenBytes, moved.rgba.end(), whole.rgba.begin() + screenBytes);
  EXPECT_TRUE(whole.writePng(TARNWICK_TEST_OUTPUT_DIR "/vst3-editor-view-150.png"));
  EXPECT_GT(sameAsNatural(whole, 0, 1200).same, 16 * 24 * 9 / 10);
  EXPECT_EQ(scaling->setContentScaleFactor(1.0f), kOk);
  pumpUntil([&] { return attached.frame.requests.back().right == kWidth; }, 10.0);
  ExpectSize(attached.frame.requests.back(), kWidth, kHeight);
  releaseAndClear(scaling);
}

// The view reports the scaled size before it is attached, so the host's window needs no
// other size.
TEST(TarnwickVst3Editor, OpensAtTheContentScaleTheHostSetBeforeAttaching)
{
  Session session;
  ASSERT_TRUE(session.ok());
  AttachedView attached(session, 1.5f);
  ASSERT_EQ(attached.attachedResult, kOk);
  EXPECT_EQ(attached.editorSize().cx, 1770);
  EXPECT_EQ(attached.editorSize().cy, 1200);
  pumpUntil([&] { return !attached.frame.requests.empty(); }, 0.5);
  EXPECT_TRUE(attached.frame.requests.empty());
}

TEST(TarnwickVst3Editor, EveryContentScaleAsksTheHostForItsSizeWithinTheLimits)
{
  Session session;
  ASSERT_TRUE(session.ok());
  AttachedView attached(session);
  ASSERT_EQ(attached.attachedResult, kOk);
  ViewRect drawScale15{0, 0, 1770, 1200};
  attached.window.resize(1770, 1200);
  attached.view->onSize(&drawScale15);
  // A view the host makes while this one shows the editor does not take its requests.
  IPlugView* unshown = session.instance.controller->createView("editor");
  IPlugViewContentScaleSupport* scaling =
    ask<IPlugViewContentScaleSupport>(attached.view, iids::PlugViewContentScaleSupport);
  ASSERT_NE(scaling, nullptr);
  const struct
  {
    float scale;
    int width, height;
  } steps[] = {
    {1.5f, 2655, 1800}, {1.0f, 1770, 1200}, {2.5f, 4425, 3000}, {1.0f, 1770, 1200},
  };
  for (const auto& step : steps)
  {
    attached.frame.requests.clear();
    EXPECT_EQ(scaling->setContentScaleFactor(step.scale), kOk);
    pumpUntil([&] { return !attached.frame.requests.empty(); }, 10.0);
    pumpUntil([] { return false; }, 0.1);
    ASSERT_EQ(attached.frame.requests.size(), 1u) << step.scale;
    ExpectSize(attached.frame.requests[0], step.width, step.height);
    ViewRect size{};
    attached.view->getSize(&size);
    ExpectSize(size, step.width, step.height);
    EXPECT_EQ(attached.editorSize().cx, step.width) << step.scale;
    EXPECT_EQ(attached.editorSize().cy, step.height) << step.scale;
  }
  releaseAndClear(scaling);
  unshown->release();
}

TEST(TarnwickVst3Editor, EditsFromTheEditorReachTheHostAsWholeGestures)
{
  Session session;
  ASSERT_TRUE(session.ok());
  EditingHandler handler;
  ASSERT_EQ(session.instance.controller->setComponentHandler(&handler), kOk);
  {
    AttachedView attached(session);
    ASSERT_EQ(attached.attachedResult, kOk);
    attached.drawn();

    // A knob dragged upwards with the left button.
    attached.mouse(WM_MOUSEMOVE, 0, kGainX, kGainY);
    attached.mouse(WM_LBUTTONDOWN, MK_LBUTTON, kGainX, kGainY);
    for (int y = kGainY - 10; y >= kGainY - 60; y -= 10)
      attached.mouse(WM_MOUSEMOVE, MK_LBUTTON, kGainX, y);
    attached.mouse(WM_LBUTTONUP, 0, kGainX, kGainY - 60);
    ASSERT_GE(handler.edits.size(), 3u);
    EXPECT_TRUE(handler.editsBalanced());
    EXPECT_EQ(handler.edits.front().kind, 'b');
    EXPECT_EQ(handler.edits.back().kind, 'e');
    double last = -1.0;
    for (const EditingHandler::Edit& edit : handler.edits)
    {
      EXPECT_EQ(edit.id, kGain);
      if (edit.kind == 'p')
      {
        EXPECT_GT(edit.value, last) << "an upward drag raises the value";
        last = edit.value;
      }
    }
    EXPECT_DOUBLE_EQ(session.instance.controller->getParamNormalized(kGain), last);
    EXPECT_EQ(handler.groupStarts, 0);

    // A recipe from the editor's menu: every parameter in its own gesture.
    handler.clear();
    {
      MenuTyping secondRecipe({VK_DOWN, VK_DOWN, VK_RETURN});
      attached.mouse(WM_MOUSEMOVE, 0, kRecipeMenuX, kRecipeMenuY);
      attached.mouse(WM_LBUTTONDOWN, MK_LBUTTON, kRecipeMenuX, kRecipeMenuY);
      attached.mouse(WM_LBUTTONUP, 0, kRecipeMenuX, kRecipeMenuY);
    }
    EXPECT_TRUE(handler.editsBalanced());
    int begins = 0, performs = 0;
    for (const EditingHandler::Edit& edit : handler.edits)
    {
      begins += edit.kind == 'b';
      if (edit.kind == 'p')
      {
        EXPECT_EQ(edit.id, static_cast<ParamID>(performs)) << "in parameter order";
        EXPECT_DOUBLE_EQ(session.instance.controller->getParamNormalized(edit.id), edit.value);
        ++performs;
      }
    }
    EXPECT_EQ(begins, kParamCount);
    EXPECT_EQ(performs, kParamCount);

    // A right click on the knob opens the host's menu of its parameter where the mouse is;
    // the product's controls add no items of their own, and nothing is edited.
    handler.clear();
    ExpectHostMenuOnRightClick(attached, handler, kGain, kGainX, kGainY);
    EXPECT_TRUE(handler.menu.entries.empty());
    EXPECT_TRUE(handler.edits.empty());
    EXPECT_EQ(handler.menu.references, 1);

    // GAIN dragged by the display's pointer past each edge of the host's window and let go
    // out there: one gesture, ended where the drag left the knob; the moves back over the
    // editor edit nothing (the knob's tip shows where they rest).
    SetWindowPos(attached.window.handle(), HWND_TOP, 300, 150, 0, 0, SWP_NOSIZE);
    RECT window;
    GetWindowRect(attached.window.handle(), &window);
    POINT gain = {kGainX, kGainY};
    ClientToScreen(attached.window.editor(), &gain);
    for (const int edge : {3, 1, 0, 2}) // down, up, then across the knob
    {
      SCOPED_TRACE(edge);
      handler.clear();
      ASSERT_TRUE(PlayDragPastEdge(gain, window, edge));
      // The press takes away the tip that the drag before left on the screen.
      EXPECT_TRUE(pumpUntil([] { return !TooltipShown(); }, 30.0));
      EXPECT_TRUE(pumpUntil(TooltipShown, 30.0));
      ASSERT_GE(handler.edits.size(), 3u);
      EXPECT_TRUE(handler.editsBalanced());
      EXPECT_EQ(handler.edits.front().id, kGain);
      const auto begins = std::count_if(handler.edits.begin(), handler.edits.end(),
                                        [](const EditingHandler::Edit& edit) { return edit.kind == 'b'; });
      EXPECT_EQ(begins, 1);
      EXPECT_DOUBLE_EQ(session.instance.controller->getParamNormalized(kGain), handler.edits.end()[-2].value);
    }
  }
  session.instance.controller->setComponentHandler(nullptr);
  EXPECT_EQ(handler.references, 1);
}

TEST(TarnwickVst3Editor, AControlsOwnItemsGoIntoTheHostsContextMenu)
{
  Session session(FRAMEWORK_TEST_MODULE_PATH, kFrameworkClassId);
  ASSERT_TRUE(session.ok());
  IEditController& controller = *session.instance.controller;
  EditingHandler handler;
  handler.menu.chosenTag = 3; // the user picks C
  ASSERT_EQ(controller.setComponentHandler(&handler), kOk);
  {
    AttachedView attached(session);
    ASSERT_EQ(attached.attachedResult, kOk);
    ExpectHostMenuOnRightClick(attached, handler, kTone, kToneBoxX, kToneBoxY);

    // Every entry numbered in the order added, the submenu as a group that opens and
    // closes, all with the box as their target.
    const struct
    {
      std::u16string name;
      int32_t flags;
    } expected[] = {{u"A", 0},  {u"S", 10}, {u"B", 0},       {u"C", 4},
                    {u"S", 17}, {u"", 1},   {u"Größe", 6}, {u"D", 2}};
    ASSERT_EQ(handler.menu.entries.size(), std::size(expected));
    IContextMenuTarget* target = handler.menu.entries[0].target;
    ASSERT_NE(target, nullptr);
    for (size_t i = 0; i < std::size(expected); ++i)
    {
      const ContextMenu::Entry& entry = handler.menu.entries[i];
      EXPECT_EQ(entry.name, expected[i].name) << i;
      EXPECT_EQ(entry.tag, static_cast<int32_t>(i));
      EXPECT_EQ(entry.flags, expected[i].flags) << i;
      EXPECT_EQ(entry.target, target) << i;
    }
    IContextMenuTarget* asked = ask<IContextMenuTarget>(target, iids::ContextMenuTarget);
    EXPECT_EQ(asked, target);
    releaseAndClear(asked);

    // Choosing C during the popup set "Tone" to 0.3 in one gesture.
    EXPECT_EQ(handler.menu.chosenResult, kOk);
    EXPECT_DOUBLE_EQ(controller.getParamNormalized(kTone), 0.3);
    EXPECT_TRUE(handler.editsBalanced());
    ASSERT_EQ(handler.edits.size(), 3u);
    EXPECT_EQ(handler.edits[1].id, kTone);
    EXPECT_DOUBLE_EQ(handler.edits[1].value, 0.3);
    EXPECT_EQ(handler.menu.references, 1) << "the plug-in let go of the menu";

    // A host that runs the choice after its popup returned reaches the box as well.
    EXPECT_EQ(target->executeMenuItem(5), kOk);
    EXPECT_DOUBLE_EQ(controller.getParamNormalized(kTone), 0.5);

    // Without host context menus nothing is shown and nothing chosen. A menu the editor
    // opened itself would be closed by the timer.
    handler.offersContextMenus = false;
    handler.clear();
    {
      MenuTyping closer({});
      attached.rightClick(kToneBoxX, kToneBoxY);
    }
    EXPECT_TRUE(handler.menuRequests.empty());
    EXPECT_TRUE(handler.edits.empty());
    EXPECT_DOUBLE_EQ(controller.getParamNormalized(kTone), 0.5);
  }
  // The host may hold the target longer than the editor lives: then it does nothing.
  EXPECT_EQ(handler.menu.entries[0].target->executeMenuItem(7), kOk);
  EXPECT_DOUBLE_EQ(controller.getParamNormalized(kTone), 0.5);
  handler.menu.clear();
  controller.setComponentHandler(nullptr);
  EXPECT_EQ(handler.references, 1);
}

TEST(TarnwickVst3Editor, TakesTheTracksNameAndColour)
{
  Session session;
  ASSERT_TRUE(session.ok());
  IInfoListener* listener = ask<IInfoListener>(session.instance.component, iids::InfoListener);
  ASSERT_NE(listener, nullptr);
  AttributeList list;
  list.strings["channel name"] = u"Gitarre links";
  list.ints["channel name length"] = 13;
  list.ints["channel color"] = 0xFF8040C0;
  list.ints["channel index"] = 3;
  EXPECT_EQ(listener->setChannelContextInfos(&list), kOk);
  for (const char* key : {"channel name", "channel name length", "channel color", "channel index"})
    EXPECT_NE(std::find(list.asked.begin(), list.asked.end(), key), list.asked.end()) << key;
  EXPECT_EQ(listener->setChannelContextInfos(nullptr), kFalse);
  EXPECT_EQ(list.references, 1);
  releaseAndClear(listener);
}

TEST(TarnwickVst3Editor, ComesAndGoesWithoutLeavingHandlesBehind)
{
  Session session;
  ASSERT_TRUE(session.ok());
  const auto round = [&] {
    AttachedView attached(session);
    EXPECT_EQ(attached.attachedResult, kOk);
    const Picture picture = attached.drawn();
    EXPECT_EQ(picture.width, kWidth);
  };
  round(); // the first round fills the process-wide caches and registers classes
  const GuiHandles baseline = countGuiHandles();
  for (int i = 0; i < 20; ++i)
    round();
  pumpQueued();
  const GuiHandles after = countGuiHandles();
  EXPECT_EQ(after.gdi, baseline.gdi);
  EXPECT_EQ(after.user, baseline.user);
  EXPECT_GT(baseline.gdi, 0);
}
