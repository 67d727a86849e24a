// The editor view's size as hosts see it over many openings in one process: after every
// host call the view reports the size of the editor's window, and a size the host did
// not give reaches it once through the plug frame, after the call that caused it.

#include "TarnwickModule.h"
#include "harness/HostEditor.h"

#include <chrono>
#include <functional>
#include <string>

using namespace vst3host;
using namespace tarnwicktest;

namespace {

std::string Text(const ViewRect& rect)
{
  return std::to_string(rect.right - rect.left) + "x" + std::to_string(rect.bottom - rect.top);
}

std::string ClientText(HWND window)
{
  RECT client{};
  GetClientRect(window, &client);
  return Text(ViewRect{0, 0, client.right, client.bottom});
}

// A view in a host window; the plug frame resizes the window as asked and answers with
// onSize, as hosts do. The window stays hidden: sizes are the point here, and drawing
// windows of several thousand pixels in software would take most of the time.
struct HostedView
{
  explicit HostedView(Session& session)
    : view(session.instance.controller->createView("editor"))
  {
    EXPECT_NE(view, nullptr);
    if (!view)
      return;
    // The host makes its window the size the view reports.
    window.resize(reported().right, reported().bottom);
    view->setFrame(&frame);
  }
  ~HostedView()
  {
    if (!view)
      return;
    view->removed();
    view->setFrame(nullptr);
    view->release();
  }
  ViewRect reported() const
  {
    ViewRect rect{};
    view->getSize(&rect);
    return rect;
  }
  void scale(float factor)
  {
    IPlugViewContentScaleSupport* scaling = ask<IPlugViewContentScaleSupport>(view, iids::PlugViewContentScaleSupport);
    ASSERT_NE(scaling, nullptr);
    EXPECT_EQ(scaling->setContentScaleFactor(factor), kOk);
    releaseAndClear(scaling);
  }
  void give(ViewRect size)
  {
    window.resize(size.right, size.bottom);
    EXPECT_EQ(view->onSize(&size), kOk);
  }

  IPlugView* view;
  HostWindow window{1, 1, false};
  PlugFrame frame{window};
};

// Dispatches messages until done() holds or the seconds pass, looking after each wait.
void PumpFor(double seconds, const std::function<bool()>& done)
{
  const auto end = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
  while (!done() && std::chrono::steady_clock::now() < end)
  {
    pumpQueued();
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
  }
}

// One host call that leaves the host's window at the size it gave through onSize (else
// as it was), then the plug-in's own requests until they settle. The view reports the
// editor's size throughout; an editor that ended at another size than the host's window
// asked once for its own, never from inside onSize, and the window ends at it.
void ExpectHostCall(HostedView& hosted, const std::string& name, const std::function<void()>& call,
                    const ViewRect* given = nullptr)
{
  SCOPED_TRACE(name);
  const std::string hostWindow = given ? Text(*given) : ClientText(hosted.window.handle());
  hosted.frame.requests.clear();
  call();
  EXPECT_EQ(Text(hosted.reported()), ClientText(hosted.window.editor())) << "right after the call";
  EXPECT_TRUE(!given || hosted.frame.requests.empty()) << "asked from inside onSize";
  // The held-back request comes on an idle tick; then nothing more may follow.
  PumpFor(10.0, [&] { return ClientText(hosted.window.handle()) == ClientText(hosted.window.editor()); });
  PumpFor(0.1, [] { return false; });
  const std::string editor = ClientText(hosted.window.editor());
  EXPECT_EQ(Text(hosted.reported()), editor);
  EXPECT_EQ(ClientText(hosted.window.handle()), editor) << "the host's window is not the editor's";
  std::string asked;
  for (const ViewRect& request : hosted.frame.requests)
    asked += Text(request) + " ";
  EXPECT_EQ(asked, hostWindow == editor ? "" : editor + " ") << "the host's window was " << hostWindow;
}

} // namespace

TEST(TarnwickVst3EditorSize, TheViewIsTheEditorsSizeThroughManyOpenings)
{
  Session session;
  ASSERT_TRUE(session.ok());
  for (int opening = 1; opening <= 20 && !HasFailure(); ++opening)
  {
    SCOPED_TRACE("opening " + std::to_string(opening));
    HostedView hosted(session);
    ASSERT_NE(hosted.view, nullptr);
    const ViewRect first = hosted.reported();
    ExpectHostCall(hosted, "attached", [&] { EXPECT_EQ(hosted.view->attached(hosted.window.handle(), "HWND"), kOk); });
    EXPECT_EQ(ClientText(hosted.window.editor()), Text(first)) << "the editor opens at the size reported";
    ExpectHostCall(hosted, "content scale 1.5", [&] { hosted.scale(1.5f); });
    ViewRect answered{0, 0, first.right * 3 / 2, first.bottom * 3 / 2};
    EXPECT_EQ(hosted.view->checkSizeConstraint(&answered), kOk);
    ExpectHostCall(
      hosted, "constrained size " + Text(answered),
      [&] {
        hosted.give(answered);
        EXPECT_EQ(ClientText(hosted.window.editor()), Text(answered)) << "the editor takes the size it answered";
      },
      &answered);
    ExpectHostCall(hosted, "content scale 2.5", [&] { hosted.scale(2.5f); });
    const ViewRect unconstrained{0, 0, 5000, 3400};
    ExpectHostCall(hosted, "unconstrained size", [&] { hosted.give(unconstrained); }, &unconstrained);
    ExpectHostCall(hosted, "content scale 1.5 again", [&] { hosted.scale(1.5f); });
  }
}

// A host that passes its window's size to onSize without asking for a constraint first:
// the editor fits itself and the window is brought to the editor's size once.
TEST(TarnwickVst3EditorSize, AWindowOfAnotherShapeIsBroughtToTheEditorsSize)
{
  const struct
  {
    ViewRect given;
    const char* fitted;
  } cases[] = {{{0, 0, 1300, 700}, "1033x700"}, {{0, 0, 1500, 1000}, "1475x1000"}};
  Session session;
  ASSERT_TRUE(session.ok());
  for (const auto& c : cases)
  {
    HostedView hosted(session);
    ASSERT_NE(hosted.view, nullptr);
    ASSERT_EQ(hosted.view->attached(hosted.window.handle(), "HWND"), kOk);
    ExpectHostCall(hosted, "window " + Text(c.given), [&] { hosted.give(c.given); }, &c.given);
    EXPECT_EQ(ClientText(hosted.window.editor()), c.fitted);
  }
}
